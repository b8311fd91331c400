#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "proyecto.h"
#include "rebanadahilo.h"

#include <QDateTime>
#include <QGraphicsView>
#include <QHeaderView>
#include <QTime>
#include <QTimer>

namespace {

// The panel keeps the latest steps only: a board logging thousands of
// transitions a second must not grow it without end.
constexpr int MaxFilasDepuracion = 500;
// How often the diagrams and the panel catch up with the port.
constexpr int T_PANEL_DEPURACION = 30;

const QStringList kColumnas{QStringLiteral("Hora"),   QStringLiteral("Máquina"), QStringLiteral("Desde"),
                            QStringLiteral("Evento"), QStringLiteral("Hacia"),   QStringLiteral("Acciones")};

QGraphicsView *vistaDe(DiagramScene *scene)
{
    return scene->views().isEmpty() ? nullptr : scene->views().first();
}

} // namespace

template<typename Llamada> void MainWindow::enHiloEnlace(Llamada llamada)
{
    QMetaObject::invokeMethod(m_relevoDepuracion, llamada, Qt::BlockingQueuedConnection);
}

void MainWindow::initPanelDepuracion()
{
    QTableWidget *tabla = ui->tableWidgetDepuracion;
    tabla->setColumnCount(kColumnas.size());
    tabla->setHorizontalHeaderLabels(kColumnas);
    tabla->horizontalHeader()->setStretchLastSection(true);
    tabla->verticalHeader()->hide();
    tabla->setColumnWidth(0, tabla->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) + 16);
    ui->dockWidgetDepuracion->hide();
    connect(m_relevoDepuracion, &RelevoDepuracion::pasosPendientes, this, [this]() {
        if (m_uiMode == Depurar && !m_timerDepuracion->isActive())
            m_timerDepuracion->start();
    });
    connect(m_relevoDepuracion, &RelevoDepuracion::cerrado, this, &MainWindow::depuracionCerrada);
    m_timerDepuracion = new QTimer(this);
    m_timerDepuracion->setSingleShot(true);
    m_timerDepuracion->setInterval(T_PANEL_DEPURACION);
    connect(m_timerDepuracion, &QTimer::timeout, this, &MainWindow::mostrarDepuracion);
}

void MainWindow::on_actionDepurar_triggered()
{
    ui->actionDepurar->setChecked(m_uiMode == Depurar);
    if (m_uiMode == Depurar)
        return;
    if (!m_datosXml || m_sceneList.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Depurar"),
                                 QStringLiteral("Abra un proyecto con al menos una máquina para depurar."));
        return;
    }
    if (m_uiMode == Simular) {
        QMessageBox::information(this, QStringLiteral("Depurar"),
                                 QStringLiteral("Termine la simulación antes de depurar."));
        return;
    }
    // The board numbers machines, states and transitions as the generated
    // C does, which is the order of the saved project.
    guardarDatos();
    const ::Proyecto proyecto = ::Proyecto::desdeDocumento(*m_datosXml);
    bool abierto = false;
    QString error;
    enHiloEnlace([&]() {
        abierto = m_relevoDepuracion->iniciar(proyecto, portName, m_velocidadPuerto);
        error = m_relevoDepuracion->errorString();
    });
    if (!abierto) {
        QMessageBox::warning(this, QStringLiteral("Advertencia"),
                             QStringLiteral("No se puede iniciar la depuración.\n") + error);
        return;
    }
    m_uiMode = Depurar;
    ui->actionDepurar->setChecked(true);
    // The window paints in bursts of a millisecond or two; on a busy machine
    // the kernel's pseudo-terminal worker and the link's thread, woken by a
    // line meanwhile, would wait for the whole burst on its core.
    RebanadaHilo::pedir(RebanadaHilo::VentanaMicrosegundos);

    if (!ui->dockWidgetVerificar->isHidden()) {
        ui->dockWidgetVerificar->hide();
        m_resetDockVerificar = true;
    }
    ui->dockWidgetProyecto->hide();
    ui->dockWidgetDepuracion->show();
    cambiarEntradaVer(ui->dockWidgetProyecto, ui->dockWidgetDepuracion);
    habilitarEdicion(false);
    ui->actionSimular->setEnabled(false);
    ui->tableWidgetDepuracion->setRowCount(0);
    m_horaInicioDepuracion = QTime::currentTime();
    m_inicioDepuracion = QDateTime::currentMSecsSinceEpoch();
    ui->treeWidgetSimEstados->clear();

    // Until a machine's first line arrives, where the board is is unknown:
    // the machine shows its reset marker, as a simulation starts.
    const int maquinas = m_sceneList.size();
    m_idxMostrados.fill(-1, maquinas);
    m_arrowsIluminadas.fill(nullptr, maquinas);
    m_pasosPendientes.fill({nullptr, -1}, maquinas);
    m_filasPendientes.clear();
    for (DiagramScene *scene : qAsConst(m_sceneList)) {
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(true);
        scene->setMode(DiagramScene::Simulation);
        if (QGraphicsView *vista = vistaDe(scene))
            vista->setDragMode(QGraphicsView::NoDrag);
    }
    statusBar()->showMessage(
        QStringLiteral("Depurando en %1 a %2 baudios.").arg(portName).arg(m_velocidadPuerto));
}

