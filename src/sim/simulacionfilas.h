#ifndef SIMULACIONFILAS_H
#define SIMULACIONFILAS_H

#include "pasomaquina.h"
#include "proyecto.h"

#include <QHash>
#include <QStringList>
#include <QVector>

// The simulation by trigger rows, as the window animates a project: the
// triggers are not evaluated; each distinct trigger text is one row of the
// event table, and firing a row moves every machine that is in a real state
// along the first of its current state's transitions (in file order) whose
// trigger text is exactly the row's. Machines start in reset and leave it
// through their initial transition when told to (the window does it after
// a pause).
class SimulacionFilas
{
public:
    static const QString FilaReset;

    explicit SimulacionFilas(const Proyecto &proyecto);

    const Proyecto &proyecto() const { return m_proyecto; }
    int cantidadMaquinas() const { return m_estados.size(); }
    // "(reset)", then every distinct trigger text in machine, state and
    // transition order.
    const QStringList &filas() const { return m_filas; }

    // Every machine back in reset.
    void reiniciar();
    // The machine leaves reset into its initial state; false (and nothing
    // changes) when it is not in reset or has no initial state.
    bool salirDeReset(int maquina, PasoMaquina *paso = nullptr);
    // Fires the row in every machine in a real state, in machine order: one
    // step per machine that moved. The result lives until the next call.
    const QVector<PasoMaquina> &disparar(const QString &fila);

    // The machine's current state, -1 while it is in reset.
    int estadoActual(int maquina) const { return m_estados.at(maquina); }
    // The rows some machine's current state can take, each once.
    QStringList filasDisponibles() const;

private:
    struct Salida
    {
        int fila;
        int destino;
    };

    // The transitions of machine k's state i, file order.
    const Salida *primeraSalida(int maquina, int estado) const;
    const Salida *finSalidas(int maquina, int estado) const;

    Proyecto m_proyecto;
    QStringList m_filas;
    QHash<QString, int> m_indiceFila;
    // Every transition as (row, target), by machine, state and file order,
    // in one array: a firing reads it and writes m_pasos, and allocates
    // nothing once m_pasos has grown to the machines' number.
    QVector<Salida> m_salidas;
    // Where each state's transitions start in m_salidas, the states of all
    // machines in one sequence and one entry more for the end; and where
    // each machine's states start in that sequence.
    QVector<int> m_inicioEstado;
    QVector<int> m_primerEstado;
    QVector<int> m_estados;
    QVector<PasoMaquina> m_pasos;
};

#endif // SIMULACIONFILAS_H
