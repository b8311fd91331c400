#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialognuevoproyecto.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QFileDialog>
#include <QGraphicsRectItem>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString TITULO = QStringLiteral("Vireo | Alderhall");

// The title the commands set, without the " - [machine]" that a maximized
// machine window adds to it.
QString tituloDe(const QWidget &ventana)
{
    static const QRegularExpression sufijo(QStringLiteral(" - \\[[^\\]]*\\]$"));
    return ventana.windowTitle().remove(sufijo);
}

// The file with its time stamps and folder replaced by placeholders, after
// checking that the stamps have the stored form.
QByteArray normalizar(QByteArray contenido, const QString &carpeta)
{
    static const QRegularExpression fecha(
        QStringLiteral("<(creacion|modificacion)>\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d</"));
    QString texto = QString::fromUtf8(contenido);
    texto.replace(fecha, QStringLiteral("<\\1>@FECHA@</"));
    texto.replace(QStringLiteral("<carpeta>") + carpeta + QStringLiteral("</carpeta>"),
                  QStringLiteral("<carpeta>@CARPETA@</carpeta>"));
    return texto.toUtf8();
}

QByteArray sinModificacion(const QByteArray &contenido)
{
    QString texto = QString::fromUtf8(contenido);
    texto.replace(QRegularExpression(QStringLiteral("<modificacion>[^<]*</modificacion>")), QString());
    return texto.toUtf8();
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

QAction *accion(MainWindow &w, const char *nombre)
{
    return w.findChild<QAction *>(QLatin1String(nombre));
}

// Answers an open or save file dialog with the given path.
ModalScript::Handler elegirArchivo(const QString &path)
{
    return [path](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        if (!fd)
            return;
        fd->selectFile(path);
        // selectFile leaves the name field alone while it has the focus.
        if (auto *nombre = fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nombre->setText(path);
        static_cast<QDialog *>(fd)->accept();
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
    void guardaElEjemploDeLaPuerta();
    void idaYVuelta();
    void abrirElEjemploDeLaPuerta();
    void doceEstados();
    void inicialDeVersionAnterior();
    void archivoRenombrado();
    void guardarComoApuntaAlArchivoNuevo();
    void guardarComoFallidoConservaElArchivoAnterior();
    void abrirDesdeElDialogo();
    void proyectoSinMaquinasSoloHabilitaElProyecto();
    void guardadoFallido_data();
    void guardadoFallido();
    void abrirEntradaMala_data();
    void abrirEntradaMala();
    void abrirFallidoConservaElProyecto();
    void referenciasRotas();
    void ejemplos_data();
    void ejemplos();

private:
    QString copiarDato(const QString &nombre);

    QTemporaryDir *m_tmp = nullptr;
    MainWindow *m_ventana = nullptr;
};

void TstLifecycle::init()
{
    m_tmp = new QTemporaryDir;
    QVERIFY(m_tmp->isValid());
    qputenv("HOME", m_tmp->path().toUtf8());
    m_ventana = new MainWindow;
    m_ventana->show();
}

void TstLifecycle::cleanup()
{
    delete m_ventana;
    m_ventana = nullptr;
    delete m_tmp;
    m_tmp = nullptr;
}

QString TstLifecycle::copiarDato(const QString &nombre)
{
    const QString destino = m_tmp->path() + QLatin1Char('/') + nombre;
    QFile::copy(TestSupport::dataPath(QStringLiteral("lifecycle/") + nombre), destino);
    return destino;
}

void TstLifecycle::nuevoProyectoEscribeElEsqueleto()
{
    const QString carpeta = m_tmp->path() + QStringLiteral("/nueva/carpeta");
    QVERIFY(ProyectoPrueba::crear(*m_ventana, carpeta, QStringLiteral("demo"), QStringLiteral("ANA")));

    const QByteArray esperado =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("lifecycle/nuevo_demo.vro")));
    const QByteArray escrito =
        normalizar(TestSupport::readFile(carpeta + QStringLiteral("/demo.vro")), carpeta);
    QVERIFY2(escrito == esperado, qPrintable(TestSupport::diffReport(esperado, escrito)));

    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - demo.vro"));
    QVERIFY(!m_ventana->isModificado());
    for (const char *a : {"actionNuevaMaquina", "actionGuardar", "actionGuardarComo", "actionCerrarProyecto",
                          "actionDesde_archivo", "actionDesde_otro_proyecto"})
        QVERIFY2(accion(*m_ventana, a)->isEnabled(), a);
    for (const char *a : {"actionNuevoEstado", "actionSimular", "actionGenerarCodigo"})
        QVERIFY2(!accion(*m_ventana, a)->isEnabled(), a);
    QVERIFY(m_ventana->findChild<QMenu *>(QStringLiteral("menuImportar_recursos"))->isEnabled());
    QVERIFY(m_ventana->findChild<QMdiArea *>(QStringLiteral("mdiArea"))->isEnabled());
}

void TstLifecycle::noYCancelarNoDejaProyectoAbierto()
{
    // A new project whose file cannot be written stays open, marked as not
    // saved; answering "No" and then cancelling the next dialog closes it.
    {
        LimiteDeTamano limite(64);
        ModalScript script;
        script.then(ProyectoPrueba::rellenarDialogo(m_tmp->path(), QStringLiteral("demo"))).thenDismiss();
        accion(*m_ventana, "actionNuevoProyecto")->trigger();
        QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Guardar Proyecto")));
    }
    QVERIFY(m_ventana->documento());
    QVERIFY(m_ventana->isModificado());
    QCOMPARE(m_ventana->windowTitle(), TITULO + QStringLiteral(" - demo.vro*"));
    QVERIFY(!QFileInfo::exists(m_tmp->path() + QStringLiteral("/demo.vro")));

    ModalScript script;
    script.thenClick(QStringLiteral("No")).then([](QWidget *w) {
        QVERIFY(qobject_cast<DialogNuevoProyecto *>(w));
        static_cast<QDialog *>(w)->reject();
    });
    accion(*m_ventana, "actionNuevoProyecto")->trigger();
    QCOMPARE(script.pendientes(), 0);
    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Vireo")));
    QVERIFY(!m_ventana->documento());
    QVERIFY(m_ventana->sceneList().isEmpty());
    QCOMPARE(tituloDe(*m_ventana), TITULO);
    QVERIFY(!accion(*m_ventana, "actionGuardar")->isEnabled());
    QVERIFY(!QFileInfo::exists(m_tmp->path() + QStringLiteral("/demo.vro")));
}

void TstLifecycle::guardaElEjemploDeLaPuerta()
{
    QVERIFY(
        ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("PUERTA"), QStringLiteral("ANA")));
    XmlHandler *doc = m_ventana->documento();
    doc->addNuevoEvento(QStringLiteral("ev_abrir"));
    doc->addNuevoEvento(QStringLiteral("ev_pulso"));
    doc->addNuevaAccion(QStringLiteral("motor_on()"));
    doc->addNuevaAccion(QStringLiteral("luz_on()"));
    doc->addNuevaVariable(QStringLiteral("n"));

    DiagramScene *control = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("CONTROL"));
    QVERIFY(control);
    DiagramItem *cerrada = ProyectoPrueba::estado(control, QStringLiteral("CERRADA"), {-100, -50}, Qt::white);
    DiagramItem *abierta = ProyectoPrueba::estado(control, QStringLiteral("ABIERTA"), {250, -50}, Qt::white);
    cerrada->setSize(120, 60);
    abierta->setSize(120, 60);
    Arrow *abrir = ProyectoPrueba::transicion(control, cerrada, abierta, QStringLiteral("ev_abrir"),
                                              {QStringLiteral("motor_on()")});
    abrir->midItem()->setPos(75, -80);
    abrir->setTextRelativePos({10, -20});
    Arrow *reset = ProyectoPrueba::inicial(control, cerrada);
    control->initialStateItem()->setPos(-240, -160);
    reset->midItem()->setPos(-190, -110);
    reset->setTextRelativePos({0, 0});

    DiagramScene *luz = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("LUZ"));
    DiagramItem *apagada = ProyectoPrueba::estado(luz, QStringLiteral("APAGADA"), {1234.5678, 0.00001});
    apagada->setSize(120.7, 1500000);
    Arrow *lazo = ProyectoPrueba::transicion(luz, apagada, apagada, QStringLiteral("ev_pulso && n < 3"),
                                             {QStringLiteral("n += 1"), QStringLiteral("luz_on()")});
    lazo->midItem()->setPos(1130.07, 15);
    lazo->setTextRelativePos({-4.5, 0});
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("VACIA"));

    QVERIFY(m_ventana->guardarDatos());
    const QByteArray esperado =
        TestSupport::readFile(TestSupport::dataPath(QStringLiteral("lifecycle/puerta.vro")));
    const QByteArray escrito =
        normalizar(TestSupport::readFile(m_tmp->path() + QStringLiteral("/PUERTA.vro")), m_tmp->path());
    QVERIFY2(escrito == esperado, qPrintable(TestSupport::diffReport(esperado, escrito)));
}

