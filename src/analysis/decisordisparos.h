#ifndef DECISORDISPAROS_H
#define DECISORDISPAROS_H

#include <QVector>
#include <initializer_list>
#include <vector>

class ExpresionDisparo;

// Decides whether triggers can be true in the same step of the generated C.
// Events are free booleans. A comparison of a variable with a number is
// decided exactly over the integers the C variables hold (so "x > 3" and
// "x < 4" can never both hold); TRUE and FALSE count as the 1 and 0 the
// generated header defines. A comparison with any other name ("x == y",
// "x > LIMITE") is decided exactly on the difference of the two, and one
// with a value that is neither ("x == 2*y") is a free boolean of its own.
// Freedom only ever makes "can be true together" more likely, so the answer
// errs on the side of reporting. Triggers that do not read (or the reset
// "-") are never true.
//
// The triggers given are read once, so that all pairs of one state's
// transitions are decided without reading them again. They must outlive the
// decisor.
class DecisorDisparos
{
public:
    explicit DecisorDisparos(const QVector<const ExpresionDisparo *> &disparadores);

    // Whether triggers a and b (indices into the list given) can both hold.
    bool compatibles(int a, int b) const;
    bool satisfacible(int a) const;

    static bool compatibles(const ExpresionDisparo &a, const ExpresionDisparo &b);

    // A leaf read once: an event, a free comparison or a constraint on the
    // integers of one variable (or difference), for each of its two truths.
    struct Restriccion
    {
        enum Tipo { Intervalo, Excluir, Siempre, Nunca };
        Tipo tipo = Siempre;
        qint64 minimo = 0;
        qint64 maximo = 0;
    };
    struct Hoja
    {
        bool libre = true;
        // Index of the free boolean, or of the variable (or difference).
        int id = -1;
        // For a free boolean: the value it takes when the leaf holds.
        bool valor = true;
        Restriccion siVerdadera;
        Restriccion siFalsa;
    };

private:
    bool buscar(std::initializer_list<int> disparadores) const;

    QVector<const ExpresionDisparo *> m_disparadores;
    // Per trigger, per node: the leaf read from it (only leaves are filled).
    std::vector<std::vector<Hoja>> m_hojas;
    int m_libres = 0;
    int m_variables = 0;
};

#endif // DECISORDISPAROS_H
