#include "pasomaquina.h"

#include "proyecto.h"

QStringList PasoMaquina::acciones(const Proyecto &proyecto) const
{
    if (maquina < 0 || destino < 0)
        return QStringList();
    const Maquina &m = proyecto.maquina(maquina);
    const ListaAcciones &lista =
        esReset() ? m.inicial.acciones : m.estados.at(origen).transiciones.at(transicion).acciones;
    QStringList resultado;
    for (const ListaAcciones::Entrada &entrada : lista.entradas()) {
        if (!entrada.texto.isEmpty())
            resultado.append(entrada.texto);
    }
    return resultado;
}

QStringList PasoMaquina::filasAcciones(const Proyecto &proyecto) const
{
    QStringList filas = acciones(proyecto);
    if (filas.isEmpty())
        return filas;
    const QString sufijo = QStringLiteral(" [") + proyecto.maquina(maquina).nombre + QLatin1Char(']');
    for (QString &fila : filas)
        fila += sufijo;
    return filas;
}

QString PasoMaquina::evento(const Proyecto &proyecto) const
{
    if (esReset())
        return QString();
    return proyecto.maquina(maquina).estados.at(origen).transiciones.at(transicion).disparador.texto();
}

// A report names each action by its row cut before the first "(": a call
// keeps its name, an assignment its whole row, machine name included. Peers
// read the frames this way, so it stays.
Reporte PasoMaquina::reporte(const Proyecto &proyecto) const
{
    Reporte reporte;
    if (esReset())
        return reporte;
    const Maquina &m = proyecto.maquina(maquina);
    QStringList nombres = filasAcciones(proyecto);
    for (QString &nombre : nombres) {
        const int parentesis = nombre.indexOf(QLatin1Char('('));
        if (parentesis >= 0)
            nombre.truncate(parentesis);
    }
    reporte.maquina = m.nombre;
    reporte.estado = m.estados.at(origen).nombre;
    reporte.evento = evento(proyecto);
    reporte.proxEstado = m.estados.at(destino).nombre;
    reporte.acciones = nombres.join(QLatin1Char(';'));
    return reporte;
}
