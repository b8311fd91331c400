#include "historialproyecto.h"

HistorialProyecto::HistorialProyecto(int maxPasos, qint64 maxBytes)
    : m_maxPasos(maxPasos), m_maxBytes(maxBytes)
{
    reiniciar(QByteArray());
}

void HistorialProyecto::reiniciar(const QByteArray &documento)
{
    m_estados = {Estado{QString(), documento}};
    m_actual = 0;
    m_limpio = 0;
    m_bytes = documento.size();
}

bool HistorialProyecto::registrar(const QString &texto, const QByteArray &documento)
{
    if (documento == m_estados.at(m_actual).documento)
        return false;
    while (m_estados.size() > m_actual + 1)
        m_bytes -= m_estados.takeLast().documento.size();
    if (m_limpio > m_actual)
        m_limpio = -1;
    m_estados.append(Estado{texto, documento});
    m_bytes += documento.size();
    m_actual = m_estados.size() - 1;
    recortar();
    return true;
}

// The current state is always kept, however large it is.
void HistorialProyecto::recortar()
{
    while (m_actual > 0 && (pasos() > m_maxPasos || m_bytes > m_maxBytes)) {
        m_bytes -= m_estados.takeFirst().documento.size();
        --m_actual;
        m_limpio = m_limpio > 0 ? m_limpio - 1 : -1;
    }
}

QString HistorialProyecto::textoDeshacer() const
{
    return puedeDeshacer() ? m_estados.at(m_actual).texto : QString();
}

QString HistorialProyecto::textoRehacer() const
{
    return puedeRehacer() ? m_estados.at(m_actual + 1).texto : QString();
}

QByteArray HistorialProyecto::deshacer()
{
    if (puedeDeshacer())
        --m_actual;
    return actual();
}

QByteArray HistorialProyecto::rehacer()
{
    if (puedeRehacer())
        ++m_actual;
    return actual();
}

QByteArray HistorialProyecto::actual() const
{
    return m_estados.at(m_actual).documento;
}

void HistorialProyecto::reemplazarActual(const QByteArray &documento)
{
    Estado &estado = m_estados[m_actual];
    m_bytes += documento.size() - estado.documento.size();
    estado.documento = documento;
}

void HistorialProyecto::marcarGuardado(const QByteArray &documento)
{
    reemplazarActual(documento);
    m_limpio = m_actual;
}

void HistorialProyecto::olvidarGuardado()
{
    m_limpio = -1;
}
