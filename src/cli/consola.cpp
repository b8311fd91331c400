#include "consola.h"

namespace Consola {

QTextStream &salida()
{
    static QTextStream stream(stdout);
    stream.setCodec("UTF-8");
    return stream;
}

QTextStream &errores()
{
    static QTextStream stream(stderr);
    stream.setCodec("UTF-8");
    return stream;
}

int usoIncorrecto(const QString &mensaje, const char *ayuda)
{
    errores() << "Error: " << mensaje << "\n\n" << QString::fromUtf8(ayuda);
    errores().flush();
    return 2;
}

int fallo(const QString &mensaje)
{
    errores() << "Error: " << mensaje << '\n';
    errores().flush();
    return 1;
}

} // namespace Consola
