#include "arrow.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "panelescenario.h"
#include "proyectoprueba.h"
#include "simulacionprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGraphicsView>
#include <QListWidget>
#include <QMenu>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace SimulacionPrueba;

// The simulation driven through the real main window, with real TCP peers on
// loopback for the link, and scenarios recorded and replayed. The timer's
// step is called directly (the timer only ticks); one test waits for the
// real tick.
class TestSimulacion : public QObject
{
    Q_OBJECT

private:
    MainWindow *m_w = nullptr;
    QTemporaryDir *m_dir = nullptr;
    PeerReportes *m_peer = nullptr;

    template<typename T> T *hijo(const char *nombre) const
    {
        T *widget = m_w->findChild<T *>(QLatin1String(nombre));
        Q_ASSERT(widget);
        return widget;
    }
    QAction *accion(const char *nombre) const { return hijo<QAction>(nombre); }
    QTableWidget *eventos() const { return hijo<QTableWidget>("tableWidgetSimEventos"); }
    QTableWidget *acciones() const { return hijo<QTableWidget>("tableWidgetSimAcciones"); }
    QTimer *timer() const { return m_w->findChild<QTimer *>(QStringLiteral("timerSimulacion")); }
    DiagramScene *scene(int j) const { return m_w->sceneList().at(j); }
    DiagramItem *estado(int j, int i) const { return scene(j)->itemList().at(i); }
    int actual(int j) const
    {
        return scene(j)->itemList().indexOf(scene(j)->previousArrow() ? scene(j)->previousArrow()->endItem()
                                                                      : nullptr);
    }

    // Child `hijo` of machine j in the states tree: 0 is "(RESET)", i + 1 state i.
    QTreeWidgetItem *entrada(int j, int hijo) const
    {
        return this->hijo<QTreeWidget>("treeWidgetSimEstados")->topLevelItem(0)->child(j)->child(hijo);
    }

    void paso() { QVERIFY(QMetaObject::invokeMethod(m_w, "updateSimulacion", Qt::DirectConnection)); }

    void iniciar()
    {
        accion("actionSimular")->trigger();
        QCOMPARE(m_w->uiMode(), MainWindow::Simular);
    }

