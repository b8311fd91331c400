#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "delegadotextorepetido.h"
#include "proyecto.h"
#include "rebanadahilo.h"

#include <QDateTime>
#include <QGraphicsView>
#include <QHeaderView>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

// How often the diagrams or the panel catch up with the port: each of them
// every other tick.
constexpr int T_PANEL_DEPURACION = 15;

// While debugging nothing moves but the lit states and arrows: the views
// repaint only those instead of the whole view, as editing does.
void verDepurando(DiagramScene *scene, bool depurando)
{
    if (scene->views().isEmpty())
        return;
    QGraphicsView *vista = scene->views().first();
    vista->setDragMode(depurando ? QGraphicsView::NoDrag : QGraphicsView::RubberBandDrag);
    vista->setViewportUpdateMode(depurando ? QGraphicsView::MinimalViewportUpdate
                                           : QGraphicsView::FullViewportUpdate);
}

} // namespace

template<typename Llamada> void MainWindow::enHiloEnlace(Llamada llamada)
{
    QMetaObject::invokeMethod(m_relevoDepuracion, llamada, Qt::BlockingQueuedConnection);
}

void MainWindow::initPanelDepuracion()
{
    QTableView *tabla = ui->tableWidgetDepuracion;
    m_filasDepuracion = new FilasDepuracion(this);
    tabla->setModel(m_filasDepuracion);
    tabla->horizontalHeader()->setStretchLastSection(true);
    tabla->verticalHeader()->hide();
    tabla->setColumnWidth(0, tabla->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) + 16);
    // Every tick scrolls the whole panel, so every visible cell is painted
    // again; but for the time, the panel shows the same few names over and
    // over.
    auto *delegado = new DelegadoTextoRepetido(tabla);
    for (int c = 1; c < m_filasDepuracion->columnCount(); ++c)
        tabla->setItemDelegateForColumn(c, delegado);
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
    ui->tableWidgetDepuracion->clearSpans();
    m_filasDepuracion->vaciar();
    m_horaInicioDepuracion = QTime::currentTime();
    m_inicioDepuracion = QDateTime::currentMSecsSinceEpoch();
    ui->treeWidgetSimEstados->clear();

    // Until a machine's first line arrives, where the board is is unknown:
    // the machine shows its reset marker, as a simulation starts.
    const int maquinas = m_sceneList.size();
    m_idxMostrados.fill(-1, maquinas);
    m_arrowsIluminadas.fill(nullptr, maquinas);
    m_pasosPendientes.fill({nullptr, -1}, maquinas);
    for (DiagramScene *scene : qAsConst(m_sceneList)) {
        if (scene->initialStateItem())
            scene->initialStateItem()->setActivo(true);
        scene->setMode(DiagramScene::Simulation);
        verDepurando(scene, true);
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
    m_pasosPendientes.clear();
    m_filasEnEspera.clear();
    for (int j = 0; j < m_sceneList.size(); ++j) {
        DiagramScene *scene = m_sceneList.at(j);
        scene->setMode(DiagramScene::MoveItem);
        verDepurando(scene, false);
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

QVector<FilasDepuracion::Fila>
MainWindow::aplicarPasosDepuracion(const QVector<RelevoDepuracion::Paso> &pasos)
{
    // Only the panel's last rows are worth keeping; every step still moves
    // its machine.
    const int primeraFila = qMax(0, pasos.size() - FilasDepuracion::MaxFilas);
    QVector<FilasDepuracion::Fila> filas;
    filas.reserve(pasos.size() - primeraFila);
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
        FilasDepuracion::Fila fila;
        fila.hora = m_horaInicioDepuracion.addMSecs(int((paso.recibido - m_inicioDepuracion) % 86'400'000));
        fila.enModelo = flecha != nullptr;
        if (flecha)
            fila.reporte = paso.reporte;
        else
            fila.linea = paso.linea;
        filas.append(fila);
    }
    return filas;
}

void MainWindow::mostrarDepuracion()
{
    if (m_uiMode != Depurar)
        return;
    const QVector<RelevoDepuracion::Paso> pasos = m_relevoDepuracion->tomarPasos();
    m_filasEnEspera += aplicarPasosDepuracion(pasos);
    if (m_filasEnEspera.size() > FilasDepuracion::MaxFilas)
        m_filasEnEspera.remove(0, m_filasEnEspera.size() - FilasDepuracion::MaxFilas);
    // The panel and the diagrams take turns: each repaint is a shorter
    // stretch of the window's thread, which a line's worker or the link's
    // thread, woken on its core, may otherwise wait for.
    m_turnoPanelDepuracion = !m_turnoPanelDepuracion;
    if (m_turnoPanelDepuracion)
        mostrarFilasDepuracion();
    else
        mostrarPasosDepuracion();
    // While the board keeps logging the window keeps its own clock; once
    // all is shown and nothing came, the relay tells when something does.
    if (!pasos.isEmpty() || !m_filasEnEspera.isEmpty() || hayPasosPorMostrar())
        m_timerDepuracion->start();
}

void MainWindow::mostrarPasosDepuracion()
{
    for (int j = 0; j < m_pasosPendientes.size(); ++j) {
        const QPair<Arrow *, int> paso = m_pasosPendientes.at(j);
        if (!paso.first)
            continue;
        if (DiagramItem *marcador = m_sceneList.at(j)->initialStateItem())
            marcador->setActivo(false);
        iluminar(j, paso.second, paso.first);
        m_pasosPendientes[j] = {nullptr, -1};
    }
}

bool MainWindow::hayPasosPorMostrar() const
{
    return std::any_of(m_pasosPendientes.cbegin(), m_pasosPendientes.cend(),
                       [](const QPair<Arrow *, int> &paso) { return paso.first != nullptr; });
}

void MainWindow::mostrarFilasDepuracion()
{
    if (m_filasEnEspera.isEmpty())
        return;
    QTableView *tabla = ui->tableWidgetDepuracion;
    for (int fila = m_filasDepuracion->agregar(std::exchange(m_filasEnEspera, {}));
         fila < m_filasDepuracion->rowCount(); ++fila) {
        if (!m_filasDepuracion->enModelo(fila))
            tabla->setSpan(fila, 1, 1, m_filasDepuracion->columnCount() - 1);
    }
    tabla->scrollToBottom();
}