void TstLifecycle::idaYVuelta()
{
    QVERIFY(
        ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("semaforo"), QStringLiteral("ANA")));
    DiagramScene *s1 = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Semaforo"));
    QVERIFY(s1);
    DiagramItem *rojo =
        ProyectoPrueba::estado(s1, QStringLiteral("Rojo"), {-200, 0}, QColor(0xff, 0x40, 0x40));
    DiagramItem *verde =
        ProyectoPrueba::estado(s1, QStringLiteral("Verde"), {200, 10.25}, QColor(0x40, 0xc0, 0x40));
    rojo->setSize(150, 80);
    Arrow *a1 =
        ProyectoPrueba::transicion(s1, rojo, verde, QStringLiteral("t_fin"), {QStringLiteral("cambiar()")});
    ProyectoPrueba::transicion(s1, verde, rojo, QStringLiteral("t_fin && x > 3"),
                               {QStringLiteral("x = 0"), QStringLiteral("cambiar()")});
    Arrow *lazo = ProyectoPrueba::transicion(s1, verde, verde, QStringLiteral("tick"), {QString()});
    a1->midItem()->setPos(0, -120.5);
    a1->setTextRelativePos({15, -25});
    lazo->midItem()->setPos(330, 60);
    Arrow *reset = ProyectoPrueba::inicial(s1, rojo, {QStringLiteral("x = 0")});
    s1->initialStateItem()->setPos(-400, -200);
    reset->midItem()->setPos(-300, -100);
    reset->setTextRelativePos({-10, -30});

    DiagramScene *s2 = ProyectoPrueba::maquina(*m_ventana, QStringLiteral("Peatones"));
    DiagramItem *espera = ProyectoPrueba::estado(s2, QStringLiteral("Espera"), {1234.5678, -0.5});
    DiagramItem *cruza = ProyectoPrueba::estado(s2, QStringLiteral("Cruza"), {-3e-7, 400});
    ProyectoPrueba::transicion(s2, espera, cruza, QStringLiteral("boton & <x>"), {QString()});
    ProyectoPrueba::inicial(s2, cruza);
    const QStringList antes = ProyectoPrueba::descripcion(*m_ventana);

    QVERIFY(m_ventana->guardarDatos());
    const QString archivo = m_tmp->path() + QStringLiteral("/semaforo.vro");
    const QByteArray primero = TestSupport::readFile(archivo);
    accion(*m_ventana, "actionCerrarProyecto")->trigger();
    QVERIFY(!m_ventana->documento());
    QVERIFY(m_ventana->sceneList().isEmpty());

    QVERIFY(m_ventana->abrirProyecto(archivo));
    QCOMPARE(ProyectoPrueba::descripcion(*m_ventana), antes);
    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - semaforo"));
    QVERIFY(!m_ventana->isModificado());
    QVERIFY(accion(*m_ventana, "actionNuevoEstado")->isEnabled());

    QVERIFY(m_ventana->guardarDatos());
    const QByteArray segundo = TestSupport::readFile(archivo);
    QCOMPARE(segundo, m_ventana->documento()->toByteArray());
    QVERIFY2(sinModificacion(segundo) == sinModificacion(primero),
             qPrintable(TestSupport::diffReport(primero, segundo)));
}

