#include "usagerules.h"

#include <QtTest>

class TestUsageRules : public QObject
{
    Q_OBJECT

private slots:
    void triggerParts_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("single") << "boton" << QStringList{"boton"};
        QTest::newRow("and") << "a && b" << QStringList{"a ", " b"};
        QTest::newRow("or-not") << "!(a || t > 3)" << QStringList{"!(a ", " t > 3)"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("leftmost connective first") << "a &&& b" << QStringList{"a ", "& b"};
        QTest::newRow("runs of connectives") << "a||||b&&" << QStringList{"a", "b"};
        QTest::newRow("single marks stay") << "a & b | c" << QStringList{"a & b | c"};
    }
    void triggerParts()
    {
        QFETCH(QString, trigger);
        QFETCH(QStringList, parts);
        QCOMPARE(UsageRules::triggerParts(trigger), parts);
    }

    void usage_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asEvent");
        QTest::addColumn<bool>("asVariable");
        QTest::newRow("event") << "boton && x > 3"
                               << "boton" << true << false;
        QTest::newRow("event only in comparison") << "x > 3"
                                                  << "x" << false << true;
        QTest::newRow("prefix is not the word") << "botonera"
                                                << "boton" << false << false;
        QTest::newRow("negated group") << "!(boton)"
                                       << "boton" << true << false;
        QTest::newRow("bare variable") << "on"
                                       << "on" << true << false;
    }
    void usage()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, name);
        QFETCH(bool, asEvent);
        QFETCH(bool, asVariable);
        QCOMPARE(UsageRules::eventUsedInTrigger(trigger, name), asEvent);
        QCOMPARE(UsageRules::variableUsedInTrigger(trigger, name), asVariable);
    }

    void actions()
    {
        const QStringList list{"encender_led_on()", "cuenta += 1"};
        QVERIFY(UsageRules::variableUsedInActions(list, "on"));
        QVERIFY(UsageRules::variableUsedInActions(list, "cuenta"));
        QVERIFY(!UsageRules::actionUsedInActions(list, "led_on()"));
        QVERIFY(UsageRules::actionUsedLoosely(list, "led_on()"));
        QVERIFY(UsageRules::actionUsedInActions(list, "encender_led_on()"));
    }
};

QTEST_GUILESS_MAIN(TestUsageRules)
#include "tst_usagerules.moc"
