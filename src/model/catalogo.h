#ifndef CATALOGO_H
#define CATALOGO_H

#include <QStringList>

// The four catalogues of a project, each in document order. Action names
// carry their "()".
struct Catalogo
{
    QStringList eventos;
    QStringList acciones;
    QStringList variables;
    QStringList constantes;

    int cantidad() const { return eventos.size() + acciones.size() + variables.size() + constantes.size(); }
};

#endif // CATALOGO_H
