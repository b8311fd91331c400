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
    void imagenConocida_data();
    void imagenConocida();
    void recursoNombradoEnElCodigo_data();
    void recursoNombradoEnElCodigo();
    void iconoDeVentanaEnVariosTamanos();
};

namespace {

void checkLoads(const QString &path)
{
    QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" no existe")));
    if (path.endsWith(QLatin1String(".txt")))
        return;
    const QPixmap pixmap(path);
    QVERIFY2(!pixmap.isNull(), qPrintable(path + QStringLiteral(" no se puede leer")));
    QVERIFY(!QIcon(path).isNull());
}

} // namespace

void TestResources::imagenConocida_data()
{
    QTest::addColumn<QString>("path");
    const char *known[] = {
        ":/img/vireo.ico",
        ":/img/img/logoAlderhall.png",
        ":/img/img/add.png",
        ":/img/img/add_box.png",
        ":/img/img/add_transition.png",
        ":/img/img/application cascade.png",
        ":/img/img/application tile horizontal.png",
        ":/img/img/application.png",
        ":/img/img/application_add.png",
        ":/img/img/application_delete.png",
        ":/img/img/arrow_down.png",
        ":/img/img/arrow_right.png",
        ":/img/img/arrow_up.png",
        ":/img/img/brick.png",
        ":/img/img/bullet black.png",
        ":/img/img/bullet_arrow_down.png",
        ":/img/img/bullet_arrow_up.png",
        ":/img/img/bullet_blue.png",
        ":/img/img/bullet_red.png",
        ":/img/img/button.png",
        ":/img/img/button2.png",
        ":/img/img/chart_organisation.png",
        ":/img/img/check box.png",
        ":/img/img/control_play_blue.png",
        ":/img/img/control_stop_blue.png",
        ":/img/img/cross.png",
        ":/img/img/cursor.png",
        ":/img/img/delete.png",
        ":/img/img/disk.png",
        ":/img/img/door.png",
        ":/img/img/error.png",
        ":/img/img/events.png",
        ":/img/img/external.png",
        ":/img/img/folder.png",
        ":/img/img/folder_add.png",
        ":/img/img/folder_delete.png",
        ":/img/img/information.png",
        ":/img/img/non_derivative.png",
        ":/img/img/plugin.png",
        ":/img/img/plugin_go.png",
        ":/img/img/report.png",
        ":/img/img/save as.png",
        ":/img/img/source_code.png",
        ":/img/img/tick.png",
        "://templates/plantillaEstado4.txt",
        "://templates/TextoDeAdvertencia2.txt",
    };
    for (const char *path : known)
        QTest::newRow(path) << QString::fromUtf8(path);
}

void TestResources::imagenConocida()
{
    QFETCH(QString, path);
    checkLoads(path);
}

// Scans the sources and forms for resource paths, so that a new icon named
// anywhere in Vireo without being added to resources/ is caught here.
void TestResources::recursoNombradoEnElCodigo_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("file");
    const QRegularExpression quoted(QStringLiteral("\"(:/+(?:img|templates)/[^\"\\\\]+)\""));
    const QRegularExpression form(QStringLiteral("<normaloff>(:/[^<]+)</normaloff>"));
    QSet<QString> seen;
    QDirIterator it(QStringLiteral(VIREO_SOURCE_DIR "/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString text = QString::fromUtf8(TestSupport::readFile(file));
        for (const QRegularExpression &re : {quoted, form}) {
            auto matches = re.globalMatch(text);
            while (matches.hasNext()) {
                const QString path = matches.next().captured(1);
                if (seen.contains(path))
                    continue;
                seen.insert(path);
                QTest::newRow(qPrintable(path)) << path << file;
            }
        }
    }
    QVERIFY2(seen.contains(QStringLiteral(":/img/vireo.ico")), "el formulario principal no fue leído");
}

void TestResources::recursoNombradoEnElCodigo()
{
    QFETCH(QString, path);
    QFETCH(QString, file);
    if (path.endsWith(QLatin1Char('/')))
        QSKIP("prefijo de carpeta, no un archivo");
    checkLoads(path);
    if (QTest::currentTestFailed())
        qWarning("nombrado en %s", qPrintable(file));
}

void TestResources::iconoDeVentanaEnVariosTamanos()
{
    const QIcon icon(QStringLiteral(":/img/vireo.ico"));
    for (int size : {16, 32, 48, 256}) {
        const QSize actual = icon.actualSize(QSize(size, size));
        QCOMPARE(actual, QSize(size, size));
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
