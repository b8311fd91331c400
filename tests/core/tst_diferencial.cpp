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
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// The engine's C mode against the generated C itself: every project is
// generated, compiled with gcc and stepped by a driver, and each step's
// trace (the state of every machine, the actions called in order, the
// variables) must be the engine's. Many projects go into one program, so
// that one gcc run compiles them all: each project's names are renamed
// apart with macros. A disagreement is reported with the smallest project
// that still shows it, each candidate compiled on its own.
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

// The piece of a C unit that compiles one project's generated C under names
// of its own and steps it: <prefijo>_correr() prints the same trace as
// trazaMotor. Every name it defines is undefined at its end, so that the
// next project's piece can follow in the same unit.
QByteArray unidadC(const QString &carpeta, const QString &prefijo, const Proyecto &proyecto,
                   const QVector<QVector<int>> &pasos, bool punteros)
{
    QStringList globales{"arrayFunciones", "maquina_estado", "estado", "Log",
                         "Inicializacion", "inicializar"};
    globales += proyecto.eventos();
    globales += proyecto.variables();
    for (const QString &accion : proyecto.acciones())
        globales << nombreAccion(accion);
    for (const Maquina &m : proyecto.maquinas()) {
        globales << QStringLiteral("maquina_") + m.nombre;
        for (const Estado &e : m.estados)
            globales << QStringLiteral("funcion_") + e.nombre.toUpper();
    }
    globales << "observado"
             << "maquinaActual"
             << "observar"
             << "verdadero";
    QByteArray c = "#undef INC_MDEE_H_\n#undef INC_AP_FUNCIONESMDEE_H_\n";
    for (const QString &nombre : globales)
        c += QStringLiteral("#define %1 %2_%1\n").arg(nombre, prefijo).toLatin1();
    const int maquinas = punteros ? 1 : proyecto.cantidadMaquinas();
    c += QStringLiteral(
             "static int *observado[%1];\nstatic int maquinaActual;\n"
             "static int observar(int *estado) { observado[maquinaActual] = estado; return *estado; }\n"
             "#define switch(v) switch (observar(&(v)))\n#include \"%2/AP_MdeE.c\"\n#undef switch\n"
             "void Log(int m, int e, int t) { (void)m; (void)e; (void)t; }\n"
             "static int verdadero[%3];\n")
             .arg(maquinas)
             .arg(carpeta)
             .arg(proyecto.eventos().size() + 1)
             .toLatin1();
    for (int e = 0; e < proyecto.eventos().size(); ++e)
        c += QStringLiteral("int %1(void) { return verdadero[%2]; }\n")
                 .arg(proyecto.eventos().at(e))
                 .arg(e)
                 .toLatin1();
    for (const QString &accion : proyecto.acciones())
        c += QStringLiteral("void %1(void) { printf(\" %1\"); }\n").arg(nombreAccion(accion)).toLatin1();
    c += QStringLiteral("void %1_correr(void)\n{\n    printf(\"#%1\\n\");\n").arg(prefijo).toLatin1();
    for (const QVector<int> &eventos : pasos) {
        c += "    for (int e = 0; e < (int)sizeof verdadero / (int)sizeof *verdadero; ++e) verdadero[e] = "
             "0;\n";
        for (int e : eventos)
            c += QStringLiteral("    verdadero[%1] = 1;\n").arg(e).toLatin1();
        c += "    printf(\"@\");\n";
        if (punteros) {
            c += "    maquina_estado();\n    observado[0] = &estado;\n";
        } else {
            for (int k = 0; k < maquinas; ++k)
                c += QStringLiteral("    maquinaActual = %1; maquina_%2();\n")
                         .arg(k)
                         .arg(proyecto.maquina(k).nombre)
                         .toLatin1();
        }
        c += "    printf(\"\\n\");\n";
        // AP_MdeE.h numbers the states of all machines in one sequence.
        int numero = 0;
        for (int k = 0; k < maquinas; ++k) {
            c += "    switch (*observado[" + QByteArray::number(k) + "]) {\n";
            for (int i = 0; i < proyecto.maquina(k).estados.size(); ++i) {
                const QByteArray nombre = proyecto.maquina(k).estados.at(i).nombre.toUpper().toLatin1();
                c += "    case " + QByteArray::number(numero++) + ": printf(\"%s" + nombre + "\", \"" +
                     (k ? " " : "") + "\"); break;\n";
            }
            c += "    default: printf(\" ?%d\", *observado[" + QByteArray::number(k) + "]);\n    }\n";
        }
        c += "    printf(\" |\");\n";
        for (const QString &variable : proyecto.variables())
            c += QStringLiteral("    printf(\" %1=%d\", %1);\n").arg(variable).toLatin1();
        c += "    printf(\"\\n\");\n";
    }
    c += "}\n";
    for (const QString &nombre : globales)
        c += "#undef " + nombre.toLatin1() + '\n';
    return c;
}

bool escribirProyectoC(const QString &carpeta, const XmlHandler &datos, EstiloCodigo estilo)
{
    if (!QDir().mkpath(carpeta))
        return false;
    const GeneradorCodigo generador(datos);
    for (const auto &archivo : generador.archivos(estilo)) {
        if (!TestSupport::writeFile(carpeta + QLatin1Char('/') + archivo.first, archivo.second.toLatin1()))
            return false;
    }
    return TestSupport::writeFile(carpeta + QStringLiteral("/AP_Depuracion.h"),
                                  "void Log(int maquina, int estado, int transicion);\n");
}

