#include "arrow.h"
#include "diagramfixture.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialogtransicion.h"
#include "modalanswer.h"
#include "onnextmodal.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>
#include <QToolBox>
#include <QToolButton>
#include <QValidator>
#include <QtTest>

using DiagramFixture::addEstado;
using DiagramFixture::addReset;
using DiagramFixture::addTransicion;

namespace {

// One machine with two states and a small catalogue.
struct Proyecto
{
    Proyecto()
        : datos(new XmlHandler(QStringLiteral("prueba"), XmlHandler::NUEVO_XML_DATOS)),
          escena(new DiagramScene(QStringLiteral("MdE1"), nullptr))
    {
        for (const char *evento : {"boton", "timeout", "x"})
            datos->addNuevoEvento(QLatin1String(evento));
        for (const char *accion : {"encender()", "apagar()", "encender_led_on()"})
            datos->addNuevaAccion(QLatin1String(accion));
        for (const char *variable : {"temp", "on", "cuenta"})
            datos->addNuevaVariable(QLatin1String(variable));
        datos->addNuevaConstante(QStringLiteral("TRUE"));
        datos->addNuevaConstante(QStringLiteral("FALSE"));
        espera = addEstado(escena, QStringLiteral("espera"));
        activo = addEstado(escena, QStringLiteral("activo"), QPointF(300, 0));
        escenas.append(escena);
    }
    ~Proyecto()
    {
        delete escena;
        delete datos;
    }

    XmlHandler *datos;
    DiagramScene *escena;
    QList<DiagramScene *> escenas;
    DiagramItem *espera;
    DiagramItem *activo;
};

// The builder's buttons by short name, as the tables below write them.
const QList<QPair<QString, QString>> kBotones{
    {"ev", "toolButtonAgregarEvento"},
    {"expr", "toolButtonAgregarExpresion"},
    {"not", "pushButtonNot"},
    {"open", "pushButtonAbreParentesis"},
    {"close", "pushButtonCierraParentesis"},
    {"and", "pushButtonAnd"},
    {"or", "pushButtonOr"},
    {"borrar", "pushButtonBorrar"},
};

template<typename T> T *hijo(QWidget &padre, const QString &nombre)
{
    T *widget = padre.findChild<T *>(nombre);
    if (!widget)
        qFatal("falta el widget %s", qPrintable(nombre));
    return widget;
}

void abrir(DialogTransicion &dialog, Arrow *flecha, Proyecto &p, DialogTransicion::ModoTransicion modo)
{
    dialog.setDatos(flecha, p.datos, p.escenas, p.escena, modo);
    // exec() would block the test; shown non-modal, the modal stack only
    // holds the message boxes the test answers.
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void clic(QWidget &dialog, const QString &nombre)
{
    QTest::mouseClick(hijo<QAbstractButton>(dialog, nombre), Qt::LeftButton);
}

void clicEnFila(QListWidget *lista, const QString &texto, bool doble)
{
    const QList<QListWidgetItem *> items = lista->findItems(texto, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(texto));
    lista->scrollToItem(items.first());
    const QPoint centro = lista->visualItemRect(items.first()).center();
    // A widget double click arrives without its press: click first, as a
    // user's first click would.
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, centro);
    if (doble)
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, centro);
}

// "ev:boton" picks the event and presses add-event; "dbl:boton" double-clicks
// it; "expr:temp > 30" fills the comparison page and presses add-expression;
// the other words press the builder's buttons.
void gesto(QWidget &dialog, const QString &token)
{
    auto *toolBox = hijo<QToolBox>(dialog, "toolBoxDisparador");
    if (token.startsWith("ev:") || token.startsWith("dbl:")) {
        toolBox->setCurrentIndex(0);
        const bool doble = token.startsWith("dbl:");
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetEventos"), token.section(':', 1), doble);
        if (!doble)
            clic(dialog, "toolButtonAgregarEvento");
        return;
    }
    if (token.startsWith("expr:")) {
        const QStringList partes = token.mid(5).split(' ');
        toolBox->setCurrentIndex(1);
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetVariablesExpresion"), partes.at(0), true);
        auto *combo = hijo<QComboBox>(dialog, "comboBoxComparacion");
        combo->setCurrentIndex(combo->findText(partes.at(1)));
        auto *valor = hijo<QLineEdit>(dialog, "lineEditValorExpresion");
        valor->clear();
        QTest::keyClicks(valor, partes.at(2));
        clic(dialog, "toolButtonAgregarExpresion");
        return;
    }
    for (const auto &boton : kBotones) {
        if (boton.first == token) {
            clic(dialog, boton.second);
            return;
        }
    }
    QFAIL(qPrintable("gesto desconocido " + token));
}

