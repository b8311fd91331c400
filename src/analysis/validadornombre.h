#ifndef VALIDADORNOMBRE_H
#define VALIDADORNOMBRE_H

#include <QHash>
#include <QString>

// Whether a name typed for a machine, state, event, action, variable or
// constant can stand in the generated C. The name dialogs refuse what fails
// here; code generation warns about the same faults in projects that already
// hold such names.
class ValidadorNombre
{
public:
    // ASCII letters, digits and "_", not starting with a digit.
    static bool esIdentificadorC(const QString &nombre);
    static bool esPalabraReservadaC(const QString &nombre);
    // Blanks become "_", as every machine and state name is stored.
    static QString normalizar(const QString &texto);

    // Why the (normalized) name cannot be used, in Spanish for the user, or an
    // empty text when it can: «"2do" no es un identificador C válido (...)».
    static QString problema(const QString &nombre);
    // The same for a state, which also may not repeat a state of another
    // machine (ignoring case: the C defines every state in upper case).
    // otrasMaquinas maps each upper-case state name of the other machines to
    // its machine's name.
    static QString problemaEstado(const QString &nombre, const QHash<QString, QString> &otrasMaquinas);
};

#endif // VALIDADORNOMBRE_H
