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
        const struct
        {
            const char *nombre, *a, *b;
            bool juntos;
        } filas[] = {
            {"same event", "a", "a", true},
            {"a vs a && b", "a", "a && b", true},
            {"events are free", "a", "b", true},
            {"event and its negation", "a", "!a", false},
            {"negated group", "!(x > 3 || a)", "a", false},
            {"x > 3 vs x < 2", "x > 3", "x < 2", false},
            {"x > 3 vs x >= 3", "x > 3", "x >= 3", true},
            {"no integer between", "x > 3", "x < 4", false},
            {"fractions round", "x > 2.5", "x < 3", false},
            {"fraction never equal", "x == 1", "x == 1.5", false},
            {"== and !=", "x == 3", "x != 3", false},
            {"!= leaves others", "x != 3", "x == 4", true},
            {"exclusions fill the range", "x != 1 && x != 2 && x >= 1", "x <= 2", false},
            {"hexadecimal", "x > 0x10", "x < 17", false},
            {"negative", "x < -2", "x > -3", false},
            {"not binds to the comparison", "!x > 3", "x > 5", false},
            {"TRUE vs FALSE", "p == TRUE", "p == FALSE", false},
            {"FALSE is 0", "p == FALSE", "p == 0", true},
            {"two names, exact difference", "x > LIMITE", "x < LIMITE", false},
            {"name and number unrelated", "x > LIMITE", "x < 3", true},
            {"other comparison is free", "x == 2*y", "x == 3", true},
            {"free comparison and its opposite", "x == 2*y", "x != 2*y", false},
            {"choice forced", "(a || x > 3) && x < 2", "!a", false},
            {"choice open", "(a || x > 3) && x < 2", "!b", true},
            {"different variables", "x > 3", "y < 2", true},
            {"unreadable never fires", "a &&", "a", false},
            {"reset never fires", "-", "a", false},
        };
        for (const auto &fila : filas)
            QTest::newRow(fila.nombre) << QString(fila.a) << QString(fila.b) << fila.juntos;
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