// The C prints "@" before the machines run and the actions as they are
// called, then the states: this puts each step in the engine's order.
QByteArray ordenarTraza(const QByteArray &salida)
{
    QByteArray traza;
    const QList<QByteArray> lineas = salida.split('\n');
    for (int i = 0; i + 1 < lineas.size(); i += 2) {
        const QByteArray acciones = lineas.at(i).mid(1);
        const QByteArray resto = lineas.at(i + 1);
        const int barra = resto.indexOf(" |");
        traza += resto.left(barra) + " |" + acciones + resto.mid(barra) + '\n';
    }
    return traza;
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
    QByteArray entrada;
    for (const QVector<int> &eventos : pasos) {
        QStringList nombres;
        for (int e : eventos)
            nombres << proyecto.eventos.at(e);
        entrada +=
            (nombres.isEmpty() ? QStringLiteral("-") : nombres.join(QLatin1Char(' '))).toLatin1() + '\n';
    }
    return programa.correr(entrada);
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
        // A few large units: gcc's cost is mostly per unit.
        const int kUnidades = 8;
        QVector<QByteArray> textos(kUnidades, QByteArray("#include <stdio.h>\n"));
        int siguiente = 0;
        QByteArray principal = "#include <stdio.h>\n";
        QByteArray llamadas;
        QHash<QString, QByteArray> esperadas;
        QHash<QString, const Caso *> deUnidad;
        for (int n = 0; n < lista.size(); ++n) {
            const Caso &caso = lista.at(n);
            const auto datos = documento(caso.xml);
            QVERIFY2(datos, qPrintable(caso.nombre));
            const Proyecto proyecto = Proyecto::desdeDocumento(*datos);
            for (bool punteros : {false, true}) {
                if (punteros && proyecto.cantidadMaquinas() != 1)
                    continue;
                const QString prefijo = QStringLiteral("%1%2").arg(punteros ? "q" : "p").arg(n);
                const EstiloCodigo estilo = punteros ? EstiloCodigo::PunteroAFuncion : EstiloCodigo::Switch;
                QVERIFY(escribirProyectoC(dir.filePath(prefijo), *datos, estilo));
                textos[siguiente++ % kUnidades] += unidadC(prefijo, prefijo, proyecto, caso.pasos, punteros);
                principal += "void " + prefijo.toLatin1() + "_correr(void);\n";
                llamadas += "    " + prefijo.toLatin1() + "_correr();\n";
                esperadas.insert(prefijo, trazaMotor(proyecto, caso.pasos, punteros));
                deUnidad.insert(prefijo, &caso);
            }
        }
        principal += "int main(void)\n{\n" + llamadas + "    return 0;\n}\n";
        QVERIFY(TestSupport::writeFile(dir.filePath("main.c"), principal));
        QStringList unidades;
        for (int u = 0; u < kUnidades; ++u) {
            unidades << dir.filePath(QStringLiteral("unidad%1.c").arg(u));
            QVERIFY(TestSupport::writeFile(unidades.last(), textos.at(u)));
        }

        // Two compilers side by side, each with half of the units.
        QProcess gcc[2];
        for (int i = 0; i < 2; ++i) {
            QStringList args{"-w", "-O0", "-c"};
            for (int u = i; u < unidades.size(); u += 2)
                args << unidades.at(u);
            gcc[i].setWorkingDirectory(dir.path());
            gcc[i].setProcessChannelMode(QProcess::MergedChannels);
            gcc[i].start("gcc", args);
        }
        for (QProcess &proceso : gcc) {
            QVERIFY(proceso.waitForFinished(120000));
            QVERIFY2(proceso.exitCode() == 0, proceso.readAll().left(4000).constData());
        }
        QStringList objetos{"main.c", "-o", "diferencial"};
        for (const QString &unidad : unidades)
            objetos << QFileInfo(unidad).completeBaseName() + QStringLiteral(".o");
        QProcess enlace;
        enlace.setWorkingDirectory(dir.path());
        enlace.setProcessChannelMode(QProcess::MergedChannels);
        enlace.start("gcc", objetos);
        QVERIFY(enlace.waitForFinished(60000));
        QVERIFY2(enlace.exitCode() == 0, enlace.readAll().left(4000).constData());

        QProcess programa;
        programa.start(dir.filePath("diferencial"), QStringList());
        QVERIFY(programa.waitForFinished(60000));
        const QByteArray salida = programa.readAllStandardOutput();
        int comparadas = 0;
        for (const QByteArray &seccion : salida.split('#')) {
            if (seccion.isEmpty())
                continue;
            const int fin = seccion.indexOf('\n');
            const QString prefijo = QString::fromLatin1(seccion.left(fin));
            const QByteArray traza = ordenarTraza(seccion.mid(fin + 1));
            const Caso *caso = deUnidad.value(prefijo);
            QVERIFY(caso);
            if (traza != esperadas.value(prefijo))
                QFAIL(qPrintable(informe(*caso, prefijo.startsWith('q'))));
            ++comparadas;
        }
        QCOMPARE(comparadas, esperadas.size());
    }
};

QTEST_GUILESS_MAIN(TestDiferencial)
#include "tst_diferencial.moc"
