// Code generation speed: both styles for a 20 machines x 250 states x 3
// transitions project, and vireo-cli over 100 small projects.
//
//   bench_codegen [ruta/a/vireo-cli]
//
// Goals: each style under 50 ms and at most twice the time of composing the
// same text in memory; the 100 vireo-cli runs under 5 s in all. On a busy
// machine, run it as "chrt -f 10 bench_codegen" for steady figures.

#include "generadorcodigo.h"
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

namespace {

const int kMaquinas = 20;
const int kEstados = 250;
const int kTransiciones = 3;
const int kRepeticiones = 5;
const int kProyectosCli = 100;

void construir(XmlHandler &datos)
{
    datos.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("GRANDE"));
    datos.setContenidoGeneral(QStringLiteral("autores"), QStringLiteral("BENCH"));
    datos.setContenidoGeneral(QStringLiteral("modificacion"), QStringLiteral("01-01-2024 00:00:00"));
    datos.addNuevaConstante(QStringLiteral("TRUE"));
    datos.addNuevaConstante(QStringLiteral("FALSE"));
    datos.addNuevaConstante(QStringLiteral("LIMITE"));
    for (int e = 0; e < 10; ++e)
        datos.addNuevoEvento(QStringLiteral("evento%1").arg(e));
    for (int a = 0; a < 10; ++a)
        datos.addNuevaAccion(QStringLiteral("accion%1()").arg(a));
    datos.addNuevaVariable(QStringLiteral("cuenta"));
    for (int k = 0; k < kMaquinas; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        datos.addNuevaMaquina(maquina);
        datos.addInfoMaquina(maquina, QStringLiteral("m%1").arg(k));
        for (int i = 0; i < kEstados; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            datos.addNuevoEstado(estado, maquina);
            datos.addInfoEstado(estado, QStringLiteral("m%1_e%2").arg(k).arg(i), QStringLiteral("#ffffff"),
                                QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"),
                                QStringLiteral("60"), maquina);
            for (int j = 0; j < kTransiciones; ++j) {
                const QString destino = QStringLiteral("estado%1").arg((i + j + 1) % kEstados);
                datos.addNuevaTransicion(estado, QStringLiteral("tr%1").arg(j),
                                         QStringLiteral("!evento%1 && cuenta > LIMITE").arg(j),
                                         QStringLiteral("accion%1(),cuenta += 1").arg(j), destino,
                                         QStringLiteral("0,0"), QStringLiteral("0,0"), maquina);
            }
        }
        datos.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(),
                                   QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"),
                                   maquina);
    }
}

template<typename F> double mejorMs(F &&f)
{
    double mejor = 1e9;
    for (int r = 0; r < kRepeticiones; ++r) {
        QElapsedTimer reloj;
        reloj.start();
        f();
        mejor = qMin(mejor, reloj.nsecsElapsed() / 1e6);
    }
    return mejor;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    QTemporaryDir temporal;

    XmlHandler datos(QStringLiteral("GRANDE"), XmlHandler::NUEVO_XML_DATOS);
    construir(datos);
    out << QStringLiteral(
               "Tiempos de CPU, el mejor de 5. Proyecto: %1 máquinas x %2 estados x %3 transiciones\n")
               .arg(kMaquinas)
               .arg(kEstados)
               .arg(kTransiciones);

    const double lectura = mejorMs([&] { GeneradorCodigo generador(datos); });
    out << QStringLiteral("lectura del documento: %1 ms\n").arg(lectura, 0, 'f', 1);

    for (const EstiloCodigo estilo : {EstiloCodigo::Switch, EstiloCodigo::PunteroAFuncion}) {
        const QString nombre =
            estilo == EstiloCodigo::Switch ? QStringLiteral("switch") : QStringLiteral("ptr");
        const GeneradorCodigo leido(datos);
        qint64 bytes = 0;
        const double composicion = mejorMs([&] {
            bytes = 0;
            for (const auto &archivo : leido.archivos(estilo))
                bytes += archivo.second.toLatin1().size();
        });
        const double enMemoria = mejorMs([&] {
            const GeneradorCodigo generador(datos);
            for (const auto &archivo : generador.archivos(estilo))
                archivo.second.toLatin1().squeeze();
        });
        const QString carpeta = temporal.filePath(nombre);
        bool ok = true;
        const double completo = mejorMs([&] { ok = GeneradorCodigo(datos).generar(estilo, carpeta) && ok; });
        out << QStringLiteral(
                   "%1: composición %2 ms; lectura + composición %3 ms; con escritura %4 ms (%5x); "
                   "%6 KiB%7\n")
                   .arg(nombre)
                   .arg(composicion, 0, 'f', 1)
                   .arg(enMemoria, 0, 'f', 1)
                   .arg(completo, 0, 'f', 1)
                   .arg(completo / enMemoria, 0, 'f', 2)
                   .arg(bytes / 1024)
                   .arg(ok ? QString() : QStringLiteral(" FALLO AL ESCRIBIR"));
    }

    const QString cli =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/cli/vireo-cli");
    if (!QFile::exists(cli)) {
        out << "vireo-cli no encontrado en " << cli << "\n";
        return 0;
    }
    XmlHandler pequeno(QStringLiteral("CHICO"), XmlHandler::NUEVO_XML_DATOS);
    pequeno.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("CHICO"));
    pequeno.addNuevaConstante(QStringLiteral("TRUE"));
    pequeno.addNuevaConstante(QStringLiteral("FALSE"));
    pequeno.addNuevoEvento(QStringLiteral("boton"));
    pequeno.addNuevaAccion(QStringLiteral("encender()"));
    for (int k = 0; k < 2; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        pequeno.addNuevaMaquina(maquina);
        pequeno.addInfoMaquina(maquina, QStringLiteral("m%1").arg(k));
        for (int i = 0; i < 5; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            pequeno.addNuevoEstado(estado, maquina);
            pequeno.addInfoEstado(estado, QStringLiteral("m%1_e%2").arg(k).arg(i), QStringLiteral("#ffffff"),
                                  QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"),
                                  QStringLiteral("60"), maquina);
            pequeno.addNuevaTransicion(estado, QStringLiteral("tr0"), QStringLiteral("boton"),
                                       QStringLiteral("encender()"),
                                       QStringLiteral("estado%1").arg((i + 1) % 5), QStringLiteral("0,0"),
                                       QStringLiteral("0,0"), maquina);
        }
        pequeno.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(),
                                     QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"),
                                     maquina);
    }
    const QByteArray contenido = pequeno.toByteArray();
    QStringList proyectos;
    for (int p = 0; p < kProyectosCli; ++p) {
        const QString carpeta = temporal.filePath(QStringLiteral("alumno%1").arg(p));
        QDir().mkpath(carpeta);
        QFile archivo(carpeta + QStringLiteral("/CHICO.vro"));
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size())
            return 1;
        proyectos << archivo.fileName();
    }
    QElapsedTimer reloj;
    reloj.start();
    int fallidos = 0;
    for (const QString &proyecto : proyectos) {
        QProcess proceso;
        proceso.start(
            cli, {QStringLiteral("generate"), QStringLiteral("--style"), QStringLiteral("switch"), proyecto});
        const bool ok = proceso.waitForFinished(10000) && proceso.exitStatus() == QProcess::NormalExit &&
                        proceso.exitCode() == 0;
        fallidos += ok ? 0 : 1;
    }
    out << QStringLiteral("vireo-cli sobre %1 proyectos: %2 ms en total, %3 fallidos\n")
               .arg(kProyectosCli)
               .arg(reloj.elapsed())
               .arg(fallidos);
    return 0;
}
