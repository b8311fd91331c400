#include "escritormaquina.h"
#include "testsupport.h"
#include "xmlhandler.h"
#include "xmlserializer.h"

#include <QBuffer>
#include <QDateTime>
#include <QRandomGenerator>
#include <QTextCodec>
#include <QtTest>
#include <array>
#include <memory>

namespace {

const QString kFecha = QStringLiteral("05-03-2024 10:15:00");

void llenarGeneral(XmlHandler &xml, const QString &autores, const QString &modificacion,
                   const QString &carpeta = QStringLiteral("C:/proyectos/PUERTA"))
{
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("PUERTA"));
    xml.setContenidoGeneral(QStringLiteral("autores"), autores);
    xml.setContenidoGeneral(QStringLiteral("creacion"), kFecha);
    xml.setContenidoGeneral(QStringLiteral("modificacion"), modificacion);
    xml.setContenidoGeneral(QStringLiteral("carpeta"), carpeta);
}

// What the new-project command does.
void nuevoProyecto(XmlHandler &xml)
{
    llenarGeneral(xml, QString(""), kFecha);
    xml.addNuevaConstante(QStringLiteral("TRUE"));
    xml.addNuevaConstante(QStringLiteral("FALSE"));
}

// The door machine, with initial state, an empty action and a state without
// transitions.
void maquinaPuerta(EscritorMaquina &maquina)
{
    const QString blanco = QStringLiteral("#ffffff");
    maquina.estadoInicial(XmlHandler::formatoNumero(-240), XmlHandler::formatoNumero(-160), "", "estado0",
                          XmlHandler::formatoPunto(-190, -110), XmlHandler::formatoPunto(0, 0));
    maquina.estado("estado0", "CERRADA", blanco, XmlHandler::formatoNumero(-100.0),
                   XmlHandler::formatoNumero(-50.0), XmlHandler::formatoNumero(120.0),
                   XmlHandler::formatoNumero(60.0));
    maquina.transicion("tr0", "ev_abrir", "motor_on()", "estado1", XmlHandler::formatoPunto(75, -80),
                       XmlHandler::formatoPunto(QPointF(10, -20)));
    maquina.estado("estado1", "ABIERTA", blanco, XmlHandler::formatoNumero(250.0),
                   XmlHandler::formatoNumero(-50.0), XmlHandler::formatoNumero(120.0),
                   XmlHandler::formatoNumero(60.0));
}

// No initial state, texts to escape, characters beyond ASCII (one of them a
// surrogate pair in UTF-16) and empty values.
void maquinaRara(EscritorMaquina &maquina)
{
    maquina.estado("estado0", QString::fromUtf8("a&b<c ñandú 😀"), "#ff0000", "1.5", "0", "", "");
    maquina.transicion("tr0", "", "", "estado0", "0,0", "0,0");
}

void sinNada(EscritorMaquina &) {}

using Escritura = void (*)(EscritorMaquina &);

// The door project, its machine written as the save step writes machines:
// with the single-pass machine writer.
void proyectoPuerta(XmlHandler &xml)
{
    llenarGeneral(xml, QStringLiteral("ANA"), QStringLiteral("05-03-2024 11:02:41"));
    xml.addNuevaConstante(QStringLiteral("TRUE"));
    xml.addNuevaConstante(QStringLiteral("FALSE"));
    xml.addNuevoEvento(QStringLiteral("ev_abrir"));
    xml.addNuevaAccion(QStringLiteral("motor_on()"));
    xml.borrarMaquinas();
    EscritorMaquina maquina(xml, QStringLiteral("maquina0"), QStringLiteral("CONTROL"));
    maquinaPuerta(maquina);
}

// The odd machine first: the door comes after characters of more than one
// byte.
const XmlHandler &puertaYRara()
{
    static const std::unique_ptr<XmlHandler> xml = [] {
        auto nuevo = std::make_unique<XmlHandler>(QStringLiteral("PUERTA"), XmlHandler::NUEVO_XML_DATOS);
        {
            EscritorMaquina rara(*nuevo, QStringLiteral("maquina0"), QString::fromUtf8("ÑANDÚ"));
            maquinaRara(rara);
        }
        EscritorMaquina puerta(*nuevo, QStringLiteral("maquina1"), QStringLiteral("CONTROL"));
        maquinaPuerta(puerta);
        return nuevo;
    }();
    return *xml;
}

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

