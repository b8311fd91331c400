#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialogtransicion.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "ventanaprueba.h"
#include "xmlhandler.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QStringListModel>
#include <QToolBox>
#include <QValidator>
#include <QtTest>
#include <memory>

namespace {

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

QStringList lista(const char *texto)
{
    return QString(texto).split('|', Qt::SkipEmptyParts);
}

} // namespace

// One machine (espera, activo) with a small catalogue, and the dialog open
// non-modal on a transition between them, so the modal stack only holds the
// boxes a test answers.
class TestDialogTransicion : public QObject
{
    Q_OBJECT

    XmlHandler *m_datos = nullptr;
    DiagramScene *m_escena = nullptr;
    QList<DiagramScene *> m_escenas;
    DiagramItem *m_espera = nullptr;
    DiagramItem *m_activo = nullptr;
    std::unique_ptr<DialogTransicion> m_dialog;

    template<typename T = QWidget> T *hijo(const QString &nombre)
    {
        T *widget = m_dialog->findChild<T *>(nombre);
        if (!widget)
            qFatal("falta el widget %s", qPrintable(nombre));
        return widget;
    }
    QListWidget *listaW(const QString &nombre) { return hijo<QListWidget>(nombre); }
    QString texto(const QString &nombre) { return hijo<QLineEdit>(nombre)->text(); }
    void clic(const QString &nombre) { QTest::mouseClick(hijo<QAbstractButton>(nombre), Qt::LeftButton); }
    void pagina(const char *toolBox, int indice) { hijo<QToolBox>(toolBox)->setCurrentIndex(indice); }

