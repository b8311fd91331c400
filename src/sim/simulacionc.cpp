#include "simulacionc.h"

#include <algorithm>
#include <limits>

namespace {

bool comparar(qint32 a, ExpresionDisparo::Comparador comparador, qint32 b)
{
    switch (comparador) {
    case ExpresionDisparo::Igual:
        return a == b;
    case ExpresionDisparo::Distinto:
        return a != b;
    case ExpresionDisparo::Mayor:
        return a > b;
    case ExpresionDisparo::Menor:
        return a < b;
    case ExpresionDisparo::MayorIgual:
        return a >= b;
    case ExpresionDisparo::MenorIgual:
        return a <= b;
    }
    return false;
}

// 32-bit wrap-around, as the targets' ints behave.
qint32 envolver(qint64 valor)
{
    return qint32(quint32(quint64(valor)));
}

bool cocienteIndefinido(qint32 a, qint32 b)
{
    return b == 0 || (a == std::numeric_limits<qint32>::min() && b == -1);
}

qint32 asignar(ListaAcciones::Asignador asignador, qint32 actual, qint32 valor)
{
    switch (asignador) {
    case ListaAcciones::Asignar:
        return valor;
    case ListaAcciones::Sumar:
        return envolver(qint64(actual) + valor);
    case ListaAcciones::Restar:
        return envolver(qint64(actual) - valor);
    case ListaAcciones::Multiplicar:
        return envolver(qint64(actual) * valor);
    case ListaAcciones::Dividir:
        return cocienteIndefinido(actual, valor) ? actual : actual / valor;
    case ListaAcciones::Modulo:
        return cocienteIndefinido(actual, valor) ? actual : actual % valor;
    }
    return actual;
}

} // namespace

SimulacionC::SimulacionC(const Proyecto &proyecto) : m_proyecto(proyecto)
{
    for (const QString &evento : proyecto.eventos()) {
        if (!m_indiceEvento.contains(evento)) {
            m_indiceEvento.insert(evento, m_eventos.size());
            m_eventos.append(evento);
        }
    }
    for (const QString &variable : proyecto.variables())
        registrarVariable(variable);
    for (const QString &constante : proyecto.constantes())
        m_constantes.insert(constante, constante == QLatin1String("TRUE") ? 1 : 0);
    for (const Maquina &maquina : proyecto.maquinas()) {
        m_iniciales.append(compilar(maquina.inicial.acciones));
        m_primerEstado.append(m_inicioEstado.size());
        for (const Estado &estado : maquina.estados) {
            m_inicioEstado.append(m_transiciones.size());
            for (const ::Transicion &transicion : estado.transiciones)
                m_transiciones.append(compilar(transicion));
        }
    }
    m_inicioEstado.append(m_transiciones.size());
    m_valores.resize(m_variables.size());
    m_verdaderos.resize(m_eventos.size());
    m_pasos.reserve(2 * proyecto.cantidadMaquinas());
    reiniciar();
}

int SimulacionC::registrarVariable(const QString &nombre)
{
    auto encontrada = m_indiceVariable.constFind(nombre);
    if (encontrada != m_indiceVariable.constEnd())
        return encontrada.value();
    m_indiceVariable.insert(nombre, m_variables.size());
    m_variables.append(nombre);
    return m_variables.size() - 1;
}

// Numbers as C writes them (decimal, 0x hexadecimal, 0 octal); a variable;
// a constant; anything else reads 0, as an undefined name cannot compile.
SimulacionC::Operando SimulacionC::operando(const QString &texto)
{
    Operando resultado;
    const QString limpio = texto.trimmed();
    bool numero = false;
    const qlonglong valor = limpio.toLongLong(&numero, 0);
    if (numero) {
        resultado.literal = envolver(valor);
        return resultado;
    }
    resultado.variable = m_indiceVariable.value(limpio, -1);
    if (resultado.variable < 0)
        resultado.literal = m_constantes.value(limpio, 0);
    return resultado;
}

SimulacionC::Transicion SimulacionC::compilar(const ::Transicion &transicion)
{
    Transicion resultado;
    resultado.destino = transicion.destino;
    resultado.asignaciones = compilar(transicion.acciones);
    const int base = m_nodos.size();
    for (const ExpresionDisparo::Nodo &nodo : transicion.disparador.nodos()) {
        Nodo compilado;
        compilado.tipo = nodo.tipo;
        compilado.comparador = nodo.comparador;
        compilado.hijoIzquierdo = nodo.izquierdo < 0 ? -1 : base + nodo.izquierdo;
        compilado.hijoDerecho = nodo.derecho < 0 ? -1 : base + nodo.derecho;
        if (nodo.tipo == ExpresionDisparo::Evento) {
            compilado.evento = m_indiceEvento.value(nodo.nombre, -1);
            if (compilado.evento < 0) {
                compilado.evento = m_eventos.size();
                m_indiceEvento.insert(nodo.nombre, compilado.evento);
                m_eventos.append(nodo.nombre);
            }
        } else if (nodo.tipo == ExpresionDisparo::Comparacion) {
            if (!m_constantes.contains(nodo.nombre))
                registrarVariable(nodo.nombre);
            compilado.izquierdo = operando(nodo.nombre);
            compilado.derecho = operando(nodo.valor);
        }
        m_nodos.append(compilado);
    }
    // The tree's root is its last node.
    if (m_nodos.size() > base)
        resultado.raiz = m_nodos.size() - 1;
    return resultado;
}

