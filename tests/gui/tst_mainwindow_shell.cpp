#include "mainwindow.h"
#include "modalscript.h"
#include "onnextmodal.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

namespace {

const QString kTitulo = QStringLiteral("Vireo | Alderhall");

// The window layout as stored under Vireo's settings.
bool stored(const char *key)
{
    return QSettings(QStringLiteral("Alderhall"), QStringLiteral("vireo")).contains(QLatin1String(key));
}

// Object names of a menu's or tool bar's entries; "|" for a separator,
// "menu:<name>" for a sub-menu.
QStringList entries(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions) {
        if (action->isSeparator())
            names << QStringLiteral("|");
        else if (action->menu())
            names << QStringLiteral("menu:") + action->menu()->objectName();
        else
            names << action->objectName();
    }
    return names;
}

bool sameImage(const QIcon &icon, const QString &path)
{
    const QImage expected = QIcon(path).pixmap(16, 16).toImage();
    return !expected.isNull() && icon.pixmap(16, 16).toImage() == expected;
}

} // namespace

class TestMainWindowShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void ventanaAlIniciar();
    void accionesDelFormulario_data();
    void accionesDelFormulario();
    void menusYBarraDeHerramientas();
    void selectorDeZoom();
    void habilitacion_data();
    void habilitacion();
    void panelesSinProyecto();
    void grupoDeHerramientasExclusivo();
    void unSoloAsterisco();
    void uiResetVuelveAlInicio();
    void preguntaAlCerrar_data();
    void preguntaAlCerrar();
    void cerrarSinProyectoGuardaLaDisposicion();
    void cerrarConCancelarNoGuardaNada();
    void cerrarConSiGuardaYCierra();
    void guardadoFallidoNoCierra();
    void laDisposicionSeRestaura();
    void ejemploSeAbre_data();
    void ejemploSeAbre();
    void acercaDe();
    void puertoDeDepuracion();

private:
    std::unique_ptr<MainWindow> m_window;
    QAction *action(const char *name) const { return m_window->findChild<QAction *>(QLatin1String(name)); }
    template<typename T> T *widget(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    QComboBox *zoomCombo() const;
    QString rutaDelProyecto() const;
    QLabel *zoomLabel() const;
};

