#include "savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

namespace {

bool informar(QString *error, const QString &path, const QString &motivo)
{
    if (error) {
        *error = QCoreApplication::translate("guardarArchivoSeguro", "No se pudo guardar el archivo %1: %2")
                     .arg(QDir::toNativeSeparators(path), motivo);
    }
    return false;
}

} // namespace

// QSaveFile alone is not enough: fed through a text stream it has been seen to
// commit a truncated file when the disk fills up. So the content arrives
// complete, every byte written is counted, and only a clean flush commits;
// otherwise the temporary file is discarded and the old file stays as it was.
bool guardarArchivoSeguro(const QString &path, const QByteArray &contenido, QString *error)
{
    QSaveFile archivo(path);
    if (!archivo.open(QIODevice::WriteOnly))
        return informar(error, path, archivo.errorString());
    const bool completo = archivo.write(contenido) == contenido.size() && archivo.flush() &&
                          archivo.error() == QFileDevice::NoError;
    if (!completo) {
        const QString motivo = archivo.errorString();
        archivo.cancelWriting();
        return informar(error, path, motivo);
    }
    if (!archivo.commit())
        return informar(error, path, archivo.errorString());
    return true;
}
