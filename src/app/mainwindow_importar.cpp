#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "importador.h"
#include "xmlhandler.h"

#include <QDir>
#include <QFileDialog>
#include <QTextStream>

void MainWindow::ImportarArchivo()
{
    if (!m_datosXml)
        return;
    const QMessageBox::StandardButton respuesta = maybeSave();
    if (respuesta == QMessageBox::Cancel)
        return;
    if (respuesta == QMessageBox::Save)
        guardarDatos();
    const QString ruta = QFileDialog::getOpenFileName(this, QStringLiteral("Importar recursos desde archivo"),
                                                      QDir::homePath(), QStringLiteral("Proyectos(*.h)"));
    if (ruta.isEmpty())
        return;
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::warning(this, QStringLiteral("Error al importar recursos"),
                             QStringLiteral("No se pudo abrir el archivo \n%1").arg(ruta));
        return;
    }
    QTextStream texto(&archivo);
    const Catalogo cabecera = Importador::leerCabecera(texto.readAll());
    terminarImportacion(Importador::agregar(
        *m_datosXml, Importador::faltantes(cabecera, Importador::catalogoDe(*m_datosXml))));
}

void MainWindow::ImportarProyecto()
{
    if (!m_datosXml)
        return;
    const QString ruta = QFileDialog::getOpenFileName(this, QStringLiteral("Importar proyecto"),
                                                      QDir::homePath(), QStringLiteral("Proyectos(*.vro)"));
    if (ruta.isEmpty())
        return;
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::warning(this, QStringLiteral("Error al importar el proyecto"),
                             QStringLiteral("No se pudo abrir el archivo \n%1").arg(ruta));
        return;
    }
    XmlHandler otro;
    if (!otro.load(&archivo)) {
        QMessageBox::warning(this, QStringLiteral("Error al importar el proyecto"),
                             QStringLiteral("No se pudo procesar el archivo \n%1").arg(ruta));
        return;
    }
    terminarImportacion(
        Importador::agregar(*m_datosXml, Importador::faltantes(Importador::catalogoDe(otro),
                                                               Importador::catalogoDe(*m_datosXml))));
}

// The additions are changes like any other: they mark the project modified
// so that closing it asks to save them.
void MainWindow::terminarImportacion(int agregados)
{
    if (agregados > 0) {
        m_modificado = true;
        updateUi();
    }
    updateExploradorProyecto();
}

void MainWindow::on_actionDesde_archivo_triggered()
{
    ImportarArchivo();
}

void MainWindow::on_actionDesde_otro_proyecto_triggered()
{
    ImportarProyecto();
}