void TestMainWindowShell::initTestCase()
{
    // Keeps the user's own layout out of reach: settings go to a test folder.
    QStandardPaths::setTestModeEnabled(true);
    const QSettings settings(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
    QVERIFY(settings.fileName().contains(QStringLiteral(".qttest")));
}

void TestMainWindowShell::init()
{
    QSettings settings(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
    settings.clear();
    settings.sync();
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindowShell::cleanup()
{
    m_window.reset();
}

QComboBox *TestMainWindowShell::zoomCombo() const
{
    return widget<QToolBar>("mainToolBar")->findChild<QComboBox *>();
}

QLabel *TestMainWindowShell::zoomLabel() const
{
    for (QLabel *label : widget<QToolBar>("mainToolBar")->findChildren<QLabel *>()) {
        if (label->text() == QLatin1String(" Zoom: "))
            return label;
    }
    return nullptr;
}

void TestMainWindowShell::ventanaAlIniciar()
{
    QCOMPARE(m_window->windowTitle(), kTitulo);
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("Listo."));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->size(), QSize(1366, 675));
    QVERIFY(!m_window->isModificado());
    QCOMPARE(m_window->uiMode(), MainWindow::Editar);
    QVERIFY(m_window->documento() == nullptr);
    QVERIFY(m_window->sceneList().isEmpty());
    QCOMPARE(widget<QTreeWidget>("treeWidgetProyecto")->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestMainWindowShell::accionesDelFormulario_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("enabledAtStart");

    // Without a tool tip of its own an action shows its text, less any "...".
    auto row = [](const char *name, const char *text, const char *tip, const char *shortcut, const char *icon,
                  bool checkable, bool enabled) {
        const QString t = QString::fromUtf8(text);
        const QString ownTip = tip ? QString::fromUtf8(tip) : QString(t).remove(QStringLiteral("..."));
        QTest::newRow(name) << t << ownTip << QString::fromUtf8(shortcut) << QString::fromUtf8(icon)
                            << checkable << enabled;
    };
    row("actionNuevoProyecto", "Nuevo Proyecto", "Nuevo Proyecto", "Ctrl+N", ":/img/img/folder_add.png",
        false, true);
    row("actionAbrirProyecto", "Abrir Proyecto", "Abrir Proyecto", "Ctrl+O", ":/img/img/folder.png", false,
        true);
    row("actionGuardar", "Guardar", "Guardar", "Ctrl+S", ":/img/img/disk.png", false, false);
    row("actionGuardarComo", "Guardar Como...", "Guardar Como...", "", ":/img/img/save as.png", false, false);
    row("actionCerrarProyecto", "Cerrar Proyecto", nullptr, "", ":/img/img/folder_delete.png", false, false);
    row("actionSalir", "Salir", nullptr, "Ctrl+Q", ":/img/img/door.png", false, true);
    row("actionDesde_archivo", "Desde archivo", nullptr, "", "", false, false);
    row("actionDesde_otro_proyecto", "Desde otro proyecto", nullptr, "", "", false, false);
    row("actionNuevaMaquina", "Nueva Máquina", "Nueva Máquina de Estados", "",
        ":/img/img/application_add.png", false, false);
    row("actionEliminarMaquina", "Eliminar Máquina", nullptr, "", ":/img/img/application_delete.png", false,
        false);
    row("actionSeleccionar", "Seleccionar", "Seleccionar", "Esc", ":/img/img/cursor.png", true, false);
    row("actionNuevoEstado", "Nuevo Estado", nullptr, "", ":/img/img/add_box.png", true, false);
    row("actionNuevaTransicion", "Nueva Transición", "Nueva Transición", "", ":/img/img/add_transition.png",
        true, false);
    row("actionEstadoInicial", "Estado Inicial", nullptr, "", ":/img/img/bullet_blue.png", true, false);
    row("actionEliminarElemento", "Eliminar Elemento", "Eliminar Elemento", "Del", ":/img/img/cross.png",
        false, false);
    row("actionSimular", "Simular", "Iniciar Simulación", "", ":/img/img/control_play_blue.png", true, false);
    row("actionTerminarSimulacion", "Terminar", "Terminar Simulación", "", ":/img/img/control_stop_blue.png",
        false, false);
    row("actionVerificar", "Verificar", nullptr, "", ":/img/img/check box.png", false, false);
    row("actionGenerarCodigo", "Generar Código", nullptr, "Ctrl+G", ":/img/img/source_code.png", false,
        false);
    row("actionGenerarDocumentacion", "Documentar", "Generar Documentación del Proyecto", "",
        ":/img/img/report.png", false, false);
    row("actionConfigurar_depuracion", "Configurar depuracion", nullptr, "", "", false, true);
    row("actionDepurar", "Depurar", nullptr, "", "", false, true);
    row("actionTerminar_depuracion", "Terminar depuracion", nullptr, "", "", false, true);
    row("actionMosaico", "Mosaico", nullptr, "", ":/img/img/application tile horizontal.png", false, false);
    row("actionCascada", "Cascada", nullptr, "", ":/img/img/application cascade.png", false, false);
    row("actionAcercaDe", "Acerca de Vireo...", nullptr, "", ":/img/img/information.png", false, true);
    row("actionSubir_modelo", "Subir modelo", nullptr, "", ":/img/img/arrow_up.png", false, false);
    row("actionActualizar_modelo", "Actualizar modelo", nullptr, "", ":/img/img/arrow_down.png", false,
        false);
}

void TestMainWindowShell::accionesDelFormulario()
{
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(QString, icon);
    QFETCH(bool, checkable);
    QFETCH(bool, enabledAtStart);

    const QAction *a = action(QTest::currentDataTag());
    QVERIFY(a);
    QCOMPARE(a->text(), text);
    QCOMPARE(a->toolTip(), toolTip);
    QCOMPARE(a->shortcut(), QKeySequence(shortcut));
    QCOMPARE(a->isCheckable(), checkable);
    QVERIFY(!a->isChecked());
    QCOMPARE(a->isEnabled(), enabledAtStart);
    if (icon.isEmpty())
        QVERIFY(a->icon().isNull());
    else
        QVERIFY2(sameImage(a->icon(), icon), qPrintable(icon));
}

void TestMainWindowShell::menusYBarraDeHerramientas()
{
    QCOMPARE(entries(m_window->menuBar()->actions()),
             QStringList({"menu:menu_Archivo", "menu:menu_Editar", "menu:menu_Herramientas",
                          "menu:menuGenerar", "menu:menu_Ver", "menu:menuAyuda"}));
    QCOMPARE(widget<QMenu>("menu_Archivo")->title(), QStringLiteral("&Archivo"));
    QCOMPARE(widget<QMenu>("menu_Editar")->title(), QStringLiteral("&Editar"));
    QCOMPARE(widget<QMenu>("menu_Herramientas")->title(), QStringLiteral("&Herramientas"));
    QCOMPARE(widget<QMenu>("menuGenerar")->title(), QStringLiteral("Generar"));
    QCOMPARE(widget<QMenu>("menu_Ver")->title(), QStringLiteral("&Ver"));
    QCOMPARE(widget<QMenu>("menuAyuda")->title(), QStringLiteral("Ayuda"));
    QCOMPARE(widget<QMenu>("menuImportar_recursos")->title(), QStringLiteral("Importar recursos"));

    QCOMPARE(entries(widget<QMenu>("menu_Archivo")->actions()),
             QStringList({"actionNuevoProyecto", "actionAbrirProyecto", "menu:menuProyectosRecientes", "|",
                          "actionGuardar", "actionGuardarComo", "|", "actionExportarImagen",
                          "menu:menuImportar_recursos", "actionCerrarProyecto", "|", "actionSalir"}));
    QCOMPARE(entries(widget<QMenu>("menu_Editar")->actions()),
             QStringList({"actionDeshacer", "actionRehacer", "|", "actionCortar", "actionCopiar",
                          "actionPegar", "|", "actionSeleccionarTodo"}));
    QCOMPARE(entries(widget<QMenu>("menuImportar_recursos")->actions()),
             QStringList({"actionDesde_archivo", "actionDesde_otro_proyecto"}));
    QCOMPARE(entries(widget<QMenu>("menu_Herramientas")->actions()),
             QStringList({"actionNuevoEstado", "actionNuevaTransicion", "actionEstadoInicial",
                          "actionEliminarElemento", "|", "actionNuevaMaquina", "actionEliminarMaquina", "|",
                          "actionSimular", "actionTerminarSimulacion", "actionGrabarEscenario",
                          "actionDetenerGrabacion", "actionReproducirEscenario", "|", "actionVerificar", "|",
                          "actionConfigurar_depuracion", "actionDepurar", "actionTerminar_depuracion"}));
    QCOMPARE(entries(widget<QMenu>("menuGenerar")->actions()),
             QStringList({"actionGenerarCodigo", "actionGenerarDocumentacion"}));
    QCOMPARE(entries(widget<QMenu>("menuAyuda")->actions()), QStringList({"actionAcercaDe"}));

    const QList<QAction *> ver = widget<QMenu>("menu_Ver")->actions();
    QCOMPARE(ver.size(), 10);
    QCOMPARE(entries(ver.mid(0, 8)),
             QStringList({"actionAcercar", "actionAlejar", "actionZoom100", "actionAjustarVentana", "|",
                          "actionMosaico", "actionCascada", "|"}));
    QCOMPARE(ver.at(8), widget<QDockWidget>("dockWidgetProyecto")->toggleViewAction());
    QCOMPARE(ver.at(9), widget<QDockWidget>("dockWidgetTransiciones")->toggleViewAction());

    const QToolBar *barra = widget<QToolBar>("mainToolBar");
    QCOMPARE(barra->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(m_window->toolBarArea(const_cast<QToolBar *>(barra)), Qt::TopToolBarArea);
    const QList<QAction *> botones = barra->actions();
    QCOMPARE(entries(botones.mid(0, 25)), QStringList({"actionNuevoProyecto",
                                                       "actionAbrirProyecto",
                                                       "actionGuardar",
                                                       "|",
                                                       "actionDeshacer",
                                                       "actionRehacer",
                                                       "|",
                                                       "actionNuevaMaquina",
                                                       "|",
                                                       "actionSeleccionar",
                                                       "actionNuevoEstado",
                                                       "actionNuevaTransicion",
                                                       "actionEstadoInicial",
                                                       "|",
                                                       "actionSimular",
                                                       "actionTerminarSimulacion",
                                                       "actionGrabarEscenario",
                                                       "actionDetenerGrabacion",
                                                       "actionReproducirEscenario",
                                                       "|",
                                                       "actionVerificar",
                                                       "|",
                                                       "actionGenerarCodigo",
                                                       "actionGenerarDocumentacion",
                                                       "|"}));
    // The zoom comes before the entries that are never enabled, so that it
    // shows at 1366 px (see ordenarBarraDeHerramientas).
    QCOMPARE(botones.size(), 32);
    QCOMPARE(qobject_cast<QLabel *>(barra->widgetForAction(botones.at(25)))->text(),
             QStringLiteral(" Zoom: "));
    QVERIFY(qobject_cast<QComboBox *>(barra->widgetForAction(botones.at(26))));
    QCOMPARE(entries(botones.mid(27, 1)), QStringList("actionAjustarVentana"));
    QCOMPARE(qobject_cast<QLabel *>(barra->widgetForAction(botones.at(28)))->text(), QStringLiteral("  "));
    QCOMPARE(entries(botones.mid(29)), QStringList({"|", "actionSubir_modelo", "actionActualizar_modelo"}));

    for (const char *name : {"dockWidgetProyecto", "dockWidgetSimulacion", "dockWidgetVerificar"}) {
        QDockWidget *dock = widget<QDockWidget>(name);
        QCOMPARE(m_window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
        QCOMPARE(dock->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    }
    QCOMPARE(widget<QDockWidget>("dockWidgetSimulacion")->features(), QDockWidget::DockWidgetMovable);
    QCOMPARE(widget<QDockWidget>("dockWidgetProyecto")->windowTitle(),
             QStringLiteral("Explorador de Proyecto"));
    QCOMPARE(widget<QDockWidget>("dockWidgetSimulacion")->windowTitle(), QStringLiteral("Simulación"));
    QCOMPARE(widget<QDockWidget>("dockWidgetVerificar")->windowTitle(), QStringLiteral("Verificación"));
}

void TestMainWindowShell::selectorDeZoom()
{
    QComboBox *combo = zoomCombo();
    QVERIFY(combo);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, QStringList({"50%", "75%", "100%", "125%", "150%", "200%"}));
    QCOMPARE(combo->currentIndex(), 2);
    QVERIFY(zoomLabel());
}

// Which actions each step leaves enabled: at start (and after uiDisable),
// and after uiEnable, for a project with at least one machine.
void TestMainWindowShell::habilitacion_data()
{
    QTest::addColumn<bool>("afterEnable");
    const char *enabledByUiEnable[] = {
        "actionGenerarCodigo",   "actionGenerarDocumentacion", "actionSimular",
        "actionVerificar",       "actionSeleccionar",          "actionNuevoEstado",
        "actionNuevaTransicion", "actionEstadoInicial",        "actionMosaico",
        "actionCascada",         "actionEliminarElemento",     "actionEliminarMaquina"};
    const char *untouched[] = {"actionNuevaMaquina",        "actionGuardar",
                               "actionGuardarComo",         "actionCerrarProyecto",
                               "actionTerminarSimulacion",  "actionDesde_archivo",
                               "actionDesde_otro_proyecto", "actionSubir_modelo",
                               "actionActualizar_modelo"};
    for (const char *name : enabledByUiEnable)
        QTest::newRow(name) << true;
    for (const char *name : untouched)
        QTest::newRow(name) << false;
}

void TestMainWindowShell::habilitacion()
{
    QFETCH(bool, afterEnable);
    QAction *a = action(QTest::currentDataTag());
    QVERIFY(a);
    QVERIFY(!a->isEnabled());
    m_window->uiEnable();
    QCOMPARE(a->isEnabled(), afterEnable);
    m_window->uiDisable();
    QVERIFY(!a->isEnabled());
    for (const char *always : {"actionNuevoProyecto", "actionAbrirProyecto", "actionSalir", "actionAcercaDe",
                               "actionConfigurar_depuracion", "actionDepurar", "actionTerminar_depuracion"})
        QVERIFY2(action(always)->isEnabled(), always);
}

void TestMainWindowShell::panelesSinProyecto()
{
    auto *explorador = widget<QDockWidget>("dockWidgetProyecto");
    auto *transiciones = widget<QDockWidget>("dockWidgetTransiciones");
    auto *verificar = widget<QDockWidget>("dockWidgetVerificar");
    auto *simulacion = widget<QDockWidget>("dockWidgetSimulacion");
    auto *importar = widget<QMenu>("menuImportar_recursos");

    auto comprobarSinProyecto = [&]() {
        QVERIFY(explorador->isVisible());
        QVERIFY(!explorador->isEnabled());
        QCOMPARE(widget<QTreeWidget>("treeWidgetProyecto")->topLevelItemCount(), 0);
        QVERIFY(!transiciones->isVisible());
        QVERIFY(!transiciones->isEnabled());
        QCOMPARE(transiciones->windowTitle(), QStringLiteral("Tabla de Estados y Transiciones"));
        QCOMPARE(widget<QTableWidget>("tableWidgetTransiciones")->rowCount(), 0);
        QVERIFY(!verificar->isVisible());
        QVERIFY(!verificar->isEnabled());
        QVERIFY(!simulacion->isVisible());
        QVERIFY(!widget<QMdiArea>("mdiArea")->isEnabled());
        QVERIFY(!importar->isEnabled());
        QVERIFY(!importar->menuAction()->isEnabled());
        QVERIFY(!zoomCombo()->isEnabled());
        QVERIFY(!zoomLabel()->isEnabled());
    };
    comprobarSinProyecto();

    transiciones->setWindowTitle(QStringLiteral("MdE1"));
    widget<QTableWidget>("tableWidgetTransiciones")->setRowCount(3);
    transiciones->show();
    verificar->setEnabled(true);
    verificar->show();
    simulacion->show();
    m_window->uiEnable();
    QVERIFY(transiciones->isEnabled());
    QVERIFY(zoomCombo()->isEnabled());
    QVERIFY(zoomLabel()->isEnabled());
    QVERIFY(action("actionSeleccionar")->isChecked());
    m_window->uiDisable();
    comprobarSinProyecto();
}

void TestMainWindowShell::grupoDeHerramientasExclusivo()
{
    m_window->uiEnable();
    const QStringList modos = {"actionSeleccionar", "actionNuevoEstado", "actionNuevaTransicion",
                               "actionEstadoInicial"};
    for (const QString &elegido : modos) {
        // setChecked rather than trigger: only the group's rule is under test.
        action(qPrintable(elegido))->setChecked(true);
        for (const QString &otro : modos)
            QCOMPARE(action(qPrintable(otro))->isChecked(), otro == elegido);
    }
}

void TestMainWindowShell::unSoloAsterisco()
{
    m_window->setWindowTitle(kTitulo + QStringLiteral(" - demo.vro"));
    m_window->updateUi();
    m_window->updateUi();
    QCOMPARE(m_window->windowTitle(), kTitulo + QStringLiteral(" - demo.vro*"));
    m_window->marcarModificado();
    QVERIFY(m_window->isModificado());
    QCOMPARE(m_window->windowTitle(), kTitulo + QStringLiteral(" - demo.vro*"));
}

void TestMainWindowShell::uiResetVuelveAlInicio()
{
    m_window->setWindowTitle(kTitulo + QStringLiteral(" - demo"));
    m_window->marcarModificado();
    m_window->uiEnable();
    m_window->uiReset();
    QCOMPARE(m_window->windowTitle(), kTitulo);
    QVERIFY(!m_window->isModificado());
    QVERIFY(m_window->sceneList().isEmpty());
    QVERIFY(!action("actionGenerarCodigo")->isEnabled());
    QVERIFY(widget<QMdiArea>("mdiArea")->subWindowList().isEmpty());
}

void TestMainWindowShell::preguntaAlCerrar_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("expected");
    QTest::newRow("Si") << "Si" << int(QMessageBox::Save);
    QTest::newRow("No") << "No" << int(QMessageBox::Discard);
    QTest::newRow("Cancelar") << "Cancelar" << int(QMessageBox::Cancel);
    QTest::newRow("Escape") << "Escape" << int(QMessageBox::Cancel);
}

void TestMainWindowShell::preguntaAlCerrar()
{
    QFETCH(QString, answer);
    QFETCH(int, expected);

    QCOMPARE(m_window->maybeSave(), QMessageBox::Discard); // nothing to ask without changes
    m_window->marcarModificado();
    QString title, text;
    QStringList buttons;
    QList<QMessageBox::ButtonRole> roles;
    TestSupport::onNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        QVERIFY(box->icon() == QMessageBox::Warning);
        for (QAbstractButton *b : box->buttons()) {
            buttons << b->text();
            roles << box->buttonRole(b);
        }
        if (answer == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == answer)
                b->click();
        }
    });
    QCOMPARE(int(m_window->maybeSave()), expected);
    QCOMPARE(title, QStringLiteral("Vireo"));
    QCOMPARE(text,
             QStringLiteral("El proyecto fue modificado.\n ¿Desea guardar los cambios antes de cerrarlo?"));
    QCOMPARE(buttons.size(), 3);
    QVERIFY(buttons.contains(QStringLiteral("No")));
    QCOMPARE(roles.at(buttons.indexOf(QStringLiteral("No"))), QMessageBox::DestructiveRole);
    QCOMPARE(roles.at(buttons.indexOf(QStringLiteral("Si"))), QMessageBox::AcceptRole);
    QCOMPARE(roles.at(buttons.indexOf(QStringLiteral("Cancelar"))), QMessageBox::RejectRole);
}

