// The main window as it starts: its commands, menus, tool bar and panels
// (compared with tests/data/ventana/disposicion.txt), what it asks before
// closing, and the layout it keeps between sessions.
#include "estilovireo.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDirIterator>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

namespace {

const QString kTitulo = QStringLiteral("Vireo | Alderhall");

bool guardado(const char *clave)
{
    return QSettings(QStringLiteral("Alderhall"), QStringLiteral("vireo")).contains(QLatin1String(clave));
}

// The resource file under :/img/img/ that the icon shows, "-" for none.
QString icono(const QIcon &icon)
{
    if (icon.isNull())
        return QStringLiteral("-");
    const QImage imagen = icon.pixmap(16, 16).toImage();
    for (QDirIterator it(QStringLiteral(":/img/img")); it.hasNext();) {
        const QString ruta = it.next();
        if (QIcon(ruta).pixmap(16, 16).toImage() == imagen)
            return QFileInfo(ruta).fileName();
    }
    return QStringLiteral("?");
}

// A menu's or tool bar's entries: object names, "|" for separators, the
// sub-menus, the docks' toggles, and the widgets of the tool bar.
QString entradas(const QWidget *contenedor)
{
    QStringList l;
    for (QAction *a : contenedor->actions()) {
        const auto *barra = qobject_cast<const QToolBar *>(contenedor);
        QWidget *w = barra ? barra->widgetForAction(a) : nullptr;
        if (auto *etiqueta = qobject_cast<QLabel *>(w)) {
            l << QLatin1Char('"') + etiqueta->text() + QLatin1Char('"');
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << (i == combo->currentIndex() ? QLatin1Char('*') : QChar()) + combo->itemText(i);
            l << QStringLiteral("zoom(") + items.join(QLatin1Char(',')).remove(QChar()) + QLatin1Char(')');
        } else if (a->isSeparator()) {
            l << QStringLiteral("|");
        } else if (a->menu()) {
            l << QStringLiteral("menu:") + a->menu()->objectName();
        } else if (auto *dock = qobject_cast<QDockWidget *>(a->parent())) {
            l << QStringLiteral("dock:") + dock->objectName();
        } else {
            l << a->objectName();
        }
    }
    return l.join(QLatin1Char(' '));
}

} // namespace

class TestMainWindowShell : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void disposicion();
    void panelesSinProyecto();
    void titulo();
    void cerrar_data();
    void cerrar();
    void laDisposicionSeRestaura();
    void acercaDe();
    void iconosDelEstilo_data();
    void iconosDelEstilo();

private:
    QAction *accion(const char *nombre) const { return m_w->findChild<QAction *>(QLatin1String(nombre)); }
    template<typename T> T *hijo(const char *nombre) const
    {
        return m_w->findChild<T *>(QLatin1String(nombre));
    }
    QWidget *zoom() const { return hijo<QToolBar>("mainToolBar")->findChild<QComboBox *>(); }

    std::unique_ptr<MainWindow> m_w;
};

void TestMainWindowShell::init()
{
    QSettings settings(QStringLiteral("Alderhall"), QStringLiteral("vireo"));
    settings.clear();
    settings.sync();
    m_w = std::make_unique<MainWindow>();
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void TestMainWindowShell::cleanup()
{
    m_w.reset();
}

// Every command with its text, tool tip, shortcuts, icon, whether it is
// checkable, and whether it is enabled at start, once a project with
// machines is shown (uiEnable) and after uiDisable; then the menus, the tool
// bar and the docks.
void TestMainWindowShell::disposicion()
{
    QCOMPARE(m_w->windowTitle(), kTitulo);
    QCOMPARE(m_w->statusBar()->currentMessage(), QStringLiteral("Listo."));
    QVERIFY(!m_w->windowIcon().isNull());
    QCOMPARE(m_w->size(), QSize(1366, 675));
    QCOMPARE(m_w->uiMode(), MainWindow::Editar);
    QVERIFY(!m_w->isModificado() && !m_w->documento() && m_w->sceneList().isEmpty());

    const QByteArray esperado =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("ventana/disposicion.txt")));
    QList<QAction *> acciones;
    for (const QByteArray &linea : esperado.split('\n')) {
        if (linea.startsWith("action"))
            acciones << accion(linea.split(' ').first().constData());
    }
    QMap<QAction *, QString> habilitada;
    for (QAction *a : acciones)
        QVERIFY(a && !a->isChecked());
    for (int paso = 0; paso < 3; ++paso) {
        if (paso == 1)
            m_w->uiEnable();
        if (paso == 2)
            m_w->uiDisable();
        for (QAction *a : acciones)
            habilitada[a] += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    }
    QStringList lineas;
    for (QAction *a : acciones) {
        lineas << QStringLiteral("%1 «%2» «%3» «%4» %5 %6 %7")
                      .arg(a->objectName(), a->text(), a->toolTip(),
                           QKeySequence::listToString(a->shortcuts()), icono(a->icon()),
                           a->isCheckable() ? QStringLiteral("marcable") : QStringLiteral("-"),
                           habilitada.value(a));
    }
    lineas << QStringLiteral("menuBar: ") + entradas(m_w->menuBar());
    for (QMenu *menu : m_w->findChildren<QMenu *>()) {
        if (!menu->objectName().isEmpty())
            lineas << QStringLiteral("%1 «%2»: %3").arg(menu->objectName(), menu->title(), entradas(menu));
    }
    auto *barra = hijo<QToolBar>("mainToolBar");
    lineas << QStringLiteral("mainToolBar %1 %2: %3")
                  .arg(int(m_w->toolBarArea(barra)))
                  .arg(int(barra->toolButtonStyle()))
                  .arg(entradas(barra));
    for (QDockWidget *dock : m_w->findChildren<QDockWidget *>()) {
        lineas << QStringLiteral("%1 «%2» %3 %4 %5")
                      .arg(dock->objectName(), dock->windowTitle())
                      .arg(int(m_w->dockWidgetArea(dock)))
                      .arg(int(dock->allowedAreas()))
                      .arg(int(dock->features()));
    }
    const QByteArray obtenido = lineas.join(QLatin1Char('\n')).toUtf8() + '\n';
    QVERIFY2(obtenido == esperado, qPrintable(TestSupport::diffReport(esperado, obtenido)));
}

