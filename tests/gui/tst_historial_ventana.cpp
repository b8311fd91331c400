// Undo and redo through the real window: every kind of step the user can take
// is one step that takes the project back byte for byte and forward again;
// cancelled editors leave no trace; Save As keeps dots and never overwrites
// without asking; a file that is no project never closes the open one.
#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "onnextmodal.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

const QPointF kA(-1100, -620);
const QPointF kB(-800, -620);

QAction *accion(MainWindow &w, const char *nombre)
{
    return w.findChild<QAction *>(QLatin1String(nombre));
}

template<typename T> T *hijo(QWidget *w, const char *nombre)
{
    return w->findChild<T *>(QLatin1String(nombre));
}

void pulsar(QWidget *w, const char *boton)
{
    QAbstractButton *b = hijo<QAbstractButton>(w, boton);
    QVERIFY2(b, boton);
    b->click();
}

// Types into the name dialog and accepts it.
ModalScript::Handler nombrar(const QString &nombre)
{
    return [nombre](QWidget *w) {
        auto *campo = w->findChild<QLineEdit *>();
        campo->selectAll();
        QTest::keyClicks(campo, nombre);
        for (QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->text() == QStringLiteral("Aceptar"))
                b->click();
        }
    };
}

// Picks row fila of lista in the transition editor.
void elegirFila(QWidget *dialogo, const char *lista, int fila)
{
    hijo<QListWidget>(dialogo, lista)->setCurrentRow(fila);
}

ModalScript::Handler elegirArchivo(const QString &ruta)
{
    return [ruta](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        if (!fd)
            return;
        fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(ruta);
        static_cast<QDialog *>(fd)->accept();
    };
}

} // namespace

class TstHistorialVentana : public QObject
{
    Q_OBJECT

public:
    using Accion = std::function<void(TstHistorialVentana &, ModalScript &)>;
    struct Paso
    {
        const char *fila;
        const char *texto;
        Accion accion;
    };
    static const QList<Paso> &pasos();

    // The fixture, reached by the steps.
    MainWindow *m_ventana = nullptr;
    QTemporaryDir *m_tmp = nullptr;
    DiagramScene *scene() const { return m_ventana->sceneList().value(0); }
    QGraphicsView *view() const { return m_ventana->viewOf(scene()); }
    DiagramItem *estado(const QString &nombre) const;
    Arrow *flecha() const;
    void clic(const QPointF &en);
    void dobleClic(const QPointF &en);
    void arrastrar(const QPointF &desde, const QPointF &hasta);
    QByteArray bytes() const;
    QString titulo() const { return m_ventana->tituloProyecto(); }

private slots:
    void init();
    void cleanup();
    void elMenuEditar();
    void cadaPaso_data();
    void cadaPaso();
    void diezPasosDeshechosYRehechos();
    void guardarComo_data();
    void guardarComo();
    void abrirAlgoQueNoEsProyecto_data();
    void abrirAlgoQueNoEsProyecto();
};

DiagramItem *TstHistorialVentana::estado(const QString &nombre) const
{
    for (DiagramItem *e : scene()->itemList()) {
        if (e->name() == nombre)
            return e;
    }
    return nullptr;
}

Arrow *TstHistorialVentana::flecha() const
{
    for (Arrow *a : estado(QStringLiteral("A"))->arrows()) {
        if (a->startItem()->name() == QStringLiteral("A"))
            return a;
    }
    return nullptr;
}

void TstHistorialVentana::clic(const QPointF &en)
{
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, view()->mapFromScene(en));
}

void TstHistorialVentana::dobleClic(const QPointF &en)
{
    const QPoint p = view()->mapFromScene(en);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, p);
}

void TstHistorialVentana::arrastrar(const QPointF &desde, const QPointF &hasta)
{
    QWidget *vp = view()->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, view()->mapFromScene(desde));
    for (int i = 1; i <= 4; ++i) {
        const QPoint pos = view()->mapFromScene(desde + (hasta - desde) * i / 4);
        QMouseEvent mover(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(vp, &mover);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, view()->mapFromScene(hasta));
}

QByteArray TstHistorialVentana::bytes() const
{
    m_ventana->sincronizarDocumento();
    return m_ventana->documento()->toByteArray();
}

