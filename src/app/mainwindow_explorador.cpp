#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "idsproyecto.h"
#include "xmlhandler.h"

#include <QGraphicsView>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidgetItem>

namespace {

const char *const ICONO_PROYECTO = ":/img/img/chart_organisation.png";
const char *const ICONO_GRUPO = ":/img/img/plugin.png";
const char *const ICONO_MAQUINA = ":/img/img/application.png";
const char *const ICONO_ESTADO = ":/img/img/button.png";
const char *const VACIO = " - ";

// Loading an icon reads its file; a large project lists thousands of states.
QIcon icono(const QString &path)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(path);
    if (it == cache.end())
        it = cache.insert(path, QIcon(path));
    return it.value();
}

// The explorer only shows the project: its entries can be neither selected
// nor edited.
QTreeWidgetItem *nuevoItem(QTreeWidgetItem *padre, MainWindow::TreeItemType tipo, const QString &texto,
                           const QString &rutaIcono)
{
    auto *item = new QTreeWidgetItem(padre, tipo);
    item->setText(0, texto);
    if (!rutaIcono.isEmpty())
        item->setIcon(0, icono(rutaIcono));
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

void vaciar(QTreeWidgetItem *item)
{
    qDeleteAll(item->takeChildren());
}

struct Catalogo
{
    MainWindow::TreeItemType grupo;
    MainWindow::TreeItemType elemento;
    QString (*id)(int indice);
    const char *icono;
    int (XmlHandler::*cantidad)() const;
    QString (XmlHandler::*contenido)(const QString &) const;
};

const Catalogo CATALOGOS[] = {
    {MainWindow::Eventos, MainWindow::ItemEvento, &IdsProyecto::evento, ":/img/img/events.png",
     &XmlHandler::cantidadEventos, &XmlHandler::getContenidoEvento},
    {MainWindow::Acciones, MainWindow::ItemAccion, &IdsProyecto::accion, ":/img/img/external.png",
     &XmlHandler::cantidadAcciones, &XmlHandler::getContenidoAccion},
    {MainWindow::Variables, MainWindow::ItemVariable, &IdsProyecto::variable, ":/img/img/brick.png",
     &XmlHandler::cantidadVariables, &XmlHandler::getContenidoVariable},
    {MainWindow::Constantes, MainWindow::ItemConstante, &IdsProyecto::constante,
     ":/img/img/non_derivative.png", &XmlHandler::cantidadConstantes, &XmlHandler::getContenidoConstante},
};

// The names of one catalogue in document order; a missing list is empty.
QStringList nombresCatalogo(const XmlHandler &documento, const Catalogo &catalogo)
{
    QStringList nombres;
    const int cantidad = (documento.*catalogo.cantidad)();
    for (int i = 0; i < cantidad; ++i)
        nombres << (documento.*catalogo.contenido)(catalogo.id(i));
    return nombres;
}

} // namespace

void MainWindow::initExploradorProyecto()
{
    ui->treeWidgetProyecto->clear();
    const QString nombre = m_datosXml ? m_datosXml->getContenidoGeneral(QStringLiteral("nombre")) : QString();
    auto *raiz = new QTreeWidgetItem(ui->treeWidgetProyecto, Proyecto);
    raiz->setText(0, nombre);
    raiz->setIcon(0, icono(QString::fromLatin1(ICONO_PROYECTO)));
    raiz->setFlags(Qt::ItemIsEnabled);
    const QString icono = QString::fromLatin1(ICONO_GRUPO);
    nuevoItem(raiz, Sistema, QStringLiteral("SISTEMA"), icono);
    nuevoItem(raiz, Eventos, QStringLiteral("EVENTOS"), icono);
    nuevoItem(raiz, Acciones, QStringLiteral("ACCIONES"), icono);
    nuevoItem(raiz, Variables, QStringLiteral("VARIABLES"), icono);
    nuevoItem(raiz, Constantes, QStringLiteral("CONSTANTES"), icono);
    ui->treeWidgetProyecto->expandAll();
}

