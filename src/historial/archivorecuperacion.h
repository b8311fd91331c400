#ifndef ARCHIVORECUPERACION_H
#define ARCHIVORECUPERACION_H

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

class QLockFile;

// The recovery file of one Vireo session: a copy of the modified project,
// kept apart from the user's file, that a later start offers back when this
// session ended without removing it (a crash, a kill, a power cut).
//
// The file is a header of two lines, "VIREO-RECUPERACION 1" and the project
// file's path (percent-encoded), followed by the project exactly as a save
// would write it; deleting the two lines leaves a .vro file. A lock file
// beside it, held for the life of the session, tells a running session's
// file from an abandoned one.
class ArchivoRecuperacion
{
public:
    // A recovery file found at start. problema is empty when proyecto holds a
    // project that can be opened, else it says why not, in Spanish.
    struct Pendiente
    {
        QString ruta;
        QString original;
        QDateTime fecha;
        QByteArray proyecto;
        QString problema;
    };

    // The folder under the application's data folder where recovery files go.
    static QString carpetaPorDefecto();

    explicit ArchivoRecuperacion(const QString &carpeta = carpetaPorDefecto());
    // A session that ends normally leaves nothing behind.
    ~ArchivoRecuperacion();
    ArchivoRecuperacion(const ArchivoRecuperacion &) = delete;
    ArchivoRecuperacion &operator=(const ArchivoRecuperacion &) = delete;

    // Writes (or replaces) this session's file with the routine every save
    // uses; false with *error when it could not.
    bool escribir(const QString &original, const QByteArray &proyecto, QString *error = nullptr);
    // Removes this session's file, if any.
    void borrar();
    bool existe() const;
    QString ruta() const { return m_ruta; }

    // The recovery files in carpeta left by sessions that are no longer
    // running, oldest first. Files of running sessions are not listed.
    static QList<Pendiente> pendientes(const QString &carpeta = carpetaPorDefecto());
    static void descartar(const Pendiente &pendiente);

    static QByteArray componer(const QString &original, const QByteArray &proyecto);
    static Pendiente leer(const QString &ruta);

private:
    QString m_carpeta;
    QString m_ruta;
    std::unique_ptr<QLockFile> m_bloqueo;
};

#endif // ARCHIVORECUPERACION_H