void TestMainWindowShell::panelesSinProyecto()
{
    auto *transiciones = hijo<QDockWidget>("dockWidgetTransiciones");
    auto *verificar = hijo<QDockWidget>("dockWidgetVerificar");
    auto *simulacion = hijo<QDockWidget>("dockWidgetSimulacion");
    auto comprobar = [&]() {
        QVERIFY(hijo<QDockWidget>("dockWidgetProyecto")->isVisible());
        QVERIFY(!hijo<QDockWidget>("dockWidgetProyecto")->isEnabled());
        QCOMPARE(hijo<QTreeWidget>("treeWidgetProyecto")->topLevelItemCount(), 0);
        QVERIFY(!transiciones->isVisible() && !transiciones->isEnabled());
        QCOMPARE(hijo<QTableWidget>("tableWidgetTransiciones")->rowCount(), 0);
        QVERIFY(!verificar->isVisible() && !verificar->isEnabled());
        QVERIFY(!simulacion->isVisible());
        QVERIFY(!hijo<QMdiArea>("mdiArea")->isEnabled());
        QVERIFY(!hijo<QMenu>("menuImportar_recursos")->isEnabled());
        QVERIFY(!hijo<QMenu>("menuImportar_recursos")->menuAction()->isEnabled());
        QVERIFY(!zoom()->isEnabled());
    };
    comprobar();

    transiciones->setWindowTitle(QStringLiteral("MdE1"));
    hijo<QTableWidget>("tableWidgetTransiciones")->setRowCount(3);
    transiciones->show();
    verificar->setEnabled(true);
    verificar->show();
    simulacion->show();
    m_w->uiEnable();
    QVERIFY(transiciones->isEnabled());
    QVERIFY(zoom()->isEnabled());
    QVERIFY(accion("actionSeleccionar")->isChecked());
    m_w->uiDisable();
    comprobar();
}

// One "*" however often the title is refreshed; uiReset brings the start back.
void TestMainWindowShell::titulo()
{
    m_w->setWindowTitle(kTitulo + QStringLiteral(" - demo.vro"));
    m_w->updateUi();
    m_w->updateUi();
    m_w->marcarModificado();
    QVERIFY(m_w->isModificado());
    QCOMPARE(m_w->windowTitle(), kTitulo + QStringLiteral(" - demo.vro*"));
    m_w->uiEnable();
    m_w->uiReset();
    QCOMPARE(m_w->windowTitle(), kTitulo);
    QVERIFY(!m_w->isModificado());
    QVERIFY(!accion("actionGenerarCodigo")->isEnabled());
    QVERIFY(hijo<QMdiArea>("mdiArea")->subWindowList().isEmpty());
}

// Closing a changed project asks first: "Si" saves (and a save that fails
// keeps the window open, or the changes would be lost), "No" drops the
// changes, "Cancelar" and Escape keep the window. The layout is stored only
// when the window closes.
void TestMainWindowShell::cerrar_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<QStringList>("respuestas");
    QTest::addColumn<bool>("cierra");
    QTest::newRow("sin proyecto") << "" << QStringList() << true;
    QTest::newRow("Cancelar") << "modificado" << QStringList("Cancelar") << false;
    QTest::newRow("Escape") << "modificado" << QStringList("") << false;
    QTest::newRow("No") << "modificado" << QStringList("No") << true;
    QTest::newRow("Si guarda y cierra") << "modificado" << QStringList("Si") << true;
    QTest::newRow("Si, guardado fallido") << "sin archivo" << QStringList({"Si", "Aceptar"}) << false;
}