void TestMainWindowShell::cerrarSinProyectoGuardaLaDisposicion()
{
    QVERIFY(m_window->close());
    QVERIFY(stored("geometry"));
    QVERIFY(stored("windowState"));
}

void TestMainWindowShell::cerrarConCancelarNoGuardaNada()
{
    m_window->marcarModificado();
    bool asked = false;
    TestSupport::onNextModal([&](QWidget *modal) {
        asked = true;
        for (QAbstractButton *b : qobject_cast<QMessageBox *>(modal)->buttons()) {
            if (b->text() == QLatin1String("Cancelar"))
                b->click();
        }
    });
    QVERIFY(!m_window->close());
    QVERIFY(asked);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isModificado());
    QVERIFY(!stored("geometry"));
    QVERIFY(!stored("windowState"));
}

void TestMainWindowShell::cerrarConSiGuardaYCierra()
{
    QTemporaryDir carpeta;
    QVERIFY(ProyectoPrueba::crear(*m_window, carpeta.path(), QStringLiteral("demo")));
    ProyectoPrueba::maquina(*m_window, QStringLiteral("MdE1"));
    m_window->marcarModificado();
    const QString archivo = rutaDelProyecto();
    QVERIFY(!TestSupport::readFile(archivo).contains("MdE1"));

    ModalScript script;
    script.thenClick(QStringLiteral("Si"));
    QVERIFY(m_window->close());
    QCOMPARE(script.pendientes(), 0);
    QVERIFY(TestSupport::readFile(archivo).contains("MdE1"));
    QVERIFY(stored("geometry"));
}

