#include "lectorproyecto.h"

#include "xmlhandler.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

bool informar(QString *motivo, const QString &texto)
{
    if (motivo)
        *motivo = texto;
    return false;
}

// Looks only as far as the project's name, which comes first in every file
// Vireo writes: "proyecto" > "general" > "nombre".
bool tieneNombre(const QByteArray &bytes)
{
    QXmlStreamReader reader(bytes);
    int depth = 0;
    bool enGeneral = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (--depth == 1)
                enGeneral = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QStringRef nombre = reader.qualifiedName();
        if (depth == 1 && nombre != QLatin1String("proyecto"))
            return false;
        if (depth == 2 && nombre == QLatin1String("general"))
            enGeneral = true;
        if (depth == 3 && enGeneral && nombre == QLatin1String("nombre"))
            return true;
    }
    return false;
}

} // namespace

QString LectorProyecto::problemaArchivo(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("el archivo no existe");
    if (!info.isFile())
        return QStringLiteral("no es un archivo de proyecto");
    if (info.size() > kTamanoMaximo)
        return QStringLiteral("el archivo es demasiado grande para ser un proyecto de Vireo");
    return QString();
}

std::unique_ptr<XmlHandler> LectorProyecto::leerArchivo(const QString &path, QString *motivo)
{
    const QString problema = problemaArchivo(path);
    if (!problema.isEmpty()) {
        informar(motivo, problema);
        return nullptr;
    }
    QFile archivo(path);
    if (!archivo.open(QIODevice::ReadOnly)) {
        informar(motivo, QStringLiteral("no se puede leer el archivo (%1)").arg(archivo.errorString()));
        return nullptr;
    }
    return leerBytes(archivo.readAll(), motivo);
}

std::unique_ptr<XmlHandler> LectorProyecto::leerBytes(const QByteArray &bytes, QString *motivo)
{
    auto documento = std::make_unique<XmlHandler>();
    QString error;
    if (!documento->load(bytes, &error)) {
        informar(motivo, QStringLiteral("no es un archivo XML válido (%1)").arg(error));
        return nullptr;
    }
    if (!tieneNombre(bytes)) {
        informar(motivo, QStringLiteral("no es un proyecto de Vireo: le falta el elemento "
                                        "\"proyecto\" con \"general\" y \"nombre\""));
        return nullptr;
    }
    return documento;
}
