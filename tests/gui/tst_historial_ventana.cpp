// Undo and redo through the real window: every kind of step the user can take
// is one step that takes the project back byte for byte and forward again;
// cancelled editors leave no trace; Save As keeps dots and never overwrites
// without asking; a file that cannot be opened never closes the open project.
#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "proyectodescrito.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

using Accion = std::function<void(VentanaPrueba &, ModalScript &)>;
// A dialog opened from inside an answer needs a script of its own: the
// answering script's timer does not tick again until its answer returns.
using Anidados = ModalScript;
struct Paso
{
    const char *fila;
    const char *texto; // the step's name in the Edit menu; empty when no step is taken
    Accion accion;
};

void boton(QWidget *w, const char *nombre)
{
    QAbstractButton *b = w->findChild<QAbstractButton *>(QLatin1String(nombre));
    QVERIFY2(b, nombre);
    b->click();
}

void fila(QWidget *dialogo, const char *lista, int fila)
{
    dialogo->findChild<QListWidget *>(QLatin1String(lista))->setCurrentRow(fila);
}

DiagramItem *estado(VentanaPrueba &v, const QString &nombre)
{
    for (DiagramItem *e : v->sceneList().value(0)->itemList()) {
        if (e->name() == nombre)
            return e;
    }
    return nullptr;
}

// The arrow A -> B, or A's self loop.
Arrow *flecha(VentanaPrueba &v)
{
    for (Arrow *a : estado(v, QStringLiteral("A"))->arrows()) {
        if (a->startItem()->name() == QStringLiteral("A"))
            return a;
    }
    return nullptr;
}

void editarFlecha(VentanaPrueba &v)
{
    v.dobleClic(flecha(v)->path().pointAtPercent(0.3));
}

void dobleClicEnA(VentanaPrueba &v)
{
    v.dobleClic(estado(v, QStringLiteral("A"))->pos());
}

void clicEn(VentanaPrueba &v, const char *nombre)
{
    v.clic(estado(v, QLatin1String(nombre))->pos());
}

void clicEnFlecha(VentanaPrueba &v)
{
    v.clic(flecha(v)->path().pointAtPercent(0.5));
}

