#include "importador.h"
#include "testsupport.h"

#include <QtTest>

class TestImportar : public QObject
{
    Q_OBJECT

private slots:
    void lineas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("constantes");
        QTest::addColumn<QStringList>("acciones");
        const QStringList nada;
        QTest::newRow("define") << "#define LED_ON 1" << QStringList{"LED_ON"} << nada;
        QTest::newRow("define with tabs") << "#define\tLED_ON\t1" << QStringList{"LED_ON"} << nada;
        QTest::newRow("define with two blanks") << "#define  LED_ON 1" << QStringList{"LED_ON"} << nada;
        QTest::newRow("indented directive") << "  #  define LED_ON 1" << QStringList{"LED_ON"} << nada;
        QTest::newRow("carriage return") << "#define LED_ON 1\r\n" << QStringList{"LED_ON"} << nada;
        QTest::newRow("not a define") << "#defineX 1\n#define\n#undef X\n#include <x.h>" << nada << nada;
        QTest::newRow("prototype") << "void motor_on(void);" << nada << QStringList{"motor_on()"};
        QTest::newRow("prototype with argument") << "int leer(int canal);" << nada << QStringList{"leer()"};
        QTest::newRow("indented prototype")
            << "    void motor_on(void);" << nada << QStringList{"motor_on()"};
        QTest::newRow("tabs and blanks") << "\tint \t leer (int canal);" << nada << QStringList{"leer()"};
        QTest::newRow("pointer result")
            << "char *nombre(void);\nchar * otro(void);" << nada << QStringList{"nombre()", "otro()"};
        QTest::newRow("qualifiers") << "static inline unsigned int f(void) { return 1; }" << nada
                                    << QStringList{"f()"};
        QTest::newRow("call is not a prototype") << "f(1);" << nada << nada;
        QTest::newRow("function pointer type") << "typedef void (*cb_t)(int);" << nada << nada;
        QTest::newRow("declaration without call") << "extern int contador;" << nada << nada;
        QTest::newRow("macro calling with ;")
            << "#define INIT uart_init(9600);" << QStringList{"INIT"} << QStringList{"INIT()"};
        QTest::newRow("function-like macro") << "#define MAX(a, b) ((a) > (b) ? (a) : (b))" << nada << nada;
        QTest::newRow("function-like macro with ;")
            << "#define RESET() \\\n  do { x(); } while (0);" << nada << QStringList{"RESET()"};
        QTest::newRow("line comment")
            << "void a(void); // void b(void);\n// void c(void);" << nada << QStringList{"a()"};
        QTest::newRow("block comment")
            << "/* void b(void);\n#define X 1 */ void a(void);\n#define Y 2 /* ; (x) */" << QStringList{"Y"}
            << QStringList{"a()"};
        QTest::newRow("twice in one file") << "#define A 1\nvoid f(void);\n#define A 2\nvoid f(void);"
                                           << QStringList{"A"} << QStringList{"f()"};
    }
    void lineas()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, constantes);
        QFETCH(QStringList, acciones);
        const Catalogo c = Importador::leerCabecera(texto);
        QCOMPARE(c.constantes, constantes);
        QCOMPARE(c.acciones, acciones);
        QVERIFY(c.eventos.isEmpty());
        QVERIFY(c.variables.isEmpty());
    }

    void cabeceraReal()
    {
        const Catalogo c = Importador::leerCabecera(
            QString::fromUtf8(TestSupport::readFile(TestSupport::dataPath("verify/placa.h"))));
        QCOMPARE(c.constantes, (QStringList{"PLACA_H", "LED_ON", "LED_OFF", "MOTOR_PWM", "BAUDIOS"}));
        QCOMPARE(c.acciones, (QStringList{"APAGAR_TODO()", "motor_on()", "motor_off()", "leer()",
                                          "estado_led()", "nombre_placa()"}));
    }

    void faltantes()
    {
        const Catalogo otro{
            {"ev", "Ev", "ev", ""}, {"a()", "b()", "c", "c()", ""}, {"x", "y"}, {"TRUE", "K", "K"}};
        const Catalogo actual{{"ev"}, {"a()"}, {"y"}, {"TRUE", "FALSE"}};
        const Catalogo nuevos = Importador::faltantes(otro, actual);
        QCOMPARE(nuevos.eventos, QStringList{"Ev"});
        QCOMPARE(nuevos.acciones, (QStringList{"b()", "c()"}));
        QCOMPARE(nuevos.variables, QStringList{"x"});
        QCOMPARE(nuevos.constantes, QStringList{"K"});
        QCOMPARE(nuevos.cantidad(), 5);
        QCOMPARE(Importador::faltantes(otro, otro).cantidad(), 0);
    }
};

QTEST_GUILESS_MAIN(TestImportar)
#include "tst_importar.moc"
