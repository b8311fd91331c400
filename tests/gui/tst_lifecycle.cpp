// A project's life in the window: created, drawn, saved to the exact file
// expected, closed and opened again as it was; Save As and failed saves; old,
// broken and unexpected files; and the shipped examples.
#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialognuevoproyecto.h"
#include "dialogtransicion.h"
#include "proyectodescrito.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QDirIterator>
#include <QFileDialog>
#include <QGraphicsRectItem>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString TITULO = QStringLiteral("Vireo | Alderhall");

// The title the commands set, without the " - [machine]" that a maximized
// machine window adds to it.
QString tituloDe(const VentanaPrueba &v)
{
    static const QRegularExpression sufijo(QStringLiteral(" - \\[[^\\]]*\\]$"));
    return v->windowTitle().remove(sufijo);
}

// The file with its time stamps (checked to have the stored form) and its
// folder replaced by placeholders.
QByteArray normalizar(const QByteArray &contenido, const QString &carpeta)
{
    static const QRegularExpression fecha(
        QStringLiteral("<(creacion|modificacion)>\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d</"));
    QString texto = QString::fromUtf8(contenido);
    texto.replace(fecha, QStringLiteral("<\\1>@FECHA@</"));
    texto.replace(QStringLiteral("<carpeta>") + carpeta + QStringLiteral("</carpeta>"),
                  QStringLiteral("<carpeta>@CARPETA@</carpeta>"));
    return texto.toUtf8();
}

// Saved twice, a project differs only in its modification time.
QByteArray sinModificacion(const QByteArray &contenido)
{
    return QString::fromUtf8(contenido)
        .remove(QRegularExpression(QStringLiteral("<modificacion>[^<]*</modificacion>")))
        .toUtf8();
}

// Files this process writes cannot grow beyond the limit while it lives.
// Tests run as root, so permissions stop nothing: a file-size limit does.
class LimiteDeTamano
{
public:
    explicit LimiteDeTamano(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_original);
        rlimit limite = m_original;
        limite.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteDeTamano() { setrlimit(RLIMIT_FSIZE, &m_original); }

private:
    rlimit m_original{};
};

// Fills the transition editor from its catalogue lists, then "Aceptar".
ModalScript::Handler transicion(const QString &evento, const QStringList &acciones)
{
    return [evento, acciones](QWidget *w) {
        QVERIFY(qobject_cast<DialogTransicion *>(w));
        auto elegir = [w](const char *lista, const char *boton, const QString &texto) {
            auto *l = w->findChild<QListWidget *>(QLatin1String(lista));
            l->setCurrentItem(l->findItems(texto, Qt::MatchExactly).value(0));
            w->findChild<QToolButton *>(QLatin1String(boton))->click();
        };
        if (!evento.isEmpty())
            elegir("listWidgetEventos", "toolButtonAgregarEvento", evento);
        for (const QString &accion : acciones)
            elegir("listWidgetAcciones", "toolButtonAgregarAccion", accion);
        w->findChild<QPushButton *>(QStringLiteral("pushButtonAceptar"))->click();
    };
}

} // namespace

class TstLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nuevoProyectoEscribeElEsqueleto();
    void noYCancelarNoDejaProyectoAbierto();
    void laPuertaAbierta();
    void proyectoHechoConLosComandosYElRaton();
    void inicialDeVersionAnterior();
    void archivoRenombrado();
    void guardadoFallido_data();
    void guardadoFallido();
    void valoresInesperados();
    void referenciasRotas();
    void ejemplos_data();
    void ejemplos();

private:
    VentanaPrueba *m_v = nullptr;
};

void TstLifecycle::init()
{
    m_v = new VentanaPrueba;
}

void TstLifecycle::cleanup()
{
    delete m_v;
    m_v = nullptr;
}

