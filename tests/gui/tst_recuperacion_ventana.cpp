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

#include <QListWidget>
#include <QProcess>
#include <QPushButton>
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

// Answers the recovery list: records its rows, then clicks boton on the
// selected one.
ModalScript::Handler responder(QStringList *filas, const char *boton)
{
    return [=](QWidget *w) {
        auto *lista = w->findChild<QListWidget *>(QStringLiteral("listWidgetCopias"));
        for (int i = 0; i < lista->count(); ++i)
            *filas << lista->item(i)->text();
        w->findChild<QPushButton *>(QLatin1String(boton))->click();
    };
}

// A recovery copy left by a session that is gone, dated fecha.
QString copia(const QString &nombre, const QString &original, const QByteArray &proyecto,
              const QDateTime &fecha)
{
    const QString ruta = ArchivoRecuperacion::carpetaPorDefecto() + QLatin1Char('/') + nombre;
    QFile archivo(ruta);
    if (!QDir().mkpath(ArchivoRecuperacion::carpetaPorDefecto()) || !archivo.open(QIODevice::WriteOnly) ||
        archivo.write(ArchivoRecuperacion::componer(original, proyecto)) < 0 || !archivo.flush() ||
        !archivo.setFileTime(fecha, QFileDevice::FileModificationTime))
        return QString();
    return ruta;
}

} // namespace

class TstRecuperacionVentana : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void recuperarTrasUnKill();
    void variasCopias();
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
    QStringList filas;
    ModalScript script;
    script.then(responder(&filas, "pushButtonRecuperar"));
    ventana.ofrecerRecuperacion();
    QCOMPARE(filas.size(), 1);
    QVERIFY(filas.first().startsWith(dir.filePath(QStringLiteral("perdido.vro"))));

    // Compared as read back: an empty value set in memory is written
    // "<autores></autores>" and reads back as "<autores/>".
    ventana.sincronizarDocumento();
    QCOMPARE(ventana.documento()->toByteArray(), LectorProyecto::leerBytes(esperado, nullptr)->toByteArray());
    QVERIFY(ventana.isModificado());
    QCOMPARE(ventana.tituloProyecto(), QStringLiteral("Vireo | Alderhall - perdido*"));
    QCOMPARE(ventana.sceneList().value(0)->itemList().size(), 2);
    // Only this session's own copy is left, never over the user's file, and
    // the next start offers nothing.
    QVERIFY(QFile::exists(ventana.rutaRecuperacion()));
    QVERIFY(!ventana.rutaRecuperacion().startsWith(dir.path()));
    QVERIFY(ArchivoRecuperacion::pendientes().isEmpty());
    // "Guardar" writes the project's own file.
    QVERIFY(ventana.guardarDatos());
    QVERIFY(
        TestSupport::readFile(dir.filePath(QStringLiteral("perdido.vro"))).contains("<nombre>B</nombre>"));
    QVERIFY(!QFile::exists(ventana.rutaRecuperacion()));
}

// Three copies left by crashed sessions, one of them damaged: all are listed,
// oldest first; the damaged one cannot be recovered but can be discarded;
// recovering one opens it and keeps the other for the next start.
void TstRecuperacionVentana::variasCopias()
{
    QTemporaryDir dir;
    XmlHandler xml(QStringLiteral("uno"), XmlHandler::NUEVO_XML_DATOS);
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("uno"));
    xml.setContenidoGeneral(QStringLiteral("carpeta"), dir.path());
    QStringList copias;
    for (int i = 0; i < 3; ++i) {
        if (i == 2) {
            xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("dos"));
            xml.addNuevoEvento(QStringLiteral("ev"));
        }
        const QString original =
            i == 1 ? QStringLiteral("/a/roto.vro")
                   : dir.filePath(xml.getContenidoGeneral(QStringLiteral("nombre")) + ".vro");
        copias << copia(QStringLiteral("recuperacion-%1-1-1.vrec").arg(i), original,
                        i == 1 ? "<proyecto>" : xml.toByteArray(),
                        QDateTime::currentDateTime().addSecs(100 * (i - 3)));
        QVERIFY(!copias.last().isEmpty());
    }

    MainWindow ventana;
    ventana.show();
    QStringList filas;
    QStringList despues;
    ModalScript script;
    script.then([&](QWidget *w) {
        auto *lista = w->findChild<QListWidget *>(QStringLiteral("listWidgetCopias"));
        auto *recuperar = w->findChild<QPushButton *>(QStringLiteral("pushButtonRecuperar"));
        QCOMPARE(lista->currentRow(), 2);
        lista->setCurrentRow(1);
        QVERIFY(!recuperar->isEnabled());
        lista->setCurrentRow(0);
        QVERIFY(recuperar->isEnabled());
        lista->setCurrentRow(1);
        responder(&filas, "pushButtonDescartar")(w);
        QCOMPARE(lista->currentRow(), 1);
        responder(&despues, "pushButtonRecuperar")(w);
    });
    ventana.ofrecerRecuperacion();
    QCOMPARE(filas.size(), 3);
    QVERIFY2(filas.at(0).startsWith(dir.filePath(QStringLiteral("uno.vro"))), qPrintable(filas.at(0)));
    QVERIFY2(filas.at(1).contains(QStringLiteral("Motivo: el proyecto que guarda está dañado")),
             qPrintable(filas.at(1)));
    QVERIFY(filas.at(2).startsWith(dir.filePath(QStringLiteral("dos.vro"))));
    QCOMPARE(despues, (QStringList{filas.at(0), filas.at(2)}));
    QVERIFY(!QFile::exists(copias.at(1)));

    QCOMPARE(ventana.documento()->getNombresEventosDefinidos(), QStringList{QStringLiteral("ev")});
    QCOMPARE(ventana.tituloProyecto(), QStringLiteral("Vireo | Alderhall - dos*"));
    QVERIFY(!QFile::exists(copias.at(2)));
    const QList<ArchivoRecuperacion::Pendiente> quedan = ArchivoRecuperacion::pendientes();
    QCOMPARE(quedan.size(), 1);
    QCOMPARE(quedan.first().ruta, copias.at(0));

    // "Conservar" keeps it for the next start.
    MainWindow otra;
    ModalScript conservar;
    conservar.then(responder(&filas, "pushButtonConservar"));
    otra.ofrecerRecuperacion();
    QCOMPARE(conservar.pendientes(), 0);
    QVERIFY(!otra.documento());
    QVERIFY(QFile::exists(copias.at(0)));
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
