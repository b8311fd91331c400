#ifndef TRANSICIONINICIAL_H
#define TRANSICIONINICIAL_H

#include "listaacciones.h"

#include <QPointF>
#include <QString>

// A machine's reset transition, from its initial-state marker
// ("estadoInicial"). Its actions run on reset.
struct TransicionInicial
{
    // True when the machine stores an "idProxEstado", even one that names no
    // state; false means the machine has no initial state.
    bool definida = false;
    // "idProxEstado" as written, "-1" when missing.
    QString destinoId = QStringLiteral("-1");
    // The initial state's index, -1 when there is none or it names no state.
    int destino = -1;
    ListaAcciones acciones;
    // Files of earlier versions store only "idProxEstado"; the marker is then
    // placed by rule. Actions are those stored, none when "idAcciones" is missing.
    bool formaAntigua = false;
    // Where the marker, the middle handle and the label offset are, each only
    // when stored readable.
    QPointF posicionMarcador;
    bool tienePosicionMarcador = false;
    QPointF puntoControl;
    bool tienePuntoControl = false;
    QPointF posicionEtiqueta;
    bool tienePosicionEtiqueta = false;
};

#endif // TRANSICIONINICIAL_H
