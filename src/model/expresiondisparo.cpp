#include "expresiondisparo.h"

#include <QSet>
#include <QVarLengthArray>

namespace {

bool esInicioNombre(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool esCaracterNombre(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// A value runs up to a blank, a parenthesis or the next operator.
bool esCaracterValor(QChar c)
{
    static const QString fuera = QStringLiteral("()&|!<>=");
    return !c.isSpace() && !fuera.contains(c);
}

// Reads one trigger text by recursive descent; the first failure stops it.
class Lector
{
public:
    explicit Lector(const QString &texto) : m_texto(texto) { nodos.reserve(4); }

    bool leer()
    {
        const int raiz = leerO();
        if (raiz < 0)
            return false;
        saltarBlancos();
        if (m_pos < m_texto.size()) {
            if (m_texto.at(m_pos) == QLatin1Char(')'))
                fallar(QStringLiteral("Sobra un paréntesis de cierre"));
            else
                fallar(QStringLiteral("Texto inesperado «%1»").arg(restoVisible()));
            return false;
        }
        return true;
    }

    QVector<ExpresionDisparo::Nodo> nodos;
    QString error;
    int posicionError = -1;

private:
    int leerO()
    {
        int izquierdo = leerY();
        while (izquierdo >= 0 && conector(QLatin1Char('|')))
            izquierdo = binario(ExpresionDisparo::O, izquierdo, leerY());
        return izquierdo;
    }

    int leerY()
    {
        int izquierdo = leerUnario();
        while (izquierdo >= 0 && conector(QLatin1Char('&')))
            izquierdo = binario(ExpresionDisparo::Y, izquierdo, leerUnario());
        return izquierdo;
    }

    int leerUnario()
    {
        saltarBlancos();
        if (!caracterEs(m_pos, QLatin1Char('!')) || caracterEs(m_pos + 1, QLatin1Char('=')))
            return leerPrimario();
        const int inicio = m_pos++;
        const int operando = leerUnario();
        if (operando < 0)
            return -1;
        ExpresionDisparo::Nodo nodo;
        nodo.tipo = ExpresionDisparo::Negacion;
        nodo.izquierdo = operando;
        nodo.inicio = inicio;
        nodo.fin = nodos.at(operando).fin;
        return agregar(nodo, profundidad(operando) + 1);
    }

    int leerPrimario()
    {
        saltarBlancos();
        if (m_pos >= m_texto.size())
            return fallar(QStringLiteral("Falta un evento o una comparación al final"));
        if (caracterEs(m_pos, QLatin1Char('(')))
            return leerGrupo();
        if (!esInicioNombre(m_texto.at(m_pos)))
            return fallar(
                QStringLiteral("Se esperaba un evento o una comparación y hay «%1»").arg(restoVisible()));
        return leerOperando();
    }

    int leerGrupo()
    {
        if (++m_anidamiento > ExpresionDisparo::profundidadMaxima())
            return fallar(QStringLiteral("Demasiados paréntesis anidados"));
        const int apertura = m_pos++;
        const int interior = leerO();
        if (interior < 0)
            return -1;
        --m_anidamiento;
        saltarBlancos();
        if (!caracterEs(m_pos, QLatin1Char(')'))) {
            m_pos = apertura;
            return fallar(QStringLiteral("Falta cerrar el paréntesis"));
        }
        ++m_pos;
        return interior;
    }

    // An event name, or a variable compared with a value.
    int leerOperando()
    {
        ExpresionDisparo::Nodo nodo;
        nodo.inicio = m_pos;
        nodo.nombre = leerMientras(esCaracterNombre);
        nodo.fin = m_pos;
        const int despuesDelNombre = m_pos;
        saltarBlancos();
        const int largo = leerComparador(&nodo.comparador);
        if (largo == 0) {
            if (caracterEs(m_pos, QLatin1Char('=')))
                return fallar(QStringLiteral("«=» no compara; la igualdad se escribe «==»"));
            m_pos = despuesDelNombre;
            return agregar(nodo, 1);
        }
        m_pos += largo;
        saltarBlancos();
        nodo.valor = leerMientras(esCaracterValor);
        if (nodo.valor.isEmpty())
            return fallar(QStringLiteral("Falta el valor de la comparación"));
        nodo.tipo = ExpresionDisparo::Comparacion;
        nodo.fin = m_pos;
        return agregar(nodo, 1);
    }

    // The length of the comparison operator at the current position, 0 if none.
    int leerComparador(ExpresionDisparo::Comparador *comparador) const
    {
        const QChar c = m_pos < m_texto.size() ? m_texto.at(m_pos) : QChar();
        const bool igualDespues = caracterEs(m_pos + 1, QLatin1Char('='));
        if (c == QLatin1Char('=') && igualDespues)
            *comparador = ExpresionDisparo::Igual;
        else if (c == QLatin1Char('!') && igualDespues)
            *comparador = ExpresionDisparo::Distinto;
        else if (c == QLatin1Char('>'))
            *comparador = igualDespues ? ExpresionDisparo::MayorIgual : ExpresionDisparo::Mayor;
        else if (c == QLatin1Char('<'))
            *comparador = igualDespues ? ExpresionDisparo::MenorIgual : ExpresionDisparo::Menor;
        else
            return 0;
        return c == QLatin1Char('>') || c == QLatin1Char('<') ? (igualDespues ? 2 : 1) : 2;
    }

    // True after consuming "&&" (or "||") at the current position.
    bool conector(QChar marca)
    {
        saltarBlancos();
        if (!caracterEs(m_pos, marca) || !caracterEs(m_pos + 1, marca))
            return false;
        m_pos += 2;
        return true;
    }

    int binario(ExpresionDisparo::Tipo tipo, int izquierdo, int derecho)
    {
        if (derecho < 0)
            return -1;
        ExpresionDisparo::Nodo nodo;
        nodo.tipo = tipo;
        nodo.izquierdo = izquierdo;
        nodo.derecho = derecho;
        nodo.inicio = nodos.at(izquierdo).inicio;
        nodo.fin = nodos.at(derecho).fin;
        return agregar(nodo, qMax(profundidad(izquierdo), profundidad(derecho)) + 1);
    }

    int agregar(const ExpresionDisparo::Nodo &nodo, int profundidadNodo)
    {
        if (profundidadNodo > ExpresionDisparo::profundidadMaxima())
            return fallar(QStringLiteral("La expresión es demasiado larga"));
        nodos.append(nodo);
        m_profundidad.append(profundidadNodo);
        return nodos.size() - 1;
    }

    int profundidad(int indice) const { return m_profundidad.at(indice); }

    // Records why reading stopped at the current position; returns the
    // "no node" index for the caller to pass on.
    int fallar(const QString &motivo)
    {
        if (error.isEmpty()) {
            error = motivo + QStringLiteral(" (carácter %1).").arg(m_pos + 1);
            posicionError = m_pos;
        }
        return -1;
    }

    QString leerMientras(bool (*admite)(QChar))
    {
        const int inicio = m_pos;
        while (m_pos < m_texto.size() && admite(m_texto.at(m_pos)))
            ++m_pos;
        return m_texto.mid(inicio, m_pos - inicio);
    }

    void saltarBlancos()
    {
        while (m_pos < m_texto.size() && m_texto.at(m_pos).isSpace())
            ++m_pos;
    }

    bool caracterEs(int pos, QChar c) const { return pos < m_texto.size() && m_texto.at(pos) == c; }

    QString restoVisible() const
    {
        const int largo = 12;
        const QString resto = m_texto.mid(m_pos, largo);
        return m_texto.size() - m_pos > largo ? resto + QStringLiteral("…") : resto;
    }

    const QString &m_texto;
    int m_pos = 0;
    int m_anidamiento = 0;
    QVarLengthArray<int, 16> m_profundidad;
};

QStringList nombresDe(const QVector<ExpresionDisparo::Nodo> &nodos, ExpresionDisparo::Tipo tipo)
{
    QStringList nombres;
    QSet<QString> vistos;
    for (const ExpresionDisparo::Nodo &nodo : nodos) {
        if (nodo.tipo != tipo || vistos.contains(nodo.nombre))
            continue;
        vistos.insert(nodo.nombre);
        nombres.append(nodo.nombre);
    }
    return nombres;
}

} // namespace

ExpresionDisparo::ExpresionDisparo()
    : m_error(QStringLiteral("El disparador está vacío.")), m_posicionError(0)
{}

ExpresionDisparo ExpresionDisparo::analizar(const QString &texto)
{
    ExpresionDisparo expresion;
    expresion.m_texto = texto;
    if (texto == QLatin1String("-")) {
        expresion.m_reset = true;
        expresion.m_error.clear();
        expresion.m_posicionError = -1;
        return expresion;
    }
    if (texto.trimmed().isEmpty())
        return expresion;
    Lector lector(texto);
    if (lector.leer()) {
        expresion.m_nodos = lector.nodos;
        expresion.m_error.clear();
        expresion.m_posicionError = -1;
    } else {
        expresion.m_error = lector.error;
        expresion.m_posicionError = lector.posicionError;
    }
    return expresion;
}

QString ExpresionDisparo::textoComparador(Comparador comparador)
{
    switch (comparador) {
    case Igual:
        return QStringLiteral("==");
    case Distinto:
        return QStringLiteral("!=");
    case Mayor:
        return QStringLiteral(">");
    case Menor:
        return QStringLiteral("<");
    case MayorIgual:
        return QStringLiteral(">=");
    case MenorIgual:
        return QStringLiteral("<=");
    }
    return QString();
}

QStringList ExpresionDisparo::eventos() const
{
    return nombresDe(m_nodos, Evento);
}

QStringList ExpresionDisparo::variables() const
{
    return nombresDe(m_nodos, Comparacion);
}
