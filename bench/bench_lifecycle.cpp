// Opens and saves a large project through the main window: 20 machines of 250
// states with 3 outgoing transitions each. Goals: open (document and scenes)
// under 1 s, save under 300 ms. Processor time is shown beside the wall-clock
// time; on a busy machine run it as "chrt -f 10 bench_lifecycle" for steady
// figures.
#include "mainwindow.h"
#include "xmlhandler.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>

namespace {

const int MAQUINAS = 20;
const int ESTADOS = 250;
const int TRANSICIONES = 3;
const int RONDAS = 5;

QString escribirProyecto(const QString &carpeta)
{
    XmlHandler doc(QStringLiteral("grande"), XmlHandler::NUEVO_XML_DATOS);
    doc.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("grande"));
    doc.setContenidoGeneral(QStringLiteral("carpeta"), carpeta);
    for (int e = 0; e < TRANSICIONES; ++e)
        doc.addNuevoEvento(QStringLiteral("ev%1").arg(e));
    for (int k = 0; k < MAQUINAS; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        doc.addNuevaMaquina(maquina);
        doc.addInfoMaquina(maquina, QStringLiteral("M%1").arg(k));
        for (int i = 0; i < ESTADOS; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            const double x = (i % 25) * 200.0;
            const double y = (i / 25) * 150.0;
            doc.addNuevoEstado(estado, maquina);
            doc.addInfoEstado(estado, QStringLiteral("E%1").arg(i), QStringLiteral("#e0ffff"),
                              XmlHandler::formatoNumero(x), XmlHandler::formatoNumero(y),
                              QStringLiteral("110"), QStringLiteral("65"), maquina);
            for (int j = 0; j < TRANSICIONES; ++j) {
                const int destino = (i + j + 1) % ESTADOS;
                doc.addNuevaTransicion(
                    estado, QStringLiteral("tr%1").arg(j), QStringLiteral("ev%1").arg(j),
                    QStringLiteral("a%1()").arg(j), QStringLiteral("estado%1").arg(destino),
                    XmlHandler::formatoPunto(x + 100, y + 20.0 * j), QStringLiteral("0,0"), maquina);
            }
        }
        doc.setInfoEstadoInicial(QStringLiteral("-100"), QStringLiteral("-100"), QString(),
                                 QStringLiteral("estado0"), QStringLiteral("-50,-50"), QStringLiteral("0,0"),
                                 maquina);
    }
    return doc.save() ? carpeta + QStringLiteral("/grande.vro") : QString();
}

double mediana(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir tmp;
    const QString path = escribirProyecto(tmp.path());
    if (path.isEmpty()) {
        out << "no se pudo escribir el proyecto de prueba\n";
        return 1;
    }
    out << "proyecto: " << MAQUINAS << " maquinas x " << ESTADOS << " estados x " << TRANSICIONES
        << " transiciones, " << QFileInfo(path).size() / 1024 << " KiB\n";

    QVector<double> abrir;
    QVector<double> guardar;
    QVector<double> abrirCpu;
    QVector<double> guardarCpu;
    auto cpuMs = []() { return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC; };
    for (int r = 0; r < RONDAS; ++r) {
        MainWindow ventana;
        ventana.show();
        app.processEvents();
        QElapsedTimer reloj;
        reloj.start();
        double cpu = cpuMs();
        if (!ventana.abrirProyecto(path))
            return 1;
        abrir << reloj.nsecsElapsed() / 1e6;
        abrirCpu << cpuMs() - cpu;
        reloj.restart();
        cpu = cpuMs();
        if (!ventana.guardarDatos())
            return 1;
        guardar << reloj.nsecsElapsed() / 1e6;
        guardarCpu << cpuMs() - cpu;
    }
    out << "abrir:   mediana " << mediana(abrir) << " ms, procesador " << mediana(abrirCpu)
        << " ms (objetivo < 1000 ms)\n";
    out << "guardar: mediana " << mediana(guardar) << " ms, procesador " << mediana(guardarCpu)
        << " ms (objetivo < 300 ms)\n";
    return 0;
}
