#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "subwindow.h"
#include "vistadiagrama.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QMdiArea>
#include <QSignalBlocker>

namespace {

const qreal SCENE_INITIAL_WIDTH = 2500;
const qreal SCENE_INITIAL_HEIGHT = 1500;

// "125%" gives 1.25; 0 when the text holds no number before its "%".
qreal zoomFactor(const QString &text)
{
    bool ok = false;
    const qreal percent = text.left(text.indexOf(QLatin1Char('%'))).trimmed().toDouble(&ok);
    return ok && percent > 0 ? percent / 100 : 0;
}

VistaDiagrama *createView(DiagramScene *scene)
{
    auto *view = new VistaDiagrama(scene);
    view->setDragMode(QGraphicsView::RubberBandDrag);
    view->setRenderHint(QPainter::Antialiasing);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->setMouseTracking(true);
    view->viewport()->setMouseTracking(true);
    view->centerOn(-SCENE_INITIAL_WIDTH / 2, -SCENE_INITIAL_HEIGHT / 2);
    return view;
}

} // namespace

SubWindow *MainWindow::initSubWindow(const QString &nombre, bool mostrar)
{
    auto *scene = new DiagramScene(nombre, m_itemMenu, this);
    connect(scene, &DiagramScene::itemInserted, this, &MainWindow::on_itemInserted);
    connect(scene, &DiagramScene::arrowInserted, this, &MainWindow::on_arrowInserted);
    connect(scene, &DiagramScene::itemDoubleClicked, this, &MainWindow::on_itemDoubleClicked);
    connect(scene, &DiagramScene::rightClicked, this, &MainWindow::on_actionSeleccionar_triggered);
    connect(scene, &DiagramScene::arrowDoubleClicked, this, &MainWindow::on_arrowDoubleClicked);
    connect(scene, &DiagramScene::gestureFinished, this, &MainWindow::on_gestureFinished);
    scene->initSceneRect(-SCENE_INITIAL_WIDTH / 2, -SCENE_INITIAL_HEIGHT / 2, SCENE_INITIAL_WIDTH,
                         SCENE_INITIAL_HEIGHT);
    m_sceneList.append(scene);

    auto *subWindow = new SubWindow;
    VistaDiagrama *view = createView(scene);
    connect(view, &VistaDiagrama::zoomConRueda, this, [this, subWindow](int pasos, const QPoint &posicion) {
        zoomConRueda(subWindow, pasos, posicion);
    });
    connect(view, &VistaDiagrama::menuEnVacio, this,
            [this, scene](const QPoint &global, const QPointF &enEscena) {
                menuEnVacio(scene, global, enEscena);
            });
    subWindow->setWidget(view);
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    // The main window's own icon, shared rather than read again for each window.
    subWindow->setWindowIcon(windowIcon());
    ui->mdiArea->addSubWindow(subWindow);

    const QRect area = ui->mdiArea->viewport()->rect();
    subWindow->setGeometry(area.left(), area.top(), int(area.width() * 0.75), int(area.height() * 0.75));
    if (mostrar)
        mostrarVentanas({subWindow});
    return subWindow;
}

// One window alone fills the area; more are tiled, once for all of them.
// Showing each window activates it in turn; only the window left active
// fills the transitions table, once, rather than every machine's in turn.
void MainWindow::mostrarVentanas(const QList<QMdiSubWindow *> &ventanas)
{
    if (ventanas.isEmpty())
        return;
    {
        const QSignalBlocker sinActivaciones(ui->mdiArea);
        if (ui->mdiArea->subWindowList().size() < 2) {
            ventanas.first()->showMaximized();
        } else {
            for (QMdiSubWindow *ventana : ventanas)
                ventana->show();
            ui->mdiArea->tileSubWindows();
        }
    }
    // Titled once in place: a titled window works out its elided title again
    // at every step of being shown, moved and resized.
    for (QMdiSubWindow *ventana : ventanas) {
        if (const DiagramScene *scene = sceneOfWindow(ventana))
            ventana->setWindowTitle(scene->name());
    }
    on_mdiArea_subWindowActivated(ui->mdiArea->activeSubWindow());
}

QGraphicsView *MainWindow::viewOf(DiagramScene *scene) const
{
    if (!scene || scene->views().isEmpty())
        return nullptr;
    return scene->views().first();
}

DiagramScene *MainWindow::activeScene() const
{
    // The current window rather than the active one: the area keeps it while
    // another application or a dialog has the focus.
    return sceneOfWindow(ui->mdiArea->currentSubWindow());
}

QGraphicsView *MainWindow::viewOfWindow(QMdiSubWindow *window)
{
    return window ? qobject_cast<QGraphicsView *>(window->widget()) : nullptr;
}

DiagramScene *MainWindow::sceneOfWindow(QMdiSubWindow *window)
{
    QGraphicsView *view = viewOfWindow(window);
    return view ? qobject_cast<DiagramScene *>(view->scene()) : nullptr;
}

void MainWindow::on_sceneScaleChanged(const QString &scale)
{
    auto *window = qobject_cast<SubWindow *>(ui->mdiArea->currentSubWindow());
    auto *view = qobject_cast<VistaDiagrama *>(viewOfWindow(window));
    const qreal factor = qBound(ZOOM_MINIMO, zoomFactor(scale), ZOOM_MAXIMO);
    if (!view || zoomFactor(scale) <= 0 || qFuzzyCompare(factor, window->currentScale()))
        return;
    window->setScale(factor);
    view->zoomAlrededor(factor, view->viewport()->rect().center());
    mostrarZoom(window);
}

// A zoom that is none of the selector's entries (typed, or fitted to the
// window) is shown as the selector's text.
void MainWindow::mostrarZoom(QMdiSubWindow *window)
{
    auto *subWindow = qobject_cast<SubWindow *>(window);
    if (!subWindow || !m_sceneScaleCombo)
        return;
    const QString text = QString::number(qRound(subWindow->currentScale() * 100)) + QLatin1Char('%');
    const QSignalBlocker bloqueo(m_sceneScaleCombo);
    const int index = m_sceneScaleCombo->findText(text);
    m_sceneScaleCombo->setCurrentIndex(index);
    if (index < 0)
        m_sceneScaleCombo->setEditText(text);
}
