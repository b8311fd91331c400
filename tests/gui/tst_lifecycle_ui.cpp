// A project built only through the window's commands and the mouse: new
// machines and states named in their dialogs, transitions drawn from state to
// state and filled in the transition editor, the initial state chosen from
// its list, a control point, a label and a state's size dragged. Saved,
// closed and opened again through the file dialog, it is exactly as it was.
#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialogtransicion.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QFileDialog>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// Answers a name dialog with the given name.
ModalScript::Handler nombrar(const QString &nombre)
{
    return [nombre](QWidget *w) {
        auto *campo = w->findChild<QLineEdit *>();
        QVERIFY(campo);
        campo->setText(nombre);
        static_cast<QDialog *>(w)->accept();
    };
}

void elegir(QWidget *dialogo, const char *lista, const char *boton, const QString &texto)
{
    auto *l = dialogo->findChild<QListWidget *>(QLatin1String(lista));
    const QList<QListWidgetItem *> items = l->findItems(texto, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    l->setCurrentItem(items.first());
    dialogo->findChild<QToolButton *>(QLatin1String(boton))->click();
}

// Fills the transition editor: the event (none for the initial transition)
// and the actions, both picked from the catalogue lists, then "Aceptar".
ModalScript::Handler transicion(const QString &evento, const QStringList &acciones)
{
    return [evento, acciones](QWidget *w) {
        QVERIFY(qobject_cast<DialogTransicion *>(w));
        if (!evento.isEmpty())
            elegir(w, "listWidgetEventos", "toolButtonAgregarEvento", evento);
        for (const QString &accion : acciones)
            elegir(w, "listWidgetAcciones", "toolButtonAgregarAccion", accion);
        w->findChild<QPushButton *>(QStringLiteral("pushButtonAceptar"))->click();
    };
}

ModalScript::Handler elegirEstadoInicial(const QString &estado)
{
    return [estado](QWidget *w) {
        auto *dialogo = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialogo);
        dialogo->setTextValue(estado);
        dialogo->accept();
    };
}

ModalScript::Handler elegirArchivo(const QString &path)
{
    return [path](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        QVERIFY(fd);
        if (auto *nombre = fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nombre->setText(path);
        static_cast<QDialog *>(fd)->accept();
    };
}

} // namespace

class TstLifecycleUi : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void proyectoHechoConLosComandos();

private:
    void comando(const char *accion, const ModalScript::Handler &respuesta = nullptr);
    void clic(const QPointF &en, const ModalScript::Handler &respuesta = nullptr);
    void arrastrar(const QPointF &desde, const QPointF &hasta);
    QGraphicsView *vista() const { return m_ventana->viewOf(m_ventana->activeScene()); }

    QTemporaryDir *m_tmp = nullptr;
    MainWindow *m_ventana = nullptr;
};

void TstLifecycleUi::init()
{
    m_tmp = new QTemporaryDir;
    qputenv("HOME", m_tmp->path().toUtf8());
    m_ventana = new MainWindow;
    m_ventana->resize(1366, 675);
    m_ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ventana));
}

void TstLifecycleUi::cleanup()
{
    delete m_ventana;
    delete m_tmp;
}

void TstLifecycleUi::comando(const char *accion, const ModalScript::Handler &respuesta)
{
    ModalScript script;
    if (respuesta)
        script.then(respuesta);
    m_ventana->findChild<QAction *>(QLatin1String(accion))->trigger();
    QCOMPARE(script.pendientes(), 0);
}

void TstLifecycleUi::clic(const QPointF &en, const ModalScript::Handler &respuesta)
{
    ModalScript script;
    if (respuesta)
        script.then(respuesta);
    QTest::mouseClick(vista()->viewport(), Qt::LeftButton, Qt::NoModifier, vista()->mapFromScene(en));
    QCOMPARE(script.pendientes(), 0);
}

void TstLifecycleUi::arrastrar(const QPointF &desde, const QPointF &hasta)
{
    QGraphicsView *view = vista();
    QWidget *vp = view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(desde));
    for (int i = 1; i <= 4; ++i) {
        const QPoint pos = view->mapFromScene(desde + (hasta - desde) * i / 4);
        QMouseEvent mover(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(vp, &mover);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(hasta));
}

