#include "commands.h"

#include "consola.h"
#include "generadorcodigo.h"
#include "lectoropciones.h"
#include "lectorproyecto.h"
#include "xmlhandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

using Consola::errores;
using Consola::fallo;
using Consola::salida;

const char *const kAyuda =
    "Uso: vireo-cli generate --style switch|ptr PROYECTO.vro [--out CARPETA]\n"
    "\n"
    "Genera los cinco archivos C del proyecto (main.c, AP_MdeE.h, AP_MdeE.c,\n"
    "AP_FuncionesMdeE.h y AP_FuncionesMdeE.c). El archivo del proyecto no se modifica.\n"
    "\n"
    "  --style switch   una función con un switch por cada máquina\n"
    "  --style ptr      una función por estado, llamada desde una tabla de punteros\n"
    "                   a función (solo se ejecuta la primera máquina)\n"
    "  --out CARPETA    escribe los archivos directamente en CARPETA; sin esta opción\n"
    "                   van a resultados_NOMBRE/switch o resultados_NOMBRE/ptrFuncion\n"
    "                   en la carpeta del archivo del proyecto, como en Vireo\n"
    "\n"
    "Muestra la carpeta escrita. Si el modelo no puede dar C válido, los motivos\n"
    "se muestran en la salida de error (los archivos se escriben igual).\n"
    "\n"
    "Códigos de salida: 0 código generado; 1 proyecto ilegible, máquina sin estado\n"
    "inicial o carpeta no escribible; 2 uso incorrecto.\n";

// Projects are small; anything bigger is not one and is refused before parsing.

struct Opciones
{
    QString estilo;
    QString proyecto;
    QString carpeta;
    bool ayuda = false;
};

// Empty on success, else the reason the arguments are not usable.
QString leerOpciones(const QStringList &args, Opciones *opciones)
{
    const QString estilo = QStringLiteral("--style");
    const QString carpeta = QStringLiteral("--out");
    const LectorOpciones lector(args, {estilo, carpeta}, {});
    if (lector.problema() == LectorOpciones::FaltaValor)
        return QStringLiteral("falta el valor de %1.").arg(lector.argumento());
    if (lector.problema() == LectorOpciones::Desconocida)
        return QStringLiteral("opción desconocida: %1").arg(lector.argumento());
    opciones->ayuda = lector.ayuda();
    if (opciones->ayuda)
        return QString();
    if (lector.posicionales().size() > 1)
        return QStringLiteral("se indicó más de un proyecto.");
    opciones->estilo = lector.valor(estilo);
    opciones->carpeta = lector.valor(carpeta);
    opciones->proyecto = lector.posicionales().value(0);
    if (opciones->estilo != QLatin1String("switch") && opciones->estilo != QLatin1String("ptr"))
        return QStringLiteral("--style debe ser switch o ptr.");
    if (opciones->proyecto.isEmpty())
        return QStringLiteral("falta el archivo del proyecto.");
    return QString();
}

// Reads the project without ever blocking on something that is not a plain
// file (a FIFO, a device). Empty on success, else the Spanish reason.
QString cargarProyecto(const QString &ruta, XmlHandler *datos)
{
    const QFileInfo info(ruta);
    if (!info.exists())
        return QStringLiteral("no existe el archivo %1").arg(ruta);
    if (!info.isFile())
        return QStringLiteral("%1 no es un archivo de proyecto").arg(ruta);
    if (info.size() > LectorProyecto::kTamanoMaximo)
        return QStringLiteral("%1 es demasiado grande para ser un proyecto de Vireo").arg(ruta);
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return QStringLiteral("no se pudo leer %1: %2").arg(ruta, archivo.errorString());
    if (!datos->load(&archivo))
        return QStringLiteral("%1 no es un proyecto de Vireo (el XML no es válido)").arg(ruta);
    if (datos->getContenidoGeneral(QStringLiteral("nombre")) == QLatin1String("-1"))
        return QStringLiteral("%1 no es un proyecto de Vireo (no tiene nombre de proyecto)").arg(ruta);
    return QString();
}

// The folder the GUI would write into once the project is opened from this
// file. A project name that would lead out of that folder is replaced by the
// file's own name.
QString carpetaPorDefecto(const QString &ruta, const XmlHandler &datos, EstiloCodigo estilo)
{
    const QFileInfo info(ruta);
    QString nombre = datos.getContenidoGeneral(QStringLiteral("nombre"));
    if (nombre.isEmpty() || nombre.contains(QLatin1Char('/')) || nombre.contains(QLatin1Char('\\')))
        nombre = info.completeBaseName();
    return GeneradorCodigo::carpetaSalida(info.absolutePath(), nombre, estilo);
}

} // namespace

int cmdGenerate(const QStringList &args)
{
    Opciones opciones;
    const QString problemaUso = leerOpciones(args, &opciones);
    if (!problemaUso.isEmpty())
        return Consola::usoIncorrecto(problemaUso, kAyuda);
    if (opciones.ayuda) {
        salida() << QString::fromUtf8(kAyuda);
        salida().flush();
        return 0;
    }

    XmlHandler datos;
    const QString problemaCarga = cargarProyecto(opciones.proyecto, &datos);
    if (!problemaCarga.isEmpty())
        return fallo(problemaCarga);

    const GeneradorCodigo generador(datos);
    const QString sinInicial = generador.maquinaSinEstadoInicial();
    if (!sinInicial.isEmpty()) {
        return fallo(QStringLiteral("%1: %2: No se encuentra definido el Estado Inicial")
                         .arg(opciones.proyecto, sinInicial));
    }

    const EstiloCodigo estilo =
        opciones.estilo == QLatin1String("switch") ? EstiloCodigo::Switch : EstiloCodigo::PunteroAFuncion;
    const QString carpeta =
        QDir::cleanPath(QDir(opciones.carpeta.isEmpty() ? carpetaPorDefecto(opciones.proyecto, datos, estilo)
                                                        : opciones.carpeta)
                            .absolutePath());
    QString archivoFallido;
    if (!generador.generar(estilo, carpeta, &archivoFallido))
        return fallo(QStringLiteral("No se pudo escribir el archivo \n%1").arg(archivoFallido));

    const QStringList problemas = generador.problemas(estilo);
    for (const QString &problema : problemas)
        errores() << "Advertencia: " << opciones.proyecto << ": " << problema << '\n';
    errores().flush();
    salida() << carpeta << '\n';
    salida().flush();
    return 0;
}