const QList<Paso> &pasos()
{
    using V = VentanaPrueba;
    using S = ModalScript;
    static const QList<Paso> lista{
        {"nuevo estado", "Nuevo estado",
         [](V &v, S &s) {
             s.then(V::nombrar(QStringLiteral("C")));
             v.accion("actionNuevoEstado")->trigger();
             v.clic({-950, -450});
         }},
        {"renombrar estado", "Renombrar estado",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 auto *campo = w->findChild<QLineEdit *>(QStringLiteral("lineEditNombre"));
                 campo->selectAll();
                 QTest::keyClicks(campo, QStringLiteral("AA"));
                 boton(w, "pushButtonListo");
             });
             dobleClicEnA(v);
         }},
        {"cambiar color", "Cambiar color del estado",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 w->findChild<QComboBox *>(QStringLiteral("comboBoxColor"))->setCurrentIndex(7);
                 boton(w, "pushButtonListo");
             });
             dobleClicEnA(v);
         }},
        {"mover estado", "Mover estado",
         [](V &v, S &) {
             const QPointF a = estado(v, QStringLiteral("A"))->pos();
             v.arrastrar(a, a + QPointF(40, 30));
         }},
        {"mover dos estados", "Mover estados",
         [](V &v, S &) {
             clicEn(v, "A");
             estado(v, QStringLiteral("B"))->setSelected(true);
             const QPointF a = estado(v, QStringLiteral("A"))->pos();
             v.arrastrar(a, a + QPointF(40, 30));
         }},
        {"redimensionar estado", "Redimensionar estado",
         [](V &v, S &) {
             DiagramItem *b = estado(v, QStringLiteral("B"));
             v.clic(b->pos());
             const QPointF esquina = b->mapToScene(b->rect().bottomRight());
             v.arrastrar(esquina, esquina + QPointF(30, 20));
         }},
        {"eliminar estado", "Eliminar estado",
         [](V &v, S &s) {
             clicEn(v, "B");
             s.thenClick(QStringLiteral("Si"));
             v.accion("actionEliminarElemento")->trigger();
         }},
        {"nueva transición", "Nueva transición",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 fila(w, "listWidgetEventos", 1);
                 boton(w, "toolButtonAgregarEvento");
                 boton(w, "pushButtonAceptar");
             });
             v.accion("actionNuevaTransicion")->trigger();
             clicEn(v, "B");
             clicEn(v, "A");
         }},
        {"editar transición", "Editar transición",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 boton(w, "pushButtonBorrar");
                 fila(w, "listWidgetEventos", 1);
                 boton(w, "toolButtonAgregarEvento");
                 boton(w, "pushButtonAceptar");
             });
             editarFlecha(v);
         }},
        {"declarar evento", "Editar transición",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 Anidados anidados;
                 anidados.then(V::nombrar(QStringLiteral("nuevo")));
                 boton(w, "toolButtonNuevoEvento");
                 boton(w, "pushButtonAceptar");
             });
             editarFlecha(v);
         }},
        {"quitar evento", "Editar transición",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 fila(w, "listWidgetEventos", 1);
                 boton(w, "toolButtonEliminarEvento");
                 boton(w, "pushButtonAceptar");
             });
             editarFlecha(v);
         }},
        {"eliminar transición", "Eliminar transición",
         [](V &v, S &s) {
             clicEnFlecha(v);
             s.thenClick(QStringLiteral("Si"));
             v.accion("actionEliminarElemento")->trigger();
         }},
        {"curvar transición", "Curvar transición",
         [](V &v, S &) {
             clicEnFlecha(v);
             const QPointF mid = flecha(v)->midItem()->scenePos();
             v.arrastrar(mid, mid + QPointF(0, -60));
         }},
        {"mover etiqueta", "Mover etiqueta",
         [](V &v, S &) {
             clicEnFlecha(v);
             const QPointF etiqueta = flecha(v)->label().sceneBoundingRect().center();
             v.arrastrar(etiqueta, etiqueta + QPointF(25, 10));
         }},
        {"estado inicial", "Estado inicial",
         [](V &v, S &s) {
             s.then(V::nombrar(QStringLiteral("B"))).then(V::pulsar("pushButtonAceptar"));
             v.accion("actionEstadoInicial")->trigger();
         }},
        {"importar", "Importar recursos",
         [](V &v, S &s) {
             s.then(V::elegirArchivo(v.ruta(QStringLiteral("otro/otro.vro"))));
             v.accion("actionDesde_otro_proyecto")->trigger();
         }},
        {"nueva máquina", "Nueva máquina",
         [](V &v, S &s) {
             s.then(V::nombrar(QStringLiteral("Otra")));
             v.accion("actionNuevaMaquina")->trigger();
         }},
        {"eliminar máquina", "Eliminar máquina",
         [](V &v, S &s) {
             s.thenClick(QStringLiteral("Si"));
             v.accion("actionEliminarMaquina")->trigger();
         }},
        {"pegar", "Pegar",
         [](V &v, S &) {
             clicEn(v, "A");
             v.accion("actionCopiar")->trigger();
             v.accion("actionPegar")->trigger();
         }},
        {"mover con teclas", "Mover selección",
         [](V &v, S &) {
             clicEn(v, "A");
             for (const char *tecla : {"actionMoverDerecha", "actionMoverDerecha10", "actionMoverAbajo"})
                 v.accion(tecla)->trigger();
             QTRY_VERIFY(v.accion("actionDeshacer")->isEnabled());
         }},
        {"renombrar desde el menú", "Renombrar estado",
         [](V &v, S &s) {
             s.then(V::nombrar(QStringLiteral("AA")));
             clicEn(v, "A");
             v.accion("actionRenombrar")->trigger();
         }},
        // Cancelled commands: no step, not a byte changed.
        {"editor de estado cancelado", "",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 auto *campo = w->findChild<QLineEdit *>(QStringLiteral("lineEditNombre"));
                 campo->selectAll();
                 QTest::keyClicks(campo, QStringLiteral("Z"));
                 w->findChild<QComboBox *>(QStringLiteral("comboBoxColor"))->setCurrentIndex(5);
                 fila(w, "listWidgetTransiciones", 0);
                 Anidados anidados;
                 anidados.thenClick(QStringLiteral("Si"));
                 boton(w, "pushButtonEliminar");
                 QVERIFY(w->findChild<QListWidget *>(QStringLiteral("listWidgetTransiciones"))->count() == 0);
                 boton(w, "pushButtonCancelar");
             });
             dobleClicEnA(v);
         }},
        {"editor de transición cancelado", "",
         [](V &v, S &s) {
             s.then([](QWidget *w) {
                 Anidados anidados;
                 anidados.then(V::nombrar(QStringLiteral("nuevo")))
                     .then(V::nombrar(QStringLiteral("otra_var")));
                 boton(w, "toolButtonNuevoEvento");
                 fila(w, "listWidgetEventos", 1);
                 boton(w, "toolButtonEliminarEvento");
                 boton(w, "toolButtonNuevaVariableExpresion");
                 boton(w, "pushButtonCancelar");
             });
             editarFlecha(v);
         }},
        {"nueva transición cancelada", "",
         [](V &v, S &s) {
             s.then(V::pulsar("pushButtonCancelar"));
             v.accion("actionNuevaTransicion")->trigger();
             clicEn(v, "B");
             clicEn(v, "B");
         }},
        {"estado inicial cancelado", "",
         [](V &v, S &s) {
             s.then(V::nombrar(QStringLiteral("B"))).then(V::pulsar("pushButtonCancelar"));
             v.accion("actionEstadoInicial")->trigger();
         }},
        {"nuevo estado sin nombre", "",
         [](V &v, S &s) {
             s.thenDismiss();
             v.accion("actionNuevoEstado")->trigger();
             v.clic({-950, -450});
         }},
        {"clic sin arrastre", "", [](V &v, S &) { clicEn(v, "A"); }},
    };
    return lista;
}

