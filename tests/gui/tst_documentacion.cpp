#include "diagramscene.h"
#include "imagendiagrama.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

namespace {

const QString kExito = QStringLiteral("Se ha creado con éxito la documentación del proyecto.");
const QString kDescripcion =
    QStringLiteral("Software didactico-profesional para modelado, depuracion e "
                   "implementacion de aplicaciones industriales sobre sistemas embebidos");
const QChar kImagen = QChar::ObjectReplacementCharacter;

struct Fragmento
{
    QString texto;
    QTextCharFormat formato;
};

QList<Fragmento> fragmentos(const QTextDocument &documento)
{
    QList<Fragmento> lista;
    for (QTextBlock b = documento.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            lista << Fragmento{it.fragment().text(), it.fragment().charFormat()};
    }
    return lista;
}

QStringList imagenes(const QTextDocument &documento)
{
    QStringList nombres;
    for (const Fragmento &f : fragmentos(documento)) {
        if (f.formato.isImageFormat())
            nombres << f.formato.toImageFormat().name();
    }
    return nombres;
}

QTextCharFormat formatoDe(const QTextDocument &documento, const QString &texto)
{
    for (const Fragmento &f : fragmentos(documento)) {
        if (f.texto == texto)
            return f.formato;
    }
    return QTextCharFormat();
}

bool copiarCarpeta(const QString &desde, const QString &hasta)
{
    if (!QDir().mkpath(hasta))
        return false;
    for (const QString &nombre : QDir(desde).entryList(QDir::Files)) {
        if (!QFile::copy(desde + '/' + nombre, hasta + '/' + nombre))
            return false;
    }
    return true;
}

} // namespace

