#include "validadornombre.h"

#include <QSet>

namespace {

bool esCaracterIdentificador(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

} // namespace

bool ValidadorNombre::esIdentificadorC(const QString &nombre)
{
    if (nombre.isEmpty() || nombre.at(0).isDigit())
        return false;
    for (const QChar c : nombre) {
        if (!esCaracterIdentificador(c))
            return false;
    }
    return true;
}

// C11's keywords: a generated file must compile with any of the compilers a
// course may use.
bool ValidadorNombre::esPalabraReservadaC(const QString &nombre)
{
    static const QSet<QString> reservadas = {
        QStringLiteral("auto"),           QStringLiteral("break"),
        QStringLiteral("case"),           QStringLiteral("char"),
        QStringLiteral("const"),          QStringLiteral("continue"),
        QStringLiteral("default"),        QStringLiteral("do"),
        QStringLiteral("double"),         QStringLiteral("else"),
        QStringLiteral("enum"),           QStringLiteral("extern"),
        QStringLiteral("float"),          QStringLiteral("for"),
        QStringLiteral("goto"),           QStringLiteral("if"),
        QStringLiteral("inline"),         QStringLiteral("int"),
        QStringLiteral("long"),           QStringLiteral("register"),
        QStringLiteral("restrict"),       QStringLiteral("return"),
        QStringLiteral("short"),          QStringLiteral("signed"),
        QStringLiteral("sizeof"),         QStringLiteral("static"),
        QStringLiteral("struct"),         QStringLiteral("switch"),
        QStringLiteral("typedef"),        QStringLiteral("union"),
        QStringLiteral("unsigned"),       QStringLiteral("void"),
        QStringLiteral("volatile"),       QStringLiteral("while"),
        QStringLiteral("_Alignas"),       QStringLiteral("_Alignof"),
        QStringLiteral("_Atomic"),        QStringLiteral("_Bool"),
        QStringLiteral("_Complex"),       QStringLiteral("_Generic"),
        QStringLiteral("_Imaginary"),     QStringLiteral("_Noreturn"),
        QStringLiteral("_Static_assert"), QStringLiteral("_Thread_local")};
    return reservadas.contains(nombre);
}

QString ValidadorNombre::normalizar(const QString &texto)
{
    return QString(texto).replace(QLatin1Char(' '), QLatin1Char('_'));
}

QString ValidadorNombre::problema(const QString &nombre)
{
    if (!esIdentificadorC(nombre)) {
        return QStringLiteral("\"%1\" no es un identificador C válido (solo letras sin acento, dígitos y _, "
                              "sin empezar por un dígito)")
            .arg(nombre);
    }
    if (esPalabraReservadaC(nombre))
        return QStringLiteral("\"%1\" es una palabra reservada de C").arg(nombre);
    return QString();
}

QString ValidadorNombre::problemaEstado(const QString &nombre, const QHash<QString, QString> &otrasMaquinas)
{
    const QString general = problema(nombre);
    if (!general.isEmpty())
        return general;
    const auto otra = otrasMaquinas.constFind(nombre.toUpper());
    if (otra == otrasMaquinas.constEnd())
        return QString();
    return QStringLiteral("\"%1\" ya es un estado de la máquina \"%2\"").arg(nombre, otra.value());
}
