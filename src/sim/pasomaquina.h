#ifndef PASOMAQUINA_H
#define PASOMAQUINA_H

#include "tramaenlace.h"

#include <QString>
#include <QStringList>

class Proyecto;

// What one machine did in one step of a simulation: the transition it took,
// from which state to which, and what fired it. Leaving reset through the
// initial transition has no state left (origen -1) and no transition
// number (transicion -1).
struct PasoMaquina
{
    int maquina = -1;
    int origen = -1;
    int destino = -1;
    // The transition's position among the state's transitions.
    int transicion = -1;
    // The event-table row that fired it, or the trigger's text in the C
    // semantics.
    QString evento;

    bool esReset() const { return transicion < 0; }
    // The non-empty entries of the transition's action list, in order, as
    // written ("encender()", "cuenta = 0").
    QStringList acciones(const Proyecto &proyecto) const;
    // The actions table's rows: each entry, " [", the machine, "]".
    QStringList filasAcciones(const Proyecto &proyecto) const;
    // The report the link sends for this step; the initial transition has
    // none (its fields are then empty).
    Reporte reporte(const Proyecto &proyecto) const;
};

#endif // PASOMAQUINA_H
