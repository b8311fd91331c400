#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "onnextmodal.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBox>
#include <QTreeWidget>
#include <QtTest>

using TestSupport::onNextModal;

namespace {

// Answers a name dialog: remembers what it offered, types the given text
// (unless null) and presses the button with the given caption.
void answerName(QString *offered, const QString &typed, const QString &button = QStringLiteral("Aceptar"))
{
    onNextModal([offered, typed, button](QWidget *modal) {
        auto *edit = modal->findChild<QLineEdit *>();
        if (offered)
            *offered = edit->text();
        if (!typed.isNull()) {
            edit->clear();
            QTest::keyClicks(edit, typed);
        }
        for (QPushButton *b : modal->findChildren<QPushButton *>()) {
            if (b->text() == button) {
                b->click();
                return;
            }
        }
        modal->close();
    });
}

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

void doubleClickFirst(QWidget *parent, const char *list)
{
    auto *widget = child<QListWidget>(parent, list);
    QApplication::processEvents();
    const QPoint center = widget->visualItemRect(widget->item(0)).center();
    // A double click reaches a view only after the press of its first click.
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, center);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, center);
}

// Builds "boton && x > 3" with the actions encender() and x = 0, declaring the
// event, the variable and the action on the way, as a user would.
void buildTransition(QWidget *dialog)
{
    answerName(nullptr, QStringLiteral("boton"));
    click(dialog, "toolButtonNuevoEvento");
    click(dialog, "toolButtonAgregarEvento");
    click(dialog, "pushButtonAnd");

    child<QToolBox>(dialog, "toolBoxDisparador")->setCurrentIndex(1);
    answerName(nullptr, QStringLiteral("x"));
    click(dialog, "toolButtonNuevaVariableExpresion");
    doubleClickFirst(dialog, "listWidgetVariablesExpresion");
    child<QComboBox>(dialog, "comboBoxComparacion")->setCurrentText(QStringLiteral(">"));
    QTest::keyClicks(child<QLineEdit>(dialog, "lineEditValorExpresion"), QStringLiteral("3"));
    click(dialog, "toolButtonAgregarExpresion");

    answerName(nullptr, QStringLiteral("encender"));
    click(dialog, "toolButtonNuevaAccion");
    click(dialog, "toolButtonAgregarAccion");
    child<QToolBox>(dialog, "toolBoxAcciones")->setCurrentIndex(1);
    doubleClickFirst(dialog, "listWidgetVariablesAsignacion");
    QTest::keyClicks(child<QLineEdit>(dialog, "lineEditValorAsignacion"), QStringLiteral("0"));
    click(dialog, "toolButtonAgregarAsignacion");
    click(dialog, "pushButtonAceptar");
}

void rejectModal()
{
    onNextModal([](QWidget *modal) { QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection); });
}

} // namespace