void TstLifecycle::abrirElEjemploDeLaPuerta()
{
    QVERIFY(m_ventana->abrirProyecto(copiarDato(QStringLiteral("puerta.vro"))));
    const QList<DiagramScene *> escenas = m_ventana->sceneList();
    QCOMPARE(escenas.size(), 3);
    QCOMPARE(escenas.at(0)->name(), QStringLiteral("CONTROL"));
    QCOMPARE(escenas.at(0)->initialStateItem()->pos(), QPointF(-240, -160));
    QCOMPARE(escenas.at(0)->itemList().at(0)->color(), QColor(Qt::white));

    DiagramItem *apagada = escenas.at(1)->itemList().value(0);
    QVERIFY(apagada);
    QCOMPARE(apagada->pos(), QPointF(1234.57, 1e-05));
    QCOMPARE(apagada->rect().size(), QSizeF(120, 1500000));
    QCOMPARE(apagada->arrows().size(), 1);
    const Arrow *lazo = apagada->arrows().first();
    QCOMPARE(lazo->startItem(), apagada);
    QCOMPARE(lazo->endItem(), apagada);
    QCOMPARE(lazo->event(), QStringLiteral("ev_pulso && n < 3"));
    QCOMPARE(lazo->actions(), QStringList({QStringLiteral("n += 1"), QStringLiteral("luz_on()")}));
    QCOMPARE(lazo->midItem()->scenePos(), QPointF(1130.07, 15));
    QCOMPARE(lazo->textRelativePos(), QPointF(-4.5, 0));
    QVERIFY(!escenas.at(1)->initialStateItem());

    QVERIFY(escenas.at(2)->itemList().isEmpty());
    QVERIFY(!escenas.at(2)->initialStateItem());
}

