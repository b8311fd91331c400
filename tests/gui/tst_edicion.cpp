#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QGraphicsView>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

namespace {

template<typename T> T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qWarning("missing widget %s", name);
    return widget;
}

void click(QWidget *parent, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
}

// Clicks a button of the dialog that answers the name dialog it opens.
void clickNaming(QWidget *parent, const char *name, const QString &typed)
{
    ModalScript script;
    script.thenType(typed);
    click(parent, name);
}

// Declares the event boton and the action encender() on the way, as a user
// would, and accepts "boton / encender()".
void buildTransition(QWidget *dialog)
{
    clickNaming(dialog, "toolButtonNuevoEvento", QStringLiteral("boton"));
    click(dialog, "toolButtonAgregarEvento");
    clickNaming(dialog, "toolButtonNuevaAccion", QStringLiteral("encender"));
    click(dialog, "toolButtonAgregarAccion");
    click(dialog, "pushButtonAceptar");
}

} // namespace

class TestEdicion : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VentanaPrueba> m_v;
    MainWindow *m_window = nullptr;

    QAction *action(const char *name) { return m_v->accion(name); }

    QGraphicsView *activeView() { return m_window->viewOf(m_window->activeScene()); }

    void clickAt(const QPoint &viewportPos, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(activeView()->viewport(), button, Qt::NoModifier, viewportPos);
    }

    QPoint viewPosOf(const DiagramItem *item) { return activeView()->mapFromScene(item->scenePos()); }

    // Runs "Nueva Máquina", answers its name dialog and returns the name it offered.
    QStringList newMachine(const QString &typed = QString(),
                           const QString &button = QStringLiteral("Aceptar"))
    {
        ModalScript script;
        script.thenType(typed, button);
        action("actionNuevaMaquina")->trigger();
        return script.textos();
    }

    // Clicks at with "Nuevo Estado" and returns the name its dialog offered.
    QStringList nameState(const QPoint &at, const QString &button = QStringLiteral("Aceptar"))
    {
        action("actionNuevoEstado")->trigger();
        ModalScript script;
        script.thenType(QString(), button);
        clickAt(at);
        return script.textos();
    }

    DiagramItem *insertState(const QPoint &at)
    {
        nameState(at);
        return m_window->activeScene()->itemList().value(m_window->activeScene()->itemList().size() - 1);
    }

    QStringList tableRow(int row)
    {
        auto *table = m_window->findChild<QTableWidget *>(QStringLiteral("tableWidgetTransiciones"));
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
        return cells;
    }

    int tableRows()
    {
        return m_window->findChild<QTableWidget *>(QStringLiteral("tableWidgetTransiciones"))->rowCount();
    }

