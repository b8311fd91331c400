#ifndef EXPRESIONDISPARO_H
#define EXPRESIONDISPARO_H

#include <QString>
#include <QStringList>
#include <QVector>

// A transition's trigger as written ("idEvento") and read once into a tree:
// event names, comparisons of a variable with a value ("temp >= 30", with
// ==, !=, >, <, >=, <=), "!", parentheses, "&&" and "||". "&&" binds tighter
// than "||", both group from the left, and "!" applies to the operand that
// follows it, so "!temp > 30" reads as not (temp > 30), the way the editor
// builds it. The reset transition's trigger is "-". A text that does not
// read keeps its text, has no tree and says why. Trees are at most
// profundidadMaxima() deep, so walking one recursively is always safe.
class ExpresionDisparo
{
public:
    enum Tipo { Evento, Comparacion, Negacion, Y, O };
    enum Comparador { Igual, Distinto, Mayor, Menor, MayorIgual, MenorIgual };

    struct Nodo
    {
        Tipo tipo = Evento;
        // The event's name, or the compared variable's.
        QString nombre;
        Comparador comparador = Igual;
        // The value of a comparison as written (a number, a constant, a variable...).
        QString valor;
        // The operand of a Negacion, or the two sides of Y and O: indices into nodos().
        int izquierdo = -1;
        int derecho = -1;
        // Where the node's text lies in texto(): [inicio, fin), parentheses
        // around a whole operand left out.
        int inicio = 0;
        int fin = 0;
    };

    // An empty, invalid expression (as for an empty text).
    ExpresionDisparo();
    static ExpresionDisparo analizar(const QString &texto);
    static QString textoComparador(Comparador comparador);
    static int profundidadMaxima() { return 200; }

    const QString &texto() const { return m_texto; }
    // The reset transition's "-": valid, with no tree.
    bool esReset() const { return m_reset; }
    bool esValida() const { return m_error.isEmpty(); }
    // Why the text does not read, in Spanish for the user; empty when valid.
    const QString &error() const { return m_error; }
    // Position in texto() where reading failed, -1 when valid.
    int posicionError() const { return m_posicionError; }

    // Nodes in the order they were read: every operand before the node that
    // holds it, so the root is the last one. Empty for reset and invalid texts.
    const QVector<Nodo> &nodos() const { return m_nodos; }
    const Nodo &nodo(int indice) const { return m_nodos.at(indice); }
    // Index of the root node, -1 when there is no tree.
    int raiz() const { return m_nodos.size() - 1; }

    // Event names and compared variables, in text order, each once.
    QStringList eventos() const;
    QStringList variables() const;

    // The truth of the expression, with "&&" and "||" short-circuited as in
    // C: evento(const Nodo &) and comparacion(const Nodo &) give the truth of
    // the leaves. False when there is no tree.
    template<typename EventoVerdadero, typename ComparacionVerdadera>
    bool evaluar(EventoVerdadero evento, ComparacionVerdadera comparacion) const
    {
        return raiz() >= 0 && evaluarNodo(raiz(), evento, comparacion);
    }

private:
    template<typename EventoVerdadero, typename ComparacionVerdadera>
    bool evaluarNodo(int indice, EventoVerdadero &evento, ComparacionVerdadera &comparacion) const
    {
        const Nodo &n = m_nodos.at(indice);
        switch (n.tipo) {
        case Evento:
            return evento(n);
        case Comparacion:
            return comparacion(n);
        case Negacion:
            return !evaluarNodo(n.izquierdo, evento, comparacion);
        case Y:
            return evaluarNodo(n.izquierdo, evento, comparacion) &&
                   evaluarNodo(n.derecho, evento, comparacion);
        case O:
            return evaluarNodo(n.izquierdo, evento, comparacion) ||
                   evaluarNodo(n.derecho, evento, comparacion);
        }
        return false;
    }

    QString m_texto;
    QVector<Nodo> m_nodos;
    QString m_error;
    int m_posicionError = -1;
    bool m_reset = false;
};

#endif // EXPRESIONDISPARO_H
