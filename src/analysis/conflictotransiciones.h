#ifndef CONFLICTOTRANSICIONES_H
#define CONFLICTOTRANSICIONES_H

#include <QString>

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

#endif // CONFLICTOTRANSICIONES_H
