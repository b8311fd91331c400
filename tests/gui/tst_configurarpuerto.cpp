#include "configurarpuerto.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSignalSpy>
#include <QTest>

class TestConfigurarPuerto : public QObject
{
    Q_OBJECT

    template<typename T> static T *find(const QDialog &dialog, const char *name)
    {
        T *child = dialog.findChild<T *>(QLatin1String(name));
        if (!child)
            qWarning("falta %s", name);
        return child;
    }

private slots:
    // The connection state line is kept but hidden; the port is typed or chosen
    // (a pseudo-terminal, the virtual board's, is not listed: its path is typed).
    void formulario()
    {
        ConfigurarPuerto dialog;
        QCOMPARE(dialog.size(), QSize(321, 158));
        QCOMPARE(find<QGroupBox>(dialog, "groupBoxConex")->title(), QStringLiteral("Conexión"));
        const QList<QPair<const char *, QString>> textos{{"labelPort", "Puerto"},
                                                         {"labelEstadoConex", "Estado"},
                                                         {"labelVelocidad", "Velocidad"},
                                                         {"pushButtonRefreshPorts", "Actualizar"},
                                                         {"pushButtonConectar", "Conectar"},
                                                         {"pushButtonCancelar", "Cancelar"}};
        for (const auto &texto : textos)
            QCOMPARE(dialog.findChild<QWidget *>(texto.first)->property("text").toString(), texto.second);
        QCOMPARE(find<QPushButton>(dialog, "pushButtonRefreshPorts")->toolTip(),
                 QStringLiteral("Refrescar puertos"));
        QVERIFY(find<QComboBox>(dialog, "comboBoxPuertos")->isEditable());
        QCOMPARE(find<QComboBox>(dialog, "comboBoxVelocidad")->currentText(), QStringLiteral("115200"));
        QVERIFY(dialog.ObtenerNombrePuerto().isEmpty());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *estado = find<QLineEdit>(dialog, "lineEditEstado");
        QVERIFY(!estado->isVisible());
        QVERIFY(!find<QLabel>(dialog, "labelEstadoConex")->isVisible());
        QVERIFY(find<QComboBox>(dialog, "comboBoxPuertos")->isVisible());
        QVERIFY(estado->isReadOnly());
        QCOMPARE(estado->text(), QStringLiteral("Desconectado"));
    }

    void listaDePuertos()
    {
        ConfigurarPuerto dialog;
        auto *combo = find<QComboBox>(dialog, "comboBoxPuertos");
        const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
        QCOMPARE(combo->count(), ports.size());
        for (int i = 0; i < ports.size(); ++i) {
            QCOMPARE(combo->itemText(i), ports.at(i).portName());
            QCOMPARE(combo->itemData(i).toString(), ports.at(i).portName());
        }
    }

    // The stored name is the user data of the current entry: the computer's
    // ports are replaced by a known list so the case does not depend on them.
    // "Cancelar" rejects and keeps nothing.
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
        auto *combo = find<QComboBox>(dialog, "comboBoxPuertos");
        combo->clear();
        for (const QString &port : ports)
            combo->addItem(port, port);
        combo->setCurrentIndex(current);
        if (!typed.isEmpty())
            combo->setEditText(typed);
        find<QComboBox>(dialog, "comboBoxVelocidad")->setEditText(speed);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        QTest::mouseClick(find<QPushButton>(dialog, qPrintable(button)), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(dialog.result(),
                 int(button == "pushButtonConectar" ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog.ObtenerNombrePuerto(), expected);
        QCOMPARE(dialog.ObtenerVelocidad(), expectedSpeed);
        QVERIFY(!dialog.isVisible());
    }

    void actualizarNoReleeLaLista()
    {
        ConfigurarPuerto dialog;
        auto *combo = find<QComboBox>(dialog, "comboBoxPuertos");
        combo->addItem(QStringLiteral("marca"), QStringLiteral("marca"));
        const int count = combo->count();
        dialog.show();
        QTest::mouseClick(find<QPushButton>(dialog, "pushButtonRefreshPorts"), Qt::LeftButton);
        QCOMPARE(combo->count(), count);
        QCOMPARE(combo->itemText(count - 1), QStringLiteral("marca"));
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(TestConfigurarPuerto)
#include "tst_configurarpuerto.moc"