    void abrir(Arrow *flecha, DialogTransicion::ModoTransicion modo = DialogTransicion::NuevaTransicion)
    {
        m_dialog.reset(new DialogTransicion(nullptr));
        m_dialog->setDatos(flecha, m_datos, m_escenas, m_escena, modo);
        m_dialog->setWindowModality(Qt::NonModal);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void abrirNueva() { abrir(ProyectoPrueba::transicion(m_escena, m_espera, m_activo, "?", {"?"})); }

    // "ev:boton" picks the event and presses add-event; "dbl:boton" double-clicks
    // it; "expr:temp > 30" fills the comparison page and presses add-expression;
    // the other words press the builder's buttons.
    void gesto(const QString &token)
    {
        if (token.startsWith("ev:") || token.startsWith("dbl:")) {
            pagina("toolBoxDisparador", 0);
            const bool doble = token.startsWith("dbl:");
            VentanaPrueba::clicEnFila(listaW("listWidgetEventos"), token.section(':', 1), doble);
            if (!doble)
                clic("toolButtonAgregarEvento");
            return;
        }
        if (token.startsWith("expr:")) {
            const QStringList partes = token.mid(5).split(' ');
            pagina("toolBoxDisparador", 1);
            VentanaPrueba::clicEnFila(listaW("listWidgetVariablesExpresion"), partes.at(0), true);
            hijo<QComboBox>("comboBoxComparacion")->setCurrentText(partes.at(1));
            hijo<QLineEdit>("lineEditValorExpresion")->clear();
            QTest::keyClicks(hijo("lineEditValorExpresion"), partes.at(2));
            clic("toolButtonAgregarExpresion");
            return;
        }
        for (const auto &boton : kBotones) {
            if (boton.first == token)
                return clic(boton.second);
        }
        QFAIL(qPrintable("gesto desconocido " + token));
    }
    void gestos(const QStringList &tokens)
    {
        for (const QString &token : tokens)
            gesto(token);
    }

    // An action ("encender()") by double click on the catalogue, an assignment
    // ("cuenta += 1") through the assignment page.
    void agregarEntrada(const QString &entrada)
    {
        if (entrada.endsWith("()")) {
            pagina("toolBoxAcciones", 0);
            return VentanaPrueba::clicEnFila(listaW("listWidgetAcciones"), entrada, true);
        }
        const QStringList partes = entrada.split(' ');
        pagina("toolBoxAcciones", 1);
        VentanaPrueba::clicEnFila(listaW("listWidgetVariablesAsignacion"), partes.at(0), true);
        hijo<QComboBox>("comboBoxAsignacion")->setCurrentText(partes.at(1));
        hijo<QLineEdit>("lineEditValorAsignacion")->clear();
        QTest::keyClicks(hijo("lineEditValorAsignacion"), partes.at(2));
        clic("toolButtonAgregarAsignacion");
    }

    QString habilitados()
    {
        QStringList nombres;
        for (const auto &boton : kBotones) {
            if (boton.first != "borrar" && hijo(boton.second)->isEnabled())
                nombres.append(boton.first);
        }
        return nombres.join(' ');
    }
    QStringList textos(const QString &nombre)
    {
        QStringList resultado;
        for (int i = 0; i < listaW(nombre)->count(); ++i)
            resultado.append(listaW(nombre)->item(i)->text());
        return resultado;
    }
    QStringList accionesTransicion() { return textos("listWidgetAccionesTransicion"); }

private slots:
    void init()
    {
        m_datos = new XmlHandler(QStringLiteral("prueba"), XmlHandler::NUEVO_XML_DATOS);
        m_escena = new DiagramScene(QStringLiteral("MdE1"), nullptr);
        for (const char *evento : {"boton", "timeout", "x"})
            m_datos->addNuevoEvento(QLatin1String(evento));
        for (const char *accion : {"encender()", "apagar()", "encender_led_on()"})
            m_datos->addNuevaAccion(QLatin1String(accion));
        for (const char *variable : {"temp", "on", "cuenta"})
            m_datos->addNuevaVariable(QLatin1String(variable));
        m_datos->addNuevaConstante(QStringLiteral("TRUE"));
        m_datos->addNuevaConstante(QStringLiteral("FALSE"));
        m_espera = ProyectoPrueba::estado(m_escena, QStringLiteral("espera"), QPointF());
        m_activo = ProyectoPrueba::estado(m_escena, QStringLiteral("activo"), QPointF(300, 0));
        m_escenas = {m_escena};
    }
    void cleanup()
    {
        m_dialog.reset();
        delete m_escena;
        delete m_datos;
    }

    // The buttons the builder enables after each gesture, the text built,
    // and what "Aceptar" says of it: an unfinished expression is refused and
    // the dialog stays open.
    void builder_data()
    {
        QTest::addColumn<QStringList>("gestos");
        QTest::addColumn<QString>("activos");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("aviso");
        const auto fila = [](const char *nombre, const char *gestos, const char *activos, const char *texto,
                             const QString &aviso) {
            QTest::newRow(nombre) << lista(gestos) << activos << texto << aviso;
        };
        const QString vacio = "Es necesario definir el evento que dispara la transición.";
        const QString invalida = "Disparador de la Transición: Expresión inválida.";
        fila("empty", "", "ev expr not open", "", vacio);
        fila("connective refused at start", "and|close", "ev expr not open", "", vacio);
        fila("event", "ev:boton", "and or", "boton", "");
        fila("double click", "dbl:timeout", "and or", "timeout", "");
        fila("event and", "ev:boton|and", "ev expr not open", "boton && ", invalida);
        fila("not", "not", "ev expr open", "!", invalida);
        fila("open event", "open|ev:boton", "close and or", "(boton", invalida);
        fila("second ( needs an operand first", "open|open", "ev expr not", "(", invalida);
        fila("nested, one closed", "open|not|open|ev:boton|close", "close and or", "(!(boton)", invalida);
        fila("nested, both closed", "open|not|open|ev:boton|close|close", "and or", "(!(boton))", "");
        fila("full", "not|open|ev:boton|or|expr:temp > 30|close|and|ev:timeout", "and or",
             "!(boton || temp > 30) && timeout", "");
        fila("borrar", "open|ev:boton|borrar", "ev expr not open", "", vacio);
    }
    void builder()
    {
        QFETCH(QStringList, gestos);
        QFETCH(QString, activos);
        QFETCH(QString, texto);
        QFETCH(QString, aviso);
        abrirNueva();
        this->gestos(gestos);
        QCOMPARE(habilitados(), activos);
        QCOMPARE(this->texto("lineEditEvento"), texto);
        ModalScript script;
        if (!aviso.isEmpty())
            script.thenClick("Aceptar");
        clic("pushButtonAceptar");
        QCOMPARE(script.textos(), aviso.isEmpty() ? QStringList() : QStringList(aviso));
        QCOMPARE(m_dialog->isVisible(), !aviso.isEmpty());
        if (aviso.isEmpty()) {
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            QCOMPARE(m_dialog->selectedEvent(), texto);
            QCOMPARE(m_dialog->selectedActions(), QString());
        }
    }

    void resetArrow_data()
    {
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("acciones");
        QTest::newRow("new") << int(DialogTransicion::NuevaTransicion) << "encender()";
        QTest::newRow("edit") << int(DialogTransicion::EditarTransicion) << "apagar(),encender()";
    }
    void resetArrow()
    {
        QFETCH(int, modo);
        QFETCH(QString, acciones);
        abrir(ProyectoPrueba::inicial(m_escena, m_activo, {"apagar()"}),
              DialogTransicion::ModoTransicion(modo));
        QCOMPARE(texto("lineEditEvento"), QString("(reset)"));
        QCOMPARE(hijo<QLabel>("labelDesde")->text(), QString("RESET"));
        QCOMPARE(hijo<QLabel>("labelHasta")->text(), QString("ACTIVO"));
        QVERIFY(!hijo("groupBoxDisparador")->isEnabled());
        QVERIFY(!hijo("toolBoxDisparador")->isEnabled());
        agregarEntrada("encender()");
        clic("pushButtonAceptar");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_dialog->selectedEvent(), QString("-"));
        QCOMPARE(m_dialog->selectedActions(), acciones);
    }

