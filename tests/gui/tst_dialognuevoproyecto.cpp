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

class TstDialogNuevoProyecto : public QObject
{
    Q_OBJECT

    QLineEdit *campo(DialogNuevoProyecto &d, const char *nombre)
    {
        return d.findChild<QLineEdit *>(QLatin1String(nombre));
    }
    QPushButton *boton(DialogNuevoProyecto &d, const char *nombre)
    {
        return d.findChild<QPushButton *>(QLatin1String(nombre));
    }
    QString aviso(DialogNuevoProyecto &d)
    {
        return d.findChild<QLabel *>(QStringLiteral("labelAvisoCarpeta"))->text();
    }

    QTemporaryDir m_home;
    QString m_dir;
    int m_caso = 0;

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
    }

    void arrancaConLaCarpetaVireoDelUsuario()
    {
        DialogNuevoProyecto d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Vireo | Alderhall"));
        QCOMPARE(campo(d, "lineEditCarpeta")->text(), m_home.path() + QStringLiteral("/Vireo"));
        QCOMPARE(aviso(d), QStringLiteral("El programa va a crear la carpeta especificada."));
        QVERIFY(!boton(d, "pushButtonCrear")->isEnabled());
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
        DialogNuevoProyecto d;
        QLineEdit *edit = this->campo(d, campo.constData());
        edit->clear();
        // Key events carry the text, so letters such as "ñ" are typed as well.
        for (const QChar c : tecleado) {
            QKeyEvent tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &tecla);
        }
        QCOMPARE(edit->text(), queda);
    }

    void crearSeHabilitaConElNombre()
    {
        DialogNuevoProyecto d;
        QTest::keyClicks(campo(d, "lineEditNombre"), QStringLiteral("p"));
        QVERIFY(boton(d, "pushButtonCrear")->isEnabled());
        campo(d, "lineEditNombre")->clear();
        QVERIFY(!boton(d, "pushButtonCrear")->isEnabled());
    }

    void avisoDeCarpeta()
    {
        DialogNuevoProyecto d;
        campo(d, "lineEditCarpeta")->setText(m_dir);
        QCOMPARE(aviso(d), QString());
        campo(d, "lineEditCarpeta")->setText(m_dir + QStringLiteral("/nueva"));
        QCOMPARE(aviso(d), QStringLiteral("El programa va a crear la carpeta especificada."));
    }

    void carpetaRelativaALaCarpetaPersonal()
    {
        DialogNuevoProyecto d;
        campo(d, "lineEditCarpeta")->clear();
        QTest::keyClicks(campo(d, "lineEditCarpeta"), QStringLiteral("proyectos_vireo_inexistentes/uno"));
        QCOMPARE(d.selectedData().value(2),
                 QDir::homePath() + QStringLiteral("/proyectos_vireo_inexistentes/uno"));
        QCOMPARE(aviso(d), QStringLiteral("El programa va a crear la carpeta especificada."));
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
        DialogNuevoProyecto d;
        QSignalSpy aceptado(&d, &QDialog::accepted);
        campo(d, "lineEditNombre")->setText(QStringLiteral("demo"));
        campo(d, "lineEditAutor")->setText(QStringLiteral("ANA"));
        campo(d, "lineEditCarpeta")->setText(carpeta);
        QTest::mouseClick(boton(d, "pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(this->aviso(d), aviso);
        QCOMPARE(aceptado.count(), aviso.isEmpty() ? 1 : 0);
        if (aviso.isEmpty()) {
            QVERIFY(QFileInfo(carpeta).isDir());
            QCOMPARE(d.selectedData(), QStringList({QStringLiteral("demo"), QStringLiteral("ANA"), carpeta}));
        }
    }

    void rechazaUnProyectoExistente()
    {
        QVERIFY(TestSupport::writeFile(m_dir + QStringLiteral("/demo.vro"), "x"));
        DialogNuevoProyecto d;
        d.show();
        QSignalSpy aceptado(&d, &QDialog::accepted);
        campo(d, "lineEditCarpeta")->setText(m_dir);
        campo(d, "lineEditNombre")->setText(QStringLiteral("demo"));
        QTest::mouseClick(boton(d, "pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(aceptado.count(), 0);
        QVERIFY(d.isVisible());
        QCOMPARE(aviso(d), QStringLiteral("Ya existe un Proyecto con el mismo nombre."));

        // Another name is accepted at once.
        campo(d, "lineEditNombre")->setText(QStringLiteral("demo2"));
        QCOMPARE(aviso(d), QString());
        QTest::mouseClick(boton(d, "pushButtonCrear"), Qt::LeftButton);
        QCOMPARE(aceptado.count(), 1);
    }

    void buscarReemplazaLaCarpeta()
    {
        DialogNuevoProyecto d;
        d.show();
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
        QTest::mouseClick(boton(d, "pushButtonBuscar"), Qt::LeftButton);
        QCOMPARE(script.pendientes(), 0);
        QCOMPARE(campo(d, "lineEditCarpeta")->text(), m_dir);
        QCOMPARE(aviso(d), QString());
    }

    void cancelarRechaza()
    {
        DialogNuevoProyecto d;
        d.show();
        QSignalSpy rechazado(&d, &QDialog::rejected);
        QTest::mouseClick(boton(d, "pushButtonCancelar"), Qt::LeftButton);
        QCOMPARE(rechazado.count(), 1);
    }
};

QTEST_MAIN(TstDialogNuevoProyecto)
#include "tst_dialognuevoproyecto.moc"
