#include "dialognuevoproyecto.h"
#include "modalscript.h"
#include "testsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kCreara = QStringLiteral("El programa va a crear la carpeta especificada.");

} // namespace

// The dialog is built fresh for each case, with HOME in a folder of the test's.
class TstDialogNuevoProyecto : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_dir;
    int m_caso = 0;
    std::unique_ptr<DialogNuevoProyecto> m_d;

    QLineEdit *campo(const char *nombre) { return m_d->findChild<QLineEdit *>(QLatin1String(nombre)); }
    QPushButton *boton(const char *nombre) { return m_d->findChild<QPushButton *>(QLatin1String(nombre)); }
    QString aviso() { return m_d->findChild<QLabel *>(QStringLiteral("labelAvisoCarpeta"))->text(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
    }
    void init()
    {
        m_dir = m_home.path() + QStringLiteral("/caso%1").arg(++m_caso);
        QVERIFY(QDir().mkpath(m_dir));
        m_d.reset(new DialogNuevoProyecto);
        m_d->show();
    }
    void cleanup() { m_d.reset(); }

    // It offers the user's Vireo folder, and "Crear" waits for a name. The
    // warning says when the folder does not exist yet; a relative folder is
    // under the user's home.
    void arranqueYAviso()
    {
        QCOMPARE(campo("lineEditCarpeta")->text(), m_home.path() + QStringLiteral("/Vireo"));
        QCOMPARE(aviso(), kCreara);
        QVERIFY(!boton("pushButtonCrear")->isEnabled());
        QTest::keyClicks(campo("lineEditNombre"), QStringLiteral("p"));
        QVERIFY(boton("pushButtonCrear")->isEnabled());
        campo("lineEditNombre")->clear();
        QVERIFY(!boton("pushButtonCrear")->isEnabled());
        campo("lineEditCarpeta")->setText(m_dir);
        QCOMPARE(aviso(), QString());
        campo("lineEditCarpeta")->clear();
        QTest::keyClicks(campo("lineEditCarpeta"), QStringLiteral("proyectos_vireo_inexistentes/uno"));
        QCOMPARE(m_d->selectedData().value(2),
                 QDir::homePath() + QStringLiteral("/proyectos_vireo_inexistentes/uno"));
        QCOMPARE(aviso(), kCreara);
    }

    void validadores_data()
    {
        QTest::addColumn<QByteArray>("campo");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("queda");
        QTest::newRow("nombre sin blancos") << QByteArray("lineEditNombre") << "mi proyecto"
                                            << "miproyecto";
        QTest::newRow("nombre con signos") << QByteArray("lineEditNombre") << "v1.0_(b)-c"
                                           << "v1.0_(b)-c";
        QTest::newRow("nombre sin barras ni acentos") << QByteArray("lineEditNombre") << "a/b\\cñ:"
                                                      << "abc";
        QTest::newRow("autor") << QByteArray("lineEditAutor") << "Ana Pérez"
                               << "AnaPrez";
        QTest::newRow("carpeta con barras y dos puntos") << QByteArray("lineEditCarpeta") << "C:/x y/z"
                                                         << "C:/xy/z";
    }
    void validadores()
    {
        QFETCH(QByteArray, campo);
        QFETCH(QString, tecleado);
        QFETCH(QString, queda);
        QLineEdit *edit = this->campo(campo.constData());
        edit->clear();
        // Key events carry the text, so letters such as "ñ" are typed as well.
        for (const QChar c : tecleado) {
            QKeyEvent tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &tecla);
        }
        QCOMPARE(edit->text(), queda);
    }

    // "Crear" makes the folder that is missing; a folder that cannot exist (a
    // plain file where a parent should be, or no folder at all) is refused.
    void crear_data()
    {
        QTest::addColumn<QString>("carpeta");
        QTest::addColumn<QString>("aviso");
        const QString imposible =
            QStringLiteral("No se pudo crear la carpeta. Verificar el nombre ingresado.");
        QTest::newRow("crea la que falta") << "a/b" << QString();
        QTest::newRow("bajo un archivo") << "archivo/sub" << imposible;
        QTest::newRow("ninguna") << QString() << imposible;
    }
    void crear()
    {
        QFETCH(QString, carpeta);
        QFETCH(QString, aviso);
        QVERIFY(TestSupport::writeFile(m_dir + QStringLiteral("/archivo"), "x"));
        if (!carpeta.isEmpty())
            carpeta.prepend(m_dir + QLatin1Char('/'));
        QSignalSpy aceptado(m_d.get(), &QDialog::accepted);
        campo("lineEditNombre")->setText(QStringLiteral("demo"));
        campo("lineEditAutor")->setText(QStringLiteral("ANA"));
        campo("lineEditCarpeta")->setText(carpeta);
        QTest::mouseClick(boton("pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(this->aviso(), aviso);
        QCOMPARE(aceptado.count(), aviso.isEmpty() ? 1 : 0);
        if (aviso.isEmpty()) {
            QVERIFY(QFileInfo(carpeta).isDir());
            QCOMPARE(m_d->selectedData(),
                     QStringList({QStringLiteral("demo"), QStringLiteral("ANA"), carpeta}));
        }
    }

    // A project of the same name in the folder is refused; another name is
    // accepted at once.
    void rechazaUnProyectoExistente()
    {
        QVERIFY(TestSupport::writeFile(m_dir + QStringLiteral("/demo.vro"), "x"));
        QSignalSpy aceptado(m_d.get(), &QDialog::accepted);
        campo("lineEditCarpeta")->setText(m_dir);
        campo("lineEditNombre")->setText(QStringLiteral("demo"));
        QTest::mouseClick(boton("pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(aceptado.count(), 0);
        QVERIFY(m_d->isVisible());
        QCOMPARE(aviso(), QStringLiteral("Ya existe un Proyecto con el mismo nombre."));
        campo("lineEditNombre")->setText(QStringLiteral("demo2"));
        QCOMPARE(aviso(), QString());
        QTest::mouseClick(boton("pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(aceptado.count(), 1);
    }

    // "Buscar" starts at the home folder and puts the chosen one in the field;
    // "Cancelar" rejects.
    void buscarYCancelar()
    {
        ModalScript script;
        script.then([this](QWidget *w) {
            auto *fd = qobject_cast<QFileDialog *>(w);
            QVERIFY(fd);
            QCOMPARE(QDir(fd->directory()).absolutePath(), QDir(m_home.path()).absolutePath());
            // Choosing the folder itself, with no name typed: selecting it by
            // name would race with the dialog's background directory listing.
            fd->setDirectory(m_dir);
            static_cast<QDialog *>(fd)->accept();
        });
        QTest::mouseClick(boton("pushButtonBuscar"), Qt::LeftButton);
        QCOMPARE(script.pendientes(), 0);
        QCOMPARE(campo("lineEditCarpeta")->text(), m_dir);
        QCOMPARE(aviso(), QString());
        QSignalSpy rechazado(m_d.get(), &QDialog::rejected);
        QTest::mouseClick(boton("pushButtonCancelar"), Qt::LeftButton);
        QCOMPARE(rechazado.count(), 1);
    }
};

QTEST_MAIN(TstDialogNuevoProyecto)
#include "tst_dialognuevoproyecto.moc"
