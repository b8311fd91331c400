#include "diagramscene.h"
#include "imagendiagrama.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QGraphicsView>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

namespace {

const QString kExito =
    QStringLiteral("Generar Documentación|Se ha creado con éxito la documentación del proyecto.");
const QChar kImagen = QChar::ObjectReplacementCharacter;

QStringList imagenes(const QTextDocument &documento)
{
    QStringList nombres;
    for (QTextBlock b = documento.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                nombres << it.fragment().charFormat().toImageFormat().name();
        }
    }
    return nombres;
}

} // namespace

// "Documentar": a page with the project's data, a picture per machine and
// the catalogue, in a folder next to the project.
class TestDocumentacion : public QObject
{
    Q_OBJECT

    VentanaPrueba *m_v = nullptr;

    QString doc(const QString &archivo = QString()) const
    {
        return m_v->ruta("doc_prueba") + (archivo.isEmpty() ? QString() : '/' + archivo);
    }

    // Runs "Documentar" and returns the message boxes it showed as
    // "title|text".
    QStringList documentar()
    {
        ModalScript script;
        script.thenDismiss().thenDismiss();
        m_v->accion("actionGenerarDocumentacion")->trigger();
        QStringList mensajes;
        for (int i = 0; i < script.titulos().size(); ++i)
            mensajes << script.titulos().at(i) + '|' + script.textos().at(i);
        return mensajes;
    }

private slots:
    void init()
    {
        m_v = new VentanaPrueba;
        QVERIFY(ProyectoDescrito::escribir(
            m_v->ruta("prueba.vro"), "eventos ev_a raro(x\nacciones encender()\nmaquina MdE1\ninicial A\n"
                                     "A -> B : ev_a / encender()\nmaquina MdE2\nestado C\n"));
        QVERIFY((*m_v)->abrirProyecto(m_v->ruta("prueba.vro")));
        (*m_v)->documento()->setContenidoGeneral("autores", "ANA");
        // Only calls are listed as actions.
        (*m_v)->documento()->addNuevaAccion("x = 1");
        (*m_v)->documento()->addNuevaAccion("apagar()");
    }
    void cleanup() { delete m_v; }

    // The page names its pictures relative to itself, so a copy of the folder
    // shows them wherever it is put.
    void paginaEImagenes()
    {
        QCOMPARE(documentar(), QStringList(kExito));
        QCOMPARE(QDir(doc()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"indexDoc.html", "logoAlderhall.png", "pruebaPantalla0.png",
                              "pruebaPantalla1.png"}));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(
                QImage(doc(QString("pruebaPantalla%1.png").arg(i))).convertToFormat(QImage::Format_RGB32),
                ImagenDiagrama((*m_v)->sceneList().at(i)).imagen());
        QCOMPARE(TestSupport::readFile(doc("logoAlderhall.png")),
                 TestSupport::readFile(":/img/img/logoAlderhall.png"));

        QTemporaryDir otro;
        const QString destino = otro.filePath("en/otra/parte");
        QVERIFY(QDir().mkpath(otro.filePath("en/otra")) && QDir().rename(doc(), destino));
        QTextBrowser navegador;
        navegador.setSource(QUrl::fromLocalFile(destino + "/indexDoc.html"));
        const QString fecha = (*m_v)->documento()->getContenidoGeneral("modificacion");
        QCOMPARE(
            navegador.document()->toPlainText(),
            kImagen +
                QString("\n\nVireo - Alderhall\n\nSoftware didactico-profesional para modelado, depuracion e "
                        "implementacion de aplicaciones industriales sobre sistemas embebidos\n\nProyecto: "
                        "prueba\nAutor: ANA\nModificacion: ") +
                fecha + "\n\n\nDiagrama de estados - MdE1\n\n\n" + kImagen +
                "\n\nDiagrama de estados - MdE2\n\n\n" + kImagen +
                "\n\n\n\n\nListado de eventos\nvoid ev_a() ;\nvoid raro(x() ;\n"
                "\n\nListado de acciones\nvoid encender() ;\nvoid apagar() ;\n");
        const QStringList nombres = imagenes(*navegador.document());
        QCOMPARE(nombres, (QStringList{"logoAlderhall.png", "pruebaPantalla0.png", "pruebaPantalla1.png"}));
        for (const QString &nombre : nombres)
            QVERIFY2(navegador.document()->resource(QTextDocument::ImageResource, QUrl(nombre)).isValid(),
                     qPrintable(nombre));
    }

    // A second run rewrites the page and the pictures but keeps a logo the
    // school put there; the picture is the diagram, not the view.
    void segundaVez()
    {
        documentar();
        const QByteArray imagen = TestSupport::readFile(doc("pruebaPantalla0.png"));
        QVERIFY(TestSupport::writeFile(doc("logoAlderhall.png"), "el logo de la escuela"));
        XmlHandler *datos = (*m_v)->documento();
        for (int i = datos->cantidadEventos() - 1; i >= 0; --i)
            datos->borrarEvento(i);
        for (int i = datos->cantidadAcciones() - 1; i >= 0; --i)
            datos->borrarAccion(i);
        datos->addNuevoEvento("ev_nuevo");
        QGraphicsView *vista = (*m_v)->viewOf((*m_v)->sceneList().first());
        vista->scale(2, 2);
        vista->centerOn(-1000, -700);
        QCOMPARE(documentar(), QStringList(kExito));
        QCOMPARE(TestSupport::readFile(doc("logoAlderhall.png")), QByteArray("el logo de la escuela"));
        QCOMPARE(TestSupport::readFile(doc("pruebaPantalla0.png")), imagen);
        QTextDocument pagina;
        pagina.setHtml(QString::fromUtf8(TestSupport::readFile(doc("indexDoc.html"))));
        QVERIFY(pagina.toPlainText().endsWith(
            "\n\n\n\n\nListado de eventos\nvoid ev_nuevo() ;\n\n\nListado de acciones\n"));
    }

    void archivoQueNoSePuedeEscribir()
    {
        QVERIFY(QDir().mkpath(doc("pruebaPantalla1.png")));
        QCOMPARE(documentar(), QStringList("Generar Documentación|No se pudo escribir el archivo \n" +
                                           doc("pruebaPantalla1.png")));
        QVERIFY(!QFile::exists(doc("indexDoc.html")));
    }
};

QTEST_MAIN(TestDocumentacion)
#include "tst_documentacion.moc"
