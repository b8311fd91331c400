#ifndef CONSOLA_H
#define CONSOLA_H

#include <QString>
#include <QTextStream>

// vireo-cli's standard output and error, in UTF-8 whatever the locale, and
// the two ways a command gives up.
namespace Consola {

QTextStream &salida();
QTextStream &errores();
// "Error: MENSAJE", a blank line and the command's help on stderr; 2.
int usoIncorrecto(const QString &mensaje, const char *ayuda);
// "Error: MENSAJE" on stderr; 1.
int fallo(const QString &mensaje);

} // namespace Consola

#endif // CONSOLA_H
