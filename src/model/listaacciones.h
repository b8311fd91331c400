#ifndef LISTAACCIONES_H
#define LISTAACCIONES_H

#include <QString>
#include <QStringList>
#include <QVector>

// A transition's action list as stored ("idAcciones": entries joined with
// ",") and read once into its entries: calls of declared actions
// ("encender()") and assignments of a variable ("cuenta += 1", with =, +=,
// -=, *=, /=, %=). Entries keep their text as written, for display; the list
// is cut at every "," with empty entries kept, so the empty text is one
// empty entry, as the editors hold it.
class ListaAcciones
{
public:
    enum Tipo { Vacia, Llamada, Asignacion, Invalida };
    enum Asignador { Asignar, Sumar, Restar, Multiplicar, Dividir, Modulo };

    struct Entrada
    {
        // The entry as written.
        QString texto;
        Tipo tipo = Vacia;
        // The called action without its parentheses ("encender"), or the
        // assigned variable.
        QString nombre;
        // What an assignment stores, as written.
        Asignador asignador = Asignar;
        QString valor;
        // Why an Invalida entry does not read, in Spanish; empty otherwise.
        QString error;
    };

    ListaAcciones();
    static ListaAcciones analizar(const QString &texto);
    static QString textoAsignador(Asignador asignador);

    const QString &texto() const { return m_texto; }
    const QVector<Entrada> &entradas() const { return m_entradas; }
    // The entries' texts, as a split of texto() at "," gives them.
    QStringList textos() const;
    // True when no entry is Invalida (empty entries are allowed).
    bool esValida() const { return m_invalidas == 0; }
    // True when every entry is empty.
    bool sinAcciones() const;

private:
    QString m_texto;
    QVector<Entrada> m_entradas;
    int m_invalidas = 0;
};

#endif // LISTAACCIONES_H
