#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "proyectoprueba.h"
#include "subwindow.h"
#include "testsupport.h"
#include "vistadiagrama.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

qreal zoomDe(QWidget *vista)
{
    return static_cast<QGraphicsView *>(vista)->transform().m11();
}

void rueda(QGraphicsView *vista, const QPoint &pos, int notches,
           Qt::KeyboardModifiers mod = Qt::ControlModifier)
{
    QWheelEvent evento(pos, vista->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches),
                       Qt::NoButton, mod, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vista->viewport(), &evento);
}

} // namespace

// The machine windows: how they are laid out, their zoom and what they show.
class TstVista : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_ventana = new MainWindow;
        m_ventana->resize(1366, 675);
        m_ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ventana));
    }
    void cleanup() { delete m_ventana; }

    // Every tool of the bar, the zoom selector included, shows at 1366 px
    // with the usual 10-point desktop font (the offscreen platform's own
    // default is 12 points).
    void zoomVisibleA1366()
    {
        const QFont anterior = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        cleanup();
        init();
        const auto restaurar = qScopeGuard([&anterior] { QApplication::setFont(anterior); });
        auto *combo = m_ventana->findChild<QToolBar *>("mainToolBar")->findChild<QComboBox *>();
        QVERIFY(combo);
        QTRY_VERIFY(combo->isVisible());
        auto *barra = m_ventana->findChild<QToolBar *>("mainToolBar");
        QVERIFY(combo->geometry().right() < barra->width());
        QVERIFY(barra->widgetForAction(m_ventana->findChild<QAction *>("actionGenerarDocumentacion"))
                    ->isVisible());
    }

    // The first window is maximized and shows the top-left corner of the
    // initial area at 100 %; a second one tiles both. The zoom is absolute,
    // belongs to the active window, and the selector shows the active
    // window's own; a text that is no number changes nothing, nor does a
    // zoom with no window.
    void ventanasYSuZoom()
    {
        QVERIFY(!m_ventana->activeScene());
        QVERIFY(QMetaObject::invokeMethod(m_ventana, "on_sceneScaleChanged", Q_ARG(QString, "200%")));
        m_ventana->findChild<QMdiArea *>()->setEnabled(true);
        m_ventana->initSubWindow(QStringLiteral("MdE1"));
        QMdiSubWindow *primera = area()->subWindowList().value(0);
        QVERIFY(primera->isMaximized());
        auto *vista = qobject_cast<QGraphicsView *>(primera->widget());
        DiagramScene *scene = m_ventana->sceneList().value(0);
        QCOMPARE(m_ventana->viewOf(scene), vista);
        QCOMPARE(m_ventana->activeScene(), scene);
        QCOMPARE(zoomDe(vista), 1.0);
        const QPointF esquina = vista->mapToScene(0, 0);
        QVERIFY2(qAbs(esquina.x() + 1250) < 5 && qAbs(esquina.y() + 750) < 5,
                 qPrintable(QStringLiteral("%1, %2").arg(esquina.x()).arg(esquina.y())));

        m_ventana->initSubWindow(QStringLiteral("MdE2"));
        QMdiSubWindow *segunda = area()->subWindowList().value(1);
        QVERIFY(!segunda->isMaximized());
        QVERIFY(!primera->isMaximized());
        QVERIFY(!primera->geometry().intersects(segunda->geometry()));

        area()->setActiveSubWindow(primera);
        elegirZoom("200%");
        elegirZoom("150%");
        QVERIFY(QMetaObject::invokeMethod(m_ventana, "on_sceneScaleChanged", Q_ARG(QString, "no number")));
        area()->setActiveSubWindow(segunda);
        elegirZoom("75%");
        QCOMPARE(zoomDe(primera->widget()), 1.5);
        QCOMPARE(zoomDe(segunda->widget()), 0.75);
        QCOMPARE(static_cast<SubWindow *>(segunda)->currentScale(), 0.75);
        area()->setActiveSubWindow(primera);
        QCOMPARE(combo()->currentText(), QStringLiteral("150%"));
        area()->setActiveSubWindow(segunda);
        QCOMPARE(combo()->currentText(), QStringLiteral("75%"));
    }

    // Ctrl + wheel steps through the zoom levels, keeping the scene point
    // under the pointer in place; a plain wheel scrolls.
    void ruedaConControl()
    {
        QGraphicsView *vista = maquinaConEstados({{0, 0}, {600, 300}});
        const QPoint pos(200, 150);
        const QPointF bajoElPuntero = vista->mapToScene(pos);
        rueda(vista, pos, 1);
        QCOMPARE(zoomDe(vista), 1.25);
        QVERIFY((vista->mapFromScene(bajoElPuntero) - pos).manhattanLength() <= 2);
        QCOMPARE(combo()->currentText(), QStringLiteral("125%"));
        rueda(vista, pos, -3);
        QCOMPARE(zoomDe(vista), 0.5);
        rueda(vista, pos, -1);
        QCOMPARE(zoomDe(vista), 0.5);
        rueda(vista, pos, 1, Qt::NoModifier);
        QCOMPARE(zoomDe(vista), 0.5);

        accion("actionZoom100")->trigger();
        QCOMPARE(zoomDe(vista), 1.0);
        accion("actionAcercar")->trigger();
        QCOMPARE(zoomDe(vista), 1.25);
    }

    // "Ajustar a la ventana" shows the whole machine, between 50 % and 100 %.
    void ajustar_data()
    {
        QTest::addColumn<QList<QPointF>>("estados");
        QTest::addColumn<qreal>("minimo");
        QTest::addColumn<qreal>("maximo");
        QTest::newRow("pequeña: 100 %") << QList<QPointF>{{3000, 2000}} << 1.0 << 1.0;
        QTest::newRow("mediana: entre ambos") << QList<QPointF>{{-400, 0}, {900, 0}} << 0.51 << 0.99;
        QTest::newRow("enorme: 50 %") << QList<QPointF>{{0, 0}, {9000, 6000}} << 0.5 << 0.5;
    }

    void ajustar()
    {
        QFETCH(QList<QPointF>, estados);
        QFETCH(qreal, minimo);
        QFETCH(qreal, maximo);
        QGraphicsView *vista = maquinaConEstados(estados);
        accion("actionAjustarVentana")->trigger();
        QVERIFY2(zoomDe(vista) >= minimo && zoomDe(vista) <= maximo,
                 qPrintable(QString::number(zoomDe(vista))));
        const QRectF visible = vista->mapToScene(vista->viewport()->rect()).boundingRect();
        const DiagramItem *primero = m_ventana->activeScene()->itemList().first();
        QVERIFY(visible.contains(primero->mapRectToScene(primero->rect())) || minimo == 0.5);
        QVERIFY(visible.contains(primero->pos()) || minimo == 0.5);
        if (maximo < 1.0)
            QCOMPARE(combo()->currentText(), QString::number(qRound(zoomDe(vista) * 100)) + "%");
    }

    // Each window of an opened project shows its states, wherever they are.
    void alAbrirSeVenLosEstados()
    {
        QTemporaryDir dir;
        const QString ruta = dir.filePath("lejos.vro");
        {
            MainWindow otra;
            QVERIFY(ProyectoPrueba::crear(otra, dir.path(), "lejos"));
            DiagramScene *scene = ProyectoPrueba::maquina(otra, "MdE1");
            ProyectoPrueba::estado(scene, "LEJOS", QPointF(4000, 3000));
            ProyectoPrueba::estado(scene, "MAS_LEJOS", QPointF(4400, 3200));
            QVERIFY(otra.guardarDatos());
        }
        QVERIFY(m_ventana->abrirProyecto(ruta));
        QGraphicsView *vista = m_ventana->viewOf(m_ventana->sceneList().first());
        const QRectF visible = vista->mapToScene(vista->viewport()->rect()).boundingRect();
        for (const DiagramItem *estado : m_ventana->sceneList().first()->itemList())
            QVERIFY(visible.contains(estado->sceneBoundingRect()));
        QCOMPARE(zoomDe(vista), 1.0);
    }

    // Following a lit state: the least scroll that shows it with a 50-pixel
    // margin; in a window too small for the margins it is centred, and a
    // second call moves nothing (no scrolling to one side and back).
    void seguir_data()
    {
        QTest::addColumn<QSize>("tamano");
        QTest::addColumn<QPointF>("pos");
        QTest::newRow("already in view") << QSize(600, 400) << QPointF(-1250, -750);
        QTest::newRow("far to the right and down") << QSize(600, 400) << QPointF(900, 700);
        QTest::newRow("window smaller than the margins") << QSize(150, 100) << QPointF(300, 200);
    }
    void seguir()
    {
        QFETCH(QSize, tamano);
        QFETCH(QPointF, pos);
        DiagramScene scene(QStringLiteral("MdE1"), nullptr);
        scene.setSceneRect(-2500, -1500, 5000, 3000);
        VistaDiagrama vista(&scene);
        vista.setFixedSize(tamano);
        vista.centerOn(-1250, -750);
        vista.show();
        auto *estado = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
        scene.addItem(estado);
        estado->setPos(pos);
        const QPoint antes(vista.horizontalScrollBar()->value(), vista.verticalScrollBar()->value());
        const bool yaVisible = vista.viewport()->rect().contains(
            vista.mapFromScene(estado->sceneBoundingRect()).boundingRect().adjusted(-50, -50, 50, 50));

        vista.seguir(estado);
        const QRect r = vista.mapFromScene(estado->sceneBoundingRect()).boundingRect();
        const QRect v = vista.viewport()->rect();
        const QPoint despues(vista.horizontalScrollBar()->value(), vista.verticalScrollBar()->value());
        if (yaVisible)
            QCOMPARE(despues, antes);
        if (r.width() + 100 <= v.width())
            QVERIFY(r.left() >= 50 && r.right() <= v.width() - 50);
        else
            QVERIFY(qAbs(r.center().x() - v.center().x()) <= 1);
        if (r.height() + 100 <= v.height())
            QVERIFY(r.top() >= 50 && r.bottom() <= v.height() - 50);
        else
            QVERIFY(qAbs(r.center().y() - v.center().y()) <= 1);
        vista.seguir(estado);
        QCOMPARE(QPoint(vista.horizontalScrollBar()->value(), vista.verticalScrollBar()->value()), despues);
    }

private:
    QMdiArea *area() const { return m_ventana->findChild<QMdiArea *>(); }
    void elegirZoom(const QString &texto) { combo()->setCurrentIndex(combo()->findText(texto)); }
    QAction *accion(const char *nombre) const { return m_ventana->findChild<QAction *>(nombre); }
    QComboBox *combo() const
    {
        return m_ventana->findChild<QToolBar *>("mainToolBar")->findChild<QComboBox *>();
    }

    QGraphicsView *maquinaConEstados(const QList<QPointF> &posiciones)
    {
        m_ventana->findChild<QMdiArea *>()->setEnabled(true);
        DiagramScene *scene = ProyectoPrueba::maquina(*m_ventana, "MdE1");
        for (int i = 0; i < posiciones.size(); ++i)
            ProyectoPrueba::estado(scene, QString("E%1").arg(i), posiciones.at(i));
        m_ventana->uiEnable();
        return m_ventana->viewOf(scene);
    }

    MainWindow *m_ventana = nullptr;
};

QTEST_MAIN(TstVista)
#include "tst_vista.moc"
