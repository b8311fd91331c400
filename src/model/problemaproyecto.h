#ifndef PROBLEMAPROYECTO_H
#define PROBLEMAPROYECTO_H

#include <QString>

// Something of the project file that the model cannot represent as written:
// a reference to a state that does not exist, or a gap in the numbering of
// the states. The model keeps what it can and lists these.
struct ProblemaProyecto
{
    enum Tipo { TransicionSinDestino, EstadoInicialSinDestino, EstadoFaltante };

    Tipo tipo = TransicionSinDestino;
    int maquina = -1;
    int estado = -1;
    int transicion = -1;
    // For the user, in Spanish: "MAQUINA: transición tr0 de A hacia estado9",
    // "MAQUINA: estado inicial estado7", "MAQUINA: falta estado3".
    QString texto;
};

#endif // PROBLEMAPROYECTO_H
