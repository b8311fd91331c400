#include "simulacionfilas.h"

const QString SimulacionFilas::FilaReset = QStringLiteral("(reset)");

SimulacionFilas::SimulacionFilas(const Proyecto &proyecto) : m_proyecto(proyecto)
{
    // A trigger written "(reset)" shares the reset row, as in the table.
    m_filas.append(FilaReset);
    m_indiceFila.insert(FilaReset, 0);
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        const Maquina &maquina = proyecto.maquina(k);
        m_primerEstado.append(m_inicioEstado.size());
        for (const Estado &estado : maquina.estados) {
            m_inicioEstado.append(m_salidas.size());
            for (const Transicion &transicion : estado.transiciones) {
                const QString &texto = transicion.disparador.texto();
                int fila = m_indiceFila.value(texto, -1);
                if (fila < 0) {
                    fila = m_filas.size();
                    m_filas.append(texto);
                    m_indiceFila.insert(texto, fila);
                }
                m_salidas.append(Salida{fila, transicion.destino});
            }
        }
    }
    m_inicioEstado.append(m_salidas.size());
    m_pasos.reserve(proyecto.cantidadMaquinas());
    reiniciar();
}

const SimulacionFilas::Salida *SimulacionFilas::primeraSalida(int maquina, int estado) const
{
    return m_salidas.constData() + m_inicioEstado.at(m_primerEstado.at(maquina) + estado);
}

const SimulacionFilas::Salida *SimulacionFilas::finSalidas(int maquina, int estado) const
{
    return m_salidas.constData() + m_inicioEstado.at(m_primerEstado.at(maquina) + estado + 1);
}

void SimulacionFilas::reiniciar()
{
    m_estados.fill(-1, m_proyecto.cantidadMaquinas());
    m_pasos.resize(0);
}

bool SimulacionFilas::salirDeReset(int maquina, PasoMaquina *paso)
{
    const int inicial = m_proyecto.maquina(maquina).estadoInicial();
    if (m_estados.at(maquina) >= 0 || inicial < 0)
        return false;
    m_estados[maquina] = inicial;
    if (paso) {
        *paso = PasoMaquina();
        paso->maquina = maquina;
        paso->destino = inicial;
    }
    return true;
}

const QVector<PasoMaquina> &SimulacionFilas::disparar(const QString &texto)
{
    m_pasos.resize(0);
    const int fila = m_indiceFila.value(texto, -1);
    if (fila < 0)
        return m_pasos;
    for (int k = 0; k < m_estados.size(); ++k) {
        const int origen = m_estados.at(k);
        if (origen < 0)
            continue;
        const Salida *primera = primeraSalida(k, origen);
        const Salida *fin = finSalidas(k, origen);
        for (const Salida *salida = primera; salida != fin; ++salida) {
            // A transition to no state (a broken file) cannot be taken.
            if (salida->fila != fila || salida->destino < 0)
                continue;
            m_estados[k] = salida->destino;
            PasoMaquina paso;
            paso.maquina = k;
            paso.origen = origen;
            paso.destino = salida->destino;
            paso.transicion = int(salida - primera);
            m_pasos.append(paso);
            break;
        }
    }
    return m_pasos;
}

QStringList SimulacionFilas::filasDisponibles() const
{
    QStringList disponibles;
    for (int k = 0; k < m_estados.size(); ++k) {
        if (m_estados.at(k) < 0)
            continue;
        const Salida *fin = finSalidas(k, m_estados.at(k));
        for (const Salida *salida = primeraSalida(k, m_estados.at(k)); salida != fin; ++salida) {
            if (!disponibles.contains(m_filas.at(salida->fila)))
                disponibles.append(m_filas.at(salida->fila));
        }
    }
    return disponibles;
}
