#include "pasomaquina.h"

#include "proyecto.h"

namespace {

// The " [machine]" an action's row ends with, cut before a "(" as the row is.
void agregarMaquinaCortada(QString *fila, const QString &maquina)
{
    *fila += QLatin1String(" [");
    const int parentesis = maquina.indexOf(QLatin1Char('('));
    if (parentesis >= 0) {
        fila->append(maquina.constData(), parentesis);
        return;
    }
    *fila += maquina;
    *fila += QLatin1Char(']');
}

} // namespace

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
// read the frames this way, so it stays. It runs for every step of every
// machine, so the rows are not built only to be cut.
Reporte PasoMaquina::reporte(const Proyecto &proyecto) const
{
    Reporte reporte;
    if (esReset())
        return reporte;
    const Maquina &m = proyecto.maquina(maquina);
    const Transicion &transicion = m.estados.at(origen).transiciones.at(this->transicion);
    bool primera = true;
    for (const ListaAcciones::Entrada &entrada : transicion.acciones.entradas()) {
        if (entrada.texto.isEmpty())
            continue;
        if (!primera)
            reporte.acciones += QLatin1Char(';');
        primera = false;
        const int parentesis = entrada.texto.indexOf(QLatin1Char('('));
        if (parentesis >= 0) {
            reporte.acciones.append(entrada.texto.constData(), parentesis);
            continue;
        }
        reporte.acciones += entrada.texto;
        agregarMaquinaCortada(&reporte.acciones, m.nombre);
    }
    reporte.maquina = m.nombre;
    reporte.estado = m.estados.at(origen).nombre;
    reporte.evento = transicion.disparador.texto();
    reporte.proxEstado = m.estados.at(destino).nombre;
    return reporte;
}
