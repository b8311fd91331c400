#ifndef FOTOMAQUINA_H
#define FOTOMAQUINA_H

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class DiagramScene;

// What the project file records of one machine's diagram (everything
// MaquinaXml::guardar reads from the scene), taken as plain values. Taking it
// costs no formatting, so comparing it with the one taken when the machine
// was last written tells cheaply whether it has to be written again: equal
// pictures write equal bytes.
class FotoMaquina
{
public:
    static FotoMaquina de(const DiagramScene &scene);

    bool operator==(const FotoMaquina &otra) const;
    bool operator!=(const FotoMaquina &otra) const { return !(*this == otra); }

private:
    struct Flecha
    {
        QString evento;
        QStringList acciones;
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
        QVector<Flecha> transiciones;
        bool operator==(const Estado &otro) const;
    };

    QString m_nombre;
    QVector<Estado> m_estados;
    // The initial-state marker and its arrow; no destino without one.
    QPointF m_marcador;
    Flecha m_inicial;
};

#endif // FOTOMAQUINA_H
