#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "corridaescenario.h"
#include "escenario.h"
#include "panelescenario.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "xmlhandler.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QSaveFile>
#include <QStatusBar>
#include <QTimer>

// Pause between the steps of a replay, so that each can be seen.
#define T_REPRODUCCION_PASO 400

namespace {

const QString kFiltro = QStringLiteral("Escenarios (*.escenario)");
// Transitions a replay never took are drawn in this colour until the
// simulation ends or another replay starts.
const QColor kColorSinTomar(QStringLiteral("#e07000"));

} // namespace

struct MainWindow::EstadoEscenarios
{
    // The recording, while "Grabar escenario" is on.
    std::unique_ptr<Escenario> grabacion;
    // The replay under way, with its timer.
    std::unique_ptr<CorridaEscenario> corrida;
    std::unique_ptr<Escenario> reproducido;
    QTimer *temporizador = nullptr;
    QList<Arrow *> sinTomar;
};

void MainWindow::BorrarEscenarios::operator()(EstadoEscenarios *estado) const
{
    delete estado;
}

void MainWindow::initEscenarios()
{
    m_escenarios.reset(new EstadoEscenarios);
    m_actionGrabarEscenario = new QAction(QIcon(QStringLiteral(":/img/img/script_edit.png")),
                                          QStringLiteral("Grabar escenario"), this);
    m_actionGrabarEscenario->setObjectName(QStringLiteral("actionGrabarEscenario"));
    m_actionGrabarEscenario->setToolTip(QStringLiteral("Grabar los pasos de la simulación en un escenario"));
    m_actionDetenerGrabacion =
        new QAction(QIcon(QStringLiteral(":/img/img/script_save.png")), QStringLiteral("Detener"), this);
    m_actionDetenerGrabacion->setObjectName(QStringLiteral("actionDetenerGrabacion"));
    m_actionDetenerGrabacion->setToolTip(QStringLiteral("Detener la grabación y guardar el escenario"));
    m_actionReproducirEscenario = new QAction(QIcon(QStringLiteral(":/img/img/script_go.png")),
                                              QStringLiteral("Reproducir escenario..."), this);
    m_actionReproducirEscenario->setObjectName(QStringLiteral("actionReproducirEscenario"));
    m_actionReproducirEscenario->setToolTip(QStringLiteral("Reproducir un escenario y comprobar cada paso"));
    connect(m_actionGrabarEscenario, &QAction::triggered, this, &MainWindow::grabarEscenario);
    connect(m_actionDetenerGrabacion, &QAction::triggered, this, &MainWindow::detenerGrabacion);
    connect(m_actionReproducirEscenario, &QAction::triggered, this, &MainWindow::reproducirEscenario);
    const QList<QAction *> acciones{m_actionGrabarEscenario, m_actionDetenerGrabacion,
                                    m_actionReproducirEscenario};
    QAction *despues = ui->menu_Herramientas->actions().value(
        ui->menu_Herramientas->actions().indexOf(ui->actionTerminarSimulacion) + 1, nullptr);
    ui->menu_Herramientas->insertActions(despues, acciones);
    despues = ui->mainToolBar->actions().value(
        ui->mainToolBar->actions().indexOf(ui->actionTerminarSimulacion) + 1, nullptr);
    ui->mainToolBar->insertActions(despues, acciones);

    m_panelEscenario = new PanelEscenario(this);
    m_dockEscenario = new QDockWidget(QStringLiteral("Escenario"), this);
    m_dockEscenario->setObjectName(QStringLiteral("dockWidgetEscenario"));
    m_dockEscenario->setWidget(m_panelEscenario);
    addDockWidget(Qt::RightDockWidgetArea, m_dockEscenario);
    m_dockEscenario->hide();

    // "Terminar" is enabled exactly while a simulation runs.
    connect(ui->actionTerminarSimulacion, &QAction::changed, this, [this] {
        if (!ui->actionTerminarSimulacion->isEnabled())
            terminarReproduccion();
        if (!ui->actionTerminarSimulacion->isEnabled() && grabando())
            detenerGrabacion();
        if (!ui->actionTerminarSimulacion->isEnabled())
            limpiarMarcasCobertura();
        actualizarAccionesEscenario();
    });
    actualizarAccionesEscenario();
}

bool MainWindow::grabando() const
{
    return m_escenarios && m_escenarios->grabacion;
}

bool MainWindow::reproduciendo() const
{
    return m_escenarios && m_escenarios->corrida;
}

void MainWindow::actualizarAccionesEscenario()
{
    const bool simulando = m_uiMode == Simular;
    m_actionGrabarEscenario->setEnabled(simulando && !grabando() && !reproduciendo());
    m_actionDetenerGrabacion->setEnabled(grabando());
    m_actionReproducirEscenario->setEnabled(simulando && !grabando() && !reproduciendo());
}

