#include "modalscript.h"
#include "regexpinputdialog.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QRegExp kCatalogo(QStringLiteral("[A-Za-z_]+[A-Za-z0-9_]+"));

QPushButton *boton(const QDialog &dialog, const QString &texto)
{
    const QList<QPushButton *> botones = dialog.findChildren<QPushButton *>();
    for (QPushButton *b : botones) {
        if (b->text() == texto)
            return b;
    }
    return nullptr;
}

} // namespace

class TestRegExpInputDialog : public QObject
{
    Q_OBJECT

private slots:
    void aceptarFollowsEmptiness()
    {
        RegExpInputDialog dialog(nullptr, Qt::Dialog);
        dialog.setRegExp(kCatalogo);
        auto *campo = dialog.findChild<QLineEdit *>();
        QPushButton *aceptar = boton(dialog, QStringLiteral("Aceptar"));
        QVERIFY(campo && aceptar && boton(dialog, QStringLiteral("Cancelar")));
        QVERIFY(!aceptar->isEnabled());

        QTest::keyClicks(campo, QStringLiteral("x"));
        QVERIFY(aceptar->isEnabled());
        QTest::keyClick(campo, Qt::Key_Backspace);
        QVERIFY(!aceptar->isEnabled());

        // An offered name is selected, so typing replaces it.
        dialog.setText(QStringLiteral("ESTADO"));
        QVERIFY(aceptar->isEnabled());
        QCOMPARE(campo->selectedText(), QStringLiteral("ESTADO"));
        QTest::keyClicks(campo, QStringLiteral("espera"));
        QCOMPARE(dialog.getText(), QStringLiteral("espera"));
        dialog.setText(QString());
        QVERIFY(!aceptar->isEnabled());
    }

    void patternFiltersKeystrokes_data()
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
    void patternFiltersKeystrokes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        RegExpInputDialog dialog;
        dialog.setRegExp(kCatalogo);
        auto *campo = dialog.findChild<QLineEdit *>();
        QTest::keyClicks(campo, typed);
        QCOMPARE(campo->text(), kept);
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

    void layoutAtMinimumSize()
    {
        RegExpInputDialog dialog(nullptr, Qt::Dialog);
        dialog.setLabelText(QStringLiteral("Definir el nombre:"));
        QVERIFY(dialog.layout()->minimumSize().height() <= dialog.minimumSize().height());
        dialog.resize(dialog.minimumSize());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
};

QTEST_MAIN(TestRegExpInputDialog)
#include "tst_regexpinputdialog.moc"
