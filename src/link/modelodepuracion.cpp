#include "modelodepuracion.h"

#include "xmlhandler.h"

namespace {

QString id(const char *prefijo, int indice)
{
    return QLatin1String(prefijo) + QString::number(indice);
}

// The actions of a report, as the simulation names them: each non-empty
// entry with the machine's name in brackets, cut before its first "(".
QString accionesDelReporte(const QString &lista, const QString &maquina)
{
    QStringList nombres;
    for (const QString &accion : lista.split(QLatin1Char(','))) {
        if (accion.isEmpty())
            continue;
        const QString fila = accion + QStringLiteral(" [") + maquina + QLatin1Char(']');
        const int parentesis = fila.indexOf(QLatin1Char('('));
        nombres.append(parentesis < 0 ? fila : fila.left(parentesis));
    }
    return nombres.join(QLatin1Char(';'));
}

} // namespace

ModeloDepuracion::ModeloDepuracion(const XmlHandler &datos)
{
    const int maquinas = qMax(datos.cantidadMaquinas(), 0);
    m_maquinas.resize(maquinas);
    for (int k = 0; k < maquinas; ++k) {
        const QString maquinaId = id("maquina", k);
        Maquina &maquina = m_maquinas[k];
        maquina.nombre = datos.getContenidoMaquina(maquinaId, QStringLiteral("nombre"));
        const int estados = qMax(datos.cantidadEstados(maquinaId), 0);
        maquina.estados.resize(estados);
        for (int i = 0; i < estados; ++i) {
            const QString estadoId = id("estado", i);
            Estado &estado = maquina.estados[i];
            estado.nombre = datos.getContenidoEstado(estadoId, QStringLiteral("diagrama"),
                                                     QStringLiteral("nombre"), maquinaId);
            const int transiciones = qMax(datos.cantidadTransiciones(estadoId, maquinaId), 0);
            estado.transiciones.resize(transiciones);
            for (int j = 0; j < transiciones; ++j) {
                const QString trId = id("tr", j);
                Transicion &tr = estado.transiciones[j];
                tr.disparador =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idEvento"), maquinaId);
                tr.acciones =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idAcciones"), maquinaId);
                const QString destinoId =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idProxEstado"), maquinaId);
                bool numero = false;
                const int destino = destinoId.midRef(6).toInt(&numero);
                if (numero && destino >= 0 && destino < estados && destinoId == id("estado", destino))
                    tr.destino = destino;
            }
        }
    }
}

bool ModeloDepuracion::resolver(const LineaDepuracion &linea, Paso *paso) const
{
    if (!linea.valida || linea.maquina >= m_maquinas.size())
        return false;
    const Maquina &maquina = m_maquinas.at(linea.maquina);
    if (linea.estado >= maquina.estados.size())
        return false;
    const Estado &estado = maquina.estados.at(linea.estado);
    if (linea.transicion >= estado.transiciones.size())
        return false;
    const Transicion &tr = estado.transiciones.at(linea.transicion);
    if (tr.destino < 0)
        return false;
    paso->destino = tr.destino;
    paso->reporte.maquina = maquina.nombre;
    paso->reporte.estado = estado.nombre;
    paso->reporte.evento = tr.disparador;
    paso->reporte.proxEstado = maquina.estados.at(tr.destino).nombre;
    paso->reporte.acciones = accionesDelReporte(tr.acciones, maquina.nombre);
    return true;
}