QString habilitados(QWidget &dialog)
{
    QStringList nombres;
    for (const auto &boton : kBotones) {
        if (boton.first != "borrar" && hijo<QAbstractButton>(dialog, boton.second)->isEnabled())
            nombres.append(boton.first);
    }
    return nombres.join(' ');
}

QStringList textos(QListWidget *lista)
{
    QStringList resultado;
    for (int i = 0; i < lista->count(); ++i)
        resultado.append(lista->item(i)->text());
    return resultado;
}

// An action ("encender()") by double click on the catalogue, an assignment
// ("cuenta += 1") through the assignment page.
void agregarEntrada(QWidget &dialog, const QString &entrada)
{
    auto *toolBox = hijo<QToolBox>(dialog, "toolBoxAcciones");
    if (entrada.endsWith("()")) {
        toolBox->setCurrentIndex(0);
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetAcciones"), entrada, true);
        return;
    }
    const QStringList partes = entrada.split(' ');
    toolBox->setCurrentIndex(1);
    clicEnFila(hijo<QListWidget>(dialog, "listWidgetVariablesAsignacion"), partes.at(0), true);
    auto *combo = hijo<QComboBox>(dialog, "comboBoxAsignacion");
    combo->setCurrentIndex(combo->findText(partes.at(1)));
    auto *valor = hijo<QLineEdit>(dialog, "lineEditValorAsignacion");
    valor->clear();
    QTest::keyClicks(valor, partes.at(2));
    clic(dialog, "toolButtonAgregarAsignacion");
}

} // namespace

