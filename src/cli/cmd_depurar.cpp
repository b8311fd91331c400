#include "commands.h"
#include "lectorproyecto.h"

#include "modelodepuracion.h"
#include "proyecto.h"
#include "puertodepuracion.h"
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char *const kUso = "Uso: vireo-cli depurar PROYECTO.vro --puerto RUTA [--velocidad N]\n"
                         "\n"
                         "Lee del puerto serie RUTA (por ejemplo /dev/ttyUSB0, o la pseudo-terminal que\n"
                         "muestra la placa virtual) las líneas \"maquina,estado,transicion\" que envía\n"
                         "Log en cada transición tomada por la placa, y muestra cada una como la muestra\n"
                         "vireo-cli monitor:\n"
                         "  maquina: estado --evento--> proximo estado / acciones\n"
                         "Una línea cuyos números no son los de una transición del proyecto se informa\n"
                         "en stderr (\"no corresponde al modelo: 3,1,0\"); las demás líneas se ignoran y\n"
                         "se cuentan. Termina cuando el puerto se cierra o con Ctrl+C.\n"
                         "\n"
                         "  --velocidad N   baudios (115200 si se omite)\n"
                         "\n"
                         "Código de salida: 0 el puerto se cerró o Ctrl+C; 1 el proyecto o el puerto no\n"
                         "se pueden leer; 2 uso incorrecto.\n";

struct Opciones
{
    QString proyecto;
    QString puerto;
    qint32 velocidad = PuertoDepuracion::VelocidadPorDefecto;
    bool ayuda = false;
    QString error;
};

Opciones leerOpciones(const QStringList &args)
{
    Opciones opciones;
    for (int i = 0; i < args.size() && opciones.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        const bool hayValor = i + 1 < args.size();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            opciones.ayuda = true;
        } else if (arg == QLatin1String("--puerto")) {
            opciones.puerto = hayValor ? args.at(++i) : QString();
            if (opciones.puerto.isEmpty())
                opciones.error = QStringLiteral("--puerto necesita la ruta del puerto serie.");
        } else if (arg == QLatin1String("--velocidad")) {
            bool numero = false;
            opciones.velocidad = hayValor ? args.at(++i).toInt(&numero) : 0;
            if (!numero || opciones.velocidad <= 0)
                opciones.error = QStringLiteral("--velocidad necesita un número de baudios mayor que cero.");
        } else if (arg.startsWith(QLatin1String("--"))) {
            opciones.error = QStringLiteral("Opción desconocida: ") + arg;
        } else if (opciones.proyecto.isEmpty()) {
            opciones.proyecto = arg;
        } else {
            opciones.error = QStringLiteral("Argumento de más: ") + arg;
        }
    }
    if (opciones.error.isEmpty() && !opciones.ayuda) {
        if (opciones.proyecto.isEmpty())
            opciones.error = QStringLiteral("Falta el proyecto.");
        else if (opciones.puerto.isEmpty())
            opciones.error = QStringLiteral("Falta --puerto.");
    }
    return opciones;
}

// Ctrl+C ends the loop like a closed port does: the count of ignored lines
// is still printed and the exit code is 0. The handler only writes a byte;
// the loop reads it.
int g_senal[2] = {-1, -1};

void alInterrumpir(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t escritos = ::write(g_senal[1], &byte, 1);
}

bool atraparInterrupcion(QObject *contexto)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_senal) != 0)
        return false;
    auto *aviso = new QSocketNotifier(g_senal[0], QSocketNotifier::Read, contexto);
    QObject::connect(aviso, &QSocketNotifier::activated, contexto, []() { QCoreApplication::quit(); });
    struct sigaction accion = {};
    accion.sa_handler = alInterrumpir;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &accion, nullptr) == 0 && ::sigaction(SIGTERM, &accion, nullptr) == 0;
}

} // namespace

int cmdDepurar(const QStringList &args)
{
    const Opciones opciones = leerOpciones(args);
    QTextStream salida(stdout);
    QTextStream errores(stderr);
    if (opciones.ayuda) {
        salida << QString::fromUtf8(kUso);
        return 0;
    }
    if (!opciones.error.isEmpty()) {
        errores << opciones.error << "\n\n" << QString::fromUtf8(kUso);
        return 2;
    }

    QString motivo;
    const std::unique_ptr<XmlHandler> datos = LectorProyecto::leerArchivo(opciones.proyecto, &motivo);
    if (!datos) {
        errores << "Error: no se puede leer el proyecto " << opciones.proyecto << ": " << motivo << "\n";
        return 1;
    }
    const ModeloDepuracion modelo(Proyecto::desdeDocumento(*datos));

    PuertoDepuracion puerto;
    if (!puerto.abrir(opciones.puerto, opciones.velocidad)) {
        errores << "Error: " << puerto.errorString() << "\n";
        return 1;
    }
    QObject::connect(
        &puerto, &PuertoDepuracion::lineasRecibidas, [&](const QVector<LineaDepuracion> &lineas) {
            PasoMaquina paso;
            for (const LineaDepuracion &linea : lineas) {
                if (modelo.resolver(linea, &paso))
                    salida << TramaEnlace::linea(paso.reporte(modelo.proyecto())) << '\n';
                else if (linea.valida)
                    errores << "no corresponde al modelo: " << QString::fromLatin1(linea.texto) << '\n';
            }
            salida.flush();
            errores.flush();
        });
    QObject::connect(&puerto, &PuertoDepuracion::cerrado, [&](const QString &motivo) {
        errores << motivo << '\n';
        QCoreApplication::quit();
    });
    atraparInterrupcion(&puerto);
    errores << "Depurando " << opciones.proyecto << " en " << opciones.puerto << " a " << opciones.velocidad
            << " baudios (Ctrl+C termina)\n"
            << Qt::flush;
    QCoreApplication::exec();
    if (puerto.ignoradas() > 0)
        errores << QStringLiteral("Líneas ignoradas (no son \"maquina,estado,transicion\"): ")
                << puerto.ignoradas() << '\n';
    return 0;
}
