#ifndef REDUCCIONPROYECTO_H
#define REDUCCIONPROYECTO_H

#include "descripcionproyecto.h"

#include <functional>

class Proyecto;

namespace TestSupport {

// The description of a loaded project (names, triggers, actions, targets,
// catalogue), so that a project read from a file can be reduced too.
DescripcionProyecto descripcionDe(const Proyecto &proyecto);

// The smallest project found that still has the property `conserva` tells:
// machines, states (with the transitions into them), transitions, action
// entries and trigger terms are taken away one at a time while it holds.
// `conserva` must hold for `proyecto`; it is asked once per candidate.
DescripcionProyecto reducirProyecto(const DescripcionProyecto &proyecto,
                                    const std::function<bool(const DescripcionProyecto &)> &conserva);

} // namespace TestSupport

#endif // REDUCCIONPROYECTO_H
