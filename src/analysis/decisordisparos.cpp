#include "decisordisparos.h"

#include "expresiondisparo.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

using Comparador = ExpresionDisparo::Comparador;
using Hoja = DecisorDisparos::Hoja;
using Restriccion = DecisorDisparos::Restriccion;

// Wide enough for any C int, narrow enough that v + 1 never overflows.
const qint64 kMinimo = -(qint64(1) << 61);
const qint64 kMaximo = qint64(1) << 61;
// Goals a search may expand before it gives up and answers "compatible".
const int kPresupuesto = 200000;

// A comparison value read as the C compiler reads a literal.
struct Numero
{
    bool valido = false;
    bool entero = false;
    qint64 valorEntero = 0;
    double valorReal = 0;
};

bool esDigito(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

Numero leerNumero(const QString &texto)
{
    Numero numero;
    if (texto == QLatin1String("TRUE") || texto == QLatin1String("FALSE")) {
        numero.valido = numero.entero = true;
        numero.valorEntero = texto == QLatin1String("TRUE") ? 1 : 0;
        return numero;
    }
    const bool conSigno = texto.startsWith(QLatin1Char('-')) || texto.startsWith(QLatin1Char('+'));
    const QString cuerpo = texto.mid(conSigno ? 1 : 0);
    if (cuerpo.isEmpty() || !(esDigito(cuerpo.at(0)) || cuerpo.at(0) == QLatin1Char('.')))
        return numero;
    bool ok = false;
    // Base 0 reads "0x1F" as hexadecimal and "017" as octal, as C does.
    const qint64 entero = cuerpo.toLongLong(&ok, 0);
    if (ok && entero < kMaximo) {
        numero.valido = numero.entero = true;
        numero.valorEntero = texto.startsWith(QLatin1Char('-')) ? -entero : entero;
        return numero;
    }
    for (const QChar c : cuerpo) {
        if (!esDigito(c) && !QStringLiteral(".eE+-").contains(c))
            return numero;
    }
    const double real = texto.toDouble(&ok);
    numero.valido = ok;
    numero.valorReal = qBound(double(kMinimo), real, double(kMaximo));
    if (ok && std::floor(numero.valorReal) == numero.valorReal) {
        numero.entero = true;
        numero.valorEntero = qint64(numero.valorReal);
    }
    return numero;
}

bool esIdentificador(const QString &texto)
{
    if (texto.isEmpty() || esDigito(texto.at(0)))
        return false;
    for (const QChar c : texto) {
        const char l = c.toLatin1();
        if (!esDigito(c) && l != '_' && !(l >= 'A' && l <= 'Z') && !(l >= 'a' && l <= 'z'))
            return false;
    }
    return true;
}

Comparador opuesto(Comparador c)
{
    switch (c) {
    case ExpresionDisparo::Igual:
        return ExpresionDisparo::Distinto;
    case ExpresionDisparo::Distinto:
        return ExpresionDisparo::Igual;
    case ExpresionDisparo::Mayor:
        return ExpresionDisparo::MenorIgual;
    case ExpresionDisparo::Menor:
        return ExpresionDisparo::MayorIgual;
    case ExpresionDisparo::MayorIgual:
        return ExpresionDisparo::Menor;
    case ExpresionDisparo::MenorIgual:
        return ExpresionDisparo::Mayor;
    }
    return c;
}

Restriccion intervalo(qint64 minimo, qint64 maximo)
{
    return {Restriccion::Intervalo, minimo, maximo};
}

// What "variable c n" asks of an int variable. A value with a fraction is
// never equal to it, always unequal, and the order comparisons round to the
// integers around it.
Restriccion restriccion(Comparador c, const Numero &n)
{
    if (n.entero) {
        const qint64 v = n.valorEntero;
        switch (c) {
        case ExpresionDisparo::Igual:
            return intervalo(v, v);
        case ExpresionDisparo::Distinto:
            return {Restriccion::Excluir, v, v};
        case ExpresionDisparo::Mayor:
            return intervalo(v + 1, kMaximo);
        case ExpresionDisparo::MayorIgual:
            return intervalo(v, kMaximo);
        case ExpresionDisparo::Menor:
            return intervalo(kMinimo, v - 1);
        case ExpresionDisparo::MenorIgual:
            return intervalo(kMinimo, v);
        }
    }
    const qint64 abajo = qint64(std::floor(n.valorReal));
    switch (c) {
    case ExpresionDisparo::Igual:
        return {Restriccion::Nunca, 0, 0};
    case ExpresionDisparo::Distinto:
        return {Restriccion::Siempre, 0, 0};
    case ExpresionDisparo::Mayor:
    case ExpresionDisparo::MayorIgual:
        return intervalo(abajo + 1, kMaximo);
    case ExpresionDisparo::Menor:
    case ExpresionDisparo::MenorIgual:
        return intervalo(kMinimo, abajo);
    }
    return {};
}

// The integers one variable (or one difference of two names) may still take.
struct Rango
{
    qint64 minimo = kMinimo;
    qint64 maximo = kMaximo;
    std::vector<qint64> excluidos;

    bool aplicar(const Restriccion &r)
    {
        switch (r.tipo) {
        case Restriccion::Intervalo:
            minimo = qMax(minimo, r.minimo);
            maximo = qMin(maximo, r.maximo);
            break;
        case Restriccion::Excluir:
            excluidos.push_back(r.minimo);
            break;
        case Restriccion::Siempre:
            break;
        case Restriccion::Nunca:
            return false;
        }
        return !vacio();
    }

    bool vacio() const
    {
        if (minimo > maximo)
            return true;
        if (maximo - minimo >= qint64(excluidos.size()))
            return false;
        std::vector<qint64> dentro;
        for (qint64 v : excluidos) {
            if (v >= minimo && v <= maximo && std::find(dentro.begin(), dentro.end(), v) == dentro.end())
                dentro.push_back(v);
        }
        return maximo - minimo + 1 <= qint64(dentro.size());
    }
};

struct Meta
{
    int disparador;
    int nodo;
    bool positiva;
};

// One branch of the search: goals still to meet and what has been assumed
// (free booleans: -1 unknown, 0 false, 1 true).
struct Rama
{
    std::vector<Meta> metas;
    std::vector<Meta> alternativas;
    std::vector<signed char> libres;
    std::vector<Rango> rangos;

    bool asumir(const Hoja &hoja, bool positiva)
    {
        if (!hoja.libre)
            return rangos[hoja.id].aplicar(positiva ? hoja.siVerdadera : hoja.siFalsa);
        const signed char valor = hoja.valor == positiva ? 1 : 0;
        signed char &actual = libres[hoja.id];
        if (actual >= 0)
            return actual == valor;
        actual = valor;
        return true;
    }
};

// Reads the leaves of the triggers, numbering the free booleans and the
// variables they share.
class Lector
{
public:
    Hoja leer(const ExpresionDisparo::Nodo &nodo)
    {
        Hoja hoja;
        if (nodo.tipo == ExpresionDisparo::Evento) {
            hoja.id = numero(m_libres, QStringLiteral("e ") + nodo.nombre);
            return hoja;
        }
        Numero n = leerNumero(nodo.valor);
        QString clave = nodo.nombre;
        if (!n.valido && esIdentificador(nodo.valor)) {
            // The difference of the two names, compared with zero.
            clave += QLatin1Char(' ') + nodo.valor;
            n = {true, true, 0, 0};
        }
        if (!n.valido) {
            // A comparison and its opposite are one free boolean.
            const bool directa = nodo.comparador == ExpresionDisparo::Igual ||
                                 nodo.comparador == ExpresionDisparo::Mayor ||
                                 nodo.comparador == ExpresionDisparo::MayorIgual;
            const Comparador base = directa ? nodo.comparador : opuesto(nodo.comparador);
            hoja.id =
                numero(m_libres, QStringLiteral("c ") + nodo.nombre + QLatin1Char(' ') +
                                     ExpresionDisparo::textoComparador(base) + QLatin1Char(' ') + nodo.valor);
            hoja.valor = directa;
            return hoja;
        }
        hoja.libre = false;
        hoja.id = numero(m_variables, clave);
        hoja.siVerdadera = restriccion(nodo.comparador, n);
        hoja.siFalsa = restriccion(opuesto(nodo.comparador), n);
        return hoja;
    }
    int libres() const { return m_libres.size(); }
    int variables() const { return m_variables.size(); }

private:
    static int numero(QHash<QString, int> &numeros, const QString &clave)
    {
        return numeros.insert(clave, numeros.value(clave, numeros.size())).value();
    }

    QHash<QString, int> m_libres;
    QHash<QString, int> m_variables;
};

} // namespace