void TstLifecycleUi::proyectoHechoConLosComandos()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("cruce"), QStringLiteral("ANA")));
    XmlHandler *doc = m_ventana->documento();
    doc->addNuevoEvento(QStringLiteral("ev_tiempo"));
    doc->addNuevoEvento(QStringLiteral("ev_boton"));
    doc->addNuevaAccion(QStringLiteral("cambiar()"));
    doc->addNuevaAccion(QStringLiteral("avisar()"));

    comando("actionNuevaMaquina", nombrar(QStringLiteral("Semaforo")));
    QCOMPARE(m_ventana->sceneList().size(), 1);
    DiagramScene *semaforo = m_ventana->activeScene();
    QVERIFY(semaforo);
    comando("actionNuevoEstado");
    clic({-1050, -600}, nombrar(QStringLiteral("Rojo")));
    comando("actionNuevoEstado");
    clic({-750, -600}, nombrar(QStringLiteral("Verde")));
    QCOMPARE(semaforo->itemList().size(), 2);
    DiagramItem *rojo = semaforo->itemList().at(0);
    DiagramItem *verde = semaforo->itemList().at(1);

    comando("actionNuevaTransicion");
    clic(rojo->pos());
    clic(verde->pos(), transicion(QStringLiteral("ev_tiempo"), {QStringLiteral("cambiar()")}));
    comando("actionNuevaTransicion");
    clic(verde->pos());
    clic(verde->pos(), transicion(QStringLiteral("ev_boton"), {}));
    {
        ModalScript script;
        script.then(elegirEstadoInicial(QStringLiteral("ROJO")))
            .then(transicion(QString(), {QStringLiteral("avisar()")}));
        m_ventana->findChild<QAction *>(QStringLiteral("actionEstadoInicial"))->trigger();
        QCOMPARE(script.pendientes(), 0);
    }
    QVERIFY(semaforo->initialStateItem());
    QVERIFY(rojo->isEstadoInicial());
    Arrow *cambio = rojo->arrows().at(0);
    QCOMPARE(cambio->endItem(), verde);

    // Bend the transition, move its label, resize the initial state.
    clic({-900, -450});
    clic(cambio->path().pointAtPercent(0.5));
    const QPointF mid = cambio->midItem()->scenePos();
    arrastrar(mid, mid + QPointF(0, -50));
    const QPointF etiqueta = cambio->textItem()->sceneBoundingRect().center();
    arrastrar(etiqueta, etiqueta + QPointF(20, -15));
    clic(rojo->pos());
    const QPointF esquina = rojo->mapToScene(rojo->rect().bottomRight());
    arrastrar(esquina, esquina + QPointF(40, 25));
    QCOMPARE(rojo->rect().size(), QSizeF(150, 90));

    comando("actionNuevaMaquina", nombrar(QStringLiteral("Peatones")));
    QCOMPARE(m_ventana->sceneList().size(), 2);
    comando("actionNuevoEstado");
    clic({-1100, -650}, nombrar(QStringLiteral("Espera")));
    {
        ModalScript script;
        script.then(elegirEstadoInicial(QStringLiteral("ESPERA"))).then(transicion(QString(), {}));
        m_ventana->findChild<QAction *>(QStringLiteral("actionEstadoInicial"))->trigger();
        QCOMPARE(script.pendientes(), 0);
    }
    QVERIFY(m_ventana->isModificado());
    QVERIFY(m_ventana->windowTitle().contains(QLatin1Char('*')));

    const QStringList antes = ProyectoPrueba::descripcion(*m_ventana);
    comando("actionGuardar");
    QVERIFY(!m_ventana->isModificado());
    QVERIFY(!m_ventana->windowTitle().contains(QLatin1Char('*')));
    const QString archivo = m_tmp->path() + QStringLiteral("/cruce.vro");
    const QByteArray primero = TestSupport::readFile(archivo);
    comando("actionCerrarProyecto");
    QVERIFY(!m_ventana->documento());

    comando("actionAbrirProyecto", elegirArchivo(archivo));
    QCOMPARE(ProyectoPrueba::descripcion(*m_ventana), antes);
    QVERIFY(!m_ventana->isModificado());
    comando("actionGuardar");
    const QByteArray segundo = TestSupport::readFile(archivo);
    auto sinFecha = [](QByteArray texto) {
        const int i = texto.indexOf("<modificacion>");
        return texto.remove(i, texto.indexOf("</modificacion>") - i);
    };
    QVERIFY2(sinFecha(primero) == sinFecha(segundo), qPrintable(TestSupport::diffReport(primero, segundo)));
}

QTEST_MAIN(TstLifecycleUi)
#include "tst_lifecycle_ui.moc"
