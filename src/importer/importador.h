#ifndef IMPORTADOR_H
#define IMPORTADOR_H

#include "catalogo.h"

#include <QStringList>

class XmlHandler;

// What "Importar recursos" takes from a C header or from another project and
// which of it the open project still lacks. Works on names only; the main
// window reads and fills the documents.
class Importador
{
public:
    // The constants and actions a C header declares, each once, in file
    // order. An object-like "#define NAME ..." gives the constant NAME; a line
    // holding ";" gives an action from the identifier before its first "(" (a
    // prototype such as "int leer(int canal);" gives leer(), and a macro
    // whose body holds ";" gives the macro's name). Comments are ignored, and
    // runs of blanks and tabs separate words.
    static Catalogo leerCabecera(const QString &texto);

    // The entries of importado missing from actual, in importado's order,
    // without empty names and each at most once. Actions are compared and
    // returned in their stored form (see formaAccion); comparison is exact.
    static Catalogo faltantes(const Catalogo &importado, const Catalogo &actual);

    // An action name as the catalogue stores it: with "()" appended unless it
    // already holds a "(".
    static QString formaAccion(const QString &nombre);
    // The four catalogues of a project document.
    static Catalogo catalogoDe(const XmlHandler &datos);
    // Appends the entries to the document's catalogues: constants first, then
    // actions, events and variables, each in the given order. Returns how
    // many entries were added.
    static int agregar(XmlHandler &datos, const Catalogo &nuevos);
};

#endif // IMPORTADOR_H
