#include "arrow.h"
#include "diagramscene.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QDockWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString kTick = QStringLiteral(":/img/img/tick.png");
const QString kError = QStringLiteral(":/img/img/error.png");

bool mismoIcono(const QIcon &icono, const QString &ruta)
{
    const QImage referencia = QIcon(ruta).pixmap(16).toImage();
    return !referencia.isNull() && icono.pixmap(16).toImage() == referencia;
}

// The tree as lines of text, one per entry, indented by level and marked
// with the icon it shows: "+" tick, "!" error, "?" anything else.
void volcar(QTreeWidgetItem *item, int nivel, QStringList &lineas)
{
    const QIcon icono = item->icon(0);
    const QString marca = mismoIcono(icono, kTick) ? "+" : mismoIcono(icono, kError) ? "!" : "?";
    lineas << QString(2 * nivel, ' ') + marca + " " + item->text(0);
    for (int i = 0; i < item->childCount(); ++i)
        volcar(item->child(i), nivel + 1, lineas);
}

QStringList volcar(QTreeWidget *arbol)
{
    QStringList lineas;
    for (int i = 0; i < arbol->topLevelItemCount(); ++i)
        volcar(arbol->topLevelItem(i), 0, lineas);
    return lineas;
}

// The entries with findings, as vireo-cli verify prints them.
void comoCli(QTreeWidgetItem *item, int nivel, QString &texto)
{
    if (mismoIcono(item->icon(0), kTick))
        return;
    texto += QString(4 * nivel, ' ') + item->text(0) + '\n';
    for (int i = 0; i < item->childCount(); ++i)
        comoCli(item->child(i), nivel + 1, texto);
}

} // namespace

class TestVerificacionVentana : public QObject
{
    Q_OBJECT

    VentanaPrueba *m_v = nullptr;
    MainWindow *m_ventana = nullptr;
    QTreeWidget *m_arbol = nullptr;
    DiagramScene *m_mde1 = nullptr;
    DiagramScene *m_mde2 = nullptr;
    DiagramItem *m_perdido = nullptr;

    QString rutaProyecto() const { return m_v->ruta("demo/demo.vro"); }

    void verificar() { m_v->accion("actionVerificar")->trigger(); }

    void dobleClic(QTreeWidgetItem *item)
    {
        m_arbol->scrollToItem(item);
        VentanaPrueba::dobleClic(m_arbol, m_arbol->visualItemRect(item));
    }

    // The arrow of Marcha (or any state) whose trigger is evento.
    static Arrow *flecha(DiagramScene *scene, const QString &evento)
    {
        for (DiagramItem *estado : scene->itemList()) {
            for (Arrow *arrow : estado->arrows()) {
                if (arrow->startItem() == estado && arrow->event() == evento)
                    return arrow;
            }
        }
        return nullptr;
    }

    // Two machines: MdE1 with a state nothing leads to and an action used
    // only as part of a longer name; MdE2 whose only state never leaves.
    void construir()
    {
        QVERIFY(m_v->crear("demo", "demo", "ANA"));
        XmlHandler *datos = m_ventana->documento();
        for (const char *e : {"arranque", "parada", "tick", "temp", "nunca"})
            datos->addNuevoEvento(e);
        for (const char *a : {"led()", "toggle_led()", "apagar()"})
            datos->addNuevaAccion(a);
        for (const char *v : {"temp", "on", "ni"})
            datos->addNuevaVariable(v);
        m_mde1 = ProyectoPrueba::maquina(*m_ventana, "MdE1");
        DiagramItem *espera = ProyectoPrueba::estado(m_mde1, "Espera", QPointF(-200, 0));
        DiagramItem *marcha = ProyectoPrueba::estado(m_mde1, "Marcha", QPointF(100, 0));
        m_perdido = ProyectoPrueba::estado(m_mde1, "Perdido", QPointF(100, 200));
        ProyectoPrueba::transicion(m_mde1, espera, marcha, "arranque && temp > 30",
                                   {"toggle_led()", "nivel = 1"});
        ProyectoPrueba::transicion(m_mde1, marcha, espera, "parada", {""});
        ProyectoPrueba::transicion(m_mde1, marcha, marcha, "tick", {""});
        ProyectoPrueba::transicion(m_mde1, m_perdido, espera, "parada", {""});
        ProyectoPrueba::inicial(m_mde1, espera);
        m_mde2 = ProyectoPrueba::maquina(*m_ventana, "MdE2");
        DiagramItem *unico = ProyectoPrueba::estado(m_mde2, "Unico", QPointF(0, 0));
        ProyectoPrueba::transicion(m_mde2, unico, unico, "tick", {""});
        ProyectoPrueba::inicial(m_mde2, unico);
    }

private slots:
    void init()
    {
        m_v = new VentanaPrueba;
        m_ventana = &**m_v;
        m_arbol = m_ventana->findChild<QTreeWidget *>("treeWidgetVerificar");
        construir();
    }
    void cleanup() { delete m_v; }