// The new project's file, title and commands; an empty project opened again
// enables the same.
void TstLifecycle::nuevoProyectoEscribeElEsqueleto()
{
    QVERIFY(m_v->crear(QStringLiteral("demo"), QStringLiteral("nueva/carpeta"), QStringLiteral("ANA")));
    const QString carpeta = m_v->ruta(QStringLiteral("nueva/carpeta"));
    const QByteArray esperado =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("lifecycle/nuevo_demo.vro")));
    const QByteArray escrito =
        normalizar(TestSupport::readFile(carpeta + QStringLiteral("/demo.vro")), carpeta);
    QVERIFY2(escrito == esperado, qPrintable(TestSupport::diffReport(esperado, escrito)));
    QCOMPARE(tituloDe(*m_v), TITULO + QStringLiteral(" - demo.vro"));
    QVERIFY(!(*m_v)->isModificado());
    for (int vez = 0; vez < 2; ++vez) {
        for (const char *a : {"actionNuevaMaquina", "actionGuardar", "actionGuardarComo",
                              "actionCerrarProyecto", "actionDesde_archivo", "actionDesde_otro_proyecto"})
            QVERIFY2(m_v->accion(a)->isEnabled(), a);
        for (const char *a : {"actionNuevoEstado", "actionNuevaTransicion", "actionEliminarMaquina",
                              "actionSimular", "actionVerificar", "actionGenerarCodigo"})
            QVERIFY2(!m_v->accion(a)->isEnabled(), a);
        QVERIFY(m_v->hijo<QMenu>("menuImportar_recursos")->isEnabled());
        QVERIFY(m_v->hijo<QMdiArea>("mdiArea")->isEnabled());
        m_v->accion("actionCerrarProyecto")->trigger();
        QVERIFY(!m_v->accion("actionDesde_archivo")->isEnabled());
        QVERIFY((*m_v)->abrirProyecto(carpeta + QStringLiteral("/demo.vro")));
    }
}

// A new project whose file cannot be written stays open, marked as not
// saved; answering "No" and then cancelling the next dialog closes it.
void TstLifecycle::noYCancelarNoDejaProyectoAbierto()
{
    {
        LimiteDeTamano limite(64);
        ModalScript script;
        script.then(ProyectoPrueba::rellenarDialogo(m_v->ruta(), QStringLiteral("demo"))).thenDismiss();
        m_v->accion("actionNuevoProyecto")->trigger();
        QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Guardar Proyecto")));
    }
    QVERIFY((*m_v)->documento() && (*m_v)->isModificado());
    QCOMPARE((*m_v)->windowTitle(), TITULO + QStringLiteral(" - demo.vro*"));

    ModalScript script;
    script.thenClick(QStringLiteral("No")).then([](QWidget *w) {
        QVERIFY(qobject_cast<DialogNuevoProyecto *>(w));
        static_cast<QDialog *>(w)->reject();
    });
    QVERIFY(m_v->comando("actionNuevoProyecto", script));
    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Vireo")));
    QVERIFY(!(*m_v)->documento() && (*m_v)->sceneList().isEmpty());
    QCOMPARE(tituloDe(*m_v), TITULO);
    QVERIFY(!m_v->accion("actionGuardar")->isEnabled());
    QVERIFY(!QFileInfo::exists(m_v->ruta(QStringLiteral("demo.vro"))));
}

