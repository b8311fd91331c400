#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "tramaenlace.h"
#include "xmlhandler.h"

#include <QGraphicsView>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTimer>

// Pause before the reset transitions are taken, at the start and after each
// reset; then the current states blink on and off.
#define T_SIM_RESET_INIT 1500
#define T_SIM_ESTADO_ACTIVO 900
#define T_SIM_ESTADO_INACTIVO 500

namespace {

const QString kFilaReset = QStringLiteral("(reset)");

QIcon icono(const char *nombre)
{
    return QIcon(QStringLiteral(":/img/img/") + QLatin1String(nombre));
}

QGraphicsView *primeraVista(DiagramScene *scene)
{
    return scene->views().isEmpty() ? nullptr : scene->views().first();
}

QList<Arrow *> salidasDe(const DiagramItem *estado)
{
    QList<Arrow *> salidas;
    for (Arrow *arrow : estado->arrows()) {
        if (arrow->startItem() == estado)
            salidas.append(arrow);
    }
    return salidas;
}

} // namespace

void MainWindow::initTablaSimulacion()
{
    ui->tableWidgetSimEventos->setColumnCount(1);
    ui->tableWidgetSimEventos->setHorizontalHeaderLabels({QStringLiteral("Eventos")});
    ui->tableWidgetSimAcciones->setColumnCount(1);
    ui->tableWidgetSimAcciones->setHorizontalHeaderLabels({QStringLiteral("Acciones")});
    for (QTableWidget *tabla : {ui->tableWidgetSimEventos, ui->tableWidgetSimAcciones}) {
        tabla->horizontalHeader()->setStretchLastSection(true);
        tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    }
}

QString MainWindow::AccionesDivididas(const QStringList &acciones) const
{
    return acciones.join(QLatin1Char(';'));
}

void MainWindow::on_actionSimular_triggered()
{
    if (m_uiMode == Simular) {
        ui->actionSimular->setChecked(true);
        return;
    }
    if (!m_datosXml || m_sceneList.isEmpty()) {
        ui->actionSimular->setChecked(false);
        return;
    }
    guardarDatos();
    if (!verificarEstadosIniciales()) {
        ui->actionSimular->setChecked(false);
        return;
    }

    m_uiMode = Simular;
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timerSimulacion"));
    connect(m_timer, &QTimer::timeout, this, &MainWindow::updateSimulacion);
    m_timer->start(T_SIM_RESET_INIT);

    if (!ui->dockWidgetVerificar->isHidden()) {
        ui->dockWidgetVerificar->hide();
        m_resetDockVerificar = true;
    }
    ui->dockWidgetProyecto->hide();
    ui->dockWidgetSimulacion->show();
    cambiarEntradaVer(ui->dockWidgetProyecto, ui->dockWidgetSimulacion);
    ui->actionTerminarSimulacion->setEnabled(true);
    habilitarEdicion(false);

    ui->tableWidgetSimEventos->setRowCount(0);
    ui->tableWidgetSimAcciones->setRowCount(0);
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    m_idxEstadosActuales.fill(-1, m_sceneList.size());
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        if (j < ventanas.size() && ventanas.at(j)->isHidden()) {
            ventanas.at(j)->show();
            ui->mdiArea->tileSubWindows();
        }
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(true);
        scene->setPreviousArrow(nullptr);
        scene->setMode(DiagramScene::Simulation);
        if (QGraphicsView *vista = primeraVista(scene))
            vista->setDragMode(QGraphicsView::NoDrag);
    }
    llenarPanelSimulacion();
}

