#ifndef MODELODEPURACION_H
#define MODELODEPURACION_H

#include "lineadepuracion.h"
#include "pasomaquina.h"
#include "proyecto.h"

// What a debug line means in a project: the indices the generated C passes
// to Log are the project's own (machine, state in its machine, transition in
// its state), so a line names the step the simulation engine would take
// for that transition, and reports it the same way.
class ModeloDepuracion
{
public:
    explicit ModeloDepuracion(const Proyecto &proyecto) : m_proyecto(proyecto) {}

    // False when the line is not a transition or its indices name none of
    // this project (or one whose target state does not exist).
    bool resolver(const LineaDepuracion &linea, PasoMaquina *paso) const;
    const Proyecto &proyecto() const { return m_proyecto; }

private:
    Proyecto m_proyecto;
};

#endif // MODELODEPURACION_H
