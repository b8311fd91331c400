#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using ProyectoPrueba::estado;
using ProyectoPrueba::transicion;

namespace {

// "name (machine) -> name: trigger / actions" for every transition, sorted,
// and "name@x,y" for every state: what a copy must carry over.
QStringList describir(DiagramScene *scene)
{
    QStringList lineas;
    for (DiagramItem *e : scene->itemList()) {
        lineas << QString("%1@%2,%3").arg(e->name()).arg(e->pos().x()).arg(e->pos().y());
        for (Arrow *a : e->arrows()) {
            if (a->startItem() == e)
                lineas << QString("%1 -> %2: %3 / %4")
                              .arg(e->name(), a->endItem()->name(), a->event(), a->actions().join(','));
        }
    }
    lineas.sort();
    return lineas;
}

} // namespace

// Clipboard, keyboard and context menus of the diagrams, and the names the
// dialogs refuse.
class TstPortapapeles : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_ventana = new MainWindow;
        m_ventana->resize(1200, 800);
        m_ventana->show();
        m_ventana->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_ventana));
        m_carpeta = m_dir.filePath(QString::number(++m_prueba));
        QVERIFY(QDir().mkpath(m_carpeta));
        QVERIFY(ProyectoPrueba::crear(*m_ventana, m_carpeta, "Copias"));
        m_origen = ProyectoPrueba::maquina(*m_ventana, "Origen");
        m_destino = ProyectoPrueba::maquina(*m_ventana, "Destino");
        m_ventana->uiEnable();
        XmlHandler *doc = m_ventana->documento();
        doc->addNuevoEvento("boton");
        doc->addNuevoEvento("nunca");
        doc->addNuevaAccion("encender()");
        doc->addNuevaVariable("x");
        m_a = estado(m_origen, "A", {0, 0});
        m_b = estado(m_origen, "B", {300, 0});
        m_c = estado(m_origen, "C", {150, 200});
        transicion(m_origen, m_a, m_b, "boton", {"encender()"});
        transicion(m_origen, m_b, m_c, "x > 3", {"x = 0"});
        transicion(m_origen, m_b, m_b, "boton", {""});
        transicion(m_origen, m_c, estado(m_origen, "FUERA", {600, 300}), "nunca", {""});
        activar(m_origen);
    }
    void cleanup()
    {
        delete m_ventana;
        QApplication::clipboard()->clear();
    }

    void copiarYPegar_data()
    {
        QTest::addColumn<QStringList>("copiados");
        QTest::addColumn<bool>("otraMaquina");
        QTest::addColumn<int>("veces");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<QStringList>("catalogo");

        const QStringList todo{"boton", "nunca", "encender()", "x"};
        QTest::newRow("un estado") << QStringList{"A"} << false << 1 << QStringList{"A2@20,20"} << todo;
        QTest::newRow("con un bucle")
            << QStringList{"B"} << false << 1 << QStringList{"B2 -> B2: boton / ", "B2@320,20"} << todo;
        QTest::newRow("tres, una transición sale")
            << QStringList{"A", "B", "C"} << true << 1
            << QStringList{"A2 -> B2: boton / encender()", "A2@20,20",  "B2 -> B2: boton / ",
                           "B2 -> C2: x > 3 / x = 0",      "B2@320,20", "C2@170,220"}
            << todo;
        QTest::newRow("dos veces") << QStringList{"A"} << false << 2 << QStringList{"A2@20,20", "A3@40,40"}
                                   << todo;
        // Only what the pasted transitions use reaches a project without a catalogue.
        QTest::newRow("a un proyecto sin catálogo")
            << QStringList{"A", "B", "C"} << true << 1 << QStringList()
            << QStringList{"boton", "encender()", "x"};
    }

    void copiarYPegar()
    {
        QFETCH(QStringList, copiados);
        QFETCH(bool, otraMaquina);
        QFETCH(int, veces);
        QFETCH(QStringList, esperado);
        QFETCH(QStringList, catalogo);
        for (DiagramItem *e : m_origen->itemList())
            e->setSelected(copiados.contains(e->name()));
        QVERIFY(m_ventana->copiarSeleccion());
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat("application/x-vireo-fragmento"));

        const bool otroProyecto = esperado.isEmpty();
        if (otroProyecto) {
            // Another window stands for another Vireo: it reads the system clipboard.
            delete m_ventana;
            m_ventana = new MainWindow;
            QVERIFY(ProyectoPrueba::crear(*m_ventana, m_carpeta, "Otro"));
            m_destino = ProyectoPrueba::maquina(*m_ventana, "Destino");
            m_ventana->uiEnable();
        }
        DiagramScene *destino = otraMaquina ? m_destino : m_origen;
        activar(destino);
        const QStringList antes = describir(destino);
        for (int i = 0; i < veces; ++i)
            m_ventana->pegar(nullptr);

        QStringList nuevos = describir(destino);
        for (const QString &linea : antes)
            nuevos.removeOne(linea);
        if (otroProyecto) {
            QCOMPARE(nuevos.size(), 6);
        } else {
            QCOMPARE(nuevos, esperado);
        }
        QStringList seleccion;
        for (DiagramItem *e : destino->itemList())
            if (e->isSelected())
                seleccion << e->name();
        QCOMPARE(seleccion.size(), copiados.size());
        const XmlHandler *doc = m_ventana->documento();
        QCOMPARE(doc->getNombresEventosDefinidos() + doc->getNombresAccionesDefinidas() +
                     doc->getNombresVariablesDefinidas(),
                 catalogo);
        QVERIFY(m_ventana->isModificado());
    }

    // Pasting twice into another machine: names stay unique in the whole
    // project, as the generated C needs.
    void pegarRenombraEnTodoElProyecto()
    {
        m_a->setSelected(true);
        m_ventana->copiarSeleccion();
        estado(m_destino, "A2", {0, 0});
        activar(m_destino);
        m_ventana->pegar(nullptr);
        QCOMPARE(m_destino->itemList().last()->name(), QStringLiteral("A3"));
    }

    void cortarYSeleccionarTodo()
    {
        m_b->setSelected(true);
        action("actionCortar")->trigger();
        QCOMPARE(m_origen->itemList().size(), 4 - 1);
        QApplication::processEvents();
        action("actionSeleccionarTodo")->trigger();
        int seleccionados = 0;
        for (QGraphicsItem *item : m_origen->items())
            seleccionados += item->isSelected();
        QCOMPARE(seleccionados, 3 + 1); // the states left and the transition among them
    }

    void teclado_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QPointF>("desplazamiento");
        QTest::newRow("izquierda") << int(Qt::Key_Left) << int(Qt::NoModifier) << QPointF(-1, 0);
        QTest::newRow("derecha") << int(Qt::Key_Right) << int(Qt::NoModifier) << QPointF(1, 0);
        QTest::newRow("arriba") << int(Qt::Key_Up) << int(Qt::NoModifier) << QPointF(0, -1);
        QTest::newRow("abajo, mayúsculas") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << QPointF(0, 10);
    }

    // Arrow keys move the selection (the transition between two moved states
    // keeps its bend); a burst of presses is one change.
    void teclado()
    {
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        QFETCH(QPointF, desplazamiento);
        m_a->setSelected(true);
        m_b->setSelected(true);
        Arrow *ab = m_a->arrows().first();
        const QPointF medio = ab->midItem()->pos();
        QWidget *vista = enfocar();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(vista, Qt::Key(tecla), Qt::KeyboardModifiers(modificadores));
        QCOMPARE(m_a->pos(), 3 * desplazamiento);
        QCOMPARE(m_b->pos(), QPointF(300, 0) + 3 * desplazamiento);
        QCOMPARE(ab->midItem()->pos(), medio + 3 * desplazamiento);
        QCOMPARE(m_c->pos(), QPointF(150, 200));
        QTRY_VERIFY(m_ventana->isModificado());
    }

    // F2 renames the selected state; Escape returns to "Seleccionar".
    void f2YEscape()
    {
        m_a->setSelected(true);
        QWidget *vista = enfocar();
        ModalScript nombre;
        nombre.thenType("INICIO");
        QTest::keyClick(vista, Qt::Key_F2);
        QCOMPARE(m_a->name(), QStringLiteral("INICIO"));

        action("actionNuevoEstado")->trigger();
        vista = enfocar();
        QTest::keyClick(vista, Qt::Key_Escape);
        QVERIFY(action("actionSeleccionar")->isChecked());
        QCOMPARE(m_origen->mode(), DiagramScene::MoveItem);
    }

    // The element menu offers what fits the item; empty space offers a new
    // state there and "Pegar".
    void menusContextuales_data()
    {
        QTest::addColumn<QString>("sobre");
        QTest::addColumn<QStringList>("entradas");
        QTest::newRow("estado") << "estado"
                                << QStringList{"Renombrar", "Color...", "Estado inicial", "Eliminar"};
        QTest::newRow("flecha") << "flecha" << QStringList{"Editar transición", "Eliminar"};
        QTest::newRow("vacío") << "vacío" << QStringList{"Nuevo estado aquí", "Pegar"};
    }

    void menusContextuales()
    {
        QFETCH(QString, sobre);
        QFETCH(QStringList, entradas);
        // Opened again, the states carry the window's element menu.
        QVERIFY(m_ventana->guardarDatos());
        QVERIFY(m_ventana->abrirProyecto(m_carpeta + "/Copias.vro"));
        m_origen = m_ventana->sceneList().first();
        m_a = m_origen->itemList().first();
        activar(m_origen);
        QGraphicsView *vista = m_ventana->viewOf(m_origen);
        QPointF punto(150, 500);
        if (sobre == "estado")
            punto = m_a->pos();
        else if (sobre == "flecha")
            punto = m_a->arrows().first()->path().pointAtPercent(0.3);
        const QPoint pos = vista->mapFromScene(punto);
        const QStringList vistas = VentanaPrueba::menuDurante([&] {
            QContextMenuEvent evento(QContextMenuEvent::Mouse, pos, vista->viewport()->mapToGlobal(pos));
            QApplication::sendEvent(vista->viewport(), &evento);
        });
        QCOMPARE(vistas, entradas);
    }

    void nombresRechazados_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("estado de otra máquina") << "a"
                                                << "\"a\" ya es un estado de la máquina \"Origen\"";
        QTest::newRow("blancos a _") << "en espera"
                                     << "";
    }

    // The new-state dialog says why and keeps "Aceptar" disabled (the kinds
    // of refused names are tst_validadornombre's).
    void nombresRechazados()
    {
        QFETCH(QString, tecleado);
        QFETCH(QString, mensaje);
        activar(m_destino);
        QString mostrado;
        bool aceptable = false;
        ModalScript script;
        script.then([&](QWidget *w) {
            auto *campo = w->findChild<QLineEdit *>();
            campo->clear();
            QTest::keyClicks(campo, tecleado);
            for (QLabel *l : w->findChildren<QLabel *>())
                if (l->isVisible() && l->text().contains('"'))
                    mostrado = l->text();
            for (QPushButton *b : w->findChildren<QPushButton *>())
                if (b->text() == "Aceptar")
                    aceptable = b->isEnabled();
            static_cast<QDialog *>(w)->reject();
        });
        action("actionNuevoEstado")->trigger();
        QTest::mouseClick(m_ventana->viewOf(m_destino)->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY2(mensaje.isEmpty() ? mostrado.isEmpty() : mostrado.startsWith(mensaje), qPrintable(mostrado));
        QCOMPARE(aceptable, mensaje.isEmpty());
    }

private:
    // The keys reach the diagram that has the focus, in the active window.
    QWidget *enfocar()
    {
        QApplication::setActiveWindow(m_ventana);
        QGraphicsView *vista = m_ventana->viewOf(m_origen);
        vista->setFocus();
        return vista->viewport();
    }
    QAction *action(const char *nombre) const { return m_ventana->findChild<QAction *>(nombre); }
    void activar(DiagramScene *scene)
    {
        for (QMdiSubWindow *w : m_ventana->findChild<QMdiArea *>()->subWindowList())
            if (MainWindow::sceneOfWindow(w) == scene)
                m_ventana->findChild<QMdiArea *>()->setActiveSubWindow(w);
        QCOMPARE(m_ventana->activeScene(), scene);
    }

    QTemporaryDir m_dir;
    QString m_carpeta;
    int m_prueba = 0;
    MainWindow *m_ventana = nullptr;
    DiagramScene *m_origen = nullptr;
    DiagramScene *m_destino = nullptr;
    DiagramItem *m_a = nullptr;
    DiagramItem *m_b = nullptr;
    DiagramItem *m_c = nullptr;
};

QTEST_MAIN(TstPortapapeles)
#include "tst_portapapeles.moc"