DecisorDisparos::DecisorDisparos(const QVector<const ExpresionDisparo *> &disparadores)
    : m_disparadores(disparadores)
{
    Lector lector;
    m_hojas.resize(disparadores.size());
    for (int d = 0; d < disparadores.size(); ++d) {
        const QVector<ExpresionDisparo::Nodo> &nodos = disparadores.at(d)->nodos();
        m_hojas[d].resize(nodos.size());
        for (int n = 0; n < nodos.size(); ++n) {
            const ExpresionDisparo::Tipo tipo = nodos.at(n).tipo;
            if (tipo == ExpresionDisparo::Evento || tipo == ExpresionDisparo::Comparacion)
                m_hojas[d][n] = lector.leer(nodos.at(n));
        }
    }
    m_libres = lector.libres();
    m_variables = lector.variables();
}

bool DecisorDisparos::compatibles(int a, int b) const
{
    return buscar({a, b});
}

bool DecisorDisparos::satisfacible(int a) const
{
    return buscar({a});
}

bool DecisorDisparos::compatibles(const ExpresionDisparo &a, const ExpresionDisparo &b)
{
    return DecisorDisparos({&a, &b}).compatibles(0, 1);
}

// Depth-first over the choices that "||" (and a negated "&&") leave, with an
// explicit stack so that a deep trigger cannot exhaust the thread's stack;
// goals that need no choice are met first, so most pairs never branch.
bool DecisorDisparos::buscar(std::initializer_list<int> disparadores) const
{
    Rama inicio;
    inicio.libres.assign(m_libres, -1);
    inicio.rangos.resize(m_variables);
    for (int d : disparadores) {
        if (m_disparadores.at(d)->raiz() < 0)
            return false;
        inicio.metas.push_back({d, m_disparadores.at(d)->raiz(), true});
    }
    int presupuesto = kPresupuesto;
    std::vector<Rama> pendientes;
    pendientes.push_back(std::move(inicio));
    while (!pendientes.empty()) {
        Rama rama = std::move(pendientes.back());
        pendientes.pop_back();
        bool posible = true;
        while (posible && !rama.metas.empty()) {
            if (--presupuesto < 0)
                return true;
            const Meta meta = rama.metas.back();
            rama.metas.pop_back();
            const ExpresionDisparo::Nodo &nodo = m_disparadores.at(meta.disparador)->nodo(meta.nodo);
            switch (nodo.tipo) {
            case ExpresionDisparo::Evento:
            case ExpresionDisparo::Comparacion:
                posible = rama.asumir(m_hojas[meta.disparador][meta.nodo], meta.positiva);
                break;
            case ExpresionDisparo::Negacion:
                rama.metas.push_back({meta.disparador, nodo.izquierdo, !meta.positiva});
                break;
            case ExpresionDisparo::Y:
            case ExpresionDisparo::O:
                if ((nodo.tipo == ExpresionDisparo::Y) == meta.positiva) {
                    rama.metas.push_back({meta.disparador, nodo.izquierdo, meta.positiva});
                    rama.metas.push_back({meta.disparador, nodo.derecho, meta.positiva});
                } else {
                    rama.alternativas.push_back(meta);
                }
                break;
            }
        }
        if (!posible)
            continue;
        if (rama.alternativas.empty())
            return true;
        const Meta eleccion = rama.alternativas.back();
        rama.alternativas.pop_back();
        const ExpresionDisparo::Nodo &nodo = m_disparadores.at(eleccion.disparador)->nodo(eleccion.nodo);
        Rama otra = rama;
        otra.metas.push_back({eleccion.disparador, nodo.derecho, eleccion.positiva});
        pendientes.push_back(std::move(otra));
        rama.metas.push_back({eleccion.disparador, nodo.izquierdo, eleccion.positiva});
        pendientes.push_back(std::move(rama));
    }
    return false;
}