void MainWindow::llenarPanelSimulacion()
{
    QTreeWidget *arbol = ui->treeWidgetSimEstados;
    arbol->clear();
    arbol->setHeaderLabel(m_datosXml->getContenidoGeneral(QStringLiteral("nombre")));
    auto *sistema = new QTreeWidgetItem(arbol, {QStringLiteral("SISTEMA")});
    sistema->setIcon(0, icono("plugin.png"));
    sistema->setFlags(Qt::ItemIsEnabled);
    for (DiagramScene *scene : qAsConst(m_sceneList)) {
        auto *maquina = new QTreeWidgetItem(sistema, {scene->name()});
        maquina->setIcon(0, icono("application.png"));
        maquina->setFlags(Qt::ItemIsEnabled);
        auto *reset = new QTreeWidgetItem(maquina, {QStringLiteral("(RESET)")});
        reset->setIcon(0, icono("bullet_red.png"));
        reset->setFlags(Qt::ItemIsEnabled);
        for (DiagramItem *estado : scene->itemList()) {
            auto *entrada = new QTreeWidgetItem(maquina, {estado->name().toUpper()});
            entrada->setIcon(0, icono("button.png"));
            entrada->setFlags(Qt::ItemIsEnabled);
        }
    }
    arbol->expandAll();

    QStringList eventos{kFilaReset};
    for (DiagramScene *scene : qAsConst(m_sceneList)) {
        for (DiagramItem *estado : scene->itemList()) {
            for (Arrow *arrow : salidasDe(estado)) {
                if (!eventos.contains(arrow->event()))
                    eventos.append(arrow->event());
            }
        }
    }
    QTableWidget *tabla = ui->tableWidgetSimEventos;
    tabla->setRowCount(eventos.size());
    for (int fila = 0; fila < eventos.size(); ++fila) {
        auto *item = new QTableWidgetItem(eventos.at(fila));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (fila == 0)
            item->setIcon(icono("events.png"));
        tabla->setItem(fila, 0, item);
    }
    tabla->resizeRowsToContents();
}

void MainWindow::cambiarEntradaVer(QDockWidget *sale, QDockWidget *entra)
{
    QAction *antes = sale->toggleViewAction();
    if (!ui->menu_Ver->actions().contains(antes))
        return;
    ui->menu_Ver->insertAction(antes, entra->toggleViewAction());
    ui->menu_Ver->removeAction(antes);
}

void MainWindow::habilitarEdicion(bool habilitar)
{
    const QList<QAction *> comandos{
        ui->actionNuevaMaquina,  ui->actionEliminarMaquina,      ui->actionEstadoInicial,
        ui->actionSeleccionar,   ui->actionNuevoEstado,          ui->actionNuevaTransicion,
        ui->actionGenerarCodigo, ui->actionGenerarDocumentacion, ui->actionVerificar,
        ui->actionAbrirProyecto, ui->actionNuevoProyecto,        ui->actionCerrarProyecto,
        ui->actionGuardar,       ui->actionGuardarComo,          ui->actionEliminarElemento};
    for (QAction *comando : comandos)
        comando->setEnabled(habilitar);
}

QTreeWidgetItem *MainWindow::entradaEstado(int maquina, int estado) const
{
    QTreeWidgetItem *sistema = ui->treeWidgetSimEstados->topLevelItem(0);
    QTreeWidgetItem *entrada = sistema ? sistema->child(maquina) : nullptr;
    return entrada ? entrada->child(estado + 1) : nullptr;
}

void MainWindow::updateSimulacion()
{
    if (m_uiMode != Simular)
        return;
    for (int j = 0; j < m_sceneList.size() && j < m_idxEstadosActuales.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        const int actual = m_idxEstadosActuales.at(j);
        if (scene->previousArrow() && actual >= 0 && actual < scene->itemList().size()) {
            DiagramItem *estado = scene->itemList().at(actual);
            const bool encendido = estado->isActivo();
            estado->setActivo(!encendido);
            scene->update();
            m_timer->start(encendido ? T_SIM_ESTADO_INACTIVO : T_SIM_ESTADO_ACTIVO);
        } else if (scene->initialStateItem() && scene->initialStateItem()->isActivo()) {
            tomarTransicionReset(j);
        }
    }
}

