#include "diagramscene.h"
#include "mainwindow.h"
#include "subwindow.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QMdiArea>
#include <QtTest>

namespace {

qreal zoomOf(QMdiSubWindow *window)
{
    return static_cast<QGraphicsView *>(window->widget())->transform().m11();
}

} // namespace

class TestZoom : public QObject
{
    Q_OBJECT

    MainWindow *m_window = nullptr;
    QMdiArea *m_area = nullptr;

    QComboBox *zoomCombo() const
    {
        for (QComboBox *combo : m_window->findChildren<QComboBox *>()) {
            if (combo->findText(QStringLiteral("100%")) >= 0)
                return combo;
        }
        return nullptr;
    }

    // The zoom combo box of the tool bar when the shell has built it;
    // otherwise the slot it drives is called directly.
    void chooseZoom(const QString &text)
    {
        QComboBox *combo = zoomCombo();
        if (combo && combo->findText(text) >= 0) {
            combo->setCurrentIndex(combo->findText(text));
            return;
        }
        QVERIFY(QMetaObject::invokeMethod(m_window, "on_sceneScaleChanged", Q_ARG(QString, text)));
    }

private slots:
    void init()
    {
        m_window = new MainWindow;
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_area = m_window->findChild<QMdiArea *>(QStringLiteral("mdiArea"));
        QVERIFY(m_area);
        // The area is disabled while no project is open; opening one enables it.
        m_area->setEnabled(true);
    }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void firstWindowMaximizedSecondTiled()
    {
        m_window->initSubWindow(QStringLiteral("MdE1"));
        QCOMPARE(m_window->sceneList().size(), 1);
        QMdiSubWindow *first = m_area->subWindowList().value(0);
        QVERIFY(qobject_cast<SubWindow *>(first));
        QCOMPARE(first->windowTitle(), QStringLiteral("MdE1"));
        QVERIFY(first->isMaximized());
        auto *view = qobject_cast<QGraphicsView *>(first->widget());
        QVERIFY(view);
        DiagramScene *scene = m_window->sceneList().first();
        QCOMPARE(view->scene(), scene);
        QCOMPARE(m_window->viewOf(scene), view);
        QCOMPARE(m_window->activeScene(), scene);
        QCOMPARE(zoomOf(first), 1.0);
        QCOMPARE(view->dragMode(), QGraphicsView::RubberBandDrag);
        QVERIFY(view->viewport()->hasMouseTracking());
        // It shows the top-left corner of the initial area.
        const QPointF corner = view->mapToScene(0, 0);
        QVERIFY2(qAbs(corner.x() + 1250) < 5 && qAbs(corner.y() + 750) < 5,
                 qPrintable(QStringLiteral("%1, %2").arg(corner.x()).arg(corner.y())));

        m_window->initSubWindow(QStringLiteral("MdE2"));
        QCOMPARE(m_window->sceneList().size(), 2);
        QMdiSubWindow *second = m_area->subWindowList().value(1);
        QVERIFY(!second->isMaximized());
        QVERIFY(!first->isMaximized());
        QVERIFY(!first->geometry().intersects(second->geometry()));
    }

    // The zoom is absolute, belongs to the active window, and the combo box
    // shows the active window's own; a text that is no number changes nothing.
    void eachWindowKeepsItsZoom()
    {
        m_window->initSubWindow(QStringLiteral("MdE1"));
        m_window->initSubWindow(QStringLiteral("MdE2"));
        QMdiSubWindow *first = m_area->subWindowList().value(0);
        QMdiSubWindow *second = m_area->subWindowList().value(1);

        m_area->setActiveSubWindow(first);
        chooseZoom(QStringLiteral("200%"));
        chooseZoom(QStringLiteral("150%"));
        chooseZoom(QStringLiteral("no number"));
        m_area->setActiveSubWindow(second);
        chooseZoom(QStringLiteral("75%"));
        QCOMPARE(zoomOf(first), 1.5);
        QCOMPARE(zoomOf(second), 0.75);
        QCOMPARE(static_cast<SubWindow *>(second)->currentScale(), 0.75);

        QComboBox *combo = zoomCombo();
        m_area->setActiveSubWindow(first);
        QCOMPARE(m_window->activeScene(), m_window->sceneList().at(0));
        if (combo)
            QCOMPARE(combo->currentText(), QStringLiteral("150%"));
        m_area->setActiveSubWindow(second);
        if (combo)
            QCOMPARE(combo->currentText(), QStringLiteral("75%"));
    }

    void noWindowNoZoom()
    {
        QVERIFY(!m_window->activeScene());
        QVERIFY(!m_window->viewOf(nullptr));
        chooseZoom(QStringLiteral("200%"));
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
