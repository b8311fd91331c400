#include "diagramitem.h"
#include "diagramscene.h"
#include "proyectoprueba.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

class TstExplorador : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void grupos();
    void maquinasYEstados();
    void dobleClicMuestraUnaMaquinaOculta();
    void menuContextual_data();
    void menuContextual();

private:
    QTreeWidget *arbol() const { return m_v->hijo<QTreeWidget>("treeWidgetProyecto"); }
    QTreeWidgetItem *grupo(int i) const { return arbol()->topLevelItem(0)->child(i); }
    QStringList textos(const QTreeWidgetItem *item) const
    {
        QStringList l;
        for (int i = 0; i < item->childCount(); ++i)
            l << item->child(i)->text(0);
        return l;
    }
    QPoint centro(QTreeWidgetItem *item) const
    {
        arbol()->scrollToItem(item);
        return arbol()->visualItemRect(item).center();
    }

    VentanaPrueba *m_v = nullptr;
    MainWindow *m_ventana = nullptr;
};

void TstExplorador::init()
{
    m_v = new VentanaPrueba;
    m_ventana = &**m_v;
    QVERIFY(m_v->crear(QStringLiteral("demo")));
}

void TstExplorador::cleanup()
{
    delete m_v;
}

// A new project shows its five groups, empty; once refreshed, an empty group
// shows a placeholder, and one group is rebuilt on its own.
void TstExplorador::grupos()
{
    QCOMPARE(arbol()->topLevelItemCount(), 1);
    const QTreeWidgetItem *raiz = arbol()->topLevelItem(0);
    QCOMPARE(raiz->text(0), QStringLiteral("demo"));
    QCOMPARE(textos(raiz), QStringList({"SISTEMA", "EVENTOS", "ACCIONES", "VARIABLES", "CONSTANTES"}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(grupo(i)->childCount(), 0);

    m_ventana->updateExploradorProyecto();
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(textos(grupo(i)), QStringList(" - "));
        QCOMPARE(grupo(i)->child(0)->icon(0).isNull(), i == 0);
        QVERIFY(grupo(i)->isExpanded());
    }
    QCOMPARE(textos(grupo(4)), QStringList({"TRUE", "FALSE"}));
    m_ventana->documento()->addNuevoEvento(QStringLiteral("ev_a"));
    m_ventana->documento()->addNuevaAccion(QStringLiteral("hacer()"));
    m_ventana->updateExploradorProyecto(MainWindow::Eventos);
    QCOMPARE(textos(grupo(1)), QStringList("ev_a"));
    QCOMPARE(textos(grupo(2)), QStringList(" - "));
}

void TstExplorador::maquinasYEstados()
{
    DiagramScene *m1 = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Control"));
    DiagramItem *uno = ProyectoPrueba::estado(m1, QStringLiteral("Uno"), {0, 0});
    ProyectoPrueba::estado(m1, QStringLiteral("dos"), {200, 0});
    ProyectoPrueba::inicial(m1, uno);
    DiagramScene *m2 = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Otra"));
    ProyectoPrueba::estado(m2, QStringLiteral("Uno"), {0, 0});
    ProyectoPrueba::estado(m2, QStringLiteral("dos"), {200, 0});
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Vacia"));
    m_ventana->updateExploradorProyecto(MainWindow::Sistema);
    // A refresh after an edit shows the machines again, once each.
    arbol()->collapseItem(grupo(0));
    m_ventana->updateExploradorProyecto(MainWindow::Sistema);

    QTreeWidgetItem *sistema = grupo(0);
    QCOMPARE(textos(sistema), QStringList({"Control", "Otra", "Vacia"}));
    QCOMPARE(textos(sistema->child(0)), QStringList({"UNO (Inicial)", "DOS"}));
    QCOMPARE(textos(sistema->child(1)), QStringList({"UNO", "DOS"}));
    QCOMPARE(textos(sistema->child(2)), QStringList(" - "));
    QVERIFY(sistema->child(2)->child(0)->icon(0).isNull());
    QVERIFY(sistema->isExpanded() && sistema->child(0)->isExpanded());
    // Only the machines were asked for: the catalogue groups are untouched.
    QCOMPARE(grupo(4)->childCount(), 0);
}

void TstExplorador::dobleClicMuestraUnaMaquinaOculta()
{
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("A"));
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("B"));
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("C"));
    m_ventana->updateExploradorProyecto();
    auto *area = m_v->hijo<QMdiArea>("mdiArea");
    QMdiSubWindow *b = area->subWindowList().at(1);
    b->close();
    QVERIFY(b->isHidden());
    area->subWindowList().at(0)->showMaximized();

    VentanaPrueba::clicEnFila(arbol(), QStringLiteral("B"));

    QVERIFY(!b->isHidden());
    QCOMPARE(area->activeSubWindow(), b);
    // Tiled: none is left maximized over the others.
    for (QMdiSubWindow *ventana : area->subWindowList())
        QVERIFY(!ventana->isMaximized());

    // A placeholder and a state entry match no machine.
    area->subWindowList().at(0)->showMaximized();
    VentanaPrueba::clicEnFila(arbol(), QStringLiteral("EVENTOS"));
    QVERIFY(area->subWindowList().at(0)->isMaximized());
}

void TstExplorador::menuContextual_data()
{
    QTest::addColumn<QString>("entrada");
    QTest::addColumn<QStringList>("menu");
    QTest::newRow("máquina") << "B" << QStringList(QStringLiteral("Eliminar Máquina"));
    QTest::newRow("estado") << "UNO" << QStringList();
    QTest::newRow("fuera de las entradas") << QString() << QStringList();
}

void TstExplorador::menuContextual()
{
    QFETCH(QString, entrada);
    QFETCH(QStringList, menu);
    DiagramScene *a = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("A"));
    ProyectoPrueba::estado(a, QStringLiteral("Uno"), {0, 0});
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("B"));
    m_ventana->updateExploradorProyecto();

    QPoint pos(5, arbol()->viewport()->height() - 5);
    if (!entrada.isEmpty()) {
        const QList<QTreeWidgetItem *> items =
            arbol()->findItems(entrada, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(items.size(), 1);
        pos = centro(items.first());
    }
    const QStringList mostrado = VentanaPrueba::menuDurante([&]() {
        QContextMenuEvent evento(QContextMenuEvent::Mouse, pos, arbol()->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(arbol()->viewport(), &evento);
    });
    QCOMPARE(mostrado, menu);
    if (!menu.isEmpty()) {
        // The command acts on the active window: it is the machine clicked.
        auto *area = m_v->hijo<QMdiArea>("mdiArea");
        QVERIFY(area->activeSubWindow());
        QCOMPARE(area->activeSubWindow()->windowTitle(), entrada);
    }
}

QTEST_MAIN(TstExplorador)
#include "tst_explorador.moc"