QStringList etiquetasEventos(const XmlHandler &xml)
{
    QStringList texto;
    for (int i = 0; i < xml.cantidadEventos(); ++i)
        texto << xml.getContenidoEvento(QStringLiteral("ev") + QString::number(i));
    return texto;
}

} // namespace

class TestXmlHandler : public QObject
{
    Q_OBJECT

private slots:
    void ejemploSeEscribeByteAByte_data()
    {
        QTest::addColumn<QString>("archivo");
        QTest::newRow("nuevo proyecto") << "nuevo_proyecto.vro";
        QTest::newRow("puerta") << "ejemplo_puerta.vro";
    }
    void ejemploSeEscribeByteAByte()
    {
        QFETCH(QString, archivo);
        XmlHandler xml(QStringLiteral("PUERTA"), XmlHandler::NUEVO_XML_DATOS);
        if (archivo.startsWith("nuevo"))
            nuevoProyecto(xml);
        else
            proyectoPuerta(xml);
        const QByteArray esperado = TestSupport::readFile(TestSupport::dataPath("model/" + archivo));
        QVERIFY(!esperado.isEmpty());
        const QByteArray escrito = xml.toByteArray();
        QVERIFY2(escrito == esperado, qPrintable(TestSupport::diffReport(esperado, escrito)));
    }

    void ejemploLeidoSeReescribeIgual()
    {
        const QByteArray original = TestSupport::readFile(TestSupport::dataPath("model/ejemplo_puerta.vro"));
        XmlHandler xml;
        QVERIFY(cargar(xml, original));
        // The empty "idAcciones" was read back without content, so it becomes
        // an empty-element tag until it is set again.
        QByteArray esperado = original;
        esperado.replace("<idAcciones></idAcciones>", "<idAcciones/>");
        QCOMPARE(xml.toByteArray(), esperado);
        xml.setContenidoInicial("idAcciones", "", "maquina0");
        QCOMPARE(xml.toByteArray(), original);
    }

    void borrarCatalogo_data()
    {
        QTest::addColumn<QStringList>("nombres");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("quedan");
        const QStringList cuatro{"a", "b", "c", "d"};
        QTest::newRow("medio") << cuatro << 1 << QStringList{"a", "c", "d"};
        QTest::newRow("primero") << QStringList{"a", "b", "c"} << 0 << QStringList{"b", "c"};
        QTest::newRow("ultimo") << QStringList{"a", "b", "c"} << 2 << QStringList{"a", "b"};
        QTest::newRow("unico") << QStringList{"a"} << 0 << QStringList{};
        QTest::newRow("fuera de rango") << cuatro << 4 << cuatro;
        QTest::newRow("negativo") << cuatro << -1 << cuatro;
    }
    void borrarCatalogo()
    {
        QFETCH(QStringList, nombres);
        QFETCH(int, index);
        QFETCH(QStringList, quedan);
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        for (const QString &nombre : nombres) {
            xml.addNuevoEvento(nombre);
            xml.addNuevaAccion(nombre + "()");
            xml.addNuevaVariable(nombre);
        }
        xml.borrarEvento(index);
        xml.borrarAccion(index);
        xml.borrarVariable(index);
        QCOMPARE(etiquetasEventos(xml), quedan);
        QCOMPARE(xml.getNombresEventosDefinidos(), quedan);
        QCOMPARE(xml.getNombresVariablesDefinidas(), quedan);
        QStringList acciones;
        for (const QString &nombre : quedan)
            acciones << nombre + "()";
        QCOMPARE(xml.getNombresAccionesDefinidas(), acciones);
        QCOMPARE(xml.cantidadEventos(), quedan.size());
    }

    void escritorEnBytesComoEnDocumento_data()
    {
        QTest::addColumn<int>("caso");
        QTest::newRow("puerta") << 0;
        QTest::newRow("rara") << 1;
        QTest::newRow("sin estados") << 2;
    }
    void escritorEnBytesComoEnDocumento()
    {
        QFETCH(int, caso);
        const Escritura escribir = std::array<Escritura, 3>{maquinaPuerta, maquinaRara, sinNada}.at(caso);
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        {
            EscritorMaquina enDocumento(xml, QStringLiteral("maquina3"), QStringLiteral("M"));
            escribir(enDocumento);
        }
        EscritorMaquina enBytes(QStringLiteral("maquina3"), QStringLiteral("M"));
        escribir(enBytes);
        QCOMPARE(enBytes.bytes(), xml.maquinaToByteArray(QStringLiteral("maquina3")));
    }

