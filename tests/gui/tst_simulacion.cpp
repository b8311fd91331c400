#include "arrow.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "panelescenario.h"
#include "programac.h"
#include "proyectoprueba.h"
#include "simulacionprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGraphicsView>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QNetworkInterface>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace SimulacionPrueba;

namespace {

const QByteArray kBoton1("41:MdE1,A,boton,B,encender;cuenta = 0 [MdE1]@");
const QByteArray kBoton2("20:MdE2,X,boton,Y,sonar@");
const QByteArray kTick("20:MdE1,B,tick,B,contar@");
const QByteArray kTimeout("17:MdE1,B,timeout,A,@");
const QByteArray kReset("11:,,(reset),,@");

} // namespace

// The simulation driven through the real main window, with real TCP peers on
// loopback for the link, and scenarios recorded and replayed. What the engine
// decides is tst_simulacion_motor's; here, that the window shows and sends it.
// The timer's step is called directly (the timer only ticks); one test waits
// for the real tick.
class TestSimulacion : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VentanaPrueba> m_v;
    MainWindow *m_w = nullptr;
    PeerReportes *m_peer = nullptr;
    quint16 m_puertoEventos = 0;
    quint16 m_puertoReportes = 0;

    template<typename T> T *hijo(const char *nombre) const { return m_v->hijo<T>(nombre); }
    QAction *accion(const char *nombre) const { return m_v->accion(nombre); }
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
    QVector<int> actuales() const { return {actual(0), actual(1)}; }

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

    // Out of the reset pause, with no blinking behind the checks.
    void simularHastaElEstadoInicial()
    {
        iniciar();
        paso();
        timer()->stop();
        QCOMPARE(actuales(), (QVector<int>{0, 0}));
    }

    void dobleClic(const QString &texto) { VentanaPrueba::clicEnFila(eventos(), texto); }

    static QStringList filas(const QTableWidget *tabla)
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

    // Each machine's current state is the one lit, in the drawing and in the
    // tree, and only the arrow taken into it is lit; in reset, the marker.
    void comprobarDibujo() const
    {
        for (int j = 0; j < 2; ++j) {
            QCOMPARE(scene(j)->initialStateItem()->isActivo(), actual(j) < 0);
            QVERIFY(iconoEs(entrada(j, 0)->icon(0), actual(j) < 0 ? "bullet_red.png" : "bullet black.png"));
            for (int i = 0; i < scene(j)->itemList().size(); ++i) {
                DiagramItem *e = estado(j, i);
                QCOMPARE(e->isActivo(), i == actual(j));
                QVERIFY(iconoEs(entrada(j, i + 1)->icon(0), i == actual(j) ? "button2.png" : "button.png"));
                for (Arrow *arrow : e->arrows())
                    QCOMPARE(arrow->isActiva(), arrow == scene(j)->previousArrow());
            }
        }
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
        QVERIFY(m_v->crear("luz", "luz"));
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
        m_v = std::make_unique<VentanaPrueba>();
        m_w = &**m_v;
        QVERIFY(m_v->abrirDato("simulacion/SIM.vro"));
        m_peer = new PeerReportes(m_puertoReportes);
    }

    void cleanup()
    {
        m_v.reset();
        delete m_peer;
    }

    // Starting saves the project, swaps the explorer for the simulation
    // panel in the same place of "Ver", locks the editing commands and shows
    // every machine in reset; starting again goes on with the same run.
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
        QVERIFY(proyecto->isHidden());
        QVERIFY(simulacion->isVisible());
        QCOMPARE(ver->actions().indexOf(simulacion->toggleViewAction()), posicion);
        QVERIFY(!ver->actions().contains(proyecto->toggleViewAction()));
        QVERIFY(accion("actionTerminarSimulacion")->isEnabled());
        for (QAction *comando : quinceComandos())
            QVERIFY2(!comando->isEnabled(), qPrintable(comando->objectName()));
        QVERIFY(!m_w->windowTitle().endsWith("*"));
        QVERIFY(!TestSupport::readFile(m_v->ruta("SIM.vro")).isEmpty());

        QTreeWidget *arbol = hijo<QTreeWidget>("treeWidgetSimEstados");
        QCOMPARE(arbol->headerItem()->text(0), QString("SIM"));
        QTreeWidgetItem *sistema = arbol->topLevelItem(0);
        QCOMPARE(sistema->text(0), QString("SISTEMA"));
        QCOMPARE(sistema->childCount(), 2);
        QCOMPARE(sistema->child(0)->text(0), QString("MdE1"));
        QStringList textos;
        for (int i = 0; i < sistema->child(0)->childCount(); ++i)
            textos << sistema->child(0)->child(i)->text(0);
        QCOMPARE(textos, (QStringList{"(RESET)", "A", "B", "C"}));
        QVERIFY(iconoEs(entrada(0, 0)->icon(0), "bullet_red.png"));
        QVERIFY(iconoEs(entrada(0, 2)->icon(0), "button.png"));
        QCOMPARE(entrada(1, 1)->text(0), QString("X"));

        QCOMPARE(filas(eventos()), (QStringList{"(reset)", "boton", "boton && x > 3", "timeout", "tick"}));
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        QCOMPARE(acciones()->rowCount(), 0);
        for (int j = 0; j < 2; ++j) {
            QVERIFY(scene(j)->initialStateItem()->isActivo());
            QCOMPARE(scene(j)->mode(), DiagramScene::Simulation);
            QCOMPARE(scene(j)->views().first()->dragMode(), QGraphicsView::NoDrag);
        }

        QTimer *primero = timer();
        accion("actionSimular")->trigger();
        QVERIFY(accion("actionSimular")->isChecked());
        QCOMPARE(timer(), primero);
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
        QCOMPARE(actuales(), (QVector<int>{0, 0}));
        comprobarDibujo();
        QCOMPARE(scene(0)->previousArrow()->startItem(), scene(0)->initialStateItem());
        QCOMPARE(filas(acciones()), QStringList{"iniciar() [MdE1]"});
        QVERIFY(iconoEs(acciones()->item(0, 0)->icon(), "arrow_right.png"));
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

    // Double-clicked rows: the frames sent (each case ends with a reset of
    // its own, whose frame proves that nothing else was sent), the states
    // shown, the last transition's actions and the rows that can fire.
    void dobleClicEnFilas_data()
    {
        QTest::addColumn<bool>("enReset");
        QTest::addColumn<QStringList>("clics");
        QTest::addColumn<QByteArray>("tramas");
        QTest::addColumn<QVector<int>>("estados");
        QTest::addColumn<QStringList>("accionesMostradas");
        QTest::addColumn<QStringList>("marcadas");
        QTest::newRow("both machines fire")
            << false << QStringList{"boton"} << kBoton1 + kBoton2 << QVector<int>{1, 1}
            << QStringList{"sonar() [MdE2]"} << QStringList{"(reset)", "boton", "timeout", "tick"};
        QTest::newRow("self-loop, then no actions")
            << false << QStringList{"boton", "tick", "timeout"} << kBoton1 + kBoton2 + kTick + kTimeout
            << QVector<int>{0, 1} << QStringList() << QStringList{"(reset)", "boton", "boton && x > 3"};
        QTest::newRow("compound trigger")
            << false << QStringList{"boton && x > 3"} << QByteArray("24:MdE1,A,boton && x > 3,C,@")
            << QVector<int>{2, 0} << QStringList() << QStringList{"(reset)", "boton", "timeout"};
        QTest::newRow("during the reset pause")
            << true << QStringList{"boton"} << QByteArray() << QVector<int>{-1, -1} << QStringList()
            << QStringList{"(reset)"};
    }
    void dobleClicEnFilas()
    {
        QFETCH(bool, enReset);
        QFETCH(QStringList, clics);
        QFETCH(QByteArray, tramas);
        QFETCH(QVector<int>, estados);
        QFETCH(QStringList, accionesMostradas);
        QFETCH(QStringList, marcadas);
        if (enReset)
            iniciar();
        else
            simularHastaElEstadoInicial();
        for (const QString &clic : clics)
            dobleClic(clic);
        QCOMPARE(actuales(), estados);
        comprobarDibujo();
        QCOMPARE(filas(acciones()).mid(filas(acciones()).size() - accionesMostradas.size()),
                 accionesMostradas);
        QCOMPARE(filasMarcadas(), marcadas);
        dobleClic("(reset)");
        QTRY_COMPARE(m_peer->datos(), tramas + kReset);
        QCOMPARE(timer()->interval(), 1500);
        paso();
        QCOMPARE(actuales(), (QVector<int>{0, 0}));
        // Rows shown again take the height measured the first time, which
        // must be the one their content asks for.
        const QAbstractItemView *tabla = acciones();
        for (int i = 0; i < acciones()->rowCount(); ++i)
            QCOMPARE(acciones()->rowHeight(i),
                     qMax(tabla->sizeHintForRow(i), acciones()->verticalHeader()->sectionSizeHint(i)));
    }

    // "Como el código C": the checked events and the variables decide; the
    // actions table lists every machine that moved, the initial actions on
    // the first step.
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
        QTRY_COMPARE(m_peer->datos(), kReset + kBoton1 + kBoton2);
        QCOMPARE(actuales(), (QVector<int>{1, 1}));
        QVERIFY(estado(0, 1)->isActivo() && scene(0)->previousArrow()->isActiva());
        QCOMPARE(filas(acciones()), (QStringList{"iniciar() [MdE1]", "encender() [MdE1]", "cuenta = 0 [MdE1]",
                                                 "sonar() [MdE2]"}));
        hijo<QPushButton>("pushButtonSimReiniciar")->click();
        QCOMPARE(actual(0), 0);
        QCOMPARE(variables->item(0, 1)->text(), QString("0"));
        hijo<QComboBox>("comboBoxModoSimulacion")->setCurrentIndex(0);
        QVERIFY(eventos()->isVisible());
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
        QVERIFY(hijo<QDockWidget>("dockWidgetSimulacion")->isHidden());
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
        // Events that arrive outside a run are ignored, and a new run starts afresh.
        m_w->Analizar("boton");
        iniciar();
        QCOMPARE(filasMarcadas(), QStringList{"(reset)"});
        paso();
        QCOMPARE(actual(0), 0);
    }

    void sinEstadoInicial()
    {
        m_v = std::make_unique<VentanaPrueba>();
        m_w = &**m_v;
        QVERIFY(m_v->abrirDato("simulacion/SININICIAL.vro"));
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

    // A burst read at once is reported event by event (names that are no
    // row, or the reset row, fire nothing), and the display ends as if each
    // had been shown in turn.
    void rafagaMuestraElUltimoPaso()
    {
        simularHastaElEstadoInicial();
        QTcpSocket cliente;
        conectar(cliente);
        enviar(cliente, "6:bot\xc3\xb3n@5:BOTON@7:(reset)@5:boton@4:tick@7:timeout@5:boton@4:tick@");
        QTRY_COMPARE(m_peer->datos(),
                     kBoton1 + kBoton2 + kTick + kTimeout + kBoton1 + "15:MdE2,Y,boton,X,@" + kTick);
        QCOMPARE(actuales(), (QVector<int>{1, 0}));
        comprobarDibujo();
        QCOMPARE(filas(acciones()), QStringList{"contar() [MdE1]"});
    }

    void soloLoopback()
    {
        QStringList direcciones;
        for (QTcpServer *servidor : m_w->findChildren<QTcpServer *>()) {
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
        QTRY_COMPARE(m_peer->datos(), kTimeout);
        m_peer->cerrarConexiones();
        QTest::qWait(100);
        m_w->Analizar("boton");
        QTest::qWait(100);
        m_w->Analizar("timeout");
        QTRY_VERIFY(m_peer->datos().endsWith(kTimeout));
        QCOMPARE(m_peer->conexionesAceptadas(), 2);
    }

    // vireo-cli send reaches the window like a board's events.
    void send()
    {
        simularHastaElEstadoInicial();
        const TestSupport::Proceso send = TestSupport::ejecutar(
            VIREO_CLI, {"send", "--port", QString::number(m_puertoEventos), "boton", "boton && x > 3"});
        QVERIFY2(send.ok, send.salida.constData());
        QTRY_COMPARE(m_peer->datos(), kBoton1 + kBoton2);
        QCOMPARE(actuales(), (QVector<int>{1, 1}));
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
        const QString ruta = m_v->ruta("luz/clase");
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
        QCOMPARE(panel->resumen(),
                 QString("Comprobaciones cumplidas: 5 de 5. Estados visitados: 2 de 2. "
                         "Transiciones tomadas: 2 de 3 (las que faltan se marcan en naranja)."));
        QCOMPARE(m_tick->color(), QColor("#e07000"));
        accion("actionTerminarSimulacion")->trigger();
        QVERIFY(!m_tick->color().isValid());
    }

    // A failed check is shown on its line; a scenario that does not parse is
    // refused with the line that broke it.
    void fallidosYMalformado()
    {
        abrirLuz();
        const QString ruta = m_v->ruta("mal.escenario");
        TestSupport::writeFile(ruta, "acciones Luz init()\nevento on\nestado Luz APAGADA\nevento t\n"
                                     "acciones Luz cuenta += 1\n");
        reproducir(ruta);
        PanelEscenario *panel = m_w->panelEscenario();
        QCOMPARE(panel->filas(),
                 QStringList({"1|acciones Luz init()|cumplido", "2|evento on|hecho",
                              "3|estado Luz APAGADA|se esperaba APAGADA, se encontró ENCENDIDA",
                              "4|evento t|hecho", "5|acciones Luz cuenta += 1|cumplido"}));
        QCOMPARE(panel->fallidos(), 1);

        TestSupport::writeFile(ruta, "evento on\nestado Luz\n");
        ModalScript roto;
        roto.then(VentanaPrueba::elegirArchivo(ruta)).thenDismiss();
        accion("actionReproducirEscenario")->trigger();
        QCOMPARE(roto.textos(), QStringList{"El escenario no se puede reproducir:\n" + ruta +
                                            ":2: se espera «estado MAQUINA ESTADO»"});
        QVERIFY(!m_w->reproduciendo());
    }
};

QTEST_MAIN(TestSimulacion)
#include "tst_simulacion.moc"