const QList<TstHistorialVentana::Paso> &TstHistorialVentana::pasos()
{
    using T = TstHistorialVentana;
    static const QList<Paso> lista{
        {"nuevo estado", "Nuevo estado",
         [](T &t, ModalScript &s) {
             s.then(nombrar(QStringLiteral("C")));
             accion(*t.m_ventana, "actionNuevoEstado")->trigger();
             t.clic({-950, -450});
         }},
        {"renombrar estado", "Renombrar estado",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 auto *campo = hijo<QLineEdit>(w, "lineEditNombre");
                 campo->selectAll();
                 QTest::keyClicks(campo, QStringLiteral("AA"));
                 pulsar(w, "pushButtonListo");
             });
             t.dobleClic(t.estado(QStringLiteral("A"))->pos());
         }},
        {"cambiar color", "Cambiar color del estado",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 hijo<QComboBox>(w, "comboBoxColor")->setCurrentIndex(7);
                 pulsar(w, "pushButtonListo");
             });
             t.dobleClic(t.estado(QStringLiteral("A"))->pos());
         }},
        {"mover estado", "Mover estado",
         [](T &t, ModalScript &) {
             const QPointF a = t.estado(QStringLiteral("A"))->pos();
             t.arrastrar(a, a + QPointF(40, 30));
         }},
        {"redimensionar estado", "Redimensionar estado",
         [](T &t, ModalScript &) {
             DiagramItem *b = t.estado(QStringLiteral("B"));
             t.clic(b->pos());
             const QPointF esquina = b->mapToScene(b->rect().bottomRight());
             t.arrastrar(esquina, esquina + QPointF(30, 20));
         }},
        {"eliminar estado", "Eliminar estado",
         [](T &t, ModalScript &s) {
             t.clic(t.estado(QStringLiteral("B"))->pos());
             s.thenClick(QStringLiteral("Si"));
             accion(*t.m_ventana, "actionEliminarElemento")->trigger();
         }},
        {"nueva transición", "Nueva transición",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 elegirFila(w, "listWidgetEventos", 1);
                 pulsar(w, "toolButtonAgregarEvento");
                 pulsar(w, "pushButtonAceptar");
             });
             accion(*t.m_ventana, "actionNuevaTransicion")->trigger();
             t.clic(t.estado(QStringLiteral("B"))->pos());
             t.clic(t.estado(QStringLiteral("A"))->pos());
         }},
        {"editar transición", "Editar transición",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 pulsar(w, "pushButtonBorrar");
                 elegirFila(w, "listWidgetEventos", 1);
                 pulsar(w, "toolButtonAgregarEvento");
                 pulsar(w, "pushButtonAceptar");
             });
             t.dobleClic(t.flecha()->path().pointAtPercent(0.3));
         }},
        {"declarar evento", "Editar transición",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 // The name dialog opens inside this answer: a timer of its own answers it.
                 TestSupport::onNextModal(nombrar(QStringLiteral("nuevo")));
                 pulsar(w, "toolButtonNuevoEvento");
                 pulsar(w, "pushButtonAceptar");
             });
             t.dobleClic(t.flecha()->path().pointAtPercent(0.3));
         }},
        {"quitar evento", "Editar transición",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 elegirFila(w, "listWidgetEventos", 1);
                 pulsar(w, "toolButtonEliminarEvento");
                 pulsar(w, "pushButtonAceptar");
             });
             t.dobleClic(t.flecha()->path().pointAtPercent(0.3));
         }},
        {"eliminar transición", "Eliminar transición",
         [](T &t, ModalScript &s) {
             t.clic(t.flecha()->path().pointAtPercent(0.5));
             s.thenClick(QStringLiteral("Si"));
             accion(*t.m_ventana, "actionEliminarElemento")->trigger();
         }},
        {"curvar transición", "Curvar transición",
         [](T &t, ModalScript &) {
             t.clic(t.flecha()->path().pointAtPercent(0.5));
             const QPointF mid = t.flecha()->midItem()->scenePos();
             t.arrastrar(mid, mid + QPointF(0, -60));
         }},
        {"mover etiqueta", "Mover etiqueta",
         [](T &t, ModalScript &) {
             t.clic(t.flecha()->path().pointAtPercent(0.5));
             const QPointF etiqueta = t.flecha()->textItem()->sceneBoundingRect().center();
             t.arrastrar(etiqueta, etiqueta + QPointF(25, 10));
         }},
        {"estado inicial", "Estado inicial",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 auto *dialogo = qobject_cast<QInputDialog *>(w);
                 dialogo->setTextValue(QStringLiteral("B"));
                 dialogo->accept();
             });
             s.then([](QWidget *w) { pulsar(w, "pushButtonAceptar"); });
             accion(*t.m_ventana, "actionEstadoInicial")->trigger();
         }},
        {"importar", "Importar recursos",
         [](T &t, ModalScript &s) {
             s.then(elegirArchivo(t.m_tmp->filePath(QStringLiteral("otro/otro.vro"))));
             accion(*t.m_ventana, "actionDesde_otro_proyecto")->trigger();
         }},
        {"nueva máquina", "Nueva máquina",
         [](T &t, ModalScript &s) {
             s.then(nombrar(QStringLiteral("Otra")));
             accion(*t.m_ventana, "actionNuevaMaquina")->trigger();
         }},
        {"eliminar máquina", "Eliminar máquina",
         [](T &t, ModalScript &s) {
             s.thenClick(QStringLiteral("Si"));
             accion(*t.m_ventana, "actionEliminarMaquina")->trigger();
         }},
        {"pegar", "Pegar",
         [](T &t, ModalScript &) {
             t.clic(t.estado(QStringLiteral("A"))->pos());
             accion(*t.m_ventana, "actionCopiar")->trigger();
             accion(*t.m_ventana, "actionPegar")->trigger();
         }},
        {"mover con teclas", "Mover selección",
         [](T &t, ModalScript &) {
             t.clic(t.estado(QStringLiteral("A"))->pos());
             for (const char *tecla : {"actionMoverDerecha", "actionMoverDerecha10", "actionMoverAbajo"})
                 accion(*t.m_ventana, tecla)->trigger();
             QTRY_VERIFY(accion(*t.m_ventana, "actionDeshacer")->isEnabled());
         }},
        {"renombrar desde el menú", "Renombrar estado",
         [](T &t, ModalScript &s) {
             s.then(nombrar(QStringLiteral("AA")));
             t.clic(t.estado(QStringLiteral("A"))->pos());
             accion(*t.m_ventana, "actionRenombrar")->trigger();
         }},
        // Cancelled commands: no step, not a byte changed.
        {"editor de estado cancelado", "",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 auto *campo = hijo<QLineEdit>(w, "lineEditNombre");
                 campo->selectAll();
                 QTest::keyClicks(campo, QStringLiteral("Z"));
                 hijo<QComboBox>(w, "comboBoxColor")->setCurrentIndex(5);
                 hijo<QListWidget>(w, "listWidgetTransiciones")->setCurrentRow(0);
                 TestSupport::onNextModal([](QWidget *box) {
                     for (QAbstractButton *b : qobject_cast<QMessageBox *>(box)->buttons()) {
                         if (b->text() == QStringLiteral("Si"))
                             b->click();
                     }
                 });
                 pulsar(w, "pushButtonEliminar");
                 QVERIFY(hijo<QListWidget>(w, "listWidgetTransiciones")->count() == 0);
                 pulsar(w, "pushButtonCancelar");
             });
             t.dobleClic(t.estado(QStringLiteral("A"))->pos());
         }},
        {"editor de transición cancelado", "",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 TestSupport::onNextModal(nombrar(QStringLiteral("nuevo")));
                 pulsar(w, "toolButtonNuevoEvento");
                 elegirFila(w, "listWidgetEventos", 1);
                 pulsar(w, "toolButtonEliminarEvento");
                 TestSupport::onNextModal(nombrar(QStringLiteral("otra_var")));
                 pulsar(w, "toolButtonNuevaVariableExpresion");
                 pulsar(w, "pushButtonCancelar");
             });
             t.dobleClic(t.flecha()->path().pointAtPercent(0.3));
         }},
        {"nueva transición cancelada", "",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) { pulsar(w, "pushButtonCancelar"); });
             accion(*t.m_ventana, "actionNuevaTransicion")->trigger();
             t.clic(t.estado(QStringLiteral("B"))->pos());
             t.clic(t.estado(QStringLiteral("B"))->pos());
         }},
        {"estado inicial cancelado", "",
         [](T &t, ModalScript &s) {
             s.then([](QWidget *w) {
                 auto *dialogo = qobject_cast<QInputDialog *>(w);
                 dialogo->setTextValue(QStringLiteral("B"));
                 dialogo->accept();
             });
             s.then([](QWidget *w) { pulsar(w, "pushButtonCancelar"); });
             accion(*t.m_ventana, "actionEstadoInicial")->trigger();
         }},
        {"nuevo estado sin nombre", "",
         [](T &t, ModalScript &s) {
             s.thenDismiss();
             accion(*t.m_ventana, "actionNuevoEstado")->trigger();
             t.clic({-950, -450});
         }},
        {"clic sin arrastre", "", [](T &t, ModalScript &) { t.clic(t.estado(QStringLiteral("A"))->pos()); }},
    };
    return lista;
}

