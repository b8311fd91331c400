#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "configurarpuerto.h"
#include "idsproyecto.h"
#include "xmlhandler.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>

namespace {

// Where the window layout is kept between sessions.
QString organizacion()
{
    return QStringLiteral("Alderhall");
}

QString aplicacion()
{
    return QStringLiteral("vireo");
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    initZoom();
    initHerramientas();
    initMenus();
    initHistorial();
    initImagen();
    initVista();
    initEscritorio();
    initPortapapeles();
    initTeclado();
    initEscenarios();
    ordenarBarraDeHerramientas();

    // Wide enough for "ESTADO [machine]" findings and the simulation's
    // "action [machine]" rows; a saved layout overrides it.
    resizeDocks({ui->dockWidgetProyecto, ui->dockWidgetSimulacion, ui->dockWidgetVerificar}, {320, 320, 320},
                Qt::Horizontal);
    readSettings();
    m_uiMode = Editar;
    ui->dockWidgetProyecto->show();

    uiDisable();
    initTablaTransiciones();
    initTablaSimulacion();
    ui->treeWidgetProyecto->setContextMenuPolicy(Qt::CustomContextMenu);

    statusBar()->showMessage(tr("Listo."));

    // Uploading and refreshing a model on a target are not offered yet.
    ui->actionSubir_modelo->setEnabled(false);
    ui->actionActualizar_modelo->setEnabled(false);

    iniciarServidor();
    initPanelDepuracion();
}

MainWindow::~MainWindow()
{
    terminarEnlace();
    destruirEscenas();
    // The dock hides while QWidget's destructor deletes it, after ui is gone:
    // that is not the user hiding the table, and must not reach the lambdas.
    ui->dockWidgetTransiciones->disconnect(this);
    delete m_datosXml;
    delete ui;
}

void MainWindow::initZoom()
{
    m_sceneScaleCombo = new QComboBox(this);
    m_sceneScaleCombo->addItems({QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                                 QStringLiteral("125%"), QStringLiteral("150%"), QStringLiteral("200%")});
    m_sceneScaleCombo->setCurrentIndex(2);
    connect(m_sceneScaleCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { on_sceneScaleChanged(m_sceneScaleCombo->itemText(index)); });

    m_zoomLabel = new QLabel(tr(" Zoom: "), this);
    m_zoomLabelEnd = new QLabel(QStringLiteral("  "), this);
    ui->mainToolBar->addWidget(m_zoomLabel);
    ui->mainToolBar->addWidget(m_sceneScaleCombo);
    ui->mainToolBar->addWidget(m_zoomLabelEnd);
    ui->mainToolBar->addSeparator();
}

void MainWindow::initHerramientas()
{
    m_pointerTypeGroup = new QActionGroup(this);
    m_pointerTypeGroup->setExclusive(true);
    m_pointerTypeGroup->addAction(ui->actionSeleccionar);
    m_pointerTypeGroup->addAction(ui->actionNuevoEstado);
    m_pointerTypeGroup->addAction(ui->actionNuevaTransicion);
    m_pointerTypeGroup->addAction(ui->actionEstadoInicial);

    connect(ui->actionSalir, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionMosaico, &QAction::triggered, ui->mdiArea, &QMdiArea::tileSubWindows);
    connect(ui->actionCascada, &QAction::triggered, ui->mdiArea, &QMdiArea::cascadeSubWindows);
}

void MainWindow::initMenus()
{
    m_itemMenu = new QMenu(this);
    m_itemMenu->addAction(ui->actionEliminarElemento);
    m_itemMenu->addSeparator();

    ui->menu_Ver->addSeparator();
    ui->menu_Ver->addAction(ui->dockWidgetProyecto->toggleViewAction());
    ui->menu_Ver->addAction(ui->dockWidgetTransiciones->toggleViewAction());

    m_contextMenuExplorador = new QMenu(this);
}

void MainWindow::uiDisable()
{
    const QList<QAction *> acciones = {ui->actionNuevaMaquina,
                                       ui->actionEliminarMaquina,
                                       ui->actionNuevoEstado,
                                       ui->actionEstadoInicial,
                                       ui->actionEliminarElemento,
                                       ui->actionGuardar,
                                       ui->actionGuardarComo,
                                       ui->actionGenerarCodigo,
                                       ui->actionGenerarDocumentacion,
                                       ui->actionSeleccionar,
                                       ui->actionNuevaTransicion,
                                       ui->actionCerrarProyecto,
                                       ui->actionSimular,
                                       ui->actionTerminarSimulacion,
                                       ui->actionVerificar,
                                       ui->actionMosaico,
                                       ui->actionCascada,
                                       ui->actionDesde_archivo,
                                       ui->actionDesde_otro_proyecto};
    for (QAction *accion : acciones)
        accion->setEnabled(false);
    ui->menuImportar_recursos->setEnabled(false);
    m_sceneScaleCombo->setEnabled(false);
    m_zoomLabel->setEnabled(false);

    ui->treeWidgetProyecto->clear();
    ui->dockWidgetProyecto->setEnabled(false);

    ui->tableWidgetTransiciones->setRowCount(0);
    ui->dockWidgetTransiciones->setEnabled(false);
    ui->dockWidgetTransiciones->setWindowTitle(tr("Tabla de Estados y Transiciones"));
    ui->dockWidgetTransiciones->hide();

    ui->dockWidgetVerificar->setEnabled(false);
    ui->dockWidgetVerificar->close();
    m_resetDockVerificar = false;
    ui->dockWidgetSimulacion->hide();

    ui->mdiArea->setEnabled(false);
}

void MainWindow::uiEnable()
{
    const QList<QAction *> acciones = {
        ui->actionGenerarCodigo,   ui->actionGenerarDocumentacion, ui->actionSimular,
        ui->actionVerificar,       ui->actionSeleccionar,          ui->actionNuevoEstado,
        ui->actionNuevaTransicion, ui->actionEstadoInicial,        ui->actionMosaico,
        ui->actionCascada,         ui->actionEliminarElemento,     ui->actionEliminarMaquina};
    for (QAction *accion : acciones)
        accion->setEnabled(true);
    ui->actionSeleccionar->setChecked(true);
    m_zoomLabel->setEnabled(true);
    m_sceneScaleCombo->setEnabled(true);
    ui->dockWidgetTransiciones->setEnabled(true);
    mostrarTablaSegunAjustes();
}

void MainWindow::uiReset()
{
    destruirEscenas();
    uiDisable();
    setWindowTitle(tr("Vireo | Alderhall"));
    reiniciarHistorial();
}

// The scene list is emptied first and the sub-windows (with their views) go
// before the scenes, so that the activation signals the area emits while its
// windows disappear never reach a scene that is already gone. The scenes are
// emptied before that: a view that goes tells its scene the window is no
// longer active, and the scene then lists all its items in stacking order.
void MainWindow::destruirEscenas()
{
    const QList<DiagramScene *> escenas = m_sceneList;
    m_sceneList.clear();
    for (DiagramScene *escena : escenas)
        escena->clearDiagram();
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (QMdiSubWindow *ventana : ventanas) {
        ui->mdiArea->removeSubWindow(ventana);
        delete ventana;
    }
    qDeleteAll(escenas);
}

void MainWindow::updateUi()
{
    const QString titulo = tituloProyecto();
    if (!titulo.endsWith(QLatin1Char('*')))
        setWindowTitle(titulo + QLatin1Char('*'));
}

// While a machine window is maximized Qt shows "<title> - [<machine>]" and
// puts back whatever title it last saw when the window is restored; the
// marker must therefore go on the title without that suffix, which Qt then
// adds again by itself.
QString MainWindow::tituloProyecto() const
{
    QString titulo = windowTitle();
    const QMdiSubWindow *ventana = ui->mdiArea->activeSubWindow();
    if (!ventana || !ventana->isMaximized())
        return titulo;
    const QString sufijo = QStringLiteral(" - [%1]").arg(ventana->windowTitle());
    if (titulo.endsWith(sufijo))
        titulo.chop(sufijo.size());
    return titulo;
}

void MainWindow::marcarModificado()
{
    m_historial.olvidarGuardado();
    actualizarHistorial();
}

bool MainWindow::isModificado() const
{
    return m_historial.modificado();
}

QMessageBox::StandardButton MainWindow::maybeSave()
{
    if (!isModificado())
        return QMessageBox::Discard;

    QMessageBox pregunta(QMessageBox::Warning, tr("Vireo"),
                         tr("El proyecto fue modificado.\n ¿Desea guardar los cambios antes de cerrarlo?"),
                         QMessageBox::NoButton, this);
    QPushButton *no = pregunta.addButton(tr("No"), QMessageBox::DestructiveRole);
    QPushButton *si = pregunta.addButton(tr("Si"), QMessageBox::AcceptRole);
    QPushButton *cancelar = pregunta.addButton(tr("Cancelar"), QMessageBox::RejectRole);
    pregunta.setDefaultButton(si);
    pregunta.setEscapeButton(cancelar);
    pregunta.exec();

    if (pregunta.clickedButton() == si)
        return QMessageBox::Save;
    if (pregunta.clickedButton() == no)
        return QMessageBox::Discard;
    return QMessageBox::Cancel;
}

void MainWindow::readSettings()
{
    const QSettings settings(organizacion(), aplicacion());
    restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("windowState")).toByteArray());
    portName = settings.value(QStringLiteral("puertoDepuracion")).toString();
    const qint32 velocidad = settings.value(QStringLiteral("velocidadDepuracion")).toInt();
    if (velocidad > 0)
        m_velocidadPuerto = velocidad;
}

