#include "historialproyecto.h"

HistorialProyecto::HistorialProyecto(int maxPasos, qint64 maxBytes)
    : m_maxPasos(maxPasos), m_maxBytes(maxBytes)
{
    reiniciar(Instantanea());
}

void HistorialProyecto::reiniciar(const Instantanea &documento)
{
    m_estados = {Estado{QString(), documento}};
    m_actual = 0;
    m_limpio = 0;
    m_usos.clear();
    m_bytes = 0;
    contar(documento);
}

bool HistorialProyecto::registrar(const QString &texto, const Instantanea &documento)
{
    const Instantanea &anterior = m_estados.at(m_actual).documento;
    if (documento == anterior)
        return false;
    Instantanea nuevo = documento;
    nuevo.compartirCon(anterior);
    while (m_estados.size() > m_actual + 1)
        descontar(m_estados.takeLast().documento);
    if (m_limpio > m_actual)
        m_limpio = -1;
    m_estados.append(Estado{texto, nuevo});
    contar(nuevo);
    m_actual = m_estados.size() - 1;
    recortar();
    return true;
}

// The current state is always kept, however large it is.
void HistorialProyecto::recortar()
{
    while (m_actual > 0 && (pasos() > m_maxPasos || m_bytes > m_maxBytes)) {
        descontar(m_estados.takeFirst().documento);
        --m_actual;
        m_limpio = m_limpio > 0 ? m_limpio - 1 : -1;
    }
}

void HistorialProyecto::contar(const Instantanea &documento)
{
    contarPieza(documento.antes);
    for (const QByteArray &maquina : documento.maquinas)
        contarPieza(maquina);
    contarPieza(documento.despues);
}

void HistorialProyecto::descontar(const Instantanea &documento)
{
    descontarPieza(documento.antes);
    for (const QByteArray &maquina : documento.maquinas)
        descontarPieza(maquina);
    descontarPieza(documento.despues);
}

void HistorialProyecto::contarPieza(const QByteArray &pieza)
{
    if (m_usos[pieza.constData()]++ == 0)
        m_bytes += pieza.size();
}

void HistorialProyecto::descontarPieza(const QByteArray &pieza)
{
    const auto it = m_usos.find(pieza.constData());
    if (it == m_usos.end() || --*it > 0)
        return;
    m_usos.erase(it);
    m_bytes -= pieza.size();
}

QString HistorialProyecto::textoDeshacer() const
{
    return puedeDeshacer() ? m_estados.at(m_actual).texto : QString();
}

QString HistorialProyecto::textoRehacer() const
{
    return puedeRehacer() ? m_estados.at(m_actual + 1).texto : QString();
}

const Instantanea &HistorialProyecto::deshacer()
{
    if (puedeDeshacer())
        --m_actual;
    return actual();
}

const Instantanea &HistorialProyecto::rehacer()
{
    if (puedeRehacer())
        ++m_actual;
    return actual();
}

void HistorialProyecto::reemplazarActual(const Instantanea &documento)
{
    Estado &estado = m_estados[m_actual];
    Instantanea nuevo = documento;
    nuevo.compartirCon(estado.documento);
    contar(nuevo);
    descontar(estado.documento);
    estado.documento = nuevo;
}

void HistorialProyecto::marcarGuardado(const Instantanea &documento)
{
    reemplazarActual(documento);
    m_limpio = m_actual;
}

void HistorialProyecto::olvidarGuardado()
{
    m_limpio = -1;
}
