#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "portapapelesdiagrama.h"
#include "regexpinputdialog.h"
#include "subwindow.h"
#include "validadornombre.h"
#include "vistadiagrama.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QGraphicsView>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace {

// Arrow presses closer together than this are one move (one undo step).
const int kPausaEntreTeclas = 700;

// Must match the name pattern of the new-state dialog.
const char *const kPatronNombre = "[A-Za-z0-9-_ñÑ ]+";

} // namespace

void MainWindow::initTeclado()
{
    const struct
    {
        const char *nombre;
        int tecla;
        QPointF paso;
    } flechas[] = {{"actionMoverIzquierda", Qt::Key_Left, {-1, 0}},
                   {"actionMoverDerecha", Qt::Key_Right, {1, 0}},
                   {"actionMoverArriba", Qt::Key_Up, {0, -1}},
                   {"actionMoverAbajo", Qt::Key_Down, {0, 1}},
                   {"actionMoverIzquierda10", Qt::SHIFT + Qt::Key_Left, {-10, 0}},
                   {"actionMoverDerecha10", Qt::SHIFT + Qt::Key_Right, {10, 0}},
                   {"actionMoverArriba10", Qt::SHIFT + Qt::Key_Up, {0, -10}},
                   {"actionMoverAbajo10", Qt::SHIFT + Qt::Key_Down, {0, 10}}};
    for (const auto &flecha : flechas) {
        auto *accion = new QAction(this);
        accion->setObjectName(QLatin1String(flecha.nombre));
        accion->setShortcut(QKeySequence(flecha.tecla));
        accion->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const QPointF paso = flecha.paso;
        connect(accion, &QAction::triggered, this, [this, paso] { moverSeleccion(paso); });
        ui->mdiArea->addAction(accion);
    }
    m_actionRenombrar = new QAction(QStringLiteral("Renombrar"), this);
    m_actionRenombrar->setObjectName(QStringLiteral("actionRenombrar"));
    m_actionRenombrar->setShortcut(Qt::Key_F2);
    m_actionRenombrar->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_actionRenombrar, &QAction::triggered, this, &MainWindow::renombrarEstado);
    ui->mdiArea->addAction(m_actionRenombrar);

    m_finDeMovimiento = new QTimer(this);
    m_finDeMovimiento->setSingleShot(true);
    m_finDeMovimiento->setInterval(kPausaEntreTeclas);
    connect(m_finDeMovimiento, &QTimer::timeout, this,
            [this] { registrarPaso(QStringLiteral("Mover selección")); });

    // The element menu offers what fits the item it opened on; the item has
    // selected itself alone just before.
    connect(m_itemMenu, &QMenu::aboutToShow, this, &MainWindow::llenarMenuDeElemento);
}

// Moves the selected states and markers; an arrow whose two ends both move
// keeps its bend. Consecutive presses make one step, completed after a pause.
void MainWindow::moverSeleccion(const QPointF &paso)
{
    DiagramScene *scene = activeScene();
    if (!scene || m_uiMode != Editar || scene->mode() != DiagramScene::MoveItem)
        return;
    QList<DiagramItem *> mueven;
    for (QGraphicsItem *item : scene->selectedItems()) {
        if (item->type() == DiagramItem::Type)
            mueven << static_cast<DiagramItem *>(item);
    }
    if (mueven.isEmpty())
        return;
    for (DiagramItem *item : qAsConst(mueven)) {
        for (Arrow *flecha : item->arrows()) {
            if (flecha->startItem() == item && mueven.contains(flecha->endItem()))
                flecha->setControlPoint(flecha->controlPoint() + paso);
        }
    }
    for (DiagramItem *item : qAsConst(mueven))
        item->moveBy(paso.x(), paso.y());
    m_finDeMovimiento->start();
}

// Ends a burst of arrow presses now, before anything reads or takes back the
// history, so the moves are never lost nor merged into another step.
void MainWindow::completarMovimiento()
{
    if (!m_finDeMovimiento || !m_finDeMovimiento->isActive())
        return;
    m_finDeMovimiento->stop();
    registrarPaso(QStringLiteral("Mover selección"));
}

DiagramItem *MainWindow::estadoSeleccionado() const
{
    DiagramScene *scene = activeScene();
    if (!scene)
        return nullptr;
    const QList<QGraphicsItem *> seleccion = scene->selectedItems();
    for (QGraphicsItem *item : seleccion) {
        auto *estado = qgraphicsitem_cast<DiagramItem *>(item);
        if (estado && estado->diagramType() == DiagramItem::EstadoSimple)
            return estado;
    }
    return nullptr;
}