void TstLifecycle::doceEstados()
{
    QVERIFY(m_ventana->abrirProyecto(copiarDato(QStringLiteral("doce_estados.vro"))));
    QCOMPARE(m_ventana->sceneList().size(), 1);
    const QList<DiagramItem *> estados = m_ventana->sceneList().first()->itemList();
    QCOMPARE(estados.size(), 12);
    QCOMPARE(estados.first()->arrows().size(), 1);
    QCOMPARE(estados.first()->arrows().first()->endItem(), estados.at(11));
    QCOMPARE(estados.at(11)->pos(), QPointF(1650, 0));
    QVERIFY(!m_ventana->sceneList().first()->initialStateItem());
}

void TstLifecycle::inicialDeVersionAnterior()
{
    QVERIFY(m_ventana->abrirProyecto(copiarDato(QStringLiteral("inicial_antiguo.vro"))));
    DiagramScene *scene = m_ventana->sceneList().value(0);
    QVERIFY(scene);
    DiagramItem *b = scene->itemList().value(1);
    QVERIFY(b->isEstadoInicial());
    QVERIFY(!scene->itemList().value(0)->isEstadoInicial());
    DiagramItem *marcador = scene->initialStateItem();
    QVERIFY(marcador);
    QCOMPARE(marcador->diagramType(), DiagramItem::EstadoInicial);
    QCOMPARE(marcador->pos(), QPointF(300 - 55 - 40, 200 - 32.5 - 40));
    QCOMPARE(marcador->arrows().size(), 1);
    const Arrow *a = marcador->arrows().first();
    QCOMPARE(a->endItem(), b);
    QCOMPARE(a->event(), QStringLiteral("-"));
    QCOMPARE(a->actions(), QStringList(QString()));
    QVERIFY(b->arrows().contains(const_cast<Arrow *>(a)));

    // Saved again, the marker gets the current form.
    QVERIFY(m_ventana->guardarDatos());
    XmlHandler *doc = m_ventana->documento();
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("pos_x")), QStringLiteral("205"));
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("pos_y")), QStringLiteral("127.5"));
    QCOMPARE(doc->getContenidoInicial(QStringLiteral("idProxEstado")), QStringLiteral("estado1"));
}

void TstLifecycle::archivoRenombrado()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("a")));
    accion(*m_ventana, "actionCerrarProyecto")->trigger();
    const QString a = m_tmp->path() + QStringLiteral("/a.vro");
    const QString b = m_tmp->path() + QStringLiteral("/b.vro");
    QVERIFY(QFile::rename(a, b));
    const QByteArray contenidoB = TestSupport::readFile(b);

    QVERIFY(m_ventana->abrirProyecto(b));
    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - b"));
    QVERIFY(m_ventana->guardarDatos());
    QVERIFY(QFileInfo::exists(a));
    QCOMPARE(TestSupport::readFile(b), contenidoB);
}

