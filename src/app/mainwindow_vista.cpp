#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "imagendiagrama.h"
#include "subwindow.h"
#include "vistadiagrama.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace {

// The zoom steps of the selector, of Ctrl + wheel and of "Acercar"/"Alejar".
const QList<qreal> kNiveles{0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

QAction *crearAccion(QObject *padre, const char *nombre, const QString &texto, const QKeySequence &atajo)
{
    auto *accion = new QAction(texto, padre);
    accion->setObjectName(QLatin1String(nombre));
    accion->setShortcut(atajo);
    accion->setEnabled(false);
    return accion;
}

// The next zoom step from actual in the direction of pasos (one step per unit).
qreal siguienteNivel(qreal actual, int pasos)
{
    qreal nivel = actual;
    for (; pasos > 0; --pasos) {
        auto mayor =
            std::find_if(kNiveles.cbegin(), kNiveles.cend(), [nivel](qreal n) { return n > nivel + 1e-6; });
        nivel = mayor == kNiveles.cend() ? kNiveles.last() : *mayor;
    }
    for (; pasos < 0; ++pasos) {
        auto menor =
            std::find_if(kNiveles.crbegin(), kNiveles.crend(), [nivel](qreal n) { return n < nivel - 1e-6; });
        nivel = menor == kNiveles.crend() ? kNiveles.first() : *menor;
    }
    return nivel;
}

} // namespace

void MainWindow::initVista()
{
    m_actionAcercar = crearAccion(this, "actionAcercar", QStringLiteral("Acercar"), QKeySequence::ZoomIn);
    m_actionAlejar = crearAccion(this, "actionAlejar", QStringLiteral("Alejar"), QKeySequence::ZoomOut);
    m_actionZoom100 = crearAccion(this, "actionZoom100", QStringLiteral("Tamaño real (100%)"),
                                  QKeySequence(Qt::CTRL + Qt::Key_0));
    m_actionAjustar = crearAccion(this, "actionAjustarVentana", QStringLiteral("Ajustar a la ventana"),
                                  QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_H));
    m_actionAjustar->setIcon(QIcon(QStringLiteral(":/img/img/application.png")));
    m_actionAjustar->setToolTip(QStringLiteral("Ajustar el diagrama a la ventana (Ctrl+Mayús+H)"));
    connect(m_actionAcercar, &QAction::triggered, this, [this] { zoomPorPasos(1); });
    connect(m_actionAlejar, &QAction::triggered, this, [this] { zoomPorPasos(-1); });
    connect(m_actionZoom100, &QAction::triggered, this,
            [this] { on_sceneScaleChanged(QStringLiteral("100%")); });
    connect(m_actionAjustar, &QAction::triggered, this,
            [this] { ajustarAVentana(ui->mdiArea->currentSubWindow()); });

    QAction *primera = ui->menu_Ver->actions().value(0);
    ui->menu_Ver->insertActions(primera, {m_actionAcercar, m_actionAlejar, m_actionZoom100, m_actionAjustar});
    // The zoom commands can be used whenever the machine windows can be arranged.
    connect(ui->actionMosaico, &QAction::changed, this, [this] {
        for (QAction *accion : {m_actionAcercar, m_actionAlejar, m_actionZoom100, m_actionAjustar})
            accion->setEnabled(ui->actionMosaico->isEnabled());
    });

    // Any zoom between the extremes can be typed; the list offers the usual ones.
    m_sceneScaleCombo->setEditable(true);
    m_sceneScaleCombo->setInsertPolicy(QComboBox::NoInsert);
    m_sceneScaleCombo->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{1,3} ?%?")), m_sceneScaleCombo));
    m_sceneScaleCombo->setMinimumContentsLength(5);
    connect(m_sceneScaleCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { on_sceneScaleChanged(m_sceneScaleCombo->currentText() + QLatin1Char('%')); });
    connect(m_sceneScaleCombo, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { on_sceneScaleChanged(m_sceneScaleCombo->itemText(index)); });
}

