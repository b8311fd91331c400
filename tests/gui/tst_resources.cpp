// Every picture and template Vireo names must be compiled in (a missing icon
// shows as an empty button, a missing template as broken generated code),
// and the standard dialogs speak Spanish once Qt's catalogue is installed,
// as main() does.
#include "testsupport.h"
#include "traducciones.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void recursoNombradoEnElCodigo_data();
    void recursoNombradoEnElCodigo();
    void iconoDeVentanaEnVariosTamanos();
    void dialogosEnCastellano();
};

// Resource paths quoted in the sources, named in a form, or given to
// iconoSim for the simulation tree.
void TestResources::recursoNombradoEnElCodigo_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("file");
    const QList<QPair<QRegularExpression, QString>> patrones{
        {QRegularExpression(QStringLiteral("\"(:/+(?:img|templates)/[^\"\\\\]+)\"")), QString()},
        {QRegularExpression(QStringLiteral("<normaloff>(:/[^<]+)</normaloff>")), QString()},
        {QRegularExpression(QStringLiteral("iconoSim\\(\"([^\"]+)\"\\)")), QStringLiteral(":/img/img/")},
    };
    QSet<QString> seen;
    QDirIterator it(QStringLiteral(VIREO_SOURCE_DIR "/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString text = QString::fromUtf8(TestSupport::readFile(file));
        for (const auto &patron : patrones) {
            for (auto m = patron.first.globalMatch(text); m.hasNext();) {
                const QString path = patron.second + m.next().captured(1);
                if (!path.endsWith(QLatin1Char('/')) && !seen.contains(path))
                    QTest::newRow(qPrintable(path)) << path << file;
                seen.insert(path);
            }
        }
    }
    for (const char *leido :
         {":/img/vireo.ico", "://templates/plantillaEstado4.txt", ":/img/img/bullet black.png"})
        QVERIFY2(seen.contains(QLatin1String(leido)), leido);
}

void TestResources::recursoNombradoEnElCodigo()
{
    QFETCH(QString, path);
    QFETCH(QString, file);
    QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" no existe, nombrado en ") + file));
    if (!path.endsWith(QLatin1String(".txt")))
        QVERIFY2(!QPixmap(path).isNull(), qPrintable(path + QStringLiteral(" no se puede leer")));
}

void TestResources::iconoDeVentanaEnVariosTamanos()
{
    const QIcon icon(QStringLiteral(":/img/vireo.ico"));
    for (int size : {16, 32, 48, 256})
        QCOMPARE(icon.actualSize(QSize(size, size)), QSize(size, size));
}

void TestResources::dialogosEnCastellano()
{
    QVERIFY2(Traducciones::instalar(*qApp), "Qt's Spanish catalogue (qttranslations5-l10n) is not installed");
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Vireo"), QStringLiteral("texto"),
                     QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::Save);
    caja.show();
    QStringList botones;
    for (auto b : {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Save})
        botones << caja.button(b)->text().remove(QLatin1Char('&'));
    QCOMPARE(botones, QStringList({"Aceptar", "Cancelar", "Sí", "Guardar"}));

    QFileDialog dialogo(nullptr, QStringLiteral("Abrir Proyecto"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.show();
    const auto *cajaBotones = dialogo.findChild<QDialogButtonBox *>();
    QVERIFY(cajaBotones);
    QCOMPARE(cajaBotones->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Cancelar"));
    QCOMPARE(cajaBotones->button(QDialogButtonBox::Open)->text().remove(QLatin1Char('&')),
             QStringLiteral("Abrir"));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