void MainWindow::renombrarEstado()
{
    DiagramItem *estado = estadoSeleccionado();
    DiagramScene *scene = activeScene();
    if (!estado || m_uiMode != Editar)
        return;
    const QHash<QString, QString> otras = estadosDeOtrasMaquinas(scene);
    const QString actual = estado->name();
    const auto validacion = [&](const QString &texto) {
        const QString nombre = ValidadorNombre::normalizar(texto);
        if (nombre.compare(actual, Qt::CaseInsensitive) != 0 && indexOfEstado(scene->name(), nombre) >= 0)
            return QStringLiteral("Ya existe un Estado con el mismo nombre");
        return ValidadorNombre::problemaEstado(nombre, otras);
    };
    bool ok = false;
    const QString texto = RegExpInputDialog::getText(
        this, QStringLiteral("Renombrar Estado"), QStringLiteral("Definir el nombre:"), actual,
        QRegExp(QString::fromUtf8(kPatronNombre)), &ok, QIcon(QStringLiteral(":/img/img/add_box.png")),
        Qt::Dialog, validacion);
    const QString nombre = ValidadorNombre::normalizar(texto);
    if (!ok || nombre.isEmpty() || nombre == actual)
        return;
    estado->setName(nombre);
    updateExploradorProyecto(Sistema);
    updateTablaTransiciones(scene);
    registrarPaso(QStringLiteral("Renombrar estado"));
}

void MainWindow::cambiarColorEstado()
{
    DiagramItem *estado = estadoSeleccionado();
    if (!estado)
        return;
    const QColor color = QColorDialog::getColor(estado->color(), this, QStringLiteral("Color del estado"));
    if (!color.isValid() || color == estado->color())
        return;
    estado->setColor(color);
    registrarPaso(QStringLiteral("Cambiar color del estado"));
}

void MainWindow::hacerEstadoInicial()
{
    DiagramItem *estado = estadoSeleccionado();
    DiagramScene *scene = activeScene();
    if (!estado)
        return;
    for (DiagramItem *otro : scene->itemList())
        otro->setInicial(false);
    estado->setInicial(true);
    // Emits arrowInserted: the transition editor of the reset runs now. As
    // with the tool, cancelling it brings the previous initial state back.
    scene->insertInitialStateItem(scene->itemList().indexOf(estado));
    if (!scene->initialStateItem()) {
        restaurarActual();
        return;
    }
    updateTablaTransiciones(scene);
    updateExploradorProyecto(Sistema);
    registrarPaso(QStringLiteral("Estado inicial"));
}

void MainWindow::llenarMenuDeElemento()
{
    m_itemMenu->clear();
    DiagramScene *scene = activeScene();
    const QList<QGraphicsItem *> seleccion = scene ? scene->selectedItems() : QList<QGraphicsItem *>();
    Arrow *flecha = seleccion.size() == 1 ? qgraphicsitem_cast<Arrow *>(seleccion.first()) : nullptr;
    if (flecha) {
        m_itemMenu->addAction(QStringLiteral("Editar transición"), this,
                              [this, flecha] { on_arrowDoubleClicked(flecha); });
    } else if (estadoSeleccionado()) {
        m_itemMenu->addAction(QStringLiteral("Renombrar"), this, &MainWindow::renombrarEstado);
        m_itemMenu->addAction(QStringLiteral("Color..."), this, &MainWindow::cambiarColorEstado);
        m_itemMenu->addAction(QIcon(QStringLiteral(":/img/img/bullet_blue.png")),
                              QStringLiteral("Estado inicial"), this, &MainWindow::hacerEstadoInicial);
    }
    m_itemMenu->addAction(QIcon(QStringLiteral(":/img/img/cross.png")), QStringLiteral("Eliminar"),
                          ui->actionEliminarElemento, &QAction::trigger);
    // A running simulation shows the diagram read-only.
    const QList<QAction *> entradas = m_itemMenu->actions();
    for (QAction *accion : entradas)
        accion->setEnabled(m_uiMode == Editar);
}

void MainWindow::menuEnVacio(DiagramScene *scene, const QPoint &global, const QPointF &enEscena)
{
    if (m_uiMode != Editar || scene->mode() == DiagramScene::Simulation)
        return;
    QMenu menu(this);
    menu.addAction(QIcon(QStringLiteral(":/img/img/add_box.png")), QStringLiteral("Nuevo estado aquí"), this,
                   [this, scene, enEscena] { nuevoEstadoEn(scene, enEscena); });
    QAction *pegarAqui =
        menu.addAction(QStringLiteral("Pegar"), this, [this, enEscena] { pegar(&enEscena); });
    const QMimeData *copia = QApplication::clipboard()->mimeData();
    pegarAqui->setEnabled(m_actionPegar->isEnabled() && copia &&
                          copia->hasFormat(QLatin1String(PortapapelesDiagrama::MIME)));
    menu.exec(global);
}

// As a click of the new-state tool: the state is inserted, named (or removed
// when naming is cancelled) by on_itemInserted.
void MainWindow::nuevoEstadoEn(DiagramScene *scene, const QPointF &pos)
{
    scene->clearSelection();
    scene->setItemType(DiagramItem::EstadoSimple);
    scene->insertItemAt(pos);
}
