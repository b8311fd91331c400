#include "commands.h"

#include "consola.h"
#include "diagramscene.h"
#include "idsproyecto.h"
#include "imagendiagrama.h"
#include "lectorproyecto.h"
#include "maquinaxml.h"
#include "xmlhandler.h"

#include <QFileInfo>

namespace {

const char *const kAyuda =
    "Uso: vireo-cli imagen PROYECTO.vro [--maquina NOMBRE] --out ARCHIVO.png|ARCHIVO.svg\n"
    "\n"
    "Dibuja el diagrama de una máquina como lo hace \"Exportar imagen...\": PNG al doble\n"
    "de tamaño sobre blanco, o SVG. Sin --maquina dibuja todas las máquinas, cada una\n"
    "en un archivo numerado desde 1 (ARCHIVO_1.png, ARCHIVO_2.png, ...). Muestra cada\n"
    "archivo escrito. No necesita pantalla. El archivo del proyecto no se modifica.\n"
    "\n"
    "Códigos de salida: 0 imágenes escritas; 1 proyecto ilegible, máquina inexistente\n"
    "o archivo no escribible; 2 uso incorrecto.\n";

struct Opciones
{
    QString proyecto;
    QString maquina;
    QString salida;
    bool ayuda = false;
};

// Empty when the arguments are usable; the reason otherwise.
QString leerOpciones(const QStringList &args, Opciones *opciones)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            opciones->ayuda = true;
            return QString();
        }
        if (arg == QLatin1String("--maquina") || arg == QLatin1String("--out")) {
            if (i + 1 >= args.size())
                return QStringLiteral("falta el valor de %1").arg(arg);
            (arg == QLatin1String("--out") ? opciones->salida : opciones->maquina) = args.at(++i);
            continue;
        }
        if (arg.startsWith(QLatin1Char('-')))
            return QStringLiteral("opción desconocida %1").arg(arg);
        if (!opciones->proyecto.isEmpty())
            return QStringLiteral("sobra el argumento %1").arg(arg);
        opciones->proyecto = arg;
    }
    if (opciones->proyecto.isEmpty())
        return QStringLiteral("falta el archivo del proyecto");
    if (opciones->salida.isEmpty())
        return QStringLiteral("falta --out ARCHIVO.png o ARCHIVO.svg");
    const QString extension = QFileInfo(opciones->salida).suffix().toLower();
    if (extension != QLatin1String("png") && extension != QLatin1String("svg"))
        return QStringLiteral("el archivo de salida debe terminar en .png o .svg");
    return QString();
}

// ARCHIVO.png -> ARCHIVO_n.png, in the same folder.
QString numerado(const QString &ruta, int numero)
{
    const QFileInfo info(ruta);
    const QString base = ruta.left(ruta.size() - info.suffix().size() - 1);
    return QStringLiteral("%1_%2.%3").arg(base).arg(numero).arg(info.suffix());
}

using Consola::errores;
using Consola::salida;

bool dibujarMaquina(XmlHandler &datos, int indice, const QString &ruta)
{
    const QString id = IdsProyecto::maquina(indice);
    DiagramScene scene(datos.getContenidoMaquina(id, QStringLiteral("nombre")), nullptr);
    MaquinaXml(datos, id).cargar(&scene);
    QString error;
    if (!ImagenDiagrama(&scene).guardar(ruta, &error)) {
        errores() << QStringLiteral("Error: no se pudo escribir ") << ruta << ": " << error << '\n';
        return false;
    }
    salida() << ruta << '\n';
    return true;
}

} // namespace

int cmdImagen(const QStringList &args)
{
    Opciones opciones;
    const QString problema = leerOpciones(args, &opciones);
    if (opciones.ayuda) {
        salida() << QString::fromUtf8(kAyuda);
        return 0;
    }
    if (!problema.isEmpty())
        return Consola::usoIncorrecto(problema, kAyuda);

    QString motivo;
    const std::unique_ptr<XmlHandler> leido = LectorProyecto::leerArchivo(opciones.proyecto, &motivo);
    if (!leido)
        return Consola::fallo(
            QStringLiteral("no se pudo leer el proyecto %1: %2").arg(opciones.proyecto, motivo));
    XmlHandler &datos = *leido;
    const int cantidad = qMax(datos.cantidadMaquinas(), 0);
    if (opciones.maquina.isEmpty()) {
        if (cantidad == 0)
            return Consola::fallo(QStringLiteral("el proyecto %1 no tiene máquinas").arg(opciones.proyecto));
        bool todas = true;
        for (int k = 0; k < cantidad; ++k)
            todas = dibujarMaquina(datos, k, numerado(opciones.salida, k + 1)) && todas;
        return todas ? 0 : 1;
    }
    for (int k = 0; k < cantidad; ++k) {
        const QString nombre = datos.getContenidoMaquina(IdsProyecto::maquina(k), QStringLiteral("nombre"));
        if (nombre == opciones.maquina)
            return dibujarMaquina(datos, k, opciones.salida) ? 0 : 1;
    }
    return Consola::fallo(
        QStringLiteral("el proyecto no tiene ninguna máquina llamada %1").arg(opciones.maquina));
}
