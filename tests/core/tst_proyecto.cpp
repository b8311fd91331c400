#include "idsproyecto.h"
#include "proyecto.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDirIterator>
#include <QtTest>

#include <cstring>

namespace {

using TestSupport::cargar;

Proyecto desdeArchivo(const QString &ruta)
{
    XmlHandler xml;
    if (!cargar(xml, TestSupport::readFile(ruta)))
        return Proyecto();
    return Proyecto::desdeDocumento(xml);
}

QStringList textosProblemas(const Proyecto &p)
{
    QStringList textos;
    for (const ProblemaProyecto &problema : p.problemas())
        textos << problema.texto;
    return textos;
}

// A project file reduced to its machines, for the cases the data files lack.
QByteArray proyectoConMaquinas(const QByteArray &maquinas)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<proyecto><general><nombre>P</nombre></general>"
           "<maquinas>" +
           maquinas + "</maquinas><eventos/><acciones/><variables/><constantes/></proyecto>\n";
}

} // namespace

class TestProyecto : public QObject
{
    Q_OBJECT

private slots:
    void indiceEstado_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("cantidad");
        QTest::addColumn<int>("indice");
        QTest::newRow("primero") << "estado0" << 1 << 0;
        QTest::newRow("dos cifras") << "estado11" << 12 << 11;
        QTest::newRow("fuera de la maquina") << "estado12" << 12 << -1;
        QTest::newRow("negativo") << "estado-1" << 12 << -1;
        QTest::newRow("sin numero") << "estado" << 12 << -1;
        QTest::newRow("otro prefijo") << "otro1" << 12 << -1;
        QTest::newRow("texto tras el numero") << "estado1x" << 12 << -1;
        QTest::newRow("valor faltante") << "-1" << 12 << -1;
        QTest::newRow("numero entero tras el prefijo") << "estado05" << 12 << 5;
        QTest::newRow("con signo") << "estado+3" << 12 << 3;
        QTest::newRow("desborda un int") << "estado4294967299" << 12 << -1;
    }
    void indiceEstado()
    {
        QFETCH(QString, id);
        QFETCH(int, cantidad);
        QFETCH(int, indice);
        QCOMPARE(IdsProyecto::indiceEstado(id, cantidad), indice);
    }

    // The model says what the document's readers say, for every project
    // file Vireo ships or tests with.
    void igualAlDocumento_data()
    {
        QTest::addColumn<QString>("ruta");
        for (const QString &raiz :
             {QStringLiteral(VIREO_SOURCE_DIR "/examples"), TestSupport::dataPath("")}) {
            QDirIterator it(raiz, {"*.vro"}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString ruta = it.next();
                QTest::newRow(qPrintable(QDir(VIREO_SOURCE_DIR).relativeFilePath(ruta))) << ruta;
            }
        }
    }
    void igualAlDocumento()
    {
        QFETCH(QString, ruta);
        XmlHandler xml;
        if (!cargar(xml, TestSupport::readFile(ruta)))
            QSKIP("no es un proyecto legible");
        const Proyecto p = Proyecto::desdeDocumento(xml);
        QCOMPARE(p.nombre(), xml.getContenidoGeneral("nombre"));
        QCOMPARE(p.autores(), xml.getContenidoGeneral("autores"));
        QCOMPARE(p.modificacion(), xml.getContenidoGeneral("modificacion"));
        QCOMPARE(p.carpeta(), xml.getContenidoGeneral("carpeta"));
        QCOMPARE(p.eventos(), xml.getNombresEventosDefinidos());
        QCOMPARE(p.acciones(), xml.getNombresAccionesDefinidas());
        QCOMPARE(p.variables(), xml.getNombresVariablesDefinidas());
        QCOMPARE(p.constantes(), xml.getNombresConstantesDefinidas());
        QCOMPARE(p.cantidadMaquinas(), qMax(0, xml.cantidadMaquinas()));
        for (int k = 0; k < p.cantidadMaquinas(); ++k) {
            const QString m = IdsProyecto::maquina(k);
            const Maquina &maquina = p.maquina(k);
            QCOMPARE(maquina.nombre, xml.getContenidoMaquina(m, "nombre"));
            QCOMPARE(maquina.estados.size(), qMax(0, xml.cantidadEstados(m)));
            const QString inicial = xml.getEstadoInicial(m);
            QCOMPARE(maquina.inicial.definida, inicial != "-1");
            if (maquina.estadoInicial() >= 0)
                QCOMPARE(maquina.estados.at(maquina.estadoInicial()).nombre, inicial);
            for (int i = 0; i < maquina.estados.size(); ++i) {
                const QString e = IdsProyecto::estado(i);
                const Estado &estado = maquina.estados.at(i);
                QCOMPARE(estado.nombre, xml.getContenidoDiagrama(e, "nombre", m));
                QCOMPARE(estado.color, xml.getContenidoDiagrama(e, "color", m));
                QCOMPARE(estado.transiciones.size(), qMax(0, xml.cantidadTransiciones(e, m)));
                for (int j = 0; j < estado.transiciones.size(); ++j) {
                    const QString t = IdsProyecto::transicion(j);
                    const Transicion &tr = estado.transiciones.at(j);
                    QCOMPARE(tr.disparador.texto(), xml.getContenidoTransicion(e, t, "idEvento", m));
                    QCOMPARE(tr.acciones.texto(), xml.getContenidoTransicion(e, t, "idAcciones", m));
                    QCOMPARE(tr.destinoId, xml.getContenidoTransicion(e, t, "idProxEstado", m));
                    // Whatever the editor writes reads back.
                    QVERIFY2(tr.disparador.esValida(), qPrintable(tr.disparador.error()));
                    QVERIFY(tr.acciones.esValida());
                }
            }
        }
    }

    // What igualAlDocumento does not compare: positions, sizes and the parts
    // of triggers and actions.
    void puerta()
    {
        const Proyecto p = desdeArchivo(TestSupport::dataPath("model/ejemplo_puerta.vro"));
        const Maquina &m = p.maquina(0);
        QCOMPARE(m.estadoInicial(), 0);
        QVERIFY(m.inicial.tienePosicionMarcador);
        QCOMPARE(m.inicial.posicionMarcador, QPointF(-240, -160));
        QCOMPARE(m.inicial.puntoControl, QPointF(-190, -110));
        QVERIFY(m.inicial.acciones.sinAcciones());
        const Estado &cerrada = m.estados.at(0);
        QCOMPARE(cerrada.posicion, QPointF(-100, -50));
        QCOMPARE(cerrada.ancho, 120);
        QCOMPARE(cerrada.alto, 60);
        const Transicion &t = cerrada.transiciones.at(0);
        QCOMPARE(t.disparador.eventos(), QStringList{"ev_abrir"});
        QCOMPARE(t.acciones.entradas().at(0).nombre, QString("motor_on"));
        QCOMPARE(t.destino, 1);
        QCOMPARE(t.puntoControl, QPointF(75, -80));
        QCOMPARE(t.posicionEtiqueta, QPointF(10, -20));
        QVERIFY(p.problemas().isEmpty());
    }

    // Dangling references are kept in their place (so transition numbers stay
    // those of the file) and listed as the window reports them.
    void referenciasRotas()
    {
        const Proyecto p = desdeArchivo(TestSupport::dataPath("lifecycle/referencias_rotas.vro"));
        QCOMPARE(textosProblemas(p),
                 QStringList({"ROTA: transición tr0 de A hacia estado9",
                              "ROTA: transición tr2 de A hacia otro1", "ROTA: estado inicial estado7"}));
        const Maquina &m = p.maquina(0);
        QCOMPARE(m.estadoInicial(), -1);
        QVERIFY(m.inicial.definida);
        const QVector<Transicion> &a = m.estados.at(0).transiciones;
        QCOMPARE(a.size(), 3);
        QCOMPARE(a.at(0).destino, -1);
        QCOMPARE(a.at(1).destino, 1);
        QVERIFY(!a.at(1).tienePuntoControl);
        QVERIFY(!a.at(1).tienePosicionEtiqueta);
        const Transicion &b = m.estados.at(1).transiciones.at(0);
        QVERIFY(!b.tienePuntoControl);
        QVERIFY(!b.tienePosicionEtiqueta);
        const ProblemaProyecto &primero = p.problemas().first();
        QCOMPARE(primero.tipo, ProblemaProyecto::TransicionSinDestino);
        QCOMPARE(primero.maquina, 0);
        QCOMPARE(primero.estado, 0);
        QCOMPARE(primero.transicion, 0);
        QCOMPARE(p.problemas().last().tipo, ProblemaProyecto::EstadoInicialSinDestino);
    }

    void inicialAntiguo()
    {
        const Proyecto p = desdeArchivo(TestSupport::dataPath("lifecycle/inicial_antiguo.vro"));
        const TransicionInicial &inicial = p.maquina(0).inicial;
        QVERIFY(inicial.formaAntigua);
        QCOMPARE(inicial.destino, 1);
        QVERIFY(!inicial.tienePosicionMarcador);
        QVERIFY(!inicial.tienePuntoControl);
        QVERIFY(inicial.acciones.sinAcciones());
    }

    void valoresDanados_data()
    {
        QTest::addColumn<QByteArray>("maquinas");
        QTest::addColumn<QStringList>("problemas");
        QTest::addColumn<QString>("nombreEstado1");
        QTest::addColumn<int>("ancho");
        QTest::addColumn<QPointF>("posicion");
        const QByteArray estado0 = "<estado0><diagrama><nombre>A</nombre><pos_x>1e9</pos_x><pos_y>x</pos_y>"
                                   "<ancho>0.5</ancho><alto>60</alto></diagrama></estado0>";
        QTest::newRow("hueco en la numeracion")
            << "<maquina0><nombre>M</nombre><estadoInicial/>" + estado0 + "<estadoX/></maquina0>"
            << QStringList{"M: falta estado1"} << "-1" << 0 << QPointF(-1, -1);
        QTest::newRow("sin estado inicial")
            << "<maquina0><nombre>M</nombre><estadoInicial/>" + estado0 +
                   "<estado1><diagrama><nombre>B</nombre><ancho>80.9</ancho><pos_x>-1.5</pos_x></diagrama>"
                   "</estado1></maquina0>"
            << QStringList{} << "B" << 80 << QPointF(-1.5, -1);
    }
    void valoresDanados()
    {
        QFETCH(QByteArray, maquinas);
        QFETCH(QStringList, problemas);
        QFETCH(QString, nombreEstado1);
        QFETCH(int, ancho);
        QFETCH(QPointF, posicion);
        XmlHandler xml;
        QVERIFY(cargar(xml, proyectoConMaquinas(maquinas)));
        const Proyecto p = Proyecto::desdeDocumento(xml);
        QCOMPARE(textosProblemas(p), problemas);
        const Maquina &m = p.maquina(0);
        QCOMPARE(m.estadoInicial(), -1);
        QVERIFY(!m.inicial.definida);
        QCOMPARE(m.estados.at(0).posicion, QPointF(0, 0));
        QCOMPARE(m.estados.at(0).ancho, 0);
        QCOMPARE(m.estados.at(0).alto, 60);
        QCOMPARE(m.estados.at(1).nombre, nombreEstado1);
        QCOMPARE(m.estados.at(1).ancho, ancho);
        QCOMPARE(m.estados.at(1).posicion, posicion);
    }

    // A point reads as the same doubles toDouble gives, to the last bit and
    // the sign of zero, and is refused exactly when toDouble refuses either
    // number or either is beyond the coordinate limit.
    void puntoComoToDouble_data()
    {
        QTest::addColumn<QString>("numero");
        for (const char *numero : {"0",
                                   "-0",
                                   "7",
                                   "-120",
                                   "4.35",
                                   "0.1",
                                   "-0.3",
                                   "123.457",
                                   "9999999",
                                   "10000000.5",
                                   "-10000001",
                                   "0.000000000000001",
                                   "123456789.012345",
                                   "1234567890123456",
                                   "05",
                                   "00.5",
                                   "1e3",
                                   "+5",
                                   " 5",
                                   "5 ",
                                   ".5",
                                   "5.",
                                   "-",
                                   "",
                                   "1..5",
                                   "1.5.",
                                   "inf",
                                   "nan",
                                   "0x10",
                                   "١٢"})
            QTest::newRow(numero) << QString::fromUtf8(numero);
    }
    void puntoComoToDouble()
    {
        QFETCH(QString, numero);
        const QByteArray transicion = "<transiciones><tr0><idEvento>e</idEvento><idProxEstado>estado0"
                                      "</idProxEstado><midPos>" +
                                      numero.toUtf8() + ",2.5</midPos><textPos>-1," + numero.toUtf8() +
                                      "</textPos></tr0></transiciones>";
        XmlHandler xml;
        QVERIFY(
            cargar(xml, proyectoConMaquinas("<maquina0><nombre>M</nombre><estadoInicial/><estado0><diagrama>"
                                            "<nombre>A</nombre></diagrama>" +
                                            transicion + "</estado0></maquina0>")));
        const Transicion t = Proyecto::desdeDocumento(xml).maquina(0).estados.at(0).transiciones.at(0);
        bool ok = false;
        const double esperado = numero.toDouble(&ok);
        ok = ok && qAbs(esperado) <= 1e7;
        QCOMPARE(t.tienePuntoControl, ok);
        QCOMPARE(t.tienePosicionEtiqueta, ok);
        if (!ok)
            return;
        const double leidos[] = {t.puntoControl.x(), t.posicionEtiqueta.y()};
        for (const double leido : leidos)
            QVERIFY(std::memcmp(&leido, &esperado, sizeof leido) == 0);
    }

    void documentoVacio()
    {
        const Proyecto p = Proyecto::desdeDocumento(XmlHandler());
        QCOMPARE(p.cantidadMaquinas(), 0);
        QCOMPARE(p.nombre(), QString("-1"));
        QVERIFY(p.eventos().isEmpty());
        QVERIFY(p.problemas().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProyecto)
#include "tst_proyecto.moc"
