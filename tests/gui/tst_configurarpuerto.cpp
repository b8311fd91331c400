#include "configurarpuerto.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestConfigurarPuerto : public QObject
{
    Q_OBJECT

private slots:
    // The port is chosen from the list or typed (a pseudo-terminal, the
    // virtual board's, is not listed); the stored name is the user data of
    // the entry. The computer's ports are replaced by a known list.
    // "Cancelar" rejects and keeps nothing; "Actualizar" keeps the list.
    void conectarGuardaElPuertoElegido_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedSpeed");
        const auto fila = [](const char *nombre, const char *boton, const char *puertos, int actual,
                             const char *escrito, const char *velocidad, const char *esperado, int esperada) {
            QTest::newRow(nombre) << QString("pushButton") + boton
                                  << QString(puertos).split(' ', Qt::SkipEmptyParts) << actual << escrito
                                  << velocidad << esperado << esperada;
        };
        fila("sin puertos", "Conectar", "", -1, "", "", "", 115200);
        fila("el primero", "Conectar", "ttyUSB0 ttyACM0", 0, "", "9600", "ttyUSB0", 9600);
        fila("el segundo", "Conectar", "ttyUSB0 ttyACM0", 1, "", "", "ttyACM0", 115200);
        fila("ruta escrita", "Conectar", "ttyUSB0", 0, " /dev/pts/7 ", "57600", "/dev/pts/7", 57600);
        fila("cancelar", "Cancelar", "ttyUSB9", 0, "", "9600", "", 115200);
    }

    void conectarGuardaElPuertoElegido()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, ports);
        QFETCH(int, current);
        QFETCH(QString, typed);
        QFETCH(QString, speed);
        QFETCH(QString, expected);
        QFETCH(int, expectedSpeed);

        ConfigurarPuerto dialog;
        auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("comboBoxPuertos"));
        combo->clear();
        for (const QString &port : ports)
            combo->addItem(port, port);
        combo->setCurrentIndex(current);
        if (!typed.isEmpty())
            combo->setEditText(typed);
        dialog.findChild<QComboBox *>(QStringLiteral("comboBoxVelocidad"))->setEditText(speed);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("pushButtonRefreshPorts")),
                          Qt::LeftButton);
        QCOMPARE(combo->count(), ports.size());
        QVERIFY(!dialog.findChild<QLineEdit *>(QStringLiteral("lineEditEstado"))->isVisible());
        QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(dialog.result(),
                 int(button == "pushButtonConectar" ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog.ObtenerNombrePuerto(), expected);
        QCOMPARE(dialog.ObtenerVelocidad(), expectedSpeed);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestConfigurarPuerto)
#include "tst_configurarpuerto.moc"
