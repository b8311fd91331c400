#ifndef PASOMAQUINA_H
#define PASOMAQUINA_H

#include "tramaenlace.h"

#include <QString>
#include <QStringList>

class Proyecto;

// What one machine did in one step of a simulation: the transition it took
// and from which state to which. Leaving reset through the initial
// transition has no state left (origen -1) and no transition number
// (transicion -1). Only indices: the engines fill one per machine that
// moved on every step, so the texts are looked up in the project only when
// a caller asks for them.
struct PasoMaquina
{
    int maquina = -1;
    int origen = -1;
    int destino = -1;
    // The transition's position among the state's transitions.
    int transicion = -1;

    bool esReset() const { return transicion < 0; }
    // What fired it: the trigger's text, which is also the text of the
    // event-table row that fires it; empty for the initial transition.
    QString evento(const Proyecto &proyecto) const;
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
