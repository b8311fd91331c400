#ifndef INSTANTANEA_H
#define INSTANTANEA_H

#include <QByteArray>
#include <QVector>

// One state of a project as the undo history keeps it: the bytes a save
// would write, in pieces that a step rarely changes all at once (what comes
// before the machines, each machine's element, what comes after). Pieces
// equal to another state's can share its bytes, so that moving one state of
// a large project costs the history one machine, not the whole file.
struct Instantanea
{
    QByteArray antes;
    QVector<QByteArray> maquinas;
    QByteArray despues;

    // The whole file.
    QByteArray documento() const;
    // Makes every piece equal to the same piece of otra share its bytes.
    void compartirCon(const Instantanea &otra);

    // Two pieces are equal when they share their bytes or hold the same ones.
    static bool iguales(const QByteArray &a, const QByteArray &b);
    bool mismasPartesFijas(const Instantanea &otra) const;
    bool operator==(const Instantanea &otra) const;
    bool operator!=(const Instantanea &otra) const { return !(*this == otra); }
};

#endif // INSTANTANEA_H
