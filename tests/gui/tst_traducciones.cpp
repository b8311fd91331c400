// The standard dialogs Vireo opens (file choosers, message-box buttons, and
// input boxes, from the same catalogue) speak Spanish once Qt's catalogue is installed, as main() does.
#include "traducciones.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TstTraducciones : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void botonesDeMensaje_data();
    void botonesDeMensaje();
    void selectorDeArchivos();
};

void TstTraducciones::initTestCase()
{
    QVERIFY2(Traducciones::instalar(*qApp), "Qt's Spanish catalogue (qttranslations5-l10n) is not installed");
}

void TstTraducciones::botonesDeMensaje_data()
{
    QTest::addColumn<int>("boton");
    QTest::addColumn<QString>("texto");
    QTest::newRow("ok") << int(QMessageBox::Ok) << QStringLiteral("Aceptar");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QStringLiteral("Cancelar");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringLiteral("Sí");
    QTest::newRow("save") << int(QMessageBox::Save) << QStringLiteral("Guardar");
}

void TstTraducciones::botonesDeMensaje()
{
    QFETCH(int, boton);
    QFETCH(QString, texto);
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Vireo"), QStringLiteral("texto"),
                     QMessageBox::StandardButton(boton));
    caja.show();
    QCOMPARE(caja.button(QMessageBox::StandardButton(boton))->text().remove(QLatin1Char('&')), texto);
}

void TstTraducciones::selectorDeArchivos()
{
    QFileDialog dialogo(nullptr, QStringLiteral("Abrir Proyecto"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.show();
    const QDialogButtonBox *botones = dialogo.findChild<QDialogButtonBox *>();
    QVERIFY(botones);
    QCOMPARE(botones->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Cancelar"));
    QCOMPARE(botones->button(QDialogButtonBox::Open)->text().remove(QLatin1Char('&')),
             QStringLiteral("Abrir"));
}

QTEST_MAIN(TstTraducciones)
#include "tst_traducciones.moc"
