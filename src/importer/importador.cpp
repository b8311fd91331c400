#include "importador.h"

#include "proyecto.h"
#include "xmlhandler.h"

#include <QSet>
#include <QStringView>

namespace {

bool esCaracterIdentificador(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

bool esIdentificador(const QString &texto)
{
    if (texto.isEmpty() || texto.at(0).isDigit())
        return false;
    for (const QChar c : texto) {
        if (!esCaracterIdentificador(c))
            return false;
    }
    return true;
}

// Words of C that a prototype puts before its name, never a function's name.
bool esPalabraReservada(const QString &palabra)
{
    static const QSet<QString> reservadas = {
        QStringLiteral("auto"),     QStringLiteral("bool"),     QStringLiteral("char"),
        QStringLiteral("const"),    QStringLiteral("double"),   QStringLiteral("enum"),
        QStringLiteral("extern"),   QStringLiteral("float"),    QStringLiteral("if"),
        QStringLiteral("inline"),   QStringLiteral("int"),      QStringLiteral("long"),
        QStringLiteral("register"), QStringLiteral("return"),   QStringLiteral("short"),
        QStringLiteral("signed"),   QStringLiteral("sizeof"),   QStringLiteral("static"),
        QStringLiteral("struct"),   QStringLiteral("switch"),   QStringLiteral("typedef"),
        QStringLiteral("union"),    QStringLiteral("unsigned"), QStringLiteral("void"),
        QStringLiteral("volatile"), QStringLiteral("while"),    QStringLiteral("_Bool"),
    };
    return reservadas.contains(palabra);
}

// The text with its comments blanked out, line breaks kept. Quotes are
// followed so that "//" inside a string is not taken for a comment.
QString sinComentarios(const QString &texto)
{
    QString resultado;
    resultado.reserve(texto.size());
    enum { Codigo, Linea, Bloque, Cadena, Caracter } estado = Codigo;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        const QChar siguiente = i + 1 < texto.size() ? texto.at(i + 1) : QChar();
        switch (estado) {
        case Codigo:
            if (c == QLatin1Char('/') && siguiente == QLatin1Char('/')) {
                estado = Linea;
                continue;
            }
            if (c == QLatin1Char('/') && siguiente == QLatin1Char('*')) {
                estado = Bloque;
                resultado.append(QLatin1Char(' '));
                ++i;
                continue;
            }
            if (c == QLatin1Char('"'))
                estado = Cadena;
            else if (c == QLatin1Char('\''))
                estado = Caracter;
            resultado.append(c);
            break;
        case Linea:
            if (c == QLatin1Char('\n')) {
                estado = Codigo;
                resultado.append(c);
            }
            break;
        case Bloque:
            if (c == QLatin1Char('*') && siguiente == QLatin1Char('/')) {
                estado = Codigo;
                ++i;
            } else if (c == QLatin1Char('\n')) {
                resultado.append(c);
            }
            break;
        case Cadena:
        case Caracter:
            resultado.append(c);
            if (c == QLatin1Char('\\') && i + 1 < texto.size()) {
                resultado.append(siguiente);
                ++i;
            } else if (c == (estado == Cadena ? QLatin1Char('"') : QLatin1Char('\'')) ||
                       c == QLatin1Char('\n')) {
                estado = Codigo;
            }
            break;
        }
    }
    return resultado;
}

// The lines of the text, with a line ending in "\" joined to the next as the
// preprocessor does.
QStringList lineasLogicas(const QString &texto)
{
    QStringList lineas;
    QString actual;
    const QStringList fisicas = texto.split(QLatin1Char('\n'));
    for (QString linea : fisicas) {
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
        if (linea.endsWith(QLatin1Char('\\'))) {
            linea.chop(1);
            actual += linea + QLatin1Char(' ');
            continue;
        }
        lineas.append(actual + linea);
        actual.clear();
    }
    if (!actual.isEmpty())
        lineas.append(actual);
    return lineas;
}

// The words of a text; any run of blanks and tabs separates two words.
QStringList palabras(QStringView texto)
{
    QStringList resultado;
    int inicio = -1;
    for (int i = 0; i <= texto.size(); ++i) {
        const bool blanco = i == texto.size() || texto.at(i).isSpace();
        if (blanco && inicio >= 0) {
            resultado.append(texto.mid(inicio, i - inicio).toString());
            inicio = -1;
        } else if (!blanco && inicio < 0) {
            inicio = i;
        }
    }
    return resultado;
}

struct Directiva
{
    QString nombre;
    bool conParametros = false;
    // The text after "define".
    QString cuerpo;
};

// A "#define" directive ("#", optional blanks, "define", a blank), or an
// empty name for any other line.
Directiva leerDefine(const QString &linea)
{
    static const QString define = QStringLiteral("define");
    Directiva directiva;
    const QString texto = linea.trimmed();
    if (!texto.startsWith(QLatin1Char('#')))
        return directiva;
    const QString resto = texto.mid(1).trimmed();
    if (!resto.startsWith(define) || resto.size() == define.size() || !resto.at(define.size()).isSpace())
        return directiva;
    directiva.cuerpo = resto.mid(define.size());
    const QString despues = directiva.cuerpo.trimmed();
    int fin = 0;
    while (fin < despues.size() && esCaracterIdentificador(despues.at(fin)))
        ++fin;
    directiva.nombre = despues.left(fin);
    directiva.conParametros = fin < despues.size() && despues.at(fin) == QLatin1Char('(');
    return directiva;
}

// The function a line holding ";" declares: the last word before its first
// "(", after at least one word of type, without the "*" of a pointer result.
QString leerPrototipo(const QString &linea)
{
    const int parentesis = linea.indexOf(QLatin1Char('('));
    if (parentesis < 0)
        return QString();
    const QStringList antes = palabras(QStringView(linea).left(parentesis));
    if (antes.size() < 2)
        return QString();
    QString nombre = antes.last();
    while (nombre.startsWith(QLatin1Char('*')) || nombre.startsWith(QLatin1Char('&')))
        nombre.remove(0, 1);
    return esIdentificador(nombre) && !esPalabraReservada(nombre) ? nombre : QString();
}

void agregarUnaVez(QStringList &lista, const QString &nombre)
{
    if (!nombre.isEmpty() && !lista.contains(nombre))
        lista.append(nombre);
}

QStringList faltantesDe(const QStringList &importados, const QStringList &actuales)
{
    const QSet<QString> existentes(actuales.cbegin(), actuales.cend());
    QStringList resultado;
    QSet<QString> agregados;
    for (const QString &nombre : importados) {
        if (nombre.isEmpty() || existentes.contains(nombre) || agregados.contains(nombre))
            continue;
        agregados.insert(nombre);
        resultado.append(nombre);
    }
    return resultado;
}

} // namespace

