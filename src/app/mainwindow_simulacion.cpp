#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "proyecto.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "tramaenlace.h"
#include "vistadiagrama.h"
#include "xmlhandler.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

// Pause before the reset transitions are taken, at the start and after each
// reset; then the current states blink on and off.
#define T_SIM_RESET_INIT 1500
#define T_SIM_ESTADO_ACTIVO 900
#define T_SIM_ESTADO_INACTIVO 500

namespace {

QGraphicsView *primeraVista(DiagramScene *scene)
{
    return scene->views().isEmpty() ? nullptr : scene->views().first();
}

// Each icon set on a state's entry tells the tree view, which finds the row
// with a walk over every row (thousands on a large project). While one of
// these lives the view is told nothing; it repaints its visible rows once at
// the end, which shows the same icons.
class IconosEnLote
{
public:
    explicit IconosEnLote(QTreeWidget *arbol) : m_arbol(arbol), m_bloqueo(arbol->model()) {}
    ~IconosEnLote()
    {
        m_bloqueo.unblock();
        m_arbol->viewport()->update();
    }
    IconosEnLote(const IconosEnLote &) = delete;
    IconosEnLote &operator=(const IconosEnLote &) = delete;

private:
    QTreeWidget *m_arbol;
    QSignalBlocker m_bloqueo;
};

} // namespace

QIcon MainWindow::iconoSim(const char *nombre)
{
    auto encontrado = m_iconosSimulacion.constFind(nombre);
    if (encontrado == m_iconosSimulacion.constEnd())
        encontrado =
            m_iconosSimulacion.insert(nombre, QIcon(QStringLiteral(":/img/img/") + QLatin1String(nombre)));
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
    crearPanelModoC();
}

// The mode choice above the panel, and the C mode's widgets (events to
// check, "Paso", the variables) in the splitter, shown only in that mode.
void MainWindow::crearPanelModoC()
{
    auto *filaModo = new QWidget;
    auto *layoutModo = new QHBoxLayout(filaModo);
    layoutModo->setContentsMargins(0, 0, 0, 0);
    layoutModo->addWidget(new QLabel(QStringLiteral("Modo")));
    m_comboModoSim = new QComboBox;
    m_comboModoSim->setObjectName(QStringLiteral("comboBoxModoSimulacion"));
    m_comboModoSim->addItems({QStringLiteral("Filas de disparo"), QStringLiteral("Como el código C")});
    m_comboModoSim->setToolTip(
        QStringLiteral("Filas de disparo: cada doble clic dispara las transiciones con ese "
                       "texto.\nComo el código C: cada paso evalúa los disparadores como "
                       "el código generado."));
    layoutModo->addWidget(m_comboModoSim, 1);
    ui->dockWidgetSimulacionLayout->insertWidget(0, filaModo);
    connect(m_comboModoSim, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MainWindow::cambiarModoSimulacion);

    m_panelModoC = new QWidget;
    m_panelModoC->setObjectName(QStringLiteral("panelSimulacionC"));
    auto *layout = new QVBoxLayout(m_panelModoC);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Eventos verdaderos en el paso")));
    m_listaEventosC = new QListWidget;
    m_listaEventosC->setObjectName(QStringLiteral("listWidgetSimEventosC"));
    layout->addWidget(m_listaEventosC, 1);
    auto *botones = new QHBoxLayout;
    auto *paso = new QPushButton(QStringLiteral("Paso"));
    paso->setObjectName(QStringLiteral("pushButtonSimPaso"));
    paso->setToolTip(QStringLiteral("Una pasada del lazo principal del código C con los eventos marcados"));
    auto *reiniciar = new QPushButton(QStringLiteral("Reiniciar"));
    reiniciar->setObjectName(QStringLiteral("pushButtonSimReiniciar"));
    reiniciar->setToolTip(
        QStringLiteral("Vuelve al reset: variables en 0 y cada máquina en su estado inicial"));
    botones->addWidget(paso);
    botones->addWidget(reiniciar);
    layout->addLayout(botones);
    layout->addWidget(new QLabel(QStringLiteral("Variables")));
    m_tablaVariables = new QTableWidget(0, 2);
    m_tablaVariables->setObjectName(QStringLiteral("tableWidgetSimVariables"));
    m_tablaVariables->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Valor")});
    m_tablaVariables->horizontalHeader()->setStretchLastSection(true);
    m_tablaVariables->verticalHeader()->hide();
    layout->addWidget(m_tablaVariables, 1);
    ui->splitterSimulacion->insertWidget(1, m_panelModoC);
    m_panelModoC->hide();
    connect(paso, &QPushButton::clicked, this, &MainWindow::pasoSimulacionC);
    connect(reiniciar, &QPushButton::clicked, this, [this]() {
        if (m_uiMode == Simular)
            resetearSimulacion();
    });
    connect(m_tablaVariables, &QTableWidget::itemChanged, this, &MainWindow::variableEditada);
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
    if (!m_datosXml || m_sceneList.isEmpty() || m_uiMode == Depurar) {
        ui->actionSimular->setChecked(false);
        return;
    }
    guardarDatos();
    if (!verificarEstadosIniciales()) {
        ui->actionSimular->setChecked(false);
        return;
    }

    const ::Proyecto proyecto = ::Proyecto::desdeDocumento(*m_datosXml);
    m_simFilas = std::make_shared<SimulacionFilas>(proyecto);
    m_simC = std::make_shared<SimulacionC>(proyecto);
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
    m_idxMostrados.fill(-1, maquinas);
    m_arrowsIluminadas.fill(nullptr, maquinas);
    m_disparoPendiente.fill(false, maquinas);
    m_pasosMostrar.clear();
    m_accionesPendientes = false;
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
    mostrarModoSimulacion();
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

    const QStringList &eventos = m_simFilas->filas();
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
    llenarPanelModoC();
}

