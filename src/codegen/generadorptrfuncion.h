#ifndef GENERADORPTRFUNCION_H
#define GENERADORPTRFUNCION_H

#include "proyecto.h"

#include <QString>

// The function-pointer style: one static function funcion_ + name per state,
// a table of them for the first machine and the dispatcher maquina_estado,
// which runs one step of that machine per call. Writes main.c and AP_MdeE.c;
// the other files are shared with the switch style.
class GeneradorPtrFuncion
{
public:
    explicit GeneradorPtrFuncion(const Proyecto &proyecto);

    static QString agregarFuncionPtr(const QString &estado);
    static QString cerrarFuncionPtr();
    // One transition's if block; the state function returns once it fires.
    static QString agregarFuncionPtrFuncion(const ExpresionDisparo &disparador, const QString &acciones,
                                            const QString &estadoDestino);

    QString textoFuncionesEstados() const;
    QString textoMain() const;
    QString textoFuncionesMDE(const QString &funcionesEstados) const;

private:
    QString encabezadoArchivo(const QString &archivo, const QString &resumen) const;
    QString encabezadoFuncion(const QString &firma, const QString &resumen, const QString &detalles) const;

    Proyecto m_proyecto;
};

#endif // GENERADORPTRFUNCION_H
