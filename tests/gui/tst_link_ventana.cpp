#include "arrow.h"
#include "mainwindow.h"
#include "simulacionprueba.h"

#include <QAction>
#include <QNetworkInterface>
#include <QProcess>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace SimulacionPrueba;

// The link with real TCP peers on loopback: a report peer in the test and
// sockets that send events to the window's server.
class TestLinkVentana : public QObject
{
    Q_OBJECT

private:
    MainWindow *m_w = nullptr;
    QTemporaryDir *m_dir = nullptr;
    PeerReportes *m_peer = nullptr;
    quint16 m_puertoEventos = 0;
    quint16 m_puertoReportes = 0;

    DiagramScene *scene(int j) const { return m_w->sceneList().at(j); }
    int actual(int j) const
    {
        Arrow *arrow = scene(j)->previousArrow();
        return scene(j)->itemList().indexOf(arrow ? arrow->endItem() : nullptr);
    }
    QList<QTcpServer *> servidores() const { return m_w->findChildren<QTcpServer *>(); }
    int conexionesAceptadas() const
    {
        int total = 0;
        for (QTcpServer *servidor : servidores())
            total += servidor->findChildren<QTcpSocket *>().size();
        return total;
    }

    void simularHastaElEstadoInicial()
    {
        m_w->findChild<QAction *>("actionSimular")->trigger();
        QVERIFY(QMetaObject::invokeMethod(m_w, "updateSimulacion", Qt::DirectConnection));
        // No blinking behind the checks of the lit states.
        m_w->findChild<QTimer *>("timerSimulacion")->stop();
        QCOMPARE(actual(0), 0);
        QCOMPARE(actual(1), 0);
    }

    void conectar(QTcpSocket &cliente)
    {
        cliente.connectToHost(QHostAddress::LocalHost, m_puertoEventos);
        QVERIFY2(cliente.waitForConnected(3000), qPrintable(cliente.errorString()));
    }

    void enviar(QTcpSocket &cliente, const QByteArray &datos)
    {
        cliente.write(datos);
        QVERIFY(cliente.waitForBytesWritten(3000));
    }

private slots:
    void initTestCase()
    {
        usarPuertosLibres();
        m_puertoEventos = quint16(qEnvironmentVariableIntValue("VIREO_PUERTO_EVENTOS"));
        m_puertoReportes = quint16(qEnvironmentVariableIntValue("VIREO_PUERTO_REPORTES"));
    }

    void init()
    {
        m_dir = new QTemporaryDir;
        m_w = new MainWindow;
        m_w->show();
        QVERIFY(abrirFixture(*m_w, *m_dir, "SIM"));
        m_peer = new PeerReportes(m_puertoReportes);
    }

    void cleanup()
    {
        delete m_w;
        delete m_peer;
        delete m_dir;
    }

    // Each case ends with a "5:boton@" of its own, so the reports it expects
    // are complete once that one's have arrived.
    void eventosRecibidos_data()
    {
        QTest::addColumn<QByteArrayList>("trozos");
        QTest::addColumn<QByteArray>("reportes");
        const QByteArray boton1("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@");
        const QByteArray boton2("20:MdE2,X,boton,Y,sonar@");
        const QByteArray vuelta2("15:MdE2,Y,boton,X,@");
        const QByteArray timeout1("17:MdE1,B,timeout,A,@");
        QTest::newRow("one frame") << QByteArrayList{"5:boton@"} << boton1 + boton2 + vuelta2;
        QTest::newRow("two frames in order")
            << QByteArrayList{"5:boton@7:timeout@"} << boton1 + boton2 + timeout1 + boton1 + vuelta2;
        QTest::newRow("split in two writes") << QByteArrayList{"5:bo", "ton@"} << boton1 + boton2 + vuelta2;
        QTest::newRow("unknown events") << QByteArrayList{"6:bot\xc3\xb3n@5:BOTON@@"} << boton1 + boton2;
        QTest::newRow("(reset) moves nothing") << QByteArrayList{"7:(reset)@"} << boton1 + boton2;
    }
    void eventosRecibidos()
    {
        QFETCH(QByteArrayList, trozos);
        QFETCH(QByteArray, reportes);
        simularHastaElEstadoInicial();
        QTcpSocket cliente;
        conectar(cliente);
        for (const QByteArray &trozo : trozos) {
            enviar(cliente, trozo);
            QTest::qWait(30);
        }
        enviar(cliente, "5:boton@");
        QTRY_COMPARE(m_peer->datos(), reportes);
        QTest::qWait(50);
        QCOMPARE(m_peer->datos(), reportes);
    }

