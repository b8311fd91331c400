#include "archivorecuperacion.h"

#include "lectorproyecto.h"
#include "savefile.h"
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QByteArray kCabecera = QByteArrayLiteral("VIREO-RECUPERACION 1\n");
const QString kExtension = QStringLiteral(".vrec");

QString rutaBloqueo(const QString &ruta)
{
    return ruta + QStringLiteral(".lock");
}

// A lock that only a dead owner's absence can break: by default an old lock
// counts as stale after 30 s, which would hand a running session's file to
// the next start.
std::unique_ptr<QLockFile> bloqueoDe(const QString &ruta)
{
    auto bloqueo = std::make_unique<QLockFile>(rutaBloqueo(ruta));
    bloqueo->setStaleLockTime(0);
    return bloqueo;
}

// Unique per process and per session within it.
QString nombreDeSesion()
{
    static int sesiones = 0;
    return QStringLiteral("recuperacion-%1-%2-%3")
               .arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch())
               .arg(++sesiones) +
           kExtension;
}

} // namespace

QString ArchivoRecuperacion::carpetaPorDefecto()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recuperacion");
}

ArchivoRecuperacion::ArchivoRecuperacion(const QString &carpeta)
    : m_carpeta(carpeta), m_ruta(carpeta + QLatin1Char('/') + nombreDeSesion())
{}

ArchivoRecuperacion::~ArchivoRecuperacion()
{
    borrar();
}

bool ArchivoRecuperacion::escribir(const QString &original, const QByteArray &proyecto, QString *error)
{
    if (!QDir().mkpath(m_carpeta)) {
        if (error)
            *error =
                QStringLiteral("No se pudo crear la carpeta %1").arg(QDir::toNativeSeparators(m_carpeta));
        return false;
    }
    if (!m_bloqueo) {
        m_bloqueo = bloqueoDe(m_ruta);
        if (!m_bloqueo->tryLock(0)) {
            m_bloqueo.reset();
            if (error)
                *error =
                    QStringLiteral("No se pudo reservar el archivo %1").arg(QDir::toNativeSeparators(m_ruta));
            return false;
        }
    }
    return guardarArchivoSeguro(m_ruta, componer(original, proyecto), error);
}

void ArchivoRecuperacion::borrar()
{
    QFile::remove(m_ruta);
    m_bloqueo.reset();
}

bool ArchivoRecuperacion::existe() const
{
    return QFileInfo::exists(m_ruta);
}

QList<ArchivoRecuperacion::Pendiente> ArchivoRecuperacion::pendientes(const QString &carpeta)
{
    QList<Pendiente> lista;
    const QFileInfoList archivos = QDir(carpeta).entryInfoList({QLatin1Char('*') + kExtension}, QDir::Files,
                                                               QDir::Time | QDir::Reversed);
    for (const QFileInfo &archivo : archivos) {
        const std::unique_ptr<QLockFile> bloqueo = bloqueoDe(archivo.filePath());
        if (!bloqueo->tryLock(0))
            continue;
        bloqueo->unlock();
        lista << leer(archivo.filePath());
    }
    return lista;
}

void ArchivoRecuperacion::descartar(const Pendiente &pendiente)
{
    QFile::remove(pendiente.ruta);
    QFile::remove(rutaBloqueo(pendiente.ruta));
}

QByteArray ArchivoRecuperacion::componer(const QString &original, const QByteArray &proyecto)
{
    return kCabecera + QUrl::toPercentEncoding(original) + '\n' + proyecto;
}

ArchivoRecuperacion::Pendiente ArchivoRecuperacion::leer(const QString &ruta)
{
    Pendiente pendiente;
    pendiente.ruta = ruta;
    const QFileInfo info(ruta);
    pendiente.fecha = info.lastModified();
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        pendiente.problema = QStringLiteral("no se puede leer (%1)").arg(archivo.errorString());
        return pendiente;
    }
    const QByteArray contenido = archivo.readAll();
    const int finRuta = contenido.indexOf('\n', kCabecera.size());
    if (!contenido.startsWith(kCabecera) || finRuta < 0) {
        pendiente.problema = QStringLiteral("no es un archivo de recuperación de Vireo o está incompleto");
        return pendiente;
    }
    pendiente.original =
        QUrl::fromPercentEncoding(contenido.mid(kCabecera.size(), finRuta - kCabecera.size()));
    pendiente.proyecto = contenido.mid(finRuta + 1);
    QString motivo;
    if (!LectorProyecto::leerBytes(pendiente.proyecto, &motivo))
        pendiente.problema = QStringLiteral("el proyecto que guarda está dañado: %1").arg(motivo);
    return pendiente;
}
