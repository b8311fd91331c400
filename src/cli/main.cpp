#include "commands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <memory>

namespace {

const char *const kUso = "Uso: vireo-cli COMANDO [opciones]\n"
                         "\n"
                         "Comandos:\n"
                         "  generate --style switch|ptr PROYECTO.vro [--out CARPETA]\n"
                         "        Genera el código C del proyecto.\n"
                         "  verify PROYECTO.vro\n"
                         "        Verifica el modelo (0: sin hallazgos, 1: hallazgos, 2: error).\n"
                         "  check ESCENARIO PROYECTO... [--csv ARCHIVO] [--cobertura]\n"
                         "        Corre un escenario sobre cada proyecto y muestra una fila por proyecto\n"
                         "        (0: todos cumplen, 1: alguno no, 2: error).\n"
                         "  monitor [--port PUERTO]\n"
                         "        Escucha en 127.0.0.1:8000 y muestra cada paso de la simulación.\n"
                         "  send EVENTO...\n"
                         "        Envía eventos a la simulación en curso (puerto 9000).\n"
                         "  imagen PROYECTO.vro [--maquina NOMBRE] --out ARCHIVO.png|.svg\n"
                         "        Dibuja los diagramas como \"Exportar imagen...\".\n"
                         "  depurar PROYECTO.vro --puerto RUTA [--velocidad N]\n"
                         "        Muestra cada transición que la placa envía por el puerto serie.\n"
                         "  simulate PROYECTO.vro [--modo filas|c] [--var NOMBRE=VALOR]... PASO...\n"
                         "        Simula el proyecto sin ventana y muestra cada paso.\n"
                         "\n"
                         "vireo-cli COMANDO --help muestra la ayuda de cada comando.\n";

} // namespace

int main(int argc, char *argv[])
{
    // Drawing diagrams needs the graphics items, hence a QApplication; its
    // offscreen platform draws without any display (unless the caller chose
    // a platform).
    const bool dibuja = argc > 1 && qstrcmp(argv[1], "imagen") == 0;
    if (dibuja && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The platform's own notices (no runtime folder, no session) say nothing
    // to the user of a command; its messages go to stdout and stderr directly.
    if (dibuja)
        qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext &, const QString &mensaje) {
            if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
                QTextStream(stderr) << mensaje << '\n';
        });
    const std::unique_ptr<QCoreApplication> app(dibuja ? new QApplication(argc, argv)
                                                       : new QCoreApplication(argc, argv));
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        out << QString::fromUtf8(kUso);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("generate"))
        return cmdGenerate(args);
    if (command == QLatin1String("verify"))
        return cmdVerify(args);
    if (command == QLatin1String("check"))
        return cmdCheck(args);
    if (command == QLatin1String("monitor"))
        return cmdMonitor(args);
    if (command == QLatin1String("send"))
        return cmdSend(args);
    if (command == QLatin1String("imagen"))
        return cmdImagen(args);
    if (command == QLatin1String("depurar"))
        return cmdDepurar(args);
    if (command == QLatin1String("simulate"))
        return cmdSimulate(args);
    QTextStream(stderr) << "Comando desconocido: " << command << "\n\n" << QString::fromUtf8(kUso);
    return 2;
}
