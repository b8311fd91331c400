#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QInputDialog>
#include <QtTest>

// "Generar Código" wires the style dialog, the save before it and the
// generator (whose files tst_codegen checks) to the window's messages.
class TstCodegenGui : public QObject
{
    Q_OBJECT

private slots:
    void generar_data()
    {
        QTest::addColumn<QString>("proyecto");
        QTest::addColumn<QString>("estilo"); // answered in the style dialog; empty: cancelled
        QTest::addColumn<bool>("bloqueada"); // a file where the results folder goes
        QTest::addColumn<QString>("subcarpeta");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto"); // %1: the folder of the project
        const QString dos = QStringLiteral("codegen/dos_maquinas.vro");
        QTest::newRow("switch") << dos << "Switch Case" << false << "switch"
                                << "Generar Código (Switch Case)"
                                << "Se encuentra disponible el código en %1/resultados_DEMO/switch";
        QTest::newRow("puntero")
            << dos << "Puntero a Función" << false << "ptrFuncion"
            << "Generar Código (Puntero a Función)"
            << "Se encuentra disponible el código en %1/resultados_DEMO/ptrFuncion\n\n• El estilo puntero a "
               "función ejecuta solo la primera máquina (motor); no se ejecutará: luz.";
        QTest::newRow("cancelado") << dos << "" << false << ""
                                   << ""
                                   << "";
        QTest::newRow("sin estado inicial") << "codegen/sin_inicial.vro"
                                            << "" << false << ""
                                            << "Advertencia"
                                            << "luz: No se encuentra definido el Estado Inicial";
        QTest::newRow("escritura fallida")
            << dos << "Switch Case" << true << ""
            << "Generar Código"
            << "No se pudo escribir el archivo \n%1/resultados_DEMO/switch/main.c";
    }
    void generar()
    {
        QFETCH(QString, proyecto);
        QFETCH(QString, estilo);
        QFETCH(bool, bloqueada);
        QFETCH(QString, subcarpeta);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        VentanaPrueba v;
        const QString ruta = v.ruta(QStringLiteral("DEMO.vro"));
        QByteArray contenido = TestSupport::readFile(TestSupport::dataPath(proyecto));
        contenido.replace("<nombre>SININICIAL</nombre>", "<nombre>DEMO</nombre>");
        QVERIFY(TestSupport::writeFile(ruta, contenido) && v->abrirProyecto(ruta));
        if (bloqueada)
            QVERIFY(TestSupport::writeFile(v.ruta(QStringLiteral("resultados_DEMO")), "x"));
        QStringList ofrecido;
        ModalScript guion;
        if (proyecto == QLatin1String("codegen/dos_maquinas.vro")) {
            guion.then([&](QWidget *w) {
                auto *dialogo = qobject_cast<QInputDialog *>(w);
                QVERIFY(dialogo);
                ofrecido << dialogo->windowTitle() << dialogo->labelText() << dialogo->comboBoxItems()
                         << dialogo->textValue();
                if (estilo.isEmpty())
                    return dialogo->reject();
                dialogo->setTextValue(estilo);
                dialogo->accept();
            });
        }
        guion.thenDismiss();
        v.accion("actionGenerarCodigo")->trigger();
        QCOMPARE(guion.titulos(), titulo.isEmpty() ? QStringList() : QStringList(titulo));
        QCOMPARE(guion.textos(), texto.isEmpty() ? QStringList() : QStringList(texto.arg(v.ruta())));
        if (!ofrecido.isEmpty())
            QCOMPARE(ofrecido, (QStringList{"Generar Código", "Elegir el tipo de implemetación: ",
                                            "Switch Case", "Puntero a Función", "Switch Case"}));
        if (subcarpeta.isEmpty()) {
            QVERIFY(bloqueada || !QFileInfo::exists(v.ruta(QStringLiteral("resultados_DEMO"))));
            return;
        }
        // The command saved first, so the files carry the new modification date.
        QByteArray esperado = TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("codegen/golden/%1/AP_MdeE.c").arg(subcarpeta)));
        esperado.replace("05-03-2024 11:02:41",
                         v->documento()->getContenidoGeneral(QStringLiteral("modificacion")).toLatin1());
        const QByteArray obtenido =
            TestSupport::readFile(v.ruta(QStringLiteral("resultados_DEMO/%1/AP_MdeE.c").arg(subcarpeta)));
        QVERIFY2(esperado == obtenido, qPrintable(TestSupport::diffReport(esperado, obtenido)));
        QVERIFY(!v->isModificado());
    }
};

QTEST_MAIN(TstCodegenGui)
#include "tst_codegen_gui.moc"
