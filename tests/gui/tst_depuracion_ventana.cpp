#include "arrow.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "pseudoterminal.h"
#include "puertodepuracion.h"
#include "simulacionprueba.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace SimulacionPrueba;

// "Depurar" with a pseudo-terminal as the board's serial port: the lines the
// board writes light the diagram, fill the panel and go out on the link.
class TstDepuracionVentana : public QObject
{
    Q_OBJECT

private:
    MainWindow *m_w = nullptr;
    QTemporaryDir *m_dir = nullptr;
    PeerReportes *m_peer = nullptr;
    PseudoTerminal *m_placa = nullptr;

    QAction *accion(const char *nombre) const { return m_w->findChild<QAction *>(nombre); }
    QTableView *panel() const { return m_w->findChild<QTableView *>("tableWidgetDepuracion"); }
    QVariant celda(int f, int c, int rol = Qt::DisplayRole) const
    {
        return panel()->model()->index(f, c).data(rol);
    }
    DiagramItem *estado(int maquina, int indice) const
    {
        return m_w->sceneList().at(maquina)->itemList().at(indice);
    }
    QStringList fila(int f) const
    {
        QStringList celdas;
        for (int c = 1; c < panel()->model()->columnCount(); ++c)
            celdas << celda(f, c).toString();
        return celdas;
    }
    // Starts debugging where it must fail; returns the warning shown.
    QString depurarConAviso()
    {
        ModalScript script;
        script.thenDismiss();
        accion("actionDepurar")->trigger();
        return script.textos().value(0);
    }
    void elegirPuerto(const QString &ruta, const QString &velocidad)
    {
        ModalScript script;
        script.then([&](QWidget *modal) {
            modal->findChild<QComboBox *>("comboBoxPuertos")->setEditText(ruta);
            modal->findChild<QComboBox *>("comboBoxVelocidad")->setEditText(velocidad);
            modal->findChild<QPushButton *>("pushButtonConectar")->click();
        });
        accion("actionConfigurar_depuracion")->trigger();
    }

private slots:
    void initTestCase() { usarPuertosLibres(); }

    void init()
    {
        m_dir = new QTemporaryDir;
        m_w = new MainWindow;
        m_w->show();
        QVERIFY(abrirFixture(*m_w, *m_dir, "SIM"));
        m_peer = new PeerReportes(quint16(qEnvironmentVariableIntValue("VIREO_PUERTO_REPORTES")));
        m_placa = new PseudoTerminal;
        QVERIFY(m_placa->valido());
        elegirPuerto(m_placa->esclavo(), "9600");
    }

    void cleanup()
    {
        delete m_w;
        delete m_placa;
        delete m_peer;
        delete m_dir;
    }

    void elPuertoElegidoSeGuarda()
    {
        QCOMPARE(m_w->nombrePuerto(), m_placa->esclavo());
        QCOMPARE(m_w->velocidadPuerto(), 9600);
        QSettings settings("Alderhall", "vireo");
        QCOMPARE(settings.value("puertoDepuracion").toString(), m_placa->esclavo());
        QCOMPARE(settings.value("velocidadDepuracion").toInt(), 9600);
        MainWindow otra;
        QCOMPARE(otra.nombrePuerto(), m_placa->esclavo());
        QCOMPARE(otra.velocidadPuerto(), 9600);
    }