    // A file holds its machines as Vireo writes them only when it was written
    // so, empty elements aside; a document that takes them as such then writes
    // the file again. Bytes in another encoding are never taken for the
    // machines.
    void maquinasLeidas_data()
    {
        QTest::addColumn<QByteArray>("archivo");
        QTest::addColumn<int>("guardadas");
        QTest::addColumn<bool>("comoSeEscriben");
        const QByteArray escrito = puertaYRara().toByteArray();
        QByteArray comentado = escrito;
        comentado.replace("        <maquina1>", "        <!-- a mano -->\n        <maquina1>");
        QByteArray tabulado = escrito;
        tabulado.replace("\n            <nombre>", "\n\t\t\t<nombre>");
        QString declarado = QString::fromUtf8(escrito);
        declarado.replace(QStringLiteral("UTF-8"), QStringLiteral("GB18030"));
        QTextCodec *gb18030 = QTextCodec::codecForName("GB18030");
        QVERIFY(gb18030);
        QString cerrados = QString::fromUtf8(escrito);
        cerrados.replace(QRegularExpression(QStringLiteral("<(\\w+)></\\1>")), QStringLiteral("<\\1/>"));
        QByteArray vaciado = escrito;
        vaciado.replace("<pos_y>0</pos_y>", "<pos_y/>");
        QTest::newRow("como Vireo los escribe") << escrito << 2 << true;
        QTest::newRow("vacíos cerrados al momento") << cerrados.toUtf8() << 2 << true;
        QTest::newRow("un valor vaciado") << vaciado << 2 << false;
        QTest::newRow("comentario entre máquinas") << comentado << 2 << true;
        QTest::newRow("otra sangría") << tabulado << 2 << false;
        QTest::newRow("declarado en GB18030") << gb18030->fromUnicode(declarado) << 0 << false;
        QTest::newRow("con marca de orden") << QByteArray("\xEF\xBB\xBF") + escrito << 0 << false;
    }
    void maquinasLeidas()
    {
        QFETCH(QByteArray, archivo);
        QFETCH(int, guardadas);
        QFETCH(bool, comoSeEscriben);
        XmlHandler leido;
        QVERIFY(leido.load(archivo));
        const QVector<QByteArray> leidas = leido.tomarMaquinasLeidas();
        QVERIFY(leido.tomarMaquinasLeidas().isEmpty());
        QCOMPARE(leidas.size(), guardadas);
        const XmlHandler &original = puertaYRara();
        const bool iguales =
            guardadas == 2 &&
            XmlSerializer::leeIgual(original.maquinaToByteArray(QStringLiteral("maquina0")), leidas.at(0)) &&
            XmlSerializer::leeIgual(original.maquinaToByteArray(QStringLiteral("maquina1")), leidas.at(1));
        QCOMPARE(iguales, comoSeEscriben);
        if (!iguales)
            return;
        leido.completarMaquinasLeidas();
        QCOMPARE(leido.toByteArray(), original.toByteArray());
    }

    // Only an element with nothing in it may be closed either way.
    void leeIgual_data()
    {
        QTest::addColumn<QByteArray>("escritos");
        QTest::addColumn<QByteArray>("leidos");
        QTest::addColumn<bool>("igual");
        QTest::newRow("cerrado al momento")
            << QByteArray("<a>\n<t></t>\n</a>") << QByteArray("<a>\n<t/>\n</a>") << true;
        QTest::newRow("con etiqueta de cierre")
            << QByteArray("<a><t/></a>") << QByteArray("<a><t></t></a>") << true;
        QTest::newRow("con texto") << QByteArray("<a><t>x</t></a>") << QByteArray("<a><t/></a>") << false;
        QTest::newRow("cierre de otro") << QByteArray("<a><t></u></a>") << QByteArray("<a><t/></a>") << false;
        QTest::newRow("nombre más largo")
            << QByteArray("<a><tt></tt></a>") << QByteArray("<a><t/></a>") << false;
        QTest::newRow("barra en el texto")
            << QByteArray("<a>x/></a>") << QByteArray("<a>x></a></a>") << false;
        QTest::newRow("sobra al final") << QByteArray("<t></t>") << QByteArray("<t/>x") << false;
    }
    void leeIgual()
    {
        QFETCH(QByteArray, escritos);
        QFETCH(QByteArray, leidos);
        QFETCH(bool, igual);
        QCOMPARE(XmlSerializer::leeIgual(escritos, leidos), igual);
    }

