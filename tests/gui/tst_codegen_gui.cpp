#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QDir>
#include <QInputDialog>
#include <QtTest>

namespace {

const QStringList kArchivos = {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.h"),
                               QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.h"),
                               QStringLiteral("AP_FuncionesMdeE.c")};

ModalScript::Handler elegir(const QString &estilo, QStringList *vistos)
{
    return [estilo, vistos](QWidget *w) {
        auto *dialogo = qobject_cast<QInputDialog *>(w);
        if (!dialogo) {
            ModalScript::descartar()(w);
            return;
        }
        *vistos << dialogo->windowTitle() << dialogo->labelText() << dialogo->comboBoxItems();
        *vistos << dialogo->textValue();
        if (estilo.isEmpty()) {
            dialogo->reject();
            return;
        }
        dialogo->setTextValue(estilo);
        dialogo->accept();
    };
}

} // namespace

class TstCodegenGui : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void generaElEstiloElegido_data();
    void generaElEstiloElegido();
    void cancelarNoEscribeNada();
    void maquinaSinEstadoInicial();
    void escrituraFallidaSeAdvierte();

private:
    // Copies a test project into a fresh folder as DEMO.vro and opens it.
    QString abrir(const QString &relativo);
    void generar(ModalScript &guion);

    std::unique_ptr<VentanaPrueba> m_ventana;
};

void TstCodegenGui::init()
{
    m_ventana = std::make_unique<VentanaPrueba>();
}

void TstCodegenGui::cleanup()
{
    m_ventana.reset();
}

QString TstCodegenGui::abrir(const QString &relativo)
{
    const QString ruta = m_ventana->ruta(QStringLiteral("DEMO.vro"));
    QByteArray contenido = TestSupport::readFile(TestSupport::dataPath(relativo));
    contenido.replace("<nombre>SININICIAL</nombre>", "<nombre>DEMO</nombre>");
    if (!TestSupport::writeFile(ruta, contenido) || !(*m_ventana)->abrirProyecto(ruta))
        return QString();
    return ruta;
}

void TstCodegenGui::generar(ModalScript &guion)
{
    m_ventana->accion("actionGenerarCodigo")->trigger();
    QTRY_COMPARE(guion.pendientes(), 0);
}

void TstCodegenGui::generaElEstiloElegido_data()
{
    QTest::addColumn<QString>("estilo");
    QTest::addColumn<QString>("subcarpeta");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("motivos");
    QTest::newRow("switch") << "Switch Case"
                            << "switch"
                            << "Generar Código (Switch Case)"
                            << "";
    QTest::newRow("puntero")
        << "Puntero a Función"
        << "ptrFuncion"
        << "Generar Código (Puntero a Función)"
        << "\n\n• El estilo puntero a función ejecuta solo la primera máquina (motor); no se "
           "ejecutará: luz.";
}

void TstCodegenGui::generaElEstiloElegido()
{
    QFETCH(QString, estilo);
    QFETCH(QString, subcarpeta);
    QFETCH(QString, titulo);
    QFETCH(QString, motivos);
    QVERIFY(!abrir(QStringLiteral("codegen/dos_maquinas.vro")).isEmpty());
    QStringList vistos;
    ModalScript guion;
    guion.then(elegir(estilo, &vistos)).thenDismiss();
    generar(guion);

    QCOMPARE(vistos,
             (QStringList{QStringLiteral("Generar Código"),
                          QStringLiteral("Elegir el tipo de implemetación: "), QStringLiteral("Switch Case"),
                          QStringLiteral("Puntero a Función"), QStringLiteral("Switch Case")}));
    const QString carpeta = m_ventana->ruta() + QStringLiteral("/resultados_DEMO/") + subcarpeta;
    QCOMPARE(guion.titulos(), QStringList{titulo});
    QCOMPARE(guion.textos(),
             QStringList{QStringLiteral("Se encuentra disponible el código en ") + carpeta + motivos});

    // The command saved first, so the files carry the new modification date.
    const QByteArray fecha =
        (*m_ventana)->documento()->getContenidoGeneral(QStringLiteral("modificacion")).toLatin1();
    for (const QString &archivo : kArchivos) {
        QByteArray esperado = TestSupport::readFile(
            TestSupport::dataPath(QStringLiteral("codegen/golden/%1/%2").arg(subcarpeta, archivo)));
        esperado.replace("05-03-2024 11:02:41", fecha);
        const QByteArray obtenido = TestSupport::readFile(carpeta + QLatin1Char('/') + archivo);
        QVERIFY2(esperado == obtenido,
                 qPrintable(archivo + QStringLiteral(": ") + TestSupport::diffReport(esperado, obtenido)));
    }
    QVERIFY(!(*m_ventana)->isModificado());
}

void TstCodegenGui::cancelarNoEscribeNada()
{
    QVERIFY(!abrir(QStringLiteral("codegen/dos_maquinas.vro")).isEmpty());
    QStringList vistos;
    ModalScript guion;
    guion.then(elegir(QString(), &vistos));
    generar(guion);
    QVERIFY(guion.titulos().isEmpty());
    QVERIFY(!QFileInfo::exists(m_ventana->ruta(QStringLiteral("resultados_DEMO"))));
}

void TstCodegenGui::maquinaSinEstadoInicial()
{
    QVERIFY(!abrir(QStringLiteral("codegen/sin_inicial.vro")).isEmpty());
    ModalScript guion;
    guion.thenDismiss();
    generar(guion);
    QCOMPARE(guion.titulos(), QStringList{QStringLiteral("Advertencia")});
    QCOMPARE(guion.textos(), QStringList{QStringLiteral("luz: No se encuentra definido el Estado Inicial")});
    QVERIFY(!QFileInfo::exists(m_ventana->ruta(QStringLiteral("resultados_DEMO"))));
}

void TstCodegenGui::escrituraFallidaSeAdvierte()
{
    QVERIFY(!abrir(QStringLiteral("codegen/dos_maquinas.vro")).isEmpty());
    // A file where the results folder should be: nothing can be written below it.
    QVERIFY(TestSupport::writeFile(m_ventana->ruta(QStringLiteral("resultados_DEMO")), "x"));
    QStringList vistos;
    ModalScript guion;
    guion.then(elegir(QStringLiteral("Switch Case"), &vistos)).thenDismiss();
    generar(guion);
    QCOMPARE(guion.titulos(), QStringList{QStringLiteral("Generar Código")});
    QCOMPARE(guion.textos(),
             QStringList{QStringLiteral("No se pudo escribir el archivo \n") + m_ventana->ruta() +
                         QStringLiteral("/resultados_DEMO/switch/main.c")});
}

QTEST_MAIN(TstCodegenGui)
#include "tst_codegen_gui.moc"