void TstLifecycle::guardarComoApuntaAlArchivoNuevo()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("original")));
    const QString otra = m_tmp->path() + QStringLiteral("/otra");
    QVERIFY(QDir().mkpath(otra));
    ModalScript script;
    script.then(elegirArchivo(otra + QStringLiteral("/x.y.vro")));
    accion(*m_ventana, "actionGuardarComo")->trigger();
    QCOMPARE(script.pendientes(), 0);

    QVERIFY(QFileInfo::exists(otra + QStringLiteral("/x.y.vro")));
    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - x.y.vro"));
    XmlHandler *doc = m_ventana->documento();
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("nombre")), QStringLiteral("x.y"));
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("carpeta")), otra);
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("creacion")),
             doc->getContenidoGeneral(QStringLiteral("modificacion")));
    QVERIFY(QFileInfo::exists(m_tmp->path() + QStringLiteral("/original.vro")));
    const QTreeWidget *arbol = m_ventana->findChild<QTreeWidget *>(QStringLiteral("treeWidgetProyecto"));
    QCOMPARE(arbol->topLevelItem(0)->text(0), QStringLiteral("x.y"));
}

void TstLifecycle::guardarComoFallidoConservaElArchivoAnterior()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("original")));
    XmlHandler *doc = m_ventana->documento();
    const QString creacion = doc->getContenidoGeneral(QStringLiteral("creacion"));
    {
        LimiteDeTamano limite(64);
        ModalScript script;
        script.then(elegirArchivo(m_tmp->path() + QStringLiteral("/copia.vro"))).thenDismiss();
        accion(*m_ventana, "actionGuardarComo")->trigger();
        QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Guardar Proyecto")));
    }
    QVERIFY(!QFileInfo::exists(m_tmp->path() + QStringLiteral("/copia.vro")));
    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - original.vro"));
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("nombre")), QStringLiteral("original"));
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("carpeta")), m_tmp->path());
    QCOMPARE(doc->getContenidoGeneral(QStringLiteral("creacion")), creacion);
    // The next plain save still goes to the project's own file.
    QVERIFY(m_ventana->guardarDatos());
    QCOMPARE(QDir(m_tmp->path()).entryList(QDir::Files), QStringList(QStringLiteral("original.vro")));
}

void TstLifecycle::abrirDesdeElDialogo()
{
    const QString archivo = copiarDato(QStringLiteral("doce_estados.vro"));
    ModalScript script;
    script.then([&](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        QVERIFY(fd);
        QCOMPARE(fd->windowTitle(), QStringLiteral("Abrir Proyecto"));
        QCOMPARE(fd->nameFilters(), QStringList(QStringLiteral("Proyectos(*.vro)")));
        elegirArchivo(archivo)(w);
    });
    accion(*m_ventana, "actionAbrirProyecto")->trigger();
    QCOMPARE(script.pendientes(), 0);
    QCOMPARE(m_ventana->sceneList().size(), 1);
    // The folder is where the file was found, not what the file says.
    QCOMPARE(m_ventana->documento()->getContenidoGeneral(QStringLiteral("carpeta")), m_tmp->path());
}

void TstLifecycle::proyectoSinMaquinasSoloHabilitaElProyecto()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("vacio")));
    accion(*m_ventana, "actionCerrarProyecto")->trigger();
    QVERIFY(!accion(*m_ventana, "actionDesde_archivo")->isEnabled());
    QVERIFY(m_ventana->abrirProyecto(m_tmp->path() + QStringLiteral("/vacio.vro")));
    for (const char *a : {"actionNuevaMaquina", "actionGuardar", "actionGuardarComo", "actionCerrarProyecto",
                          "actionDesde_archivo"})
        QVERIFY2(accion(*m_ventana, a)->isEnabled(), a);
    for (const char *a : {"actionNuevoEstado", "actionNuevaTransicion", "actionEliminarMaquina",
                          "actionSimular", "actionVerificar", "actionGenerarCodigo"})
        QVERIFY2(!accion(*m_ventana, a)->isEnabled(), a);
}

void TstLifecycle::guardadoFallido_data()
{
    QTest::addColumn<bool>("limiteDeTamano");
    QTest::newRow("la carpeta es ahora un archivo") << false;
    QTest::newRow("sin espacio para el archivo") << true;
}

