#include "savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

QString tr(const char *texto)
{
    return QCoreApplication::translate("guardarArchivoSeguro", texto);
}

// The closest folder of path that exists; empty when none does.
QFileInfo primerExistente(const QString &path)
{
    QFileInfo info(QFileInfo(path).absolutePath());
    while (!info.exists() && !info.isRoot()) {
        const QString padre = info.absolutePath();
        if (padre == info.absoluteFilePath())
            break;
        info = QFileInfo(padre);
    }
    return info;
}

// Qt does not always keep the system's reason (a failed write reads
// "Unknown error"), so the error number is looked at as well.
bool esError(const QString &texto, int numero, std::initializer_list<int> codigos)
{
    for (const int codigo : codigos) {
        if (numero == codigo || texto.contains(qt_error_string(codigo)))
            return true;
    }
    return false;
}

// The system's own text is English and often no more than "Unknown error";
// the user is told instead what is wrong, in Spanish.
QString motivoEnEspanol(const QString &path, const QString &delSistema, int numero)
{
    const QString carpeta = QFileInfo(path).absolutePath();
    const QFileInfo existente = primerExistente(path);
    if (existente.exists() && !existente.isDir())
        return tr("%1 es un archivo, no una carpeta").arg(QDir::toNativeSeparators(existente.filePath()));
    if (!QFileInfo::exists(carpeta))
        return tr("la carpeta %1 no existe").arg(QDir::toNativeSeparators(carpeta));
    if (esError(delSistema, numero, {ENOSPC, EFBIG, EDQUOT}))
        return tr("no queda espacio en el disco");
    if (esError(delSistema, numero, {EACCES, EPERM, EROFS}) || !QFileInfo(carpeta).isWritable())
        return tr("no tiene permiso para escribir en la carpeta %1").arg(QDir::toNativeSeparators(carpeta));
    if (QFileInfo(path).isDir())
        return tr("ya existe una carpeta con ese nombre");
    return tr("error del sistema (%1)").arg(delSistema);
}

bool informar(QString *error, const QString &path, const QString &delSistema, int numero)
{
    if (error) {
        *error = tr("No se pudo guardar el archivo %1: %2")
                     .arg(QDir::toNativeSeparators(path), motivoEnEspanol(path, delSistema, numero));
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
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly))
        return informar(error, path, archivo.errorString(), errno);
    const bool completo = archivo.write(contenido) == contenido.size() && archivo.flush() &&
                          archivo.error() == QFileDevice::NoError;
    if (!completo) {
        const int numero = errno;
        const QString motivo = archivo.errorString();
        archivo.cancelWriting();
        return informar(error, path, motivo, numero);
    }
    if (!archivo.commit())
        return informar(error, path, archivo.errorString(), errno);
    return true;
}