// Three machines (one empty, one without initial state), odd numbers and a
// self loop are drawn as stored; sizes are read back whole.
void TstLifecycle::laPuertaAbierta()
{
    QVERIFY(m_v->abrirDato(QStringLiteral("lifecycle/puerta.vro")));
    const QList<DiagramScene *> escenas = (*m_v)->sceneList();
    QCOMPARE(escenas.size(), 3);
    QCOMPARE(escenas.at(0)->name(), QStringLiteral("CONTROL"));
    QCOMPARE(escenas.at(0)->initialStateItem()->pos(), QPointF(-240, -160));
    QCOMPARE(escenas.at(0)->itemList().at(0)->color(), QColor(Qt::white));
    DiagramItem *apagada = escenas.at(1)->itemList().value(0);
    QVERIFY(apagada && !escenas.at(1)->initialStateItem());
    QCOMPARE(apagada->pos(), QPointF(1234.57, 1e-05));
    QCOMPARE(apagada->rect().size(), QSizeF(120, 1500000));
    QCOMPARE(apagada->arrows().size(), 1);
    const Arrow *lazo = apagada->arrows().first();
    QVERIFY(lazo->startItem() == apagada && lazo->endItem() == apagada);
    QCOMPARE(lazo->event(), QStringLiteral("ev_pulso && n < 3"));
    QCOMPARE(lazo->actions(), QStringList({QStringLiteral("n += 1"), QStringLiteral("luz_on()")}));
    QCOMPARE(lazo->controlPoint(), QPointF(1130.07, 15));
    QCOMPARE(lazo->textRelativePos(), QPointF(-4.5, 0));
    QVERIFY(escenas.at(2)->itemList().isEmpty() && !escenas.at(2)->initialStateItem());
}

