#include "chequeoconflictos.h"
#include "decisordisparos.h"
#include "expresiondisparo.h"
#include "proyecto.h"
#include "proyectodescrito.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QTemporaryDir>
#include <QtTest>

class TestChequeoConflictos : public QObject
{
    Q_OBJECT

private slots:
    void compatibles_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("juntos");
        QTest::newRow("same event") << "a"
                                    << "a" << true;
        QTest::newRow("a vs a && b") << "a"
                                     << "a && b" << true;
        QTest::newRow("events are free") << "a"
                                         << "b" << true;
        QTest::newRow("event and its negation") << "a"
                                                << "!a" << false;
        QTest::newRow("negated group") << "!(x > 3 || a)"
                                       << "a" << false;
        QTest::newRow("x > 3 vs x < 2") << "x > 3"
                                        << "x < 2" << false;
        QTest::newRow("x > 3 vs x >= 3") << "x > 3"
                                         << "x >= 3" << true;
        QTest::newRow("no integer between") << "x > 3"
                                            << "x < 4" << false;
        QTest::newRow("fractions round") << "x > 2.5"
                                         << "x < 3" << false;
        QTest::newRow("fraction never equal") << "x == 1"
                                              << "x == 1.5" << false;
        QTest::newRow("== and !=") << "x == 3"
                                   << "x != 3" << false;
        QTest::newRow("!= leaves others") << "x != 3"
                                          << "x == 4" << true;
        QTest::newRow("exclusions fill the range") << "x != 1 && x != 2 && x >= 1"
                                                   << "x <= 2" << false;
        QTest::newRow("hexadecimal") << "x > 0x10"
                                     << "x < 17" << false;
        QTest::newRow("negative") << "x < -2"
                                  << "x > -3" << false;
        QTest::newRow("not binds to the comparison") << "!x > 3"
                                                     << "x > 5" << false;
        QTest::newRow("TRUE vs FALSE") << "p == TRUE"
                                       << "p == FALSE" << false;
        QTest::newRow("FALSE is 0") << "p == FALSE"
                                    << "p == 0" << true;
        QTest::newRow("two names, exact difference") << "x > LIMITE"
                                                     << "x < LIMITE" << false;
        QTest::newRow("name and number unrelated") << "x > LIMITE"
                                                   << "x < 3" << true;
        QTest::newRow("other comparison is free") << "x == 2*y"
                                                  << "x == 3" << true;
        QTest::newRow("free comparison and its opposite") << "x == 2*y"
                                                          << "x != 2*y" << false;
        QTest::newRow("choice forced") << "(a || x > 3) && x < 2"
                                       << "!a" << false;
        QTest::newRow("choice open") << "(a || x > 3) && x < 2"
                                     << "!b" << true;
        QTest::newRow("different variables") << "x > 3"
                                             << "y < 2" << true;
        QTest::newRow("unreadable never fires") << "a &&"
                                                << "a" << false;
        QTest::newRow("reset never fires") << "-"
                                           << "a" << false;
    }
    void compatibles()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, juntos);
        const ExpresionDisparo ea = ExpresionDisparo::analizar(a);
        const ExpresionDisparo eb = ExpresionDisparo::analizar(b);
        QCOMPARE(DecisorDisparos::compatibles(ea, eb), juntos);
        QCOMPARE(DecisorDisparos::compatibles(eb, ea), juntos);
    }

    // A balanced tree of choices that all fail: the search must stay within
    // its budget and the thread's stack.
    void manyChoices()
    {
        QString disparador = QStringLiteral("x > 100");
        for (int i = 0; i < 60; ++i)
            disparador = QStringLiteral("(e%1 || x > %2) && (%3)").arg(i).arg(i).arg(disparador);
        const ExpresionDisparo grande = ExpresionDisparo::analizar(disparador);
        QVERIFY(grande.esValida());
        QVERIFY(DecisorDisparos::compatibles(grande, ExpresionDisparo::analizar(QStringLiteral("x > 101"))));
        QVERIFY(!DecisorDisparos::compatibles(grande, ExpresionDisparo::analizar(QStringLiteral("x < 50"))));
    }

    void proyecto()
    {
        XmlHandler datos;
        QVERIFY(ProyectoDescrito::cargar(QStringLiteral("maquina M\ninicial A\n"
                                                        "A -> B : a\nA -> C : a && b\n"
                                                        "A -> B : x > 3\nA -> C : x < 2\n"
                                                        "B -> A : a\nC -> A : b\n"
                                                        "maquina N\ninicial Q\nQ -> Q : c\n"
                                                        "Q -> Q : c / d()"),
                                         &datos));
        const ChequeoConflictos chequeo(Proyecto::desdeDocumento(datos));
        QCOMPARE(chequeo.hallazgos(),
                 QStringList({"A [M]: a | a && b", "A [M]: a | x > 3", "A [M]: a | x < 2",
                              "A [M]: a && b | x > 3", "A [M]: a && b | x < 2", "Q [N]: c | c"}));
        const ConflictoTransiciones &ultimo = chequeo.conflictos().last();
        QCOMPARE(QVector<int>({ultimo.maquina, ultimo.estado, ultimo.primera, ultimo.segunda}),
                 QVector<int>({1, 0, 0, 1}));
    }
};

QTEST_GUILESS_MAIN(TestChequeoConflictos)
#include "tst_chequeoconflictos.moc"