void MainWindow::llenarPanelModoC()
{
    m_listaEventosC->clear();
    for (const QString &evento : m_simC->eventos()) {
        auto *item = new QListWidgetItem(evento, m_listaEventosC);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    actualizarVariables();
}

void MainWindow::actualizarVariables()
{
    const QSignalBlocker bloqueo(m_tablaVariables);
    const QStringList &variables = m_simC->variables();
    m_tablaVariables->setRowCount(variables.size());
    for (int v = 0; v < variables.size(); ++v) {
        auto *nombre = new QTableWidgetItem(variables.at(v));
        nombre->setFlags(Qt::ItemIsEnabled);
        m_tablaVariables->setItem(v, 0, nombre);
        auto *valor = new QTableWidgetItem(QString::number(m_simC->valor(v)));
        valor->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        m_tablaVariables->setItem(v, 1, valor);
    }
}

// A value typed before a step is the variable's value for that step; what
// is not a C int is refused and the value shown again.
void MainWindow::variableEditada(QTableWidgetItem *item)
{
    if (!m_simC || item->column() != 1)
        return;
    bool numero = false;
    const int valor = item->text().trimmed().toInt(&numero, 0);
    if (numero) {
        m_simC->fijarValor(item->row(), valor);
        despuesDeFijarVariable(item->row());
    } else
        statusBar()->showMessage(
            QStringLiteral("«%1» no es un valor entero; la variable conserva su valor.").arg(item->text()),
            4000);
    actualizarVariables();
}

// Rows mode shows the event table; C mode the events to check, "Paso" and
// the variables.
void MainWindow::mostrarModoSimulacion()
{
    m_panelModoC->setVisible(m_modoC);
    ui->tableWidgetSimEventos->setVisible(!m_modoC);
    if (m_uiMode != Simular || !m_modoC)
        return;
    // The C starts in the initial states at once: there is no pause to see.
    for (int j = 0; j < m_sceneList.size(); ++j)
        tomarTransicionReset(j);
}

void MainWindow::cambiarModoSimulacion(int indice)
{
    if (m_modoC == (indice == 1))
        return;
    m_modoC = indice == 1;
    if (m_uiMode == Simular)
        resetearSimulacion();
    mostrarModoSimulacion();
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

// The arrow of a transition as the engine numbers it: its position among
// the arrows that leave the state, which is the order the file keeps.
Arrow *MainWindow::flechaDeTransicion(int maquina, int estado, int transicion) const
{
    const DiagramScene *scene = m_sceneList.at(maquina);
    const DiagramItem *item = scene->itemList().value(estado, nullptr);
    if (!item)
        return nullptr;
    int j = 0;
    for (Arrow *arrow : item->arrows()) {
        if (arrow->startItem() != item || !scene->hasState(arrow->endItem()))
            continue;
        if (j++ == transicion)
            return arrow;
    }
    return nullptr;
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
    if (destino < 0 || !marcador->isActivo())
        return;
    // In C mode the engine is in its initial states from the reset on.
    PasoMaquina paso;
    if (!m_modoC && !m_simFilas->salirDeReset(maquina, &paso))
        return;
    marcador->setActivo(false);
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, -1))
        entrada->setIcon(0, iconoSim("bullet black.png"));
    scene->setPreviousArrow(reset);
    iluminar(maquina, destino, reset);

    // The C runs the initial actions on the machine's first step; the rows
    // mode shows them as the reset transition is taken.
    if (m_modoC)
        return;
    if (maquina == 0)
        ui->tableWidgetSimAcciones->setRowCount(0);
    agregarAcciones(paso.filasAcciones(m_simFilas->proyecto()));
    actualizarIconosEventos();
}

