#include "testsupport.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QStringList kConstantesPlaca{"TRUE", "FALSE", "PLACA_H", "LED_ON", "LED_OFF", "MOTOR_PWM", "BAUDIOS"};
const QStringList kAccionesPlaca{"APAGAR_TODO()", "motor_on()",   "motor_off()",
                                 "leer()",        "estado_led()", "nombre_placa()"};

// What the last file dialog showed: title, filter and starting folder.
QStringList g_dialogo;

// Chooses ruta in the file dialog, recording what it showed; borrar removes
// the file once chosen, as if it vanished meanwhile.
ModalScript::Handler elegir(const QString &ruta, bool borrar = false)
{
    return [=](QWidget *w) {
        if (auto *dialogo = qobject_cast<QFileDialog *>(w))
            g_dialogo = QStringList{dialogo->windowTitle(), dialogo->nameFilters().join(';'),
                                    dialogo->directory().absolutePath()};
        VentanaPrueba::elegirArchivo(ruta)(w);
        if (borrar)
            QFile::remove(ruta);
    };
}

// Clicks boton in the question about unsaved changes; any other dialog is
// closed, so that a missing question fails the test instead of blocking it.
ModalScript::Handler responder(const QString &boton)
{
    return [boton](QWidget *w) {
        auto *pregunta = qobject_cast<QMessageBox *>(w);
        if (pregunta) {
            for (QAbstractButton *b : pregunta->buttons()) {
                if (b->text() == boton)
                    b->click();
            }
            return;
        }
        if (auto *dialogo = qobject_cast<QDialog *>(w))
            dialogo->reject();
    };
}

QStringList hijos(QTreeWidget *arbol, const QString &grupo)
{
    QStringList textos;
    const QList<QTreeWidgetItem *> encontrados =
        arbol->findItems(grupo, Qt::MatchExactly | Qt::MatchRecursive);
    if (encontrados.isEmpty())
        return textos;
    for (int i = 0; i < encontrados.first()->childCount(); ++i)
        textos << encontrados.first()->child(i)->text(0);
    return textos;
}

} // namespace

class TestImportarVentana : public QObject
{
    Q_OBJECT

    VentanaPrueba *m_v = nullptr;
    MainWindow *m_ventana = nullptr;
    QString m_cabecera;

    XmlHandler *datos() const { return m_ventana->documento(); }

    // The messages shown by an import from the file the dialog answer picks.
    QStringList importar(const char *accion, const ModalScript::Handler &dialogo)
    {
        ModalScript script;
        script.then(dialogo).thenDismiss();
        m_v->accion(accion)->trigger();
        return script.textos();
    }
    QStringList importarCabecera(const ModalScript::Handler &d) { return importar("actionDesde_archivo", d); }
    QStringList importarProyecto(const ModalScript::Handler &d)
    {
        return importar("actionDesde_otro_proyecto", d);
    }

private slots:
    void init()
    {
        m_v = new VentanaPrueba;
        m_ventana = &**m_v;
        QVERIFY(m_v->crear("demo", "demo"));
        m_cabecera = m_v->ruta("placa.h");
        QVERIFY(QFile::copy(TestSupport::dataPath("verify/placa.h"), m_cabecera));
    }
    void cleanup() { delete m_v; }

    void cabecera()
    {
        QVERIFY(!m_ventana->windowTitle().endsWith('*'));
        QCOMPARE(importarCabecera(elegir(m_cabecera)), QStringList());
        QCOMPARE(g_dialogo,
                 (QStringList{"Importar recursos desde archivo", "Proyectos(*.h)", QDir::homePath()}));
        QCOMPARE(datos()->getNombresConstantesDefinidas(), kConstantesPlaca);
        QCOMPARE(datos()->getNombresAccionesDefinidas(), kAccionesPlaca);
        QVERIFY(datos()->getNombresEventosDefinidos().isEmpty());
        QVERIFY(m_ventana->isModificado());
        QVERIFY(m_ventana->windowTitle().endsWith('*'));
        auto *explorador = m_ventana->findChild<QTreeWidget *>("treeWidgetProyecto");
        QCOMPARE(hijos(explorador, "CONSTANTES"), kConstantesPlaca);
        QCOMPARE(hijos(explorador, "ACCIONES"), kAccionesPlaca);

        // Again after saving: nothing new, so nothing to save.
        QVERIFY(m_ventana->guardarDatos());
        importarCabecera(elegir(m_cabecera));
        QCOMPARE(datos()->getNombresConstantesDefinidas(), kConstantesPlaca);
        QVERIFY(!m_ventana->isModificado());
        QVERIFY(!m_ventana->windowTitle().endsWith('*'));
    }