    void centinelas()
    {
        XmlHandler vacio;
        QCOMPARE(vacio.cantidadEventos(), -1);
        QCOMPARE(vacio.getNombresEventosDefinidos(), QStringList{});
        QCOMPARE(vacio.getEstadoInicial(), QString("-1"));
        QVERIFY(!vacio.save());

        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        QVERIFY(!xml.setContenidoGeneral("hardware", "x"));
        QCOMPARE(xml.getContenidoGeneral("hardware"), QString("-1"));
        QCOMPARE(xml.getContenidoGeneral("autores"), QString(""));
        QCOMPARE(xml.cantidadMaquinas(), 0);
        QCOMPARE(xml.cantidadEstados(), -1);
        QCOMPARE(xml.getContenidoMaquina("maquina0", "nombre"), QString("-1"));
        QVERIFY(!xml.setContenidoMaquina("maquina0", "nombre", "M"));
        QVERIFY(!xml.setInfoEstadoInicial("0", "0", "", "estado0", "0,0", "0,0"));

        xml.addNuevaMaquina();
        QCOMPARE(xml.cantidadEstados(), 0);
        QCOMPARE(xml.getEstadoInicial(), QString("-1"));
        xml.addInfoMaquina("maquina0", "M");
        QVERIFY(xml.toByteArray().contains("    <maquinas>\n"
                                           "        <maquina0>\n"
                                           "            <nombre>M</nombre>\n"
                                           "            <estadoInicial/>\n"
                                           "        </maquina0>\n"
                                           "    </maquinas>\n"));

        QVERIFY(!xml.setContenidoEstado("estado0", "diagrama", "nombre", "E"));
        xml.addNuevaTransicion("estado0", "tr0", "e", "", "estado0", "0,0", "0,0");
        QCOMPARE(xml.cantidadTransiciones("estado0"), -1);
        QCOMPARE(xml.getContenidoTransicion("estado0", "tr0", "idEvento"), QString("-1"));
        xml.addNuevoEstado("estado0");
        QCOMPARE(xml.cantidadEstados(), 1);
        QCOMPARE(xml.cantidadTransiciones("estado0"), -1);
        QCOMPARE(xml.getContenidoDiagrama("estado0", "nombre"), QString("-1"));
        QVERIFY(xml.toByteArray().contains("        <maquina0>\n"
                                           "            <nombre>M</nombre>\n"
                                           "            <estadoInicial/>\n"
                                           "            <estado0/>\n"
                                           "        </maquina0>\n"));
    }

    void estadoInicial()
    {
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        xml.addNuevaMaquina();
        xml.addNuevoEstado("estado0");
        xml.addInfoEstado("estado0", "REPOSO", "#ffffff", "0", "0", "120", "60");
        QVERIFY(xml.setContenidoInicial("idProxEstado", "estado7", "maquina0"));
        QCOMPARE(xml.getEstadoInicial(), QString(""));
        QVERIFY(xml.setContenidoInicial("idProxEstado", "estado0", "maquina0"));
        QCOMPARE(xml.getEstadoInicial(), QString("REPOSO"));
        QCOMPARE(xml.getContenidoInicial("pos_x"), QString("-1"));
        xml.borrarEstadoInicial();
        QCOMPARE(xml.getEstadoInicial(), QString("-1"));
        QVERIFY(!xml.setContenidoInicial("idProxEstado", "estado0", "maquina1"));
    }

    void eventoNoSeAgregaSiLaEtiquetaExiste()
    {
        XmlHandler xml;
        QVERIFY(cargar(xml, "<proyecto><eventos><ev0>a</ev0><ev2>c</ev2></eventos></proyecto>"));
        QCOMPARE(xml.cantidadEventos(), 2);
        xml.addNuevoEvento("nuevo");
        QCOMPARE(xml.cantidadEventos(), 2);
        QCOMPARE(xml.getNombresEventosDefinidos(), (QStringList{"a", ""}));
        QCOMPARE(xml.getContenidoEvento("ev2"), QString("c"));
    }