// Machines and states named in their dialogs, transitions drawn and filled
// in the transition editor, the initial state chosen from its list; then a
// state resized by its grip and another moved, a control point and a label
// dragged. Saved, closed and opened through the file dialog, it is the same.
void TstLifecycle::proyectoHechoConLosComandosYElRaton()
{
    QVERIFY(m_v->crear(QStringLiteral("cruce"), QString(), QStringLiteral("ANA")));
    XmlHandler *doc = (*m_v)->documento();
    doc->addNuevoEvento(QStringLiteral("ev_tiempo"));
    doc->addNuevoEvento(QStringLiteral("ev_boton"));
    doc->addNuevaAccion(QStringLiteral("cambiar()"));
    doc->addNuevaAccion(QStringLiteral("avisar()"));
    auto comando = [this](const char *accion, const QList<ModalScript::Handler> &respuestas) {
        ModalScript script;
        for (const ModalScript::Handler &h : respuestas)
            script.then(h);
        QVERIFY2(m_v->comando(accion, script), accion);
    };
    auto clic = [this](const QPointF &en, const ModalScript::Handler &respuesta) {
        ModalScript script;
        script.then(respuesta);
        m_v->clic(en);
        QCOMPARE(script.pendientes(), 0);
    };

    comando("actionNuevaMaquina", {VentanaPrueba::nombrar(QStringLiteral("Semaforo"))});
    DiagramScene *semaforo = (*m_v)->activeScene();
    QVERIFY(semaforo);
    comando("actionNuevoEstado", {});
    clic({-1050, -600}, VentanaPrueba::nombrar(QStringLiteral("Rojo")));
    comando("actionNuevoEstado", {});
    clic({-750, -600}, VentanaPrueba::nombrar(QStringLiteral("Verde")));
    QCOMPARE(semaforo->itemList().size(), 2);
    DiagramItem *rojo = semaforo->itemList().at(0);
    DiagramItem *verde = semaforo->itemList().at(1);
    comando("actionNuevaTransicion", {});
    m_v->clic(rojo->pos());
    clic(verde->pos(), transicion(QStringLiteral("ev_tiempo"), {QStringLiteral("cambiar()")}));
    comando("actionNuevaTransicion", {});
    m_v->clic(verde->pos());
    clic(verde->pos(), transicion(QStringLiteral("ev_boton"), {}));
    comando("actionEstadoInicial", {VentanaPrueba::nombrar(QStringLiteral("ROJO")),
                                    transicion(QString(), {QStringLiteral("avisar()")})});
    QVERIFY(semaforo->initialStateItem() && rojo->isEstadoInicial());
    Arrow *cambio = rojo->arrows().at(0);
    QCOMPARE(cambio->endItem(), verde);

    // The gestures themselves are checked by the diagram suites.
    m_v->clic({-900, -450});
    m_v->clic(verde->pos());
    const QPointF esquina = verde->mapToScene(verde->rect().bottomRight());
    m_v->arrastrar(esquina, esquina + QPointF(30, 20));
    m_v->clic({-900, -450});
    m_v->arrastrar(rojo->pos(), rojo->pos() + QPointF(-20, 30));
    m_v->clic(cambio->path().pointAtPercent(0.5));
    const QPointF mid = cambio->midItem()->scenePos();
    m_v->arrastrar(mid, mid + QPointF(0, -50));
    const QPointF etiqueta = cambio->label().sceneBoundingRect().center();
    m_v->arrastrar(etiqueta, etiqueta + QPointF(20, -15));
    QCOMPARE(verde->rect().size(), QSizeF(140, 85));
    QCOMPARE(cambio->midItem()->scenePos(), mid + QPointF(0, -50));

    comando("actionNuevaMaquina", {VentanaPrueba::nombrar(QStringLiteral("Peatones"))});
    comando("actionNuevoEstado", {});
    clic({-1100, -650}, VentanaPrueba::nombrar(QStringLiteral("Espera")));
    comando("actionEstadoInicial",
            {VentanaPrueba::nombrar(QStringLiteral("ESPERA")), transicion(QString(), {})});
    QCOMPARE((*m_v)->sceneList().size(), 2);
    QVERIFY((*m_v)->isModificado() && (*m_v)->windowTitle().contains(QLatin1Char('*')));

    const QStringList antes = ProyectoPrueba::descripcion(**m_v);
    comando("actionGuardar", {});
    QVERIFY(!(*m_v)->isModificado() && !(*m_v)->windowTitle().contains(QLatin1Char('*')));
    const QString archivo = m_v->ruta(QStringLiteral("cruce.vro"));
    const QByteArray primero = TestSupport::readFile(archivo);
    comando("actionCerrarProyecto", {});
    QVERIFY(!(*m_v)->documento());
    // The folder that is kept is where the file was found, not what it says.
    const QString movido = m_v->ruta(QStringLiteral("otra/cruce.vro"));
    QVERIFY(QDir().mkpath(m_v->ruta(QStringLiteral("otra"))) && QDir().rename(archivo, movido));
    comando("actionAbrirProyecto", {[&](QWidget *w) {
                auto *fd = qobject_cast<QFileDialog *>(w);
                QVERIFY(fd);
                QCOMPARE(fd->windowTitle(), QStringLiteral("Abrir Proyecto"));
                QCOMPARE(fd->nameFilters(), QStringList(QStringLiteral("Proyectos(*.vro)")));
                VentanaPrueba::elegirArchivo(movido)(w);
            }});
    QCOMPARE(ProyectoPrueba::descripcion(**m_v), antes);
    QCOMPARE((*m_v)->documento()->getContenidoGeneral(QStringLiteral("carpeta")),
             m_v->ruta(QStringLiteral("otra")));
    QVERIFY(!(*m_v)->isModificado());
    comando("actionGuardar", {});
    const QByteArray segundo = TestSupport::readFile(movido);
    // A save from the window writes what a full rewrite of the document gives.
    QCOMPARE(segundo, (*m_v)->documento()->toByteArray());
    const QByteArray esperado = sinModificacion(primero).replace(
        "<carpeta>" + m_v->ruta().toUtf8(), "<carpeta>" + m_v->ruta(QStringLiteral("otra")).toUtf8());
    QVERIFY2(sinModificacion(segundo) == esperado, qPrintable(TestSupport::diffReport(esperado, segundo)));
}

