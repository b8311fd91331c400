#include "commands.h"
#include "lectorproyecto.h"

#include "proyecto.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "tramaenlace.h"
#include "xmlhandler.h"

#include <QFile>
#include <QTextStream>

namespace {

const char *const kAyuda =
    "Uso: vireo-cli simulate PROYECTO.vro [--modo filas|c] [--var NOMBRE=VALOR]... PASO...\n"
    "\n"
    "Simula el proyecto desde el reset, sin ventana, y escribe \"(reset)\" y luego una\n"
    "línea por cada transición tomada, las mismas que muestra vireo-cli monitor.\n"
    "\n"
    "  --modo filas  (por omisión) cada PASO es el texto de una fila de la tabla de\n"
    "                eventos, como el doble clic de la simulación de la ventana.\n"
    "  --modo c      cada PASO es la lista, separada por comas, de los eventos\n"
    "                verdaderos en esa pasada del código C generado (\"-\" ninguno).\n"
    "  --var N=V     en modo c, da a la variable N el valor entero V antes del\n"
    "                primer paso (las acciones iniciales de cada máquina corren al\n"
    "                comienzo de su primer paso, como en el C).\n"
    "\n"
    "Código de salida: 0 bien; 1 el proyecto no se puede leer o una máquina no tiene\n"
    "estado inicial; 2 error de uso.\n";

struct Opciones
{
    QString proyecto;
    bool modoC = false;
    QStringList variables;
    QStringList pasos;
    QString error;
};

Opciones leerOpciones(const QStringList &args)
{
    Opciones opciones;
    bool sinOpciones = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (sinOpciones || !arg.startsWith(QLatin1String("--"))) {
            if (opciones.proyecto.isEmpty())
                opciones.proyecto = arg;
            else
                opciones.pasos.append(arg);
        } else if (arg == QLatin1String("--")) {
            sinOpciones = true;
        } else if (arg == QLatin1String("--modo") && i + 1 < args.size()) {
            const QString modo = args.at(++i);
            if (modo != QLatin1String("filas") && modo != QLatin1String("c"))
                opciones.error = QStringLiteral("--modo admite \"filas\" o \"c\", no \"%1\".").arg(modo);
            opciones.modoC = modo == QLatin1String("c");
        } else if (arg == QLatin1String("--var") && i + 1 < args.size()) {
            opciones.variables.append(args.at(++i));
        } else {
            opciones.error = QStringLiteral("Opción desconocida o incompleta: ") + arg;
        }
    }
    if (opciones.error.isEmpty() && opciones.proyecto.isEmpty())
        opciones.error = QStringLiteral("Falta el proyecto.");
    if (opciones.error.isEmpty() && !opciones.modoC && !opciones.variables.isEmpty())
        opciones.error = QStringLiteral("--var solo se usa con --modo c.");
    return opciones;
}

// The line a monitor would print for the step: the report goes through
// its frame, so what Latin-1 cannot carry reads "?" here too.
QString lineaMonitor(const Reporte &reporte)
{
    return TramaEnlace::visible(
        TramaEnlace::linea(TramaEnlace::leerReporte(TramaEnlace::codificar(reporte)).reporte));
}

void escribir(QTextStream &out, const Proyecto &proyecto, const QVector<PasoMaquina> &pasos)
{
    for (const PasoMaquina &paso : pasos) {
        // The window reports no initial transition either.
        if (!paso.esReset())
            out << lineaMonitor(paso.reporte(proyecto)) << '\n';
    }
}

int simularFilas(const Proyecto &proyecto, const QStringList &pasos, QTextStream &out)
{
    out << SimulacionFilas::FilaReset << '\n';
    SimulacionFilas simulacion(proyecto);
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k)
        simulacion.salirDeReset(k);
    for (const QString &paso : pasos) {
        if (paso == SimulacionFilas::FilaReset) {
            out << SimulacionFilas::FilaReset << '\n';
            simulacion.reiniciar();
            for (int k = 0; k < proyecto.cantidadMaquinas(); ++k)
                simulacion.salirDeReset(k);
            continue;
        }
        escribir(out, proyecto, simulacion.disparar(paso));
    }
    return 0;
}

int simularC(const Proyecto &proyecto, const Opciones &opciones, QTextStream &out, QTextStream &err)
{
    SimulacionC simulacion(proyecto);
    simulacion.reiniciar();
    for (const QString &asignacion : opciones.variables) {
        const int igual = asignacion.indexOf(QLatin1Char('='));
        const int variable = simulacion.indiceVariable(asignacion.left(igual).trimmed());
        bool numero = false;
        const int valor = asignacion.mid(igual + 1).trimmed().toInt(&numero, 0);
        if (igual < 0 || variable < 0 || !numero) {
            err << QStringLiteral("--var %1: se espera NOMBRE=VALOR con una variable del proyecto y un "
                                  "valor entero.\n")
                       .arg(asignacion);
            return 2;
        }
        simulacion.fijarValor(variable, valor);
    }
    QVector<QStringList> pasos;
    for (const QString &paso : opciones.pasos) {
        QStringList eventos;
        if (paso != QLatin1String("-"))
            eventos = paso.split(QLatin1Char(','));
        for (QString &evento : eventos) {
            evento = evento.trimmed();
            if (simulacion.indiceEvento(evento) < 0) {
                err << QStringLiteral("El evento \"%1\" no existe en el proyecto.\n").arg(evento);
                return 2;
            }
        }
        pasos.append(eventos);
    }
    out << SimulacionFilas::FilaReset << '\n';
    for (const QStringList &eventos : qAsConst(pasos))
        escribir(out, proyecto, simulacion.paso(eventos));
    return 0;
}

} // namespace

int cmdSimulate(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << QString::fromUtf8(kAyuda);
        return 0;
    }
    const Opciones opciones = leerOpciones(args);
    if (!opciones.error.isEmpty()) {
        err << opciones.error << "\n\n" << QString::fromUtf8(kAyuda);
        return 2;
    }
    QString motivo;
    const std::unique_ptr<XmlHandler> datos = LectorProyecto::leerArchivo(opciones.proyecto, &motivo);
    if (!datos) {
        err << QStringLiteral("No se pudo leer el proyecto %1: %2\n").arg(opciones.proyecto, motivo);
        return 1;
    }
    const Proyecto proyecto = Proyecto::desdeDocumento(*datos);
    for (const Maquina &maquina : proyecto.maquinas()) {
        if (maquina.estadoInicial() < 0) {
            err << maquina.nombre << QStringLiteral(": No se encuentra definido el Estado Inicial\n");
            return 1;
        }
    }
    if (opciones.modoC)
        return simularC(proyecto, opciones, out, err);
    return simularFilas(proyecto, opciones.pasos, out);
}
