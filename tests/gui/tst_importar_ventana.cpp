#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QFileDialog>
#include <QTreeWidget>
#include <QtTest>

// The import commands wire the file dialog, the reader (tst_importar checks
// what it finds) and the window: the explorer, the modified state, the
// messages; with unsaved changes the header import asks first.
namespace {

const QByteArray kOtro = R"(<?xml version="1.0" encoding="UTF-8"?>
<proyecto>
    <general><nombre>otro</nombre></general>
    <maquinas><maquina0><nombre>NO_SE_IMPORTA</nombre><estadoInicial/></maquina0></maquinas>
    <eventos><ev0>ev_b</ev0><ev1>ev_a</ev1></eventos>
    <acciones><acc0>a()</acc0><acc1>c</acc1></acciones>
    <variables><var0>v</var0></variables>
    <constantes><cons0>TRUE</cons0><cons1>K</cons1></constantes>
</proyecto>
)";

// Chooses ruta in the file dialog, recording its title, filter and folder;
// borrar removes the file once chosen, as if it vanished meanwhile.
ModalScript::Handler elegir(const QString &ruta, bool borrar, QStringList *dialogo)
{
    return [=](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        QVERIFY(fd);
        *dialogo =
            QStringList{fd->windowTitle(), fd->nameFilters().join(';'), fd->directory().absolutePath()};
        VentanaPrueba::elegirArchivo(ruta)(w);
        if (borrar)
            QFile::remove(ruta);
    };
}

QStringList hijos(QTreeWidget *arbol, const QString &grupo)
{
    QStringList textos;
    QTreeWidgetItem *item = arbol->findItems(grupo, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    for (int i = 0; item && i < item->childCount(); ++i)
        textos << item->child(i)->text(0);
    return textos;
}

} // namespace

class TestImportarVentana : public QObject
{
    Q_OBJECT

private slots:
    void importar_data()
    {
        QTest::addColumn<QByteArray>("accion");
        QTest::addColumn<QByteArray>("contenido"); // empty: tests/data/verify/placa.h
        QTest::addColumn<bool>("borrar");
        QTest::addColumn<QString>("dialogo");
        QTest::addColumn<QStringList>("constantes");
        QTest::addColumn<QStringList>("acciones");
        QTest::addColumn<QString>("mensaje"); // title|text, %1 the file
        const QStringList base{"TRUE", "FALSE"};
        const QStringList placa = base + QStringList{"PLACA_H", "LED_ON", "LED_OFF", "MOTOR_PWM", "BAUDIOS"};
        const QByteArray archivo = "actionDesde_archivo";
        const QByteArray otro = "actionDesde_otro_proyecto";
        const QString cabecera = "Importar recursos desde archivo|Proyectos(*.h)";
        const QString proyecto = "Importar proyecto|Proyectos(*.vro)";
        QTest::newRow("cabecera") << archivo << QByteArray() << false << cabecera << placa
                                  << QStringList{"ev_a()", "APAGAR_TODO()", "motor_on()",    "motor_off()",
                                                 "leer()", "estado_led()",  "nombre_placa()"}
                                  << "";
        QTest::newRow("proyecto") << otro << kOtro << false << proyecto << base + QStringList{"K"}
                                  << QStringList{"ev_a()", "a()", "c()"} << "";
        QTest::newRow("cabecera ilegible")
            << archivo << QByteArray() << true << cabecera << base << QStringList{"ev_a()"}
            << "Error al importar recursos|No se pudo abrir el archivo \n%1";
        QTest::newRow("proyecto no XML")
            << otro << QByteArray("<proyecto><eventos><ev0>x</ev0></eventos>") << false << proyecto << base
            << QStringList{"ev_a()"} << "Error al importar el proyecto|No se pudo procesar el archivo \n%1";
    }
    void importar()
    {
        QFETCH(QByteArray, accion);
        QFETCH(QByteArray, contenido);
        QFETCH(bool, borrar);
        QFETCH(QString, dialogo);
        QFETCH(QStringList, constantes);
        QFETCH(QStringList, acciones);
        QFETCH(QString, mensaje);
        VentanaPrueba v;
        QVERIFY(v.crear("demo", "demo"));
        v->documento()->addNuevaAccion("ev_a()");
        QVERIFY(v->guardarDatos());
        const QString ruta = v.ruta("importado");
        QVERIFY(contenido.isEmpty() ? QFile::copy(TestSupport::dataPath("verify/placa.h"), ruta)
                                    : TestSupport::writeFile(ruta, contenido));
        for (int vez = 0; vez < 2; ++vez) {
            QStringList mostrado;
            ModalScript script;
            script.then(elegir(ruta, borrar, &mostrado)).thenDismiss();
            v.accion(accion.constData())->trigger();
            QCOMPARE(mostrado, (dialogo.split('|') << QDir::homePath()));
            QCOMPARE((script.titulos() + script.textos()).join('|'),
                     mensaje.isEmpty() ? mensaje : mensaje.arg(ruta));
            QCOMPARE(v->documento()->getNombresConstantesDefinidas(), constantes);
            QCOMPARE(v->documento()->getNombresAccionesDefinidas(), acciones);
            QCOMPARE(v->documento()->cantidadMaquinas(), 0);
            // Imported entries are a change to save; nothing new, no change.
            QCOMPARE(v->isModificado(), vez == 0 && mensaje.isEmpty());
            QCOMPARE(v->windowTitle().endsWith('*'), v->isModificado());
            if (!mensaje.isEmpty())
                return;
            QCOMPARE(hijos(v.hijo<QTreeWidget>("treeWidgetProyecto"), "CONSTANTES"), constantes);
            QVERIFY(v->guardarDatos());
        }
    }

    // "Cancelar" leaves everything as it was; "Si" saves before the import.
    void cabeceraConCambios()
    {
        VentanaPrueba v;
        QVERIFY(v.crear("demo", "demo"));
        const QString archivo = v.ruta("demo/demo.vro");
        const QString cabecera = v.ruta("placa.h");
        QVERIFY(QFile::copy(TestSupport::dataPath("verify/placa.h"), cabecera));
        v->documento()->addNuevaConstante("PRIMERA");
        v->registrarPaso("Nueva constante");
        QVERIFY(v->isModificado());
        ModalScript cancelar;
        cancelar.thenClick("Cancelar");
        QVERIFY(v.comando("actionDesde_archivo", cancelar));
        QVERIFY(!TestSupport::readFile(archivo).contains("PRIMERA"));
        QCOMPARE(v->documento()->cantidadConstantes(), 3);
        ModalScript si;
        si.thenClick("Si").then(VentanaPrueba::elegirArchivo(cabecera));
        QVERIFY(v.comando("actionDesde_archivo", si));
        QVERIFY(TestSupport::readFile(archivo).contains("PRIMERA"));
        QVERIFY(!TestSupport::readFile(archivo).contains("LED_ON"));
        QCOMPARE(v->documento()->getNombresConstantesDefinidas().mid(2, 2),
                 (QStringList{"PRIMERA", "PLACA_H"}));
        QVERIFY(v->windowTitle().endsWith('*'));
    }
};

QTEST_MAIN(TestImportarVentana)
#include "tst_importar_ventana.moc"
