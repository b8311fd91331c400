#include "savefile.h"

// Placeholder until the model work lands.
bool guardarArchivoSeguro(const QString &, const QByteArray &, QString *)
{
    return false;
}
