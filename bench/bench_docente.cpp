// The teaching tools at the sizes of a course and of a large model:
// - "vireo-cli check" of a 100-step scenario over 200 projects of 50 states
//   (wall clock of the whole command, all cores; goal 2 s on 2 cores);
// - the conflict check on 20 machines of 250 states with 3 transitions each
//   (goal 50 ms).
// Prints the median of several runs.

#include "chequeoconflictos.h"
#include "proyecto.h"
#include "xmlhandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <ctime>
#include <sys/resource.h>

namespace {

const int kProyectos = 200;
const int kEstadosProyecto = 50;
const int kPasosEvento = 50;

QString estadoId(int i)
{
    return QStringLiteral("estado%1").arg(i);
}

void agregarEstado(XmlHandler &xml, const QString &mId, int i, const QString &prefijo)
{
    xml.addNuevoEstado(estadoId(i), mId);
    xml.addInfoEstado(estadoId(i), prefijo + QString::number(i), QStringLiteral("#ffffff"),
                      QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("120"), QStringLiteral("60"),
                      mId);
}

// One student's project: a ring of 50 states on ev_a, a jump on ev_b and a
// counting self-loop on ev_c. Project p sends ev_a from state p % 50 to the
// wrong state, so most projects fail somewhere along the scenario.
QByteArray proyectoAlumno(int p)
{
    XmlHandler xml(QStringLiteral("alumno%1").arg(p), XmlHandler::NUEVO_XML_DATOS);
    for (const char *evento : {"ev_a", "ev_b", "ev_c"})
        xml.addNuevoEvento(QString::fromLatin1(evento));
    xml.addNuevaAccion(QStringLiteral("avanzar()"));
    xml.addNuevaVariable(QStringLiteral("cuenta"));
    const QString mId = QStringLiteral("maquina0");
    xml.addNuevaMaquina(mId);
    xml.addInfoMaquina(mId, QStringLiteral("Anillo"));
    for (int i = 0; i < kEstadosProyecto; ++i) {
        agregarEstado(xml, mId, i, QStringLiteral("S"));
        const int siguiente =
            i == p % kEstadosProyecto && p >= kProyectos / 4 ? i : (i + 1) % kEstadosProyecto;
        xml.addNuevaTransicion(estadoId(i), QStringLiteral("tr0"), QStringLiteral("ev_a"),
                               QStringLiteral("avanzar()"), estadoId(siguiente), QStringLiteral("0,0"),
                               QStringLiteral("0,0"), mId);
        xml.addNuevaTransicion(estadoId(i), QStringLiteral("tr1"), QStringLiteral("ev_b"), QString(),
                               estadoId((i + 7) % kEstadosProyecto), QStringLiteral("0,0"),
                               QStringLiteral("0,0"), mId);
        xml.addNuevaTransicion(estadoId(i), QStringLiteral("tr2"), QStringLiteral("ev_c"),
                               QStringLiteral("cuenta += 1"), estadoId(i), QStringLiteral("0,0"),
                               QStringLiteral("0,0"), mId);
    }
    xml.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(), estadoId(0),
                             QStringLiteral("0,0"), QStringLiteral("0,0"), mId);
    return xml.toByteArray();
}

QByteArray escenario()
{
    QByteArray texto = "# 50 pasos por el anillo, cada uno comprobado\n";
    for (int i = 1; i <= kPasosEvento; ++i) {
        texto += "evento ev_a\n";
        texto += "estado Anillo S" + QByteArray::number(i % kEstadosProyecto) + "\n";
    }
    return texto;
}