void TstLifecycle::guardadoFallido()
{
    QFETCH(bool, limiteDeTamano);
    const QString carpeta = m_tmp->path() + QStringLiteral("/p");
    QVERIFY(ProyectoPrueba::crear(*m_ventana, carpeta, QStringLiteral("demo")));
    ProyectoPrueba::estado(ProyectoPrueba::maquina(*m_ventana, QStringLiteral("M")), QStringLiteral("A"),
                           {0, 0});
    m_ventana->updateUi();
    const QString archivo = carpeta + QStringLiteral("/demo.vro");
    const QByteArray antes = TestSupport::readFile(archivo);

    QString carpetaRevisada = carpeta;
    std::unique_ptr<LimiteDeTamano> limite;
    if (limiteDeTamano) {
        limite = std::make_unique<LimiteDeTamano>(64);
    } else {
        carpetaRevisada = m_tmp->path() + QStringLiteral("/p_movida");
        QVERIFY(QDir().rename(carpeta, carpetaRevisada));
        QVERIFY(TestSupport::writeFile(carpeta, "no soy una carpeta"));
    }

    ModalScript script;
    script.thenDismiss();
    const bool guardado = m_ventana->guardarDatos();
    limite.reset();

    QVERIFY(!guardado);
    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Guardar Proyecto")));
    QCOMPARE(script.textos().size(), 1);
    QVERIFY(script.textos().at(0).startsWith(QStringLiteral("No se pudo guardar el archivo \n") + archivo +
                                             QStringLiteral("\nMotivo: ")));
    QVERIFY(m_ventana->windowTitle().contains(QLatin1Char('*')));
    QCOMPARE(TestSupport::readFile(carpetaRevisada + QStringLiteral("/demo.vro")), antes);
    QCOMPARE(QDir(carpetaRevisada).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList(QStringLiteral("demo.vro")));
}

void TstLifecycle::abrirEntradaMala_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("abierto");

    const QString procesar = QStringLiteral("No se pudo procesar el archivo \n");
    const QString error = QStringLiteral("Error al Abrir Proyecto");
    QTest::newRow("no es XML") << QByteArray("hola, no soy un proyecto") << error << procesar << false;
    QTest::newRow("vacío") << QByteArray() << error << procesar << false;
    QTest::newRow("XML cortado") << QByteArray("<proyecto><general><nombre>x</nom") << error << procesar
                                 << false;
    QByteArray basura(50 * 1024 * 1024, '\0');
    for (int i = 0; i < basura.size(); ++i)
        basura[i] = char((quint32(i) * 7919u) % 251u);
    QTest::newRow("50 MB de basura") << basura << error << procesar << false;

    QByteArray grande("<proyecto><general><nombre>grande</nombre><autores>");
    grande.append(QByteArray(50 * 1024 * 1024, 'a'));
    grande.append("</autores></general><maquinas><maquina0><nombre>M</nombre><estadoInicial/></maquina0>"
                  "</maquinas></proyecto>");
    QTest::newRow("50 MB bien formados") << grande << QString() << QString() << true;

    const QByteArray anidado = QByteArray("<a>").repeated(10000) + QByteArray("</a>").repeated(10000);
    QTest::newRow("10 000 elementos anidados") << anidado << error << procesar << false;

    // Well-formed, a few megabytes, and far more states than anyone draws.
    QByteArray estados("<proyecto><maquinas><maquina0><nombre>M</nombre><estadoInicial/>");
    for (int i = 0; i < 60000; ++i)
        estados.append("<estado").append(QByteArray::number(i)).append("/>");
    estados.append("</maquina0></maquinas></proyecto>");
    QTest::newRow("60 000 estados") << estados << error << procesar << false;
    QByteArray transiciones("<proyecto><maquinas><maquina0><nombre>M</nombre><estadoInicial/><estado0>"
                            "<diagrama/><transiciones>");
    for (int i = 0; i < 160000; ++i)
        transiciones.append("<tr").append(QByteArray::number(i)).append("/>");
    transiciones.append("</transiciones></estado0></maquina0></maquinas></proyecto>");
    QTest::newRow("160 000 transiciones") << transiciones << error << procesar << false;

    QByteArray maquinas("<proyecto><maquinas>");
    for (int i = 0; i < 600; ++i)
        maquinas.append("<maquina")
            .append(QByteArray::number(i))
            .append("><nombre>M</nombre></maquina")
            .append(QByteArray::number(i))
            .append(">");
    maquinas.append("</maquinas></proyecto>");
    QTest::newRow("600 máquinas") << maquinas << error << procesar << false;

    QTest::newRow("XML que no es un proyecto")
        << QByteArray("<html><body/></html>") << error << procesar << false;
    const QString rota = QStringLiteral("El archivo tiene referencias a estados que no existen");
    QTest::newRow("faltan elementos")
        << QByteArray("<proyecto><general><nombre>x</nombre></general><maquinas><maquina0><nombre>M</nombre>"
                      "<estadoInicial/><estado0/>"
                      "<estado1><diagrama><nombre>B</nombre></diagrama><transiciones><tr0/></transiciones>"
                      "</estado1></maquina0></maquinas></proyecto>")
        << QStringLiteral("Advertencia") << rota << true;
    QTest::newRow("elementos inesperados")
        << QByteArray("<proyecto><general><nombre>x</nombre><raro>1</raro></general><maquinas><maquina0>"
                      "<nombre>M</nombre><estadoInicial/><otro/><estado0><diagrama><nombre>A</nombre>"
                      "<pos_x>zz</pos_x><ancho>-5</ancho><color>rojo</color></diagrama></estado0></maquina0>"
                      "<maquina5/></maquinas><eventos><ev3>e</ev3></eventos></proyecto>")
        << QString() << QString() << true;
}

