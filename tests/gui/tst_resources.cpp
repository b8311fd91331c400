#include "testsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// Every picture and template Vireo names must be compiled in: a missing icon
// shows as an empty button, a missing template as broken generated code.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void recursoNombradoEnElCodigo_data();
    void recursoNombradoEnElCodigo();
    void iconoDeVentanaEnVariosTamanos();
};

// Scans the sources and forms for resource paths (quoted, in a form, or an
// icon of the simulation tree named to iconoSim), so that a picture named
// anywhere in Vireo without being added to resources/ is caught here.
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
            auto matches = patron.first.globalMatch(text);
            while (matches.hasNext()) {
                const QString path = patron.second + matches.next().captured(1);
                if (seen.contains(path) || path.endsWith(QLatin1Char('/')))
                    continue;
                seen.insert(path);
                QTest::newRow(qPrintable(path)) << path << file;
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
    if (path.endsWith(QLatin1String(".txt")))
        return;
    QVERIFY2(!QPixmap(path).isNull(), qPrintable(path + QStringLiteral(" no se puede leer")));
}

void TestResources::iconoDeVentanaEnVariosTamanos()
{
    const QIcon icon(QStringLiteral(":/img/vireo.ico"));
    for (int size : {16, 32, 48, 256})
        QCOMPARE(icon.actualSize(QSize(size, size)), QSize(size, size));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
