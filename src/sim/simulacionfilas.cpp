#include "simulacionfilas.h"

const QString SimulacionFilas::FilaReset = QStringLiteral("(reset)");

SimulacionFilas::SimulacionFilas(const Proyecto &proyecto) : m_proyecto(proyecto)
{
    // A trigger written "(reset)" shares the reset row, as in the table.
    m_filas.append(FilaReset);
    m_indiceFila.insert(FilaReset, 0);
    m_salidas.resize(proyecto.cantidadMaquinas());
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        const Maquina &maquina = proyecto.maquina(k);
        m_salidas[k].resize(maquina.estados.size());
        for (int i = 0; i < maquina.estados.size(); ++i) {
            for (const Transicion &transicion : maquina.estados.at(i).transiciones) {
                const QString &texto = transicion.disparador.texto();
                int fila = m_indiceFila.value(texto, -1);
                if (fila < 0) {
                    fila = m_filas.size();
                    m_filas.append(texto);
                    m_indiceFila.insert(texto, fila);
                }
                m_salidas[k][i].append(Salida{fila, transicion.destino});
            }
        }
    }
    reiniciar();
}

void SimulacionFilas::reiniciar()
{
    m_estados.fill(-1, m_proyecto.cantidadMaquinas());
    m_pasos.clear();
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
        const QVector<Salida> &salidas = m_salidas.at(k).at(origen);
        for (int j = 0; j < salidas.size(); ++j) {
            // A transition to no state (a broken file) cannot be taken.
            if (salidas.at(j).fila != fila || salidas.at(j).destino < 0)
                continue;
            m_estados[k] = salidas.at(j).destino;
            PasoMaquina paso;
            paso.maquina = k;
            paso.origen = origen;
            paso.destino = salidas.at(j).destino;
            paso.transicion = j;
            paso.evento = m_filas.at(fila);
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
        for (const Salida &salida : m_salidas.at(k).at(m_estados.at(k))) {
            if (!disponibles.contains(m_filas.at(salida.fila)))
                disponibles.append(m_filas.at(salida.fila));
        }
    }
    return disponibles;
}