SimulacionC::Asignaciones SimulacionC::compilar(const ListaAcciones &acciones)
{
    Asignaciones resultado;
    resultado.primera = m_asignaciones.size();
    for (const ListaAcciones::Entrada &entrada : acciones.entradas()) {
        if (entrada.tipo != ListaAcciones::Asignacion)
            continue;
        Asignacion asignacion;
        asignacion.variable = registrarVariable(entrada.nombre);
        asignacion.asignador = entrada.asignador;
        asignacion.valor = operando(entrada.valor);
        m_asignaciones.append(asignacion);
    }
    resultado.cantidad = m_asignaciones.size() - resultado.primera;
    return resultado;
}

qint32 SimulacionC::leer(const Operando &operando) const
{
    return operando.variable < 0 ? operando.literal : m_valores.at(operando.variable);
}

bool SimulacionC::evaluar(int indice) const
{
    const Nodo &nodo = m_nodos.at(indice);
    switch (nodo.tipo) {
    case ExpresionDisparo::Evento:
        return m_verdaderos.at(nodo.evento);
    case ExpresionDisparo::Comparacion:
        return comparar(leer(nodo.izquierdo), nodo.comparador, leer(nodo.derecho));
    case ExpresionDisparo::Negacion:
        return !evaluar(nodo.hijoIzquierdo);
    case ExpresionDisparo::Y:
        return evaluar(nodo.hijoIzquierdo) && evaluar(nodo.hijoDerecho);
    case ExpresionDisparo::O:
        return evaluar(nodo.hijoIzquierdo) || evaluar(nodo.hijoDerecho);
    }
    return false;
}

void SimulacionC::ejecutar(Asignaciones asignaciones)
{
    const Asignacion *fin = m_asignaciones.constData() + asignaciones.primera + asignaciones.cantidad;
    for (const Asignacion *asignacion = m_asignaciones.constData() + asignaciones.primera; asignacion != fin;
         ++asignacion) {
        qint32 &variable = m_valores[asignacion->variable];
        variable = asignar(asignacion->asignador, variable, leer(asignacion->valor));
    }
}

void SimulacionC::reiniciar()
{
    m_pasos.resize(0);
    m_valores.fill(0);
    m_estados.resize(m_proyecto.cantidadMaquinas());
    for (int k = 0; k < m_estados.size(); ++k)
        m_estados[k] = m_proyecto.maquina(k).estadoInicial();
    m_iniciadas.fill(false, m_estados.size());
}

const QVector<PasoMaquina> &SimulacionC::paso(const QVector<bool> &verdaderos)
{
    const int copiados = qMin(verdaderos.size(), m_verdaderos.size());
    bool *destino = m_verdaderos.data();
    std::copy(verdaderos.constBegin(), verdaderos.constBegin() + copiados, destino);
    std::fill(destino + copiados, destino + m_verdaderos.size(), false);
    return avanzar();
}

const QVector<PasoMaquina> &SimulacionC::paso(const QStringList &verdaderos)
{
    m_verdaderos.fill(false);
    for (const QString &nombre : verdaderos) {
        const int indice = indiceEvento(nombre);
        if (indice >= 0)
            m_verdaderos[indice] = true;
    }
    return avanzar();
}

const QVector<PasoMaquina> &SimulacionC::avanzar()
{
    m_pasos.resize(0);
    for (int k = 0; k < m_estados.size(); ++k) {
        const int origen = m_estados.at(k);
        if (origen < 0)
            continue;
        if (!m_iniciadas.at(k)) {
            m_iniciadas[k] = true;
            ejecutar(m_iniciales.at(k));
            PasoMaquina inicial;
            inicial.maquina = k;
            inicial.destino = origen;
            m_pasos.append(inicial);
        }
        const int estado = m_primerEstado.at(k) + origen;
        const int primera = m_inicioEstado.at(estado);
        const int fin = m_inicioEstado.at(estado + 1);
        for (int t = primera; t < fin; ++t) {
            const Transicion &transicion = m_transiciones.at(t);
            if (transicion.raiz < 0 || !evaluar(transicion.raiz))
                continue;
            ejecutar(transicion.asignaciones);
            // A transition to no state cannot be written in C; the machine
            // stays where it is.
            if (transicion.destino >= 0)
                m_estados[k] = transicion.destino;
            PasoMaquina paso;
            paso.maquina = k;
            paso.origen = origen;
            paso.destino = m_estados.at(k);
            paso.transicion = t - primera;
            m_pasos.append(paso);
            break;
        }
    }
    return m_pasos;
}