// When the project cannot be written, answering "Si" must not close the
// window: the changes would be lost.
void TestMainWindowShell::guardadoFallidoNoCierra()
{
    QTemporaryDir carpeta;
    QVERIFY(ProyectoPrueba::crear(*m_window, carpeta.path(), QStringLiteral("demo")));
    ProyectoPrueba::maquina(*m_window, QStringLiteral("MdE1"));
    m_window->marcarModificado();
    // A folder where the project file should be makes every write fail, even for root.
    const QString archivo = rutaDelProyecto();
    QVERIFY(QFile::remove(archivo));
    QVERIFY(QDir().mkdir(archivo));

    ModalScript script;
    script.thenClick(QStringLiteral("Si")).thenDismiss();
    QVERIFY(!m_window->close());
    QCOMPARE(script.pendientes(), 0);
    QCOMPARE(script.titulos().value(1), QStringLiteral("Error al Guardar Proyecto"));
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isModificado());
    QVERIFY(m_window->tituloProyecto().endsWith(QLatin1Char('*')));
    QCOMPARE(m_window->sceneList().size(), 1);
    QVERIFY(!stored("geometry"));
}

QString TestMainWindowShell::rutaDelProyecto() const
{
    const XmlHandler *documento = m_window->documento();
    return documento->getContenidoGeneral(QStringLiteral("carpeta")) + QLatin1Char('/') +
           documento->getContenidoGeneral(QStringLiteral("nombre")) + QStringLiteral(".vro");
}

