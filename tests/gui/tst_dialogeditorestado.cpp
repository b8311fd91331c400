#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialogeditorestado.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "xmlhandler.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

int g_flechasDestruidas = 0;

// An arrow that counts its destruction, so a test can tell a deleted arrow
// from one only taken out of the scene.
class FlechaContada : public Arrow
{
public:
    using Arrow::Arrow;
    ~FlechaContada() override { ++g_flechasDestruidas; }
};

// espera (edited, index 0, initial state) and activo. espera has a transition
// to activo and a self-loop; activo has one back to espera.
struct Maquina
{
    Maquina()
        : datos(new XmlHandler(QStringLiteral("prueba"), XmlHandler::NUEVO_XML_DATOS)),
          escena(new DiagramScene(QStringLiteral("MdE1"), nullptr))
    {
        espera = ProyectoPrueba::estado(escena, QStringLiteral("espera"), QPointF());
        activo = ProyectoPrueba::estado(escena, QStringLiteral("activo"), QPointF(300, 0));
        reset = ProyectoPrueba::inicial(escena, espera);
        haciaActivo =
            contada(espera, activo, QStringLiteral("boton && temp > 30"), {"encender()", "cuenta += 1"});
        bucle = contada(espera, espera, QStringLiteral("t"), {QString()});
        vuelta = contada(activo, espera, QStringLiteral("x"), {"apagar()"});
    }
    ~Maquina()
    {
        delete escena;
        delete datos;
    }
    Arrow *contada(DiagramItem *desde, DiagramItem *hasta, const QString &evento, const QStringList &acciones)
    {
        auto *flecha = new FlechaContada(desde, hasta, nullptr);
        desde->addArrow(flecha);
        if (hasta != desde)
            hasta->addArrow(flecha);
        escena->addItem(flecha);
        flecha->updatePosition();
        flecha->setText(evento, acciones);
        return flecha;
    }

    XmlHandler *datos;
    DiagramScene *escena;
    DiagramItem *espera;
    DiagramItem *activo;
    Arrow *reset;
    Arrow *haciaActivo;
    Arrow *bucle;
    Arrow *vuelta;
};

QStringList lineas(QListWidget *lista)
{
    QStringList resultado;
    for (int i = 0; i < lista->count(); ++i)
        resultado.append(lista->item(i)->text());
    return resultado;
}

int flechasEnEscena(const DiagramScene *escena)
{
    int total = 0;
    const QList<QGraphicsItem *> items = escena->items();
    for (const QGraphicsItem *item : items)
        total += item->type() == Arrow::Type;
    return total;
}

} // namespace

// A fresh machine and dialog for each case; abrir() edits one of its states.
class TestDialogEditorEstado : public QObject
{
    Q_OBJECT

    std::unique_ptr<Maquina> m;
    std::unique_ptr<DialogEditorEstado> m_dialog;

    template<typename T> T *hijo(const char *nombre)
    {
        T *widget = m_dialog->findChild<T *>(QLatin1String(nombre));
        if (!widget)
            qFatal("falta el widget %s", nombre);
        return widget;
    }
    void abrir(int indice)
    {
        m_dialog->setDatos(indice, m->datos, m->escena);
        m_dialog->setWindowModality(Qt::NonModal);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

private slots:
    void init()
    {
        m.reset(new Maquina);
        m_dialog.reset(new DialogEditorEstado(nullptr));
    }
    void cleanup()
    {
        m_dialog.reset();
        m.reset();
    }

    void fillsFromTheState()
    {
        abrir(0);
        QCOMPARE(hijo<QLineEdit>("lineEditNombre")->text(), QString("espera"));
        QVERIFY(hijo<QLabel>("labelAdvertencia")->text().isEmpty());
        // Only the transitions leaving the state: not the reset arrow that
        // ends here, not activo's, and the self-loop once.
        QCOMPARE(lineas(hijo<QListWidget>("listWidgetTransiciones")),
                 (QStringList{"espera -> boton && temp > 30 / encender(),cuenta += 1 -> activo",
                              "espera -> t /  -> espera"}));
        QVERIFY(!hijo<QPushButton>("pushButtonEliminar")->isEnabled());
        QVERIFY(!m_dialog->datosModificados());
    }

    void rename_data()
    {
        QTest::addColumn<QString>("pegado");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("aviso");
        QTest::addColumn<bool>("modificado");
        const QString duplicado = "Ya existe un Estado con el mismo nombre!";
        const auto fila = [](const char *caso, const char *pegado, const char *tecleado, const char *nombre,
                             const char *campo, const QString &aviso, bool modificado) {
            QTest::newRow(caso) << pegado << tecleado << nombre << campo << aviso << modificado;
        };
        fila("new name", "reposo", "", "reposo", "reposo", "", true);
        fila("case only", "ESPERA", "", "ESPERA", "ESPERA", "", true);
        fila("other state in other case", "ACTIVO", "", "espera", "ACTIVO", duplicado, false);
        fila("typed up to a duplicate", "", "Activo", "Activ", "Activo", duplicado, true);
        fila("erased", "", "", "espera", "", "Debe definir un nombre para el Estado!", false);
        fila("blanks become underscores", "mi estado", "", "mi_estado", "mi_estado", "", true);
        // Refused: the generated C could not use it.
        fila("eñe and hyphen", "señal-2", "", "espera", "señal-2",
             "\"señal-2\" no es un identificador C válido (solo letras sin acento, dígitos y _, sin empezar "
             "por un dígito)",
             false);
        fila("refused character", "a:b", "", "espera", "espera", "", false);
    }
    void rename()
    {
        QFETCH(QString, pegado);
        QFETCH(QString, tecleado);
        QFETCH(QString, nombre);
        QFETCH(QString, campo);
        QFETCH(QString, aviso);
        QFETCH(bool, modificado);
        abrir(0);
        auto *edit = hijo<QLineEdit>("lineEditNombre");
        edit->setFocus();
        edit->selectAll();
        if (!pegado.isEmpty()) {
            QApplication::clipboard()->setText(pegado);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, tecleado);
        }
        QCOMPARE(m->espera->name(), nombre);
        QCOMPARE(edit->text(), campo);
        QCOMPARE(hijo<QLabel>("labelAdvertencia")->text(), aviso);
        QCOMPARE(m_dialog->datosModificados(), modificado);
        QVERIFY(lineas(hijo<QListWidget>("listWidgetTransiciones"))
                    .first()
                    .startsWith(m->espera->name() + " -> "));
        QCOMPARE(m->activo->name(), QString("activo"));
    }

