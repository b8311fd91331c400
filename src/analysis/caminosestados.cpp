#include "caminosestados.h"

#include "proyecto.h"

#include <QSet>

namespace {

const int kInicial = -1;
const int kSinCamino = -2;

} // namespace

CaminosEstados::CaminosEstados(const Proyecto &proyecto)
{
    for (const Maquina &maquina : proyecto.maquinas()) {
        QVector<Paso> pasos(maquina.estados.size());
        QStringList nombres;
        for (const Estado &estado : maquina.estados)
            nombres.append(estado.nombre.toUpper());
        QVector<int> cola;
        const int inicial = maquina.estadoInicial();
        if (inicial >= 0 && inicial < pasos.size()) {
            pasos[inicial].desde = kInicial;
            cola.append(inicial);
        }
        for (int siguiente = 0; siguiente < cola.size(); ++siguiente) {
            const int actual = cola.at(siguiente);
            QSet<QString> filas;
            for (const Transicion &transicion : maquina.estados.at(actual).transiciones) {
                const QString &fila = transicion.disparador.texto();
                // Only the first transition with a row's text fires on that row.
                if (filas.contains(fila))
                    continue;
                filas.insert(fila);
                const int destino = transicion.destino;
                if (destino < 0 || destino >= pasos.size() || pasos.at(destino).desde != kSinCamino)
                    continue;
                pasos[destino] = {actual, fila};
                cola.append(destino);
            }
        }
        m_pasos.append(pasos);
        m_maquinas.append(maquina.nombre);
        m_estados.append(nombres);
    }
}

bool CaminosEstados::alcanzable(int maquina, int estado) const
{
    return m_pasos.at(maquina).at(estado).desde != kSinCamino;
}

QStringList CaminosEstados::camino(int maquina, int estado) const
{
    QStringList filas;
    const QVector<Paso> &pasos = m_pasos.at(maquina);
    for (int actual = estado; pasos.at(actual).desde >= 0; actual = pasos.at(actual).desde)
        filas.prepend(pasos.at(actual).fila);
    return filas;
}

QString CaminosEstados::texto(int maquina, int estado) const
{
    const int desde = m_pasos.at(maquina).at(estado).desde;
    if (desde == kInicial)
        return QStringLiteral("(inicial)");
    if (desde == kSinCamino)
        return QStringLiteral("inalcanzable");
    return camino(maquina, estado).join(QStringLiteral(", "));
}

QStringList CaminosEstados::lineas() const
{
    QStringList lineas;
    for (int k = 0; k < m_pasos.size(); ++k) {
        for (int i = 0; i < m_pasos.at(k).size(); ++i)
            lineas.append(
                QStringLiteral("%1 %2: %3").arg(m_maquinas.at(k), m_estados.at(k).at(i), texto(k, i)));
    }
    return lineas;
}