void llenarGrande(XmlHandler &xml)
{
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("grande"));
    for (int k = 0; k < 20; ++k) {
        const QString mId = QStringLiteral("maquina%1").arg(k);
        xml.addNuevaMaquina(mId);
        xml.addInfoMaquina(mId, QStringLiteral("MdE%1").arg(k));
        for (int i = 0; i < 250; ++i) {
            agregarEstado(xml, mId, i, QStringLiteral("ESTADO_"));
            for (int j = 0; j < 3; ++j) {
                const int n = 3 * i + j;
                const QString disparador = QStringLiteral("!(evento_%1 || evento_%2) && variable_%3 >= %4")
                                               .arg(n % 140)
                                               .arg((n + 7) % 140)
                                               .arg(i % 10)
                                               .arg(10 * j);
                xml.addNuevaTransicion(estadoId(i), QStringLiteral("tr%1").arg(j), disparador,
                                       QStringLiteral("accion_%1()").arg(n % 140),
                                       estadoId((i + j + 1) % 250), QStringLiteral("0,0"),
                                       QStringLiteral("0,0"), mId);
            }
        }
        xml.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), QString(), estadoId(0),
                                 QStringLiteral("0,0"), QStringLiteral("0,0"), mId);
    }
}

// Processor time of the finished child processes, user and system.
qint64 cpuHijos()
{
    struct rusage uso;
    getrusage(RUSAGE_CHILDREN, &uso);
    return qint64(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1000000000 +
           qint64(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) * 1000;
}

// Time this process ran, which a machine busy with other work inflates less
// than the wall clock.
qint64 tiempoCpu()
{
    return qint64(1e9 * double(std::clock()) / CLOCKS_PER_SEC);
}

qint64 mediana(QVector<qint64> tiempos)
{
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos.at(tiempos.size() / 2);
}

bool medirCheck(QTextStream &out)
{
    QTemporaryDir dir;
    QStringList args{QStringLiteral("check"), dir.filePath(QStringLiteral("anillo.escenario"))};
    QFile archivo(args.last());
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(escenario()) < 0)
        return false;
    archivo.close();
    for (int p = 0; p < kProyectos; ++p) {
        QFile proyecto(dir.filePath(QStringLiteral("alumno%1.vro").arg(p)));
        if (!proyecto.open(QIODevice::WriteOnly) || proyecto.write(proyectoAlumno(p)) < 0)
            return false;
        args.append(proyecto.fileName());
    }
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/cli/vireo-cli");
    QVector<qint64> tiempos;
    int codigo = -1;
    for (int ronda = 0; ronda < 5; ++ronda) {
        QProcess proceso;
        QElapsedTimer reloj;
        reloj.start();
        proceso.start(cli, args);
        proceso.waitForFinished(60000);
        tiempos.append(reloj.nsecsElapsed());
        codigo = proceso.exitCode();
    }
    out << "vireo-cli check, escenario de " << 2 * kPasosEvento << " pasos sobre " << kProyectos
        << " proyectos de " << kEstadosProyecto << " estados, " << QThread::idealThreadCount()
        << QStringLiteral(" núcleos: mediana ") << QString::number(mediana(tiempos) / 1e9, 'f', 3)
        << " s (objetivo 2 s); CPU de vireo-cli por corrida " << QString::number(cpuHijos() / 5e9, 'f', 3)
        << " s\n";
    return codigo == 1;
}

bool medirConflictos(QTextStream &out)
{
    XmlHandler xml(QStringLiteral("grande"), XmlHandler::NUEVO_XML_DATOS);
    llenarGrande(xml);
    const Proyecto proyecto = Proyecto::desdeDocumento(xml);
    QVector<qint64> tiempos;
    QVector<qint64> cpu;
    int conflictos = 0;
    for (int ronda = 0; ronda < 21; ++ronda) {
        QElapsedTimer reloj;
        const qint64 cpuInicio = tiempoCpu();
        reloj.start();
        const ChequeoConflictos chequeo(proyecto);
        tiempos.append(reloj.nsecsElapsed());
        cpu.append(tiempoCpu() - cpuInicio);
        conflictos = chequeo.conflictos().size();
    }
    out << "chequeo de transiciones en conflicto, 20 x 250 x 3: mediana "
        << QString::number(mediana(tiempos) / 1e6, 'f', 2) << " ms (objetivo 50 ms), CPU mediana "
        << QString::number(mediana(cpu) / 1e6, 'f', 2) << " ms, " << conflictos << " conflictos\n";
    return conflictos > 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    const bool conflictos = medirConflictos(out);
    out.flush();
    const bool check = medirCheck(out);
    return conflictos && check ? 0 : 1;
}
