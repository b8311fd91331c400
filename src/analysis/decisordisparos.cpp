#include "decisordisparos.h"

#include "expresiondisparo.h"

#include <QHash>
#include <QVector>
#include <cmath>
#include <vector>

namespace {

using Comparador = ExpresionDisparo::Comparador;

// Wide enough for any C int, narrow enough that sums never overflow.
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
    return numero;
}

bool esIdentificador(const QString &texto)
{
    if (texto.isEmpty() || esDigito(texto.at(0)))
        return false;
    for (const QChar c : texto) {
        if (!esDigito(c) && c != QLatin1Char('_') && !(c.toLatin1() >= 'A' && c.toLatin1() <= 'Z') &&
            !(c.toLatin1() >= 'a' && c.toLatin1() <= 'z'))
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

// The integers one variable (or one difference of two names) may still take.
struct Rango
{
    qint64 minimo = kMinimo;
    qint64 maximo = kMaximo;
    QVector<qint64> excluidos;

    void restringir(Comparador c, const Numero &n)
    {
        if (!n.entero) {
            restringirReal(c, n.valorReal);
            return;
        }
        const qint64 v = n.valorEntero;
        switch (c) {
        case ExpresionDisparo::Igual:
            minimo = qMax(minimo, v);
            maximo = qMin(maximo, v);
            break;
        case ExpresionDisparo::Distinto:
            if (!excluidos.contains(v))
                excluidos.append(v);
            break;
        case ExpresionDisparo::Mayor:
            minimo = qMax(minimo, v + 1);
            break;
        case ExpresionDisparo::MayorIgual:
            minimo = qMax(minimo, v);
            break;
        case ExpresionDisparo::Menor:
            maximo = qMin(maximo, v - 1);
            break;
        case ExpresionDisparo::MenorIgual:
            maximo = qMin(maximo, v);
            break;
        }
    }

    // An int compared with a value that has a fraction: equal never, unequal
    // always, and the order comparisons round to the integers around it.
    void restringirReal(Comparador c, double v)
    {
        const double abajo = std::floor(v);
        const double arriba = std::ceil(v);
        const bool entero = abajo == arriba;
        switch (c) {
        case ExpresionDisparo::Igual:
            if (entero) {
                restringir(c, {true, true, qint64(v), v});
                return;
            }
            maximo = minimo - 1;
            break;
        case ExpresionDisparo::Distinto:
            if (entero)
                restringir(c, {true, true, qint64(v), v});
            break;
        case ExpresionDisparo::Mayor:
            minimo = qMax(minimo, qint64(abajo) + 1);
            break;
        case ExpresionDisparo::MayorIgual:
            minimo = qMax(minimo, qint64(arriba));
            break;
        case ExpresionDisparo::Menor:
            maximo = qMin(maximo, qint64(arriba) - 1);
            break;
        case ExpresionDisparo::MenorIgual:
            maximo = qMin(maximo, qint64(abajo));
            break;
        }
    }

    bool vacio() const
    {
        if (minimo > maximo)
            return true;
        int dentro = 0;
        for (qint64 v : excluidos)
            dentro += v >= minimo && v <= maximo ? 1 : 0;
        return maximo - minimo + 1 <= dentro;
    }
};

struct Meta
{
    const ExpresionDisparo *expresion;
    int nodo;
    bool positiva;
};

// One branch of the search: goals still to meet and what has been assumed.
struct Rama
{
    std::vector<Meta> metas;
    std::vector<Meta> alternativas;
    QHash<QString, bool> libres;
    QHash<QString, Rango> rangos;

    bool asumirLibre(const QString &clave, bool valor)
    {
        const auto it = libres.constFind(clave);
        if (it != libres.constEnd())
            return it.value() == valor;
        libres.insert(clave, valor);
        return true;
    }

    // False when the leaf cannot hold together with what is assumed.
    bool asumir(const ExpresionDisparo::Nodo &hoja, bool positiva)
    {
        if (hoja.tipo == ExpresionDisparo::Evento)
            return asumirLibre(QStringLiteral("e ") + hoja.nombre, positiva);
        const Comparador c = positiva ? hoja.comparador : opuesto(hoja.comparador);
        Numero numero = leerNumero(hoja.valor);
        QString clave = hoja.nombre;
        if (!numero.valido && esIdentificador(hoja.valor)) {
            // The difference of the two names compared with zero.
            clave += QLatin1Char(' ') + hoja.valor;
            numero = {true, true, 0, 0};
        }
        if (!numero.valido) {
            // A comparison and its opposite are one free boolean.
            const bool directa = hoja.comparador == ExpresionDisparo::Igual ||
                                 hoja.comparador == ExpresionDisparo::Mayor ||
                                 hoja.comparador == ExpresionDisparo::MayorIgual;
            const Comparador base = directa ? hoja.comparador : opuesto(hoja.comparador);
            return asumirLibre(QStringLiteral("c %1 %2 %3")
                                   .arg(hoja.nombre, ExpresionDisparo::textoComparador(base), hoja.valor),
                               directa == positiva);
        }
        Rango &rango = rangos[clave];
        rango.restringir(c, numero);
        return !rango.vacio();
    }
};

// Expands the goals of a branch that need no choice; false when the branch
// turns out impossible.
bool expandir(Rama &rama, int &presupuesto)
{
    while (!rama.metas.empty()) {
        if (--presupuesto < 0)
            return true;
        const Meta meta = rama.metas.back();
        rama.metas.pop_back();
        const ExpresionDisparo::Nodo &nodo = meta.expresion->nodo(meta.nodo);
        switch (nodo.tipo) {
        case ExpresionDisparo::Evento:
        case ExpresionDisparo::Comparacion:
            if (!rama.asumir(nodo, meta.positiva))
                return false;
            break;
        case ExpresionDisparo::Negacion:
            rama.metas.push_back({meta.expresion, nodo.izquierdo, !meta.positiva});
            break;
        case ExpresionDisparo::Y:
        case ExpresionDisparo::O:
            if ((nodo.tipo == ExpresionDisparo::Y) == meta.positiva) {
                rama.metas.push_back({meta.expresion, nodo.izquierdo, meta.positiva});
                rama.metas.push_back({meta.expresion, nodo.derecho, meta.positiva});
            } else {
                rama.alternativas.push_back(meta);
            }
            break;
        }
    }
    return true;
}

// Depth-first over the choices, with an explicit stack so that a deep
// trigger cannot exhaust the thread's stack.
bool buscar(Rama inicio)
{
    int presupuesto = kPresupuesto;
    std::vector<Rama> pendientes;
    pendientes.push_back(std::move(inicio));
    while (!pendientes.empty()) {
        Rama rama = std::move(pendientes.back());
        pendientes.pop_back();
        if (!expandir(rama, presupuesto))
            continue;
        if (presupuesto < 0 || rama.alternativas.empty())
            return true;
        const Meta eleccion = rama.alternativas.back();
        rama.alternativas.pop_back();
        const ExpresionDisparo::Nodo &nodo = eleccion.expresion->nodo(eleccion.nodo);
        Rama otra = rama;
        otra.metas.push_back({eleccion.expresion, nodo.derecho, eleccion.positiva});
        pendientes.push_back(std::move(otra));
        rama.metas.push_back({eleccion.expresion, nodo.izquierdo, eleccion.positiva});
        pendientes.push_back(std::move(rama));
    }
    return false;
}

} // namespace

namespace DecisorDisparos {

bool compatibles(const ExpresionDisparo &a, const ExpresionDisparo &b)
{
    if (a.raiz() < 0 || b.raiz() < 0)
        return false;
    Rama rama;
    rama.metas.push_back({&a, a.raiz(), true});
    rama.metas.push_back({&b, b.raiz(), true});
    return buscar(std::move(rama));
}

bool satisfacible(const ExpresionDisparo &expresion)
{
    if (expresion.raiz() < 0)
        return false;
    Rama rama;
    rama.metas.push_back({&expresion, expresion.raiz(), true});
    return buscar(std::move(rama));
}

} // namespace DecisorDisparos
