#include "generadorcodigo.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using ProyectoDescrito::documento;

const QStringList kArchivos = {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.h"),
                               QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.h"),
                               QStringLiteral("AP_FuncionesMdeE.c")};

} // namespace

class TstCodegen : public QObject
{
    Q_OBJECT

private slots:
    void disparador_data();
    void disparador();
    void archivosDorados_data();
    void archivosDorados();
    void problemas_data();
    void problemas();
    void transicionesRotas();
    void escrituraFallidaSeInforma();
};

void TstCodegen::disparador_data()
{
    QTest::addColumn<QString>("disparador");
    QTest::addColumn<QString>("condicion");
    const char *const filas[][2] = {
        {"boton", "boton( )"},
        {"!boton", "!boton( )"},
        {"temp > 30", "temp > 30"},
        {"a && b", "a( ) && b( )"},
        {"(a || b)", "(a( ) || b( ))"},
        {"!(a || t > 3)", "!(a( ) || t > 3)"},
        {"x != FALSE && ev_1", "x != FALSE && ev_1( )"},
        {"(n <= LIMITE) || !(c)", "(n <= LIMITE) || !(c( ))"},
        {"!v_x >= 3", "!( v_x >= 3 )"},
        {"a || (!t < 3) && !(!n == 1)", "a( ) || (!( t < 3 )) && !(!( n == 1 ))"},
    };
    for (const auto &fila : filas)
        QTest::newRow(fila[0]) << QString::fromUtf8(fila[0]) << QString::fromUtf8(fila[1]);
}

// The condition is the same in both styles' transition blocks.
void TstCodegen::disparador()
{
    QFETCH(QString, disparador);
    QFETCH(QString, condicion);
    QCOMPARE(GeneradorCodigo::traducirDisparador(disparador), condicion);
    const QString bloque =
        GeneradorCodigo::agregarTransicion(disparador, QString(), QStringLiteral("X"), 0, 0, 0);
    QCOMPARE(bloque.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("\t\t\t\tif( ") + condicion + QStringLiteral(" )"));
    const QString ptr = GeneradorCodigo::agregarFuncionPtrFuncion(disparador, QString(), QStringLiteral("X"));
    QCOMPARE(ptr.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("\tif( ") + condicion + QStringLiteral(" )"));
}

// Every file of both styles, byte for byte, against the files kept under
// tests/data/codegen/golden/DORADOS/STYLE.
void TstCodegen::archivosDorados_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<QString>("dorados");
    const struct
    {
        const char *nombre;
        QString proyecto;
        const char *dorados;
    } filas[] = {
        {"dos maquinas", QStringLiteral("codegen/dos_maquinas.vro"), ""},
        {"acciones", QStringLiteral("codegen/acciones.vro"), "acciones/"},
    };
    for (const auto &fila : filas) {
        QTest::addRow("%s switch", fila.nombre) << fila.proyecto << fila.dorados + QStringLiteral("switch");
        QTest::addRow("%s ptr", fila.nombre) << fila.proyecto << fila.dorados + QStringLiteral("ptrFuncion");
    }
}

// The switch style writes over files a previous run left in the folder; the
// pointer style makes the folder and its parents.
void TstCodegen::archivosDorados()
{
    QFETCH(QString, proyecto);
    QFETCH(QString, dorados);
    auto datos = documento(proyecto);
    QVERIFY(datos);
    const bool conSwitch = dorados.endsWith(QLatin1String("switch"));
    QTemporaryDir temporal;
    const QString carpeta = temporal.path() + QStringLiteral("/sub/salida");
    if (conSwitch) {
        QVERIFY(QDir().mkpath(carpeta));
        for (const QString &nombre : kArchivos)
            QVERIFY(TestSupport::writeFile(carpeta + QLatin1Char('/') + nombre, QByteArray(100000, 'x')));
    }
    const GeneradorCodigo generador(*datos);
    QCOMPARE(generador.maquinaSinEstadoInicial(), QString());
    QVERIFY(generador.generar(conSwitch ? EstiloCodigo::Switch : EstiloCodigo::PunteroAFuncion, carpeta));
    QCOMPARE(QDir(carpeta).entryList(QDir::Files).size(), kArchivos.size());
    for (const QString &nombre : kArchivos) {
        const QByteArray esperado = TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("codegen/golden/%1/%2").arg(dorados, nombre)));
        const QByteArray obtenido = TestSupport::readFile(carpeta + QLatin1Char('/') + nombre);
        QVERIFY(!esperado.isEmpty());
        QVERIFY2(esperado == obtenido,
                 qPrintable(nombre + QStringLiteral(": ") + TestSupport::diffReport(esperado, obtenido)));
    }
}