// Shows machine j in `estado` having taken `arrow`: the state shown so far
// goes off, the new one lights up, and the arrow replaces the lit one.
void MainWindow::iluminar(int maquina, int estado, Arrow *arrow)
{
    // A state that stays lit is not switched off and on: that would repaint it.
    DiagramItem *anterior = estadoMostrado(maquina);
    if (anterior && m_idxMostrados.at(maquina) != estado) {
        if (QTreeWidgetItem *entrada = entradaEstado(maquina, m_idxMostrados.at(maquina)))
            entrada->setIcon(0, iconoSim("button.png"));
        anterior->setActivo(false);
    }
    m_idxMostrados[maquina] = estado;
    if (QTreeWidgetItem *entrada = entradaEstado(maquina, estado))
        entrada->setIcon(0, iconoSim("button2.png"));
    DiagramItem *item = estadoMostrado(maquina);
    item->setActivo(true);
    if (auto *vista = qobject_cast<VistaDiagrama *>(primeraVista(m_sceneList.at(maquina))))
        vista->seguir(item);
    // The same transition taken again stays lit; relaying out its label
    // would change nothing.
    Arrow *&iluminada = m_arrowsIluminadas[maquina];
    if (iluminada == arrow || !arrow)
        return;
    if (iluminada)
        iluminada->setActiva(false);
    arrow->setActiva(true);
    iluminada = arrow;
}

void MainWindow::agregarAcciones(const QStringList &filas)
{
    QTableWidget *tabla = ui->tableWidgetSimAcciones;
    if (tabla->columnWidth(0) != m_anchoAltosAcciones) {
        m_altosAcciones.clear();
        m_anchoAltosAcciones = tabla->columnWidth(0);
    }
    for (const QString &texto : filas) {
        auto *item = new QTableWidgetItem(iconoSim("arrow_right.png"), texto);
        item->setFlags(Qt::ItemIsEnabled);
        const int fila = tabla->rowCount();
        tabla->insertRow(fila);
        tabla->setItem(fila, 0, item);
        const auto alto = m_altosAcciones.constFind(texto);
        if (alto != m_altosAcciones.constEnd()) {
            tabla->setRowHeight(fila, alto.value());
            continue;
        }
        tabla->resizeRowToContents(fila);
        m_altosAcciones.insert(texto, tabla->rowHeight(fila));
    }
}

// Marks the rows that some machine's current state can take; "(reset)"
// keeps its icon always. Only the icons that change are set: each one set
// makes the table repaint its row.
void MainWindow::actualizarIconosEventos()
{
    if (!m_simFilas)
        return;
    const ::Proyecto &proyecto = m_simFilas->proyecto();
    QSet<QString> disponibles;
    for (int j = 0; j < m_sceneList.size() && j < proyecto.cantidadMaquinas(); ++j) {
        const int estado = m_idxMostrados.value(j, -1);
        const QVector<Estado> &estados = proyecto.maquina(j).estados;
        if (estado < 0 || estado >= estados.size())
            continue;
        for (const Transicion &transicion : estados.at(estado).transiciones)
            disponibles.insert(transicion.disparador.texto());
    }
    QTableWidget *tabla = ui->tableWidgetSimEventos;
    for (int fila = 1; fila < tabla->rowCount(); ++fila) {
        QTableWidgetItem *item = tabla->item(fila, 0);
        if (!item)
            continue;
        const bool disponible = disponibles.contains(item->text());
        if (disponible == item->icon().isNull())
            item->setIcon(disponible ? iconoSim("events.png") : QIcon());
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
    enviarTrama(TramaEnlace::reset());
    m_simFilas->reiniciar();
    m_simC->reiniciar();
    const IconosEnLote lote(ui->treeWidgetSimEstados);
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
        m_idxMostrados[j] = -1;
        m_disparoPendiente[j] = false;
    }
    m_pasosMostrar.clear();
    m_accionesPendientes = false;
    ui->tableWidgetSimAcciones->setRowCount(0);
    actualizarIconosEventos();
    actualizarVariables();
    if (m_modoC)
        mostrarModoSimulacion();
    despuesDeReset();
}