void MainWindow::on_actionTerminar_depuracion_triggered()
{
    if (m_uiMode == Depurar)
        terminarDepuracion();
}

void MainWindow::depuracionCerrada(const QString &motivo)
{
    if (m_uiMode != Depurar)
        return;
    terminarDepuracion();
    QMessageBox::warning(this, QStringLiteral("Advertencia"),
                         motivo + QStringLiteral("\nLa depuración terminó."));
}

void MainWindow::terminarDepuracion()
{
    enHiloEnlace([this]() { m_relevoDepuracion->terminar(); });
    RebanadaHilo::restablecer();
    m_timerDepuracion->stop();
    m_filasPendientes.clear();
    m_pasosPendientes.clear();
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        scene->setMode(DiagramScene::MoveItem);
        if (QGraphicsView *vista = vistaDe(scene))
            vista->setDragMode(QGraphicsView::RubberBandDrag);
        if (m_arrowsIluminadas.value(j))
            m_arrowsIluminadas.at(j)->setActiva(false);
        if (DiagramItem *estado = estadoMostrado(j))
            estado->setActivo(false);
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(false);
    }
    m_idxMostrados.clear();
    m_arrowsIluminadas.clear();
    m_uiMode = Editar;

    habilitarEdicion(true);
    ui->actionSimular->setEnabled(true);
    ui->actionDepurar->setChecked(false);
    cambiarEntradaVer(ui->dockWidgetDepuracion, ui->dockWidgetProyecto);
    ui->dockWidgetDepuracion->hide();
    ui->dockWidgetProyecto->show();
    if (m_resetDockVerificar) {
        m_resetDockVerificar = false;
        ui->dockWidgetVerificar->show();
        tabifyDockWidget(ui->dockWidgetProyecto, ui->dockWidgetVerificar);
    }
    statusBar()->showMessage(QStringLiteral("Depuración terminada."));
}

void MainWindow::aplicarPasosDepuracion(const QVector<RelevoDepuracion::Paso> &pasos)
{
    if (m_uiMode != Depurar)
        return;
    // Only the panel's last rows are worth writing; every step still moves
    // its machine.
    const int primeraFila = qMax(0, pasos.size() - MaxFilasDepuracion);
    for (int i = 0; i < pasos.size(); ++i) {
        const RelevoDepuracion::Paso &paso = pasos.at(i);
        const PasoMaquina &p = paso.paso;
        Arrow *flecha = p.maquina >= 0 && p.maquina < m_sceneList.size()
                            ? flechaDeTransicion(p.maquina, p.origen, p.transicion)
                            : nullptr;
        if (flecha)
            m_pasosPendientes[p.maquina] = {flecha, p.destino};
        if (i < primeraFila)
            continue;
        const QString hora =
            m_horaInicioDepuracion.addMSecs(int((paso.recibido - m_inicioDepuracion) % 86'400'000))
                .toString(QStringLiteral("hh:mm:ss.zzz"));
        if (!flecha) {
            m_filasPendientes.append(
                {false,
                 {hora, QStringLiteral("no corresponde al modelo: ") + QString::fromLatin1(paso.linea)}});
            continue;
        }
        const Reporte &r = paso.reporte;
        m_filasPendientes.append({true, {hora, r.maquina, r.estado, r.evento, r.proxEstado, r.acciones}});
    }
    if (m_filasPendientes.size() > MaxFilasDepuracion)
        m_filasPendientes.remove(0, m_filasPendientes.size() - MaxFilasDepuracion);
}

void MainWindow::mostrarDepuracion()
{
    if (m_uiMode != Depurar)
        return;
    aplicarPasosDepuracion(m_relevoDepuracion->tomarPasos());
    for (int j = 0; j < m_pasosPendientes.size(); ++j) {
        const QPair<Arrow *, int> paso = m_pasosPendientes.at(j);
        if (!paso.first)
            continue;
        if (DiagramItem *marcador = m_sceneList.at(j)->initialStateItem())
            marcador->setActivo(false);
        iluminar(j, paso.second, paso.first);
        m_pasosPendientes[j] = {nullptr, -1};
    }

    QTableWidget *tabla = ui->tableWidgetDepuracion;
    const int sobran = tabla->rowCount() + m_filasPendientes.size() - MaxFilasDepuracion;
    if (sobran > 0)
        tabla->model()->removeRows(0, qMin(sobran, tabla->rowCount()));
    int fila = tabla->rowCount();
    tabla->setRowCount(fila + m_filasPendientes.size());
    for (const QPair<bool, QStringList> &pendiente : qAsConst(m_filasPendientes)) {
        const QStringList &celdas = pendiente.second;
        for (int c = 0; c < celdas.size(); ++c) {
            auto *item = new QTableWidgetItem(celdas.at(c));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (!pendiente.first)
                item->setForeground(Qt::red);
            tabla->setItem(fila, c, item);
        }
        if (!pendiente.first)
            tabla->setSpan(fila, 1, 1, kColumnas.size() - 1);
        ++fila;
    }
    m_filasPendientes.clear();
    tabla->scrollToBottom();
}