// At 1366 pixels the whole tool bar shows, zoom included: the file and
// history commands show their icons only (they are the best known, and in the
// menus with their shortcuts), and so do the scenario commands (a teacher's
// tools, named by their tool tips); the drawing tools and code generation
// carry short labels (their menu entries keep the full ones), and the two
// entries that are never enabled go last.
void MainWindow::ordenarBarraDeHerramientas()
{
    QToolBar *barra = ui->mainToolBar;
    for (QAction *accion :
         {ui->actionNuevoProyecto, ui->actionAbrirProyecto, ui->actionGuardar, m_accionDeshacer,
          m_accionRehacer, m_actionGrabarEscenario, m_actionDetenerGrabacion, m_actionReproducirEscenario}) {
        if (auto *boton = qobject_cast<QToolButton *>(barra->widgetForAction(accion)))
            boton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    const QList<QPair<QAction *, QString>> etiquetas = {
        {ui->actionNuevaMaquina, QStringLiteral("Máquina")},
        {ui->actionNuevoEstado, QStringLiteral("Estado")},
        {ui->actionNuevaTransicion, QStringLiteral("Transición")},
        {ui->actionEstadoInicial, QStringLiteral("Inicial")},
        {ui->actionGenerarCodigo, QStringLiteral("Código C")}};
    for (const auto &etiqueta : etiquetas)
        etiqueta.first->setIconText(etiqueta.second);
    barra->removeAction(ui->actionSubir_modelo);
    barra->removeAction(ui->actionActualizar_modelo);
    const QList<QAction *> acciones = barra->actions();
    for (QAction *accion : acciones) {
        if (barra->widgetForAction(accion) == m_zoomLabelEnd)
            barra->insertAction(accion, m_actionAjustar);
    }
    if (auto *boton = qobject_cast<QToolButton *>(barra->widgetForAction(m_actionAjustar)))
        boton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    barra->addAction(ui->actionSubir_modelo);
    barra->addAction(ui->actionActualizar_modelo);
}

void MainWindow::zoomPorPasos(int pasos)
{
    auto *window = qobject_cast<SubWindow *>(ui->mdiArea->currentSubWindow());
    if (window)
        zoomConRueda(window, pasos, viewOfWindow(window)->viewport()->rect().center());
}

void MainWindow::zoomConRueda(SubWindow *window, int pasos, const QPoint &posicion)
{
    auto *view = qobject_cast<VistaDiagrama *>(viewOfWindow(window));
    if (!view)
        return;
    const qreal factor = siguienteNivel(window->currentScale(), pasos);
    if (qFuzzyCompare(factor, window->currentScale()))
        return;
    window->setScale(factor);
    view->zoomAlrededor(factor, posicion);
    if (window == ui->mdiArea->currentSubWindow())
        mostrarZoom(window);
}

// The machine's drawing fills the window, never below 50 % nor above 100 %:
// a small machine keeps its natural size, a large one stays readable.
void MainWindow::ajustarAVentana(QMdiSubWindow *ventana)
{
    auto *window = qobject_cast<SubWindow *>(ventana);
    auto *view = qobject_cast<VistaDiagrama *>(viewOfWindow(window));
    DiagramScene *scene = sceneOfWindow(window);
    if (!view || !scene || scene->itemList().isEmpty())
        return;
    const QRectF area = ImagenDiagrama(scene).areaDeItems();
    const QSize visible = view->viewport()->size();
    const qreal factor = qBound(
        AJUSTE_MINIMO, qMin(visible.width() / area.width(), visible.height() / area.height()), AJUSTE_MAXIMO);
    window->setScale(factor);
    view->zoomCentrado(factor, area.center());
    if (window == ui->mdiArea->currentSubWindow())
        mostrarZoom(window);
}

void MainWindow::ajustarVentanas()
{
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (QMdiSubWindow *ventana : ventanas)
        ajustarAVentana(ventana);
}
