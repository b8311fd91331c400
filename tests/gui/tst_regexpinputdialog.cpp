#include "modalscript.h"
#include "regexpinputdialog.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QRegExp kCatalogo(QStringLiteral("[A-Za-z_]+[A-Za-z0-9_]+"));

} // namespace

class TestRegExpInputDialog : public QObject
{
    Q_OBJECT

private slots:
    // Keystrokes the pattern refuses are dropped; "Aceptar" follows the
    // field's emptiness; an offered name is selected, so typing replaces it.
    void teclasYAceptar_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digit first") << "1abc"
                                     << "abc";
        QTest::newRow("digit later") << "a1"
                                     << "a1";
        QTest::newRow("blank and symbols") << "mi luz!"
                                           << "miluz";
        QTest::newRow("underscore first") << "_x"
                                          << "_x";
    }
    void teclasYAceptar()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        RegExpInputDialog dialog(nullptr, Qt::Dialog);
        dialog.setLabelText(QStringLiteral("Definir el nombre:"));
        dialog.setRegExp(kCatalogo);
        auto *campo = dialog.findChild<QLineEdit *>();
        QPushButton *aceptar = nullptr;
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            aceptar = b->text() == QStringLiteral("Aceptar") ? b : aceptar;
        QVERIFY(aceptar && !aceptar->isEnabled());
        dialog.setText(QStringLiteral("ESTADO"));
        QVERIFY(aceptar->isEnabled());
        QTest::keyClicks(campo, typed);
        QCOMPARE(dialog.getText(), kept);
        campo->selectAll();
        QTest::keyClick(campo, Qt::Key_Backspace);
        QVERIFY(!aceptar->isEnabled());
        QVERIFY(dialog.layout()->minimumSize().height() <= dialog.minimumSize().height());
    }

    // A one-character name is accepted; a cancelled dialog gives no name.
    void getText_data()
    {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<bool>("aceptado");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("aceptar") << "Aceptar" << true << "x";
        QTest::newRow("cancelar") << "Cancelar" << false << "";
    }
    void getText()
    {
        QFETCH(QString, boton);
        QFETCH(bool, aceptado);
        QFETCH(QString, nombre);
        ModalScript script;
        script.thenType(QStringLiteral("x"), boton);
        bool ok = !aceptado;
        QCOMPARE(RegExpInputDialog::getText(nullptr, QStringLiteral("Nuevo Evento"),
                                            QStringLiteral("Definir el nombre:"), QStringLiteral("algo"),
                                            kCatalogo, &ok, QIcon(), Qt::Dialog),
                 nombre);
        QCOMPARE(script.titulos(), QStringList("Nuevo Evento"));
        QCOMPARE(script.textos(), QStringList("algo"));
        QCOMPARE(ok, aceptado);
    }
};

QTEST_MAIN(TestRegExpInputDialog)
#include "tst_regexpinputdialog.moc"
