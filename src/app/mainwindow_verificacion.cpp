#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "verificacion.h"
#include "xmlhandler.h"

namespace {

QTreeWidgetItem *nuevaEntrada(const QString &texto, bool conError)
{
    auto *entrada = new QTreeWidgetItem(QStringList(texto));
    entrada->setFlags(Qt::ItemIsEnabled);
    entrada->setToolTip(0, texto);
    entrada->setIcon(
        0, QIcon(conError ? QStringLiteral(":/img/img/error.png") : QStringLiteral(":/img/img/tick.png")));
    return entrada;
}

QTreeWidgetItem *entradaArbol(const EntradaVerificacion &entrada)
{
    QTreeWidgetItem *item = nuevaEntrada(entrada.texto, entrada.conHallazgos());
    for (const EntradaVerificacion &sub : entrada.subentradas)
        item->addChild(entradaArbol(sub));
    for (const QString &hallazgo : entrada.hallazgos)
        item->addChild(nuevaEntrada(hallazgo, true));
    return item;
}

} // namespace

// The checks read the document, so the scenes are saved into it first; a
// failed write has already been reported and leaves the document current.
void MainWindow::on_actionVerificar_triggered()
{
    if (!m_datosXml)
        return;
    guardarDatos();
    if (!verificarEstadosIniciales())
        return;
    const Verificacion verificacion(*m_datosXml);

    ui->dockWidgetVerificar->setEnabled(true);
    ui->dockWidgetVerificar->show();
    tabifyDockWidget(ui->dockWidgetProyecto, ui->dockWidgetVerificar);
    ui->dockWidgetVerificar->raise();

    QTreeWidget *arbol = ui->treeWidgetVerificar;
    arbol->setHeaderLabel(QStringLiteral("Verificando: ") +
                          m_datosXml->getContenidoGeneral(QStringLiteral("nombre")));
    arbol->clear();
    for (const EntradaVerificacion &entrada : verificacion.arbol())
        arbol->addTopLevelItem(entradaArbol(entrada));
    anotarHallazgos(verificacion);
    arbol->expandAll();
}