// A marker stored the old way is placed where the initial-state command
// puts it, and saved again in the current form.
void TstLifecycle::inicialDeVersionAnterior()
{
    QVERIFY(m_v->abrirDato(QStringLiteral("lifecycle/inicial_antiguo.vro")));
    DiagramScene *scene = (*m_v)->sceneList().value(0);
    QVERIFY(scene);
    DiagramItem *b = scene->itemList().value(1);
    QVERIFY(b->isEstadoInicial() && !scene->itemList().value(0)->isEstadoInicial());
    DiagramItem *marcador = scene->initialStateItem();
    QVERIFY(marcador);
    QCOMPARE(marcador->diagramType(), DiagramItem::EstadoInicial);
    QCOMPARE(marcador->pos(), QPointF(300 - 55 - 40, 200 - 32.5 - 40));
    QCOMPARE(marcador->arrows().size(), 1);
    Arrow *a = marcador->arrows().first();
    QCOMPARE(a->endItem(), b);
    QCOMPARE(a->event(), QStringLiteral("-"));
    QCOMPARE(a->actions(), QStringList(QString()));
    QVERIFY(b->arrows().contains(a));
    QVERIFY((*m_v)->guardarDatos());
    XmlHandler *doc = (*m_v)->documento();
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("pos_x")), QStringLiteral("205"));
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("pos_y")), QStringLiteral("127.5"));
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("idProxEstado")), QStringLiteral("estado1"));
}

// A file renamed outside Vireo is saved under its stored name.
void TstLifecycle::archivoRenombrado()
{
    QVERIFY(m_v->crear(QStringLiteral("a")));
    m_v->accion("actionCerrarProyecto")->trigger();
    const QString a = m_v->ruta(QStringLiteral("a.vro"));
    const QString b = m_v->ruta(QStringLiteral("b.vro"));
    QVERIFY(QFile::rename(a, b));
    const QByteArray contenidoB = TestSupport::readFile(b);
    QVERIFY((*m_v)->abrirProyecto(b));
    QCOMPARE(tituloDe(*m_v), TITULO + QStringLiteral(" - b"));
    QVERIFY((*m_v)->guardarDatos());
    QVERIFY(QFileInfo::exists(a));
    QCOMPARE(TestSupport::readFile(b), contenidoB);
}

void TstLifecycle::guardadoFallido_data()
{
    QTest::addColumn<QString>("modo");
    QTest::newRow("la carpeta es ahora un archivo") << "carpeta";
    QTest::newRow("sin espacio para el archivo") << "espacio";
    QTest::newRow("guardar como, sin espacio") << "como";
}

// The user is told why; the title keeps its "*", the file on disk and its
// folder are as they were, and the project still lives in its own file (the
// next plain save goes there).
void TstLifecycle::guardadoFallido()
{
    QFETCH(QString, modo);
    const QString carpeta = m_v->ruta(QStringLiteral("p"));
    QVERIFY(m_v->crear(QStringLiteral("demo"), QStringLiteral("p")));
    XmlHandler *doc = (*m_v)->documento();
    const QString creacion = doc->getContenidoGeneral(QStringLiteral("creacion"));
    ProyectoPrueba::estado(ProyectoPrueba::maquina(**m_v, QStringLiteral("M")), QStringLiteral("A"), {0, 0});
    (*m_v)->updateUi();
    const QString archivo = carpeta + QStringLiteral("/demo.vro");
    const QString destino = modo == QLatin1String("como") ? carpeta + QStringLiteral("/copia.vro") : archivo;
    const QByteArray antes = TestSupport::readFile(archivo);
    QString carpetaRevisada = carpeta;
    std::unique_ptr<LimiteDeTamano> limite;
    if (modo == QLatin1String("carpeta")) {
        carpetaRevisada = m_v->ruta(QStringLiteral("p_movida"));
        QVERIFY(QDir().rename(carpeta, carpetaRevisada));
        QVERIFY(TestSupport::writeFile(carpeta, "no soy una carpeta"));
    } else {
        limite = std::make_unique<LimiteDeTamano>(64);
    }
    ModalScript script;
    if (destino != archivo) {
        script.then(VentanaPrueba::elegirArchivo(destino)).thenDismiss();
        m_v->accion("actionGuardarComo")->trigger();
    } else {
        script.thenDismiss();
        QVERIFY(!(*m_v)->guardarDatos());
    }
    limite.reset();

    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Guardar Proyecto")));
    QVERIFY2(script.textos().value(0).startsWith(QStringLiteral("No se pudo guardar el archivo \n") +
                                                 destino + QStringLiteral("\nMotivo: ")),
             qPrintable(script.textos().value(0)));
    QCOMPARE(tituloDe(*m_v), TITULO + QStringLiteral(" - demo.vro*"));
    QCOMPARE(TestSupport::readFile(carpetaRevisada + QStringLiteral("/demo.vro")), antes);
    QCOMPARE(QDir(carpetaRevisada).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList(QStringLiteral("demo.vro")));
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("nombre")), QStringLiteral("demo"));
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("carpeta")), carpeta);
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("creacion")), creacion);
    if (modo == QLatin1String("carpeta"))
        return;
    QVERIFY((*m_v)->guardarDatos());
    QVERIFY(TestSupport::readFile(archivo) != antes);
    QCOMPARE(QDir(carpeta).entryList(QDir::Files), QStringList(QStringLiteral("demo.vro")));
}

