#include "listaacciones.h"

namespace {

bool esNombre(QStringView texto)
{
    if (texto.isEmpty() || !(texto.at(0).isLetter() || texto.at(0) == QLatin1Char('_')))
        return false;
    for (const QChar c : texto) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

// A value holds no blank and none of the characters that build expressions.
bool esValor(QStringView texto)
{
    static const QString fuera = QStringLiteral("()&|!<>=");
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto) {
        if (c.isSpace() || fuera.contains(c))
            return false;
    }
    return true;
}

// The assignment operator that ends at the "=" found at igual; returns
// where it starts.
int leerAsignador(QStringView texto, int igual, ListaAcciones::Asignador *asignador)
{
    static const QString compuestos = QStringLiteral("+-*/%");
    const int tipo = igual > 0 ? compuestos.indexOf(texto.at(igual - 1)) : -1;
    *asignador = tipo < 0 ? ListaAcciones::Asignar : ListaAcciones::Asignador(ListaAcciones::Sumar + tipo);
    return tipo < 0 ? igual : igual - 1;
}

void leerAsignacion(ListaAcciones::Entrada &entrada, QStringView texto)
{
    const int igual = texto.indexOf(QLatin1Char('='));
    const int inicio = leerAsignador(texto, igual, &entrada.asignador);
    const QStringView variable = texto.left(inicio).trimmed();
    const QStringView valor = texto.mid(igual + 1).trimmed();
    if (!esNombre(variable)) {
        entrada.error =
            QStringLiteral("La asignación «%1» no empieza por el nombre de una variable.").arg(entrada.texto);
        return;
    }
    if (!esValor(valor)) {
        entrada.error = QStringLiteral("La asignación «%1» no tiene un valor válido.").arg(entrada.texto);
        return;
    }
    entrada.tipo = ListaAcciones::Asignacion;
    entrada.nombre = variable.toString();
    entrada.valor = valor.toString();
}

// "nombre()" or, for actions imported with their parameters, "nombre(...)".
void leerLlamada(ListaAcciones::Entrada &entrada, QStringView texto)
{
    const int apertura = texto.indexOf(QLatin1Char('('));
    const QStringView nombre = texto.left(qMax(apertura, 0)).trimmed();
    const bool cerrada = texto.endsWith(QLatin1Char(')')) &&
                         texto.indexOf(QLatin1Char('('), apertura + 1) < 0 &&
                         texto.indexOf(QLatin1Char(')')) == texto.size() - 1;
    if (apertura < 0 || !cerrada || !esNombre(nombre)) {
        entrada.error =
            QStringLiteral("«%1» no es la llamada a una acción ni una asignación.").arg(entrada.texto);
        return;
    }
    entrada.tipo = ListaAcciones::Llamada;
    entrada.nombre = nombre.toString();
}

ListaAcciones::Entrada leerEntrada(QStringView texto)
{
    ListaAcciones::Entrada entrada;
    entrada.texto = texto.toString();
    const QStringView recortado = texto.trimmed();
    if (recortado.isEmpty())
        return entrada;
    entrada.tipo = ListaAcciones::Invalida;
    if (recortado.contains(QLatin1Char('=')))
        leerAsignacion(entrada, recortado);
    else
        leerLlamada(entrada, recortado);
    return entrada;
}

} // namespace

ListaAcciones::ListaAcciones() : m_entradas(1) {}

ListaAcciones ListaAcciones::analizar(const QString &texto)
{
    ListaAcciones lista;
    lista.m_texto = texto;
    lista.m_entradas.clear();
    lista.m_entradas.reserve(texto.count(QLatin1Char(',')) + 1);
    int inicio = 0;
    for (;;) {
        const int coma = texto.indexOf(QLatin1Char(','), inicio);
        const int fin = coma < 0 ? texto.size() : coma;
        const Entrada entrada = leerEntrada(QStringView(texto).mid(inicio, fin - inicio));
        if (entrada.tipo == Invalida)
            ++lista.m_invalidas;
        lista.m_entradas.append(entrada);
        if (coma < 0)
            return lista;
        inicio = coma + 1;
    }
}

QString ListaAcciones::textoAsignador(Asignador asignador)
{
    switch (asignador) {
    case Asignar:
        return QStringLiteral("=");
    case Sumar:
        return QStringLiteral("+=");
    case Restar:
        return QStringLiteral("-=");
    case Multiplicar:
        return QStringLiteral("*=");
    case Dividir:
        return QStringLiteral("/=");
    case Modulo:
        return QStringLiteral("%=");
    }
    return QString();
}

QStringList ListaAcciones::textos() const
{
    QStringList resultado;
    resultado.reserve(m_entradas.size());
    for (const Entrada &entrada : m_entradas)
        resultado.append(entrada.texto);
    return resultado;
}

bool ListaAcciones::sinAcciones() const
{
    for (const Entrada &entrada : m_entradas) {
        if (entrada.tipo != Vacia)
            return false;
    }
    return true;
}
