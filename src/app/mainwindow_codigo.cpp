#include "mainwindow.h"

#include "generadorcodigo.h"
#include "xmlhandler.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

// Writes the style's five files where the project keeps its results and
// tells the user where they are, or which file could not be written.
void escribirCodigo(QWidget *parent, const XmlHandler &datos, EstiloCodigo estilo, const QString &titulo)
{
    const GeneradorCodigo generador(datos);
    const QString carpeta = generador.carpetaSalida(estilo);
    QString archivoFallido;
    if (!generador.generar(estilo, carpeta, &archivoFallido)) {
        QMessageBox::warning(parent, QStringLiteral("Generar Código"),
                             QStringLiteral("No se pudo escribir el archivo \n%1").arg(archivoFallido));
        return;
    }
    QString texto = QStringLiteral("Se encuentra disponible el código en ") + carpeta;
    const QStringList problemas = generador.problemas(estilo);
    for (int i = 0; i < problemas.size(); ++i)
        texto += (i == 0 ? QStringLiteral("\n\n• ") : QStringLiteral("\n• ")) + problemas.at(i);
    QMessageBox::information(parent, titulo, texto);
}

} // namespace

void MainWindow::generarSwitch()
{
    if (m_datosXml)
        escribirCodigo(this, *m_datosXml, EstiloCodigo::Switch,
                       QStringLiteral("Generar Código (Switch Case)"));
}

void MainWindow::generarPtrFunc()
{
    if (m_datosXml) {
        escribirCodigo(this, *m_datosXml, EstiloCodigo::PunteroAFuncion,
                       QStringLiteral("Generar Código (Puntero a Función)"));
    }
}

void MainWindow::on_actionGenerarCodigo_triggered()
{
    if (!m_datosXml || !guardarDatos() || !verificarEstadosIniciales())
        return;
    const QStringList estilos = {QStringLiteral("Switch Case"), QStringLiteral("Puntero a Función")};
    bool aceptado = false;
    const QString elegido = QInputDialog::getItem(this, QStringLiteral("Generar Código"),
                                                  QStringLiteral("Elegir el tipo de implemetación: "),
                                                  estilos, 0, false, &aceptado, Qt::Dialog);
    if (!aceptado || elegido.isEmpty())
        return;
    if (elegido == estilos.first())
        generarSwitch();
    else
        generarPtrFunc();
}