// Unknown elements, gaps in the numbering and unreadable values open
// without a word and save again without harm.
void TstLifecycle::valoresInesperados()
{
    const QString archivo = m_v->ruta(QStringLiteral("malo.vro"));
    QVERIFY(TestSupport::writeFile(
        archivo, "<proyecto><general><nombre>x</nombre><raro>1</raro></general><maquinas><maquina0>"
                 "<nombre>M</nombre><estadoInicial/><otro/><estado0><diagrama><nombre>A</nombre>"
                 "<pos_x>zz</pos_x><ancho>-5</ancho><color>rojo</color></diagrama></estado0></maquina0>"
                 "<maquina5/></maquinas><eventos><ev3>e</ev3></eventos></proyecto>"));
    ModalScript script;
    script.thenDismiss();
    QVERIFY((*m_v)->abrirProyecto(archivo));
    QVERIFY(script.titulos().isEmpty());
    QCOMPARE(tituloDe(*m_v), TITULO + QStringLiteral(" - malo"));
    (*m_v)->documento()->setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("malo"));
    ModalScript otro;
    otro.thenDismiss();
    (*m_v)->guardarDatos();
}

// Transitions and initial states that name missing states are dropped with
// a warning that names them, ten at most.
void TstLifecycle::referenciasRotas()
{
    ModalScript script;
    script.thenDismiss();
    QVERIFY(m_v->abrirDato(QStringLiteral("lifecycle/referencias_rotas.vro")));
    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Advertencia")));
    const QString aviso = script.textos().value(0);
    QVERIFY2(aviso.startsWith(QStringLiteral("El archivo tiene referencias a estados que no existen")),
             qPrintable(aviso));
    for (const char *rota : {"ROTA: transición tr0 de A hacia estado9",
                             "ROTA: transición tr2 de A hacia otro1", "ROTA: estado inicial estado7"})
        QVERIFY2(aviso.contains(QString::fromUtf8(rota)), qPrintable(aviso));
    DiagramScene *scene = (*m_v)->sceneList().value(0);
    QVERIFY(scene && !scene->initialStateItem());
    const QList<DiagramItem *> estados = scene->itemList();
    QCOMPARE(estados.size(), 2);
    QVERIFY(!estados.at(0)->isEstadoInicial() && !estados.at(1)->isEstadoInicial());
    // A -> B and B -> A are kept; their unreadable points are a new arrow's.
    QCOMPARE(estados.at(0)->arrows().size(), 2);
    QCOMPARE(estados.at(1)->arrows().size(), 2);
    for (const Arrow *a : estados.at(0)->arrows()) {
        const Arrow nueva(a->startItem(), a->endItem(), nullptr);
        QCOMPARE(a->controlPoint(), nueva.controlPoint());
        QCOMPARE(a->textRelativePos(), nueva.textRelativePos());
    }

    QByteArray muchas = ProyectoDescrito::vro("maquina M\n" + QStringLiteral("A -> A : ev\n").repeated(12));
    muchas.replace("<idProxEstado>estado0</idProxEstado>", "<idProxEstado>estado9</idProxEstado>");
    QVERIFY(TestSupport::writeFile(m_v->ruta(QStringLiteral("muchas.vro")), muchas));
    ModalScript otro;
    otro.thenDismiss();
    QVERIFY((*m_v)->abrirProyecto(m_v->ruta(QStringLiteral("muchas.vro"))));
    const QStringList lineas = otro.textos().value(0).split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 12);
    QVERIFY2(lineas.at(10).contains(QStringLiteral("transición tr9 ")), qPrintable(lineas.at(10)));
    QCOMPARE(lineas.at(11), QStringLiteral("(y 2 más)"));
}