void hacer(VentanaPrueba &v, const QString &nombre)
{
    for (const Paso &paso : pasos()) {
        if (QString::fromUtf8(paso.fila) == nombre) {
            ModalScript script;
            paso.accion(v, script);
            QTRY_COMPARE(script.pendientes(), 0);
        }
    }
}

} // namespace

class TstHistorialVentana : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cadaPaso_data();
    void cadaPaso();
    void variosPasosDeshechosYRehechos();
    void deshacerSoloReconstruyeLoQueCambia();
    void guardarComo_data();
    void guardarComo();
    void abrirFallidoConservaElProyecto_data();
    void abrirFallidoConservaElProyecto();

private:
    QString titulo() const { return (*m_v)->tituloProyecto(); }

    VentanaPrueba *m_v = nullptr;
};

// A project as the editor leaves it, saved and opened again: A -> B on ev
// doing hacer(), A initial, events ev and otro, variable x; and a project
// "otro" to import from.
void TstHistorialVentana::init()
{
    m_v = new VentanaPrueba;
    QVERIFY(m_v->crear(QStringLiteral("banco")));
    DiagramScene *s = ProyectoPrueba::maquina(**m_v, QStringLiteral("Control"));
    DiagramItem *a = ProyectoPrueba::estado(s, QStringLiteral("A"), {-1100, -620});
    DiagramItem *b = ProyectoPrueba::estado(s, QStringLiteral("B"), {-800, -620});
    ProyectoPrueba::transicion(s, a, b, QStringLiteral("ev"), {QStringLiteral("hacer()")});
    ProyectoPrueba::inicial(s, a);
    XmlHandler *doc = (*m_v)->documento();
    doc->addNuevoEvento(QStringLiteral("ev"));
    doc->addNuevoEvento(QStringLiteral("otro"));
    doc->addNuevaAccion(QStringLiteral("hacer()"));
    doc->addNuevaVariable(QStringLiteral("x"));
    QVERIFY((*m_v)->guardarDatos());
    QVERIFY((*m_v)->abrirProyecto(m_v->ruta(QStringLiteral("banco.vro"))));

    QVERIFY(QDir(m_v->ruta()).mkdir(QStringLiteral("otro")));
    QVERIFY(ProyectoDescrito::escribir(m_v->ruta(QStringLiteral("otro/otro.vro")), "eventos importado"));
}