void MainWindow::saveSettings()
{
    QSettings settings(organizacion(), aplicacion());
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("windowState"), saveState());
}

bool MainWindow::verificarEstadosIniciales()
{
    for (int j = 0; j < m_sceneList.size(); ++j) {
        if (m_datosXml->getEstadoInicial(IdsProyecto::maquina(j)) != QLatin1String("-1"))
            continue;
        QMessageBox::warning(this, QStringLiteral("Advertencia"),
                             m_sceneList.at(j)->name() +
                                 QStringLiteral(": No se encuentra definido el Estado Inicial"));
        return false;
    }
    return true;
}

// A project whose save failed stays open with its changes: the user has
// already been told why, and closing now would lose the work.
void MainWindow::closeEvent(QCloseEvent *event)
{
    const QMessageBox::StandardButton respuesta = maybeSave();
    if (respuesta == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    if (respuesta == QMessageBox::Save && !guardarDatos()) {
        event->ignore();
        return;
    }
    saveSettings();
    m_recuperacion.borrar();
    event->accept();
}

void MainWindow::on_actionAcercaDe_triggered()
{
    QMessageBox::about(
        this, tr("Acerca de Vireo | Alderhall"),
        tr("<p><b>Vireo %1</b>: máquinas de estados para sistemas embebidos.</p>"
           "<p>Dibuje máquinas de estados, verifíquelas, simúlelas y genere su código C "
           "para microcontroladores.</p>"
           "<p>Autores: el equipo de desarrollo de Vireo en Alderhall.</p>"
           "<p>Iconos: conjunto <i>Silk</i> de Mark James (famfamfam.com), "
           "licencia Creative Commons Atribución 2.5.</p>"
           "<p>Contacto: escriba al equipo de Vireo a través del repositorio del proyecto.</p>")
            .arg(QStringLiteral(VIREO_VERSION)));
}

void MainWindow::on_actionConfigurar_depuracion_triggered()
{
    ConfigurarPuerto dialogo(this);
    dialogo.setWindowTitle(tr("Proceso de depuración"));
    dialogo.setDatos(portName, m_velocidadPuerto);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    portName = dialogo.ObtenerNombrePuerto();
    m_velocidadPuerto = dialogo.ObtenerVelocidad();
    QSettings settings(organizacion(), aplicacion());
    settings.setValue(QStringLiteral("puertoDepuracion"), portName);
    settings.setValue(QStringLiteral("velocidadDepuracion"), m_velocidadPuerto);
}