// A project as the editor leaves it, saved and opened again: A -> B on ev
// doing hacer(), A initial, events ev and otro, variable x.
void TstHistorialVentana::init()
{
    m_tmp = new QTemporaryDir;
    m_ventana = new MainWindow;
    m_ventana->resize(1366, 675);
    m_ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ventana));
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("banco")));
    DiagramScene *s = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Control"));
    DiagramItem *a = ProyectoPrueba::estado(s, QStringLiteral("A"), kA);
    DiagramItem *b = ProyectoPrueba::estado(s, QStringLiteral("B"), kB);
    ProyectoPrueba::transicion(s, a, b, QStringLiteral("ev"), {QStringLiteral("hacer()")});
    ProyectoPrueba::inicial(s, a);
    XmlHandler *doc = m_ventana->documento();
    doc->addNuevoEvento(QStringLiteral("ev"));
    doc->addNuevoEvento(QStringLiteral("otro"));
    doc->addNuevaAccion(QStringLiteral("hacer()"));
    doc->addNuevaVariable(QStringLiteral("x"));
    QVERIFY(m_ventana->guardarDatos());
    QVERIFY(m_ventana->abrirProyecto(m_tmp->filePath(QStringLiteral("banco.vro"))));

    XmlHandler otro(QStringLiteral("otro"), XmlHandler::NUEVO_XML_DATOS);
    otro.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("otro"));
    otro.setContenidoGeneral(QStringLiteral("carpeta"), m_tmp->filePath(QStringLiteral("otro")));
    otro.addNuevoEvento(QStringLiteral("importado"));
    QVERIFY(QDir(m_tmp->path()).mkdir(QStringLiteral("otro")));
    QVERIFY(otro.save());
}

