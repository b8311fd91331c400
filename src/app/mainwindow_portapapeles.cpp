#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "portapapelesdiagrama.h"
#include "xmlhandler.h"

#include <QApplication>
#include <QClipboard>
#include <QGraphicsView>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

namespace {

// A paste without the pointer over the diagram lands this far from the
// copied states (and as far again for each further paste of the same copy).
const qreal kDesplazamientoPegado = 20;

QAction *accionDeEdicion(QObject *padre, const char *nombre, const QString &texto, const QKeySequence &atajo,
                         const QString &icono = QString())
{
    auto *accion = new QAction(texto, padre);
    accion->setObjectName(QLatin1String(nombre));
    accion->setShortcut(atajo);
    if (!icono.isEmpty())
        accion->setIcon(QIcon(icono));
    accion->setEnabled(false);
    return accion;
}

QList<DiagramItem *> estadosSeleccionados(DiagramScene *scene)
{
    QList<DiagramItem *> estados;
    for (DiagramItem *estado : scene->itemList()) {
        if (estado->isSelected())
            estados << estado;
    }
    return estados;
}

} // namespace

void MainWindow::initPortapapeles()
{
    m_actionCopiar = accionDeEdicion(this, "actionCopiar", QStringLiteral("Copiar"), QKeySequence::Copy);
    m_actionCortar = accionDeEdicion(this, "actionCortar", QStringLiteral("Cortar"), QKeySequence::Cut);
    m_actionPegar = accionDeEdicion(this, "actionPegar", QStringLiteral("Pegar"), QKeySequence::Paste);
    m_actionSeleccionarTodo = accionDeEdicion(this, "actionSeleccionarTodo",
                                              QStringLiteral("Seleccionar todo"), QKeySequence::SelectAll);
    connect(m_actionCopiar, &QAction::triggered, this, [this] { copiarSeleccion(); });
    connect(m_actionCortar, &QAction::triggered, this, &MainWindow::cortarSeleccion);
    connect(m_actionPegar, &QAction::triggered, this, [this] { pegar(nullptr); });
    connect(m_actionSeleccionarTodo, &QAction::triggered, this, &MainWindow::seleccionarTodo);

    // After "Deshacer" and "Rehacer", which initHistorial put in the menu.
    auto *editar = findChild<QMenu *>(QStringLiteral("menu_Editar"));
    editar->addSeparator();
    editar->addActions({m_actionCortar, m_actionCopiar, m_actionPegar});
    editar->addSeparator();
    editar->addAction(m_actionSeleccionarTodo);
    // The clipboard works in the diagrams only: elsewhere (the explorer, the
    // tables, a dialog's field) the keys keep their usual meaning.
    for (QAction *accion : {m_actionCortar, m_actionCopiar, m_actionPegar, m_actionSeleccionarTodo}) {
        accion->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ui->mdiArea->addAction(accion);
    }
    // Editing is possible exactly when a new state can be drawn.
    connect(ui->actionNuevoEstado, &QAction::changed, this, [this] {
        for (QAction *accion : {m_actionCortar, m_actionCopiar, m_actionPegar, m_actionSeleccionarTodo})
            accion->setEnabled(ui->actionNuevoEstado->isEnabled());
    });
}

bool MainWindow::copiarSeleccion()
{
    DiagramScene *scene = activeScene();
    if (!scene || !m_datosXml)
        return false;
    const QByteArray fragmento = PortapapelesDiagrama::copiar(estadosSeleccionados(scene), *m_datosXml);
    if (fragmento.isEmpty())
        return false;
    auto *datos = new QMimeData;
    datos->setData(QLatin1String(PortapapelesDiagrama::MIME), fragmento);
    QApplication::clipboard()->setMimeData(datos);
    m_pegadosSeguidos = 0;
    return true;
}

void MainWindow::cortarSeleccion()
{
    DiagramScene *scene = activeScene();
    if (!copiarSeleccion())
        return;
    scene->removeSelectedItems();
    updateTablaTransiciones(scene);
    updateExploradorProyecto(Proyecto);
    registrarPaso(QStringLiteral("Cortar"));
}

void MainWindow::pegar(const QPointF *donde)
{
    DiagramScene *scene = activeScene();
    const QMimeData *datos = QApplication::clipboard()->mimeData();
    if (!scene || !m_datosXml || !datos || !datos->hasFormat(QLatin1String(PortapapelesDiagrama::MIME)))
        return;
    // Under the pointer when it is over the diagram; otherwise beside the copy.
    QPointF bajoElPuntero;
    const QPointF *centro = donde;
    QGraphicsView *vista = viewOf(scene);
    const QPoint puntero = vista->viewport()->mapFromGlobal(QCursor::pos());
    if (!centro && vista->viewport()->rect().contains(puntero) && vista->viewport()->underMouse()) {
        bajoElPuntero = vista->mapToScene(puntero);
        centro = &bajoElPuntero;
    }
    ++m_pegadosSeguidos;
    const qreal desplazamiento = kDesplazamientoPegado * m_pegadosSeguidos;
    const PortapapelesDiagrama::Pegado pegado = PortapapelesDiagrama::pegar(
        datos->data(QLatin1String(PortapapelesDiagrama::MIME)), scene, *m_datosXml, m_itemMenu,
        [this](const QString &nombre) { return uniqueNameEstado(nombre); }, centro,
        QPointF(desplazamiento, desplazamiento));
    if (pegado.estados.isEmpty())
        return;
    scene->clearSelection();
    for (DiagramItem *estado : pegado.estados) {
        estado->setSelected(true);
        for (Arrow *flecha : estado->arrows())
            flecha->setSelected(true);
    }
    updateTablaTransiciones(scene);
    updateExploradorProyecto(Proyecto);
    registrarPaso(QStringLiteral("Pegar"));
}

void MainWindow::seleccionarTodo()
{
    DiagramScene *scene = activeScene();
    if (!scene)
        return;
    for (QGraphicsItem *item : scene->items()) {
        if (item->isVisible() && !item->parentItem() && (item->flags() & QGraphicsItem::ItemIsSelectable))
            item->setSelected(true);
    }
}
