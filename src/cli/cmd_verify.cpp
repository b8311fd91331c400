#include "commands.h"

#include "caminosestados.h"
#include "lectorproyecto.h"
#include "proyecto.h"
#include "verificacion.h"
#include "xmlhandler.h"

#include <QFile>
#include <QTextStream>

namespace {

const char *const kAyuda =
    "Uso: vireo-cli verify [--caminos] PROYECTO.vro\n"
    "\n"
    "Verifica el modelo como lo hace \"Verificar\": estados sin salida, estados sin\n"
    "activar, eventos, acciones y variables sin utilizar, y transiciones de un mismo\n"
    "estado que pueden ser verdaderas en el mismo paso. Escribe cada hallazgo en una\n"
    "línea, debajo del chequeo que lo encontró, o \"Sin hallazgos.\".\n"
    "\n"
    "  --caminos   agrega, para cada estado, la secuencia más corta de filas de\n"
    "              disparo que lo alcanza desde el reset (MAQUINA ESTADO: ev_a, ev_b),\n"
    "              \"(inicial)\" o \"inalcanzable\"\n"
    "\n"
    "Código de salida:\n"
    "  0  sin hallazgos\n"
    "  1  hay hallazgos\n"
    "  2  error: el archivo no se puede leer o no es XML, o una máquina no tiene\n"
    "     estado inicial\n";

void escribirEntrada(QTextStream &out, const EntradaVerificacion &entrada, int nivel)
{
    if (!entrada.conHallazgos())
        return;
    const QString sangria(4 * nivel, QLatin1Char(' '));
    out << sangria << entrada.texto << '\n';
    for (const EntradaVerificacion &sub : entrada.subentradas)
        escribirEntrada(out, sub, nivel + 1);
    for (const QString &hallazgo : entrada.hallazgos)
        out << sangria << "    " << hallazgo << '\n';
}

} // namespace

int cmdVerify(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << kAyuda;
        return 0;
    }
    QStringList posicionales = args;
    const bool caminos = posicionales.removeAll(QStringLiteral("--caminos")) > 0;
    if (posicionales.size() != 1 || posicionales.first().startsWith(QLatin1Char('-'))) {
        err << kAyuda;
        return 2;
    }
    const QString ruta = posicionales.first();
    QFile archivo(ruta);
    if (!LectorProyecto::problemaArchivo(ruta).isEmpty() ||
        !archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "No se pudo abrir el archivo " << ruta << '\n';
        return 2;
    }
    XmlHandler datos;
    if (!datos.load(&archivo)) {
        err << "No se pudo procesar el archivo " << ruta << '\n';
        return 2;
    }
    const Proyecto proyecto = Proyecto::desdeDocumento(datos);
    const Verificacion verificacion(proyecto);
    if (verificacion.maquinaSinEstadoInicial() >= 0) {
        err << proyecto.maquina(verificacion.maquinaSinEstadoInicial()).nombre
            << ": No se encuentra definido el Estado Inicial\n";
        return 2;
    }
    if (!verificacion.hayHallazgos())
        out << "Sin hallazgos.\n";
    for (const EntradaVerificacion &entrada : verificacion.arbol())
        escribirEntrada(out, entrada, 0);
    if (caminos) {
        out << "\nCaminos desde el reset\n";
        for (const QString &linea : CaminosEstados(Proyecto::desdeDocumento(datos)).lineas())
            out << "    " << linea << '\n';
    }
    return verificacion.hayHallazgos() ? 1 : 0;
}
