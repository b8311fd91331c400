#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "dialogrecuperacion.h"
#include "idsproyecto.h"
#include "lectorproyecto.h"
#include "xmlhandler.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace {

// A step reaches the recovery file at most this long after it was made.
const int kRetrasoRecuperacion = 2000;

// The general data that belongs to the file rather than to an edit: undoing a
// step never takes back a "Guardar Como" nor a save's date.
const QStringList &datosDelArchivo()
{
    static const QStringList datos{QStringLiteral("nombre"), QStringLiteral("autores"),
                                   QStringLiteral("creacion"), QStringLiteral("modificacion"),
                                   QStringLiteral("carpeta")};
    return datos;
}

} // namespace

void MainWindow::initHistorial()
{
    m_accionDeshacer = new QAction(QIcon(QStringLiteral(":/img/img/arrow_undo.png")), tr("Deshacer"), this);
    m_accionDeshacer->setObjectName(QStringLiteral("actionDeshacer"));
    m_accionDeshacer->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    m_accionRehacer = new QAction(QIcon(QStringLiteral(":/img/img/arrow_redo.png")), tr("Rehacer"), this);
    m_accionRehacer->setObjectName(QStringLiteral("actionRehacer"));
    m_accionRehacer->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    connect(m_accionDeshacer, &QAction::triggered, this, &MainWindow::deshacer);
    connect(m_accionRehacer, &QAction::triggered, this, &MainWindow::rehacer);

    auto *menu = new QMenu(tr("&Editar"), this);
    menu->setObjectName(QStringLiteral("menu_Editar"));
    menu->addAction(m_accionDeshacer);
    menu->addAction(m_accionRehacer);
    menuBar()->insertMenu(ui->menu_Herramientas->menuAction(), menu);
    ui->mainToolBar->insertAction(ui->actionNuevaMaquina, m_accionDeshacer);
    ui->mainToolBar->insertAction(ui->actionNuevaMaquina, m_accionRehacer);
    ui->mainToolBar->insertSeparator(ui->actionNuevaMaquina);

    // A simulation shows the diagrams as they were when it started; "Terminar"
    // is enabled exactly while one runs.
    connect(ui->actionTerminarSimulacion, &QAction::changed, this, &MainWindow::actualizarHistorial);

    m_temporizadorRecuperacion = new QTimer(this);
    m_temporizadorRecuperacion->setObjectName(QStringLiteral("timerRecuperacion"));
    m_temporizadorRecuperacion->setSingleShot(true);
    m_temporizadorRecuperacion->setInterval(kRetrasoRecuperacion);
    connect(m_temporizadorRecuperacion, &QTimer::timeout, this, &MainWindow::escribirRecuperacion);
    actualizarHistorial();
}

void MainWindow::registrarPaso(const QString &texto)
{
    if (!m_datosXml)
        return;
    if (!m_historial.registrar(texto, instantanea()))
        return;
    // Not restarted by later steps: the file is never more than 2 s behind.
    if (!m_temporizadorRecuperacion->isActive())
        m_temporizadorRecuperacion->start();
    actualizarHistorial();
}

Instantanea MainWindow::instantanea()
{
    sincronizarDocumento();
    const XmlHandler::Partes fijas = m_datosXml->partesFijas();
    Instantanea actual{fijas.antes, {}, fijas.despues};
    actual.maquinas.reserve(m_escritas.size());
    for (const MaquinaEscrita &escrita : qAsConst(m_escritas))
        actual.maquinas.append(escrita.bytes);
    return actual;
}

void MainWindow::reiniciarHistorial()
{
    m_escritas.clear();
    m_historial.reiniciar(m_datosXml ? instantanea() : Instantanea());
    actualizarHistorial();
}

void MainWindow::historialGuardado(const Instantanea &guardada)
{
    m_historial.marcarGuardado(guardada);
    actualizarHistorial();
}

void MainWindow::actualizarHistorial()
{
    if (!m_accionDeshacer)
        return;
    const bool editable = m_datosXml && m_uiMode != Simular;
    m_accionDeshacer->setEnabled(editable && m_historial.puedeDeshacer());
    m_accionRehacer->setEnabled(editable && m_historial.puedeRehacer());
    m_accionDeshacer->setText(m_historial.puedeDeshacer() ? tr("Deshacer %1").arg(m_historial.textoDeshacer())
                                                          : tr("Deshacer"));
    m_accionRehacer->setText(m_historial.puedeRehacer() ? tr("Rehacer %1").arg(m_historial.textoRehacer())
                                                        : tr("Rehacer"));

    const QString titulo = tituloProyecto();
    if (isModificado()) {
        updateUi();
        return;
    }
    if (titulo.contains(QLatin1Char('*')))
        setWindowTitle(QString(titulo).remove(QLatin1Char('*')));
    m_temporizadorRecuperacion->stop();
    m_recuperacion.borrar();
}

