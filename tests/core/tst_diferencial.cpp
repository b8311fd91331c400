#include "descripcionproyecto.h"
#include "generadorcodigo.h"
#include "programac.h"
#include "proyecto.h"
#include "reduccionproyecto.h"
#include "simulacionc.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// The engine's C mode against the generated C itself: every project is
// generated, compiled with gcc and stepped by ProgramaC's driver, and each
// step's trace (the state of every machine, the actions called in order, the
// variables) must be the engine's. All the projects go into one program, so
// that one gcc run compiles them all. A disagreement is reported with the
// smallest project that still shows it, each candidate compiled on its own.
namespace {

const int kAleatorios = 200;
const int kPasos = 14;

struct Caso
{
    QString nombre;
    QByteArray xml;
    DescripcionProyecto proyecto;
    // Per step, the indices of the true events.
    QVector<QVector<int>> pasos;
    quint32 semilla = 0;
};

std::unique_ptr<XmlHandler> documento(const QByteArray &xml)
{
    auto datos = std::make_unique<XmlHandler>();
    return TestSupport::cargar(*datos, xml) ? std::move(datos) : nullptr;
}

Proyecto modelo(const QByteArray &xml)
{
    const auto datos = documento(xml);
    return datos ? Proyecto::desdeDocumento(*datos) : Proyecto();
}

// --- Random projects ---

class Generador
{
public:
    explicit Generador(quint32 semilla) : m_azar(semilla) {}

    DescripcionProyecto proyecto()
    {
        DescripcionProyecto p;
        p.eventos = QStringList{"ev0", "ev1", "ev2", "ev3"};
        p.acciones = QStringList{"ac0()", "ac1()", "ac2()"};
        p.variables = QStringList{"v0", "v1", "v2"};
        const int maquinas = 1 + entero(4);
        for (int k = 0; k < maquinas; ++k) {
            DescripcionProyecto::Maquina m;
            m.nombre = QStringLiteral("M%1").arg(k);
            const int estados = 1 + entero(4);
            m.inicial = entero(estados);
            m.accionesIniciales = acciones(2);
            for (int i = 0; i < estados; ++i) {
                DescripcionProyecto::Estado e;
                e.nombre = QStringLiteral("M%1E%2").arg(k).arg(i);
                const int transiciones = entero(4);
                for (int j = 0; j < transiciones; ++j)
                    e.transiciones.append({disparador(2), acciones(3), entero(estados)});
                m.estados.append(e);
            }
            p.maquinas.append(m);
        }
        return p;
    }

    QVector<QVector<int>> pasos(int eventos)
    {
        QVector<QVector<int>> resultado;
        for (int n = 0; n < kPasos; ++n) {
            QVector<int> verdaderos;
            for (int e = 0; e < eventos; ++e) {
                if (entero(3) == 0)
                    verdaderos.append(e);
            }
            resultado.append(verdaderos);
        }
        return resultado;
    }

private:
    int entero(int tope) { return int(m_azar.bounded(quint32(tope))); }

    QString valor()
    {
        static const QStringList valores{"0", "1", "2", "3", "-1", "TRUE", "FALSE", "v0", "v1"};
        return valores.at(entero(valores.size()));
    }

    QString hoja()
    {
        static const QStringList comparadores{"==", "!=", ">", "<", ">=", "<="};
        QString texto = entero(2) ? QStringLiteral("ev%1").arg(entero(4))
                                  : QStringLiteral("v%1 %2 %3")
                                        .arg(entero(3))
                                        .arg(comparadores.at(entero(comparadores.size())), valor());
        return entero(5) == 0 ? QStringLiteral("!") + texto : texto;
    }

    QString disparador(int profundidad)
    {
        if (profundidad == 0 || entero(2) == 0)
            return hoja();
        const QString conector = entero(2) ? QStringLiteral(" && ") : QStringLiteral(" || ");
        QString izquierdo = disparador(profundidad - 1);
        if (izquierdo.contains(QLatin1Char(' ')) && entero(2))
            izquierdo = QStringLiteral("(") + izquierdo + QStringLiteral(")");
        return izquierdo + conector + disparador(profundidad - 1);
    }