class TestDocumentacion : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    MainWindow *m_ventana = nullptr;

    QString doc(const QString &archivo = QString()) const
    {
        return m_dir->filePath("demo/doc_demo") + (archivo.isEmpty() ? QString() : '/' + archivo);
    }

    // Runs "Documentar" and returns the message boxes it showed as
    // "title|text".
    QStringList documentar()
    {
        ModalScript script;
        script.thenDismiss().thenDismiss();
        m_ventana->findChild<QAction *>("actionGenerarDocumentacion")->trigger();
        QStringList mensajes;
        for (int i = 0; i < script.titulos().size(); ++i)
            mensajes << script.titulos().at(i) + '|' + script.textos().at(i);
        return mensajes;
    }

    QTextDocument *pagina(QObject *padre)
    {
        auto *documento = new QTextDocument(padre);
        documento->setHtml(QString::fromUtf8(TestSupport::readFile(doc("indexDoc.html"))));
        return documento;
    }

    void zoom(DiagramScene *scene, const QString &texto)
    {
        auto *area = m_ventana->findChild<QMdiArea *>("mdiArea");
        area->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(m_ventana->viewOf(scene)->parentWidget()));
        for (QComboBox *combo : m_ventana->findChildren<QComboBox *>()) {
            if (combo->findText(texto) >= 0)
                combo->setCurrentIndex(combo->findText(texto));
        }
        QCOMPARE(m_ventana->viewOf(scene)->transform().m11(), texto.chopped(1).toDouble() / 100);
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_ventana = new MainWindow;
        m_ventana->resize(1200, 800);
        m_ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ventana));
        QVERIFY(ProyectoPrueba::crear(*m_ventana, m_dir->filePath("demo"), "demo", "ANA"));
        XmlHandler *datos = m_ventana->documento();
        datos->addNuevoEvento("ev_a");
        datos->addNuevoEvento("raro(x");
        datos->addNuevaAccion("encender()");
        datos->addNuevaAccion("x = 1");
        datos->addNuevaAccion("apagar()");
        DiagramScene *mde1 = ProyectoPrueba::maquina(*m_ventana, "MdE1");
        DiagramItem *a = ProyectoPrueba::estado(mde1, "A", QPointF(-150, 0));
        ProyectoPrueba::transicion(mde1, a, ProyectoPrueba::estado(mde1, "B", QPointF(150, 0)), "ev_a",
                                   {"encender()"});
        ProyectoPrueba::inicial(mde1, a);
        ProyectoPrueba::estado(ProyectoPrueba::maquina(*m_ventana, "MdE2"), "C", QPointF(0, 0));
    }
    void cleanup()
    {
        delete m_ventana;
        delete m_dir;
    }

    void archivosYMensaje()
    {
        QCOMPARE(documentar(), QStringList("Generar Documentación|" + kExito));
        QCOMPARE(QDir(doc()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"indexDoc.html", "logoAlderhall.png", "pruebaPantalla0.png",
                              "pruebaPantalla1.png"}));
        for (int i = 0; i < 2; ++i) {
            const QImage imagen(doc(QString("pruebaPantalla%1.png").arg(i)));
            QCOMPARE(imagen.convertToFormat(QImage::Format_RGB32),
                     ImagenDiagrama(m_ventana->sceneList().at(i)).imagen());
        }
        QCOMPARE(TestSupport::readFile(doc("logoAlderhall.png")),
                 TestSupport::readFile(":/img/img/logoAlderhall.png"));
        QVERIFY(!QImage(doc("logoAlderhall.png")).isNull());
    }

    void contenidoDeLaPagina()
    {
        documentar();
        QScopedPointer<QTextDocument> documento(pagina(nullptr));
        const QString fecha = m_ventana->documento()->getContenidoGeneral("modificacion");
        const QString esperado = kImagen + QString("\n\nVireo - Alderhall\n\n") + kDescripcion +
                                 "\n\nProyecto: demo\nAutor: ANA\nModificacion: " + fecha +
                                 "\n\n\nDiagrama de estados - MdE1\n\n\n" + kImagen +
                                 "\n\nDiagrama de estados - MdE2\n\n\n" + kImagen +
                                 "\n\n\n\n\nListado de eventos\nvoid ev_a() ;\nvoid raro(x() ;\n"
                                 "\n\nListado de acciones\nvoid encender() ;\nvoid apagar() ;\n";
        QCOMPARE(documento->toPlainText(), esperado);
        QCOMPARE(imagenes(*documento),
                 (QStringList{"logoAlderhall.png", "pruebaPantalla0.png", "pruebaPantalla1.png"}));

        const QTextCharFormat titulo = formatoDe(*documento, "Vireo - Alderhall");
        QCOMPARE(titulo.foreground().color(), QColor(Qt::darkBlue));
        QCOMPARE(titulo.fontPointSize(), 20.0);
        QCOMPARE(titulo.fontWeight(), 75);
        for (const char *texto :
             {"Diagrama de estados - MdE2", "Listado de eventos", "Listado de acciones"}) {
            const QTextCharFormat encabezado = formatoDe(*documento, texto);
            QCOMPARE(encabezado.foreground().color(), QColor(Qt::red));
            QCOMPARE(encabezado.fontPointSize(), 12.0);
            QCOMPARE(encabezado.fontWeight(), 75);
        }
        for (const char *texto : {"Proyecto: demo", "void apagar() ;"}) {
            const QTextCharFormat cuerpo = formatoDe(*documento, texto);
            QCOMPARE(cuerpo.foreground().color(), QColor(Qt::black));
            QCOMPARE(cuerpo.fontPointSize(), 12.0);
            QCOMPARE(cuerpo.fontWeight(), 75);
        }
    }

    void sinEventosNiAcciones()
    {
        XmlHandler *datos = m_ventana->documento();
        for (int i = datos->cantidadEventos() - 1; i >= 0; --i)
            datos->borrarEvento(i);
        for (int i = datos->cantidadAcciones() - 1; i >= 0; --i)
            datos->borrarAccion(i);
        documentar();
        QScopedPointer<QTextDocument> documento(pagina(nullptr));
        QVERIFY(documento->toPlainText().endsWith("\n\n\n\n\nListado de eventos\n\n\nListado de acciones\n"));
    }

    // The page names its pictures relative to itself, so a copy of the folder
    // shows them wherever it is put.
    void carpetaMovida()
    {
        documentar();
        QTemporaryDir otro;
        const QString destino = otro.filePath("en/otra/parte");
        QVERIFY(copiarCarpeta(doc(), destino));
        QVERIFY(QDir(doc()).removeRecursively());
        QTextBrowser navegador;
        navegador.setSource(QUrl::fromLocalFile(destino + "/indexDoc.html"));
        const QStringList nombres = imagenes(*navegador.document());
        QCOMPARE(nombres.size(), 3);
        for (const QString &nombre : nombres) {
            QVERIFY2(QDir::isRelativePath(nombre), qPrintable(nombre));
            const QVariant recurso =
                navegador.document()->resource(QTextDocument::ImageResource, QUrl(nombre));
            QVERIFY2(recurso.isValid(), qPrintable(nombre));
            QVERIFY2(!QImage(destino + '/' + nombre).isNull(), qPrintable(nombre));
        }
    }

    void segundaVezConservaElLogo()
    {
        documentar();
        QFile logo(doc("logoAlderhall.png"));
        QVERIFY(logo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        logo.write("el logo de la escuela");
        logo.close();
        m_ventana->documento()->addNuevoEvento("ev_nuevo");
        QCOMPARE(documentar(), QStringList("Generar Documentación|" + kExito));
        QCOMPARE(TestSupport::readFile(doc("logoAlderhall.png")), QByteArray("el logo de la escuela"));
        QVERIFY(TestSupport::readFile(doc("indexDoc.html")).contains("void ev_nuevo() ;"));
    }

    // The picture is the diagram, not the view: neither the zoom nor the
    // scroll position changes it.
    void imagenIndependienteDeLaVista()
    {
        DiagramScene *scene = m_ventana->sceneList().first();
        documentar();
        const QByteArray normal = TestSupport::readFile(doc("pruebaPantalla0.png"));
        zoom(scene, "200%");
        m_ventana->viewOf(scene)->centerOn(-1000, -700);
        documentar();
        QCOMPARE(TestSupport::readFile(doc("pruebaPantalla0.png")), normal);
    }

    void archivoQueNoSePuedeEscribir()
    {
        QVERIFY(QDir().mkpath(doc("pruebaPantalla1.png")));
        const QStringList mensajes = documentar();
        QCOMPARE(mensajes, QStringList("Generar Documentación|No se pudo escribir el archivo \n" +
                                       doc("pruebaPantalla1.png")));
        QVERIFY(!QFile::exists(doc("indexDoc.html")));
    }
};

QTEST_MAIN(TestDocumentacion)
#include "tst_documentacion.moc"