void TstHistorialVentana::cleanup()
{
    delete m_ventana;
    delete m_tmp;
}

void TstHistorialVentana::elMenuEditar()
{
    QStringList menus;
    for (QAction *a : m_ventana->menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus.mid(0, 3), (QStringList{"&Archivo", "&Editar", "&Herramientas"}));
    QAction *deshacer = accion(*m_ventana, "actionDeshacer");
    QAction *rehacer = accion(*m_ventana, "actionRehacer");
    QCOMPARE(deshacer->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(rehacer->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                        QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QVERIFY(!deshacer->isEnabled());
    QVERIFY(!rehacer->isEnabled());
    auto *barra = m_ventana->findChild<QToolBar *>(QStringLiteral("mainToolBar"));
    QVERIFY(barra->actions().contains(deshacer) && barra->actions().contains(rehacer));

    const QPointF a = estado(QStringLiteral("A"))->pos();
    arrastrar(a, a + QPointF(10, 10));
    QCOMPARE(deshacer->text(), QStringLiteral("Deshacer Mover estado"));
    deshacer->trigger();
    QCOMPARE(estado(QStringLiteral("A"))->pos(), a);
    QCOMPARE(rehacer->text(), QStringLiteral("Rehacer Mover estado"));
    rehacer->trigger();
    QCOMPARE(estado(QStringLiteral("A"))->pos(), a + QPointF(10, 10));
}

void TstHistorialVentana::cadaPaso_data()
{
    QTest::addColumn<int>("indice");
    for (int i = 0; i < pasos().size(); ++i)
        QTest::newRow(pasos().at(i).fila) << i;
}

void TstHistorialVentana::cadaPaso()
{
    QFETCH(int, indice);
    const Paso &paso = pasos().at(indice);
    const QString texto = QString::fromUtf8(paso.texto);
    const QByteArray antes = bytes();
    QVERIFY(!titulo().endsWith('*'));
    {
        ModalScript script;
        paso.accion(*this, script);
        QTRY_COMPARE(script.pendientes(), 0);
    }
    QAction *deshacer = accion(*m_ventana, "actionDeshacer");
    if (texto.isEmpty()) {
        QCOMPARE(bytes(), antes);
        QVERIFY(!titulo().endsWith('*'));
        QVERIFY(!deshacer->isEnabled());
        return;
    }
    const QByteArray despues = bytes();
    QVERIFY(despues != antes);
    QVERIFY(titulo().endsWith('*'));
    QCOMPARE(deshacer->text(), QStringLiteral("Deshacer ") + texto);
    {
        // Closing asks; "Cancelar" keeps the project.
        ModalScript script;
        script.thenClick(QStringLiteral("Cancelar"));
        accion(*m_ventana, "actionCerrarProyecto")->trigger();
        QCOMPARE(script.titulos(), QStringList{QStringLiteral("Vireo")});
    }

    deshacer->trigger();
    QVERIFY2(bytes() == antes, qPrintable(TestSupport::diffReport(antes, bytes())));
    QVERIFY(!titulo().endsWith('*'));
    accion(*m_ventana, "actionRehacer")->trigger();
    QVERIFY2(bytes() == despues, qPrintable(TestSupport::diffReport(despues, bytes())));
    QVERIFY(titulo().endsWith('*'));
}

void TstHistorialVentana::diezPasosDeshechosYRehechos()
{
    const QStringList orden{"mover estado",     "redimensionar estado", "curvar transición", "mover etiqueta",
                            "cambiar color",    "nuevo estado",         "nueva transición",  "estado inicial",
                            "renombrar estado", "nueva máquina"};
    QList<QByteArray> estados{bytes()};
    for (const QString &fila : orden) {
        for (const Paso &paso : pasos()) {
            if (QString::fromUtf8(paso.fila) != fila)
                continue;
            ModalScript script;
            paso.accion(*this, script);
            QTRY_COMPARE(script.pendientes(), 0);
        }
        estados << bytes();
        QVERIFY2(estados.last() != estados.at(estados.size() - 2), qPrintable(fila));
    }
    QAction *deshacer = accion(*m_ventana, "actionDeshacer");
    QAction *rehacer = accion(*m_ventana, "actionRehacer");
    for (int i = orden.size() - 1; i >= 0; --i) {
        deshacer->trigger();
        QVERIFY2(bytes() == estados.at(i), qPrintable(orden.at(i)));
    }
    QVERIFY(!deshacer->isEnabled());
    QVERIFY(!titulo().endsWith('*'));
    for (int i = 1; i <= orden.size(); ++i) {
        rehacer->trigger();
        QVERIFY2(bytes() == estados.at(i), qPrintable(orden.at(i - 1)));
    }

    // Saved three steps back: undoing past the save and redoing to it gives
    // a clean title again.
    for (int i = 0; i < 3; ++i)
        deshacer->trigger();
    QVERIFY(m_ventana->guardarDatos());
    QVERIFY(!titulo().endsWith('*'));
    deshacer->trigger();
    QVERIFY(titulo().endsWith('*'));
    rehacer->trigger();
    QVERIFY(!titulo().endsWith('*'));
    rehacer->trigger();
    QVERIFY(titulo().endsWith('*'));
}

void TstHistorialVentana::guardarComo_data()
{
    QTest::addColumn<QString>("elegido");
    QTest::addColumn<QString>("existente");
    QTest::addColumn<bool>("reemplazar");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("archivo");
    QTest::newRow("puntos") << "Semaforo.v2.vro"
                            << "Semaforo.vro" << false << "Semaforo.v2"
                            << "Semaforo.v2.vro";
    QTest::newRow("sin extensión") << "Semaforo.v2"
                                   << "" << false << "Semaforo.v2"
                                   << "Semaforo.v2.vro";
    QTest::newRow("mayúsculas") << "Semaforo.VRO"
                                << "" << false << "Semaforo"
                                << "Semaforo.vro";
    QTest::newRow("existente rechazado") << "Semaforo.vro"
                                         << "Semaforo.vro" << false << ""
                                         << "";
    QTest::newRow("existente aceptado") << "Semaforo.vro"
                                        << "Semaforo.vro" << true << "Semaforo"
                                        << "Semaforo.vro";
    QTest::newRow("existente sin extensión rechazado") << "Semaforo"
                                                       << "Semaforo.vro" << false << ""
                                                       << "";
    QTest::newRow("existente en mayúsculas rechazado") << "Semaforo.VRO"
                                                       << "Semaforo.vro" << false << ""
                                                       << "";
}

void TstHistorialVentana::guardarComo()
{
    QFETCH(QString, elegido);
    QFETCH(QString, existente);
    QFETCH(bool, reemplazar);
    QFETCH(QString, nombre);
    QFETCH(QString, archivo);
    const QString carpeta = m_tmp->filePath(QStringLiteral("como"));
    QVERIFY(QDir().mkpath(carpeta));
    const QByteArray ajeno("no es de este proyecto");
    if (!existente.isEmpty())
        QVERIFY(TestSupport::writeFile(carpeta + '/' + existente, ajeno));
    const QString tituloAntes = titulo();
    const QStringList antes = QDir(carpeta).entryList(QDir::Files);
    {
        // The file dialog's own question comes while it is being answered,
        // Vireo's (for the name it writes) right after: either is answered
        // by a timer of its own.
        const auto responder = [reemplazar](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box)
                return;
            for (QAbstractButton *b : box->buttons()) {
                const QMessageBox::ButtonRole rol = box->buttonRole(b);
                if ((rol == QMessageBox::YesRole || rol == QMessageBox::AcceptRole) == reemplazar) {
                    b->click();
                    return;
                }
            }
        };
        ModalScript script;
        script.then([=](QWidget *w) {
            if (!existente.isEmpty())
                TestSupport::onNextModal(responder);
            elegirArchivo(carpeta + '/' + elegido)(w);
        });
        accion(*m_ventana, "actionGuardarComo")->trigger();
    }
    if (nombre.isEmpty()) {
        QCOMPARE(QDir(carpeta).entryList(QDir::Files), antes);
        QCOMPARE(TestSupport::readFile(carpeta + '/' + existente), ajeno);
        QCOMPARE(titulo(), tituloAntes);
        return;
    }
    QCOMPARE(m_ventana->documento()->getContenidoGeneral(QStringLiteral("nombre")), nombre);
    QVERIFY(
        TestSupport::readFile(carpeta + '/' + archivo).contains("<nombre>" + nombre.toUtf8() + "</nombre>"));
    QCOMPARE(titulo(), QStringLiteral("Vireo | Alderhall - ") + nombre + QStringLiteral(".vro"));
}

void TstHistorialVentana::abrirAlgoQueNoEsProyecto_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("dañado") << QByteArray("<?xml version=\"1.0\"?>\n<proyecto>\n<general>\n<nombre>x</nom")
                            << "Motivo: no es un archivo XML válido (línea 4";
    QTest::newRow("otro XML") << QByteArray("<?xml version=\"1.0\"?>\n<lista><item>1</item></lista>\n")
                              << "Motivo: no es un proyecto de Vireo";
}

void TstHistorialVentana::abrirAlgoQueNoEsProyecto()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, motivo);
    const QPointF a = estado(QStringLiteral("A"))->pos();
    arrastrar(a, a + QPointF(10, 10));
    const QByteArray antes = bytes();
    const QString tituloAntes = titulo();
    const QString ruta = m_tmp->filePath(QStringLiteral("roto.vro"));
    QVERIFY(TestSupport::writeFile(ruta, contenido));
    ModalScript script;
    script.thenDismiss();
    QVERIFY(!m_ventana->abrirProyecto(ruta));
    QCOMPARE(script.titulos(), QStringList{QStringLiteral("Error al Abrir Proyecto")});
    QVERIFY2(script.textos().value(0).contains(motivo), qPrintable(script.textos().value(0)));
    QCOMPARE(bytes(), antes);
    QCOMPARE(titulo(), tituloAntes);
    QVERIFY(m_ventana->isModificado());
    QCOMPARE(accion(*m_ventana, "actionDeshacer")->text(), QStringLiteral("Deshacer Mover estado"));
}

QTEST_MAIN(TstHistorialVentana)
#include "tst_historial_ventana.moc"
