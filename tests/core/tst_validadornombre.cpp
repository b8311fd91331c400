#include "validadornombre.h"

#include <QtTest>

// The rules the name dialogs apply to every typed name.
class TstValidadorNombre : public QObject
{
    Q_OBJECT

private slots:
    void problema_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<bool>("esEstado");
        QTest::addColumn<QString>("esperado");

        const QString noC = QStringLiteral("\"%1\" no es un identificador C válido (solo letras sin acento, "
                                           "dígitos y _, sin empezar por un dígito)");
        const QString reservada = QStringLiteral("\"%1\" es una palabra reservada de C");
        QTest::newRow("letras, dígitos y _") << "Motor_2" << false << QString();
        QTest::newRow("empieza por _") << "_listo" << false << QString();
        QTest::newRow("blancos antes que nada") << "mi estado" << true << QString();
        QTest::newRow("empieza por dígito") << "2do" << false << noC.arg("2do");
        QTest::newRow("guion") << "a-b" << false << noC.arg("a-b");
        QTest::newRow("eñe y acento") << "Ñandú" << true << noC.arg("Ñandú");
        QTest::newRow("acento en medio") << "año" << false << noC.arg("año");
        QTest::newRow("int") << "int" << false << reservada.arg("int");
        QTest::newRow("switch, estado") << "switch" << true << reservada.arg("switch");
        QTest::newRow("C11") << "_Bool" << false << reservada.arg("_Bool");
        QTest::newRow("mayúsculas no son palabra reservada") << "INT" << false << QString();
        QTest::newRow("estado de otra máquina")
            << "rojo" << true << QStringLiteral("\"rojo\" ya es un estado de la máquina \"Semaforo\"");
        QTest::newRow("otra máquina, con blancos")
            << "en espera" << true
            << QStringLiteral("\"en_espera\" ya es un estado de la máquina \"Peaton\"");
        QTest::newRow("una máquina puede llamarse como un estado") << "ROJO" << false << QString();
    }

    void problema()
    {
        QFETCH(QString, tecleado);
        QFETCH(bool, esEstado);
        QFETCH(QString, esperado);
        const QHash<QString, QString> otras{{"ROJO", "Semaforo"}, {"EN_ESPERA", "Peaton"}};
        const QString nombre = ValidadorNombre::normalizar(tecleado);
        QCOMPARE(esEstado ? ValidadorNombre::problemaEstado(nombre, otras)
                          : ValidadorNombre::problema(nombre),
                 esperado);
    }
};

QTEST_GUILESS_MAIN(TstValidadorNombre)
#include "tst_validadornombre.moc"