    // Long lists are looked up through an index; it must keep answering the
    // first element of each tag while entries are added, removed and renamed.
    void listasLargasPrimeraCoincidencia()
    {
        QByteArray bytes = "<proyecto><eventos>";
        for (int i = 0; i < 40; ++i)
            bytes += "<ev" + QByteArray::number(i) + ">e" + QByteArray::number(i) + "</ev" +
                     QByteArray::number(i) + ">";
        bytes += "<ev5>duplicado</ev5></eventos></proyecto>";
        XmlHandler xml;
        QVERIFY(cargar(xml, bytes));
        QCOMPARE(xml.cantidadEventos(), 41);
        QCOMPARE(xml.getContenidoEvento("ev5"), QString("e5"));
        xml.addNuevoEvento("nuevo");
        QCOMPARE(xml.getContenidoEvento("ev41"), QString("nuevo"));
        xml.borrarEvento(3);
        QCOMPARE(xml.getContenidoEvento("ev3"), QString("e4"));
        QCOMPARE(xml.getContenidoEvento("ev4"), QString("e5"));
        QCOMPARE(xml.getContenidoEvento("ev5"), QString("e6"));
        QCOMPARE(xml.getContenidoEvento("ev38"), QString("e39"));
        // The shadowed duplicate keeps its tag: renumbering goes by tags.
        QCOMPARE(xml.getContenidoEvento("ev39"), QString("-1"));
        QCOMPARE(xml.getContenidoEvento("ev40"), QString("nuevo"));
        QCOMPARE(xml.getContenidoEvento("ev41"), QString("-1"));
        xml.borrarEvento(40);
        QCOMPARE(xml.getContenidoEvento("ev40"), QString("-1"));
        QCOMPARE(xml.cantidadEventos(), 40);
    }

    void comentarioEntreElementos()
    {
        XmlHandler xml;
        QVERIFY(cargar(xml, "<proyecto><maquinas><maquina0><nombre>M</nombre><!-- editado a mano -->"
                            "<estadoInicial/><estado0/><estado1/></maquina0></maquinas>"
                            "<eventos><!-- x --><ev0>a</ev0><ev1>b</ev1></eventos></proyecto>"));
        QCOMPARE(xml.cantidadEstados(), 2);
        QCOMPARE(xml.cantidadEventos(), 2);
        xml.addNuevoEvento("c");
        QCOMPARE(xml.getNombresEventosDefinidos(), (QStringList{"a", "b", "c"}));
        xml.borrarEvento(0);
        QCOMPARE(xml.getNombresEventosDefinidos(), (QStringList{"b", "c"}));
        QVERIFY(xml.toByteArray().contains("    <eventos>\n        <!-- x -->\n        <ev0>b</ev0>\n"));
    }

