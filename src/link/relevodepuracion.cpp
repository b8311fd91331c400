#include "relevodepuracion.h"

#include "clientereportes.h"
#include "modelodepuracion.h"

RelevoDepuracion::RelevoDepuracion(ClienteReportes *enlace) : m_enlace(enlace), m_puerto(this)
{
    qRegisterMetaType<QVector<RelevoDepuracion::Paso>>();
    connect(&m_puerto, &PuertoDepuracion::lineasRecibidas, this, &RelevoDepuracion::relevar);
    connect(&m_puerto, &PuertoDepuracion::cerrado, this, [this](const QString &motivo) {
        m_modelo.reset();
        emit cerrado(motivo);
    });
}

RelevoDepuracion::~RelevoDepuracion() = default;

bool RelevoDepuracion::iniciar(const Proyecto &proyecto, const QString &ruta, qint32 velocidad)
{
    terminar();
    if (!m_puerto.abrir(ruta, velocidad))
        return false;
    m_modelo = std::make_unique<ModeloDepuracion>(proyecto);
    return true;
}

void RelevoDepuracion::terminar()
{
    m_puerto.cerrar();
    m_modelo.reset();
}

void RelevoDepuracion::relevar(const QVector<LineaDepuracion> &lineas)
{
    if (!m_modelo)
        return;
    QVector<Paso> pasos;
    QByteArray tramas;
    for (const LineaDepuracion &linea : lineas) {
        if (!linea.valida)
            continue;
        Paso paso;
        paso.linea = linea.texto;
        if (m_modelo->resolver(linea, &paso.paso)) {
            paso.reporte = paso.paso.reporte(m_modelo->proyecto());
            tramas += TramaEnlace::codificar(paso.reporte);
        }
        pasos.append(paso);
    }
    // The frames of one read go out in one write, before the window hears
    // of them.
    if (!tramas.isEmpty())
        m_enlace->enviar(tramas);
    if (!pasos.isEmpty())
        emit pasosRecibidos(pasos);
}