void MainWindow::dispararEvento(const QString &evento)
{
    antesDeDisparar();
    const QVector<PasoMaquina> &pasos = m_simFilas->disparar(evento);
    QByteArray tramas;
    for (const PasoMaquina &paso : pasos)
        tramas += mostrarPasoSimulado(paso);
    enviarTrama(tramas);
    // The rows mode's actions table shows the last transition taken.
    if (!pasos.isEmpty()) {
        m_pasosMostrar = {pasos.last()};
        m_accionesPendientes = true;
    }
    despuesDeDisparar(evento);
}

void MainWindow::pasoSimulacionC()
{
    if (m_uiMode != Simular || !m_modoC)
        return;
    QVector<bool> verdaderos(m_simC->eventos().size(), false);
    for (int i = 0; i < m_listaEventosC->count() && i < verdaderos.size(); ++i)
        verdaderos[i] = m_listaEventosC->item(i)->checkState() == Qt::Checked;
    darPasoC(verdaderos);
    mostrarDisparos();
}

void MainWindow::darPasoC(const QVector<bool> &verdaderos)
{
    const QVector<PasoMaquina> &pasos = m_simC->paso(verdaderos);
    QByteArray tramas;
    for (const PasoMaquina &paso : pasos) {
        if (!paso.esReset())
            tramas += mostrarPasoSimulado(paso);
    }
    enviarTrama(tramas);
    // The C mode's actions table shows every machine that moved.
    m_pasosMostrar = pasos;
    m_accionesPendientes = true;
    despuesDePasoC(verdaderos);
}

// Records a machine's step for the display and gives its report frame. The
// frames of one firing go to the link in one call, so that its thread wakes
// once for them, not once per machine.
QByteArray MainWindow::mostrarPasoSimulado(const PasoMaquina &paso)
{
    const ::Proyecto &proyecto = m_simFilas->proyecto();
    m_sceneList.at(paso.maquina)
        ->setPreviousArrow(flechaDeTransicion(paso.maquina, paso.origen, paso.transicion));
    m_disparoPendiente[paso.maquina] = true;
    return TramaEnlace::codificar(paso.reporte(proyecto));
}

// Brings the diagrams and the panel in line with the firings since the last
// call: the machines that moved light their new state and arrow, the actions
// table shows the steps to show, the event icons follow the current states.
void MainWindow::mostrarDisparos()
{
    const IconosEnLote lote(ui->treeWidgetSimEstados);
    for (int j = 0; j < m_sceneList.size(); ++j) {
        if (!m_disparoPendiente.at(j))
            continue;
        m_disparoPendiente[j] = false;
        const int estado = m_modoC ? m_simC->estadoActual(j) : m_simFilas->estadoActual(j);
        iluminar(j, estado, m_sceneList.at(j)->previousArrow());
    }
    if (m_accionesPendientes) {
        m_accionesPendientes = false;
        ui->tableWidgetSimAcciones->setRowCount(0);
        for (const PasoMaquina &paso : qAsConst(m_pasosMostrar))
            agregarAcciones(paso.filasAcciones(m_simFilas->proyecto()));
    }
    actualizarIconosEventos();
    if (m_modoC)
        actualizarVariables();
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
    m_idxMostrados.clear();
    m_arrowsIluminadas.clear();
    m_altosAcciones.clear();
    m_disparoPendiente.clear();
    m_pasosMostrar.clear();
    m_accionesPendientes = false;

    ui->actionTerminarSimulacion->setEnabled(false);
    habilitarEdicion(true);
    cambiarEntradaVer(ui->dockWidgetSimulacion, ui->dockWidgetProyecto);
    ui->tableWidgetSimEventos->setRowCount(0);
    ui->tableWidgetSimAcciones->setRowCount(0);
    m_listaEventosC->clear();
    m_tablaVariables->setRowCount(0);
    m_simFilas.reset();
    m_simC.reset();
    ui->dockWidgetSimulacion->hide();
    ui->dockWidgetProyecto->show();
    if (m_resetDockVerificar) {
        m_resetDockVerificar = false;
        ui->dockWidgetVerificar->show();
        tabifyDockWidget(ui->dockWidgetProyecto, ui->dockWidgetVerificar);
    }
    ui->actionSimular->setChecked(false);
}
