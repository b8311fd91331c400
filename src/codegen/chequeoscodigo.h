#ifndef CHEQUEOSCODIGO_H
#define CHEQUEOSCODIGO_H

#include "estilocodigo.h"
#include "proyecto.h"

#include <QString>
#include <QStringList>

// The reasons the generated C of a project will not compile, or will not do
// what the diagram says: names that are no C identifiers or collide in C,
// transitions without trigger or target, trigger and action texts C cannot
// take as written, and what a style leaves out.
class ChequeosCodigo
{
public:
    explicit ChequeosCodigo(const Proyecto &proyecto);

    // Name of the first machine whose initial state is missing or names no
    // state; empty when every machine has one.
    QString maquinaSinEstadoInicial() const;
    // One Spanish sentence per reason; empty when the output is sound.
    QStringList problemas(EstiloCodigo estilo) const;
    // Why a trigger or an action text would give invalid C (comment markers,
    // line breaks, unbalanced parentheses, a character C does not take
    // there), as a Spanish phrase; empty when it is fine.
    static QString problemaDeTextoC(const QString &texto);

private:
    QStringList problemasDeMaquinas() const;
    QStringList problemasDeTransiciones(const Maquina &maquina, const Estado &estado) const;
    QStringList problemasDeCatalogos() const;
    // Two things of the model, or one and a name the generated code uses
    // itself, that end up as the same C identifier.
    QStringList problemasDeChoques(EstiloCodigo estilo) const;

    Proyecto m_proyecto;
};

#endif // CHEQUEOSCODIGO_H
