#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "imagendiagrama.h"
#include "xmlhandler.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

const char *const kClaveCarpetaImagen = "carpetaImagenes";
const char *const kFiltroPng = "Imagen PNG (*.png)";
const char *const kFiltroSvg = "Imagen SVG (*.svg)";

} // namespace

void MainWindow::initImagen()
{
    m_actionExportarImagen = new QAction(QIcon(QStringLiteral(":/img/img/report.png")),
                                         QStringLiteral("Exportar imagen..."), this);
    m_actionExportarImagen->setObjectName(QStringLiteral("actionExportarImagen"));
    m_actionExportarImagen->setToolTip(
        QStringLiteral("Guardar el diagrama de la máquina activa como imagen"));
    m_actionExportarImagen->setEnabled(false);
    ui->menu_Archivo->insertAction(ui->menuImportar_recursos->menuAction(), m_actionExportarImagen);
    connect(m_actionExportarImagen, &QAction::triggered, this, &MainWindow::exportarImagen);
    // A picture can be made exactly when the documentation can: whenever the
    // project has a machine.
    connect(ui->actionGenerarDocumentacion, &QAction::changed, this,
            [this] { m_actionExportarImagen->setEnabled(ui->actionGenerarDocumentacion->isEnabled()); });
}

void MainWindow::exportarImagen()
{
    DiagramScene *scene = activeScene();
    if (!scene)
        return;
    QSettings ajustes(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
    QString carpeta = ajustes.value(QLatin1String(kClaveCarpetaImagen)).toString();
    if (carpeta.isEmpty() && m_datosXml)
        carpeta = m_datosXml->getContenidoGeneral(QStringLiteral("carpeta"));

    QFileDialog dialogo(this, QStringLiteral("Exportar imagen"), carpeta);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setNameFilters({QString::fromUtf8(kFiltroPng), QString::fromUtf8(kFiltroSvg)});
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&dialogo](const QString &filtro) {
        dialogo.setDefaultSuffix(filtro == QLatin1String(kFiltroSvg) ? QStringLiteral("svg")
                                                                     : QStringLiteral("png"));
    });
    dialogo.selectFile(scene->name() + QStringLiteral(".png"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    const QString ruta = dialogo.selectedFiles().first();
    ajustes.setValue(QLatin1String(kClaveCarpetaImagen), QFileInfo(ruta).absolutePath());

    QString error;
    if (!ImagenDiagrama(scene).guardar(ruta, &error)) {
        QMessageBox::warning(this, QStringLiteral("Exportar imagen"),
                             QStringLiteral("No se pudo guardar la imagen\n%1\n%2").arg(ruta, error));
    }
}