void TstCodegen::problemas_data()
{
    QTest::addColumn<QString>("proyecto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("problema"); // a fragment of the only one; empty: none
    const int sw = int(EstiloCodigo::Switch);
    const int ptr = int(EstiloCodigo::PunteroAFuncion);
    const QString motor = QStringLiteral("maquina motor\ninicial ");
    QTest::newRow("sano") << motor + "a\nestado b\neventos ev\nvariables v" << ptr << "";
    QTest::newRow("catalogo raro") << motor +
                                          "a\neventos raro()\nacciones x(),y() sinParentesis\nconstantes tope"
                                   << sw << "";
    QTest::newRow("enie") << motor + "año" << sw
                          << "El estado «año» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("digito inicial") << motor + "1a" << sw
                                    << "El estado «1a» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("guion") << motor + "a-b" << sw
                           << "El estado «a-b» de la máquina «motor» no es un identificador C válido";
    QTest::newRow("palabra reservada")
        << motor + "a\neventos while" << sw << "El evento «while» es una palabra reservada de C.";
    QTest::newRow("estado repetido") << motor + "Listo\nmaquina bomba\ninicial listo" << sw
                                     << "Las máquinas «motor» y «bomba» tienen un estado llamado LISTO";
    QTest::newRow("varias maquinas en ptr")
        << motor + "a\nmaquina bomba\ninicial b" << ptr << "ejecuta solo la primera máquina (motor)";
    QTest::newRow("evento como estado") << motor + "on\neventos ON" << sw
                                        << "El evento «ON» usa el nombre ON, que en el código generado ya es "
                                           "el estado «on» de la máquina «motor».";
    QTest::newRow("variable estado") << motor + "a\nvariables estado" << ptr
                                     << "La variable «estado» usa el nombre estado, que en el código "
                                        "generado ya es la variable que guarda el estado.";
    QTest::newRow("evento y variable") << motor + "a\neventos nivel\nvariables nivel" << sw
                                       << "La variable «nivel» usa el nombre nivel, que en el código "
                                          "generado ya es el evento «nivel».";
}

void TstCodegen::problemas()
{
    QFETCH(QString, proyecto);
    QFETCH(int, estilo);
    QFETCH(QString, problema);
    auto datos = documento(proyecto);
    QVERIFY(datos);
    const QStringList problemas = GeneradorCodigo(*datos).problemas(EstiloCodigo(estilo));
    if (problema.isEmpty()) {
        QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(QLatin1Char('\n'))));
        return;
    }
    QCOMPARE(problemas.size(), 1);
    QVERIFY2(problemas.first().contains(problema), qPrintable(problemas.first()));
}

void TstCodegen::transicionesRotas()
{
    auto datos = documento(QStringLiteral("maquina motor\ninicial a\na -> b : e\na -> b : e"));
    QVERIFY(datos);
    const QString m = QStringLiteral("maquina0");
    const QString a = QStringLiteral("estado0");
    datos->setContenidoTransicion(a, QStringLiteral("tr0"), QStringLiteral("idEvento"), QString(), m);
    datos->setContenidoTransicion(a, QStringLiteral("tr1"), QStringLiteral("idProxEstado"),
                                  QStringLiteral("estado7"), m);
    QCOMPARE(GeneradorCodigo(*datos).problemas(EstiloCodigo::Switch),
             (QStringList{
                 QStringLiteral("La transición 1 del estado «a» de la máquina «motor» no tiene disparador."),
                 QStringLiteral("La transición 2 del estado «a» de la máquina «motor» lleva a un estado que "
                                "no existe.")}));
}

void TstCodegen::escrituraFallidaSeInforma()
{
    auto datos = documento(QStringLiteral("codegen/dos_maquinas.vro"));
    QVERIFY(datos);
    QTemporaryDir temporal;
    const QString archivo = temporal.path() + QStringLiteral("/archivo");
    QVERIFY(TestSupport::writeFile(archivo, "x"));
    QString fallido;
    QVERIFY(!GeneradorCodigo(*datos).generar(EstiloCodigo::Switch, archivo + QStringLiteral("/salida"),
                                             &fallido));
    QCOMPARE(fallido, archivo + QStringLiteral("/salida/main.c"));
}

QTEST_GUILESS_MAIN(TstCodegen)
#include "tst_codegen.moc"
