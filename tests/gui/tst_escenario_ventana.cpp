#include "arrow.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "panelescenario.h"
#include "proyectoprueba.h"
#include "testsupport.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Types ruta into the file dialog and accepts it (typed rather than
// selected: the dialog's model loads folders in the background).
ModalScript::Handler elegir(const QString &ruta)
{
    return [=](QWidget *w) {
        auto *dialogo = qobject_cast<QFileDialog *>(w);
        if (!dialogo)
            return;
        dialogo->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(ruta);
        static_cast<QDialog *>(dialogo)->accept();
    };
}

} // namespace

class TestEscenarioVentana : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    MainWindow *m_w = nullptr;
    Arrow *m_tick = nullptr;

    QAction *accion(const char *nombre) { return m_w->findChild<QAction *>(nombre); }

    void dobleClic(const QString &texto)
    {
        auto *eventos = m_w->findChild<QTableWidget *>("tableWidgetSimEventos");
        const QList<QTableWidgetItem *> items = eventos->findItems(texto, Qt::MatchExactly);
        QVERIFY2(items.size() == 1, qPrintable(texto));
        const QPoint centro = eventos->visualItemRect(items.first()).center();
        QTest::mouseClick(eventos->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(eventos->viewport(), Qt::LeftButton, {}, centro);
    }

    void reproducir(const QString &ruta)
    {
        ModalScript script;
        script.then(elegir(ruta));
        accion("actionReproducirEscenario")->trigger();
        QVERIFY(m_w->reproduciendo());
        QTRY_VERIFY_WITH_TIMEOUT(!m_w->reproduciendo(), 15000);
    }

private slots:
    // A light that turns on and off, with a tick while on and an initial
    // action.
    void init()
    {
        m_dir = new QTemporaryDir;
        m_w = new MainWindow;
        m_w->resize(1200, 800);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
        QVERIFY(ProyectoPrueba::crear(*m_w, m_dir->filePath("luz"), "luz"));
        DiagramScene *scene = ProyectoPrueba::maquina(*m_w, "Luz");
        DiagramItem *apagada = ProyectoPrueba::estado(scene, "Apagada", QPointF(-150, 0));
        DiagramItem *encendida = ProyectoPrueba::estado(scene, "Encendida", QPointF(150, 0));
        ProyectoPrueba::transicion(scene, apagada, encendida, "on", {"encender()"});
        ProyectoPrueba::transicion(scene, encendida, apagada, "off", {"apagar()"});
        m_tick = ProyectoPrueba::transicion(scene, encendida, encendida, "t", {"cuenta += 1"});
        ProyectoPrueba::inicial(scene, apagada, {"init()"});
        accion("actionSimular")->trigger();
        QCOMPARE(m_w->uiMode(), MainWindow::Simular);
    }
    void cleanup()
    {
        delete m_w;
        delete m_dir;
    }

    // What was recorded replays with every check passed, and the transition
    // never taken is marked until the simulation ends.
    void grabarYReproducir()
    {
        QVERIFY(!accion("actionDetenerGrabacion")->isEnabled());
        accion("actionGrabarEscenario")->trigger();
        QVERIFY(m_w->grabando());
        QVERIFY(!accion("actionReproducirEscenario")->isEnabled());
        for (const char *fila : {"on", "off", "(reset)", "on"})
            dobleClic(fila);
        const QString ruta = m_dir->filePath("luz/clase");
        ModalScript script;
        script.then(elegir(ruta));
        accion("actionDetenerGrabacion")->trigger();
        QVERIFY(!m_w->grabando());
        const QByteArray texto = TestSupport::readFile(ruta + ".escenario");
        QVERIFY(texto.startsWith("# Escenario grabado con Vireo sobre luz, "));
        QCOMPARE(
            texto.mid(texto.indexOf('\n') + 1),
            QByteArray("estado Luz APAGADA\nevento on\nestado Luz ENCENDIDA\nevento off\nestado Luz APAGADA\n"
                       "reset\nestado Luz APAGADA\nevento on\nestado Luz ENCENDIDA\n"));

        reproducir(ruta + ".escenario");
        PanelEscenario *panel = m_w->panelEscenario();
        QCOMPARE(panel->fallidos(), 0);
        QCOMPARE(panel->filas().filter("|cumplido").size(), 5);
        QCOMPARE(panel->resumen(),
                 QString("Comprobaciones cumplidas: 5 de 5. Estados visitados: 2 de 2. "
                         "Transiciones tomadas: 2 de 3 (las que faltan se marcan en naranja)."));
        QCOMPARE(m_tick->color(), QColor("#e07000"));
        accion("actionTerminarSimulacion")->trigger();
        QVERIFY(!m_tick->color().isValid());
    }

    void fallidos()
    {
        const QString ruta = m_dir->filePath("mal.escenario");
        TestSupport::writeFile(ruta, "acciones Luz init()\nevento on\nestado Luz APAGADA\nevento t\n"
                                     "acciones Luz cuenta += 1\n");
        reproducir(ruta);
        PanelEscenario *panel = m_w->panelEscenario();
        QCOMPARE(panel->filas(),
                 QStringList({"1|acciones Luz init()|cumplido", "2|evento on|hecho",
                              "3|estado Luz APAGADA|se esperaba APAGADA, se encontró ENCENDIDA",
                              "4|evento t|hecho", "5|acciones Luz cuenta += 1|cumplido"}));
        QCOMPARE(panel->fallidos(), 1);
    }

    void escenarioMalformado()
    {
        const QString ruta = m_dir->filePath("roto.escenario");
        TestSupport::writeFile(ruta, "evento on\nestado Luz\n");
        ModalScript script;
        script.then(elegir(ruta)).thenDismiss();
        accion("actionReproducirEscenario")->trigger();
        QCOMPARE(script.textos(), QStringList{"El escenario no se puede reproducir:\n" + ruta +
                                              ":2: se espera «estado MAQUINA ESTADO»"});
        QVERIFY(!m_w->reproduciendo());
    }
};

QTEST_MAIN(TestEscenarioVentana)
#include "tst_escenario_ventana.moc"