void TestMainWindowShell::laDisposicionSeRestaura()
{
    m_window->resize(900, 500);
    widget<QDockWidget>("dockWidgetProyecto")->hide();
    QVERIFY(m_window->close());
    m_window = std::make_unique<MainWindow>();
    QCOMPARE(m_window->size(), QSize(900, 500));
    // The explorer is shown at every start, whatever the stored layout says.
    m_window->show();
    QVERIFY(widget<QDockWidget>("dockWidgetProyecto")->isVisible());
}

// The projects shipped in examples/ must keep opening complete.
void TestMainWindowShell::ejemploSeAbre_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator it(QStringLiteral(VIREO_SOURCE_DIR "/examples"), {QStringLiteral("*.vro")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
}

void TestMainWindowShell::ejemploSeAbre()
{
    QFETCH(QString, path);
    ModalScript script;
    script.then(ModalScript::descartar());
    QVERIFY(m_window->abrirProyecto(path));
    QVERIFY2(script.textos().isEmpty(), qPrintable(script.textos().join(QLatin1Char('\n'))));
    // A maximized machine window adds its own name in brackets to the title.
    QVERIFY(m_window->windowTitle().startsWith(kTitulo + QStringLiteral(" - ") +
                                               QFileInfo(path).completeBaseName()));
    QCOMPARE(m_window->documento()->getContenidoGeneral(QStringLiteral("nombre")),
             QFileInfo(path).completeBaseName());
    QVERIFY(!m_window->sceneList().isEmpty());
    QVERIFY(m_window->verificarEstadosIniciales());
    QVERIFY(action("actionGenerarCodigo")->isEnabled());
}

void TestMainWindowShell::acercaDe()
{
    QString title, text;
    TestSupport::onNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    action("actionAcercaDe")->trigger();
    QCOMPARE(title, QStringLiteral("Acerca de Vireo | Alderhall"));
    QVERIFY(text.contains(QStringLiteral("Silk")));
    QVERIFY(text.contains(QStringLiteral("Mark James")));
    QVERIFY(text.contains(QStringLiteral("Contacto")));
}

void TestMainWindowShell::puertoDeDepuracion()
{
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    const QString first = ports.isEmpty() ? QString() : ports.first().portName();

    QString title;
    TestSupport::onNextModal([&](QWidget *modal) {
        title = modal->windowTitle();
        modal->findChild<QPushButton *>(QStringLiteral("pushButtonConectar"))->click();
    });
    action("actionConfigurar_depuracion")->trigger();
    QCOMPARE(title, QStringLiteral("Proceso de depuración"));
    QCOMPARE(m_window->nombrePuerto(), first);

    // Cancelling keeps the previous choice.
    TestSupport::onNextModal([](QWidget *modal) {
        modal->findChild<QPushButton *>(QStringLiteral("pushButtonCancelar"))->click();
    });
    action("actionConfigurar_depuracion")->trigger();
    QCOMPARE(m_window->nombrePuerto(), first);
}

QTEST_MAIN(TestMainWindowShell)
#include "tst_mainwindow_shell.moc"
