#include "mainwindow.h"
#include "modalscript.h"
#include "testsupport.h"

#include <QAction>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QSettings ajustes()
{
    return QSettings(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
}

QStringList textos(QMenu *menu)
{
    QStringList lista;
    for (QAction *accion : menu->actions())
        lista << accion->text();
    return lista;
}

} // namespace

// Vireo as a desktop program: recent projects and the folder "Abrir Proyecto"
// starts in, the transitions table kept as the user left it, and a project
// given on the command line.
class TstEscritorio : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings settings = ajustes();
        settings.clear();
        settings.sync();
        for (const char *nombre : {"uno", "dos"}) {
            QVERIFY(QDir().mkpath(m_dir.filePath(nombre)));
            QVERIFY(QFile::copy(TestSupport::dataPath("lifecycle/puerta.vro"), proyecto(nombre)));
        }
    }
    void cleanup()
    {
        for (const char *nombre : {"uno", "dos"})
            QDir(m_dir.filePath(nombre)).removeRecursively();
    }

    void recientes()
    {
        QStringList viejos;
        for (int i = 0; i < 9; ++i)
            viejos << m_dir.filePath(QString("viejo%1.vro").arg(i));
        ajustes().setValue("proyectosRecientes", viejos);
        MainWindow ventana;
        auto *menu = ventana.findChild<QMenu *>("menuProyectosRecientes");
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 9);

        QVERIFY(ventana.abrirProyecto(proyecto("uno")));
        QVERIFY(ventana.abrirProyecto(proyecto("dos")));
        QCOMPARE(ventana.proyectosRecientes().size(), MainWindow::MAX_RECIENTES);
        QCOMPARE(ventana.proyectosRecientes().mid(0, 3),
                 (QStringList{proyecto("dos"), proyecto("uno"), viejos.at(0)}));
        QCOMPARE(textos(menu).mid(0, 2), (QStringList{"&1 puerta.vro", "&2 puerta.vro"}));

        // A recent entry opens its project (the open one is unmodified).
        menu->actions().at(1)->trigger();
        QCOMPARE(ventana.proyectosRecientes().first(), proyecto("uno"));

        // A file that is gone is removed, with a message.
        ModalScript guion;
        guion.thenDismiss();
        menu->actions().at(2)->trigger();
        QCOMPARE(guion.pendientes(), 0);
        QCOMPARE(guion.titulos(), QStringList("Proyectos recientes"));
        QVERIFY(guion.textos().first().contains(QDir::toNativeSeparators(viejos.at(0))));
        QVERIFY(!ventana.proyectosRecientes().contains(viejos.at(0)));
        QCOMPARE(menu->actions().size(), MainWindow::MAX_RECIENTES - 1);

        // "Abrir Proyecto" starts in the folder of the last project opened.
        QString carpeta;
        ModalScript abrir;
        abrir.then([&carpeta](QWidget *w) {
            auto *fd = qobject_cast<QFileDialog *>(w);
            carpeta = fd ? fd->directory().absolutePath() : QString();
            w->close();
        });
        ventana.findChild<QAction *>("actionAbrirProyecto")->trigger();
        QCOMPARE(carpeta, m_dir.filePath("uno"));
    }

    // Shown by default; hidden by the user, it stays hidden in the next session.
    void tablaDeTransiciones()
    {
        {
            MainWindow ventana;
            ventana.show();
            QVERIFY(ventana.abrirProyecto(proyecto("uno")));
            auto *tabla = ventana.findChild<QDockWidget *>("dockWidgetTransiciones");
            QVERIFY(tabla->isVisible());
            tabla->toggleViewAction()->trigger();
            QVERIFY(!tabla->isVisible());
            ventana.close();
        }
        MainWindow ventana;
        ventana.show();
        QVERIFY(ventana.abrirProyecto(proyecto("uno")));
        auto *tabla = ventana.findChild<QDockWidget *>("dockWidgetTransiciones");
        QVERIFY(!tabla->isVisible());
        tabla->toggleViewAction()->trigger();
        QVERIFY(ajustes().value("tablaTransicionesVisible").toBool());
    }

    // `vireo PROYECTO.vro` opens it: the run lists it among the recent projects.
    void abrirDesdeLaLineaDeComandos()
    {
        QTemporaryDir config;
        QProcess vireo;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("XDG_CONFIG_HOME", config.path());
        entorno.insert("QT_QPA_PLATFORM", "offscreen");
        vireo.setProcessEnvironment(entorno);
        vireo.start(QStringLiteral(VIREO_GUI), {proyecto("uno")});
        QVERIFY(vireo.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QSettings(config.filePath("Alderhall/vireo.conf"), QSettings::IniFormat)
                                         .value("proyectosRecientes")
                                         .toStringList() == QStringList(proyecto("uno")),
                                 20000);
        vireo.kill();
        vireo.waitForFinished();
    }

private:
    QString proyecto(const QString &carpeta) const { return m_dir.filePath(carpeta + "/puerta.vro"); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TstEscritorio)
#include "tst_escritorio.moc"
