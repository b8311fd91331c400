#include "generadorcodigo.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The generated C is compiled for the host and for a Cortex-M3, and run on
// the host against scripted events to check that it follows the diagram.
namespace {

const char *const kFunciones = "#include \"AP_MdeE.h\"\nvoid inicializar(void);\n";
const char *const kDepuracion =
    "void Log(int maquina, int estado, int transicion);\nvoid Inicializacion(void);\n";

// Lets the harness see, and once overwrite, the state variable that each
// switch-style machine keeps to itself.
const char *const kArnesSwitch = R"(#include <stdio.h>
static int *g_estado[2];
static int g_maquina;
static int g_forzar = -1;
static int observar(int *estado)
{
    g_estado[g_maquina] = estado;
    if (g_forzar >= 0) { *estado = g_forzar; g_forzar = -1; }
    return *estado;
}
#define switch(v) switch (observar(&(v)))
#include "AP_MdeE.c"
#undef switch
static int g_boton, g_pulso, g_encender, g_apagar, g_logs;
int boton(void) { return g_boton; }
int pulso(void) { return g_pulso; }
void encender(void) { ++g_encender; }
void apagar(void) { ++g_apagar; }
void Log(int m, int e, int t) { (void)m; (void)e; (void)t; ++g_logs; }
int main(void)
{
    int b, p, t, forzar;
    while (scanf("%d %d %d %d", &b, &p, &t, &forzar) == 4) {
        g_boton = b; g_pulso = p; temp = t;
        g_maquina = 0; g_forzar = forzar; maquina_motor();
        g_maquina = 1; maquina_luz();
        printf("%d %d %d %d %d %d\n", *g_estado[0], *g_estado[1], cuenta, g_encender, g_apagar, g_logs);
    }
    return 0;
}
)";

const char *const kArnesPuntero = R"(#include <stdio.h>
#include "AP_MdeE.c"
static int g_boton, g_pulso, g_encender, g_apagar;
int boton(void) { return g_boton; }
int pulso(void) { return g_pulso; }
void encender(void) { ++g_encender; }
void apagar(void) { ++g_apagar; }
void Log(int m, int e, int t) { (void)m; (void)e; (void)t; }
int main(void)
{
    int b, p, t, forzar;
    while (scanf("%d %d %d %d", &b, &p, &t, &forzar) == 4) {
        g_boton = b; g_pulso = p; temp = t;
        if (forzar >= 0)
            estado = forzar;
        maquina_estado();
        printf("%d %d %d %d\n", estado, cuenta, g_encender, g_apagar);
    }
    return 0;
}
)";

struct Resultado
{
    bool ok = false;
    QByteArray salida;
};

Resultado ejecutar(const QString &programa, const QStringList &argumentos,
                   const QByteArray &entrada = QByteArray())
{
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted(10000))
        return {false, "no arranca " + programa.toLocal8Bit()};
    proceso.write(entrada);
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(60000)) {
        proceso.kill();
        proceso.waitForFinished();
        return {false, "no termina " + programa.toLocal8Bit()};
    }
    return {proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0, proceso.readAll()};
}

std::unique_ptr<XmlHandler> cargar(const QString &ruta)
{
    auto datos = std::make_unique<XmlHandler>();
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly) || !datos->load(&archivo))
        return nullptr;
    return datos;
}

// Every example shipped with Vireo, then the test projects.
QStringList proyectos()
{
    QStringList rutas;
    QDirIterator ejemplos(QStringLiteral(VIREO_SOURCE_DIR "/examples"), {QStringLiteral("*.vro")},
                          QDir::Files, QDirIterator::Subdirectories);
    while (ejemplos.hasNext())
        rutas.append(ejemplos.next());
    rutas.sort();
    rutas.append(TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")));
    rutas.append(TestSupport::dataPath(QStringLiteral("codegen/una_maquina.vro")));
    return rutas;
}

} // namespace

class TstCodegenCompilar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void compila_data();
    void compila();
    void switchSigueElDiagrama();
    void punteroSigueElDiagrama();

