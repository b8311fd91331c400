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

// The rows of the actions table for a transition: each non-empty action
// followed by the machine's name in brackets.
QStringList filasDeAcciones(const Arrow *arrow, const QString &maquina)
{
    QStringList filas;
    for (const QString &accion : arrow->actions()) {
        if (!accion.isEmpty())
            filas.append(accion + QStringLiteral(" [") + maquina + QLatin1Char(']'));
    }
    return filas;
}

// What a report names of each row: a call up to its "(", an assignment
// whole (machine name included).
QStringList nombresParaReporte(const QStringList &filas)
{
    QStringList nombres;
    for (const QString &fila : filas) {
        const int parentesis = fila.indexOf(QLatin1Char('('));
        nombres.append(parentesis < 0 ? fila : fila.left(parentesis));
    }
    return nombres;
}

} // namespace

QIcon MainWindow::iconoSim(const char *nombre)
{
    const QString clave = QLatin1String(nombre);
    auto encontrado = m_iconosSimulacion.constFind(clave);
    if (encontrado == m_iconosSimulacion.constEnd())
        encontrado = m_iconosSimulacion.insert(clave, QIcon(QStringLiteral(":/img/img/") + clave));
    return encontrado.value();
}

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
    const int maquinas = m_sceneList.size();
    m_idxEstadosActuales.fill(-1, maquinas);
    m_idxMostrados.fill(-1, maquinas);
    m_arrowsIluminadas.fill(nullptr, maquinas);
    m_disparoPendiente.fill(false, maquinas);
    m_ultimoDisparo = nullptr;
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (int j = 0; j < maquinas; ++j) {
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
    sistema->setIcon(0, iconoSim("plugin.png"));
    sistema->setFlags(Qt::ItemIsEnabled);
    for (DiagramScene *scene : qAsConst(m_sceneList)) {
        auto *maquina = new QTreeWidgetItem(sistema, {scene->name()});
        maquina->setIcon(0, iconoSim("application.png"));
        maquina->setFlags(Qt::ItemIsEnabled);
        auto *reset = new QTreeWidgetItem(maquina, {QStringLiteral("(RESET)")});
        reset->setIcon(0, iconoSim("bullet_red.png"));
        reset->setFlags(Qt::ItemIsEnabled);
        for (DiagramItem *estado : scene->itemList()) {
            auto *entrada = new QTreeWidgetItem(maquina, {estado->name().toUpper()});
            entrada->setIcon(0, iconoSim("button.png"));
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
            item->setIcon(iconoSim("events.png"));
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

DiagramItem *MainWindow::estadoMostrado(int maquina) const
{
    return m_sceneList.at(maquina)->itemList().value(m_idxMostrados.at(maquina), nullptr);
}

void MainWindow::updateSimulacion()
{
    if (m_uiMode != Simular)
        return;
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        DiagramItem *estado = estadoMostrado(j);
        if (scene->previousArrow() && estado) {
            const bool encendido = estado->isActivo();
            estado->setActivo(!encendido);
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
        entrada->setIcon(0, iconoSim("bullet black.png"));
    m_idxEstadosActuales[maquina] = destino;
    scene->setPreviousArrow(reset);
    iluminar(maquina, destino, reset);

    if (maquina == 0)
        ui->tableWidgetSimAcciones->setRowCount(0);
    agregarAcciones(reset, scene->name());
    actualizarIconosEventos();
}

// Shows machine j in `estado` having taken `arrow`: the state shown so far
// goes off, the new one lights up, and the arrow replaces the lit one.
void MainWindow::iluminar(int maquina, int estado, Arrow *arrow)
{
    if (DiagramItem *anterior = estadoMostrado(maquina)) {
        if (QTreeWidgetItem *entrada = entradaEstado(maquina, m_idxMostrados.at(maquina)))
            entrada->setIcon(0, iconoSim("button.png"));
        anterior->setActivo(false);
    }
    m_idxMostrados[maquina] = estado;
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, estado))
        entrada->setIcon(0, iconoSim("button2.png"));
    estadoMostrado(maquina)->setActivo(true);
    // The same transition taken again stays lit; relaying out its label
    // would change nothing.
    Arrow *&iluminada = m_arrowsIluminadas[maquina];
    if (iluminada == arrow)
        return;
    if (iluminada)
        iluminada->setActiva(false);
    arrow->setActiva(true);
    iluminada = arrow;
}

void MainWindow::agregarAcciones(const Arrow *arrow, const QString &maquina)
{
    QTableWidget *tabla = ui->tableWidgetSimAcciones;
    for (const QString &texto : filasDeAcciones(arrow, maquina)) {
        auto *item = new QTableWidgetItem(iconoSim("arrow_right.png"), texto);
        item->setFlags(Qt::ItemIsEnabled);
        const int fila = tabla->rowCount();
        tabla->insertRow(fila);
        tabla->setItem(fila, 0, item);
    }
    tabla->resizeRowsToContents();
}

// Marks the rows that some machine's current state can take; "(reset)"
// keeps its icon always.
void MainWindow::actualizarIconosEventos()
{
    QStringList disponibles;
    for (int j = 0; j < m_sceneList.size(); ++j) {
        if (const DiagramItem *estado = estadoMostrado(j)) {
            for (const Arrow *arrow : salidasDe(estado))
                disponibles.append(arrow->event());
        }
    }
    QTableWidget *tabla = ui->tableWidgetSimEventos;
    for (int fila = 1; fila < tabla->rowCount(); ++fila) {
        QTableWidgetItem *item = tabla->item(fila, 0);
        if (item)
            item->setIcon(disponibles.contains(item->text()) ? iconoSim("events.png") : QIcon());
    }
}

void MainWindow::on_tableWidgetSimEventos_cellDoubleClicked(int row, int column)
{
    Q_UNUSED(column)
    const QTableWidgetItem *item = ui->tableWidgetSimEventos->item(row, 0);
    if (m_uiMode != Simular || !item)
        return;
    if (row == 0) {
        resetearSimulacion();
        return;
    }
    dispararEvento(item->text());
    mostrarDisparos();
}

void MainWindow::resetearSimulacion()
{
    Reporte reporte;
    reporte.evento = kFilaReset;
    enviarTrama(TramaEnlace::codificar(reporte));
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        if (QTreeWidgetItem *entrada = entradaEstado(j, -1))
            entrada->setIcon(0, iconoSim("bullet_red.png"));
        if (DiagramItem *estado = estadoMostrado(j)) {
            if (QTreeWidgetItem *entrada = entradaEstado(j, m_idxMostrados.at(j)))
                entrada->setIcon(0, iconoSim("button.png"));
            estado->setActivo(false);
        }
        if (m_arrowsIluminadas.at(j))
            m_arrowsIluminadas.at(j)->setActiva(false);
        m_arrowsIluminadas[j] = nullptr;
        scene->setPreviousArrow(nullptr);
        m_timer->start(T_SIM_RESET_INIT);
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(true);
        m_idxEstadosActuales[j] = -1;
        m_idxMostrados[j] = -1;
        m_disparoPendiente[j] = false;
    }
    m_ultimoDisparo = nullptr;
    ui->tableWidgetSimAcciones->setRowCount(0);
    actualizarIconosEventos();
    despuesDeReset();
}

void MainWindow::dispararEvento(const QString &evento)
{
    antesDeDisparar();
    for (int j = 0; j < m_sceneList.size(); ++j)
        dispararEnMaquina(j, evento);
    despuesDeDisparar(evento);
}

// Moves machine j on `evento` and reports it; the display is left to
// mostrarDisparos().
bool MainWindow::dispararEnMaquina(int maquina, const QString &evento)
{
    DiagramScene *scene = m_sceneList.at(maquina);
    DiagramItem *estado = scene->itemList().value(m_idxEstadosActuales.at(maquina), nullptr);
    if (!estado)
        return false;
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

    m_idxEstadosActuales[maquina] = destino;
    scene->setPreviousArrow(disparada);
    m_disparoPendiente[maquina] = true;
    m_ultimoDisparo = disparada;
    m_maquinaUltimoDisparo = scene->name();

    const QStringList acciones = nombresParaReporte(filasDeAcciones(disparada, scene->name()));
    Reporte reporte;
    reporte.maquina = scene->name();
    reporte.estado = estado->name();
    reporte.evento = evento;
    reporte.proxEstado = disparada->endItem()->name();
    reporte.acciones = acciones.isEmpty() ? QString() : AccionesDivididas(acciones);
    enviarTrama(TramaEnlace::codificar(reporte));
    return true;
}

// Brings the diagrams and the panel in line with the firings since the last
// call: the machines that moved light their new state and arrow, the actions
// table shows the last transition taken, the event icons follow the current
// states.
void MainWindow::mostrarDisparos()
{
    for (int j = 0; j < m_sceneList.size(); ++j) {
        if (!m_disparoPendiente.at(j))
            continue;
        m_disparoPendiente[j] = false;
        iluminar(j, m_idxEstadosActuales.at(j), m_sceneList.at(j)->previousArrow());
    }
    if (m_ultimoDisparo) {
        ui->tableWidgetSimAcciones->setRowCount(0);
        agregarAcciones(m_ultimoDisparo, m_maquinaUltimoDisparo);
        m_ultimoDisparo = nullptr;
    }
    actualizarIconosEventos();
}

void MainWindow::on_actionTerminarSimulacion_triggered()
{
    if (m_uiMode != Simular)
        return;
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        scene->setMode(DiagramScene::MoveItem);
        if (QGraphicsView *vista = primeraVista(scene))
            vista->setDragMode(QGraphicsView::RubberBandDrag);
        if (DiagramItem *estado = estadoMostrado(j)) {
            if (m_arrowsIluminadas.at(j))
                m_arrowsIluminadas.at(j)->setActiva(false);
            estado->setActivo(false);
        } else if (scene->initialStateItem()) {
            scene->initialStateItem()->setActivo(false);
        }
        scene->setPreviousArrow(nullptr);
    }

    m_uiMode = Editar;
    delete m_timer;
    m_timer = nullptr;
    m_idxEstadosActuales.clear();
    m_idxMostrados.clear();
    m_arrowsIluminadas.clear();
    m_disparoPendiente.clear();
    m_ultimoDisparo = nullptr;

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