    void colour_data()
    {
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<int>("muestra");
        QTest::addColumn<QString>("vista");
        QTest::newRow("new state") << "lightcyan" << 0 << "background-color: #e0ffff";
        QTest::newRow("in the palette") << "tan" << 6 << "background-color: #d2b48c";
        QTest::newRow("stored as hex") << "#ffa500" << 7 << "background-color: #ffa500";
    }
    void colour()
    {
        QFETCH(QString, inicial);
        QFETCH(int, muestra);
        QFETCH(QString, vista);
        m->espera->setColor(QColor(inicial));
        abrir(0);
        auto *combo = hijo<QComboBox>("comboBoxColor");
        auto *preview = hijo<QLabel>("labelColor");
        QCOMPARE(combo->count(), 9);
        QCOMPARE(combo->currentIndex(), muestra);
        QCOMPARE(preview->styleSheet(), vista);
        QCOMPARE(m->espera->color(), QColor(inicial));
        QVERIFY(!m_dialog->datosModificados());

        // Picking another swatch recolours the state at once; coming back to
        // the first one is what gives "azure".
        combo->setFocus();
        QTest::keyClick(combo, muestra == 0 ? Qt::Key_Down : Qt::Key_Home);
        const QString elegido = muestra == 0 ? "white" : "azure";
        QCOMPARE(m->espera->color(), QColor(elegido));
        QCOMPARE(preview->styleSheet(), "background-color: " + QColor(elegido).name());
        QVERIFY(m_dialog->datosModificados());
        if (muestra == 0) {
            QTest::keyClick(combo, Qt::Key_Up);
            QCOMPARE(m->espera->color(), QColor("azure"));
        }
    }

    // A transition deleted from the list leaves the drawing (the arrow is
    // destroyed and no state lists it) once the user confirms.
    void deleteTransition_data()
    {
        QTest::addColumn<int>("estado");
        QTest::addColumn<int>("fila");
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QStringList>("quedan");
        const QString haciaActivo = "espera -> boton && temp > 30 / encender(),cuenta += 1 -> activo";
        const QString bucle = "espera -> t /  -> espera";
        QTest::newRow("self-loop, yes") << 0 << 1 << "Si" << QStringList{haciaActivo};
        QTest::newRow("to activo, yes") << 0 << 0 << "Si" << QStringList{bucle};
        QTest::newRow("no") << 0 << 0 << "No" << QStringList{haciaActivo, bucle};
        QTest::newRow("activo's only one") << 1 << 0 << "Si" << QStringList();
    }
    void deleteTransition()
    {
        QFETCH(int, estado);
        QFETCH(int, fila);
        QFETCH(QString, respuesta);
        QFETCH(QStringList, quedan);
        Arrow *elegida = estado == 1 ? m->vuelta : fila == 0 ? m->haciaActivo : m->bucle;
        const int flechas = flechasEnEscena(m->escena);
        abrir(estado);
        auto *lista = hijo<QListWidget>("listWidgetTransiciones");
        auto *eliminar = hijo<QPushButton>("pushButtonEliminar");
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(fila)).center());
        QVERIFY(eliminar->isEnabled());

        g_flechasDestruidas = 0;
        ModalScript pregunta;
        pregunta.thenClick(respuesta);
        QTest::mouseClick(eliminar, Qt::LeftButton);
        QCOMPARE(pregunta.titulos(), QStringList("Eliminar Transición"));
        QCOMPARE(pregunta.textos(), QStringList("¿Está seguro que desea eliminar la Transición?"));

        QCOMPARE(lineas(lista), quedan);
        const bool borrada = respuesta == "Si";
        QCOMPARE(g_flechasDestruidas, borrada ? 1 : 0);
        QCOMPARE(flechasEnEscena(m->escena), flechas - (borrada ? 1 : 0));
        QCOMPARE(m->espera->arrows().contains(elegida) || m->activo->arrows().contains(elegida), !borrada);
        QCOMPARE(eliminar->isEnabled(), !borrada);
        QVERIFY(m->espera->arrows().contains(m->reset));
        QTest::mouseClick(hijo<QPushButton>("pushButtonListo"), Qt::LeftButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_dialog->datosModificados(), borrada);
    }

    // The fixed size fits everything the dialog shows.
    void layoutFits()
    {
        abrir(0);
        const QSize necesario = m_dialog->layout()->minimumSize();
        QVERIFY(necesario.width() <= m_dialog->width() && necesario.height() <= m_dialog->height());
    }
};

QTEST_MAIN(TestDialogEditorEstado)
#include "tst_dialogeditorestado.moc"