void MainWindow::tomarTransicionReset(int maquina)
{
    DiagramScene *scene = m_sceneList.at(maquina);
    DiagramItem *marcador = scene->initialStateItem();
    if (marcador->arrows().isEmpty())
        return;
    Arrow *reset = marcador->arrows().first();
    const int destino = scene->itemList().indexOf(reset->endItem());
    if (destino < 0)
        return;
    marcador->setActivo(false);
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, -1))
        entrada->setIcon(0, icono("bullet black.png"));
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, destino))
        entrada->setIcon(0, icono("button2.png"));
    m_idxEstadosActuales[maquina] = destino;
    reset->endItem()->setActivo(true);
    iluminarArrow(scene, reset);

    if (maquina == 0)
        ui->tableWidgetSimAcciones->setRowCount(0);
    mostrarAcciones(reset, scene->name());
    if (maquina == 0)
        limpiarIconosEventos();
    marcarEventosDesde(reset->endItem());
    scene->update();
}

void MainWindow::iluminarArrow(DiagramScene *scene, Arrow *arrow)
{
    if (scene->previousArrow())
        scene->previousArrow()->setActiva(false);
    arrow->setActiva(true);
    scene->setPreviousArrow(arrow);
}

QStringList MainWindow::mostrarAcciones(const Arrow *arrow, const QString &maquina)
{
    QTableWidget *tabla = ui->tableWidgetSimAcciones;
    QStringList nombres;
    for (const QString &accion : arrow->actions()) {
        if (accion.isEmpty())
            continue;
        const QString texto = accion + QStringLiteral(" [") + maquina + QLatin1Char(']');
        auto *item = new QTableWidgetItem(icono("arrow_right.png"), texto);
        item->setFlags(Qt::ItemIsEnabled);
        const int fila = tabla->rowCount();
        tabla->insertRow(fila);
        tabla->setItem(fila, 0, item);
        const int parentesis = texto.indexOf(QLatin1Char('('));
        nombres.append(parentesis < 0 ? texto : texto.left(parentesis));
    }
    tabla->resizeRowsToContents();
    return nombres;
}

void MainWindow::limpiarIconosEventos()
{
    QTableWidget *tabla = ui->tableWidgetSimEventos;
    for (int fila = 1; fila < tabla->rowCount(); ++fila)
        tabla->item(fila, 0)->setIcon(QIcon());
}

void MainWindow::marcarEventosDesde(const DiagramItem *estado)
{
    QTableWidget *tabla = ui->tableWidgetSimEventos;
    for (Arrow *arrow : salidasDe(estado)) {
        for (int fila = 1; fila < tabla->rowCount(); ++fila) {
            if (tabla->item(fila, 0)->text() == arrow->event())
                tabla->item(fila, 0)->setIcon(icono("events.png"));
        }
    }
}

void MainWindow::on_tableWidgetSimEventos_cellDoubleClicked(int row, int column)
{
    Q_UNUSED(column)
    if (m_uiMode != Simular || row < 0 || row >= ui->tableWidgetSimEventos->rowCount())
        return;
    if (row == 0)
        resetearSimulacion();
    else
        dispararEvento(ui->tableWidgetSimEventos->item(row, 0)->text());
}

void MainWindow::resetearSimulacion()
{
    Reporte reporte;
    reporte.evento = kFilaReset;
    enviarTrama(TramaEnlace::codificar(reporte));
    for (int j = 0; j < m_sceneList.size() && j < m_idxEstadosActuales.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        if (QTreeWidgetItem *entrada = entradaEstado(j, -1))
            entrada->setIcon(0, icono("bullet_red.png"));
        const int actual = m_idxEstadosActuales.at(j);
        if (actual >= 0 && actual < scene->itemList().size()) {
            if (QTreeWidgetItem *entrada = entradaEstado(j, actual))
                entrada->setIcon(0, icono("button.png"));
            scene->itemList().at(actual)->setActivo(false);
        }
        if (scene->previousArrow())
            scene->previousArrow()->setActiva(false);
        scene->setPreviousArrow(nullptr);
        m_timer->start(T_SIM_RESET_INIT);
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(true);
        m_idxEstadosActuales[j] = -1;
        scene->update();
    }
    ui->tableWidgetSimAcciones->setRowCount(0);
    limpiarIconosEventos();
}

