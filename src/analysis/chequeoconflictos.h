#ifndef CHEQUEOCONFLICTOS_H
#define CHEQUEOCONFLICTOS_H

#include <QString>
#include <QStringList>
#include <QVector>

class Proyecto;

// Two transitions leaving one state whose triggers can be true in the same
// step. The generated C takes the first true transition of the state, so the
// later one can never fire from that situation: the order of the arrows
// decides, which the diagram does not show.
struct ConflictoTransiciones
{
    int maquina = -1;
    int estado = -1;
    // The two transitions' numbers in the state, primera < segunda.
    int primera = -1;
    int segunda = -1;
    // "ESTADO [MAQUINA]: T1 | T2", each transition written as its trigger.
    QString texto;
};

// "Chequeo de transiciones en conflicto": every pair of transitions of one
// state that DecisorDisparos finds compatible, machine by machine, state by
// state, pairs in file order.
class ChequeoConflictos
{
public:
    explicit ChequeoConflictos(const Proyecto &proyecto);

    const QVector<ConflictoTransiciones> &conflictos() const { return m_conflictos; }
    QStringList hallazgos() const { return textos(m_conflictos); }
    static QStringList textos(const QVector<ConflictoTransiciones> &conflictos);

private:
    QVector<ConflictoTransiciones> m_conflictos;
};

#endif // CHEQUEOCONFLICTOS_H