    void editingStartsAfterAnOperand()
    {
        abrir(ProyectoPrueba::transicion(m_escena, m_espera, m_activo, "boton && temp > 30",
                                         {"encender()", "", "cuenta += 1"}),
              DialogTransicion::EditarTransicion);
        QCOMPARE(hijo<QLabel>("labelDesde")->text(), QString("ESPERA"));
        QCOMPARE(hijo<QLabel>("labelHasta")->text(), QString("ACTIVO"));
        QCOMPARE(texto("lineEditEvento"), QString("boton && temp > 30"));
        QCOMPARE(habilitados(), QString("and or"));
        QCOMPARE(accionesTransicion(), (QStringList{"encender()", "cuenta += 1"}));
        gestos({"or", "ev:timeout"});
        clic("pushButtonAceptar");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_dialog->selectedEvent(), QString("boton && temp > 30 || timeout"));
        QCOMPARE(m_dialog->selectedActions(), QString("encender(),cuenta += 1"));
    }

    // A name used by another transition or by the one being edited cannot be
    // removed from the catalogue; an unused one is removed everywhere.
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
        const auto fila = [](const char *nombre, const char *otro, const char *otrasAcc, const char *gestos,
                             const char *acciones, const char *listaW, const char *quitado,
                             const QString &titulo, const QString &mensaje) {
            QTest::newRow(nombre) << otro << lista(otrasAcc) << lista(gestos) << lista(acciones)
                                  << QString("listWidget") + listaW << quitado << titulo << mensaje;
        };
        fila("event in another transition", "!(boton) && x > 3", "", "", "", "Eventos", "boton",
             "Borrar Evento", evOtra);
        fila("event in the current trigger", "boton", "", "ev:timeout", "", "Eventos", "timeout",
             "Borrar Evento", "Advertencia: El evento forma parte de la transición actual.");
        fila("unused event in the middle", "boton", "", "", "", "Eventos", "timeout", "", "");
        fila("action in another transition", "boton", "encender()", "", "encender()", "Acciones",
             "encender()", "Borrar Acción", accOtra);
        fila("action in the current list", "boton", "encender()", "", "apagar()", "Acciones", "apagar()",
             "Borrar Acción", "La acción forma parte de la transición actual.");
        fila("variable inside an action name", "boton", "encender_led_on()", "", "", "VariablesAsignacion",
             "on", "Borrar Variable", varOtra);
        fila("variable in another comparison", "boton && cuenta > 3", "", "", "", "VariablesExpresion",
             "cuenta", "Borrar Variable", varOtra);
        fila("variable in the current trigger", "boton", "", "expr:temp < 5", "", "VariablesExpresion",
             "temp", "Borrar Variable", varActual);
        fila("variable in the current assignment", "boton", "", "", "cuenta += 1", "VariablesExpresion",
             "cuenta", "Borrar Variable", varActual);
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
        ProyectoPrueba::transicion(m_escena, m_activo, m_espera, otroDisparador, otrasAcciones);
        abrirNueva();
        this->gestos(gestos);
        for (const QString &entrada : qAsConst(acciones))
            agregarEntrada(entrada);

        struct Tipo
        {
            QString lista, boton, toolBox;
            int pagina;
            std::function<QStringList()> documento;
        };
        const QList<Tipo> tipos{
            {"listWidgetEventos", "toolButtonEliminarEvento", "toolBoxDisparador", 0,
             [this]() { return m_datos->getNombresEventosDefinidos(); }},
            {"listWidgetVariablesExpresion", "toolButtonEliminarVariableExpresion", "toolBoxDisparador", 1,
             [this]() { return m_datos->getNombresVariablesDefinidas(); }},
            {"listWidgetAcciones", "toolButtonEliminarAccion", "toolBoxAcciones", 0,
             [this]() { return m_datos->getNombresAccionesDefinidas(); }},
            {"listWidgetVariablesAsignacion", "toolButtonEliminarVariableAsignacion", "toolBoxAcciones", 1,
             [this]() { return m_datos->getNombresVariablesDefinidas(); }},
        };
        const Tipo tipo =
            *std::find_if(tipos.begin(), tipos.end(), [&](const Tipo &t) { return t.lista == lista; });
        pagina(qPrintable(tipo.toolBox), tipo.pagina);
        const QStringList antes = tipo.documento();
        QCOMPARE(textos(lista), antes);
        VentanaPrueba::clicEnFila(listaW(lista), nombre, false);
        ModalScript script;
        if (!mensaje.isEmpty())
            script.thenClick("Aceptar");
        clic(tipo.boton);

        QStringList despues = antes;
        if (mensaje.isEmpty())
            despues.removeOne(nombre);
        QCOMPARE(script.titulos(), mensaje.isEmpty() ? QStringList() : QStringList(titulo));
        QCOMPARE(script.textos(), mensaje.isEmpty() ? QStringList() : QStringList(mensaje));
        QCOMPARE(tipo.documento(), despues);
        QCOMPARE(textos(lista), despues);
    }

    // A removed variable leaves the assignment field and both value fields'
    // completion (variables then constants, any case).
    void variableRemovalClearsFieldAndCompletion()
    {
        abrirNueva();
        auto *modelo = qobject_cast<QStringListModel *>(
            hijo<QLineEdit>("lineEditValorAsignacion")->completer()->model());
        QVERIFY(modelo);
        QCOMPARE(modelo->stringList(), (QStringList{"temp", "on", "cuenta", "TRUE", "FALSE"}));
        QCOMPARE(hijo<QLineEdit>("lineEditValorExpresion")->completer()->caseSensitivity(),
                 Qt::CaseInsensitive);
        pagina("toolBoxAcciones", 1);
        VentanaPrueba::clicEnFila(listaW("listWidgetVariablesAsignacion"), "temp", true);
        QCOMPARE(texto("lineEditVariableAsignacion"), QString("temp"));
        clic("toolButtonEliminarVariableAsignacion");
        QVERIFY(texto("lineEditVariableAsignacion").isEmpty());
        QCOMPARE(modelo->stringList(), (QStringList{"on", "cuenta", "TRUE", "FALSE"}));
        QCOMPARE(hijo<QLineEdit>("lineEditValorExpresion")
                     ->completer()
                     ->model()
                     ->match(QModelIndex(), Qt::DisplayRole, "temp"),
                 QModelIndexList());
        for (const char *nombre : {"listWidgetVariablesExpresion", "listWidgetVariablesAsignacion"})
            QCOMPARE(textos(nombre), (QStringList{"on", "cuenta"}));
        QCOMPARE(m_datos->getNombresVariablesDefinidas(), (QStringList{"on", "cuenta"}));
    }

    void declarationsSurviveCancel()
    {
        abrirNueva();
        ModalScript script;
        script.thenType("pulsador").thenType("nivel").thenType("lampara");
        clic("toolButtonNuevoEvento");
        QCOMPARE(listaW("listWidgetEventos")->currentItem()->text(), QString("pulsador"));
        pagina("toolBoxDisparador", 1);
        clic("toolButtonNuevaVariableExpresion");
        for (const char *nombre : {"listWidgetVariablesExpresion", "listWidgetVariablesAsignacion"})
            QCOMPARE(listaW(nombre)->currentItem()->text(), QString("nivel"));
        pagina("toolBoxDisparador", 0);
        VentanaPrueba::clicEnFila(listaW("listWidgetEventos"), "x", false);
        clic("toolButtonEliminarEvento");
        // A new action is stored with its parentheses.
        clic("toolButtonNuevaAccion");
        QCOMPARE(listaW("listWidgetAcciones")->currentItem()->text(), QString("lampara()"));
        QCOMPARE(script.titulos(), (QStringList{"Nuevo Evento", "Nueva Variable", "Nueva Acción"}));

        clic("pushButtonCancelar");
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_datos->getNombresEventosDefinidos(), (QStringList{"boton", "timeout", "pulsador"}));
        QCOMPARE(m_datos->getNombresVariablesDefinidas(), (QStringList{"temp", "on", "cuenta", "nivel"}));
        QCOMPARE(m_datos->getNombresAccionesDefinidas().last(), QString("lampara()"));
    }

    void duplicateDeclarations_data()
    {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("mensaje");
        const auto fila = [](const char *nombre, const char *boton, const char *escrito,
                             const QString &titulo, const QString &mensaje) {
            QTest::newRow(nombre) << boton << escrito << titulo << mensaje;
        };
        fila("event", "toolButtonNuevoEvento", "boton", "Definir Evento",
             "Ya existe un evento definido con el mismo nombre.");
        fila("action", "toolButtonNuevaAccion", "encender", "Definir Acción",
             "Ya existe una acción definida con el mismo nombre.");
        fila("variable", "toolButtonNuevaVariableAsignacion", "temp", "Definir Variable",
             "Ya existe una variable definida con el mismo nombre.");
    }
    void duplicateDeclarations()
    {
        QFETCH(QString, boton);
        QFETCH(QString, escrito);
        QFETCH(QString, titulo);
        QFETCH(QString, mensaje);
        abrirNueva();
        pagina("toolBoxAcciones", boton.contains("Variable") ? 1 : 0);
        const QByteArray antes = m_datos->toByteArray();
        ModalScript script;
        script.thenType(escrito).thenClick("Aceptar");
        clic(boton);
        QCOMPARE(script.pendientes(), 0);
        QCOMPARE(script.titulos().last(), titulo);
        QCOMPARE(script.textos().last(), mensaje);
        QCOMPARE(m_datos->toByteArray(), antes);
    }

    void actionList()
    {
        abrirNueva();
        auto *catalogo = listaW("listWidgetAcciones");
        auto *transicion = listaW("listWidgetAccionesTransicion");
        catalogo->setCurrentItem(nullptr);
        ModalScript script;
        script.thenClick("Aceptar").thenClick("Aceptar").thenClick("Aceptar");
        clic("toolButtonAgregarAccion");
        VentanaPrueba::clicEnFila(catalogo, "encender()", false);
        clic("toolButtonAgregarAccion");
        clic("toolButtonAgregarAccion");
        VentanaPrueba::clicEnFila(catalogo, "encender()", true);
        const QString repetido = "Este elemento ya fue agregado.";
        QCOMPARE(script.textos(),
                 (QStringList{"No hay ningún elememento seleccionado.", repetido, repetido}));
        QCOMPARE(script.titulos().last(), QString("Advertencia"));

        for (const char *entrada : {"cuenta += 1", "cuenta += 1", "apagar()"})
            agregarEntrada(entrada);
        QCOMPARE(accionesTransicion(), (QStringList{"encender()", "cuenta += 1", "cuenta += 1", "apagar()"}));
        VentanaPrueba::clicEnFila(transicion, "apagar()", false);
        // Down from the bottom and up from the top leave it where it is.
        clic("toolButtonBajarAccion");
        for (int i = 0; i < 4; ++i)
            clic("toolButtonSubirAccion");
        QCOMPARE(transicion->currentRow(), 0);
        QCOMPARE(transicion->selectedItems().value(0), transicion->currentItem());
        clic("toolButtonBajarAccion");
        QCOMPARE(accionesTransicion(), (QStringList{"encender()", "apagar()", "cuenta += 1", "cuenta += 1"}));
        transicion->setCurrentRow(2);
        clic("toolButtonQuitarAccion");
        QCOMPARE(accionesTransicion(), (QStringList{"encender()", "apagar()", "cuenta += 1"}));
        gesto("ev:boton");
        clic("pushButtonAceptar");
        QCOMPARE(m_dialog->selectedActions(), QString("encender(),apagar(),cuenta += 1"));
    }

    // Return in a value field adds the entry; after an operand the
    // add-expression button is off, so Return adds nothing there.
    void returnInValueFieldAdds()
    {
        abrir(ProyectoPrueba::transicion(m_escena, m_espera, m_activo, "boton", {"encender()"}),
              DialogTransicion::EditarTransicion);
        pagina("toolBoxAcciones", 1);
        VentanaPrueba::clicEnFila(listaW("listWidgetVariablesAsignacion"), "cuenta", true);
        auto *valor = hijo<QLineEdit>("lineEditValorAsignacion");
        valor->setFocus();
        QTest::keyClicks(valor, "0");
        QTest::keyClick(valor, Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(accionesTransicion(), (QStringList{"encender()", "cuenta = 0"}));

        pagina("toolBoxDisparador", 1);
        VentanaPrueba::clicEnFila(listaW("listWidgetVariablesExpresion"), "temp", true);
        auto *comparacion = hijo<QLineEdit>("lineEditValorExpresion");
        comparacion->setFocus();
        QTest::keyClicks(comparacion, "5");
        QTest::keyClick(comparacion, Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(texto("lineEditEvento"), QString("boton"));
        gesto("and");
        QTest::keyClick(comparacion, Qt::Key_Enter);
        QCOMPARE(texto("lineEditEvento"), QString("boton && temp == 5"));
    }

    // Value fields take letters, digits and []\^_`+-./*; a comma would split
    // the stored action list. A value that would break the generated C is
    // refused with a message, on either side.
    void valueFieldCharacters()
    {
        abrirNueva();
        QString admitidos = "0123456789[\\]^_`+-./*";
        for (char c = 'a'; c <= 'z'; ++c)
            admitidos += QChar(c).toUpper() + QString(QChar(c));
        for (const char *nombre : {"lineEditValorExpresion", "lineEditValorAsignacion"}) {
            const QValidator *validador = hijo<QLineEdit>(nombre)->validator();
            QVERIFY(validador);
            for (ushort u = 0x20; u < 0x7f; ++u) {
                QString letra(QChar{u});
                int pos = 0;
                const bool admitido = validador->validate(letra, pos) == QValidator::Acceptable;
                QVERIFY2(admitido == admitidos.contains(QChar(u)), qPrintable(QString(nombre) + " " + letra));
            }
        }
        for (const QString valor : {"a/*b", "x//y", "`"}) {
            for (const QString &gestoValor : {"cuenta = " + valor, "expr:temp > " + valor}) {
                ModalScript script;
                script.thenClick("Aceptar");
                if (gestoValor.startsWith("expr:"))
                    gesto(gestoValor);
                else
                    agregarEntrada(gestoValor);
                QVERIFY2(script.textos().value(0).startsWith("El valor «" + valor + "» no se puede usar: "),
                         qPrintable(gestoValor + ": " + script.textos().value(0)));
            }
        }
        QCOMPARE(accionesTransicion(), QStringList());
        QCOMPARE(texto("lineEditEvento"), QString());
        agregarEntrada("cuenta = 1,2");
        QCOMPARE(accionesTransicion(), QStringList{"cuenta = 12"});
    }

    // Nothing is squeezed below its own minimum at the dialog's minimum size.
    void layoutAtMinimumSize()
    {
        abrir(ProyectoPrueba::transicion(m_escena, m_espera, m_activo, "boton && temp > 30", {"encender()"}),
              DialogTransicion::EditarTransicion);
        m_dialog->resize(m_dialog->minimumSize());
        const QSize necesario = m_dialog->layout()->minimumSize();
        QVERIFY2(necesario.width() <= m_dialog->width() && necesario.height() <= m_dialog->height(),
                 qPrintable(QString("%1x%2").arg(necesario.width()).arg(necesario.height())));
    }
};

QTEST_MAIN(TestDialogTransicion)
#include "tst_dialogtransicion.moc"
