// Simulation speed: the engine alone on a 20 machines x 250 states x 3
// transitions project (trigger rows and the generated C's semantics), and
// one event applied by the window to a 30-state machine (firing, lighting,
// panel; painting not included).
//
// Goals: at least 1 000 000 row firings per second, at least 200 000 C-mode
// steps per second, at most 100 µs per event in the window.

#include "mainwindow.h"
#include "proyecto.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "xmlhandler.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

const int kMaquinas = 20;
const int kEstados = 250;
const int kTransiciones = 3;

void silenciar(QtMsgType, const QMessageLogContext &, const QString &) {}

// State i of every machine goes to i + j + 1 on "evento<j>" (rows) or on
// "evento<j> && cuenta >= 0" (C), counting in "cuenta".
void construir(XmlHandler &datos, int maquinas, int estados, bool compuesto)
{
    datos.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("GRANDE"));
    datos.addNuevaConstante(QStringLiteral("TRUE"));
    datos.addNuevaConstante(QStringLiteral("FALSE"));
    for (int e = 0; e < kTransiciones; ++e)
        datos.addNuevoEvento(QStringLiteral("evento%1").arg(e));
    for (int a = 0; a < kTransiciones; ++a)
        datos.addNuevaAccion(QStringLiteral("accion%1()").arg(a));
    datos.addNuevaVariable(QStringLiteral("cuenta"));
    for (int k = 0; k < maquinas; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        datos.addNuevaMaquina(maquina);
        datos.addInfoMaquina(maquina, QStringLiteral("m%1").arg(k));
        for (int i = 0; i < estados; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            datos.addNuevoEstado(estado, maquina);
            datos.addInfoEstado(estado, QStringLiteral("m%1_e%2").arg(k).arg(i), QStringLiteral("#ffffff"),
                                QString::number((i % 6) * 200), QString::number((i / 6) * 150),
                                QStringLiteral("120"), QStringLiteral("60"), maquina);
            for (int j = 0; j < kTransiciones; ++j) {
                const QString disparador = compuesto ? QStringLiteral("evento%1 && cuenta >= 0").arg(j)
                                                     : QStringLiteral("evento%1").arg(j);
                datos.addNuevaTransicion(estado, QStringLiteral("tr%1").arg(j), disparador,
                                         QStringLiteral("accion%1(),cuenta += 1").arg(j),
                                         QStringLiteral("estado%1").arg((i + j + 1) % estados),
                                         QStringLiteral("0,0"), QStringLiteral("0,0"), maquina);
            }
        }
        datos.setInfoEstadoInicial(QStringLiteral("-100"), QStringLiteral("-100"), QString(),
                                   QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"),
                                   maquina);
    }
}

// Processor time, so that other programs on the machine count less.
double segundosCpu()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void filas()
{
    XmlHandler datos(QStringLiteral("GRANDE"), XmlHandler::NUEVO_XML_DATOS);
    construir(datos, kMaquinas, kEstados, false);
    SimulacionFilas simulacion(Proyecto::desdeDocumento(datos));
    for (int k = 0; k < kMaquinas; ++k)
        simulacion.salirDeReset(k);
    const QStringList filas{QStringLiteral("evento0"), QStringLiteral("evento1"), QStringLiteral("evento2")};
    const int cantidad = 1000000;
    qint64 movidas = 0;
    const double inicio = segundosCpu();
    for (int n = 0; n < cantidad; ++n)
        movidas += simulacion.disparar(filas.at(n % 3)).size();
    const double segundos = segundosCpu() - inicio;
    std::printf("  filas de disparo: %.0f disparos/s (%d máquinas se mueven en cada uno: %.0f "
                "transiciones/s)\n",
                cantidad / segundos, kMaquinas, movidas / segundos);
}

void modoC()
{
    XmlHandler datos(QStringLiteral("GRANDE"), XmlHandler::NUEVO_XML_DATOS);
    construir(datos, kMaquinas, kEstados, true);
    SimulacionC simulacion(Proyecto::desdeDocumento(datos));
    QVector<QVector<bool>> pasos(3, QVector<bool>(simulacion.eventos().size(), false));
    for (int e = 0; e < 3; ++e)
        pasos[e][simulacion.indiceEvento(QStringLiteral("evento%1").arg(e))] = true;
    const int cantidad = 300000;
    const double inicio = segundosCpu();
    for (int n = 0; n < cantidad; ++n)
        simulacion.paso(pasos.at(n % 3));
    std::printf("  como el código C: %.0f pasos/s (%d máquinas por paso)\n",
                cantidad / (segundosCpu() - inicio), kMaquinas);
}

void ventana()
{
    QTemporaryDir dir;
    XmlHandler datos(QStringLiteral("GRANDE"), XmlHandler::NUEVO_XML_DATOS);
    construir(datos, 1, 30, false);
    datos.setContenidoGeneral(QStringLiteral("carpeta"), dir.path());
    const QString ruta = dir.filePath(QStringLiteral("GRANDE.vro"));
    if (!datos.save()) {
        std::printf("  no se pudo escribir el proyecto de la ventana\n");
        return;
    }
    MainWindow ventana;
    ventana.resize(1366, 768);
    ventana.show();
    if (!ventana.abrirProyecto(ruta)) {
        std::printf("  no se pudo abrir el proyecto en la ventana\n");
        return;
    }
    ventana.findChild<QAction *>(QStringLiteral("actionSimular"))->trigger();
    QMetaObject::invokeMethod(&ventana, "updateSimulacion", Qt::DirectConnection);
    ventana.findChild<QTimer *>(QStringLiteral("timerSimulacion"))->stop();
    const QStringList eventos{QStringLiteral("evento0"), QStringLiteral("evento1"),
                              QStringLiteral("evento2")};
    const int cantidad = 3000;
    const double inicio = segundosCpu();
    for (int n = 0; n < cantidad; ++n)
        ventana.Analizar(eventos.at(n % 3));
    std::printf("  evento en la ventana (30 estados): %.1f µs\n", (segundosCpu() - inicio) * 1e6 / cantidad);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler(silenciar);
    qputenv("VIREO_PUERTO_EVENTOS", "1");
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("Simulación\n");
    filas();
    modoC();
    ventana();
    return 0;
}