void TstLifecycle::ejemplos_data()
{
    QTest::addColumn<QString>("archivo");
    for (QDirIterator it(QStringLiteral(VIREO_SOURCE_DIR "/examples"), {QStringLiteral("*.vro")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString archivo = it.next();
        QTest::newRow(qPrintable(QFileInfo(archivo).fileName())) << archivo;
    }
}

// The shipped examples open cleanly and ready to generate, give every
// machine an initial state, use C names, and save back unchanged.
void TstLifecycle::ejemplos()
{
    QFETCH(QString, archivo);
    const QString copia = m_v->ruta(QFileInfo(archivo).fileName());
    QVERIFY(QFile::copy(archivo, copia));
    ModalScript script;
    script.thenDismiss();
    QVERIFY((*m_v)->abrirProyecto(copia));
    QVERIFY2(script.titulos().isEmpty(), qPrintable(script.textos().join(QLatin1Char('\n'))));
    QCOMPARE(tituloDe(*m_v), TITULO + QStringLiteral(" - ") + QFileInfo(archivo).completeBaseName());
    QCOMPARE((*m_v)->documento()->getContenidoGeneral(QStringLiteral("nombre")),
             QFileInfo(archivo).completeBaseName());
    QVERIFY((*m_v)->verificarEstadosIniciales());
    QVERIFY(m_v->accion("actionGenerarCodigo")->isEnabled());

    // Other suites try Vireo on these: each has a self loop and an assignment.
    static const QRegularExpression identificador(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QRegularExpression asignacion(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]* [-+*/%]?= \\S+$"));
    bool lazo = false;
    bool asigna = false;
    QVERIFY(!(*m_v)->sceneList().isEmpty());
    for (const DiagramScene *scene : (*m_v)->sceneList()) {
        QVERIFY2(identificador.match(scene->name()).hasMatch(), qPrintable(scene->name()));
        QVERIFY2(scene->initialStateItem(), qPrintable(scene->name()));
        for (const DiagramItem *e : scene->itemList()) {
            QVERIFY2(identificador.match(e->name()).hasMatch(), qPrintable(e->name()));
            for (const Arrow *a : e->arrows()) {
                lazo |= a->startItem() == a->endItem();
                for (const QString &accion : a->actions())
                    asigna |= asignacion.match(accion).hasMatch();
            }
        }
    }
    QVERIFY(lazo && asigna);
    QVERIFY((*m_v)->guardarDatos());
    const QByteArray original =
        normalizar(normalizar(TestSupport::readFile(archivo), QStringLiteral("/tmp/vireo-ejemplos")),
                   QStringLiteral("."));
    const QByteArray guardado = normalizar(TestSupport::readFile(copia), m_v->ruta());
    QVERIFY2(guardado == original, qPrintable(TestSupport::diffReport(original, guardado)));
}

QTEST_MAIN(TstLifecycle)
#include "tst_lifecycle.moc"
