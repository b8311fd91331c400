#include "testsupport.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray anidado(int niveles)
{
    return QByteArray("<a>").repeated(niveles) + QByteArray("</a>").repeated(niveles);
}

QByteArray bombaDeEntidades()
{
    QByteArray dtd = "<?xml version=\"1.0\"?>\n<!DOCTYPE proyecto [\n<!ENTITY e0 \"jajajajajajajajajaja\">\n";
    for (int i = 1; i < 10; ++i) {
        dtd += "<!ENTITY e" + QByteArray::number(i) + " \"";
        dtd += QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10);
        dtd += "\">\n";
    }
    return dtd + "]>\n<proyecto><general><nombre>&e9;</nombre></general></proyecto>\n";
}

using TestSupport::cargar;

} // namespace

// Opening a project must never crash nor hang, whatever the file holds.
class TestXmlHandlerLoad : public QObject
{
    Q_OBJECT

private slots:
    void archivosHostiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray ejemplo = TestSupport::readFile(TestSupport::dataPath("model/ejemplo_puerta.vro"));
        QTest::newRow("no es xml") << QByteArray("esto no es un proyecto\n");
        QTest::newRow("vacio") << QByteArray();
        QTest::newRow("solo declaracion") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        QTest::newRow("truncado") << ejemplo.left(ejemplo.size() / 2);
        QTest::newRow("binario") << QByteArray("\x00\xff\xfe<\x01>", 6);
        QTest::newRow("dos raices") << QByteArray("<proyecto/><proyecto/>");
        QTest::newRow("etiquetas cruzadas") << QByteArray("<proyecto><a><b></a></b></proyecto>");
        QTest::newRow("un millon de niveles") << anidado(1000000);
        QTest::newRow("un millon sin cerrar") << QByteArray("<a>").repeated(1000000);
        QTest::newRow("demasiado profundo") << anidado(257);
        QTest::newRow("bomba de entidades") << bombaDeEntidades();
        QTest::newRow("dtd") << QByteArray("<!DOCTYPE proyecto SYSTEM \"proyecto.dtd\"><proyecto/>");
        QTest::newRow("entidad externa")
            << QByteArray("<!DOCTYPE p [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><p>&x;</p>");
        QTest::newRow("entidad no declarada") << QByteArray("<proyecto>&x;</proyecto>");
    }
    void archivosHostiles()
    {
        QFETCH(QByteArray, bytes);
        XmlHandler xml;
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(!cargar(xml, bytes));
        QVERIFY2(reloj.elapsed() < 2000, qPrintable(QString::number(reloj.elapsed())));
        QCOMPARE(xml.getContenidoGeneral("nombre"), QString("-1"));
        QCOMPARE(xml.cantidadMaquinas(), -1);
        QVERIFY(xml.toByteArray().isEmpty());
    }

    void fallaDejaElDocumentoVacio()
    {
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        QVERIFY(!cargar(xml, "<proyecto>"));
        QCOMPARE(xml.cantidadConstantes(), -1);
        QVERIFY(!xml.load(nullptr));
        QBuffer cerrado;
        QVERIFY(!xml.load(&cerrado));
    }

    // The limit is on depth: a shallow project of many elements opens.
    void profundidadRazonableSeAcepta()
    {
        XmlHandler xml;
        QVERIFY(cargar(xml, anidado(256)));
        QVERIFY(xml.toByteArray().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\n    <a>\n"));
        QVERIFY(cargar(
            xml, "<proyecto>" +
                     QByteArray("<estado0><diagrama><nombre>E</nombre></diagrama></estado0>").repeated(300) +
                     "</proyecto>"));
    }

    void bienFormadoSinElementosDaCentinelas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("solo raiz") << QByteArray("<proyecto/>");
        QTest::newRow("otra raiz") << QByteArray("<otro><general><nombre>x</nombre></general></otro>");
        QTest::newRow("maquina sin hijos")
            << QByteArray("<proyecto><maquinas><maquina0/></maquinas></proyecto>");
        QTest::newRow("estado sin diagrama") << QByteArray(
            "<proyecto><maquinas><maquina0><nombre>M</nombre><estadoInicial><idProxEstado>estado0"
            "</idProxEstado></estadoInicial><estado0><transiciones/></estado0></maquina0>"
            "</maquinas></proyecto>");
        QTest::newRow("texto en grupos")
            << QByteArray("<proyecto>suelto<maquinas>x<maquina0>y<nombre>M</nombre>z</maquina0></maquinas>"
                          "<eventos>w</eventos></proyecto>");
        QTest::newRow("prefijo") << QByteArray("<proyecto><x:otro>1</x:otro></proyecto>");
        QTest::newRow("instruccion y cdata")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><?otra cosa?><proyecto><eventos>"
                          "<ev0><![CDATA[a<b]]></ev0></eventos></proyecto>");
    }
    void bienFormadoSinElementosDaCentinelas()
    {
        QFETCH(QByteArray, bytes);
        XmlHandler xml;
        QVERIFY(cargar(xml, bytes));
        // Every reader answers with a sentinel or a value, never a crash.
        const int maquinas = xml.cantidadMaquinas();
        QVERIFY(maquinas >= -1);
        QVERIFY(xml.cantidadEstados() >= -1);
        QVERIFY(xml.cantidadTransiciones("estado0") >= -1);
        xml.getEstadoInicial();
        xml.getContenidoDiagrama("estado0", "nombre");
        xml.getContenidoTransicion("estado0", "tr0", "idEvento");
        xml.getNombresEventosDefinidos();
        xml.addNuevoEvento("e");
        xml.borrarEvento(0);
        xml.borrarMaquinas();
        xml.addNuevaMaquina();
        xml.addNuevoEstado("estado0");
        xml.addInfoEstado("estado0", "E", "#ffffff", "0", "0", "120", "60");
        xml.setInfoEstadoInicial("0", "0", "", "estado0", "0,0", "0,0");
        // Whatever was read, what is written reads again; only the empty
        // "idAcciones" set above comes back without content.
        XmlHandler releido;
        QVERIFY(cargar(releido, xml.toByteArray()));
        QCOMPARE(releido.toByteArray(),
                 xml.toByteArray().replace("<idAcciones></idAcciones>", "<idAcciones/>"));
    }

    void valoresDeUnEstadoSinDiagrama()
    {
        XmlHandler xml;
        QVERIFY(cargar(xml,
                       "<proyecto><maquinas><maquina0><nombre>M</nombre><estadoInicial><idProxEstado>"
                       "estado0</idProxEstado></estadoInicial><estado0/></maquina0></maquinas></proyecto>"));
        QCOMPARE(xml.getEstadoInicial(), QString(""));
        QCOMPARE(xml.getContenidoInicial("pos_x"), QString("-1"));
        QCOMPARE(xml.getContenidoInicial("midPos"), QString("-1"));
        QCOMPARE(xml.getContenidoInicial("idProxEstado"), QString("estado0"));
        QCOMPARE(xml.cantidadEstados(), 1);
    }

    // Damaged copies of a real project: each either loads, and then writes a
    // file that loads again, or is refused; none may crash.
    void archivosDanados()
    {
        const QByteArray ejemplo = TestSupport::readFile(TestSupport::dataPath("model/ejemplo_puerta.vro"));
        const QByteArray especiales = "<>&;/!?-[]\"'=\0\x80\xff";
        QRandomGenerator azar(20240305);
        int aceptados = 0;
        for (int intento = 0; intento < 3000; ++intento) {
            QByteArray bytes = ejemplo;
            for (int cambios = azar.bounded(1, 4); cambios > 0; --cambios) {
                const int pos = azar.bounded(bytes.size());
                switch (azar.bounded(3)) {
                case 0:
                    bytes[pos] = especiales.at(azar.bounded(especiales.size()));
                    break;
                case 1:
                    bytes.remove(pos, azar.bounded(1, 40));
                    break;
                default:
                    bytes.insert(pos, bytes.mid(azar.bounded(bytes.size()), azar.bounded(1, 40)));
                    break;
                }
            }
            XmlHandler xml;
            if (!cargar(xml, bytes))
                continue;
            ++aceptados;
            xml.getEstadoInicial();
            xml.getNombresEventosDefinidos();
            XmlHandler releido;
            QVERIFY(cargar(releido, xml.toByteArray()));
            QCOMPARE(releido.toByteArray(), xml.toByteArray());
        }
        QVERIFY(aceptados > 0);
    }

    void doceEstados()
    {
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        xml.addNuevaMaquina();
        for (int i = 0; i < 12; ++i) {
            const QString id = "estado" + QString::number(i);
            xml.addNuevoEstado(id);
            xml.addInfoEstado(id, "E" + QString::number(i), "#ffffff", "0", "0", "120", "60");
        }
        xml.addNuevaTransicion("estado0", "tr0", "ev", "", "estado11", "0,0", "0,0");
        xml.addNuevaTransicion("estado3", "tr0", "ev", "", "estado3", "0,0", "0,0");
        XmlHandler leido;
        QVERIFY(cargar(leido, xml.toByteArray()));
        QCOMPARE(leido.cantidadEstados(), 12);
        const QString destino = leido.getContenidoTransicion("estado0", "tr0", "idProxEstado");
        QCOMPARE(destino.mid(6).toInt(), 11);
        QCOMPARE(leido.getContenidoDiagrama(destino, "nombre"), QString("E11"));
        QCOMPARE(leido.getContenidoTransicion("estado3", "tr0", "idProxEstado"), QString("estado3"));
    }
};

QTEST_GUILESS_MAIN(TestXmlHandlerLoad)
#include "tst_xmlhandler_load.moc"