    void lineasIluminanYReportan()
    {
        accion("actionDepurar")->trigger();
        QCOMPARE(m_w->uiMode(), MainWindow::Depurar);
        QVERIFY(m_w->findChild<QDockWidget *>("dockWidgetDepuracion")->isVisible());
        QVERIFY(!accion("actionNuevoEstado")->isEnabled());
        QVERIFY(!accion("actionSimular")->isEnabled());
        QVERIFY(m_w->sceneList().at(0)->initialStateItem()->isActivo());

        QVERIFY(m_placa->escribir("0,0,0\r\nhola\n1,0,0\n"));
        QTRY_COMPARE(m_peer->datos(),
                     QByteArray("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@20:MdE2,X,boton,Y,sonar@"));
        QTRY_VERIFY(estado(0, 1)->isActivo());
        QVERIFY(estado(1, 1)->isActivo());
        QVERIFY(!m_w->sceneList().at(0)->initialStateItem()->isActivo());
        Arrow *ab = estado(0, 0)->arrows().first();
        QVERIFY(ab->isActiva());
        // The panel and the diagrams catch up on alternate ticks.
        QTRY_COMPARE(panel()->model()->rowCount(), 2);
        QCOMPARE(fila(0), (QStringList{"MdE1", "A", "boton", "B", "encender;cuenta = 0 [MdE1]"}));
        QCOMPARE(fila(1), (QStringList{"MdE2", "X", "boton", "Y", "sonar"}));

        // The board says where it was: the third transition of A, to C,
        // after the window has had time to go quiet.
        QTest::qWait(100);
        m_peer->limpiar();
        QVERIFY(m_placa->escribir("0,0,2\n3,1,0\n0,9,0\n"));
        QTRY_COMPARE(panel()->model()->rowCount(), 5);
        QTRY_COMPARE(m_peer->datos(), QByteArray("21:MdE1,A,boton,C,apagar@"));
        QTRY_VERIFY(estado(0, 2)->isActivo());
        QVERIFY(!estado(0, 1)->isActivo());
        QVERIFY(!ab->isActiva());
        QCOMPARE(fila(3).first(), QStringLiteral("no corresponde al modelo: 3,1,0"));
        QCOMPARE(celda(3, 1, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QCOMPARE(panel()->columnSpan(3, 1), 5);
        QCOMPARE(fila(4).first(), QStringLiteral("no corresponde al modelo: 0,9,0"));
        // Cells painted from kept pictures look as the standard delegate paints them.
        panel()->selectRow(1);
        panel()->viewport()->grab();
        const QImage guardadas = panel()->viewport()->grab().toImage();
        for (int c = 0; c < panel()->model()->columnCount(); ++c)
            panel()->setItemDelegateForColumn(c, nullptr);
        QCOMPARE(panel()->viewport()->grab().toImage(), guardadas);

        // The panel keeps the latest 500 rows; the rows out of the model keep their look.
        QVERIFY(m_placa->escribir(QByteArray("0,0,0\n").repeated(598) + "7,0,0\n0,0,0\n"));
        QTRY_COMPARE(m_peer->datos().count('@'), 600);
        QTRY_COMPARE(celda(498, 1).toString(), QStringLiteral("no corresponde al modelo: 7,0,0"));
        QCOMPARE(panel()->model()->rowCount(), 500);
        QCOMPARE(panel()->columnSpan(498, 1), 5);
        QCOMPARE(panel()->columnSpan(3, 1), 1);
        QCOMPARE(fila(499).first(), QStringLiteral("MdE1"));
        QVERIFY(QTime::fromString(celda(499, 0).toString(), "hh:mm:ss.zzz").isValid());

        accion("actionTerminar_depuracion")->trigger();
        QCOMPARE(m_w->uiMode(), MainWindow::Editar);
        QVERIFY(accion("actionNuevoEstado")->isEnabled());
        QVERIFY(accion("actionSimular")->isEnabled());
        QVERIFY(!estado(0, 2)->isActivo());
        QVERIFY(!m_w->findChild<QDockWidget *>("dockWidgetDepuracion")->isVisible());
        // The port is free again for the next session.
        PuertoDepuracion otro;
        QVERIFY2(otro.abrir(m_placa->esclavo()), qPrintable(otro.errorString()));
    }

    void placaQueDesaparece()
    {
        accion("actionDepurar")->trigger();
        QCOMPARE(m_w->uiMode(), MainWindow::Depurar);
        ModalScript script;
        script.thenDismiss();
        m_placa->cerrar();
        QTRY_COMPARE(m_w->uiMode(), MainWindow::Editar);
        QTRY_COMPARE(script.textos().value(0),
                     QStringLiteral("Se perdió la conexión con el puerto %1.\nLa depuración terminó.")
                         .arg(m_placa->esclavo()));
        QVERIFY(accion("actionNuevoEstado")->isEnabled());
    }

    void puertoQueNoSePuedeAbrir_data()
    {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QString>("aviso");
        QTest::newRow("missing") << "/dev/no-existe-vireo"
                                 << "No existe el puerto serie /dev/no-existe-vireo.";
        QTest::newRow("none chosen") << ""
                                     << "No se eligió ningún puerto serie";
        QTest::newRow("busy") << "ocupado"
                              << "está ocupado por otro programa";
    }
    void puertoQueNoSePuedeAbrir()
    {
        QFETCH(QString, ruta);
        QFETCH(QString, aviso);
        PuertoDepuracion otroPrograma;
        if (ruta == "ocupado")
            QVERIFY(otroPrograma.abrir(m_placa->esclavo()));
        else
            elegirPuerto(ruta, "115200");
        const QString mostrado = depurarConAviso();
        QVERIFY2(mostrado.startsWith("No se puede iniciar la depuración.\n") && mostrado.contains(aviso),
                 qPrintable(mostrado));
        QCOMPARE(m_w->uiMode(), MainWindow::Editar);
        QVERIFY(accion("actionNuevoEstado")->isEnabled());
    }
};

QTEST_MAIN(TstDepuracionVentana)
#include "tst_depuracion_ventana.moc"
