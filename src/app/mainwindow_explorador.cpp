#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initExploradorProyecto() {}

void MainWindow::updateExploradorProyecto(TreeItemType tipo)
{
    Q_UNUSED(tipo)
}

void MainWindow::addItemProyecto(QTreeWidgetItem *padre, const QStringList &nombres, TreeItemType tipo,
                                 const QString &icono)
{
    Q_UNUSED(padre)
    Q_UNUSED(nombres)
    Q_UNUSED(tipo)
    Q_UNUSED(icono)
}

void MainWindow::addItemMaquina(QTreeWidgetItem *padre, const QString &nombreMaquina,
                                const QStringList &estados, const QString &icono)
{
    Q_UNUSED(padre)
    Q_UNUSED(nombreMaquina)
    Q_UNUSED(estados)
    Q_UNUSED(icono)
}

void MainWindow::on_treeWidgetProyecto_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item)
    Q_UNUSED(column)
}

void MainWindow::on_treeWidgetProyecto_customContextMenuRequested(const QPoint &pos)
{
    Q_UNUSED(pos)
}