// A scenario starts from reset, so a recording does too: the simulation is
// reset and the reset transitions are taken at once.
void MainWindow::grabarEscenario()
{
    if (m_uiMode != Simular || grabando() || reproduciendo())
        return;
    resetearSimulacion();
    tomarResetsPendientes();
    m_escenarios->grabacion = std::make_unique<Escenario>();
    m_escenarios->grabacion->setModo(m_modoC ? Escenario::Modo::C : Escenario::Modo::Filas);
    grabarEstados();
    actualizarAccionesEscenario();
    statusBar()->showMessage(QStringLiteral("Grabando escenario: cada evento disparado queda registrado."));
}

void MainWindow::tomarResetsPendientes()
{
    for (int j = 0; j < m_sceneList.size(); ++j) {
        const DiagramItem *marcador = m_sceneList.at(j)->initialStateItem();
        if (marcador && marcador->isActivo())
            tomarTransicionReset(j);
    }
}

void MainWindow::grabarEstados()
{
    for (int j = 0; j < m_sceneList.size(); ++j) {
        const int actual = m_modoC ? m_simC->estadoActual(j) : m_simFilas->estadoActual(j);
        const DiagramItem *estado = m_sceneList.at(j)->itemList().value(actual, nullptr);
        if (!estado)
            continue;
        PasoEscenario paso;
        paso.tipo = PasoEscenario::Tipo::Estado;
        paso.maquina = m_sceneList.at(j)->name();
        paso.estado = estado->name().toUpper();
        m_escenarios->grabacion->agregar(paso);
    }
}

// A scenario's steps act on machines that have left reset; while recording,
// a row fired during the pause after a reset first takes the reset
// transitions, so that the recording and its replay agree.
void MainWindow::antesDeDisparar()
{
    if (grabando())
        tomarResetsPendientes();
}

void MainWindow::despuesDeDisparar(const QString &evento)
{
    if (!grabando())
        return;
    PasoEscenario paso;
    paso.tipo = PasoEscenario::Tipo::Evento;
    paso.evento = evento;
    m_escenarios->grabacion->agregar(paso);
    grabarEstados();
}

void MainWindow::despuesDePasoC(const QVector<bool> &verdaderos)
{
    if (!grabando())
        return;
    PasoEscenario paso;
    paso.tipo = PasoEscenario::Tipo::Evento;
    for (int i = 0; i < verdaderos.size() && i < m_simC->eventos().size(); ++i) {
        if (verdaderos.at(i))
            paso.eventos.append(m_simC->eventos().at(i));
    }
    m_escenarios->grabacion->agregar(paso);
    grabarEstados();
}

void MainWindow::despuesDeFijarVariable(int variable)
{
    if (!grabando())
        return;
    PasoEscenario paso;
    paso.tipo = PasoEscenario::Tipo::Variable;
    paso.variable = m_simC->variables().at(variable);
    paso.valor = QString::number(m_simC->valor(variable));
    m_escenarios->grabacion->agregar(paso);
}

void MainWindow::despuesDeReset()
{
    if (!grabando())
        return;
    PasoEscenario paso;
    paso.tipo = PasoEscenario::Tipo::Reset;
    m_escenarios->grabacion->agregar(paso);
    tomarResetsPendientes();
    grabarEstados();
}

void MainWindow::detenerGrabacion()
{
    if (!grabando())
        return;
    const std::unique_ptr<Escenario> grabacion = std::move(m_escenarios->grabacion);
    actualizarAccionesEscenario();
    const QString proyecto =
        m_datosXml ? m_datosXml->getContenidoGeneral(QStringLiteral("nombre")) : QString();
    const QString carpeta =
        m_datosXml ? m_datosXml->getContenidoGeneral(QStringLiteral("carpeta")) : QString();
    QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar escenario"),
        carpeta + QLatin1Char('/') + proyecto + QStringLiteral(".escenario"), kFiltro);
    if (ruta.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("Grabación descartada."), 5000);
        return;
    }
    if (!ruta.endsWith(QLatin1String(".escenario")))
        ruta += QStringLiteral(".escenario");
    const QByteArray encabezado = QStringLiteral("# Escenario grabado con Vireo sobre %1, %2\n")
                                      .arg(proyecto, XmlHandler::formatoFecha(QDateTime::currentDateTime()))
                                      .toUtf8();
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(encabezado + grabacion->texto()) < 0 ||
        !archivo.commit()) {
        QMessageBox::warning(this, QStringLiteral("Advertencia"),
                             QStringLiteral("No se pudo guardar el escenario en %1: %2")
                                 .arg(QDir::toNativeSeparators(ruta), archivo.errorString()));
        return;
    }
    statusBar()->showMessage(QStringLiteral("Escenario guardado en ") + QDir::toNativeSeparators(ruta), 5000);
}