void TstHistorialVentana::cleanup()
{
    delete m_v;
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
    const QByteArray antes = m_v->bytes();
    QVERIFY(!titulo().endsWith('*'));
    {
        ModalScript script;
        paso.accion(*m_v, script);
        QTRY_COMPARE(script.pendientes(), 0);
    }
    QAction *deshacer = m_v->accion("actionDeshacer");
    QAction *rehacer = m_v->accion("actionRehacer");
    if (texto.isEmpty()) {
        QCOMPARE(m_v->bytes(), antes);
        QVERIFY(!titulo().endsWith('*'));
        QVERIFY(!deshacer->isEnabled());
        return;
    }
    const QByteArray despues = m_v->bytes();
    QVERIFY(despues != antes);
    QVERIFY(titulo().endsWith('*'));
    QCOMPARE(deshacer->text(), QStringLiteral("Deshacer ") + texto);
    deshacer->trigger();
    QVERIFY2(m_v->bytes() == antes, qPrintable(TestSupport::diffReport(antes, m_v->bytes())));
    QVERIFY(!titulo().endsWith('*'));
    QCOMPARE(rehacer->text(), QStringLiteral("Rehacer ") + texto);
    rehacer->trigger();
    QVERIFY2(m_v->bytes() == despues, qPrintable(TestSupport::diffReport(despues, m_v->bytes())));
    QVERIFY(titulo().endsWith('*'));
}

// Several steps of different kinds undone all the way back and redone.
void TstHistorialVentana::variosPasosDeshechosYRehechos()
{
    const QStringList orden{"mover estado", "nueva transición", "estado inicial", "cambiar color",
                            "nueva máquina"};
    QList<QByteArray> estados{m_v->bytes()};
    for (const QString &paso : orden) {
        hacer(*m_v, paso);
        estados << m_v->bytes();
    }
    QAction *deshacer = m_v->accion("actionDeshacer");
    for (int i = orden.size() - 1; i >= 0; --i) {
        deshacer->trigger();
        QVERIFY2(m_v->bytes() == estados.at(i), qPrintable(orden.at(i)));
    }
    QVERIFY(!deshacer->isEnabled());
    for (int i = 1; i <= orden.size(); ++i) {
        m_v->accion("actionRehacer")->trigger();
        QVERIFY2(m_v->bytes() == estados.at(i), qPrintable(orden.at(i - 1)));
    }
}

