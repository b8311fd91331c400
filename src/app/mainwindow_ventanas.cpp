#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "subwindow.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QMdiArea>

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

QGraphicsView *createView(DiagramScene *scene)
{
    auto *view = new QGraphicsView(scene);
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
    subWindow->setWidget(createView(scene));
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    subWindow->setWindowTitle(nombre);
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
void MainWindow::mostrarVentanas(const QList<QMdiSubWindow *> &ventanas)
{
    if (ventanas.isEmpty())
        return;
    if (ui->mdiArea->subWindowList().size() < 2) {
        ventanas.first()->showMaximized();
        return;
    }
    for (QMdiSubWindow *ventana : ventanas)
        ventana->show();
    ui->mdiArea->tileSubWindows();
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
    if (!window)
        return;
    QGraphicsView *view = viewOfWindow(window);
    const qreal factor = zoomFactor(scale);
    if (!view || factor <= 0 || qFuzzyCompare(factor, window->currentScale()))
        return;
    window->setScale(factor);
    const QTransform kept = view->transform();
    view->resetTransform();
    view->translate(kept.dx(), kept.dy());
    view->scale(factor, factor);
    view->viewport()->update();
}

void MainWindow::mostrarZoom(QMdiSubWindow *window)
{
    auto *subWindow = qobject_cast<SubWindow *>(window);
    if (!subWindow || !m_sceneScaleCombo)
        return;
    const QString text = QString::number(int(subWindow->currentScale() * 100)) + QLatin1Char('%');
    const int index = m_sceneScaleCombo->findText(text);
    if (index >= 0)
        m_sceneScaleCombo->setCurrentIndex(index);
}