    QString acciones(int maximo)
    {
        static const QStringList asignadores{"=", "+=", "-=", "*="};
        QStringList entradas;
        const int cantidad = entero(maximo + 1);
        for (int i = 0; i < cantidad; ++i) {
            const int tipo = entero(4);
            if (tipo == 0)
                entradas << QStringLiteral("ac%1()").arg(entero(3));
            else if (tipo == 1)
                entradas << QStringLiteral("v%1 %2 %3")
                                .arg(entero(3))
                                .arg(entero(2) ? "/=" : "%=")
                                .arg(2 + entero(2));
            else
                entradas
                    << QStringLiteral("v%1 %2 %3").arg(entero(3)).arg(asignadores.at(entero(4)), valor());
        }
        return entradas.join(QLatin1Char(','));
    }

    QRandomGenerator m_azar;
};

// --- The engine's trace ---

QString nombreAccion(const QString &entrada)
{
    const int parentesis = entrada.indexOf(QLatin1Char('('));
    return (parentesis < 0 ? entrada : entrada.left(parentesis)).trimmed();
}

// One line per step: the states (all machines, or the first alone), " |",
// each action called, " |", each catalogue variable as NAME=VALUE.
QByteArray trazaMotor(const Proyecto &proyecto, const QVector<QVector<int>> &pasos, bool soloPrimera)
{
    SimulacionC simulacion(proyecto);
    QByteArray traza;
    for (const QVector<int> &eventos : pasos) {
        QVector<bool> verdaderos(simulacion.eventos().size(), false);
        for (int e : eventos)
            verdaderos[simulacion.indiceEvento(proyecto.eventos().at(e))] = true;
        QString acciones;
        for (const PasoMaquina &paso : simulacion.paso(verdaderos)) {
            if (soloPrimera && paso.maquina > 0)
                continue;
            const Maquina &m = proyecto.maquina(paso.maquina);
            const ListaAcciones &lista =
                paso.esReset() ? m.inicial.acciones
                               : m.estados.at(paso.origen).transiciones.at(paso.transicion).acciones;
            for (const ListaAcciones::Entrada &entrada : lista.entradas()) {
                if (entrada.tipo == ListaAcciones::Llamada)
                    acciones += QLatin1Char(' ') + nombreAccion(entrada.texto);
            }
        }
        QStringList estados;
        for (int k = 0; k < (soloPrimera ? 1 : proyecto.cantidadMaquinas()); ++k)
            estados << proyecto.maquina(k).estados.at(simulacion.estadoActual(k)).nombre.toUpper();
        QString linea =
            estados.join(QLatin1Char(' ')) + QStringLiteral(" |") + acciones + QStringLiteral(" |");
        for (const QString &variable : proyecto.variables())
            linea += QStringLiteral(" %1=%2").arg(variable).arg(
                simulacion.valor(simulacion.indiceVariable(variable)));
        traza += linea.toLatin1() + '\n';
    }
    return traza;
}

// --- The C side ---

// The steps as ProgramaC's driver reads them: the names of the true events.
QByteArray entrada(const QStringList &eventos, const QVector<QVector<int>> &pasos)
{
    QByteArray texto;
    for (const QVector<int> &verdaderos : pasos) {
        QStringList nombres;
        for (int e : verdaderos)
            nombres << eventos.at(e);
        texto += (nombres.isEmpty() ? QStringLiteral("-") : nombres.join(QLatin1Char(' '))).toLatin1() + '\n';
    }
    return texto;
}

QByteArray trazaCompilada(const DescripcionProyecto &proyecto, const QVector<QVector<int>> &pasos,
                          bool punteros)
{
    QTemporaryDir dir;
    const auto datos = documento(proyecto.xml());
    TestSupport::ProgramaC programa;
    if (!datos || !programa.compilar(*datos, punteros ? EstiloCodigo::PunteroAFuncion : EstiloCodigo::Switch,
                                     dir.path()))
        return QByteArray();
    return programa.correr(entrada(proyecto.eventos, pasos));
}

// The case, how to repeat it, and the smallest project found on which the
// engine and the generated C still disagree, with both traces' difference.
QString informe(const Caso &caso, bool punteros)
{
    const auto discrepa = [&](const DescripcionProyecto &p) {
        const QByteArray c = trazaCompilada(p, caso.pasos, punteros);
        return !c.isEmpty() && c != trazaMotor(modelo(p.xml()), caso.pasos, punteros);
    };
    const QString titulo =
        QStringLiteral("%1, estilo %2 (VIREO_SEMILLA=%3 lo repite): el motor y el C discrepan")
            .arg(caso.nombre, punteros ? "puntero" : "switch", QString::number(caso.semilla));
    if (!discrepa(caso.proyecto))
        return titulo + QStringLiteral(" (no compilado aparte); el proyecto:\n") +
               QString::fromUtf8(caso.xml);
    const DescripcionProyecto menor = TestSupport::reducirProyecto(caso.proyecto, discrepa);
    const QByteArray xml = menor.xml();
    return titulo + QStringLiteral(".\n%1\nproyecto más pequeño con la discrepancia:\n%2")
                        .arg(TestSupport::diffReport(trazaMotor(modelo(xml), caso.pasos, punteros),
                                                     trazaCompilada(menor, caso.pasos, punteros)),
                             QString::fromUtf8(xml));
}

} // namespace