// A step in one machine, undone and redone, leaves the other machine's
// drawing (its very items), its zoom and scroll, and the active window as
// they were.
void TstHistorialVentana::deshacerSoloReconstruyeLoQueCambia()
{
    QGraphicsView *vista = m_v->vista();
    vista->setTransform(QTransform::fromScale(1.5, 1.5));
    vista->horizontalScrollBar()->setValue(vista->horizontalScrollBar()->minimum() + 40);
    const int desplazamiento = vista->horizontalScrollBar()->value();
    DiagramItem *a = estado(*m_v, QStringLiteral("A"));
    DiagramScene *otra = ProyectoPrueba::maquina(**m_v, QStringLiteral("Otra"));
    (*m_v)->registrarPaso(QStringLiteral("Nueva máquina"));
    QMdiSubWindow *activa = m_v->hijo<QMdiArea>("mdiArea")->activeSubWindow();
    ProyectoPrueba::estado(otra, QStringLiteral("X"), {0, 0});
    (*m_v)->registrarPaso(QStringLiteral("Nuevo estado"));
    const QByteArray despues = m_v->bytes();

    m_v->accion("actionDeshacer")->trigger();
    QCOMPARE((*m_v)->sceneList().value(1)->itemList().size(), 0);
    m_v->accion("actionRehacer")->trigger();
    QCOMPARE(m_v->bytes(), despues);
    QCOMPARE(estado(*m_v, QStringLiteral("A")), a);
    QCOMPARE((*m_v)->viewOf((*m_v)->sceneList().value(0)), vista);
    QCOMPARE(vista->transform(), QTransform::fromScale(1.5, 1.5));
    QCOMPARE(vista->horizontalScrollBar()->value(), desplazamiento);
    QCOMPARE(m_v->hijo<QMdiArea>("mdiArea")->activeSubWindow(), activa);
}

void TstHistorialVentana::guardarComo_data()
{
    QTest::addColumn<QString>("elegido");
    QTest::addColumn<QString>("existente");
    QTest::addColumn<bool>("reemplazar");
    QTest::addColumn<QString>("nombre"); // empty: nothing is written
    QTest::newRow("puntos") << "Semaforo.v2.vro"
                            << "Semaforo.vro" << false << "Semaforo.v2";
    QTest::newRow("sin extensión") << "Semaforo.v2"
                                   << "" << false << "Semaforo.v2";
    QTest::newRow("mayúsculas") << "Semaforo.VRO"
                                << "" << false << "Semaforo";
    QTest::newRow("existente rechazado") << "Semaforo.vro"
                                         << "Semaforo.vro" << false << "";
    QTest::newRow("existente aceptado") << "Semaforo.vro"
                                        << "Semaforo.vro" << true << "Semaforo";
    QTest::newRow("existente sin extensión rechazado") << "Semaforo"
                                                       << "Semaforo.vro" << false << "";
    QTest::newRow("existente en mayúsculas rechazado") << "Semaforo.VRO"
                                                       << "Semaforo.vro" << false << "";
}

// The project then lives in the new file and folder, a fresh copy (created
// when saved); the old file stays.
void TstHistorialVentana::guardarComo()
{
    QFETCH(QString, elegido);
    QFETCH(QString, existente);
    QFETCH(bool, reemplazar);
    QFETCH(QString, nombre);
    const QString carpeta = m_v->ruta(QStringLiteral("como"));
    QVERIFY(QDir().mkpath(carpeta));
    const QByteArray ajeno("no es de este proyecto");
    if (!existente.isEmpty())
        QVERIFY(TestSupport::writeFile(carpeta + '/' + existente, ajeno));
    const QString tituloAntes = titulo();
    const QStringList antes = QDir(carpeta).entryList(QDir::Files);
    {
        // The file dialog's own question comes while it is being answered,
        // Vireo's (for the name it writes) right after.
        const auto responder = [reemplazar](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            for (QAbstractButton *b : box ? box->buttons() : QList<QAbstractButton *>()) {
                const QMessageBox::ButtonRole rol = box->buttonRole(b);
                if ((rol == QMessageBox::YesRole || rol == QMessageBox::AcceptRole) == reemplazar) {
                    b->click();
                    return;
                }
            }
        };
        ModalScript script;
        script
            .then([&](QWidget *w) {
                Anidados pregunta;
                pregunta.then(responder);
                VentanaPrueba::elegirArchivo(carpeta + '/' + elegido)(w);
            })
            .then(responder);
        m_v->accion("actionGuardarComo")->trigger();
    }
    if (nombre.isEmpty()) {
        QCOMPARE(QDir(carpeta).entryList(QDir::Files), antes);
        QCOMPARE(TestSupport::readFile(carpeta + '/' + existente), ajeno);
        QCOMPARE(titulo(), tituloAntes);
        return;
    }
    const XmlHandler *doc = (*m_v)->documento();
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("nombre")), nombre);
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("carpeta")), carpeta);
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("creacion")),
             doc->getContenidoGeneral(QStringLiteral("modificacion")));
    QVERIFY(TestSupport::readFile(carpeta + '/' + nombre + ".vro")
                .contains("<nombre>" + nombre.toUtf8() + "</nombre>"));
    QCOMPARE(titulo(), QStringLiteral("Vireo | Alderhall - ") + nombre + QStringLiteral(".vro"));
    QCOMPARE(m_v->hijo<QTreeWidget>("treeWidgetProyecto")->topLevelItem(0)->text(0), nombre);
    QVERIFY(QFileInfo::exists(m_v->ruta(QStringLiteral("banco.vro"))));
}