void TstLifecycle::abrirEntradaMala()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, titulo);
    QFETCH(QString, texto);
    QFETCH(bool, abierto);
    const QString archivo = m_tmp->path() + QStringLiteral("/malo.vro");
    QVERIFY(TestSupport::writeFile(archivo, contenido));

    ModalScript script;
    script.thenDismiss().thenDismiss();
    QCOMPARE(m_ventana->abrirProyecto(archivo), abierto);
    QCOMPARE(script.titulos(), titulo.isEmpty() ? QStringList() : QStringList(titulo));
    QCOMPARE(script.textos().size(), texto.isEmpty() ? 0 : 1);
    if (!texto.isEmpty()) {
        const QString esperado = titulo == QLatin1String("Advertencia") ? texto : texto + archivo;
        QVERIFY2(script.textos().first().startsWith(esperado), qPrintable(script.textos().first()));
    }
    QCOMPARE(m_ventana->documento() != nullptr, abierto);
    if (!abierto) {
        QCOMPARE(tituloDe(*m_ventana), TITULO);
        QVERIFY(!accion(*m_ventana, "actionGuardar")->isEnabled());
        return;
    }
    QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - malo"));
    // Whatever was loaded can be saved again without harm.
    m_ventana->documento()->setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("malo"));
    ModalScript otro;
    otro.thenDismiss();
    m_ventana->guardarDatos();
}

void TstLifecycle::abrirFallidoConservaElProyecto()
{
    QVERIFY(ProyectoPrueba::crear(*m_ventana, m_tmp->path(), QStringLiteral("sigue")));
    ProyectoPrueba::maquina(*m_ventana, QStringLiteral("M"));
    for (const QString &ruta : {m_tmp->path() + QStringLiteral("/no_existe.vro"), m_tmp->path()}) {
        ModalScript script;
        script.thenDismiss();
        QVERIFY(!m_ventana->abrirProyecto(ruta));
        QCOMPARE(script.titulos(), QStringList(QStringLiteral("Error al Abrir Proyecto")));
        QCOMPARE(script.textos(), QStringList(QStringLiteral("No se pudo abrir el archivo \n") + ruta));
        QVERIFY(m_ventana->documento());
        QCOMPARE(m_ventana->sceneList().size(), 1);
        QCOMPARE(tituloDe(*m_ventana), TITULO + QStringLiteral(" - sigue.vro"));
    }
}

