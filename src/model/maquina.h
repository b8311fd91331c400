#ifndef MAQUINA_H
#define MAQUINA_H

#include "estado.h"
#include "transicioninicial.h"

#include <QString>
#include <QVector>

// One state machine ("maquina" + n). A state's index in estados is its
// number everywhere in Vireo.
struct Maquina
{
    QString nombre;
    QVector<Estado> estados;
    TransicionInicial inicial;

    // The initial state's index, -1 when none (or the file names no state).
    int estadoInicial() const { return inicial.destino; }
};

#endif // MAQUINA_H
