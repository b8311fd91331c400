#include "arrow.h"
#include "diagramscene.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "ventanaprueba.h"

#include <QAction>
#include <QDockWidget>
#include <QTreeWidget>
#include <QtTest>

// "Verificar" in the window: the findings of Verificacion (tst_verificacion
// checks them) as a tree with icons and paths, double-clicks that select what
// a finding names, and a save before every run.
namespace {

// Two machines: MdE1 with a state nothing leads to and an action used only
// as part of a longer name; MdE2 whose only state never leaves.
const char *const kDemo = "eventos arranque parada tick temp nunca\nacciones led() toggle_led() apagar()\n"
                          "variables temp on ni\nmaquina MdE1\ninicial Espera\n"
                          "Espera -> Marcha : arranque && temp > 30 / toggle_led(),nivel = 1\n"
                          "Marcha -> Espera : parada\nMarcha -> Marcha : tick\nPerdido -> Espera : parada\n"
                          "maquina MdE2\ninicial Unico\nUnico -> Unico : tick\n";

bool mismoIcono(const QIcon &icono, const char *nombre)
{
    const QImage referencia = QIcon(QStringLiteral(":/img/img/") + nombre).pixmap(16).toImage();
    return !referencia.isNull() && icono.pixmap(16).toImage() == referencia;
}

// The tree as lines of text, indented by level and marked with the icon it
// shows: "+" tick, "!" error, "?" anything else.
void volcar(QTreeWidgetItem *item, int nivel, QStringList &lineas)
{
    const QIcon icono = item->icon(0);
    const QString marca = mismoIcono(icono, "tick.png") ? "+" : mismoIcono(icono, "error.png") ? "!" : "?";
    lineas << QString(2 * nivel, ' ') + marca + " " + item->text(0);
    QVERIFY(item->flags() == Qt::ItemIsEnabled && (item->childCount() == 0 || item->isExpanded()));
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

} // namespace

class TestVerificacionVentana : public QObject
{
    Q_OBJECT

    VentanaPrueba *m_v = nullptr;
    QTreeWidget *m_arbol = nullptr;

    QString rutaProyecto() const { return m_v->ruta("prueba.vro"); }
    DiagramScene *maquina(int k) const { return (*m_v)->sceneList().at(k); }
    DiagramItem *estado(int k, const QString &nombre) const
    {
        for (DiagramItem *item : maquina(k)->itemList()) {
            if (item->name() == nombre)
                return item;
        }
        return nullptr;
    }
    void verificar() { m_v->accion("actionVerificar")->trigger(); }
    void dobleClic(const QString &hallazgo) { VentanaPrueba::clicEnFila(m_arbol, hallazgo); }

private slots:
    void init()
    {
        m_v = new VentanaPrueba;
        m_arbol = m_v->hijo<QTreeWidget>("treeWidgetVerificar");
        QVERIFY(ProyectoDescrito::escribir(rutaProyecto(), kDemo));
        QVERIFY((*m_v)->abrirProyecto(rutaProyecto()));
    }
    void cleanup() { delete m_v; }

    // Each run saves first and shows the panel next to the explorer.
    void arbolYGuardado()
    {
        auto *dock = m_v->hijo<QDockWidget>("dockWidgetVerificar");
        dock->close();
        estado(0, "Perdido")->setName("Olvidado");
        (*m_v)->updateUi();
        QVERIFY((*m_v)->windowTitle().endsWith('*'));
        verificar();
        QVERIFY(!(*m_v)->isModificado() && !(*m_v)->windowTitle().contains('*'));
        QVERIFY(dock->isVisible() && dock->isEnabled());
        QVERIFY((*m_v)->tabifiedDockWidgets(m_v->hijo<QDockWidget>("dockWidgetProyecto")).contains(dock));
        QVERIFY(TestSupport::readFile(rutaProyecto()).contains("<nombre>Olvidado</nombre>"));
        QCOMPARE(m_arbol->headerItem()->text(0), QString("Verificando: prueba"));
        const QStringList esperado{
            "! Chequeo de estados sin salida",
            "  ! UNICO [MdE2]",
            "! Chequeo de estados sin activar",
            "  ! OLVIDADO [MdE1]",
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
        verificar();
        QCOMPARE(volcar(m_arbol), esperado);
        QCOMPARE((*m_v)->uiMode(), MainWindow::Editar);
    }

    // A state finding tells the way to its state; double-clicking a finding
    // selects what it names in its machine's window.
    void caminosYDobleClic()
    {
        verificar();
        const auto consejo = [this](const char *texto) {
            return m_arbol->findItems(texto, Qt::MatchRecursive).value(0)->toolTip(0);
        };
        QCOMPARE(consejo("PERDIDO [MdE1]"), QString("PERDIDO [MdE1]\nCamino desde el reset: inalcanzable"));
        QCOMPARE(consejo("UNICO [MdE2]"), QString("UNICO [MdE2]\nCamino desde el reset: (inicial)"));
        QVERIFY(
            consejo("MARCHA [MdE1]: parada | tick")
                .startsWith("MARCHA [MdE1]: parada | tick\nCamino desde el reset: arranque && temp > 30\n"));
        dobleClic("PERDIDO [MdE1]");
        QVERIFY(estado(0, "Perdido")->isSelected());
        QCOMPARE((*m_v)->activeScene(), maquina(0));
        dobleClic("UNICO [MdE2]");
        QVERIFY(estado(1, "Unico")->isSelected());
        QCOMPARE((*m_v)->activeScene(), maquina(1));
        dobleClic("MARCHA [MdE1]: parada | tick");
        QCOMPARE((*m_v)->activeScene(), maquina(0));
        QStringList elegidas;
        for (QGraphicsItem *item : maquina(0)->selectedItems())
            elegidas << (dynamic_cast<Arrow *>(item) ? dynamic_cast<Arrow *>(item)->event() : QString("?"));
        elegidas.sort();
        QCOMPARE(elegidas, (QStringList{"parada", "tick"}));
    }

    // Only the first machine without initial state is named, and the panel
    // keeps the previous results.
    void sinEstadoInicial()
    {
        verificar();
        const QStringList antes = volcar(m_arbol);
        for (DiagramScene *scene : (*m_v)->sceneList()) {
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