void TstLifecycle::referenciasRotas()
{
    const QString archivo = copiarDato(QStringLiteral("referencias_rotas.vro"));
    ModalScript script;
    script.thenDismiss();
    QVERIFY(m_ventana->abrirProyecto(archivo));
    QCOMPARE(script.titulos(), QStringList(QStringLiteral("Advertencia")));
    const QString aviso = script.textos().value(0);
    QVERIFY2(aviso.contains(QStringLiteral("ROTA: transición tr0 de A hacia estado9")), qPrintable(aviso));
    QVERIFY2(aviso.contains(QStringLiteral("ROTA: transición tr2 de A hacia otro1")), qPrintable(aviso));
    QVERIFY2(aviso.contains(QStringLiteral("ROTA: estado inicial estado7")), qPrintable(aviso));

    DiagramScene *scene = m_ventana->sceneList().value(0);
    QVERIFY(scene);
    QVERIFY(!scene->initialStateItem());
    const QList<DiagramItem *> estados = scene->itemList();
    QCOMPARE(estados.size(), 2);
    for (const DiagramItem *e : estados)
        QVERIFY(!e->isEstadoInicial());
    // A -> B (bad points, default placement) and B -> A survive; A's arrows
    // to estado9 and to "otro1" are dropped.
    QCOMPARE(estados.at(0)->arrows().size(), 2);
    QCOMPARE(estados.at(1)->arrows().size(), 2);
    for (const Arrow *a : estados.at(0)->arrows()) {
        QVERIFY(qIsFinite(a->midItem()->scenePos().x()));
        QVERIFY(qAbs(a->textRelativePos().x()) < 1e6);
    }

    // Past ten names the warning gives only how many more there are.
    XmlHandler muchas(QStringLiteral("muchas"), XmlHandler::NUEVO_XML_DATOS);
    muchas.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("muchas"));
    muchas.setContenidoGeneral(QStringLiteral("carpeta"), m_tmp->path());
    muchas.addNuevaMaquina();
    muchas.addInfoMaquina(QStringLiteral("maquina0"), QStringLiteral("M"));
    muchas.addNuevoEstado(QStringLiteral("estado0"));
    for (int j = 0; j < 12; ++j)
        muchas.addNuevaTransicion("estado0", QStringLiteral("tr%1").arg(j), "ev", "", "estado9", "0,0",
                                  "0,0");
    QVERIFY(muchas.save());
    ModalScript otro;
    otro.thenDismiss();
    QVERIFY(m_ventana->abrirProyecto(m_tmp->path() + QStringLiteral("/muchas.vro")));
    const QStringList lineas = otro.textos().value(0).split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 12);
    QVERIFY2(lineas.at(10).contains(QStringLiteral("transición tr9 ")), qPrintable(lineas.at(10)));
    QCOMPARE(lineas.at(11), QStringLiteral("(y 2 más)"));
}

void TstLifecycle::ejemplos_data()
{
    QTest::addColumn<QString>("archivo");
    const QDir dir(QStringLiteral(VIREO_SOURCE_DIR "/examples"));
    const QStringList archivos = dir.entryList({QStringLiteral("*.vro")}, QDir::Files);
    QVERIFY(archivos.size() >= 2);
    for (const QString &archivo : archivos)
        QTest::newRow(qPrintable(archivo)) << dir.filePath(archivo);
}

// The examples other parts of Vireo are tried on: each opens cleanly, gives
// every machine an initial state, uses C names, and saves back unchanged.
void TstLifecycle::ejemplos()
{
    QFETCH(QString, archivo);
    const QString copia = m_tmp->path() + QLatin1Char('/') + QFileInfo(archivo).fileName();
    QVERIFY(QFile::copy(archivo, copia));
    ModalScript script;
    script.thenDismiss();
    QVERIFY(m_ventana->abrirProyecto(copia));
    QVERIFY2(script.titulos().isEmpty(), qPrintable(script.textos().join(QLatin1Char('\n'))));

    static const QRegularExpression identificador(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QRegularExpression asignacion(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]* [-+*/%]?= \\S+$"));
    bool lazo = false;
    bool asigna = false;
    QVERIFY(!m_ventana->sceneList().isEmpty());
    for (const DiagramScene *scene : m_ventana->sceneList()) {
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
    QVERIFY(lazo);
    QVERIFY(asigna);

    QVERIFY(m_ventana->guardarDatos());
    const QByteArray original =
        normalizar(TestSupport::readFile(archivo), QStringLiteral("/tmp/vireo-ejemplos"));
    const QByteArray guardado = normalizar(TestSupport::readFile(copia), m_tmp->path());
    QVERIFY2(guardado == original, qPrintable(TestSupport::diffReport(original, guardado)));
}

QTEST_MAIN(TstLifecycle)
#include "tst_lifecycle.moc"