void MainWindow::reproducirEscenario()
{
    if (m_uiMode != Simular || grabando() || reproduciendo())
        return;
    const QString carpeta = m_datosXml->getContenidoGeneral(QStringLiteral("carpeta"));
    const QString ruta =
        QFileDialog::getOpenFileName(this, QStringLiteral("Reproducir escenario"), carpeta, kFiltro);
    if (ruta.isEmpty())
        return;
    auto escenario = std::make_unique<Escenario>(Escenario::leer(ruta));
    if (!escenario->esValido()) {
        QMessageBox::warning(this, QStringLiteral("Advertencia"),
                             QStringLiteral("El escenario no se puede reproducir:\n") +
                                 escenario->errores().join(QLatin1Char('\n')));
        return;
    }
    // The simulation saved the project when it started and nothing can be
    // edited since, so the document holds what the diagrams show.
    const ::Proyecto proyecto = ::Proyecto::desdeDocumento(*m_datosXml);
    limpiarMarcasCobertura();
    m_escenarios->corrida = std::make_unique<CorridaEscenario>(*escenario, proyecto);
    m_escenarios->reproducido = std::move(escenario);
    m_panelEscenario->mostrar(*m_escenarios->reproducido);
    m_dockEscenario->show();
    m_dockEscenario->raise();
    // The window shows the scenario's semantics; changing it resets too.
    m_comboModoSim->setCurrentIndex(m_escenarios->reproducido->modo() == Escenario::Modo::C ? 1 : 0);
    resetearSimulacion();
    tomarResetsPendientes();
    m_escenarios->temporizador = new QTimer(this);
    m_escenarios->temporizador->setObjectName(QStringLiteral("timerReproduccion"));
    connect(m_escenarios->temporizador, &QTimer::timeout, this, &MainWindow::pasoReproduccion);
    m_escenarios->temporizador->start(T_REPRODUCCION_PASO);
    actualizarAccionesEscenario();
}

// Runs the steps up to and including the next one that moves the machines,
// so that each firing gets a tick of its own; checks show at once.
void MainWindow::pasoReproduccion()
{
    CorridaEscenario *corrida = m_escenarios->corrida.get();
    if (!corrida)
        return;
    const Escenario &escenario = *m_escenarios->reproducido;
    while (!corrida->terminada()) {
        const CorridaEscenario::Paso paso = corrida->avanzar();
        const PasoEscenario &pasoEscenario = escenario.pasos().at(paso.indice);
        if (paso.comprobacion) {
            const QString texto = paso.cumplido ? QStringLiteral("cumplido")
                                                : QStringLiteral("se esperaba %1, se encontró %2")
                                                      .arg(pasoEscenario.esperado(), paso.encontrado);
            m_panelEscenario->marcar(
                paso.indice, paso.cumplido ? PanelEscenario::Marca::Cumplido : PanelEscenario::Marca::Fallido,
                texto);
            continue;
        }
        m_panelEscenario->marcar(paso.indice, PanelEscenario::Marca::Hecho, QStringLiteral("hecho"));
        if (pasoEscenario.tipo == PasoEscenario::Tipo::Reset) {
            resetearSimulacion();
            tomarResetsPendientes();
            return;
        }
        if (pasoEscenario.tipo == PasoEscenario::Tipo::Variable) {
            const int variable = m_simC->indiceVariable(pasoEscenario.variable);
            if (variable >= 0)
                m_simC->fijarValor(variable, CorridaEscenario::valorC(pasoEscenario.valor, *m_simC));
            actualizarVariables();
            continue;
        }
        if (escenario.modo() == Escenario::Modo::Filas) {
            dispararEvento(pasoEscenario.evento);
        } else {
            QVector<bool> verdaderos(m_simC->eventos().size(), false);
            for (const QString &evento : pasoEscenario.eventos) {
                if (m_simC->indiceEvento(evento) >= 0)
                    verdaderos[m_simC->indiceEvento(evento)] = true;
            }
            darPasoC(verdaderos);
        }
        mostrarDisparos();
        return;
    }
    const ResultadoEscenario resultado = corrida->resultado();
    m_panelEscenario->setResumen(
        QStringLiteral("Comprobaciones cumplidas: %1 de %2. Estados visitados: %3 de %4. Transiciones "
                       "tomadas: %5 de %6%7")
            .arg(QString::number(resultado.pasosOk), QString::number(resultado.pasos),
                 QString::number(resultado.estadosCubiertos), QString::number(resultado.estados),
                 QString::number(resultado.transicionesCubiertas), QString::number(resultado.transiciones),
                 resultado.transicionesCubiertas < resultado.transiciones
                     ? QStringLiteral(" (las que faltan se marcan en naranja).")
                     : QStringLiteral(".")));
    for (const QVector<int> &t : corrida->transicionesSinTomar()) {
        Arrow *arrow = flechaDeTransicion(t.at(0), t.at(1), t.at(2));
        if (!arrow)
            continue;
        arrow->setColor(kColorSinTomar);
        arrow->update();
        m_escenarios->sinTomar.append(arrow);
    }
    terminarReproduccion();
}

void MainWindow::terminarReproduccion()
{
    if (!m_escenarios || !m_escenarios->corrida)
        return;
    // Called from the timer's own timeout at the end of a replay.
    m_escenarios->temporizador->deleteLater();
    m_escenarios->temporizador = nullptr;
    m_escenarios->corrida.reset();
    actualizarAccionesEscenario();
}

void MainWindow::limpiarMarcasCobertura()
{
    for (Arrow *arrow : qAsConst(m_escenarios->sinTomar)) {
        arrow->setColor(QColor());
        arrow->update();
    }
    m_escenarios->sinTomar.clear();
}
