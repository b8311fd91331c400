#ifndef CAMINOSESTADOS_H
#define CAMINOSESTADOS_H

#include <QString>
#include <QStringList>
#include <QVector>

class Proyecto;

// For every state, the shortest sequence of trigger rows that takes its
// machine there from reset, as the simulation fires rows: in each machine
// the first transition of the current state whose trigger text is the row's
// fires. Machines do not influence each other under rows, so each machine is
// searched on its own; among paths of one length the one found first through
// the states in order and their transitions in file order is given.
class CaminosEstados
{
public:
    explicit CaminosEstados(const Proyecto &proyecto);

    bool alcanzable(int maquina, int estado) const;
    // The rows in order; empty for the initial state and unreachable states.
    QStringList camino(int maquina, int estado) const;
    // "ev_a, ev_b", "(inicial)" or "inalcanzable".
    QString texto(int maquina, int estado) const;
    // "MAQUINA ESTADO: texto" for every state, machine by machine.
    QStringList lineas() const;

private:
    struct Paso
    {
        // The state the row was fired in, -1 for the initial state, -2 when
        // the state is not reached.
        int desde = -2;
        QString fila;
    };

    QVector<QVector<Paso>> m_pasos;
    QStringList m_maquinas;
    QVector<QStringList> m_estados;
};

#endif // CAMINOSESTADOS_H
