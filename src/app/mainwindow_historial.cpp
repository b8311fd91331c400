#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "lectorproyecto.h"
#include "xmlhandler.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
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

// The document held in bytes (a state of the history) with the file's data of
// actual; *cambia tells whether that data differed. Null if bytes are no
// project, which Vireo's own states always are.
std::unique_ptr<XmlHandler> documentoDe(const QByteArray &bytes, const XmlHandler &actual, bool *cambia)
{
    std::unique_ptr<XmlHandler> documento = LectorProyecto::leerBytes(bytes, nullptr);
    *cambia = false;
    if (!documento)
        return nullptr;
    for (const QString &dato : datosDelArchivo()) {
        const QString valor = actual.getContenidoGeneral(dato);
        if (documento->getContenidoGeneral(dato) == valor)
            continue;
        documento->setContenidoGeneral(dato, valor);
        *cambia = true;
    }
    return documento;
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
    sincronizarDocumento();
    if (!m_historial.registrar(texto, m_datosXml->toByteArray()))
        return;
    // Not restarted by later steps: the file is never more than 2 s behind.
    if (!m_temporizadorRecuperacion->isActive())
        m_temporizadorRecuperacion->start();
    actualizarHistorial();
}

void MainWindow::reiniciarHistorial()
{
    if (m_datosXml) {
        sincronizarDocumento();
        m_historial.reiniciar(m_datosXml->toByteArray());
    } else {
        m_historial.reiniciar(QByteArray());
    }
    actualizarHistorial();
}

void MainWindow::historialGuardado()
{
    m_historial.marcarGuardado(m_datosXml->toByteArray());
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
        restaurarDocumento(m_historial.deshacer());
}

void MainWindow::rehacer()
{
    completarMovimiento();
    if (m_datosXml && m_uiMode != Simular && m_historial.puedeRehacer())
        restaurarDocumento(m_historial.rehacer());
}

void MainWindow::restaurarActual()
{
    if (m_datosXml)
        restaurarDocumento(m_historial.actual());
}

void MainWindow::restaurarDocumento(const QByteArray &bytes)
{
    bool cambia = false;
    std::unique_ptr<XmlHandler> documento = documentoDe(bytes, *m_datosXml, &cambia);
    if (!documento)
        return;
    delete m_datosXml;
    m_datosXml = documento.release();
    construirEscenas();
    if (cambia)
        m_historial.reemplazarActual(m_datosXml->toByteArray());
    if (!m_sceneList.isEmpty())
        ui->actionSeleccionar->trigger();
    if (!m_temporizadorRecuperacion->isActive())
        m_temporizadorRecuperacion->start();
    actualizarHistorial();
}

void MainWindow::restaurarCatalogo()
{
    bool cambia = false;
    std::unique_ptr<XmlHandler> documento = documentoDe(m_historial.actual(), *m_datosXml, &cambia);
    if (!documento)
        return;
    delete m_datosXml;
    m_datosXml = documento.release();
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
    if (!m_recuperacion.escribir(rutaProyecto(), m_historial.actual(), &error))
        statusBar()->showMessage(tr("No se pudo escribir la copia de recuperación: %1").arg(error), 10000);
}

void MainWindow::ofrecerRecuperacion()
{
    const QList<ArchivoRecuperacion::Pendiente> pendientes = ArchivoRecuperacion::pendientes();
    for (const ArchivoRecuperacion::Pendiente &pendiente : pendientes) {
        QMessageBox pregunta(QMessageBox::Warning, tr("Recuperar Proyecto"), QString(), QMessageBox::NoButton,
                             this);
        const QString fecha = pendiente.fecha.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"));
        QPushButton *recuperar = nullptr;
        if (pendiente.problema.isEmpty()) {
            // One project is open at a time; the others wait for the next start.
            if (m_datosXml)
                continue;
            pregunta.setText(tr("Vireo se cerró sin guardar los cambios del proyecto\n%1\n"
                                "(copia de recuperación del %2).\n¿Desea recuperarlos?")
                                 .arg(pendiente.original, fecha));
            recuperar = pregunta.addButton(tr("Recuperar"), QMessageBox::AcceptRole);
        } else {
            pregunta.setText(tr("No se puede recuperar la copia del %1 del proyecto\n%2\nMotivo: %3")
                                 .arg(fecha,
                                      pendiente.original.isEmpty() ? pendiente.ruta : pendiente.original,
                                      pendiente.problema));
        }
        QPushButton *descartar = pregunta.addButton(tr("Descartar"), QMessageBox::DestructiveRole);
        pregunta.addButton(tr("Conservar"), QMessageBox::RejectRole);
        pregunta.setDefaultButton(recuperar ? recuperar : descartar);
        pregunta.exec();
        if (recuperar && pregunta.clickedButton() == recuperar)
            this->recuperar(pendiente);
        else if (pregunta.clickedButton() == descartar)
            ArchivoRecuperacion::descartar(pendiente);
    }
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