void MainWindow::deshacer()
{
    completarMovimiento();
    if (m_datosXml && m_uiMode != Simular && m_historial.puedeDeshacer())
        restaurar(m_historial.deshacer());
}

void MainWindow::rehacer()
{
    completarMovimiento();
    if (m_datosXml && m_uiMode != Simular && m_historial.puedeRehacer())
        restaurar(m_historial.rehacer());
}

void MainWindow::restaurarActual()
{
    if (m_datosXml)
        restaurar(m_historial.actual());
}

void MainWindow::restaurar(Instantanea destino)
{
    // What is shown may differ from the history's state (an editor whose
    // changes were drawn before it was cancelled): compare with the scenes.
    const Instantanea origen = instantanea();
    bool cambia = false;
    if (!origen.mismasPartesFijas(destino) && !restaurarPartesFijas(destino, &cambia))
        return;
    const int cantidad = destino.maquinas.size();
    QVector<bool> conservar(cantidad, false);
    for (int k = 0; k < cantidad; ++k) {
        conservar[k] = Instantanea::iguales(origen.maquinas.value(k), destino.maquinas.at(k));
        if (!conservar.at(k))
            m_datosXml->cargarMaquina(IdsProyecto::maquina(k), destino.maquinas.at(k));
    }
    m_datosXml->recortarMaquinas(cantidad);
    m_escritas.resize(cantidad);
    for (int k = 0; k < cantidad; ++k) {
        if (!conservar.at(k))
            m_escritas[k] = MaquinaEscrita();
    }
    construirEscenas(conservar);
    if (cambia)
        m_historial.reemplazarActual(instantanea());
    if (!m_sceneList.isEmpty())
        ui->actionSeleccionar->trigger();
    if (!m_temporizadorRecuperacion->isActive())
        m_temporizadorRecuperacion->start();
    actualizarHistorial();
}

bool MainWindow::restaurarPartesFijas(const Instantanea &destino, bool *cambia)
{
    std::unique_ptr<XmlHandler> documento =
        LectorProyecto::leerBytes(destino.antes + destino.despues, nullptr);
    *cambia = false;
    if (!documento)
        return false;
    for (const QString &dato : datosDelArchivo()) {
        const QString valor = m_datosXml->getContenidoGeneral(dato);
        if (documento->getContenidoGeneral(dato) == valor)
            continue;
        documento->setContenidoGeneral(dato, valor);
        *cambia = true;
    }
    documento->tomarMaquinas(*m_datosXml);
    delete m_datosXml;
    m_datosXml = documento.release();
    return true;
}

void MainWindow::restaurarCatalogo()
{
    bool cambia = false;
    if (restaurarPartesFijas(m_historial.actual(), &cambia))
        updateExploradorProyecto();
}

void MainWindow::escribirRecuperacion()
{
    m_temporizadorRecuperacion->stop();
    if (!m_datosXml || !isModificado()) {
        m_recuperacion.borrar();
        return;
    }
    QString error;
    if (!m_recuperacion.escribir(rutaProyecto(), m_historial.actual().documento(), &error))
        statusBar()->showMessage(tr("No se pudo escribir la copia de recuperación: %1").arg(error), 10000);
}

void MainWindow::ofrecerRecuperacion()
{
    const QList<ArchivoRecuperacion::Pendiente> pendientes = ArchivoRecuperacion::pendientes();
    if (pendientes.isEmpty())
        return;
    DialogRecuperacion dialogo(pendientes, this);
    connect(
        &dialogo, &DialogRecuperacion::descartada, this,
        [](const ArchivoRecuperacion::Pendiente &pendiente) { ArchivoRecuperacion::descartar(pendiente); });
    if (dialogo.exec() != QDialog::Accepted || !descartarProyectoAbierto())
        return;
    recuperar(dialogo.elegida());
    if (dialogo.cantidad() > 1)
        statusBar()->showMessage(
            tr("Las demás copias de recuperación se ofrecerán al volver a iniciar Vireo."), 10000);
}

// The project comes back as it was left: modified, and saved by "Guardar" to
// the file it came from.
void MainWindow::recuperar(const ArchivoRecuperacion::Pendiente &pendiente)
{
    std::unique_ptr<XmlHandler> documento = LectorProyecto::leerBytes(pendiente.proyecto, nullptr);
    if (!documento)
        return;
    mostrarDocumento(documento.release(), QFileInfo(pendiente.original).completeBaseName());
    marcarModificado();
    escribirRecuperacion();
    if (m_recuperacion.existe())
        ArchivoRecuperacion::descartar(pendiente);
}
