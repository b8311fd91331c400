#ifndef MODELODEPURACION_H
#define MODELODEPURACION_H

#include "lineadepuracion.h"
#include "tramaenlace.h"

#include <QString>
#include <QStringList>
#include <QVector>

class XmlHandler;

// What a debug line means in a project: the indices of the generated C
// turned into the report a simulated step of the same transition sends.
// Read once from the document, in the order the generator numbers machines,
// states and transitions.
class ModeloDepuracion
{
public:
    // A transition the board took: the report and the state entered (its
    // index in the machine, so the window can light it).
    struct Paso
    {
        Reporte reporte;
        int destino = -1;
    };

    explicit ModeloDepuracion(const XmlHandler &datos);

    // False when the line is not a transition or its indices name none in
    // this project (or one whose target state does not exist).
    bool resolver(const LineaDepuracion &linea, Paso *paso) const;
    int cantidadMaquinas() const { return m_maquinas.size(); }

private:
    struct Transicion
    {
        QString disparador;
        QString acciones;
        int destino = -1;
    };
    struct Estado
    {
        QString nombre;
        QVector<Transicion> transiciones;
    };
    struct Maquina
    {
        QString nombre;
        QVector<Estado> estados;
    };

    QVector<Maquina> m_maquinas;
};

#endif // MODELODEPURACION_H
