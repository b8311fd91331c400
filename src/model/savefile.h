#ifndef SAVEFILE_H
#define SAVEFILE_H

#include <QByteArray>
#include <QString>

// The one routine through which Vireo writes every file (projects, generated
// C, documentation). The whole content is written to a temporary file beside
// the target and renamed over it only when every byte reached the disk, so a
// failure never leaves a truncated file nor a temporary one behind.
bool guardarArchivoSeguro(const QString &path, const QByteArray &contenido, QString *error = nullptr);

#endif // SAVEFILE_H
