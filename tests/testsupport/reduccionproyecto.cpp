#include "reduccionproyecto.h"

#include "expresiondisparo.h"
#include "proyecto.h"

namespace TestSupport {

namespace {

using Descripcion = DescripcionProyecto;

// Each trigger with one of its "&&", "||" or "!" replaced by an operand;
// an operand that is itself "&&" or "||" keeps its parentheses.
QStringList disparadoresMenores(const QString &texto)
{
    QStringList menores;
    const ExpresionDisparo expresion = ExpresionDisparo::analizar(texto);
    for (int n = 0; n < expresion.nodos().size(); ++n) {
        const ExpresionDisparo::Nodo &nodo = expresion.nodo(n);
        for (int hijo : {nodo.izquierdo, nodo.derecho}) {
            if (hijo < 0)
                continue;
            const ExpresionDisparo::Nodo &operando = expresion.nodo(hijo);
            QString parte = texto.mid(operando.inicio, operando.fin - operando.inicio);
            if (n == expresion.raiz()) {
                menores.append(parte);
                continue;
            }
            if (operando.tipo == ExpresionDisparo::Y || operando.tipo == ExpresionDisparo::O)
                parte = QLatin1Char('(') + parte + QLatin1Char(')');
            menores.append(texto.left(nodo.inicio) + parte + texto.mid(nodo.fin));
        }
    }
    return menores;
}

// Each action list with one entry less.
QStringList accionesMenores(const QString &acciones)
{
    QStringList menores;
    const QStringList entradas = acciones.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = 0; i < entradas.size(); ++i) {
        QStringList resto = entradas;
        resto.removeAt(i);
        menores.append(resto.join(QLatin1Char(',')));
    }
    return menores;
}

Descripcion sinEstado(Descripcion p, int k, int i)
{
    Descripcion::Maquina &m = p.maquinas[k];
    m.estados.removeAt(i);
    for (Descripcion::Estado &estado : m.estados) {
        QVector<Descripcion::Transicion> quedan;
        for (Descripcion::Transicion tr : estado.transiciones) {
            if (tr.destino == i)
                continue;
            tr.destino -= tr.destino > i ? 1 : 0;
            quedan.append(tr);
        }
        estado.transiciones = quedan;
    }
    if (m.inicial == i)
        m.inicial = 0;
    else if (m.inicial > i)
        --m.inicial;
    return p;
}

// Every project one step smaller than p, the largest steps first.
QVector<Descripcion> candidatos(const Descripcion &p)
{
    QVector<Descripcion> lista;
    for (int k = 0; p.maquinas.size() > 1 && k < p.maquinas.size(); ++k) {
        lista.append(p);
        lista.last().maquinas.removeAt(k);
    }
    for (int k = 0; k < p.maquinas.size(); ++k) {
        for (int i = 0; p.maquinas.at(k).estados.size() > 1 && i < p.maquinas.at(k).estados.size(); ++i)
            lista.append(sinEstado(p, k, i));
    }
    for (int k = 0; k < p.maquinas.size(); ++k) {
        const Descripcion::Maquina &m = p.maquinas.at(k);
        for (const QString &menor : accionesMenores(m.accionesIniciales)) {
            lista.append(p);
            lista.last().maquinas[k].accionesIniciales = menor;
        }
        for (int i = 0; i < m.estados.size(); ++i) {
            const QVector<Descripcion::Transicion> &transiciones = m.estados.at(i).transiciones;
            for (int j = 0; j < transiciones.size(); ++j) {
                lista.append(p);
                lista.last().maquinas[k].estados[i].transiciones.removeAt(j);
            }
            for (int j = 0; j < transiciones.size(); ++j) {
                for (const QString &menor : accionesMenores(transiciones.at(j).acciones)) {
                    lista.append(p);
                    lista.last().maquinas[k].estados[i].transiciones[j].acciones = menor;
                }
                for (const QString &menor : disparadoresMenores(transiciones.at(j).disparador)) {
                    lista.append(p);
                    lista.last().maquinas[k].estados[i].transiciones[j].disparador = menor;
                }
            }
        }
    }
    return lista;
}

} // namespace

DescripcionProyecto descripcionDe(const Proyecto &proyecto)
{
    Descripcion p;
    p.nombre = proyecto.nombre();
    p.eventos = proyecto.eventos();
    p.acciones = proyecto.acciones();
    p.variables = proyecto.variables();
    p.constantes = proyecto.constantes();
    for (const Maquina &maquina : proyecto.maquinas()) {
        Descripcion::Maquina m;
        m.nombre = maquina.nombre;
        m.inicial = maquina.estadoInicial();
        m.accionesIniciales = maquina.inicial.acciones.texto();
        for (const Estado &estado : maquina.estados) {
            Descripcion::Estado e;
            e.nombre = estado.nombre;
            for (const Transicion &tr : estado.transiciones)
                e.transiciones.append({tr.disparador.texto(), tr.acciones.texto(), tr.destino});
            m.estados.append(e);
        }
        p.maquinas.append(m);
    }
    return p;
}

// Every accepted candidate is smaller than the one before, so this ends. The
// search goes on from where the last one was found rather than from the
// start, so that a sweep over a project asks about each candidate about once.
DescripcionProyecto reducirProyecto(const DescripcionProyecto &proyecto,
                                    const std::function<bool(const DescripcionProyecto &)> &conserva)
{
    Descripcion actual = proyecto;
    int desde = 0;
    for (;;) {
        const QVector<Descripcion> lista = candidatos(actual);
        int hallado = -1;
        for (int n = 0; n < lista.size() && hallado < 0; ++n) {
            const int i = (desde + n) % lista.size();
            if (conserva(lista.at(i)))
                hallado = i;
        }
        if (hallado < 0)
            return actual;
        actual = lista.at(hallado);
        desde = hallado;
    }
}

} // namespace TestSupport
