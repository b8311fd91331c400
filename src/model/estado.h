#ifndef ESTADO_H
#define ESTADO_H

#include "transicion.h"

#include <QPointF>
#include <QString>
#include <QVector>

// One state ("estado" + n under its machine) with its outgoing transitions
// in file order: a transition's position is its "tr" number.
struct Estado
{
    // The name as stored ("-1" when the file has none, as the document reads it).
    QString nombre;
    // "#" and six hexadecimal digits, as stored; the diagram decides what an
    // unreadable one shows.
    QString color;
    // The box centre. A coordinate that is not a number (or beyond any
    // drawing) reads 0; a missing one reads -1, the document's missing value.
    QPointF posicion;
    // Width and height in whole scene units; 0 when missing or below 1.
    int ancho = 0;
    int alto = 0;
    QVector<Transicion> transiciones;
};

#endif // ESTADO_H
