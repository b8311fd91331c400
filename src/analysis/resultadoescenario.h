#ifndef RESULTADOESCENARIO_H
#define RESULTADOESCENARIO_H

#include <QString>
#include <QStringList>

// A check of a scenario that did not hold: where and what.
struct FalloEscenario
{
    int linea = 0;
    // "estado MAQUINA" or "acciones MAQUINA".
    QString paso;
    QString esperado;
    QString encontrado;

    // "línea 7: estado Puerta: se esperaba ABIERTA, se encontró CERRADA".
    QString texto() const
    {
        return QStringLiteral("línea %1: %2: se esperaba %3, se encontró %4")
            .arg(QString::number(linea), paso, esperado, encontrado);
    }
};

// What a scenario run over one project gave: the checks passed and the
// coverage of the whole run. A project that could not be run carries the
// reason in error and counts as failed.
struct ResultadoEscenario
{
    QString proyecto;
    QString error;
    int pasosOk = 0;
    int pasos = 0;
    int estadosCubiertos = 0;
    int estados = 0;
    int transicionesCubiertas = 0;
    int transiciones = 0;
    bool fallo = false;
    FalloEscenario primerFallo;
    // "ESTADO [MAQUINA]: disparador -> DESTINO" for each transition never taken.
    QStringList transicionesSinTomar;

    bool aprobado() const { return error.isEmpty() && pasosOk == pasos; }
    QString textoFallo() const
    {
        if (!error.isEmpty())
            return error;
        return fallo ? primerFallo.texto() : QString();
    }
};

#endif // RESULTADOESCENARIO_H
