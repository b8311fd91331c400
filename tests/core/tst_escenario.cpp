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
        // Each error is reported after "e.escenario:".
        const struct
        {
            const char *nombre, *contenido, *canonico;
            QStringList errores;
        } filas[] = {
            {"comments, blanks, indentation", "# clase 3\n\n   \n  evento boton\n", "evento boton\n", {}},
            {"row text kept whole",
             "evento ev_tiempo && presionado == FALSE",
             "evento ev_tiempo && presionado == FALSE\n",
             {}},
            {"modo c",
             "modo c\nevento a,b , c\nevento -\nvariable x = 3\nvariable y=-2.5\nvariable z = TRUE\n"
             "variable h = 0x1F\n",
             "modo c\nevento a, b, c\nevento -\nvariable x = 3\nvariable y = -2.5\nvariable z = TRUE\n"
             "variable h = 0x1F\n",
             {}},
            {"modo filas, reset", "modo filas\nreset\n", "reset\n", {}},
            {"estado", "estado MdE1 ESPERA", "estado MdE1 ESPERA\n", {}},
            {"acciones",
             "acciones MdE1 encender();cuenta  = 0 ;  apagar()",
             "acciones MdE1 encender(); cuenta = 0; apagar()\n",
             {}},
            {"acciones none", "acciones MdE1\nacciones MdE2 \n", "acciones MdE1\nacciones MdE2\n", {}},
            {"BOM and CRLF",
             "\xEF\xBB\xBF"
             "evento a\r\nreset\r\n",
             "evento a\nreset\n",
             {}},
            {"unknown keyword",
             "eventos a",
             "",
             {"1: palabra desconocida «eventos» (se espera modo, evento, variable, estado, acciones o "
              "reset)"}},
            {"two blanks", "evento  a", "", {"1: después de «evento» va un solo espacio"}},
            {"modo late", "evento a\nmodo c", "", {"2: «modo» solo puede ser el primer paso"}},
            {"modo unknown", "modo rapido", "", {"1: se espera «modo filas» o «modo c»"}},
            {"modo bare", "modo", "", {"1: se espera «modo filas» o «modo c»"}},
            {"evento bare", "\nevento", "", {"2: falta el evento después de «evento»"}},
            {"c event with blank",
             "modo c\nevento a b",
             "",
             {"2: «a b» no es un nombre de evento (en modo c se escriben eventos separados por comas, o "
              "«-»)"}},
            {"c empty event", "modo c\nevento a,,b", "", {"2: evento vacío en la lista"}},
            {"variable in filas",
             "variable x = 1",
             "",
             {"1: «variable» solo vale en modo c (empiece el archivo con «modo c»)"}},
            {"variable without =", "modo c\nvariable x 1", "", {"2: se espera «variable NOMBRE = VALOR»"}},
            {"variable without value",
             "modo c\nvariable x =",
             "",
             {"2: se espera «variable NOMBRE = VALOR»"}},
            {"variable bad name", "modo c\nvariable 2x = 1", "", {"2: «2x» no es un nombre de variable"}},
            {"variable bad value",
             "modo c\nvariable x == 3",
             "",
             {"2: «= 3» no es un valor (se espera un número o una constante)"}},
            {"estado one field", "estado MdE1", "", {"1: se espera «estado MAQUINA ESTADO»"}},
            {"estado three fields", "estado MdE1 A B", "", {"1: se espera «estado MAQUINA ESTADO»"}},
            {"acciones bare", "acciones", "", {"1: se espera «acciones MAQUINA ACCIONES»"}},
            {"acciones empty entry",
             "acciones M a();;b()",
             "",
             {"1: acción vacía en la lista (las acciones se separan con «;»)"}},
            {"reset with text", "reset ya", "", {"1: «reset» no lleva texto"}},
            {"not UTF-8", "reset\nevento \xff\n", "", {"2: el texto no es UTF-8 válido"}},
            {"no steps", "# nada\nmodo c\n", "", {" el escenario no tiene pasos"}},
            {"every bad line named",
             "reset x\nevento a\nestado M",
             "",
             {"1: «reset» no lleva texto", "3: se espera «estado MAQUINA ESTADO»"}},
        };
        for (const auto &fila : filas) {
            QStringList errores;
            for (const QString &error : fila.errores)
                errores << QStringLiteral("e.escenario:") + error;
            QTest::newRow(fila.nombre)
                << QByteArray(fila.contenido) << QString::fromUtf8(fila.canonico) << errores;
        }
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

    void lineNumbersAndChecks()
    {
        const Escenario escenario =
            Escenario::analizar("modo c\n# x\nevento a\n\nestado M A\nacciones M\n", QStringLiteral("e"));
        QCOMPARE(escenario.modo(), Escenario::Modo::C);
        QCOMPARE(escenario.pasos().size(), 3);
        QCOMPARE(escenario.pasos().at(0).linea, 3);
        QCOMPARE(escenario.pasos().at(2).linea, 6);
        QCOMPARE(escenario.cantidadComprobaciones(), 2);
        QCOMPARE(escenario.pasos().at(2).esperado(), QStringLiteral("(ninguna)"));
    }

    void unreadableFile()
    {
        const Escenario escenario = Escenario::leer(QStringLiteral("/no/existe.escenario"));
        QCOMPARE(escenario.errores(),
                 QStringList{QStringLiteral("/no/existe.escenario: no se pudo abrir el archivo")});
    }
};

QTEST_GUILESS_MAIN(TestEscenario)
#include "tst_escenario.moc"
