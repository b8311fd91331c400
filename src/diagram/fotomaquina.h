#ifndef FOTOMAQUINA_H
#define FOTOMAQUINA_H

#include <QColor>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class DiagramItem;
class DiagramScene;

// What the project file records of one machine's diagram (everything
// MaquinaXml::guardar reads from the scene), taken as plain values. Taking it
// costs no formatting, so comparing it with the one taken when the machine
// was last written tells cheaply whether it has to be written again: equal
// pictures write equal bytes.
class FotoMaquina
{
public:
    struct Flecha
    {
        QString evento;
        QStringList acciones;
        // Index of the target among the machine's states; -1 for none.
        int destino = -1;
        QPointF medio;
        QPointF texto;
        bool operator==(const Flecha &otra) const;
    };
    struct Estado
    {
        QString nombre;
        QColor color;
        QPointF pos;
        QSizeF tamano;
        // Those leaving this state towards one of the machine's states.
        QVector<Flecha> transiciones;
        bool operator==(const Estado &otro) const;
    };

    static FotoMaquina de(const DiagramScene &scene);
    // Only estados, in that order, and the transitions among them: no name
    // and no initial state.
    static FotoMaquina deEstados(const QList<DiagramItem *> &estados);

    const QString &nombre() const { return m_nombre; }
    const QVector<Estado> &estados() const { return m_estados; }
    QPointF marcador() const { return m_marcador; }
    // The initial-state arrow; its destino is -1 when the machine has none.
    const Flecha &inicial() const { return m_inicial; }

    bool operator==(const FotoMaquina &otra) const;
    bool operator!=(const FotoMaquina &otra) const { return !(*this == otra); }

private:
    QString m_nombre;
    QVector<Estado> m_estados;
    // The initial-state marker and its arrow; no destino without one.
    QPointF m_marcador;
    Flecha m_inicial;
};

#endif // FOTOMAQUINA_H
