// A project edited with the mouse (a state moved and resized with its grip, a
// control point and a label dragged) reopens exactly as it was left.
#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "proyectoprueba.h"
#include "testsupport.h"

#include <QAction>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QTemporaryDir>
#include <QtTest>

class TstLifecycleGestos : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void idaYVueltaDeUnDiagramaEditadoConElRaton();

private:
    // Presses at desde, moves in a few steps to hasta and releases there, as a
    // hand on the mouse would.
    void arrastrar(QGraphicsView *view, const QPointF &desde, const QPointF &hasta);
    void clic(QGraphicsView *view, const QPointF &en);

    QTemporaryDir *m_tmp = nullptr;
    MainWindow *m_ventana = nullptr;
};

void TstLifecycleGestos::init()
{
    m_tmp = new QTemporaryDir;
    m_ventana = new MainWindow;
    m_ventana->resize(1366, 675);
    m_ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ventana));
}

void TstLifecycleGestos::cleanup()
{
    delete m_ventana;
    delete m_tmp;
}

void TstLifecycleGestos::clic(QGraphicsView *view, const QPointF &en)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(en));
}

void TstLifecycleGestos::arrastrar(QGraphicsView *view, const QPointF &desde, const QPointF &hasta)
{
    QWidget *vp = view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(desde));
    const int pasos = 4;
    for (int i = 1; i <= pasos; ++i) {
        const QPoint pos = view->mapFromScene(desde + (hasta - desde) * i / pasos);
        QMouseEvent mover(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(vp, &mover);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(hasta));
}

void TstLifecycleGestos::idaYVueltaDeUnDiagramaEditadoConElRaton()
{
    QVERIFY(
        ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("gestos"), QStringLiteral("ANA")));
    DiagramScene *scene = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Control"));
    QVERIFY(scene);
    QGraphicsView *view = m_ventana->viewOf(scene);
    QVERIFY(view);
    DiagramItem *a = ProyectoPrueba::estado(scene, QStringLiteral("A"), {-1100, -620});
    DiagramItem *b = ProyectoPrueba::estado(scene, QStringLiteral("B"), {-800, -620});
    Arrow *ab = ProyectoPrueba::transicion(scene, a, b, QStringLiteral("ev"), {QStringLiteral("hacer()")});
    ProyectoPrueba::transicion(scene, b, b, QStringLiteral("otro"), {QString()});
    ProyectoPrueba::inicial(scene, a);
    QVERIFY(view->viewport()->rect().contains(view->mapFromScene(-700, -500)));

    // Resize B with its grip: selected first, then the lower-right corner.
    clic(view, b->pos());
    QVERIFY(b->isSelected());
    const QPointF esquina = b->mapToScene(b->rect().bottomRight());
    arrastrar(view, esquina, esquina + QPointF(30, 20));
    QCOMPARE(b->rect().size(), QSizeF(140, 85));
    QCOMPARE(b->pos(), QPointF(-785, -610));

    // Move A.
    clic(view, {-1000, -400});
    arrastrar(view, a->pos(), a->pos() + QPointF(-20, 30));
    QCOMPARE(a->pos(), QPointF(-1120, -590));

    // Bend A -> B by its control point, then move its label.
    clic(view, ab->path().pointAtPercent(0.5));
    QVERIFY(ab->isSelected());
    QVERIFY(ab->midItem()->isVisible());
    const QPointF mid = ab->midItem()->scenePos();
    arrastrar(view, mid, mid + QPointF(0, -60));
    QCOMPARE(ab->midItem()->scenePos(), mid + QPointF(0, -60));
    const QPointF textoAntes = ab->textRelativePos();
    const QPointF etiqueta = ab->textItem()->sceneBoundingRect().center();
    arrastrar(view, etiqueta, etiqueta + QPointF(25, 10));
    QCOMPARE(ab->textRelativePos(), textoAntes + QPointF(25, 10));

    const QStringList antes = ProyectoPrueba::descripcion(*m_ventana);
    QVERIFY(m_ventana->guardarDatos());
    const QString archivo = m_tmp->path() + QStringLiteral("/gestos.vro");
    const QByteArray primero = TestSupport::readFile(archivo);
    m_ventana->findChild<QAction *>(QStringLiteral("actionCerrarProyecto"))->trigger();
    QVERIFY(m_ventana->sceneList().isEmpty());

    QVERIFY(m_ventana->abrirProyecto(archivo));
    QCOMPARE(ProyectoPrueba::descripcion(*m_ventana), antes);
    QVERIFY(m_ventana->guardarDatos());
    const QByteArray segundo = TestSupport::readFile(archivo);
    auto sinFecha = [](QByteArray texto) {
        const int i = texto.indexOf("<modificacion>");
        return texto.remove(i, texto.indexOf("</modificacion>") - i);
    };
    QVERIFY2(sinFecha(primero) == sinFecha(segundo), qPrintable(TestSupport::diffReport(primero, segundo)));
}

QTEST_MAIN(TstLifecycleGestos)
#include "tst_lifecycle_gestos.moc"
