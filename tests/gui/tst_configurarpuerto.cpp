#include "configurarpuerto.h"

#include <QComboBox>
#include <QFormLayout>
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

private slots:
    void formulario();
    void estadoOculto();
    void listaDePuertos();
    void conectarGuardaElPuertoElegido_data();
    void conectarGuardaElPuertoElegido();
    void actualizarNoReleeLaLista();

private:
    template<typename T> static T *find(const QDialog &dialog, const char *name)
    {
        T *child = dialog.findChild<T *>(QLatin1String(name));
        if (!child)
            qWarning("falta %s", name);
        return child;
    }
};

void TestConfigurarPuerto::formulario()
{
    ConfigurarPuerto dialog;
    QCOMPARE(dialog.size(), QSize(321, 158));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));

    auto *grupo = find<QGroupBox>(dialog, "groupBoxConex");
    QVERIFY(grupo);
    QCOMPARE(grupo->title(), QStringLiteral("Conexión"));
    QCOMPARE(grupo->geometry(), QRect(10, 10, 300, 101));
    QCOMPARE(grupo->minimumWidth(), 300);
    auto *form = qobject_cast<QFormLayout *>(grupo->layout());
    QVERIFY(form);
    QCOMPARE(form->objectName(), QStringLiteral("formLayout"));
    QCOMPARE(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);

    QCOMPARE(find<QLabel>(dialog, "labelPort")->text(), QStringLiteral("Puerto"));
    QCOMPARE(find<QLabel>(dialog, "labelEstadoConex")->text(), QStringLiteral("Estado"));
    auto *combo = find<QComboBox>(dialog, "comboBoxPuertos");
    // A pseudo-terminal (the virtual board's) is not listed: its path is typed.
    QVERIFY(combo->isEditable());
    QCOMPARE(find<QLabel>(dialog, "labelVelocidad")->text(), QStringLiteral("Velocidad"));
    QCOMPARE(find<QComboBox>(dialog, "comboBoxVelocidad")->currentText(), QStringLiteral("115200"));
    QCOMPARE(combo->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QVERIFY(dialog.findChild<QLayout *>(QStringLiteral("horizontalLayout")));

    auto *actualizar = find<QPushButton>(dialog, "pushButtonRefreshPorts");
    QCOMPARE(actualizar->text(), QStringLiteral("Actualizar"));
    QCOMPARE(actualizar->toolTip(), QStringLiteral("Refrescar puertos"));
    QCOMPARE(actualizar->statusTip(), QStringLiteral("Refrescar puertos"));

    auto *conectar = find<QPushButton>(dialog, "pushButtonConectar");
    QCOMPARE(conectar->text(), QStringLiteral("Conectar"));
    QCOMPARE(conectar->geometry(), QRect(30, 120, 75, 23));
    auto *cancelar = find<QPushButton>(dialog, "pushButtonCancelar");
    QCOMPARE(cancelar->text(), QStringLiteral("Cancelar"));
    QCOMPARE(cancelar->geometry(), QRect(210, 120, 75, 23));

    QVERIFY(dialog.ObtenerNombrePuerto().isEmpty());
}

void TestConfigurarPuerto::estadoOculto()
{
    ConfigurarPuerto dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *estado = find<QLineEdit>(dialog, "lineEditEstado");
    QVERIFY(!estado->isVisible());
    QVERIFY(!find<QLabel>(dialog, "labelEstadoConex")->isVisible());
    QVERIFY(find<QComboBox>(dialog, "comboBoxPuertos")->isVisible());
    QVERIFY(estado->isReadOnly());
    QCOMPARE(estado->alignment(), Qt::AlignCenter);
    QCOMPARE(estado->text(), QStringLiteral("Desconectado"));
    QCOMPARE(estado->styleSheet(),
             QStringLiteral("font-weight: normal; color: white; background-color: red;"));
}

void TestConfigurarPuerto::listaDePuertos()
{
    ConfigurarPuerto dialog;
    auto *combo = find<QComboBox>(dialog, "comboBoxPuertos");
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QCOMPARE(combo->count(), ports.size());
    for (int i = 0; i < ports.size(); ++i) {
        QCOMPARE(combo->itemText(i), ports.at(i).portName());
        QCOMPARE(combo->itemData(i).toString(), ports.at(i).portName());
        QVERIFY(combo->itemIcon(i).isNull());
    }
}

// The stored name is the user data of the current entry: the computer's
// ports are replaced by a known list so the case does not depend on them.
// "Cancelar" rejects and keeps nothing.
void TestConfigurarPuerto::conectarGuardaElPuertoElegido_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedSpeed");
    QTest::newRow("sin puertos") << "pushButtonConectar" << QStringList() << -1 << ""
                                 << "" << QString() << 115200;
    QTest::newRow("el primero") << "pushButtonConectar" << QStringList({"ttyUSB0", "ttyACM0"}) << 0 << ""
                                << "9600"
                                << "ttyUSB0" << 9600;
    QTest::newRow("el segundo") << "pushButtonConectar" << QStringList({"ttyUSB0", "ttyACM0"}) << 1 << ""
                                << ""
                                << "ttyACM0" << 115200;
    QTest::newRow("ruta escrita") << "pushButtonConectar" << QStringList({"ttyUSB0"}) << 0 << " /dev/pts/7 "
                                  << "57600"
                                  << "/dev/pts/7" << 57600;
    QTest::newRow("cancelar") << "pushButtonCancelar" << QStringList({"ttyUSB9"}) << 0 << ""
                              << "9600" << QString() << 115200;
}

void TestConfigurarPuerto::conectarGuardaElPuertoElegido()
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
    QCOMPARE(dialog.result(), int(button == "pushButtonConectar" ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.ObtenerNombrePuerto(), expected);
    QCOMPARE(dialog.ObtenerVelocidad(), expectedSpeed);
    QVERIFY(!dialog.isVisible());
}

void TestConfigurarPuerto::actualizarNoReleeLaLista()
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

QTEST_MAIN(TestConfigurarPuerto)
#include "tst_configurarpuerto.moc"