Catalogo Importador::leerCabecera(const QString &texto)
{
    Catalogo catalogo;
    const QStringList lineas = lineasLogicas(sinComentarios(texto));
    for (const QString &linea : lineas) {
        const Directiva directiva = leerDefine(linea);
        if (!directiva.nombre.isEmpty() && !directiva.conParametros)
            agregarUnaVez(catalogo.constantes, directiva.nombre);
        if (!linea.contains(QLatin1Char(';')))
            continue;
        // A macro whose body holds ";" is called like a function.
        if (!directiva.nombre.isEmpty()) {
            if (directiva.cuerpo.contains(QLatin1Char('(')))
                agregarUnaVez(catalogo.acciones, formaAccion(directiva.nombre));
            continue;
        }
        const QString prototipo = leerPrototipo(linea);
        if (!prototipo.isEmpty())
            agregarUnaVez(catalogo.acciones, formaAccion(prototipo));
    }
    return catalogo;
}

Catalogo Importador::faltantes(const Catalogo &importado, const Catalogo &actual)
{
    QStringList acciones;
    for (const QString &accion : importado.acciones) {
        if (!accion.isEmpty())
            acciones.append(formaAccion(accion));
    }
    Catalogo resultado;
    resultado.eventos = faltantesDe(importado.eventos, actual.eventos);
    resultado.acciones = faltantesDe(acciones, actual.acciones);
    resultado.variables = faltantesDe(importado.variables, actual.variables);
    resultado.constantes = faltantesDe(importado.constantes, actual.constantes);
    return resultado;
}

QString Importador::formaAccion(const QString &nombre)
{
    return nombre.contains(QLatin1Char('(')) ? nombre : nombre + QStringLiteral("()");
}

Catalogo Importador::catalogoDe(const XmlHandler &datos)
{
    return Proyecto::desdeDocumento(datos).catalogo();
}

int Importador::agregar(XmlHandler &datos, const Catalogo &nuevos)
{
    for (const QString &nombre : nuevos.constantes)
        datos.addNuevaConstante(nombre);
    for (const QString &nombre : nuevos.acciones)
        datos.addNuevaAccion(nombre);
    for (const QString &nombre : nuevos.eventos)
        datos.addNuevoEvento(nombre);
    for (const QString &nombre : nuevos.variables)
        datos.addNuevaVariable(nombre);
    return nuevos.cantidad();
}
