#include "escenario.h"

#include <QtTest>

class TestEscenario : public QObject
{
    Q_OBJECT

private slots:
    void analizar_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("canonico");
        QTest::addColumn<QStringList>("errores");
        const QStringList ok;
        auto e = [](const QString &mensaje) { return QStringList{QStringLiteral("e.escenario:") + mensaje}; };

        QTest::newRow("comments, blanks, indentation")
            << QByteArray("# clase 3\n\n   \n  evento boton\n") << "evento boton\n"
            << ok;
        QTest::newRow("row text kept whole") << QByteArray("evento ev_tiempo && presionado == FALSE")
                                             << "evento ev_tiempo && presionado == FALSE\n"
                                             << ok;
        QTest::newRow("modo c") << QByteArray("modo c\nevento a,b , c\nevento -\nvariable x = 3\n"
                                              "variable y=-2.5\nvariable z = TRUE\nvariable h = 0x1F\n")
                                << "modo c\nevento a, b, c\nevento -\nvariable x = 3\nvariable y = -2.5\n"
                                   "variable z = TRUE\nvariable h = 0x1F\n"
                                << ok;
        QTest::newRow("modo filas, reset") << QByteArray("modo filas\nreset\n") << "reset\n" << ok;
        QTest::newRow("estado") << QByteArray("estado MdE1 ESPERA") << "estado MdE1 ESPERA\n" << ok;
        QTest::newRow("acciones") << QByteArray("acciones MdE1 encender();cuenta  = 0 ;  apagar()")
                                  << "acciones MdE1 encender(); cuenta = 0; apagar()\n"
                                  << ok;
        QTest::newRow("acciones none")
            << QByteArray("acciones MdE1\nacciones MdE2 \n") << "acciones MdE1\nacciones MdE2\n"
            << ok;
        QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                    "evento a\r\nreset\r\n")
                                      << "evento a\nreset\n"
                                      << ok;

        QTest::newRow("unknown keyword")
            << QByteArray("eventos a") << ""
            << e("1: palabra desconocida «eventos» (se espera modo, evento, variable, estado, acciones o "
                 "reset)");
        QTest::newRow("two blanks") << QByteArray("evento  a") << ""
                                    << e("1: después de «evento» va un solo espacio");
        QTest::newRow("modo late") << QByteArray("evento a\nmodo c") << ""
                                   << e("2: «modo» solo puede ser el primer paso");
        QTest::newRow("modo unknown")
            << QByteArray("modo rapido") << "" << e("1: se espera «modo filas» o «modo c»");
        QTest::newRow("modo bare") << QByteArray("modo") << "" << e("1: se espera «modo filas» o «modo c»");
        QTest::newRow("evento bare") << QByteArray("\nevento") << ""
                                     << e("2: falta el evento después de «evento»");
        QTest::newRow("c event with blank")
            << QByteArray("modo c\nevento a b") << ""
            << e("2: «a b» no es un nombre de evento (en modo c se escriben eventos separados por comas, o "
                 "«-»)");
        QTest::newRow("c empty event")
            << QByteArray("modo c\nevento a,,b") << "" << e("2: evento vacío en la lista");
        QTest::newRow("variable in filas")
            << QByteArray("variable x = 1") << ""
            << e("1: «variable» solo vale en modo c (empiece el archivo con «modo c»)");
        QTest::newRow("variable without =")
            << QByteArray("modo c\nvariable x 1") << "" << e("2: se espera «variable NOMBRE = VALOR»");
        QTest::newRow("variable without value")
            << QByteArray("modo c\nvariable x =") << "" << e("2: se espera «variable NOMBRE = VALOR»");
        QTest::newRow("variable bad name")
            << QByteArray("modo c\nvariable 2x = 1") << "" << e("2: «2x» no es un nombre de variable");
        QTest::newRow("variable bad value")
            << QByteArray("modo c\nvariable x == 3") << ""
            << e("2: «= 3» no es un valor (se espera un número o una constante)");
        QTest::newRow("estado one field")
            << QByteArray("estado MdE1") << "" << e("1: se espera «estado MAQUINA ESTADO»");
        QTest::newRow("estado three fields")
            << QByteArray("estado MdE1 A B") << "" << e("1: se espera «estado MAQUINA ESTADO»");
        QTest::newRow("acciones bare")
            << QByteArray("acciones") << "" << e("1: se espera «acciones MAQUINA ACCIONES»");
        QTest::newRow("acciones empty entry")
            << QByteArray("acciones M a();;b()") << ""
            << e("1: acción vacía en la lista (las acciones se separan con «;»)");
        QTest::newRow("reset with text") << QByteArray("reset ya") << "" << e("1: «reset» no lleva texto");
        QTest::newRow("not UTF-8") << QByteArray("reset\nevento \xff\n") << ""
                                   << e("2: el texto no es UTF-8 válido");
        QTest::newRow("no steps") << QByteArray("# nada\nmodo c\n") << ""
                                  << QStringList{"e.escenario: el escenario no tiene pasos"};
        QTest::newRow("every bad line named")
            << QByteArray("reset x\nevento a\nestado M") << ""
            << (e("1: «reset» no lleva texto") + e("3: se espera «estado MAQUINA ESTADO»"));
    }
    void analizar()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, canonico);
        QFETCH(QStringList, errores);
        const Escenario escenario = Escenario::analizar(contenido, QStringLiteral("e.escenario"));
        QCOMPARE(escenario.errores(), errores);
        if (!escenario.esValido()) {
            QVERIFY(escenario.pasos().isEmpty());
            return;
        }
        QCOMPARE(QString::fromUtf8(escenario.texto()), canonico);
        const Escenario otraVez = Escenario::analizar(escenario.texto(), QStringLiteral("otra"));
        QCOMPARE(otraVez.texto(), escenario.texto());
    }
};

QTEST_GUILESS_MAIN(TestEscenario)
#include "tst_escenario.moc"