void TestMainWindowShell::cerrar()
{
    QFETCH(QString, proyecto);
    QFETCH(QStringList, respuestas);
    QFETCH(bool, cierra);
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("demo.vro"));
    if (!proyecto.isEmpty()) {
        QVERIFY(ProyectoPrueba::crear(*m_w, carpeta.path(), QStringLiteral("demo")));
        ProyectoPrueba::maquina(*m_w, QStringLiteral("MdE1"));
        m_w->marcarModificado();
    }
    if (proyecto == QLatin1String("sin archivo")) {
        // A folder where the project file should be makes every write fail, even for root.
        QVERIFY(QFile::remove(archivo) && QDir().mkdir(archivo));
    }
    QStringList botones;
    ModalScript script;
    for (const QString &r : respuestas) {
        script.then([&botones, r](QWidget *w) {
            auto *caja = qobject_cast<QMessageBox *>(w);
            for (QAbstractButton *b : caja->buttons())
                botones << QStringLiteral("%1:%2").arg(b->text()).arg(int(caja->buttonRole(b)));
            if (r.isEmpty())
                QTest::keyClick(caja, Qt::Key_Escape);
            for (QAbstractButton *b : caja->buttons()) {
                if (b->text() == r)
                    b->click();
            }
        });
    }
    QCOMPARE(m_w->close(), cierra);
    QCOMPARE(script.pendientes(), 0);
    QCOMPARE(guardado("geometry"), cierra);
    QCOMPARE(guardado("windowState"), cierra);
    QCOMPARE(m_w->isVisible(), !cierra);
    if (!respuestas.isEmpty()) {
        QCOMPARE(script.titulos().value(0), QStringLiteral("Vireo"));
        QCOMPARE(
            script.textos().value(0),
            QStringLiteral("El proyecto fue modificado.\n ¿Desea guardar los cambios antes de cerrarlo?"));
        botones = botones.mid(0, 3);
        botones.sort();
        QCOMPARE(botones, QStringList({"Cancelar:1", "No:2", "Si:0"}));
    }
    if (respuestas.size() > 1)
        QCOMPARE(script.titulos().value(1), QStringLiteral("Error al Guardar Proyecto"));
    if (!cierra)
        QVERIFY(m_w->isModificado() && m_w->tituloProyecto().endsWith(QLatin1Char('*')));
    QCOMPARE(TestSupport::readFile(archivo).contains("MdE1"),
             respuestas == QStringList(QStringLiteral("Si")));
}

void TestMainWindowShell::laDisposicionSeRestaura()
{
    m_w->resize(900, 500);
    hijo<QDockWidget>("dockWidgetProyecto")->hide();
    QVERIFY(m_w->close());
    m_w = std::make_unique<MainWindow>();
    QCOMPARE(m_w->size(), QSize(900, 500));
    // The explorer is shown at every start, whatever the stored layout says.
    m_w->show();
    QVERIFY(hijo<QDockWidget>("dockWidgetProyecto")->isVisible());
}

// The about box credits the icons' author, as their licence asks.
void TestMainWindowShell::acercaDe()
{
    ModalScript acerca;
    acerca.thenDismiss();
    accion("actionAcercaDe")->trigger();
    QCOMPARE(acerca.titulos(), QStringList(QStringLiteral("Acerca de Vireo | Alderhall")));
    for (const char *texto : {"Silk", "Mark James", "Contacto"})
        QVERIFY2(acerca.textos().value(0).contains(QLatin1String(texto)), texto);
}

// Vireo's style keeps the standard icons it was asked for: each is still the
// platform style's own, asked for once or again.
void TestMainWindowShell::iconosDelEstilo_data()
{
    QTest::addColumn<int>("icono");
    for (QStyle::StandardPixmap icono :
         {QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarMinButton, QStyle::SP_TitleBarMaxButton,
          QStyle::SP_TitleBarNormalButton, QStyle::SP_TitleBarCloseButton})
        QTest::addRow("%d", int(icono)) << int(icono);
}

void TestMainWindowShell::iconosDelEstilo()
{
    QFETCH(int, icono);
    const auto pedido = QStyle::StandardPixmap(icono);
    EstiloVireo estilo;
    const QImage propio = estilo.baseStyle()->standardIcon(pedido).pixmap(16).toImage();
    for (QStyle::StandardPixmap otro :
         {QStyle::SP_TitleBarMenuButton, QStyle::SP_TitleBarCloseButton, pedido})
        estilo.standardIcon(otro);
    QCOMPARE(estilo.standardIcon(pedido).pixmap(16).toImage(), propio);
}

QTEST_MAIN(TestMainWindowShell)
#include "tst_mainwindow_shell.moc"