QTreeWidgetItem *MainWindow::grupoExplorador(TreeItemType tipo) const
{
    const QTreeWidgetItem *raiz = ui->treeWidgetProyecto->topLevelItem(0);
    if (!raiz)
        return nullptr;
    for (int i = 0; i < raiz->childCount(); ++i) {
        if (raiz->child(i)->type() == tipo)
            return raiz->child(i);
    }
    return nullptr;
}

void MainWindow::updateExploradorProyecto(TreeItemType tipo)
{
    if (!m_datosXml)
        return;
    QTreeWidgetItem *sistema = grupoExplorador(Sistema);
    if (sistema && (tipo == Proyecto || tipo == Sistema)) {
        vaciar(sistema);
        for (const DiagramScene *scene : qAsConst(m_sceneList)) {
            QStringList estados;
            for (const DiagramItem *estado : scene->itemList()) {
                estados << estado->name().toUpper() +
                               (estado->isEstadoInicial() ? QStringLiteral(" (Inicial)") : QString());
            }
            addItemMaquina(sistema, scene->name(), estados, QString::fromLatin1(ICONO_ESTADO));
        }
        if (m_sceneList.isEmpty())
            nuevoItem(sistema, Maquina, QString::fromLatin1(VACIO), QString());
        sistema->setExpanded(true);
    }
    for (const Catalogo &catalogo : CATALOGOS) {
        QTreeWidgetItem *grupo = grupoExplorador(catalogo.grupo);
        if (!grupo || (tipo != Proyecto && tipo != catalogo.grupo))
            continue;
        addItemProyecto(grupo, nombresCatalogo(*m_datosXml, catalogo), catalogo.elemento,
                        QString::fromLatin1(catalogo.icono));
    }
}

void MainWindow::addItemProyecto(QTreeWidgetItem *padre, const QStringList &nombres, TreeItemType tipo,
                                 const QString &icono)
{
    vaciar(padre);
    for (const QString &nombre : nombres)
        nuevoItem(padre, tipo, nombre, icono);
    if (nombres.isEmpty())
        nuevoItem(padre, tipo, QString::fromLatin1(VACIO), icono);
    padre->setExpanded(true);
}

void MainWindow::addItemMaquina(QTreeWidgetItem *padre, const QString &nombreMaquina,
                                const QStringList &estados, const QString &icono)
{
    // Filled before it joins the tree, which then takes it in one step
    // rather than announcing each of a large machine's states.
    QTreeWidgetItem *maquina = nuevoItem(nullptr, Maquina, nombreMaquina, QString::fromLatin1(ICONO_MAQUINA));
    for (const QString &estado : estados)
        nuevoItem(maquina, ItemEstado, estado, icono);
    if (estados.isEmpty())
        nuevoItem(maquina, ItemEstado, QString::fromLatin1(VACIO), QString());
    padre->addChild(maquina);
    maquina->setExpanded(true);
}

void MainWindow::mostrarMaquina(const QString &nombre)
{
    for (QMdiSubWindow *ventana : ui->mdiArea->subWindowList()) {
        const DiagramScene *scene = sceneOfWindow(ventana);
        if (!scene || scene->name() != nombre)
            continue;
        if (ventana->isHidden()) {
            ventana->show();
            ui->mdiArea->tileSubWindows();
        }
        ui->mdiArea->setActiveSubWindow(ventana);
        return;
    }
}

void MainWindow::on_treeWidgetProyecto_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column)
    if (item && item->parent() && item->parent()->text(0) == QLatin1String("SISTEMA"))
        mostrarMaquina(item->text(0));
}

void MainWindow::on_treeWidgetProyecto_customContextMenuRequested(const QPoint &pos)
{
    if (!m_contextMenuExplorador)
        return;
    m_contextMenuExplorador->clear();
    const QTreeWidgetItem *item = ui->treeWidgetProyecto->itemAt(pos);
    if (!item || item->type() != Maquina || item->text(0) == QLatin1String(VACIO))
        return;
    // "Eliminar Máquina" acts on the active window: make it the clicked one.
    mostrarMaquina(item->text(0));
    m_contextMenuExplorador->addAction(ui->actionEliminarMaquina);
    m_contextMenuExplorador->exec(ui->treeWidgetProyecto->viewport()->mapToGlobal(pos));
}