class TestDialogTransicion : public QObject
{
    Q_OBJECT

private slots:
    void builderEnablement_data()
    {
        QTest::addColumn<QStringList>("gestos");
        QTest::addColumn<QString>("activos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("empty") << QStringList{} << "ev expr not open"
                               << "";
        QTest::newRow("connective refused at start") << QStringList{"and", "close"} << "ev expr not open"
                                                     << "";
        QTest::newRow("event") << QStringList{"ev:boton"} << "and or"
                               << "boton";
        QTest::newRow("double click") << QStringList{"dbl:timeout"} << "and or"
                                      << "timeout";
        QTest::newRow("event and") << QStringList{"ev:boton", "and"} << "ev expr not open"
                                   << "boton && ";
        QTest::newRow("comparison or") << QStringList{"expr:temp >= 30", "or"} << "ev expr not open"
                                       << "temp >= 30 || ";
        QTest::newRow("not") << QStringList{"not"} << "ev expr open"
                             << "!";
        QTest::newRow("not open") << QStringList{"not", "open"} << "ev expr not"
                                  << "!(";
        QTest::newRow("open event") << QStringList{"open", "ev:boton"} << "close and or"
                                    << "(boton";
        QTest::newRow("second ( needs an operand first") << QStringList{"open", "open"} << "ev expr not"
                                                         << "(";
        QTest::newRow("nested, one closed")
            << QStringList{"open", "not", "open", "ev:boton", "close"} << "close and or"
            << "(!(boton)";
        QTest::newRow("nested, both closed")
            << QStringList{"open", "not", "open", "ev:boton", "close", "close"} << "and or"
            << "(!(boton))";
        QTest::newRow("full") << QStringList{"not",   "open", "ev:boton",  "or", "expr:temp > 30",
                                             "close", "and",  "ev:timeout"}
                              << "and or"
                              << "!(boton || temp > 30) && timeout";
        QTest::newRow("borrar") << QStringList{"open", "ev:boton", "borrar"} << "ev expr not open"
                                << "";
    }
    void builderEnablement()
    {
        QFETCH(QStringList, gestos);
        QFETCH(QString, activos);
        QFETCH(QString, texto);
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        for (const QString &token : qAsConst(gestos))
            gesto(dialog, token);
        QCOMPARE(habilitados(dialog), activos);
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), texto);
    }

    void acceptance_data()
    {
        QTest::addColumn<QStringList>("gestos");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("evento");
        const QString invalida = "Disparador de la Transición: Expresión inválida.";
        QTest::newRow("empty") << QStringList{} << "Es necesario definir el evento que dispara la transición."
                               << "";
        QTest::newRow("not alone") << QStringList{"not"} << invalida << "";
        QTest::newRow("trailing connective") << QStringList{"ev:boton", "and"} << invalida << "";
        QTest::newRow("unclosed") << QStringList{"open", "ev:boton"} << invalida << "";
        QTest::newRow("closed") << QStringList{"open", "ev:boton", "close"} << ""
                                << "(boton)";
        QTest::newRow("negated comparison") << QStringList{"not", "open", "expr:temp != 0", "close"} << ""
                                            << "!(temp != 0)";
    }
    void acceptance()
    {
        QFETCH(QStringList, gestos);
        QFETCH(QString, mensaje);
        QFETCH(QString, evento);
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        for (const QString &token : qAsConst(gestos))
            gesto(dialog, token);

        QSharedPointer<ModalAnswer::Shown> aviso;
        if (!mensaje.isEmpty())
            aviso = ModalAnswer::pressButton("Aceptar");
        clic(dialog, "pushButtonAceptar");
        if (aviso) {
            QVERIFY(aviso->seen);
            QCOMPARE(aviso->title, QString("Advertencia"));
            QCOMPARE(aviso->text, mensaje);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            return;
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedEvent(), evento);
        QCOMPARE(dialog.selectedActions(), QString());
    }

    void resetArrow_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("new") << int(DialogTransicion::NuevaTransicion);
        QTest::newRow("edit") << int(DialogTransicion::EditarTransicion);
    }
    void resetArrow()
    {
        QFETCH(int, modo);
        Proyecto p;
        Arrow *flecha = addReset(p.escena, p.activo, {"apagar()"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::ModoTransicion(modo));
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), QString("(reset)"));
        QCOMPARE(hijo<QLabel>(dialog, "labelDesde")->text(), QString("RESET"));
        QCOMPARE(hijo<QLabel>(dialog, "labelHasta")->text(), QString("ACTIVO"));
        QVERIFY(!hijo<QGroupBox>(dialog, "groupBoxDisparador")->isEnabled());
        QVERIFY(!hijo<QToolBox>(dialog, "toolBoxDisparador")->isEnabled());

        agregarEntrada(dialog, "encender()");
        clic(dialog, "pushButtonAceptar");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedEvent(), QString("-"));
        const QString esperadas =
            modo == DialogTransicion::EditarTransicion ? "apagar(),encender()" : "encender()";
        QCOMPARE(dialog.selectedActions(), esperadas);
    }

    void editingStartsAfterAnOperand()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "boton && temp > 30",
                                      {"encender()", "", "cuenta += 1"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::EditarTransicion);
        QCOMPARE(hijo<QLabel>(dialog, "labelDesde")->text(), QString("ESPERA"));
        QCOMPARE(hijo<QLabel>(dialog, "labelHasta")->text(), QString("ACTIVO"));
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), QString("boton && temp > 30"));
        QCOMPARE(habilitados(dialog), QString("and or"));
        QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetAccionesTransicion")),
                 (QStringList{"encender()", "cuenta += 1"}));

        gesto(dialog, "or");
        gesto(dialog, "ev:timeout");
        clic(dialog, "pushButtonAceptar");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedEvent(), QString("boton && temp > 30 || timeout"));
        QCOMPARE(dialog.selectedActions(), QString("encender(),cuenta += 1"));
    }

    void removalChecks_data()
    {
        QTest::addColumn<QString>("otroDisparador");
        QTest::addColumn<QStringList>("otrasAcciones");
        QTest::addColumn<QStringList>("gestos");
        QTest::addColumn<QStringList>("acciones");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensaje");

        const QString evOtra = "Advertencia: El evento forma parte de una transición ya definida. "
                               "Primero debe remover la transición.";
        const QString accOtra = "La acción forma parte de una transición ya definida.\n"
                                "Primero debe remover la transición.";
        const QString varOtra = "Advertencia: La variable forma parte de una transición ya definida. "
                                "Primero debe remover la transición.";
        const QString varActual = "La variable forma parte de la transición actual.";

        QTest::newRow("event in another transition")
            << "!(boton) && x > 3" << QStringList{} << QStringList{} << QStringList{} << "listWidgetEventos"
            << "boton"
            << "Borrar Evento" << evOtra;
        QTest::newRow("event in the current trigger")
            << "boton" << QStringList{} << QStringList{"ev:timeout"} << QStringList{} << "listWidgetEventos"
            << "timeout"
            << "Borrar Evento"
            << "Advertencia: El evento forma parte de la transición actual.";
        QTest::newRow("unused event in the middle")
            << "boton" << QStringList{} << QStringList{} << QStringList{} << "listWidgetEventos"
            << "timeout"
            << ""
            << "";
        QTest::newRow("action in another transition") << "boton" << QStringList{"encender()"} << QStringList{}
                                                      << QStringList{"encender()"} << "listWidgetAcciones"
                                                      << "encender()"
                                                      << "Borrar Acción" << accOtra;
        QTest::newRow("action in the current list") << "boton" << QStringList{"encender()"} << QStringList{}
                                                    << QStringList{"apagar()"} << "listWidgetAcciones"
                                                    << "apagar()"
                                                    << "Borrar Acción"
                                                    << "La acción forma parte de la transición actual.";
        QTest::newRow("variable inside an action name")
            << "boton" << QStringList{"encender_led_on()"} << QStringList{} << QStringList{}
            << "listWidgetVariablesAsignacion"
            << "on"
            << "Borrar Variable" << varOtra;
        QTest::newRow("variable in another comparison")
            << "boton && cuenta > 3" << QStringList{} << QStringList{} << QStringList{}
            << "listWidgetVariablesExpresion"
            << "cuenta"
            << "Borrar Variable" << varOtra;
        QTest::newRow("variable in the current trigger")
            << "boton" << QStringList{} << QStringList{"expr:temp < 5"} << QStringList{}
            << "listWidgetVariablesExpresion"
            << "temp"
            << "Borrar Variable" << varActual;
        QTest::newRow("variable in the current assignment")
            << "boton" << QStringList{} << QStringList{} << QStringList{"cuenta += 1"}
            << "listWidgetVariablesExpresion"
            << "cuenta"
            << "Borrar Variable" << varActual;
    }
    void removalChecks()
    {
        QFETCH(QString, otroDisparador);
        QFETCH(QStringList, otrasAcciones);
        QFETCH(QStringList, gestos);
        QFETCH(QStringList, acciones);
        QFETCH(QString, lista);
        QFETCH(QString, nombre);
        QFETCH(QString, titulo);
        QFETCH(QString, mensaje);

        Proyecto p;
        addTransicion(p.escena, p.activo, p.espera, otroDisparador, otrasAcciones);
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        for (const QString &token : qAsConst(gestos))
            gesto(dialog, token);
        for (const QString &entrada : qAsConst(acciones))
            agregarEntrada(dialog, entrada);

        struct Tipo
        {
            QString lista, boton;
            QToolBox *toolBox;
            int pagina;
            std::function<QStringList()> documento;
        };
        const QList<Tipo> tipos{
            {"listWidgetEventos", "toolButtonEliminarEvento", hijo<QToolBox>(dialog, "toolBoxDisparador"), 0,
             [&p]() { return p.datos->getNombresEventosDefinidos(); }},
            {"listWidgetVariablesExpresion", "toolButtonEliminarVariableExpresion",
             hijo<QToolBox>(dialog, "toolBoxDisparador"), 1,
             [&p]() { return p.datos->getNombresVariablesDefinidas(); }},
            {"listWidgetAcciones", "toolButtonEliminarAccion", hijo<QToolBox>(dialog, "toolBoxAcciones"), 0,
             [&p]() { return p.datos->getNombresAccionesDefinidas(); }},
            {"listWidgetVariablesAsignacion", "toolButtonEliminarVariableAsignacion",
             hijo<QToolBox>(dialog, "toolBoxAcciones"), 1,
             [&p]() { return p.datos->getNombresVariablesDefinidas(); }},
        };
        const Tipo tipo =
            *std::find_if(tipos.begin(), tipos.end(), [&](const Tipo &t) { return t.lista == lista; });
        tipo.toolBox->setCurrentIndex(tipo.pagina);
        auto *widget = hijo<QListWidget>(dialog, lista);
        const QStringList antes = tipo.documento();
        QCOMPARE(textos(widget), antes);
        clicEnFila(widget, nombre, false);

        QSharedPointer<ModalAnswer::Shown> aviso;
        if (!mensaje.isEmpty())
            aviso = ModalAnswer::pressButton("Aceptar");
        clic(dialog, tipo.boton);

        if (aviso) {
            QVERIFY(aviso->seen);
            QCOMPARE(aviso->title, titulo);
            QCOMPARE(aviso->text, mensaje);
            QCOMPARE(tipo.documento(), antes);
            QCOMPARE(textos(widget), antes);
            return;
        }
        QStringList despues = antes;
        despues.removeOne(nombre);
        QCOMPARE(tipo.documento(), despues);
        QCOMPARE(textos(widget), despues);
        if (lista.contains("Variables")) {
            QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetVariablesExpresion")), despues);
            QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetVariablesAsignacion")), despues);
            QVERIFY(!hijo<QLineEdit>(dialog, "lineEditValorExpresion")
                         ->completer()
                         ->model()
                         ->match(QModelIndex(), Qt::DisplayRole, nombre)
                         .size());
        }
    }

    void variableRemovalClearsFieldAndCompletion()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        auto *modelo = qobject_cast<QStringListModel *>(
            hijo<QLineEdit>(dialog, "lineEditValorAsignacion")->completer()->model());
        QVERIFY(modelo);
        QCOMPARE(modelo->stringList(), (QStringList{"temp", "on", "cuenta", "TRUE", "FALSE"}));
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditValorExpresion")->completer()->caseSensitivity(),
                 Qt::CaseInsensitive);

        hijo<QToolBox>(dialog, "toolBoxAcciones")->setCurrentIndex(1);
        auto *variables = hijo<QListWidget>(dialog, "listWidgetVariablesAsignacion");
        clicEnFila(variables, "temp", true);
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditVariableAsignacion")->text(), QString("temp"));
        clic(dialog, "toolButtonEliminarVariableAsignacion");
        QVERIFY(hijo<QLineEdit>(dialog, "lineEditVariableAsignacion")->text().isEmpty());
        QCOMPARE(modelo->stringList(), (QStringList{"on", "cuenta", "TRUE", "FALSE"}));
        QCOMPARE(p.datos->getNombresVariablesDefinidas(), (QStringList{"on", "cuenta"}));
    }

    void declarationsSurviveCancel()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);

        const auto nombre = ModalAnswer::typeAndPress("pulsador", "Aceptar");
        clic(dialog, "toolButtonNuevoEvento");
        QVERIFY(nombre->seen);
        QCOMPARE(nombre->title, QString("Nuevo Evento"));
        QCOMPARE(hijo<QListWidget>(dialog, "listWidgetEventos")->currentItem()->text(), QString("pulsador"));

        hijo<QToolBox>(dialog, "toolBoxDisparador")->setCurrentIndex(1);
        ModalAnswer::typeAndPress("nivel", "Aceptar");
        clic(dialog, "toolButtonNuevaVariableExpresion");
        for (const char *lista : {"listWidgetVariablesExpresion", "listWidgetVariablesAsignacion"})
            QCOMPARE(hijo<QListWidget>(dialog, lista)->currentItem()->text(), QString("nivel"));

        hijo<QToolBox>(dialog, "toolBoxDisparador")->setCurrentIndex(0);
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetEventos"), "x", false);
        clic(dialog, "toolButtonEliminarEvento");

        // A new action is stored with its parentheses.
        const auto accion = ModalAnswer::typeAndPress("lampara", "Aceptar");
        clic(dialog, "toolButtonNuevaAccion");
        QCOMPARE(accion->title, QString("Nueva Acción"));
        QCOMPARE(hijo<QListWidget>(dialog, "listWidgetAcciones")->currentItem()->text(),
                 QString("lampara()"));

        clic(dialog, "pushButtonCancelar");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(p.datos->getNombresEventosDefinidos(), (QStringList{"boton", "timeout", "pulsador"}));
        QCOMPARE(p.datos->getNombresVariablesDefinidas(), (QStringList{"temp", "on", "cuenta", "nivel"}));
        QCOMPARE(p.datos->getNombresAccionesDefinidas().last(), QString("lampara()"));
    }

    void duplicateDeclarations_data()
    {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("event") << "toolButtonNuevoEvento"
                               << "boton"
                               << "Definir Evento"
                               << "Ya existe un evento definido con el mismo nombre.";
        QTest::newRow("action") << "toolButtonNuevaAccion"
                                << "encender"
                                << "Definir Acción"
                                << "Ya existe una acción definida con el mismo nombre.";
        QTest::newRow("variable") << "toolButtonNuevaVariableAsignacion"
                                  << "temp"
                                  << "Definir Variable"
                                  << "Ya existe una variable definida con el mismo nombre.";
    }
    void duplicateDeclarations()
    {
        QFETCH(QString, boton);
        QFETCH(QString, escrito);
        QFETCH(QString, titulo);
        QFETCH(QString, mensaje);
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        hijo<QToolBox>(dialog, "toolBoxAcciones")->setCurrentIndex(boton.contains("Variable") ? 1 : 0);
        const QByteArray antes = p.datos->toByteArray();

        QSharedPointer<ModalAnswer::Shown> aviso;
        TestSupport::onNextModal([&aviso, escrito](QWidget *modal) {
            auto *campo = modal->findChild<QLineEdit *>();
            QTest::keyClicks(campo, escrito);
            aviso = ModalAnswer::pressButton("Aceptar");
            static_cast<QDialog *>(modal)->accept();
        });
        clic(dialog, boton);
        QVERIFY(aviso && aviso->seen);
        QCOMPARE(aviso->title, titulo);
        QCOMPARE(aviso->text, mensaje);
        QCOMPARE(p.datos->toByteArray(), antes);
    }

    void actionList()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        auto *transicion = hijo<QListWidget>(dialog, "listWidgetAccionesTransicion");
        auto *catalogo = hijo<QListWidget>(dialog, "listWidgetAcciones");

        catalogo->setCurrentItem(nullptr);
        auto aviso = ModalAnswer::pressButton("Aceptar");
        clic(dialog, "toolButtonAgregarAccion");
        QCOMPARE(aviso->text, QString("No hay ningún elememento seleccionado."));

        clicEnFila(catalogo, "encender()", false);
        clic(dialog, "toolButtonAgregarAccion");
        aviso = ModalAnswer::pressButton("Aceptar");
        clic(dialog, "toolButtonAgregarAccion");
        QCOMPARE(aviso->title, QString("Advertencia"));
        QCOMPARE(aviso->text, QString("Este elemento ya fue agregado."));
        aviso = ModalAnswer::pressButton("Aceptar");
        clicEnFila(catalogo, "encender()", true);
        QCOMPARE(aviso->text, QString("Este elemento ya fue agregado."));

        agregarEntrada(dialog, "cuenta += 1");
        agregarEntrada(dialog, "cuenta += 1");
        agregarEntrada(dialog, "apagar()");
        QCOMPARE(textos(transicion), (QStringList{"encender()", "cuenta += 1", "cuenta += 1", "apagar()"}));

        clicEnFila(transicion, "apagar()", false);
        clic(dialog, "toolButtonBajarAccion");
        QCOMPARE(transicion->currentRow(), 3);
        clic(dialog, "toolButtonSubirAccion");
        clic(dialog, "toolButtonSubirAccion");
        QCOMPARE(transicion->currentRow(), 1);
        QCOMPARE(transicion->currentItem()->text(), QString("apagar()"));
        QCOMPARE(transicion->selectedItems().value(0), transicion->currentItem());
        clic(dialog, "toolButtonSubirAccion");
        clic(dialog, "toolButtonSubirAccion");
        QCOMPARE(transicion->currentRow(), 0);
        clic(dialog, "toolButtonBajarAccion");
        QCOMPARE(textos(transicion), (QStringList{"encender()", "apagar()", "cuenta += 1", "cuenta += 1"}));

        transicion->setCurrentRow(2);
        clic(dialog, "toolButtonQuitarAccion");
        QCOMPARE(textos(transicion), (QStringList{"encender()", "apagar()", "cuenta += 1"}));

        gesto(dialog, "ev:boton");
        clic(dialog, "pushButtonAceptar");
        QCOMPARE(dialog.selectedActions(), QString("encender(),apagar(),cuenta += 1"));
    }

    void returnInValueFieldAdds()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "boton", {"encender()"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::EditarTransicion);
        hijo<QToolBox>(dialog, "toolBoxAcciones")->setCurrentIndex(1);
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetVariablesAsignacion"), "cuenta", true);
        auto *valor = hijo<QLineEdit>(dialog, "lineEditValorAsignacion");
        valor->setFocus();
        QTest::keyClicks(valor, "0");
        QTest::keyClick(valor, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetAccionesTransicion")),
                 (QStringList{"encender()", "cuenta = 0"}));

        // After an operand the add-expression button is off: Return adds nothing.
        hijo<QToolBox>(dialog, "toolBoxDisparador")->setCurrentIndex(1);
        clicEnFila(hijo<QListWidget>(dialog, "listWidgetVariablesExpresion"), "temp", true);
        auto *comparacion = hijo<QLineEdit>(dialog, "lineEditValorExpresion");
        comparacion->setFocus();
        QTest::keyClicks(comparacion, "5");
        QTest::keyClick(comparacion, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), QString("boton"));
        gesto(dialog, "and");
        QTest::keyClick(comparacion, Qt::Key_Enter);
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), QString("boton && temp == 5"));
    }

    void valueFieldCharacters()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        QString admitidos;
        for (char c = 'a'; c <= 'z'; ++c)
            admitidos += QChar(c).toUpper() + QString(QChar(c));
        admitidos += "0123456789[\\]^_`+-./*";
        for (const char *nombre : {"lineEditValorExpresion", "lineEditValorAsignacion"}) {
            const QValidator *validador = hijo<QLineEdit>(dialog, nombre)->validator();
            QVERIFY(validador);
            for (ushort u = 0x20; u < 0x7f; ++u) {
                QString texto(QChar{u});
                int pos = 0;
                const bool admitido = validador->validate(texto, pos) == QValidator::Acceptable;
                QVERIFY2(admitido == admitidos.contains(QChar(u)), qPrintable(QString(nombre) + " " + texto));
            }
        }
        // A comma would split the stored action list.
        agregarEntrada(dialog, "cuenta = 1,2");
        QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetAccionesTransicion")),
                 QStringList{"cuenta = 12"});
    }

    // A value goes into the generated C as typed: one that would break it
    // there is refused with a message, on either side.
    void valueThatBreaksTheCIsRefused()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "?", {"?"});
        DialogTransicion dialog(nullptr);
        abrir(dialog, flecha, p, DialogTransicion::NuevaTransicion);
        for (const QString valor : {"a/*b", "2*/", "x//y", "a\\b", "v[1]", "`"}) {
            for (const QString &gestoValor : {"cuenta = " + valor, "expr:temp > " + valor}) {
                auto aviso = ModalAnswer::pressButton("Aceptar");
                if (gestoValor.startsWith("expr:"))
                    gesto(dialog, gestoValor);
                else
                    agregarEntrada(dialog, gestoValor);
                QVERIFY2(aviso->seen, qPrintable(gestoValor));
                QVERIFY2(aviso->text.startsWith("El valor «" + valor + "» no se puede usar: "),
                         qPrintable(aviso->text));
            }
        }
        QCOMPARE(textos(hijo<QListWidget>(dialog, "listWidgetAccionesTransicion")), QStringList());
        QCOMPARE(hijo<QLineEdit>(dialog, "lineEditEvento")->text(), QString());
    }

    void layoutAtMinimumSize()
    {
        Proyecto p;
        Arrow *flecha = addTransicion(p.escena, p.espera, p.activo, "boton && temp > 30", {"encender()"});
        DialogTransicion dialog(nullptr);
        QCOMPARE(dialog.minimumSize(), QSize(682, 300));

        abrir(dialog, flecha, p, DialogTransicion::EditarTransicion);
        const QString carpeta = qEnvironmentVariable("VIREO_CAPTURAS");
        if (!carpeta.isEmpty())
            dialog.grab().save(carpeta + "/dialogtransicion-abierto.png");
        dialog.resize(dialog.minimumSize());
        QTest::qWait(20);
        if (!carpeta.isEmpty()) {
            dialog.grab().save(carpeta + "/dialogtransicion.png");
            hijo<QToolBox>(dialog, "toolBoxDisparador")->setCurrentIndex(1);
            hijo<QToolBox>(dialog, "toolBoxAcciones")->setCurrentIndex(1);
            dialog.grab().save(carpeta + "/dialogtransicion-variables.png");
        }
        // Nothing is squeezed below its own minimum at the dialog's minimum size.
        const QSize necesario = dialog.layout()->minimumSize();
        QVERIFY2(necesario.width() <= 682 && necesario.height() <= 300,
                 qPrintable(QString("%1x%2").arg(necesario.width()).arg(necesario.height())));
    }
};

QTEST_MAIN(TestDialogTransicion)
#include "tst_dialogtransicion.moc"