class TestDiferencial : public QObject
{
    Q_OBJECT

private:
    QVector<Caso> casos() const
    {
        QVector<Caso> lista;
        const QStringList archivos{QStringLiteral(VIREO_SOURCE_DIR "/examples/puerta.vro"),
                                   QStringLiteral(VIREO_SOURCE_DIR "/examples/pulsador.vro"),
                                   QStringLiteral(VIREO_SOURCE_DIR "/examples/semaforo.vro"),
                                   QStringLiteral(VIREO_SOURCE_DIR "/examples/semaforo_simple/SEMAFORO.vro"),
                                   TestSupport::dataPath("simulacion/SIM.vro")};
        const quint32 base = qEnvironmentVariableIsSet("VIREO_SEMILLA")
                                 ? quint32(qEnvironmentVariableIntValue("VIREO_SEMILLA"))
                                 : quint32(QDateTime::currentMSecsSinceEpoch());
        qInfo("Semilla base: %u (VIREO_SEMILLA=%u repite esta corrida)", base, base);
        for (const QString &archivo : archivos) {
            Caso caso;
            caso.nombre = QFileInfo(archivo).fileName();
            caso.xml = TestSupport::readFile(archivo);
            caso.proyecto = TestSupport::descripcionDe(modelo(caso.xml));
            caso.semilla = base;
            caso.pasos = Generador(base).pasos(modelo(caso.xml).eventos().size());
            lista.append(caso);
        }
        for (int n = 0; n < kAleatorios; ++n) {
            Caso caso;
            caso.semilla = base + quint32(n);
            Generador generador(caso.semilla);
            caso.proyecto = generador.proyecto();
            caso.xml = caso.proyecto.xml();
            caso.pasos = generador.pasos(4);
            caso.nombre = QStringLiteral("semilla %1").arg(caso.semilla);
            lista.append(caso);
        }
        return lista;
    }

private slots:
    void motorYCodigoC()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QVector<Caso> lista = casos();
        std::vector<std::unique_ptr<XmlHandler>> documentos;
        QVector<TestSupport::ProgramaC::Corrida> corridas;
        QVector<QPair<const Caso *, bool>> deCorrida; // the case, and whether in the pointer style
        QList<QByteArray> esperadas;
        for (const Caso &caso : lista) {
            documentos.push_back(documento(caso.xml));
            QVERIFY2(documentos.back(), qPrintable(caso.nombre));
            const Proyecto proyecto = Proyecto::desdeDocumento(*documentos.back());
            for (bool punteros : {false, true}) {
                if (punteros && proyecto.cantidadMaquinas() != 1)
                    continue;
                corridas.append({documentos.back().get(),
                                 punteros ? EstiloCodigo::PunteroAFuncion : EstiloCodigo::Switch,
                                 entrada(proyecto.eventos(), caso.pasos)});
                deCorrida.append({&caso, punteros});
                esperadas.append(trazaMotor(proyecto, caso.pasos, punteros));
            }
        }
        QString error;
        const QList<QByteArray> trazas = TestSupport::ProgramaC::correrVarias(corridas, dir.path(), &error);
        QVERIFY2(trazas.size() == corridas.size(), qPrintable(error));
        for (int i = 0; i < trazas.size(); ++i) {
            if (trazas.at(i) != esperadas.at(i))
                QFAIL(qPrintable(informe(*deCorrida.at(i).first, deCorrida.at(i).second)));
        }
    }
};

QTEST_GUILESS_MAIN(TestDiferencial)
#include "tst_diferencial.moc"