    void dobleClic(const QString &texto)
    {
        const QList<QTableWidgetItem *> items = eventos()->findItems(texto, Qt::MatchExactly);
        QVERIFY2(items.size() == 1, qPrintable(texto));
        const QPoint centro = eventos()->visualItemRect(items.first()).center();
        QTest::mouseClick(eventos()->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(eventos()->viewport(), Qt::LeftButton, {}, centro);
    }

    QStringList filas(const QTableWidget *tabla) const
    {
        QStringList textos;
        for (int fila = 0; fila < tabla->rowCount(); ++fila)
            textos << tabla->item(fila, 0)->text();
        return textos;
    }

    // Rows showing the events icon; a row with any other icon shows up as "?".
    QStringList filasMarcadas() const
    {
        QStringList textos;
        for (int fila = 0; fila < eventos()->rowCount(); ++fila) {
            const QTableWidgetItem *item = eventos()->item(fila, 0);
            if (iconoEs(item->icon(), "events.png"))
                textos << item->text();
            else if (!item->icon().isNull())
                textos << "?" + item->text();
        }
        return textos;
    }

    QList<QAction *> quinceComandos() const
    {
        QList<QAction *> lista;
        for (const char *nombre :
             {"actionNuevaMaquina", "actionEliminarMaquina", "actionEstadoInicial", "actionSeleccionar",
              "actionNuevoEstado", "actionNuevaTransicion", "actionGenerarCodigo",
              "actionGenerarDocumentacion", "actionVerificar", "actionAbrirProyecto", "actionNuevoProyecto",
              "actionCerrarProyecto", "actionGuardar", "actionGuardarComo", "actionEliminarElemento"})
            lista << accion(nombre);
        return lista;
    }

    // The link: events sent to the window's server, reports to m_peer.
    quint16 m_puertoEventos = 0;
    quint16 m_puertoReportes = 0;
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
        iniciar();
        paso();
        // No blinking behind the checks of the lit states.
        timer()->stop();
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

    // Scenarios: a light that turns on and off, with a tick while on and an
    // initial action, simulated.
    Arrow *m_tick = nullptr;
    void abrirLuz()
    {
        QVERIFY(ProyectoPrueba::crear(*m_w, m_dir->filePath("luz"), "luz"));
        DiagramScene *scene = ProyectoPrueba::maquina(*m_w, "Luz");
        DiagramItem *apagada = ProyectoPrueba::estado(scene, "Apagada", QPointF(-150, 0));
        DiagramItem *encendida = ProyectoPrueba::estado(scene, "Encendida", QPointF(150, 0));
        ProyectoPrueba::transicion(scene, apagada, encendida, "on", {"encender()"});
        ProyectoPrueba::transicion(scene, encendida, apagada, "off", {"apagar()"});
        m_tick = ProyectoPrueba::transicion(scene, encendida, encendida, "t", {"cuenta += 1"});
        ProyectoPrueba::inicial(scene, apagada, {"init()"});
        iniciar();
    }

    void reproducir(const QString &ruta)
    {
        ModalScript script;
        script.then(VentanaPrueba::elegirArchivo(ruta));
        accion("actionReproducirEscenario")->trigger();
        QVERIFY(m_w->reproduciendo());
        QTRY_VERIFY_WITH_TIMEOUT(!m_w->reproduciendo(), 15000);
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
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
        QVERIFY(abrirFixture(*m_w, *m_dir, "SIM"));
        m_peer = new PeerReportes(m_puertoReportes);
    }

    void cleanup()
    {
        delete m_w;
        delete m_peer;
        delete m_dir;
    }

    void inicioPreparaElPanel()
    {
        QMenu *ver = hijo<QMenu>("menu_Ver");
        QDockWidget *proyecto = hijo<QDockWidget>("dockWidgetProyecto");
        QDockWidget *simulacion = hijo<QDockWidget>("dockWidgetSimulacion");
        const int posicion = ver->actions().indexOf(proyecto->toggleViewAction());
        QVERIFY(posicion >= 0);
        m_w->setWindowTitle(m_w->windowTitle() + "*");

        iniciar();
        QVERIFY(accion("actionSimular")->isChecked());
        QVERIFY(timer() && timer()->isActive());
        QCOMPARE(timer()->interval(), 1500);
        QVERIFY(proyecto->isHidden());
        QVERIFY(simulacion->isVisible());
        QCOMPARE(ver->actions().indexOf(simulacion->toggleViewAction()), posicion);
        QVERIFY(!ver->actions().contains(proyecto->toggleViewAction()));
        QVERIFY(accion("actionTerminarSimulacion")->isEnabled());
        for (QAction *comando : quinceComandos())
            QVERIFY2(!comando->isEnabled(), qPrintable(comando->objectName()));
        QVERIFY(!m_w->windowTitle().endsWith("*"));

        QTreeWidget *arbol = hijo<QTreeWidget>("treeWidgetSimEstados");
        QCOMPARE(arbol->headerItem()->text(0), QString("SIM"));
        QCOMPARE(arbol->topLevelItemCount(), 1);
        QTreeWidgetItem *sistema = arbol->topLevelItem(0);
        QCOMPARE(sistema->text(0), QString("SISTEMA"));
        QVERIFY(iconoEs(sistema->icon(0), "plugin.png"));
        QCOMPARE(sistema->childCount(), 2);
        QCOMPARE(sistema->child(0)->text(0), QString("MdE1"));
        QVERIFY(iconoEs(sistema->child(0)->icon(0), "application.png"));
        QStringList textos;
        for (int i = 0; i < sistema->child(0)->childCount(); ++i)
            textos << sistema->child(0)->child(i)->text(0);
        QCOMPARE(textos, (QStringList{"(RESET)", "A", "B", "C"}));
        QVERIFY(iconoEs(entrada(0, 0)->icon(0), "bullet_red.png"));
        QVERIFY(iconoEs(entrada(0, 2)->icon(0), "button.png"));
        QCOMPARE(entrada(1, 1)->text(0), QString("X"));
        QCOMPARE(entrada(0, 1)->flags(), Qt::ItemIsEnabled);
        QVERIFY(sistema->child(1)->isExpanded());

        QCOMPARE(filas(eventos()), (QStringList{"(reset)", "boton", "boton && x > 3", "timeout", "tick"}));
        QCOMPARE(eventos()->horizontalHeaderItem(0)->text(), QString("Eventos"));
        QCOMPARE(acciones()->horizontalHeaderItem(0)->text(), QString("Acciones"));
        QCOMPARE(eventos()->item(1, 0)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        QCOMPARE(acciones()->rowCount(), 0);
        for (int j = 0; j < 2; ++j) {
            QVERIFY(scene(j)->initialStateItem()->isActivo());
            QCOMPARE(scene(j)->mode(), DiagramScene::Simulation);
            QCOMPARE(scene(j)->views().first()->dragMode(), QGraphicsView::NoDrag);
        }
        QVERIFY(!TestSupport::readFile(m_dir->filePath("SIM.vro")).isEmpty());
        QVERIFY(!m_w->isModificado());
    }

    // The one test that lets the real timer run: the reset transitions are
    // taken T_SIM_RESET_INIT after the start.
    void resetTrasLaPausa()
    {
        QElapsedTimer reloj;
        reloj.start();
        iniciar();
        QTest::qWait(1200);
        QVERIFY(scene(0)->initialStateItem()->isActivo());
        QTRY_VERIFY_WITH_TIMEOUT(!scene(0)->initialStateItem()->isActivo(), 3000);
        QVERIFY(reloj.elapsed() >= 1400);
        QVERIFY(!scene(1)->initialStateItem()->isActivo());
        QVERIFY(iconoEs(entrada(0, 0)->icon(0), "bullet black.png"));
        QVERIFY(iconoEs(entrada(0, 1)->icon(0), "button2.png"));
        QVERIFY(iconoEs(entrada(1, 1)->icon(0), "button2.png"));
        QVERIFY(estado(0, 0)->isActivo());
        QVERIFY(scene(0)->previousArrow() && scene(0)->previousArrow()->isActiva());
        QCOMPARE(scene(0)->previousArrow()->startItem(), scene(0)->initialStateItem());
        QCOMPARE(filas(acciones()), QStringList{"iniciar() [MdE1]"});
        QVERIFY(iconoEs(acciones()->item(0, 0)->icon(), "arrow_right.png"));
        QCOMPARE(acciones()->item(0, 0)->flags(), Qt::ItemIsEnabled);
        QCOMPARE(filasMarcadas(), (QStringList{"(reset)", "boton", "boton && x > 3"}));
    }

    void parpadeo()
    {
        iniciar();
        paso();
        QCOMPARE(timer()->interval(), 1500);
        QVERIFY(estado(0, 0)->isActivo() && estado(1, 0)->isActivo());
        paso();
        QVERIFY(!estado(0, 0)->isActivo() && !estado(1, 0)->isActivo());
        QCOMPARE(timer()->interval(), 500);
        paso();
        QVERIFY(estado(0, 0)->isActivo() && estado(1, 0)->isActivo());
        QCOMPARE(timer()->interval(), 900);
        QVERIFY(timer()->isActive());
        paso();
        QCOMPARE(timer()->interval(), 500);
        // A firing switches its target on without touching the timer; the
        // machine that fired now blinks in the opposite phase of the other,
        // and the interval is the one of the last machine that toggled.
        dobleClic("boton && x > 3");
        QVERIFY(estado(0, 2)->isActivo() && !estado(1, 0)->isActivo());
        QCOMPARE(timer()->interval(), 500);
        paso();
        QVERIFY(!estado(0, 2)->isActivo() && estado(1, 0)->isActivo());
        QCOMPARE(timer()->interval(), 900);
    }

    void disparoConDosMaquinas()
    {
        iniciar();
        paso();
        dobleClic("boton");
        QTRY_COMPARE(m_peer->datos(),
                     QByteArray("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@20:MdE2,X,boton,Y,sonar@"));
        QCOMPARE(actual(0), 1);
        QCOMPARE(actual(1), 1);
        QVERIFY(!estado(0, 0)->isActivo() && estado(0, 1)->isActivo());
        QVERIFY(iconoEs(entrada(0, 1)->icon(0), "button.png"));
        QVERIFY(iconoEs(entrada(0, 2)->icon(0), "button2.png"));
        QVERIFY(iconoEs(entrada(1, 2)->icon(0), "button2.png"));
        QCOMPARE(filas(acciones()), QStringList{"sonar() [MdE2]"});
        QCOMPARE(filasMarcadas(), (QStringList{"(reset)", "boton", "timeout", "tick"}));
        // The first of two arrows on "boton" fired; only it is lit.
        QCOMPARE(scene(0)->previousArrow()->endItem(), estado(0, 1));
        QVERIFY(scene(0)->previousArrow()->isActiva());
        for (Arrow *arrow : estado(0, 0)->arrows())
            QVERIFY(arrow == scene(0)->previousArrow() || !arrow->isActiva());
    }

    // "Como el código C": the checked events and the variables decide; the
    // first true transition of each state fires; the actions table lists
    // every machine that moved, the initial actions on the first step.
    void modoC()
    {
        iniciar();
        hijo<QComboBox>("comboBoxModoSimulacion")->setCurrentIndex(1);
        QVERIFY(hijo<QWidget>("panelSimulacionC")->isVisible());
        QVERIFY(!eventos()->isVisible());
        QCOMPARE(actual(0), 0); // no pause before the initial states
        auto *variables = hijo<QTableWidget>("tableWidgetSimVariables");
        QCOMPARE(variables->rowCount(), 2);
        QCOMPARE(variables->item(0, 0)->text(), QString("x"));
        variables->item(0, 1)->setText("abc"); // refused
        QCOMPARE(variables->item(0, 1)->text(), QString("0"));
        variables->item(0, 1)->setText("4");
        auto *lista = hijo<QListWidget>("listWidgetSimEventosC");
        QCOMPARE(lista->count(), 3);
        lista->item(0)->setCheckState(Qt::Checked); // boton
        hijo<QPushButton>("pushButtonSimPaso")->click();
        QTRY_COMPARE(m_peer->datos(),
                     QByteArray("11:,,(reset),,@41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@"
                                "20:MdE2,X,boton,Y,sonar@"));
        QCOMPARE(actual(0), 1);
        QCOMPARE(actual(1), 1);
        QVERIFY(estado(0, 1)->isActivo() && scene(0)->previousArrow()->isActiva());
        QCOMPARE(filas(acciones()), (QStringList{"iniciar() [MdE1]", "encender() [MdE1]", "cuenta = 0 [MdE1]",
                                                 "sonar() [MdE2]"}));
        hijo<QPushButton>("pushButtonSimReiniciar")->click();
        QCOMPARE(actual(0), 0);
        QCOMPARE(variables->item(0, 1)->text(), QString("0"));
        hijo<QComboBox>("comboBoxModoSimulacion")->setCurrentIndex(0);
        QVERIFY(eventos()->isVisible());
    }

    void autoTransicionYSinAcciones()
    {
        iniciar();
        paso();
        dobleClic("boton");
        dobleClic("tick");
        QVERIFY(iconoEs(entrada(0, 2)->icon(0), "button2.png"));
        QCOMPARE(actual(0), 1);
        QCOMPARE(filas(acciones()), QStringList{"contar() [MdE1]"});
        dobleClic("timeout");
        QCOMPARE(acciones()->rowCount(), 0);
        QTRY_COMPARE(m_peer->datos(), QByteArray("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@"
                                                 "20:MdE2,X,boton,Y,sonar@"
                                                 "20:MdE1,B,tick,B,contar@"
                                                 "17:MdE1,B,timeout,A,@"));
        QVERIFY(iconoEs(entrada(0, 1)->icon(0), "button2.png"));
        QVERIFY(iconoEs(entrada(0, 2)->icon(0), "button.png"));
    }

    void disparadorCompuestoEsSuFila()
    {
        iniciar();
        paso();
        dobleClic("boton && x > 3");
        QCOMPARE(actual(0), 2);
        QCOMPARE(actual(1), 0);
        QTRY_COMPARE(m_peer->datos(), QByteArray("24:MdE1,A,boton && x > 3,C,@"));
        QCOMPARE(filasMarcadas(), (QStringList{"(reset)", "boton", "timeout"}));
    }

    void eventoDuranteElReset()
    {
        iniciar();
        dobleClic("boton");
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        QVERIFY(scene(0)->initialStateItem()->isActivo());
        QVERIFY(!scene(0)->previousArrow());
        // Frames go out in order on one connection: the reset frame alone
        // proves that the event sent nothing.
        dobleClic("(reset)");
        QTRY_COMPARE(m_peer->datos(), QByteArray("11:,,(reset),,@"));
    }

    void resetDosVeces()
    {
        iniciar();
        paso();
        dobleClic("boton");
        paso();
        QVERIFY(!estado(0, 1)->isActivo());
        dobleClic("(reset)");
        QCOMPARE(timer()->interval(), 1500);
        for (int j = 0; j < 2; ++j) {
            QVERIFY(iconoEs(entrada(j, 0)->icon(0), "bullet_red.png"));
            QVERIFY(iconoEs(entrada(j, 2)->icon(0), "button.png"));
            QVERIFY(scene(j)->initialStateItem()->isActivo());
            QVERIFY(!scene(j)->previousArrow());
        }
        QVERIFY(!estado(0, 1)->isActivo());
        for (Arrow *arrow : estado(0, 1)->arrows())
            QVERIFY(!arrow->isActiva());
        dobleClic("(reset)");
        for (int j = 0; j < 2; ++j)
            QVERIFY(iconoEs(entrada(j, 0)->icon(0), "bullet_red.png"));
        QCOMPARE(acciones()->rowCount(), 0);
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        m_peer->limpiar();
        paso();
        QCOMPARE(actual(0), 0);
        QCOMPARE(actual(1), 0);
        QVERIFY(iconoEs(entrada(0, 0)->icon(0), "bullet black.png"));
        dobleClic("boton");
        QTRY_VERIFY(m_peer->datos().startsWith("41:MdE1,A,boton,B,"));
    }

    void terminar_data()
    {
        QTest::addColumn<bool>("enEstado");
        QTest::addColumn<bool>("conVerificacion");
        QTest::newRow("in reset") << false << false;
        QTest::newRow("in a state, verification open") << true << true;
    }
    void terminar()
    {
        QFETCH(bool, enEstado);
        QFETCH(bool, conVerificacion);
        QDockWidget *verificar = hijo<QDockWidget>("dockWidgetVerificar");
        QDockWidget *proyecto = hijo<QDockWidget>("dockWidgetProyecto");
        QDockWidget *simulacion = hijo<QDockWidget>("dockWidgetSimulacion");
        QMenu *ver = hijo<QMenu>("menu_Ver");
        const QList<QAction *> menuAntes = ver->actions();
        verificar->setEnabled(true);
        verificar->setVisible(conVerificacion);
        iniciar();
        QVERIFY(verificar->isHidden());
        if (enEstado) {
            paso();
            dobleClic("boton");
        }
        accion("actionTerminarSimulacion")->trigger();

        QCOMPARE(m_w->uiMode(), MainWindow::Editar);
        QVERIFY(!timer());
        QVERIFY(!accion("actionSimular")->isChecked());
        QVERIFY(!accion("actionTerminarSimulacion")->isEnabled());
        for (QAction *comando : quinceComandos())
            QVERIFY2(comando->isEnabled(), qPrintable(comando->objectName()));
        QCOMPARE(ver->actions(), menuAntes);
        QVERIFY(simulacion->isHidden());
        QVERIFY(!proyecto->isHidden());
        QCOMPARE(!verificar->isHidden(), conVerificacion);
        if (conVerificacion)
            QVERIFY(m_w->tabifiedDockWidgets(proyecto).contains(verificar));
        QCOMPARE(eventos()->rowCount(), 0);
        QCOMPARE(acciones()->rowCount(), 0);
        for (int j = 0; j < 2; ++j) {
            QCOMPARE(scene(j)->mode(), DiagramScene::MoveItem);
            QCOMPARE(scene(j)->views().first()->dragMode(), QGraphicsView::RubberBandDrag);
            QVERIFY(!scene(j)->initialStateItem()->isActivo());
            QVERIFY(!scene(j)->previousArrow());
            for (DiagramItem *item : scene(j)->itemList()) {
                QVERIFY(!item->isActivo());
                for (Arrow *arrow : item->arrows())
                    QVERIFY(!arrow->isActiva());
            }
        }
        // Events that arrive now are ignored, and a new run starts afresh.
        m_w->Analizar("boton");
        iniciar();
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        paso();
        QCOMPARE(actual(0), 0);
    }

    void simularDosVecesSigueSimulando()
    {
        iniciar();
        QTimer *primero = timer();
        accion("actionSimular")->trigger();
        QVERIFY(accion("actionSimular")->isChecked());
        QCOMPARE(timer(), primero);
    }

    void sinEstadoInicial()
    {
        delete m_w;
        m_w = new MainWindow;
        m_w->show();
        QVERIFY(abrirFixture(*m_w, *m_dir, "SININICIAL"));
        ModalScript script;
        script.thenDismiss();
        accion("actionSimular")->trigger();
        QCOMPARE(script.titulos(), QStringList("Advertencia"));
        QCOMPARE(script.textos(), QStringList("MdE2: No se encuentra definido el Estado Inicial"));
        QCOMPARE(m_w->uiMode(), MainWindow::Editar);
        QVERIFY(!accion("actionSimular")->isChecked());
        QVERIFY(!timer());
        QVERIFY(accion("actionGuardar")->isEnabled());
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
        iniciar();
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

    // What was recorded replays with every check passed, and the transition
    // never taken is marked until the simulation ends.
    void grabarYReproducir()
    {
        abrirLuz();
        QVERIFY(!accion("actionDetenerGrabacion")->isEnabled());
        accion("actionGrabarEscenario")->trigger();
        QVERIFY(m_w->grabando());
        QVERIFY(!accion("actionReproducirEscenario")->isEnabled());
        for (const char *fila : {"on", "off", "(reset)", "on"})
            dobleClic(fila);
        const QString ruta = m_dir->filePath("luz/clase");
        ModalScript script;
        script.then(VentanaPrueba::elegirArchivo(ruta));
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
        abrirLuz();
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
        abrirLuz();
        const QString ruta = m_dir->filePath("roto.escenario");
        TestSupport::writeFile(ruta, "evento on\nestado Luz\n");
        ModalScript script;
        script.then(VentanaPrueba::elegirArchivo(ruta)).thenDismiss();
        accion("actionReproducirEscenario")->trigger();
        QCOMPARE(script.textos(), QStringList{"El escenario no se puede reproducir:\n" + ruta +
                                              ":2: se espera «estado MAQUINA ESTADO»"});
        QVERIFY(!m_w->reproduciendo());
    }
};

QTEST_MAIN(TestSimulacion)
#include "tst_simulacion.moc"
