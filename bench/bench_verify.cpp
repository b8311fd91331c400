// Verifies a large project: 20 machines of 250 states with 3 transitions
// each, 150 events, 150 actions and 150 variables, ten of each never used so
// that no search can stop early. Prints the median of several runs.

#include "verificacion.h"
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <ctime>

namespace {

const int kMaquinas = 20;
const int kEstados = 250;
const int kTransiciones = 3;
const int kNombres = 150;
const int kUsados = 140;

QString nombre(const char *prefijo, int i)
{
    return QString::fromLatin1(prefijo) + QString::number(i % kUsados);
}

void llenar(XmlHandler &xml)
{
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("grande"));
    for (int i = 0; i < kNombres; ++i) {
        xml.addNuevoEvento(QStringLiteral("evento_") + QString::number(i));
        xml.addNuevaAccion(QStringLiteral("accion_") + QString::number(i) + QStringLiteral("()"));
        xml.addNuevaVariable(QStringLiteral("variable_") + QString::number(i));
    }
    int n = 0;
    for (int k = 0; k < kMaquinas; ++k) {
        const QString mId = QStringLiteral("maquina%1").arg(k);
        xml.addNuevaMaquina(mId);
        xml.addInfoMaquina(mId, QStringLiteral("MdE%1").arg(k));
        for (int i = 0; i < kEstados; ++i) {
            const QString eId = QStringLiteral("estado%1").arg(i);
            xml.addNuevoEstado(eId, mId);
            xml.addInfoEstado(eId, QStringLiteral("ESTADO_%1").arg(i), QStringLiteral("#ffffff"),
                              QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"),
                              QStringLiteral("60"), mId);
            for (int j = 0; j < kTransiciones; ++j, ++n) {
                const QString disparador =
                    QStringLiteral("!(%1 || %2) && %3 >= 10")
                        .arg(nombre("evento_", n), nombre("evento_", n + 7), nombre("variable_", n + 3));
                const QString acciones = nombre("accion_", n) + QStringLiteral("(),") +
                                         nombre("variable_", n + 11) + QStringLiteral(" += 1");
                xml.addNuevaTransicion(eId, QStringLiteral("tr%1").arg(j), disparador, acciones,
                                       QStringLiteral("estado%1").arg((i + j + 1) % kEstados),
                                       QStringLiteral("0,0"), QStringLiteral("0,0"), mId);
            }
        }
        xml.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(""),
                                 QStringLiteral("estado0"), QStringLiteral("0,0"), QStringLiteral("0,0"),
                                 mId);
    }
}

// Time this process ran, which a machine busy with other work inflates less
// than the wall clock.
qint64 tiempoCpu()
{
    return qint64(1e9 * double(std::clock()) / CLOCKS_PER_SEC);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    XmlHandler xml(QStringLiteral("grande"), XmlHandler::NUEVO_XML_DATOS);
    llenar(xml);

    QVector<qint64> tiempos;
    QVector<qint64> cpu;
    int hallazgos = 0;
    for (int ronda = 0; ronda < 41; ++ronda) {
        QElapsedTimer reloj;
        const qint64 cpuInicio = tiempoCpu();
        reloj.start();
        const Verificacion verificacion(xml);
        tiempos.append(reloj.nsecsElapsed());
        cpu.append(tiempoCpu() - cpuInicio);
        hallazgos = verificacion.eventosSinUtilizar().size() + verificacion.accionesSinUtilizar().size() +
                    verificacion.variablesSinUtilizar().size() + verificacion.estadosSinActivar().size() +
                    verificacion.estadosSinSalida().size();
    }
    std::sort(tiempos.begin(), tiempos.end());
    std::sort(cpu.begin(), cpu.end());
    out << "verificar " << kMaquinas << " x " << kEstados << " x " << kTransiciones << ", " << kNombres
        << " eventos/acciones/variables: mediana "
        << QString::number(tiempos.at(tiempos.size() / 2) / 1e6, 'f', 2) << " ms, minimo "
        << QString::number(tiempos.first() / 1e6, 'f', 2) << " ms; CPU mediana "
        << QString::number(cpu.at(cpu.size() / 2) / 1e6, 'f', 2) << " ms (" << tiempos.size()
        << " corridas), " << hallazgos << " hallazgos\n";
    return hallazgos == 3 * (kNombres - kUsados) ? 0 : 1;
}
