#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "archivorecuperacion.h"
#include "decodificadortramas.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "filasdepuracion.h"
#include "fotomaquina.h"
#include "historialproyecto.h"
#include "pasomaquina.h"
#include "puertodepuracion.h"
#include "relevodepuracion.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPair>
#include <QTime>
#include <QVector>
#include <memory>

class Arrow;
class ClienteReportes;
class QAction;
class ServidorEventos;
class QActionGroup;
class SimulacionC;
class SimulacionFilas;
class QComboBox;
class QDockWidget;
class QGraphicsView;
class QLabel;
class QListWidget;
class QTableWidget;
class QTableWidgetItem;
class QThread;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QTreeWidgetItem;
class PanelEscenario;
class SubWindow;
class Verificacion;
class XmlHandler;
struct Maquina;

namespace Ui {
class MainWindow;
}

// The one window of Vireo. It owns the open project (the document and one
// scene per machine) and coordinates the commands; each concern lives in its
// own mainwindow_*.cpp file and hands the real work to classes that need no
// window.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum Mode { Editar, Simular, Verificar, Depurar };
    enum TreeItemType {
        Proyecto,
        Sistema,
        Eventos,
        Acciones,
        Variables,
        Constantes,
        Maquina,
        ItemEstado,
        ItemEvento,
        ItemAccion,
        ItemVariable,
        ItemConstante
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- Shell (mainwindow.cpp) ---
    void uiDisable();
    void uiEnable();
    void uiReset();
    void updateUi();
    // The window title without the name that a maximized machine window adds.
    QString tituloProyecto() const;
    // Marks the project as differing from its file even though no step says
    // so (a project whose first save failed).
    void marcarModificado();
    QMessageBox::StandardButton maybeSave();
    void readSettings();
    void saveSettings();
    XmlHandler *documento() const { return m_datosXml; }
    QList<DiagramScene *> sceneList() const { return m_sceneList; }
    // The project differs from the file last opened or saved.
    bool isModificado() const;
    Mode uiMode() const { return m_uiMode; }
    QString nombrePuerto() const { return portName; }
    qint32 velocidadPuerto() const { return m_velocidadPuerto; }
    // Shows "<machine>: No se encuentra definido el Estado Inicial" for the
    // first machine of the document without initial state; false then.
    bool verificarEstadosIniciales();

    // --- Machine windows and zoom (mainwindow_ventanas.cpp) ---
    // The window of a new machine; not shown when mostrar is false (opening
    // a project shows its windows together, with mostrarVentanas).
    SubWindow *initSubWindow(const QString &nombre, bool mostrar = true);
    void mostrarVentanas(const QList<QMdiSubWindow *> &ventanas);
    QGraphicsView *viewOf(DiagramScene *scene) const;
    // The view and the scene shown in a machine window; null for anything else.
    static QGraphicsView *viewOfWindow(QMdiSubWindow *window);
    static DiagramScene *sceneOfWindow(QMdiSubWindow *window);
    DiagramScene *activeScene() const;

    // --- Explorer (mainwindow_explorador.cpp) ---
    void initExploradorProyecto();
    void updateExploradorProyecto(TreeItemType tipo = Proyecto);
    void addItemProyecto(QTreeWidgetItem *padre, const QStringList &nombres, TreeItemType tipo,
                         const QString &icono);
    void addItemMaquina(QTreeWidgetItem *padre, const QString &nombreMaquina, const QStringList &estados,
                        const QString &icono);

    // --- Machines, states and the transitions table (mainwindow_edicion.cpp) ---
    QString getNameNuevaMaquina();
    QString getNameNuevoEstado();
    QString uniqueNameMaquina(const QString &nombre);
    QString uniqueNameEstado(const QString &nombre);
    // Upper-case state name -> machine name, over every machine but excepto
    // (the active one when null): the names a state of excepto may not take.
    QHash<QString, QString> estadosDeOtrasMaquinas(const DiagramScene *excepto = nullptr) const;
    int indexOfMaquina(const QString &nombre) const;
    int indexOfEstado(const QString &nombreMaquina, const QString &nombreEstado) const;
    void initTablaTransiciones();
    void updateTablaTransiciones(DiagramScene *scene);

    // --- Undo, redo and crash recovery (mainwindow_historial.cpp) ---
    // Call once after every completed user action that may have changed the
    // project: it becomes one undo step named texto ("Mover estado"), shown
    // as "Deshacer Mover estado". Nothing is recorded when the project is as
    // it was after the previous step.
    void registrarPaso(const QString &texto);
    const HistorialProyecto &historial() const { return m_historial; }
    // Offers, in one list, the recovery files that sessions ended without
    // removing: one can be recovered, any discarded, the rest kept for the
    // next start. Called once the window is shown.
    void ofrecerRecuperacion();
    // Writes the recovery file now, as the timer does 2 s after a step.
    void escribirRecuperacion();
    QString rutaRecuperacion() const { return m_recuperacion.ruta(); }

    // --- Project lifecycle (mainwindow_proyecto.cpp) ---
    // The save step: rebuilds the document's machines from the scenes and
    // writes the file. False (after warning the user) when it could not be
    // written; the project then stays marked as modified.
    bool guardarDatos();
    // Writes the machines drawn in the scenes into the document, as the save
    // step does, without touching the file. Only machines whose drawing
    // changed since they were last written are written again.
    void sincronizarDocumento();
    // Opens the project file at path as the open command does after its file
    // dialog; false when it could not be opened or parsed (already reported).
    bool abrirProyecto(const QString &path);
    // True when the open project may be dropped: there is none, the user
    // discarded its changes, or saved them. A failed save keeps it.
    bool descartarProyectoAbierto();

    // --- Simulation (mainwindow_simulacion.cpp) ---
    void initTablaSimulacion();
    QString AccionesDivididas(const QStringList &acciones) const;

    // --- Simulation link (mainwindow_enlace.cpp) ---
    void Analizar(const QString &eventoRecibido);

    // --- Serial debugging (mainwindow_depuracion.cpp) ---
    // Queues each machine's last step of those the relay has read since the
    // last panel tick (their frames are already sent) and returns the
    // panel's rows for them. mostrarDepuracion() takes them and shows them at
    // most once per tick, so a board sending thousands of lines a second
    // costs one wake-up and one repaint per tick: the diagrams show the last
    // step of each machine, the panel lists the steps (lines out of the model
    // in red).
    QVector<FilasDepuracion::Fila> aplicarPasosDepuracion(const QVector<RelevoDepuracion::Paso> &pasos);
    void mostrarDepuracion();
    // The two halves of a refresh, on alternate ticks: the machines' last
    // steps lit in the diagrams, the rows waiting added to the panel.
    void mostrarPasosDepuracion();
    bool hayPasosPorMostrar() const;
    void mostrarFilasDepuracion();

    // --- Scenarios (mainwindow_escenario.cpp) ---
    // While a simulation runs: "Grabar escenario" resets it and records every
    // row fired (and each machine's resulting state) until "Detener", which
    // asks where to save; "Reproducir escenario..." replays a file step by
    // step and lists each check as passed or failed.
    void grabarEscenario();
    void detenerGrabacion();
    void reproducirEscenario();
    bool grabando() const;
    bool reproduciendo() const;
    PanelEscenario *panelEscenario() const { return m_panelEscenario; }

    // --- Code generation (mainwindow_codigo.cpp) ---
    void generarSwitch();
    void generarPtrFunc();

    // --- Documentation (mainwindow_documentacion.cpp) ---
    void CrearDocumentacion();

    // --- Pictures (mainwindow_imagen.cpp) ---
    // "Exportar imagen...": the active machine as PNG or SVG.
    void exportarImagen();

    // --- Zoom and view (mainwindow_vista.cpp) ---
    static constexpr qreal ZOOM_MINIMO = 0.5;
    static constexpr qreal ZOOM_MAXIMO = 2.0;
    // Bounds of the zoom that fits a machine to its window.
    static constexpr qreal AJUSTE_MINIMO = 0.5;
    static constexpr qreal AJUSTE_MAXIMO = 1.0;
    // "Ajustar a la ventana" for one machine window; each window after a
    // project opens. A machine without states keeps its view.
    void ajustarAVentana(QMdiSubWindow *ventana);
    void ajustarVentanas();

    // --- Clipboard (mainwindow_portapapeles.cpp) ---
    // Copies the active machine's selected states with the transitions among
    // them; false when nothing was copied.
    bool copiarSeleccion();
    void cortarSeleccion();
    // Pastes the clipboard's states into the active machine, centred at
    // *donde, under the pointer, or beside the copy; selects what was pasted.
    void pegar(const QPointF *donde);
    void seleccionarTodo();

    // --- Keyboard and context menus (mainwindow_teclado.cpp) ---
    void moverSeleccion(const QPointF &paso);
    void renombrarEstado();

    // --- Desktop: recent projects, folders, kept view (mainwindow_escritorio.cpp) ---
    static constexpr int MAX_RECIENTES = 8;
    // Most recent first, absolute paths.
    QStringList proyectosRecientes() const;
    // Puts the project file first in "Proyectos recientes" and makes its
    // folder the one "Abrir Proyecto" starts in.
    void recordarProyecto(const QString &ruta);
    QString carpetaParaAbrir() const;

    // --- Import (mainwindow_importar.cpp) ---
    void ImportarArchivo();
    void ImportarProyecto();

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Shell
    void on_actionAcercaDe_triggered();
    void on_actionConfigurar_depuracion_triggered();

    // Machine windows and zoom
    void on_sceneScaleChanged(const QString &scale);

    // Explorer
    void on_treeWidgetProyecto_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidgetProyecto_customContextMenuRequested(const QPoint &pos);

    // Machines and states
    void on_actionNuevaMaquina_triggered();
    void on_actionEliminarMaquina_triggered();
    void on_actionSeleccionar_triggered();
    void on_actionNuevoEstado_triggered();
    void on_actionEstadoInicial_triggered();
    void on_actionNuevaTransicion_triggered();
    void on_actionEliminarElemento_triggered();
    void on_mdiArea_subWindowActivated(QMdiSubWindow *window);
    void on_itemInserted(DiagramItem *item);
    void on_arrowInserted(Arrow *arrow);
    void on_itemDoubleClicked(int index);
    void on_arrowDoubleClicked(Arrow *arrow);
    void on_gestureFinished(DiagramScene::Gesture gesture);

    // Undo and redo
    void deshacer();
    void rehacer();

    // Project lifecycle
    void on_actionNuevoProyecto_triggered();
    void on_actionAbrirProyecto_triggered();
    void on_actionGuardar_triggered();
    void on_actionGuardarComo_triggered();
    void on_actionCerrarProyecto_triggered();

    // Simulation
    void on_actionSimular_triggered();
    void updateSimulacion();
    void on_tableWidgetSimEventos_cellDoubleClicked(int row, int column);
    void on_actionTerminarSimulacion_triggered();

    // Serial debugging
    void on_actionDepurar_triggered();
    void on_actionTerminar_depuracion_triggered();

    // Verification
    void on_actionVerificar_triggered();
    void on_treeWidgetVerificar_itemDoubleClicked(QTreeWidgetItem *item, int column);

    // Code generation
    void on_actionGenerarCodigo_triggered();

    // Documentation
    void on_actionGenerarDocumentacion_triggered();

    // Import
    void on_actionDesde_archivo_triggered();
    void on_actionDesde_otro_proyecto_triggered();

private:
    // --- Shell ---
    Ui::MainWindow *ui;
    XmlHandler *m_datosXml = nullptr;
    QList<DiagramScene *> m_sceneList;
    Mode m_uiMode = Editar;
    bool m_resetDockVerificar = false;
    QMenu *m_itemMenu = nullptr;
    QActionGroup *m_pointerTypeGroup = nullptr;
    QComboBox *m_sceneScaleCombo = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QLabel *m_zoomLabelEnd = nullptr;
    QMenu *m_contextMenuExplorador = nullptr;
    QString portName;
    qint32 m_velocidadPuerto = PuertoDepuracion::VelocidadPorDefecto;
    void initZoom();
    void initHerramientas();
    void initMenus();
    void destruirEscenas();

    // --- Machine windows and zoom ---
    void mostrarZoom(QMdiSubWindow *window);

    // --- Explorer ---
    QTreeWidgetItem *grupoExplorador(TreeItemType tipo) const;
    void mostrarMaquina(const QString &nombre);

    // --- Undo, redo and crash recovery ---
    HistorialProyecto m_historial;
    ArchivoRecuperacion m_recuperacion;
    QTimer *m_temporizadorRecuperacion = nullptr;
    QAction *m_accionDeshacer = nullptr;
    QAction *m_accionRehacer = nullptr;
    void initHistorial();
    // A new, opened or closed project starts with an empty history.
    void reiniciarHistorial();
    // After a clean save: the file now holds the current state.
    void historialGuardado(const Instantanea &guardada);
    // Shows the history's state: the "*", the undo and redo entries, the
    // recovery file.
    void actualizarHistorial();
    // Puts the project back to the history's current state (a cancelled
    // editor whose changes were already drawn).
    void restaurarActual();
    // Shows destino, rebuilding only the scenes of the machines that differ
    // from what is shown; the others keep their items, selection and view.
    void restaurar(Instantanea destino);
    // Puts back destino's parts outside the machines (catalogue, general
    // data), keeping the file's own data of the open document; *cambia
    // tells whether that data differed. False if destino holds no project,
    // which Vireo's own states always do.
    bool restaurarPartesFijas(const Instantanea &destino, bool *cambia);
    // Puts the document alone back (a cancelled transition editor that had
    // declared or removed events, actions or variables).
    void restaurarCatalogo();
    // The project as a save would write it now, in the history's pieces.
    Instantanea instantanea();
    void recuperar(const ArchivoRecuperacion::Pendiente &pendiente);

    // --- Machines and states ---
    QString pedirNombre(const QString &titulo, const QString &inicial, const QString &icono, bool esMaquina);
    void deshabilitarEdicion();
    void activarVentanaDe(DiagramScene *scene);
    void editarTransicion(Arrow *arrow, bool nueva);
    void descartarFlecha(DiagramScene *scene, Arrow *arrow);
    QString textoEliminacion(const DiagramScene *scene) const;

    // --- Project lifecycle ---
    // Each machine as last written into the document by
    // sincronizarDocumento(): the drawing it was written from and its bytes.
    // Not vigente when the document's machine came from elsewhere (an undo)
    // and must be written again. Empty when the document's machines have
    // never been written (a document just opened).
    struct MaquinaEscrita
    {
        FotoMaquina foto;
        QByteArray bytes;
        bool vigente = false;
    };
    QVector<MaquinaEscrita> m_escritas;
    bool adoptarMaquinasLeidas();
    QString rutaProyecto() const;
    void avisarFalloGuardado();
    bool confirmarReemplazo(const QString &elegido, const QString &destino);
    void habilitarProyecto();
    void habilitarImportacion(bool habilitar);
    // Shows documento as the open project, closing the one open before.
    void mostrarDocumento(XmlHandler *documento, const QString &titulo);
    // Rebuilds every machine's diagram from the document: the one way the
    // scenes are made from a file, for opening and for undo alike. Scenes of
    // machines still in the document are reused with their windows, zoom and
    // scroll; the others are created or removed. Returns the references to
    // missing states that were skipped.
    // Machines k with conservar[k] already show what the document holds: their
    // scenes are kept as they are.
    QStringList construirEscenas(const QVector<bool> &conservar = {});
    void quitarEscena(DiagramScene *scene);
    void cargarEstados(DiagramScene *scene, const ::Maquina &maquina);
    QStringList cargarTransiciones(DiagramScene *scene, const ::Maquina &maquina);
    QString cargarEstadoInicial(DiagramScene *scene, const ::Maquina &maquina);
    void avisarOmitidos(const QStringList &omitidos);
    void cerrarDocumento();

    // --- Simulation ---
    QTimer *m_timer = nullptr;
    // The engine behind the simulation, one per semantics, built from the
    // saved project when the simulation starts; the window only shows it.
    // Shared pointers so that this header needs no engine (nor model) types.
    std::shared_ptr<SimulacionFilas> m_simFilas;
    std::shared_ptr<SimulacionC> m_simC;
    bool m_modoC = false;
    // What the diagrams and the panel show, per machine: the lit state and
    // arrow. A firing changes the engine and sends its report at once; the
    // display follows in mostrarDisparos(), once per burst of received
    // events, since only the last of them would ever be painted.
    QVector<int> m_idxMostrados;
    QVector<Arrow *> m_arrowsIluminadas;
    QVector<bool> m_disparoPendiente;
    // The steps whose actions the actions table is to show.
    QVector<PasoMaquina> m_pasosMostrar;
    bool m_accionesPendientes = false;
    QComboBox *m_comboModoSim = nullptr;
    QWidget *m_panelModoC = nullptr;
    QListWidget *m_listaEventosC = nullptr;
    QTableWidget *m_tablaVariables = nullptr;
    // Icons by resource name, loaded once: a QIcon made from a file decodes
    // the image again on every use. Keyed by the literal's address, so that
    // a lookup on every lit state builds no string.
    QHash<const char *, QIcon> m_iconosSimulacion;
    QIcon iconoSim(const char *nombre);
    void crearPanelModoC();
    void llenarPanelSimulacion();
    void llenarPanelModoC();
    void mostrarModoSimulacion();
    void cambiarModoSimulacion(int indice);
    void cambiarEntradaVer(QDockWidget *sale, QDockWidget *entra);
    void habilitarEdicion(bool habilitar);
    QTreeWidgetItem *entradaEstado(int maquina, int estado) const;
    DiagramItem *estadoMostrado(int maquina) const;
    Arrow *flechaDeTransicion(int maquina, int estado, int transicion) const;
    void tomarTransicionReset(int maquina);
    void resetearSimulacion();
    // The firing step shared by the event table and the link: every machine
    // in a real state takes its first transition on `evento` and reports it.
    void dispararEvento(const QString &evento);
    // One pass of the generated C with the given events true; every machine
    // that moved reports it.
    void darPasoC(const QVector<bool> &verdaderos);
    void pasoSimulacionC();
    QByteArray mostrarPasoSimulado(const PasoMaquina &paso);
    void mostrarDisparos();
    // Lights state `estado` of the machine as its current one, and `arrow`
    // (if any) as the transition taken; what was lit before goes off.
    void iluminar(int maquina, int estado, Arrow *arrow);
    void agregarAcciones(const QStringList &filas);
    // Heights of the actions table's rows by text, for the column width they
    // were measured at: laying the text out again on every step was most of
    // the cost of showing it.
    QHash<QString, int> m_altosAcciones;
    int m_anchoAltosAcciones = -1;
    void actualizarIconosEventos();
    void actualizarVariables();
    void variableEditada(QTableWidgetItem *item);

    // --- Serial debugging ---
    void initPanelDepuracion();
    void terminarDepuracion();
    void depuracionCerrada(const QString &motivo);
    // Runs `llamada` in the link's thread and waits for it.
    template<typename Llamada> void enHiloEnlace(Llamada llamada);
    RelevoDepuracion *m_relevoDepuracion = nullptr;
    QTimer *m_timerDepuracion = nullptr;
    FilasDepuracion *m_filasDepuracion = nullptr;
    // Waiting for the next panel tick: each machine's last step.
    QVector<QPair<Arrow *, int>> m_pasosPendientes;
    // Waiting for the panel's next turn: the latest rows, MaxFilas at most.
    QVector<FilasDepuracion::Fila> m_filasEnEspera;
    bool m_turnoPanelDepuracion = false;
    // The panel's clock: the time of day debugging started plus the time
    // since, so that a line costs no reading of the time zone.
    QTime m_horaInicioDepuracion;
    qint64 m_inicioDepuracion = 0;

    // --- Simulation link ---
    // The report link and the debug relay live in a thread of their own,
    // so that what the window draws never holds a frame back.
    void iniciarServidor();
    void terminarEnlace();
    // Sends frames (one, or several back to back) to the report peer, after
    // those sent before.
    void enviarTrama(const QByteArray &trama);
    void aplicarEventosRecibidos(const QStringList &eventos);
    // Applies a received event without updating the display; false when it
    // names no row of the event table (or no simulation runs).
    bool aplicarEventoRecibido(const QString &evento);
    QThread *m_hiloEnlace = nullptr;
    ClienteReportes *m_clienteReportes = nullptr;
    ServidorEventos *m_servidorEventos = nullptr;

    // --- Verification ---
    void anotarHallazgos(const Verificacion &verificacion);

    // --- Scenarios ---
    struct EstadoEscenarios;
    struct BorrarEscenarios
    {
        void operator()(EstadoEscenarios *estado) const;
    };
    std::unique_ptr<EstadoEscenarios, BorrarEscenarios> m_escenarios;
    QAction *m_actionGrabarEscenario = nullptr;
    QAction *m_actionDetenerGrabacion = nullptr;
    QAction *m_actionReproducirEscenario = nullptr;
    QDockWidget *m_dockEscenario = nullptr;
    PanelEscenario *m_panelEscenario = nullptr;
    void initEscenarios();
    void actualizarAccionesEscenario();
    // Hooks of the simulation: before and after a row is fired, after a reset.
    void antesDeDisparar();
    void despuesDeDisparar(const QString &evento);
    void despuesDeReset();
    void despuesDePasoC(const QVector<bool> &verdaderos);
    void despuesDeFijarVariable(int variable);
    void tomarResetsPendientes();
    void grabarEstados();
    void pasoReproduccion();
    void terminarReproduccion();
    void limpiarMarcasCobertura();

    // --- Code generation ---

    // --- Documentation ---
    QString escribirImagenes(const QString &carpeta, QList<QSizeF> *tamanos) const;

    // --- Pictures ---
    QAction *m_actionExportarImagen = nullptr;
    void initImagen();

    // --- Zoom and view ---
    QAction *m_actionAcercar = nullptr;
    QAction *m_actionAlejar = nullptr;
    QAction *m_actionZoom100 = nullptr;
    QAction *m_actionAjustar = nullptr;
    void initVista();
    void ordenarBarraDeHerramientas();
    void zoomPorPasos(int pasos);
    void zoomConRueda(SubWindow *window, int pasos, const QPoint &posicion);

    // --- Clipboard ---
    QAction *m_actionCopiar = nullptr;
    QAction *m_actionCortar = nullptr;
    QAction *m_actionPegar = nullptr;
    QAction *m_actionSeleccionarTodo = nullptr;
    int m_pegadosSeguidos = 0;
    void initPortapapeles();

    // --- Keyboard and context menus ---
    QAction *m_actionRenombrar = nullptr;
    QTimer *m_finDeMovimiento = nullptr;
    void initTeclado();
    // Records a pending burst of arrow-key moves as its one step.
    void completarMovimiento();
    DiagramItem *estadoSeleccionado() const;
    void cambiarColorEstado();
    void hacerEstadoInicial();
    void llenarMenuDeElemento();
    void menuEnVacio(DiagramScene *scene, const QPoint &global, const QPointF &enEscena);
    void nuevoEstadoEn(DiagramScene *scene, const QPointF &pos);

    // --- Desktop ---
    QMenu *m_menuRecientes = nullptr;
    void initEscritorio();
    void actualizarMenuRecientes();
    void abrirReciente(const QString &ruta);
    // Shows the transitions table unless the user hid it last time.
    void mostrarTablaSegunAjustes();

    // --- Import ---
    void terminarImportacion(int agregados);
};

#endif // MAINWINDOW_H
