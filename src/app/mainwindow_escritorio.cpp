#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const char *const kClaveRecientes = "proyectosRecientes";
const char *const kClaveCarpeta = "carpetaProyectos";
const char *const kClaveTabla = "tablaTransicionesVisible";

QSettings ajustes()
{
    return QSettings(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
}

} // namespace

void MainWindow::initEscritorio()
{
    m_menuRecientes = new QMenu(QStringLiteral("Proyectos recientes"), this);
    m_menuRecientes->setObjectName(QStringLiteral("menuProyectosRecientes"));
    ui->menu_Archivo->insertMenu(ui->actionAbrirProyecto, m_menuRecientes);
    // Just after "Abrir Proyecto": insertMenu puts it before, so swap them.
    ui->menu_Archivo->removeAction(ui->actionAbrirProyecto);
    ui->menu_Archivo->insertAction(m_menuRecientes->menuAction(), ui->actionAbrirProyecto);
    actualizarMenuRecientes();

    // Only what the user does counts: uiDisable() disables the table before it
    // hides it, and hiding the main window does not hide the table itself.
    connect(ui->dockWidgetTransiciones, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (ui->dockWidgetTransiciones->isEnabled())
            ajustes().setValue(QLatin1String(kClaveTabla), visible);
    });
}

QStringList MainWindow::proyectosRecientes() const
{
    return ajustes().value(QLatin1String(kClaveRecientes)).toStringList();
}

void MainWindow::recordarProyecto(const QString &ruta)
{
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    QStringList recientes = proyectosRecientes();
    recientes.removeAll(absoluta);
    recientes.prepend(absoluta);
    QSettings settings = ajustes();
    settings.setValue(QLatin1String(kClaveRecientes), QStringList(recientes.mid(0, MAX_RECIENTES)));
    settings.setValue(QLatin1String(kClaveCarpeta), QFileInfo(absoluta).absolutePath());
    actualizarMenuRecientes();
}

QString MainWindow::carpetaParaAbrir() const
{
    const QString carpeta = ajustes().value(QLatin1String(kClaveCarpeta)).toString();
    return !carpeta.isEmpty() && QFileInfo(carpeta).isDir() ? carpeta : QDir::homePath();
}

void MainWindow::actualizarMenuRecientes()
{
    m_menuRecientes->clear();
    const QStringList recientes = proyectosRecientes();
    for (int i = 0; i < recientes.size(); ++i) {
        const QString ruta = recientes.at(i);
        QAction *accion =
            m_menuRecientes->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(ruta).fileName()));
        accion->setToolTip(ruta);
        accion->setStatusTip(ruta);
        connect(accion, &QAction::triggered, this, [this, ruta] { abrirReciente(ruta); });
    }
    m_menuRecientes->setEnabled(!recientes.isEmpty());
}

void MainWindow::abrirReciente(const QString &ruta)
{
    if (!QFileInfo(ruta).isFile()) {
        QStringList recientes = proyectosRecientes();
        recientes.removeAll(ruta);
        ajustes().setValue(QLatin1String(kClaveRecientes), recientes);
        actualizarMenuRecientes();
        QMessageBox::warning(this, QStringLiteral("Proyectos recientes"),
                             QStringLiteral("El archivo ya no existe:\n%1\nSe quitó de la lista de "
                                            "proyectos recientes.")
                                 .arg(QDir::toNativeSeparators(ruta)));
        return;
    }
    if (!descartarProyectoAbierto())
        return;
    abrirProyecto(ruta);
}

void MainWindow::mostrarTablaSegunAjustes()
{
    ui->dockWidgetTransiciones->setVisible(ajustes().value(QLatin1String(kClaveTabla), true).toBool());
}