void MainWindow::dispararEvento(const QString &evento)
{
    for (int j = 0; j < m_sceneList.size() && j < m_idxEstadosActuales.size(); ++j)
        dispararEnMaquina(j, evento);
    limpiarIconosEventos();
    for (int j = 0; j < m_sceneList.size() && j < m_idxEstadosActuales.size(); ++j) {
        const int actual = m_idxEstadosActuales.at(j);
        if (actual >= 0 && actual < m_sceneList.at(j)->itemList().size())
            marcarEventosDesde(m_sceneList.at(j)->itemList().at(actual));
    }
}

bool MainWindow::dispararEnMaquina(int maquina, const QString &evento)
{
    DiagramScene *scene = m_sceneList.at(maquina);
    const int actual = m_idxEstadosActuales.at(maquina);
    if (actual < 0 || actual >= scene->itemList().size())
        return false;
    DiagramItem *estado = scene->itemList().at(actual);
    Arrow *disparada = nullptr;
    for (Arrow *arrow : salidasDe(estado)) {
        if (arrow->event() == evento) {
            disparada = arrow;
            break;
        }
    }
    const int destino = disparada ? scene->itemList().indexOf(disparada->endItem()) : -1;
    if (destino < 0)
        return false;

    if (QTreeWidgetItem *entrada = entradaEstado(maquina, actual))
        entrada->setIcon(0, icono("button.png"));
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, destino))
        entrada->setIcon(0, icono("button2.png"));
    estado->setActivo(false);
    m_idxEstadosActuales[maquina] = destino;
    disparada->endItem()->setActivo(true);
    iluminarArrow(scene, disparada);
    scene->update();

    ui->tableWidgetSimAcciones->setRowCount(0);
    const QStringList acciones = mostrarAcciones(disparada, scene->name());
    Reporte reporte;
    reporte.maquina = scene->name();
    reporte.estado = estado->name();
    reporte.evento = evento;
    reporte.proxEstado = disparada->endItem()->name();
    reporte.acciones = acciones.isEmpty() ? QString() : AccionesDivididas(acciones);
    enviarTrama(TramaEnlace::codificar(reporte));
    return true;
}

void MainWindow::on_actionTerminarSimulacion_triggered()
{
    if (m_uiMode != Simular)
        return;
    for (int j = 0; j < m_sceneList.size() && j < m_idxEstadosActuales.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        scene->setMode(DiagramScene::MoveItem);
        if (QGraphicsView *vista = primeraVista(scene))
            vista->setDragMode(QGraphicsView::RubberBandDrag);
        const int actual = m_idxEstadosActuales.at(j);
        if (actual >= 0 && actual < scene->itemList().size()) {
            if (scene->previousArrow())
                scene->previousArrow()->setActiva(false);
            scene->itemList().at(actual)->setActivo(false);
        } else if (scene->initialStateItem()) {
            scene->initialStateItem()->setActivo(false);
        }
        scene->setPreviousArrow(nullptr);
        scene->update();
    }

    m_uiMode = Editar;
    delete m_timer;
    m_timer = nullptr;
    m_idxEstadosActuales.clear();

    ui->actionTerminarSimulacion->setEnabled(false);
    habilitarEdicion(true);
    cambiarEntradaVer(ui->dockWidgetSimulacion, ui->dockWidgetProyecto);
    ui->tableWidgetSimEventos->setRowCount(0);
    ui->tableWidgetSimAcciones->setRowCount(0);
    ui->dockWidgetSimulacion->hide();
    ui->dockWidgetProyecto->show();
    if (m_resetDockVerificar) {
        m_resetDockVerificar = false;
        ui->dockWidgetVerificar->show();
        tabifyDockWidget(ui->dockWidgetProyecto, ui->dockWidgetVerificar);
    }
    ui->actionSimular->setChecked(false);
}