class TestEdicion : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    MainWindow *m_window = nullptr;

    QAction *action(const char *name) { return m_window->findChild<QAction *>(QString::fromLatin1(name)); }

    QGraphicsView *activeView() { return m_window->viewOf(m_window->activeScene()); }

    void clickAt(const QPoint &viewportPos, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(activeView()->viewport(), button, Qt::NoModifier, viewportPos);
    }

    QPoint viewPosOf(const DiagramItem *item) { return activeView()->mapFromScene(item->scenePos()); }

    DiagramItem *insertState(const QPoint &at, const QString &typed = QString())
    {
        action("actionNuevoEstado")->trigger();
        answerName(nullptr, typed);
        clickAt(at);
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
        QVERIFY(m_dir.isValid());
        XmlHandler doc(QStringLiteral("demo"), XmlHandler::NUEVO_XML_DATOS);
        doc.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("demo"));
        doc.setContenidoGeneral(QStringLiteral("carpeta"), m_dir.path());
        doc.addNuevaConstante(QStringLiteral("TRUE"));
        doc.addNuevaConstante(QStringLiteral("FALSE"));
        QVERIFY(doc.save());
        m_window = new MainWindow;
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QVERIFY(m_window->abrirProyecto(m_dir.filePath(QStringLiteral("demo.vro"))));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void machineNames()
    {
        QString offered;
        answerName(&offered, QString());
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(offered, QStringLiteral("MdE1"));
        QCOMPARE(m_window->sceneList().size(), 1);
        QCOMPARE(m_window->sceneList().at(0)->name(), QStringLiteral("MdE1"));
        QVERIFY(m_window->isModificado());
        QVERIFY(m_window->windowTitle().contains(QLatin1Char('*')));

        answerName(&offered, QStringLiteral("mi maquina"));
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(offered, QStringLiteral("MdE2"));
        QCOMPARE(m_window->sceneList().at(1)->name(), QStringLiteral("mi_maquina"));

        answerName(nullptr, QStringLiteral("MI_MAQUINA"));
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(m_window->sceneList().at(2)->name(), QStringLiteral("MI_MAQUINA2"));

        answerName(nullptr, QString(), QStringLiteral("Cancelar"));
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(m_window->sceneList().size(), 3);
    }

    void statesAreNamedOrRemoved()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        QString offered;
        action("actionNuevoEstado")->trigger();
        answerName(&offered, QString());
        clickAt(QPoint(150, 150));
        QCOMPARE(offered, QStringLiteral("ESTADO1"));

        action("actionNuevoEstado")->trigger();
        answerName(&offered, QString());
        clickAt(QPoint(400, 150));
        QCOMPARE(offered, QStringLiteral("ESTADO2"));

        action("actionNuevoEstado")->trigger();
        answerName(nullptr, QString(), QStringLiteral("Cancelar"));
        clickAt(QPoint(400, 400));

        DiagramScene *scene = m_window->activeScene();
        QCOMPARE(scene->itemList().size(), 2);
        QCOMPARE(scene->itemList().at(0)->name(), QStringLiteral("ESTADO1"));
        QCOMPARE(scene->itemList().at(1)->name(), QStringLiteral("ESTADO2"));
        QVERIFY(action("actionSeleccionar")->isChecked());
        QCOMPARE(scene->mode(), DiagramScene::MoveItem);
        QVERIFY(m_window->windowTitle().contains(QLatin1Char('*')));

        // States of other machines count too: the C names every state.
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        action("actionNuevoEstado")->trigger();
        answerName(&offered, QString());
        clickAt(QPoint(150, 150));
        QCOMPARE(offered, QStringLiteral("ESTADO3"));
    }

    void acceptedTransitionShowsItsLabel()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        DiagramItem *a = insertState(QPoint(150, 150));
        DiagramItem *b = insertState(QPoint(450, 150));
        action("actionNuevaTransicion")->trigger();
        clickAt(viewPosOf(a));
        onNextModal(buildTransition);
        clickAt(viewPosOf(b));

        QCOMPARE(a->arrows().size(), 1);
        Arrow *arrow = a->arrows().first();
        QCOMPARE(arrow->endItem(), b);
        QCOMPARE(arrow->event(), QStringLiteral("boton && x > 3"));
        QCOMPARE(arrow->actions(), (QStringList{"encender()", "x = 0"}));
        QCOMPARE(arrow->textItem()->toPlainText(), QStringLiteral("boton && x > 3 /\nencender()\nx = 0"));
        QCOMPARE(m_window->documento()->getNombresEventosDefinidos(), QStringList{"boton"});
        QCOMPARE(m_window->documento()->getNombresVariablesDefinidas(), QStringList{"x"});
        QCOMPARE(m_window->documento()->getNombresAccionesDefinidas(), QStringList{"encender()"});
        QCOMPARE(tableRow(0), (QStringList{"ESTADO1", "ESTADO2", "boton && x > 3", "encender(),x = 0"}));
        QVERIFY(action("actionSeleccionar")->isChecked());

        // A self-loop on the second state, accepted with the trigger only.
        action("actionNuevaTransicion")->trigger();
        clickAt(viewPosOf(b));
        onNextModal([](QWidget *dialog) {
            doubleClickFirst(dialog, "listWidgetEventos");
            click(dialog, "pushButtonAceptar");
        });
        clickAt(viewPosOf(b));
        QCOMPARE(b->arrows().size(), 2);
        QCOMPARE(b->arrows().last()->endItem(), b);
        QCOMPARE(tableRows(), 2);
        QCOMPARE(tableRow(1), (QStringList{"ESTADO2", "ESTADO2", "boton", "-"}));
    }

    void modifiedMarkerSurvivesMaximizedWindows()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo* - [MdE1]"));
        insertState(QPoint(150, 150));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo* - [MdE1]"));

        // The second machine tiles the windows: the marker stays, Qt's suffix goes.
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo*"));
        QVERIFY(m_window->guardarDatos());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Vireo | Alderhall - demo"));
    }

    void cancelledTransitionLeavesNothing()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        DiagramItem *a = insertState(QPoint(150, 150));
        DiagramItem *b = insertState(QPoint(450, 150));
        action("actionNuevaTransicion")->trigger();
        clickAt(viewPosOf(a));
        rejectModal();
        clickAt(viewPosOf(b));
        QVERIFY(a->arrows().isEmpty());
        QVERIFY(b->arrows().isEmpty());
        int arrows = 0;
        for (QGraphicsItem *item : m_window->activeScene()->items())
            arrows += item->type() == Arrow::Type;
        QCOMPARE(arrows, 0);
        QVERIFY(action("actionSeleccionar")->isChecked());
    }

    void cancelledInitialStateLeavesNoMarker()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        DiagramItem *a = insertState(QPoint(150, 150));
        insertState(QPoint(450, 150));
        onNextModal([](QWidget *modal) {
            auto *dialog = qobject_cast<QInputDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->comboBoxItems(), (QStringList{"ESTADO1", "ESTADO2"}));
            dialog->setTextValue(QStringLiteral("ESTADO1"));
            rejectModal();
            dialog->accept();
        });
        action("actionEstadoInicial")->trigger();
        // Cancelling puts the machine back as it was: rebuilt, so a is gone.
        DiagramScene *scene = m_window->activeScene();
        QVERIFY(!scene->initialStateItem());
        a = scene->itemList().value(0);
        QVERIFY(a && !a->isEstadoInicial());
        QVERIFY(a->arrows().isEmpty());
        QCOMPARE(tableRows(), 0);
    }

    void initialStateWithoutStatesWarns()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        QString text;
        onNextModal([&text](QWidget *modal) {
            text = qobject_cast<QMessageBox *>(modal)->text();
            modal->close();
        });
        action("actionEstadoInicial")->trigger();
        QCOMPARE(text, QStringLiteral("No hay ningún estado definido para seleccionar como inicial."));
        QVERIFY(action("actionSeleccionar")->isChecked());
    }

    void tableRowsFollowTheMachine()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        DiagramScene *scene = m_window->activeScene();
        auto *a = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
        auto *b = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
        a->setName(QStringLiteral("espera"));
        b->setName(QStringLiteral("activo"));
        for (DiagramItem *item : {a, b}) {
            scene->addItem(item);
            scene->addToList(item);
        }
        const auto link = [scene](DiagramItem *from, DiagramItem *to, const QString &event,
                                  const QStringList &acts) {
            auto *arrow = new Arrow(from, to, nullptr);
            from->addArrow(arrow);
            if (to != from)
                to->addArrow(arrow);
            scene->addItem(arrow);
            arrow->setText(event, acts);
            return arrow;
        };
        link(a, b, QStringLiteral("boton"), {QStringLiteral("encender()"), QStringLiteral("cuenta = 0")});
        link(b, b, QStringLiteral("tick"), {QString()});
        auto *marker = new DiagramItem(DiagramItem::EstadoInicial, nullptr);
        scene->addItem(marker);
        scene->setInitialStateItem(marker);
        a->setInicial(true);
        link(marker, a, QStringLiteral("-"), {QString()});

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

    void deletingTheLastMachineDisablesEditing()
    {
        answerName(nullptr, QString());
        action("actionNuevaMaquina")->trigger();
        onNextModal([](QWidget *modal) {
            for (QPushButton *b : modal->findChildren<QPushButton *>()) {
                if (b->text() == QStringLiteral("Si"))
                    b->click();
            }
        });
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