    void escapadoSobreviveGuardarYLeer_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QByteArray>("escrito");
        QTest::newRow("ampersand") << "a&b" << QByteArray("<ev0>a&amp;b</ev0>");
        QTest::newRow("menor") << "x<y" << QByteArray("<ev0>x&lt;y</ev0>");
        QTest::newRow("mayor") << "x >= 3" << QByteArray("<ev0>x >= 3</ev0>");
        QTest::newRow("cdata end") << "a]]>b" << QByteArray("<ev0>a]]&gt;b</ev0>");
        QTest::newRow("comillas") << "\"a\" 'b'" << QByteArray("<ev0>\"a\" 'b'</ev0>");
        QTest::newRow("retorno") << "a\r\nb" << QByteArray("<ev0>a&#xd;\nb</ev0>");
        QTest::newRow("unicode") << QString::fromUtf8("ñandú €") << QByteArray("<ev0>ñandú €</ev0>");
        QTest::newRow("espacios") << " a  b " << QByteArray("<ev0> a  b </ev0>");
    }
    void escapadoSobreviveGuardarYLeer()
    {
        QFETCH(QString, nombre);
        QFETCH(QByteArray, escrito);
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        xml.addNuevoEvento(nombre);
        const QByteArray bytes = xml.toByteArray();
        QVERIFY2(bytes.contains(escrito), bytes.constData());
        XmlHandler leido;
        QVERIFY(cargar(leido, bytes));
        QCOMPARE(leido.getContenidoEvento("ev0"), nombre);
    }

    void caracteresImposiblesNoRompenElArchivo()
    {
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        xml.setContenidoGeneral("autores", QString("A") + QChar(0x01) + "B" + QChar(0xD800));
        XmlHandler leido;
        QVERIFY(cargar(leido, xml.toByteArray()));
        QCOMPARE(leido.getContenidoGeneral("autores"), QString("AB"));
    }

    void formatos_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("redondeo") << 1234.5678 << "1234.57";
        QTest::newRow("entero") << 80.0 << "80";
        QTest::newRow("seis cifras") << -999999.0 << "-999999";
        QTest::newRow("un millon") << 1000000.0 << "1e+06";
        QTest::newRow("millon y medio") << 1500000.0 << "1.5e+06";
        QTest::newRow("pequeno") << 0.00001 << "1e-05";
        QTest::newRow("negativo") << -240.0 << "-240";
        QTest::newRow("cero negativo") << -0.0 << "0";
        QTest::newRow("decimal") << 120.9 << "120.9";
    }
    void formatos()
    {
        QFETCH(double, valor);
        QFETCH(QString, texto);
        QCOMPARE(XmlHandler::formatoNumero(valor), texto);
    }

    void formatosDePuntoYFecha()
    {
        QCOMPARE(XmlHandler::formatoPunto(75, -80.5), QString("75,-80.5"));
        QCOMPARE(XmlHandler::formatoPunto(QPointF(1500000, 0.00001)), QString("1.5e+06,1e-05"));
        const QDateTime fecha(QDate(2024, 3, 5), QTime(9, 5, 7));
        QCOMPARE(XmlHandler::formatoFecha(fecha), QString("05-03-2024 09:05:07"));
    }

    void identificadoresInvalidosNoSeCrean()
    {
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        xml.addNuevaMaquina("");
        xml.addNuevaMaquina("1x");
        QCOMPARE(xml.cantidadMaquinas(), 0);
        xml.addNuevaMaquina();
        xml.addNuevoEstado("estado 0");
        QCOMPARE(xml.cantidadEstados(), 0);
        xml.addNuevoEstado("estado0");
        QVERIFY(!xml.setContenidoEstado("estado0", "diagrama", "<x>", "v"));
        XmlHandler leido;
        QVERIFY(cargar(leido, xml.toByteArray()));
    }

    // Opening a project must never crash nor hang, whatever the file holds.
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
        // A refused file leaves even a filled document empty.
        XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        QVERIFY(!cargar(xml, bytes));
        QCOMPARE(xml.getContenidoGeneral("nombre"), QString("-1"));
        QCOMPARE(xml.cantidadMaquinas(), -1);
        QVERIFY(xml.toByteArray().isEmpty());
    }

    void sinDispositivo()
    {
        XmlHandler xml;
        QVERIFY(!xml.load(nullptr));
        QBuffer cerrado;
        QVERIFY(!xml.load(&cerrado));
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
        // The limit is on depth: a shallow project of many elements opens.
        QTest::newRow("256 niveles") << anidado(256);
        QTest::newRow("300 estados")
            << "<proyecto>" +
                   QByteArray("<estado0><diagrama><nombre>E</nombre></diagrama></estado0>").repeated(300) +
                   "</proyecto>";
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
        QVERIFY(xml.cantidadMaquinas() >= -1 && xml.cantidadTransiciones("estado0") >= -1);
        xml.getEstadoInicial();
        xml.getContenidoTransicion("estado0", "tr0", "idEvento");
        xml.addNuevoEvento("e");
        xml.borrarEvento(0);
        xml.borrarMaquinas();
        xml.addNuevaMaquina();
        xml.addNuevoEstado("estado0");
        xml.setInfoEstadoInicial("0", "0", "", "estado0", "0,0", "0,0");
        // Whatever was read, what is written reads again; only the empty
        // "idAcciones" set above comes back without content.
        XmlHandler releido;
        QVERIFY(cargar(releido, xml.toByteArray()));
        QCOMPARE(releido.toByteArray(),
                 xml.toByteArray().replace("<idAcciones></idAcciones>", "<idAcciones/>"));
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
};

QTEST_GUILESS_MAIN(TestXmlHandler)
#include "tst_xmlhandler.moc"