    void cabeceraIlegible()
    {
        const QStringList mensajes = importarCabecera(elegir(m_cabecera, true));
        QCOMPARE(mensajes, QStringList("No se pudo abrir el archivo \n" + m_cabecera));
        QCOMPARE(datos()->getNombresConstantesDefinidas(), (QStringList{"TRUE", "FALSE"}));
        QVERIFY(!m_ventana->isModificado());
    }

    // With unsaved changes the command first asks; "Si" saves before the
    // import, "Cancelar" leaves everything as it was.
    void cabeceraConCambios()
    {
        const QString archivo = m_v->ruta("demo/demo.vro");
        const QString primera = m_v->ruta("primera.h");
        QVERIFY(TestSupport::writeFile(primera, "#define PRIMERA 1\n"));
        importarCabecera(elegir(primera));
        QVERIFY(m_ventana->isModificado());
        {
            ModalScript script;
            script.then(responder("Cancelar"));
            m_ventana->findChild<QAction *>("actionDesde_archivo")->trigger();
            QCOMPARE(script.pendientes(), 0);
        }
        QCOMPARE(datos()->getNombresConstantesDefinidas(), (QStringList{"TRUE", "FALSE", "PRIMERA"}));
        QVERIFY(!TestSupport::readFile(archivo).contains("PRIMERA"));
        {
            ModalScript script;
            script.then(responder("Si")).then(elegir(m_cabecera));
            m_ventana->findChild<QAction *>("actionDesde_archivo")->trigger();
            QCOMPARE(script.pendientes(), 0);
        }
        QVERIFY(TestSupport::readFile(archivo).contains("PRIMERA"));
        QVERIFY(!TestSupport::readFile(archivo).contains("LED_ON"));
        QCOMPARE(datos()->getNombresConstantesDefinidas(),
                 (QStringList{"TRUE", "FALSE", "PRIMERA"} + kConstantesPlaca.mid(2)));
        QVERIFY(m_ventana->windowTitle().endsWith('*'));
    }

    void proyecto()
    {
        datos()->addNuevoEvento("ev_a");
        datos()->addNuevaAccion("a()");
        QVERIFY(m_ventana->guardarDatos());
        const QString otro = m_v->ruta("otro.vro");
        QVERIFY(TestSupport::writeFile(otro, R"(<?xml version="1.0" encoding="UTF-8"?>
<proyecto>
    <general><nombre>otro</nombre></general>
    <maquinas><maquina0><nombre>NO_SE_IMPORTA</nombre><estadoInicial/></maquina0></maquinas>
    <eventos><ev0>ev_b</ev0><ev1>ev_a</ev1><ev2>ev_b</ev2></eventos>
    <acciones><acc0>a()</acc0><acc1>b()</acc1><acc2>c</acc2><acc3></acc3></acciones>
    <variables><var0>v</var0></variables>
    <constantes><cons0>TRUE</cons0><cons1>K</cons1></constantes>
</proyecto>
)"));
        QCOMPARE(importarProyecto(elegir(otro)), QStringList());
        QCOMPARE(g_dialogo, (QStringList{"Importar proyecto", "Proyectos(*.vro)", QDir::homePath()}));
        QCOMPARE(datos()->getNombresEventosDefinidos(), (QStringList{"ev_a", "ev_b"}));
        QCOMPARE(datos()->getNombresAccionesDefinidas(), (QStringList{"a()", "b()", "c()"}));
        QCOMPARE(datos()->getNombresVariablesDefinidas(), QStringList{"v"});
        QCOMPARE(datos()->getNombresConstantesDefinidas(), (QStringList{"TRUE", "FALSE", "K"}));
        QCOMPARE(datos()->cantidadMaquinas(), 0);
        QVERIFY(m_ventana->windowTitle().endsWith('*'));
        QVERIFY(m_ventana->isModificado());

        QVERIFY(m_ventana->guardarDatos());
        importarProyecto(elegir(otro));
        QCOMPARE(datos()->getNombresAccionesDefinidas(), (QStringList{"a()", "b()", "c()"}));
        QVERIFY(!m_ventana->windowTitle().endsWith('*'));
    }

    void proyectoNoXml()
    {
        const QString roto = m_v->ruta("roto.vro");
        QVERIFY(TestSupport::writeFile(roto, "<proyecto><eventos><ev0>x</ev0></eventos>"));
        ModalScript script;
        script.then(elegir(roto)).thenDismiss();
        m_v->accion("actionDesde_otro_proyecto")->trigger();
        QCOMPARE(script.titulos(), QStringList("Error al importar el proyecto"));
        QCOMPARE(script.textos(), QStringList("No se pudo procesar el archivo \n" + roto));
        QVERIFY(datos()->getNombresEventosDefinidos().isEmpty());
        QVERIFY(!m_ventana->isModificado());
        QVERIFY(!m_ventana->windowTitle().endsWith('*'));
    }
};

QTEST_MAIN(TestImportarVentana)
#include "tst_importar_ventana.moc"