    // A burst read at once is reported event by event, and the display ends
    // as if each had been shown in turn.
    void rafagaMuestraElUltimoPaso()
    {
        simularHastaElEstadoInicial();
        QTcpSocket cliente;
        conectar(cliente);
        enviar(cliente, "5:boton@4:tick@7:timeout@5:boton@4:tick@");
        QTRY_COMPARE(m_peer->datos(), QByteArray("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@"
                                                 "20:MdE2,X,boton,Y,sonar@"
                                                 "20:MdE1,B,tick,B,contar@"
                                                 "17:MdE1,B,timeout,A,@"
                                                 "41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@"
                                                 "15:MdE2,Y,boton,X,@"
                                                 "20:MdE1,B,tick,B,contar@"));
        QCOMPARE(actual(0), 1);
        QCOMPARE(actual(1), 0);
        for (int j = 0; j < 2; ++j) {
            for (DiagramItem *estado : scene(j)->itemList()) {
                QCOMPARE(estado->isActivo(), estado == scene(j)->previousArrow()->endItem());
                for (Arrow *arrow : estado->arrows())
                    QCOMPARE(arrow->isActiva(), arrow == scene(j)->previousArrow());
            }
        }
        QCOMPARE(scene(0)->previousArrow()->event(), QString("tick"));
        auto *acciones = m_w->findChild<QTableWidget *>("tableWidgetSimAcciones");
        QCOMPARE(acciones->rowCount(), 1);
        QCOMPARE(acciones->item(0, 0)->text(), QString("contar() [MdE1]"));
        auto *arbol = m_w->findChild<QTreeWidget *>("treeWidgetSimEstados");
        QTreeWidgetItem *mde1 = arbol->topLevelItem(0)->child(0);
        QVERIFY(iconoEs(mde1->child(1)->icon(0), "button.png"));
        QVERIFY(iconoEs(mde1->child(2)->icon(0), "button2.png"));
        QTreeWidgetItem *mde2 = arbol->topLevelItem(0)->child(1);
        QVERIFY(iconoEs(mde2->child(1)->icon(0), "button2.png"));
        QVERIFY(iconoEs(mde2->child(2)->icon(0), "button.png"));
    }

    void eventoDuranteElResetSoloMueveLasListas()
    {
        m_w->findChild<QAction *>("actionSimular")->trigger();
        QTcpSocket cliente;
        conectar(cliente);
        enviar(cliente, "5:boton@");
        QTest::qWait(100);
        QCOMPARE(actual(0), -1);
        QVERIFY(m_peer->datos().isEmpty());
    }

    void fueraDeSimulacionSeIgnora()
    {
        QTcpSocket cliente;
        conectar(cliente);
        enviar(cliente, "5:boton@");
        QTest::qWait(100);
        QVERIFY(m_peer->datos().isEmpty());
        QCOMPARE(m_w->uiMode(), MainWindow::Editar);
    }

    // Destroying the window with a peer still connected is clean.
    void cerrarConUnPeerConectado()
    {
        QTcpSocket cliente;
        conectar(cliente);
        QTRY_COMPARE(conexionesAceptadas(), 1);
    }

    void soloLoopback()
    {
        QStringList direcciones;
        for (QTcpServer *servidor : servidores()) {
            if (!servidor->isListening())
                continue;
            QVERIFY(servidor->serverAddress().isLoopback());
            QCOMPARE(servidor->serverPort(), m_puertoEventos);
            direcciones << servidor->serverAddress().toString();
        }
        QVERIFY(direcciones.contains("127.0.0.1"));
        QHostAddress externa;
        for (const QHostAddress &direccion : QNetworkInterface::allAddresses()) {
            if (!direccion.isLoopback() && direccion.protocol() == QAbstractSocket::IPv4Protocol)
                externa = direccion;
        }
        if (externa.isNull())
            QSKIP("this machine has no non-loopback address");
        QTcpSocket cliente;
        cliente.connectToHost(externa, m_puertoEventos);
        QVERIFY(!cliente.waitForConnected(3000));
        QCOMPARE(cliente.error(), QAbstractSocket::ConnectionRefusedError);
    }

    // No peer on the report port: firings go on; once a peer listens (or
    // after it closed the link) the next report connects again.
    void sinPeerYReconexion()
    {
        delete m_peer;
        m_peer = nullptr;
        simularHastaElEstadoInicial();
        m_w->Analizar("boton");
        QTest::qWait(100);
        QCOMPARE(actual(0), 1);
        m_peer = new PeerReportes(m_puertoReportes);
        m_w->Analizar("timeout");
        QTRY_COMPARE(m_peer->datos(), QByteArray("17:MdE1,B,timeout,A,@"));
        m_peer->cerrarConexiones();
        QTest::qWait(100);
        m_w->Analizar("boton");
        QTest::qWait(100);
        m_w->Analizar("timeout");
        QTRY_VERIFY(m_peer->datos().endsWith("17:MdE1,B,timeout,A,@"));
        QCOMPARE(m_peer->conexionesAceptadas(), 2);
    }

    void monitorYSend()
    {
        delete m_peer;
        m_peer = nullptr;
        QProcess monitor;
        monitor.start(VIREO_CLI, {"monitor", "--port", QString::number(m_puertoReportes)});
        QVERIFY(monitor.waitForStarted());
        QByteArray errores;
        QTRY_VERIFY2((errores += monitor.readAllStandardError()).contains("Escuchando"), errores.constData());
        simularHastaElEstadoInicial();
        QProcess send;
        send.start(VIREO_CLI,
                   {"send", "--port", QString::number(m_puertoEventos), "boton", "boton && x > 3"});
        QVERIFY(send.waitForStarted());
        QTRY_COMPARE(send.state(), QProcess::NotRunning);
        QCOMPARE(send.exitCode(), 0);
        QCOMPARE(actual(0), 1);
        QMetaObject::invokeMethod(m_w, "on_tableWidgetSimEventos_cellDoubleClicked", Q_ARG(int, 0),
                                  Q_ARG(int, 0));
        QByteArray salida;
        QTRY_VERIFY((salida += monitor.readAllStandardOutput()).count('\n') >= 3);
        QCOMPARE(salida, QByteArray("MdE1: A --boton--> B / encender;cuenta = 0 [MdE1]\n"
                                    "MdE2: X --boton--> Y / sonar\n"
                                    "(reset)\n"));
        monitor.kill();
        monitor.waitForFinished();
    }
};

QTEST_MAIN(TestLinkVentana)
#include "tst_link_ventana.moc"
