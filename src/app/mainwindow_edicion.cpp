#include "mainwindow.h"
#include "ui_mainwindow.h"

QString MainWindow::getNameNuevaMaquina()
{
    return QString();
}

QString MainWindow::getNameNuevoEstado()
{
    return QString();
}

QString MainWindow::uniqueNameMaquina(const QString &nombre)
{
    return nombre;
}

QString MainWindow::uniqueNameEstado(const QString &nombre)
{
    return nombre;
}

int MainWindow::indexOfMaquina(const QString &nombre) const
{
    Q_UNUSED(nombre)
    return -1;
}

int MainWindow::indexOfEstado(const QString &nombreMaquina, const QString &nombreEstado) const
{
    Q_UNUSED(nombreMaquina)
    Q_UNUSED(nombreEstado)
    return -1;
}

void MainWindow::initTablaTransiciones() {}

void MainWindow::updateTablaTransiciones(DiagramScene *scene)
{
    Q_UNUSED(scene)
}

void MainWindow::on_actionNuevaMaquina_triggered() {}

void MainWindow::on_actionEliminarMaquina_triggered() {}

void MainWindow::on_actionSeleccionar_triggered() {}

void MainWindow::on_actionNuevoEstado_triggered() {}

void MainWindow::on_actionEstadoInicial_triggered() {}

void MainWindow::on_actionNuevaTransicion_triggered() {}

void MainWindow::on_actionEliminarElemento_triggered() {}

void MainWindow::on_mdiArea_subWindowActivated(QMdiSubWindow *window)
{
    mostrarZoom(window);
}

void MainWindow::on_itemInserted(DiagramItem *item)
{
    Q_UNUSED(item)
}

void MainWindow::on_arrowInserted(Arrow *arrow)
{
    Q_UNUSED(arrow)
}

void MainWindow::on_itemDoubleClicked(int index)
{
    Q_UNUSED(index)
}

void MainWindow::on_arrowDoubleClicked(Arrow *arrow)
{
    Q_UNUSED(arrow)
}