    void arbol()
    {
        verificar();
        QCOMPARE(m_arbol->headerItem()->text(0), QString("Verificando: demo"));
        const QStringList esperado{
            "! Chequeo de estados sin salida",
            "  ! UNICO [MdE2]",
            "! Chequeo de estados sin activar",
            "  ! PERDIDO [MdE1]",
            "! Chequeo de elementos sin utilizar",
            "  ! Eventos sin utilizar",
            "    ! temp",
            "    ! nunca",
            "  ! Acciones sin utilizar",
            "    ! apagar()",
            "  ! Variables sin utilizar",
            "    ! on",
            "  + Constantes sin utilizar",
            "! Chequeo de transiciones en conflicto",
            "  ! MARCHA [MdE1]: parada | tick",
        };
        QCOMPARE(volcar(m_arbol), esperado);
        for (QTreeWidgetItemIterator it(m_arbol); *it; ++it) {
            QCOMPARE((*it)->flags(), Qt::ItemIsEnabled);
            QVERIFY((*it)->childCount() == 0 || (*it)->isExpanded());
        }
        QCOMPARE(m_ventana->uiMode(), MainWindow::Editar);
    }

    // A state finding tells the way to its state; double-clicking a finding
    // selects what it names in its machine's window.
    void caminosYDobleClic()
    {
        verificar();
        QTreeWidgetItem *perdido = m_arbol->findItems("PERDIDO [MdE1]", Qt::MatchRecursive).value(0);
        QTreeWidgetItem *unico = m_arbol->findItems("UNICO [MdE2]", Qt::MatchRecursive).value(0);
        QTreeWidgetItem *conflicto =
            m_arbol->findItems("MARCHA [MdE1]: parada | tick", Qt::MatchRecursive).value(0);
        QVERIFY(perdido && unico && conflicto);
        QCOMPARE(perdido->toolTip(0), QString("PERDIDO [MdE1]\nCamino desde el reset: inalcanzable"));
        QCOMPARE(unico->toolTip(0), QString("UNICO [MdE2]\nCamino desde el reset: (inicial)"));
        QVERIFY(conflicto->toolTip(0).startsWith("MARCHA [MdE1]: parada | tick\nCamino desde el reset: "
                                                 "arranque && temp > 30\n"));

        dobleClic(perdido);
        QVERIFY(m_perdido->isSelected());
        QCOMPARE(m_ventana->activeScene(), m_mde1);
        dobleClic(unico);
        QVERIFY(m_mde2->itemList().first()->isSelected());
        QCOMPARE(m_ventana->activeScene(), m_mde2);
        dobleClic(conflicto);
        QCOMPARE(m_ventana->activeScene(), m_mde1);
        QVERIFY(!m_perdido->isSelected());
        QVERIFY(flecha(m_mde1, "parada")->isSelected());
        QVERIFY(flecha(m_mde1, "tick")->isSelected());
        QCOMPARE(m_mde1->selectedItems().size(), 2);
    }

    // A project opened from its file: the panel shows the findings that the
    // command-line tool prints for that file.
    void igualQueVireoCli()
    {
        const QString ruta = m_v->ruta("hallazgos.vro");
        QVERIFY(m_v->abrirDato("verify/hallazgos.vro"));
        verificar();
        QCOMPARE(m_arbol->headerItem()->text(0), QString("Verificando: hallazgos"));
        QString texto;
        for (int i = 0; i < m_arbol->topLevelItemCount(); ++i)
            comoCli(m_arbol->topLevelItem(i), 0, texto);
        const TestSupport::CliResult cli = TestSupport::runCli({"verify", ruta});
        QCOMPARE(cli.exitCode, 1);
        QCOMPARE(texto, QString::fromUtf8(cli.out));
    }

    // Each run saves first and shows the panel next to the explorer.
    void dosVecesIgualYGuardaCadaVez()
    {
        auto *dock = m_ventana->findChild<QDockWidget *>("dockWidgetVerificar");
        dock->close();
        m_ventana->updateUi();
        QVERIFY(m_ventana->windowTitle().endsWith('*'));
        verificar();
        QVERIFY(!m_ventana->isModificado());
        QVERIFY(!m_ventana->windowTitle().contains('*'));
        QVERIFY(dock->isVisible() && dock->isEnabled());
        QVERIFY(m_ventana->tabifiedDockWidgets(m_ventana->findChild<QDockWidget *>("dockWidgetProyecto"))
                    .contains(dock));
        QVERIFY(TestSupport::readFile(rutaProyecto()).contains("<nombre>Perdido</nombre>"));
        const QStringList arbol = volcar(m_arbol);

        m_perdido->setName("Olvidado");
        verificar();
        QVERIFY(TestSupport::readFile(rutaProyecto()).contains("<nombre>Olvidado</nombre>"));
        QStringList esperado = arbol;
        esperado.replaceInStrings("PERDIDO [MdE1]", "OLVIDADO [MdE1]");
        QCOMPARE(volcar(m_arbol), esperado);
        verificar();
        QCOMPARE(volcar(m_arbol), esperado);
    }

    // Only the first machine without initial state is named, and the panel
    // keeps the previous results.
    void sinEstadoInicial()
    {
        verificar();
        const QStringList antes = volcar(m_arbol);
        for (DiagramScene *scene : {m_mde1, m_mde2}) {
            DiagramItem *marcador = scene->initialStateItem();
            marcador->removeArrows();
            scene->setInitialStateItem(nullptr);
            delete marcador;
        }
        ModalScript script;
        script.thenDismiss();
        verificar();
        QCOMPARE(script.titulos(), QStringList{"Advertencia"});
        QCOMPARE(script.textos(), QStringList{"MdE1: No se encuentra definido el Estado Inicial"});
        QCOMPARE(volcar(m_arbol), antes);
        QVERIFY(TestSupport::readFile(rutaProyecto()).contains("<estadoInicial/>"));
    }
};

QTEST_MAIN(TestVerificacionVentana)
#include "tst_verificacion_ventana.moc"
