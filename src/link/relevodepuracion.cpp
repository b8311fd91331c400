#include "relevodepuracion.h"

#include "clientereportes.h"
#include "modelodepuracion.h"

#include <QDateTime>
#include <utility>

RelevoDepuracion::RelevoDepuracion(ClienteReportes *enlace) : m_enlace(enlace), m_puerto(this)
{
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
    QMutexLocker bloqueo(&m_mutexPasos);
    m_pasos.clear();
    m_avisado = false;
}

QVector<RelevoDepuracion::Paso> RelevoDepuracion::tomarPasos()
{
    QMutexLocker bloqueo(&m_mutexPasos);
    // A window that found steps comes back on its next refresh by itself;
    // one that found none waits to be told.
    m_avisado = !m_pasos.isEmpty();
    return std::exchange(m_pasos, {});
}

void RelevoDepuracion::relevar(const QVector<LineaDepuracion> &lineas)
{
    if (!m_modelo)
        return;
    QVector<Paso> pasos;
    QByteArray tramas;
    const qint64 ahora = QDateTime::currentMSecsSinceEpoch();
    for (const LineaDepuracion &linea : lineas) {
        if (!linea.valida)
            continue;
        Paso paso;
        paso.recibido = ahora;
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
    if (pasos.isEmpty())
        return;
    bool avisar = false;
    {
        QMutexLocker bloqueo(&m_mutexPasos);
        m_pasos += pasos;
        avisar = !m_avisado;
        m_avisado = true;
    }
    if (avisar)
        emit pasosPendientes();
}
