#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "xmlhandler.h"

#include <QCloseEvent>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    statusBar()->showMessage(tr("Listo."));
    iniciarServidor();
}

MainWindow::~MainWindow()
{
    delete m_datosXml;
    delete ui;
}

void MainWindow::uiDisable() {}

void MainWindow::uiEnable() {}

void MainWindow::uiReset() {}

void MainWindow::updateUi()
{
    if (!windowTitle().endsWith(QLatin1Char('*')))
        setWindowTitle(windowTitle() + QLatin1Char('*'));
}

QMessageBox::StandardButton MainWindow::maybeSave()
{
    return QMessageBox::Discard;
}

void MainWindow::readSettings() {}

void MainWindow::saveSettings() {}

bool MainWindow::verificarEstadosIniciales()
{
    for (int j = 0; j < m_sceneList.size(); ++j) {
        if (m_datosXml->getEstadoInicial(QStringLiteral("maquina%1").arg(j)) != QLatin1String("-1"))
            continue;
        QMessageBox::warning(this, QStringLiteral("Advertencia"),
                             m_sceneList.at(j)->name() +
                                 QStringLiteral(": No se encuentra definido el Estado Inicial"));
        return false;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void MainWindow::on_actionAcercaDe_triggered() {}

void MainWindow::on_actionConfigurar_depuracion_triggered() {}
