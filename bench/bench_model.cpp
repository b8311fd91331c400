// Times saving and loading a large project: 20 machines of 250 states with 3
// transitions each, filled through the document operations as the save step
// does. Load is compared with a bare DOM parse of the same bytes.
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kMaquinas = 20;
constexpr int kEstados = 250;
constexpr int kTransiciones = 3;
constexpr int kRepeticiones = 7;

QString id(const char *prefijo, int n)
{
    return QLatin1String(prefijo) + QString::number(n);
}

void llenar(XmlHandler &xml, const QString &carpeta)
{
    xml.setContenidoGeneral("nombre", "BENCH");
    xml.setContenidoGeneral("autores", "Vireo");
    xml.setContenidoGeneral("creacion", "05-03-2024 10:15:00");
    xml.setContenidoGeneral("modificacion", "05-03-2024 11:02:41");
    xml.setContenidoGeneral("carpeta", carpeta);
    for (int i = 0; i < 40; ++i) {
        xml.addNuevoEvento(id("ev_", i));
        xml.addNuevaAccion(id("accion_", i) + "()");
    }
    xml.borrarMaquinas();
    for (int m = 0; m < kMaquinas; ++m) {
        const QString maquina = id("maquina", m);
        xml.addNuevaMaquina(maquina);
        xml.addInfoMaquina(maquina, id("MAQUINA_", m));
        for (int e = 0; e < kEstados; ++e) {
            const QString estado = id("estado", e);
            xml.addNuevoEstado(estado, maquina);
            xml.addInfoEstado(estado, id("ESTADO_", e), "#ffffff", XmlHandler::formatoNumero(e * 13.37),
                              XmlHandler::formatoNumero(-e * 7.5), "120", "60", maquina);
            for (int t = 0; t < kTransiciones; ++t) {
                xml.addNuevaTransicion(estado, id("tr", t), id("ev_", (e + t) % 40) + " && x > 3",
                                       id("accion_", t) + "(),x = 1", id("estado", (e + t + 1) % kEstados),
                                       XmlHandler::formatoPunto(e * 3.25, t * -11.5),
                                       XmlHandler::formatoPunto(10, -20), maquina);
            }
        }
        xml.setInfoEstadoInicial("-240", "-160", "", "estado0", "-190,-110", "0,0", maquina);
    }
}

double medianaMs(const std::function<void()> &paso)
{
    std::vector<double> tiempos;
    for (int i = 0; i < kRepeticiones; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        paso();
        tiempos.push_back(reloj.nsecsElapsed() / 1e6);
    }
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

QString picoDeMemoria()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return "?";
    QTextStream in(&status);
    for (QString linea = in.readLine(); !linea.isNull(); linea = in.readLine()) {
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed();
    }
    return "?";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    XmlHandler xml("BENCH", XmlHandler::NUEVO_XML_DATOS);

    QElapsedTimer reloj;
    reloj.start();
    llenar(xml, dir.path());
    const double construir = reloj.nsecsElapsed() / 1e6;

    bool ok = true;
    const double serializar = medianaMs([&] { ok = !xml.toByteArray().isEmpty() && ok; });
    const double guardar = medianaMs([&] { ok = xml.save() && ok; });
    const QString ruta = dir.filePath("BENCH.vro");
    const double cargar = medianaMs([&] {
        QFile archivo(ruta);
        XmlHandler leido;
        ok = archivo.open(QIODevice::ReadOnly) && leido.load(&archivo) &&
             leido.cantidadEstados("maquina19") == kEstados && ok;
    });
    const QString pico = picoDeMemoria();

    QFile archivo(ruta);
    archivo.open(QIODevice::ReadOnly);
    const QByteArray bytes = archivo.readAll();
    const double dom = medianaMs([&] {
        QDomDocument documento;
        ok = documento.setContent(bytes) && ok;
    });

    std::printf("proyecto: %d maquinas x %d estados x %d transiciones, %.1f MB\n", kMaquinas, kEstados,
                kTransiciones, bytes.size() / 1e6);
    std::printf("construir por operaciones: %8.1f ms\n", construir);
    std::printf("toByteArray (mediana):     %8.1f ms\n", serializar);
    std::printf("save (mediana):            %8.1f ms   objetivo < 150 ms\n", guardar);
    std::printf("load (mediana):            %8.1f ms   objetivo < 250 ms\n", cargar);
    std::printf("QDomDocument::setContent:  %8.1f ms\n", dom);
    std::printf("load / setContent:         %8.2f     objetivo <= 1.8\n", cargar / dom);
    std::printf("pico de memoria (VmHWM):   %s   objetivo < 100 MB\n", qPrintable(pico));
    std::printf("%s\n", ok ? "resultado correcto" : "ERROR: alguna operacion fallo");
    return ok ? 0 : 1;
}
