#ifndef TRANSICION_H
#define TRANSICION_H

#include "expresiondisparo.h"
#include "listaacciones.h"

#include <QPointF>
#include <QString>

// One transition as the project file stores it ("tr" + n under its state).
struct Transicion
{
    ExpresionDisparo disparador;
    ListaAcciones acciones;
    // The target's index in the same machine; -1 when "idProxEstado" names
    // none of its states (the transition is then listed in the project's
    // problems).
    int destino = -1;
    // "idProxEstado" as written.
    QString destinoId;
    // The arrow's middle handle ("midPos") and its label's offset
    // ("textPos"), each only when stored readable.
    QPointF puntoControl;
    bool tienePuntoControl = false;
    QPointF posicionEtiqueta;
    bool tienePosicionEtiqueta = false;
};

#endif // TRANSICION_H