private slots:
    void init()
    {
        m_v = std::make_unique<VentanaPrueba>();
        m_window = &**m_v;
        QVERIFY(m_v->crear(QStringLiteral("demo")));
    }

    void machineNames()
    {
        QCOMPARE(newMachine(), QStringList("MdE1"));
        QCOMPARE(m_window->sceneList().size(), 1);
        QCOMPARE(m_window->sceneList().at(0)->name(), QStringLiteral("MdE1"));
        QVERIFY(m_window->isModificado());
        QVERIFY(m_window->windowTitle().contains(QLatin1Char('*')));
        QCOMPARE(newMachine(QStringLiteral("mi maquina")), QStringList("MdE2"));
        QCOMPARE(m_window->sceneList().at(1)->name(), QStringLiteral("mi_maquina"));
        newMachine(QStringLiteral("MI_MAQUINA"));
        QCOMPARE(m_window->sceneList().at(2)->name(), QStringLiteral("MI_MAQUINA2"));
        newMachine(QString(), QStringLiteral("Cancelar"));
        QCOMPARE(m_window->sceneList().size(), 3);
    }

    // States are numbered over the whole project (the C names every state);
    // a cancelled name removes the new state.
    void statesAreNamedOrRemoved()
    {
        newMachine();
        QCOMPARE(nameState(QPoint(150, 150)), QStringList("ESTADO1"));
        QCOMPARE(nameState(QPoint(400, 150)), QStringList("ESTADO2"));
        nameState(QPoint(400, 400), QStringLiteral("Cancelar"));
        DiagramScene *scene = m_window->activeScene();
        QCOMPARE(scene->itemList().size(), 2);
        QCOMPARE(scene->itemList().at(0)->name(), QStringLiteral("ESTADO1"));
        QCOMPARE(scene->itemList().at(1)->name(), QStringLiteral("ESTADO2"));
        QVERIFY(action("actionSeleccionar")->isChecked());
        QCOMPARE(scene->mode(), DiagramScene::MoveItem);
        QVERIFY(m_window->windowTitle().contains(QLatin1Char('*')));
        newMachine();
        QCOMPARE(nameState(QPoint(150, 150)), QStringList("ESTADO3"));
    }

    void acceptedTransitionShowsItsLabel()
    {
        newMachine();
        DiagramItem *a = insertState(QPoint(150, 150));
        DiagramItem *b = insertState(QPoint(450, 150));
        action("actionNuevaTransicion")->trigger();
        clickAt(viewPosOf(a));
        {
            ModalScript script;
            script.then(buildTransition);
            clickAt(viewPosOf(b));
        }
        QCOMPARE(a->arrows().size(), 1);
        Arrow *arrow = a->arrows().first();
        QCOMPARE(arrow->endItem(), b);
        QCOMPARE(arrow->label().toPlainText(), QStringLiteral("boton /\nencender()"));
        QCOMPARE(m_window->documento()->getNombresEventosDefinidos(), QStringList{"boton"});
        QCOMPARE(m_window->documento()->getNombresAccionesDefinidas(), QStringList{"encender()"});
        QCOMPARE(tableRow(0), (QStringList{"ESTADO1", "ESTADO2", "boton", "encender()"}));
        QVERIFY(action("actionSeleccionar")->isChecked());

        // A self-loop on the second state, accepted with the trigger only.
        action("actionNuevaTransicion")->trigger();
        clickAt(viewPosOf(b));
        ModalScript script;
        script.then([](QWidget *dialog) {
            QApplication::processEvents();
            VentanaPrueba::clicEnFila(child<QListWidget>(dialog, "listWidgetEventos"),
                                      QStringLiteral("boton"));
            click(dialog, "pushButtonAceptar");
        });
        clickAt(viewPosOf(b));
        QCOMPARE(b->arrows().size(), 2);
        QCOMPARE(b->arrows().last()->endItem(), b);
        QCOMPARE(tableRows(), 2);
        QCOMPARE(tableRow(1), (QStringList{"ESTADO2", "ESTADO2", "boton", "-"}));
    }

    // The second machine tiles the windows: the marker stays, Qt's suffix goes.
    void modifiedMarkerSurvivesMaximizedWindows()
    {
        newMachine();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo.vro* - [MdE1]"));
        insertState(QPoint(150, 150));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo.vro* - [MdE1]"));
        newMachine();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo.vro*"));
        QVERIFY(m_window->guardarDatos());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo.vro"));
    }

    // "Estado inicial" says when there is no state, or offers the machine's.
    void initialStateOffersTheStates()
    {
        newMachine();
        ModalScript aviso;
        aviso.thenDismiss();
        action("actionEstadoInicial")->trigger();
        QCOMPARE(aviso.textos(), QStringList("No hay ningún estado definido para seleccionar como inicial."));
        QVERIFY(action("actionSeleccionar")->isChecked());
        insertState(QPoint(150, 150));
        insertState(QPoint(450, 150));
        QStringList offered;
        ModalScript script;
        script.then([&offered](QWidget *modal) {
            offered = qobject_cast<QInputDialog *>(modal)->comboBoxItems();
            static_cast<QDialog *>(modal)->reject();
        });
        action("actionEstadoInicial")->trigger();
        QCOMPARE(offered, (QStringList{"ESTADO1", "ESTADO2"}));
    }

    void tableRowsFollowTheMachine()
    {
        newMachine();
        DiagramScene *scene = m_window->activeScene();
        DiagramItem *a = ProyectoPrueba::estado(scene, QStringLiteral("espera"), QPointF());
        DiagramItem *b = ProyectoPrueba::estado(scene, QStringLiteral("activo"), QPointF(300, 0));
        ProyectoPrueba::transicion(scene, a, b, QStringLiteral("boton"), {"encender()", "cuenta = 0"});
        ProyectoPrueba::transicion(scene, b, b, QStringLiteral("tick"), {QString()});
        ProyectoPrueba::inicial(scene, a);
        m_window->updateTablaTransiciones(scene);
        auto *table = m_window->findChild<QTableWidget *>(QStringLiteral("tableWidgetTransiciones"));
        QStringList headers;
        for (int c = 0; c < table->columnCount(); ++c)
            headers << table->horizontalHeaderItem(c)->text();
        QCOMPARE(headers, (QStringList{"ESTADO ACTUAL", "ESTADO FUTURO", "EVENTOS", "ACCIONES"}));
        QCOMPARE(tableRows(), 3);
        QCOMPARE(tableRow(0), (QStringList{"(RESET)", "ESPERA", " (reset) ", ""}));
        QCOMPARE(tableRow(1), (QStringList{"ESPERA", "ACTIVO", "boton", "encender(),cuenta = 0"}));
        QCOMPARE(tableRow(2), (QStringList{"ACTIVO", "ACTIVO", "tick", "-"}));
        QCOMPARE(m_window->findChild<QDockWidget *>(QStringLiteral("dockWidgetTransiciones"))->windowTitle(),
                 QStringLiteral("Tabla de Estados y Transiciones [ MdE1 ]"));
    }

    // Each row is as high as the view measures its contents, whether its
    // cells hold one line or wrap. ancho is the width of every column: 0 as
    // the window lays them out, negative that much beyond the longest action.
    void tableRowHeights_data()
    {
        QTest::addColumn<int>("ancho");
        QTest::newRow("columnas del dock") << 0;
        QTest::newRow("columnas angostas") << 45;
        QTest::newRow("acciones al borde del margen") << -3;
    }
    void tableRowHeights()
    {
        QFETCH(int, ancho);
        newMachine();
        DiagramScene *scene = m_window->activeScene();
        DiagramItem *a = ProyectoPrueba::estado(scene, QStringLiteral("espera"), QPointF());
        DiagramItem *b = ProyectoPrueba::estado(scene, QStringLiteral("activo"), QPointF(300, 0));
        for (int i = 0; i < 3; ++i) {
            ProyectoPrueba::transicion(scene, a, a, QStringLiteral("tick"), {"a()"});
            ProyectoPrueba::transicion(scene, a, b, QStringLiteral("boton"), {"encender()", "cuenta = 0"});
        }
        ProyectoPrueba::inicial(scene, a);
        auto *table = m_window->findChild<QTableWidget *>(QStringLiteral("tableWidgetTransiciones"));
        if (ancho < 0)
            ancho = qCeil(QFontMetricsF(table->font()).horizontalAdvance("encender(),cuenta = 0")) - ancho;
        if (ancho > 0) {
            table->horizontalHeader()->setStretchLastSection(false);
            table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            for (int c = 0; c < table->columnCount(); ++c)
                table->setColumnWidth(c, ancho);
        }
        m_window->updateTablaTransiciones(scene);
        QVector<int> alturas;
        for (int fila = 0; fila < table->rowCount(); ++fila)
            alturas << table->rowHeight(fila);
        table->resizeRowsToContents();
        for (int fila = 0; fila < table->rowCount(); ++fila)
            QCOMPARE(alturas.at(fila), table->rowHeight(fila));
        if (ancho > 0)
            QVERIFY(*std::max_element(alturas.begin(), alturas.end()) > alturas.first());
    }

    void deletingTheLastMachineDisablesEditing()
    {
        newMachine();
        ModalScript script;
        script.thenClick(QStringLiteral("Si"));
        action("actionEliminarMaquina")->trigger();
        QVERIFY(m_window->sceneList().isEmpty());
        for (const char *name : {"actionSeleccionar", "actionNuevoEstado", "actionGenerarCodigo",
                                 "actionSimular", "actionVerificar", "actionEliminarMaquina"})
            QVERIFY2(!action(name)->isEnabled(), name);
        QVERIFY(action("actionNuevaMaquina")->isEnabled());
        QCOMPARE(m_window->findChild<QDockWidget *>(QStringLiteral("dockWidgetTransiciones"))->windowTitle(),
                 QStringLiteral("Tabla de Estados y Transiciones"));
        QVERIFY(m_window->windowTitle().endsWith(QLatin1Char('*')));
    }
};

QTEST_MAIN(TestEdicion)
#include "tst_edicion.moc"
