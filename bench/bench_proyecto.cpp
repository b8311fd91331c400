// Times building the typed project model from a large document: 20 machines
// of 250 states with 3 transitions each, every trigger a compound with a
// comparison and every action list a call and an assignment. Measured twice:
// with the few repeated texts of a drawn project, and with every text
// different (each one read on its own). Processor time: the machine is
// shared, and wall-clock time would measure the neighbours too.
#include "proyecto.h"
#include "xmlhandler.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kMaquinas = 20;
constexpr int kEstados = 250;
constexpr int kTransiciones = 3;
constexpr int kRepeticiones = 9;

QString id(const char *prefijo, int n)
{
    return QLatin1String(prefijo) + QString::number(n);
}

void llenar(XmlHandler &xml, bool textosDistintos)
{
    xml.setContenidoGeneral("nombre", "BENCH");
    for (int i = 0; i < 40; ++i) {
        xml.addNuevoEvento(id("ev_", i));
        xml.addNuevaAccion(id("accion_", i) + "()");
    }
    xml.addNuevaVariable("x");
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
                const int valor = textosDistintos ? (m * kEstados + e) * kTransiciones + t : 3;
                xml.addNuevaTransicion(
                    estado, id("tr", t), id("ev_", (e + t) % 40) + " && x > " + QString::number(valor),
                    id("accion_", t) + "(),x = " + QString::number(valor),
                    id("estado", (e + t + 1) % kEstados), XmlHandler::formatoPunto(e * 3.25, t * -11.5),
                    XmlHandler::formatoPunto(10, -20), maquina);
            }
        }
        xml.setInfoEstadoInicial("-240", "-160", "", "estado0", "-190,-110", "0,0", maquina);
    }
}

double procesadorMs()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

// The median time to build the model, or -1 when the model is not the one
// the document describes.
double medir(bool textosDistintos)
{
    XmlHandler xml("BENCH", XmlHandler::NUEVO_XML_DATOS);
    llenar(xml, textosDistintos);
    std::vector<double> tiempos;
    for (int i = 0; i < kRepeticiones; ++i) {
        const double inicio = procesadorMs();
        const Proyecto proyecto = Proyecto::desdeDocumento(xml);
        tiempos.push_back(procesadorMs() - inicio);
        const Transicion &t = proyecto.maquina(kMaquinas - 1).estados.at(7).transiciones.at(2);
        if (proyecto.maquina(kMaquinas - 1).estados.size() != kEstados || !proyecto.problemas().isEmpty() ||
            !t.disparador.esValida() || t.destino != 10 || t.acciones.entradas().size() != 2)
            return -1;
    }
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double repetidos = medir(false);
    const double distintos = medir(true);
    std::printf("proyecto: %d maquinas x %d estados x %d transiciones\n", kMaquinas, kEstados, kTransiciones);
    std::printf("Proyecto::desdeDocumento (mediana, textos repetidos): %8.1f ms   objetivo < 100 ms\n",
                repetidos);
    std::printf("Proyecto::desdeDocumento (mediana, textos distintos): %8.1f ms   objetivo < 100 ms\n",
                distintos);
    const bool ok = repetidos >= 0 && distintos >= 0;
    std::printf("%s\n", ok ? "resultado correcto" : "ERROR: el modelo no es el esperado");
    return ok ? 0 : 1;
}