private:
    // Generates the project into a fresh folder beside the stub headers.
    QString generar(const QString &proyecto, EstiloCodigo estilo);

    QTemporaryDir m_temporal;
    QString m_stubs;
    int m_carpetas = 0;
};

void TstCodegenCompilar::initTestCase()
{
    QVERIFY(m_temporal.isValid());
    m_stubs = m_temporal.filePath(QStringLiteral("stubs"));
    QVERIFY(QDir().mkpath(m_stubs));
    QVERIFY(TestSupport::writeFile(m_stubs + QStringLiteral("/funciones.h"), kFunciones));
    QVERIFY(TestSupport::writeFile(m_stubs + QStringLiteral("/AP_Depuracion.h"), kDepuracion));
    if (QStandardPaths::findExecutable(QStringLiteral("gcc")).isEmpty())
        QFAIL("gcc no está instalado");
}

QString TstCodegenCompilar::generar(const QString &proyecto, EstiloCodigo estilo)
{
    auto datos = cargar(proyecto);
    if (!datos)
        return QString();
    const QString carpeta = m_temporal.filePath(QStringLiteral("gen%1").arg(m_carpetas++));
    if (!GeneradorCodigo(*datos).generar(estilo, carpeta))
        return QString();
    return carpeta;
}

void TstCodegenCompilar::compila_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("compilador");
    const QStringList compiladores = {QStringLiteral("gcc"), QStringLiteral("arm-none-eabi-gcc")};
    for (const QString &proyecto : proyectos()) {
        for (const QString &compilador : compiladores) {
            const QString nombre = QFileInfo(proyecto).completeBaseName();
            QTest::addRow("%s switch %s", qPrintable(nombre), qPrintable(compilador))
                << proyecto << int(EstiloCodigo::Switch) << compilador;
            QTest::addRow("%s ptr %s", qPrintable(nombre), qPrintable(compilador))
                << proyecto << int(EstiloCodigo::PunteroAFuncion) << compilador;
        }
    }
}

