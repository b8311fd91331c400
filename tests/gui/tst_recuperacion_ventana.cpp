// Crash recovery: a Vireo that edits a project and is killed leaves a
// recovery file that the next start offers; "Recuperar" gives back the last
// step, modified and pointing at the project's own file.
#include "archivorecuperacion.h"
#include "diagramscene.h"
#include "lectorproyecto.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const char *const kHijo = "--editar-y-esperar";

// The child: edits a project in dir, waits for the recovery file that the
// last step schedules, writes what the project held then, says so and
// waits to be killed.
int editarYEsperar(const QString &dir)
{
    MainWindow ventana;
    ventana.show();
    if (!ProyectoPrueba::crear(ventana, dir, QStringLiteral("perdido")))
        return 1;
    DiagramScene *scene = ProyectoPrueba::maquina(ventana, QStringLiteral("Control"));
    ventana.registrarPaso(QStringLiteral("Nueva máquina"));
    ProyectoPrueba::estado(scene, QStringLiteral("A"), {-100, -50});
    ventana.registrarPaso(QStringLiteral("Nuevo estado"));
    ProyectoPrueba::estado(scene, QStringLiteral("B"), {200, -50});
    ventana.registrarPaso(QStringLiteral("Nuevo estado"));
    if (!QTest::qWaitFor([&] { return QFile::exists(ventana.rutaRecuperacion()); }, 5000))
        return 2;
    if (!TestSupport::writeFile(dir + QStringLiteral("/esperado.vro"),
                                ventana.historial().actual().documento()))
        return 3;
    QTextStream(stdout) << "listo" << Qt::endl;
    QTest::qWait(60000);
    return 4;
}

} // namespace

class TstRecuperacionVentana : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void recuperarTrasUnKill();
    void unaCopiaDanadaSeDescarta();
    void guardarBorraLaCopia();
};

void TstRecuperacionVentana::cleanup()
{
    for (const ArchivoRecuperacion::Pendiente &p : ArchivoRecuperacion::pendientes())
        ArchivoRecuperacion::descartar(p);
}

void TstRecuperacionVentana::recuperarTrasUnKill()
{
    QTemporaryDir dir;
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    hijo.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kHijo), dir.path()});
    QVERIFY(hijo.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return hijo.canReadLine() || hijo.state() != QProcess::Running; }, 20000));
    QCOMPARE(hijo.readLine().trimmed(), QByteArray("listo"));
    ::kill(pid_t(hijo.processId()), SIGKILL);
    QVERIFY(hijo.waitForFinished());
    QCOMPARE(hijo.exitStatus(), QProcess::CrashExit);
    const QByteArray esperado = TestSupport::readFile(dir.filePath(QStringLiteral("esperado.vro")));
    QVERIFY(esperado.contains("<nombre>B</nombre>"));

    MainWindow ventana;
    ventana.show();
    ModalScript script;
    script.thenClick(QStringLiteral("Recuperar"));
    ventana.ofrecerRecuperacion();
    QCOMPARE(script.titulos(), QStringList{QStringLiteral("Recuperar Proyecto")});
    QVERIFY(script.textos().value(0).contains(dir.filePath(QStringLiteral("perdido.vro"))));

    // Compared as read back: an empty value set in memory is written
    // "<autores></autores>" and reads back as "<autores/>".
    ventana.sincronizarDocumento();
    QCOMPARE(ventana.documento()->toByteArray(), LectorProyecto::leerBytes(esperado, nullptr)->toByteArray());
    QVERIFY(ventana.isModificado());
    QCOMPARE(ventana.tituloProyecto(), QStringLiteral("Vireo | Alderhall - perdido*"));
    QCOMPARE(ventana.sceneList().value(0)->itemList().size(), 2);
    // Only this session's own copy is left, and the next start offers nothing.
    QVERIFY(QFile::exists(ventana.rutaRecuperacion()));
    QVERIFY(ArchivoRecuperacion::pendientes().isEmpty());
    // "Guardar" writes the project's own file.
    QVERIFY(ventana.guardarDatos());
    QVERIFY(
        TestSupport::readFile(dir.filePath(QStringLiteral("perdido.vro"))).contains("<nombre>B</nombre>"));
    QVERIFY(!QFile::exists(ventana.rutaRecuperacion()));
}

void TstRecuperacionVentana::unaCopiaDanadaSeDescarta()
{
    const QString carpeta = ArchivoRecuperacion::carpetaPorDefecto();
    QVERIFY(QDir().mkpath(carpeta));
    const QString ruta = carpeta + QStringLiteral("/recuperacion-1-1-1.vrec");
    QVERIFY(TestSupport::writeFile(
        ruta, ArchivoRecuperacion::componer(QStringLiteral("/a/roto.vro"), "<proyecto>")));
    MainWindow ventana;
    ModalScript script;
    script.thenClick(QStringLiteral("Descartar"));
    ventana.ofrecerRecuperacion();
    QVERIFY2(script.textos().value(0).contains(QStringLiteral("Motivo: el proyecto que guarda está dañado")),
             qPrintable(script.textos().value(0)));
    QVERIFY(!QFile::exists(ruta));
    QVERIFY(!ventana.documento());
}

void TstRecuperacionVentana::guardarBorraLaCopia()
{
    QTemporaryDir dir;
    MainWindow ventana;
    QVERIFY(ProyectoPrueba::crear(ventana, dir.path(), QStringLiteral("p")));
    ProyectoPrueba::maquina(ventana, QStringLiteral("M"));
    ventana.registrarPaso(QStringLiteral("Nueva máquina"));
    QVERIFY(!QFile::exists(ventana.rutaRecuperacion()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ventana.rutaRecuperacion()), 3000);
    // Never over the user's file.
    QVERIFY(!ventana.rutaRecuperacion().startsWith(dir.path()));
    QVERIFY(ventana.guardarDatos());
    QVERIFY(!QFile::exists(ventana.rutaRecuperacion()));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kHijo) == 0)
        return editarYEsperar(QString::fromLocal8Bit(argv[2]));
    TstRecuperacionVentana prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_recuperacion_ventana.moc"