void TstHistorialVentana::abrirFallidoConservaElProyecto_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("texto");
    const QString procesar = QStringLiteral("No se pudo procesar el archivo \n@\nMotivo: ");
    QTest::newRow("no existe") << QByteArray() << "No se pudo abrir el archivo \n@";
    QTest::newRow("dañado") << QByteArray("<?xml version=\"1.0\"?>\n<proyecto>\n<general>\n<nombre>x</nom")
                            << procesar + "no es un archivo XML válido (línea 4";
    // Well-formed, a few megabytes, and far more than anyone draws.
    const QString grande = procesar + "el proyecto tiene más máquinas, estados o transiciones";
    const QByteArray proyecto("<proyecto><general><nombre>g</nombre></general><maquinas>");
    QByteArray estados(proyecto + "<maquina0><nombre>M</nombre><estadoInicial/>");
    for (int i = 0; i < 50001; ++i)
        estados.append("<estado").append(QByteArray::number(i)).append("/>");
    QTest::newRow("50 001 estados") << estados.append("</maquina0></maquinas></proyecto>") << grande;
    QByteArray transiciones(proyecto + "<maquina0><nombre>M</nombre><estadoInicial/><estado0>"
                                       "<diagrama/><transiciones>");
    for (int i = 0; i < 150001; ++i)
        transiciones.append("<tr").append(QByteArray::number(i)).append("/>");
    transiciones.append("</transiciones></estado0></maquina0></maquinas></proyecto>");
    QTest::newRow("150 001 transiciones") << transiciones << grande;
    QByteArray maquinas(proyecto);
    for (int i = 0; i < 501; ++i)
        maquinas.append(QStringLiteral("<maquina%1><nombre>M</nombre></maquina%1>").arg(i).toUtf8());
    QTest::newRow("501 máquinas") << maquinas.append("</maquinas></proyecto>") << grande;
}

// The user is told why; the open project keeps its content, title, "*" and
// undo history.
void TstHistorialVentana::abrirFallidoConservaElProyecto()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, texto);
    hacer(*m_v, QStringLiteral("mover estado"));
    const QByteArray antes = m_v->bytes();
    const QString tituloAntes = titulo();
    const QString ruta = m_v->ruta(QStringLiteral("roto.vro"));
    if (!contenido.isEmpty())
        QVERIFY(TestSupport::writeFile(ruta, contenido));
    ModalScript script;
    script.thenDismiss();
    QVERIFY(!(*m_v)->abrirProyecto(ruta));
    QCOMPARE(script.titulos(), QStringList{QStringLiteral("Error al Abrir Proyecto")});
    texto.replace(QLatin1Char('@'), ruta);
    QVERIFY2(script.textos().value(0).startsWith(texto), qPrintable(script.textos().value(0)));
    QCOMPARE(m_v->bytes(), antes);
    QCOMPARE(titulo(), tituloAntes);
    QVERIFY((*m_v)->isModificado());
    QCOMPARE(m_v->accion("actionDeshacer")->text(), QStringLiteral("Deshacer Mover estado"));
}

QTEST_MAIN(TstHistorialVentana)
#include "tst_historial_ventana.moc"