void TstCodegenCompilar::compila()
{
    QFETCH(QString, proyecto);
    QFETCH(int, estilo);
    QFETCH(QString, compilador);
    const QString programa = QStandardPaths::findExecutable(compilador);
    if (programa.isEmpty())
        QSKIP("compilador no instalado");
    const QString carpeta = generar(proyecto, EstiloCodigo(estilo));
    QVERIFY(!carpeta.isEmpty());
    QStringList argumentos = {QStringLiteral("-std=c99"),
                              QStringLiteral("-Wall"),
                              QStringLiteral("-Werror=implicit-function-declaration"),
                              QStringLiteral("-c"),
                              QStringLiteral("-I") + carpeta,
                              QStringLiteral("-I") + m_stubs};
    if (compilador.startsWith(QLatin1String("arm")))
        argumentos << QStringLiteral("-mcpu=cortex-m3") << QStringLiteral("-mthumb");
    for (const QString &fuente :
         {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.c")}) {
        const Resultado r = ejecutar(
            programa, argumentos + QStringList{QStringLiteral("-o"),
                                               carpeta + QLatin1Char('/') + fuente + QStringLiteral(".o"),
                                               carpeta + QLatin1Char('/') + fuente});
        QVERIFY2(r.ok, qPrintable(fuente + QStringLiteral(":\n") + QString::fromLocal8Bit(r.salida)));
    }
}

void TstCodegenCompilar::switchSigueElDiagrama()
{
    const QString carpeta =
        generar(TestSupport::dataPath(QStringLiteral("codegen/dos_maquinas.vro")), EstiloCodigo::Switch);
    QVERIFY(!carpeta.isEmpty());
    QVERIFY(TestSupport::writeFile(carpeta + QStringLiteral("/arnes.c"), kArnesSwitch));
    const QString binario = carpeta + QStringLiteral("/arnes");
    const Resultado compilado = ejecutar(
        QStringLiteral("gcc"), {QStringLiteral("-std=c99"), QStringLiteral("-DDEPURAR"),
                                QStringLiteral("-Werror=implicit-function-declaration"),
                                QStringLiteral("-I") + carpeta, QStringLiteral("-I") + m_stubs,
                                QStringLiteral("-o"), binario, carpeta + QStringLiteral("/arnes.c")});
    QVERIFY2(compilado.ok, compilado.salida.constData());

    // Inputs per step: boton pulso temp (forced motor state or -1). LIMITE is 0.
    // Outputs: motor state, luz state, cuenta, encender calls, apagar calls, Log calls.
    const QByteArray pasos = "0 0 0 -1\n"  // nothing fires; luz loops on itself (one Log)
                             "1 0 0 -1\n"  // boton: encender(), cuenta = 0, ENCENDIDO
                             "0 1 0 -1\n"  // !boton && pulso: self-loop, cuenta 1
                             "0 1 0 -1\n"  // cuenta 2
                             "0 1 0 -1\n"  // cuenta 3, then luz: cuenta >= 3 -> CLARO, cuenta = 0
                             "0 1 5 -1\n"  // temp > LIMITE fires, then the self-loop fires too
                             "1 0 5 -1\n"  // temp > LIMITE: apagar(), APAGADO
                             "1 0 0 -1\n"  // boton again
                             "1 0 0 99\n"; // out of range: default resets to APAGADO, nothing else
    const QByteArray esperado = "0 2 0 0 0 1\n"
                                "1 2 0 1 0 3\n"
                                "1 2 1 1 0 4\n"
                                "1 2 2 1 0 5\n"
                                "1 3 0 2 1 7\n"
                                "1 3 1 2 2 9\n"
                                "0 3 1 2 3 10\n"
                                "1 3 0 3 3 11\n"
                                "0 3 0 3 3 11\n";
    const Resultado corrida = ejecutar(binario, {}, pasos);
    QVERIFY(corrida.ok);
    QVERIFY2(corrida.salida == esperado, qPrintable(TestSupport::diffReport(esperado, corrida.salida)));
}

void TstCodegenCompilar::punteroSigueElDiagrama()
{
    const QString carpeta = generar(TestSupport::dataPath(QStringLiteral("codegen/una_maquina.vro")),
                                    EstiloCodigo::PunteroAFuncion);
    QVERIFY(!carpeta.isEmpty());
    QVERIFY(TestSupport::writeFile(carpeta + QStringLiteral("/arnes.c"), kArnesPuntero));
    const QString binario = carpeta + QStringLiteral("/arnes");
    const Resultado compilado =
        ejecutar(QStringLiteral("gcc"),
                 {QStringLiteral("-std=c99"), QStringLiteral("-Werror=implicit-function-declaration"),
                  QStringLiteral("-I") + carpeta, QStringLiteral("-I") + m_stubs, QStringLiteral("-o"),
                  binario, carpeta + QStringLiteral("/arnes.c")});
    QVERIFY2(compilado.ok, compilado.salida.constData());

    // Same inputs as the switch style; outputs: state, cuenta, encender, apagar.
    const QByteArray pasos =
        "0 0 0 -1\n1 0 0 -1\n0 1 0 -1\n0 1 0 -1\n0 1 0 -1\n0 1 5 -1\n1 0 5 -1\n1 0 0 -1\n1 0 0 99\n";
    const QByteArray esperado = "0 0 0 0\n" // nothing fires
                                "1 0 1 0\n" // boton: ENCENDIDO, encender(), cuenta = 0
                                "1 1 1 0\n" // self-loop, cuenta 1
                                "1 2 1 0\n"
                                "1 3 1 0\n"
                                "1 4 1 1\n"  // temp > LIMITE fires and the self-loop after it
                                "0 4 1 2\n"  // temp > LIMITE: APAGADO
                                "1 0 2 2\n"  // boton
                                "0 0 2 2\n"; // beyond the last state: reset without running a state
    const Resultado corrida = ejecutar(binario, {}, pasos);
    QVERIFY(corrida.ok);
    QVERIFY2(corrida.salida == esperado, qPrintable(TestSupport::diffReport(esperado, corrida.salida)));
}

QTEST_GUILESS_MAIN(TstCodegenCompilar)
#include "tst_codegen_compilar.moc"
