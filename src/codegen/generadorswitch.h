#ifndef GENERADORSWITCH_H
#define GENERADORSWITCH_H

#include "proyecto.h"

#include <QString>
#include <QStringList>

// The switch style: one function maquina_ + name per machine, holding its
// state in a static variable and running one step per call through a switch
// with one case per state. Writes main.c and AP_MdeE.c; the other files are
// shared with the pointer style.
class GeneradorSwitch
{
public:
    explicit GeneradorSwitch(const Proyecto &proyecto);

    static QString crearSwitch(const QString &variable);
    static QString agregarCase(const QString &estado);
    static QString cerrarCase();
    static QString cerrarSwitch();
    // One transition's if block; it ends the step once it fires.
    static QString agregarTransicion(const ExpresionDisparo &disparador, const QString &acciones,
                                     const QString &estadoDestino, int maquina, int estado, int transicion);

    QString textoMaquina(int maquina) const;
    QStringList textosMaquinas() const;
    QString textoMain() const;
    QString textoFunciones(const QStringList &textosMaquinas) const;

private:
    QString encabezadoArchivo(const QString &archivo, const QString &resumen) const;

    Proyecto m_proyecto;
};

#endif // GENERADORSWITCH_H
