#include "dialogtransicion.h"
#include "ui_dialogtransicion.h"

#include "arrow.h"
#include "chequeoscodigo.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "idsproyecto.h"
#include "regexpinputdialog.h"
#include "validadornombre.h"
#include "xmlhandler.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegExpValidator>
#include <QScrollArea>
#include <QStringListModel>

namespace {

const QString kPatronNombre = QStringLiteral("[A-Za-z_]+[A-Za-z0-9_]+");

// The values of comparisons and assignments: letters, digits, the characters
// between "Z" and "a", and "+", "-", ".", "/", "*". A comma is refused because
// the action list is stored joined with ",", so an assignment holding one
// would read back as two entries.
const QString kPatronValor = QStringLiteral("[a-zA-z0-9_+./*-]+");

const QString kTextoReset = QStringLiteral("(reset)");

QStringList leerCatalogo(const XmlHandler *datos, int (XmlHandler::*cantidad)() const,
                         QString (XmlHandler::*contenido)(const QString &) const, QString (*id)(int indice))
{
    QStringList nombres;
    const int total = (datos->*cantidad)();
    for (int i = 0; i < total; ++i)
        nombres.append((datos->*contenido)(id(i)));
    return nombres;
}

QFont fuenteMonoespaciada(const QFont &base)
{
    QFont fuente(base);
    fuente.setFamily(QStringLiteral("Consolas"));
    fuente.setStyleHint(QFont::TypeWriter);
    return fuente;
}

// A tool box shows each page in a scroll area whose minimum size ignores the
// page. Giving every area the minimum of the largest page keeps each page
// whole (never scrolled) at the dialog's smallest size, whichever is open.
void ajustarPaginas(QToolBox *toolBox)
{
    QSize minimo;
    QList<QScrollArea *> areas;
    for (int i = 0; i < toolBox->count(); ++i) {
        QWidget *pagina = toolBox->widget(i);
        QWidget *viewport = pagina->parentWidget();
        auto *area = qobject_cast<QScrollArea *>(viewport ? viewport->parentWidget() : nullptr);
        if (!area)
            continue;
        areas.append(area);
        if (pagina->layout()) {
            pagina->layout()->invalidate();
            pagina->layout()->activate();
        }
        minimo = minimo.expandedTo(pagina->minimumSizeHint() + QSize(2, 2) * area->frameWidth());
    }
    for (QScrollArea *area : qAsConst(areas))
        area->setMinimumSize(minimo);
}

// A value goes into the generated C as typed: the message that refuses one
// that would break it there (a comment marker, a character C does not take),
// or empty.
QString rechazoDeValor(const QString &valor)
{
    const QString problema = ChequeosCodigo::problemaDeTextoC(valor);
    return problema.isEmpty() ? QString()
                              : QStringLiteral("El valor «%1» no se puede usar: %2.").arg(valor, problema);
}

void seleccionarUltima(QListWidget *lista)
{
    lista->setCurrentRow(lista->count() - 1);
}

} // namespace

DialogTransicion::DialogTransicion(QWidget *parent)
    : QDialog(parent), m_ui(new Ui::DialogTransicion), m_completer(new QCompleter(this)),
      m_completerModel(new QStringListModel(this))
{
    m_ui->setupUi(this);
    m_ui->lineEditEvento->setFont(fuenteMonoespaciada(m_ui->lineEditEvento->font()));
    m_ui->toolBoxDisparador->setCurrentIndex(0);
    m_ui->toolBoxAcciones->setCurrentIndex(0);
    // The operator combos report a minimum narrower than ">=", so keep them
    // at their natural width (measured once the style has polished them).
    ensurePolished();
    for (QComboBox *combo : {m_ui->comboBoxComparacion, m_ui->comboBoxAsignacion})
        combo->setMinimumWidth(combo->sizeHint().width());
    ajustarPaginas(m_ui->toolBoxDisparador);
    ajustarPaginas(m_ui->toolBoxAcciones);

    auto *validador = new QRegExpValidator(QRegExp(kPatronValor), this);
    m_ui->lineEditValorExpresion->setValidator(validador);
    m_ui->lineEditValorAsignacion->setValidator(validador);

    m_completer->setModel(m_completerModel);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_ui->lineEditValorExpresion->setCompleter(m_completer);
    m_ui->lineEditValorAsignacion->setCompleter(m_completer);

    m_ui->pushButtonAnd->setEnabled(false);
    m_ui->pushButtonOr->setEnabled(false);
    m_ui->pushButtonCierraParentesis->setEnabled(false);
    m_difParentesis = 0;

    m_ui->lineEditValorExpresion->installEventFilter(this);
    m_ui->lineEditValorAsignacion->installEventFilter(this);
    connectControls();
}

DialogTransicion::~DialogTransicion()
{
    delete m_ui;
}

// Return in a value field adds the comparison or the assignment instead of
// reaching "Aceptar", which would close the dialog without the typed piece.
bool DialogTransicion::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int tecla = static_cast<QKeyEvent *>(event)->key();
    if (tecla != Qt::Key_Return && tecla != Qt::Key_Enter)
        return QDialog::eventFilter(watched, event);
    if (watched == m_ui->lineEditValorExpresion) {
        if (m_ui->toolButtonAgregarExpresion->isEnabled() && m_ui->toolBoxDisparador->isEnabled())
            agregarExpresion();
        return true;
    }
    if (watched == m_ui->lineEditValorAsignacion) {
        agregarAsignacion();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialogTransicion::connectControls()
{
    connect(m_ui->pushButtonCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->pushButtonAceptar, &QPushButton::clicked, this, &DialogTransicion::aceptar);

    connect(m_ui->toolButtonAgregarEvento, &QToolButton::clicked, this, &DialogTransicion::agregarEvento);
    connect(m_ui->listWidgetEventos, &QListWidget::itemDoubleClicked, this, [this]() {
        if (m_ui->toolButtonAgregarEvento->isEnabled())
            agregarEvento();
    });
    connect(m_ui->toolButtonAgregarExpresion, &QToolButton::clicked, this,
            &DialogTransicion::agregarExpresion);
    connect(m_ui->pushButtonAnd, &QPushButton::clicked, this,
            [this]() { agregarConectivo(QStringLiteral(" && ")); });
    connect(m_ui->pushButtonOr, &QPushButton::clicked, this,
            [this]() { agregarConectivo(QStringLiteral(" || ")); });
    connect(m_ui->pushButtonNot, &QPushButton::clicked, this, &DialogTransicion::agregarNegacion);
    connect(m_ui->pushButtonAbreParentesis, &QPushButton::clicked, this, &DialogTransicion::abrirParentesis);
    connect(m_ui->pushButtonCierraParentesis, &QPushButton::clicked, this,
            &DialogTransicion::cerrarParentesis);
    connect(m_ui->pushButtonBorrar, &QPushButton::clicked, this, &DialogTransicion::borrarDisparador);

    connect(m_ui->listWidgetVariablesExpresion, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { m_ui->lineEditVariableExpresion->setText(item->text()); });
    connect(m_ui->listWidgetVariablesAsignacion, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { m_ui->lineEditVariableAsignacion->setText(item->text()); });

    connect(m_ui->toolButtonAgregarAccion, &QToolButton::clicked, this,
            &DialogTransicion::agregarAccionSeleccionada);
    connect(m_ui->listWidgetAcciones, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { agregarAccion(item->text()); });
    connect(m_ui->toolButtonAgregarAsignacion, &QToolButton::clicked, this,
            &DialogTransicion::agregarAsignacion);
    connect(m_ui->toolButtonQuitarAccion, &QToolButton::clicked, this, &DialogTransicion::quitarAccion);
    connect(m_ui->toolButtonSubirAccion, &QToolButton::clicked, this, [this]() { moverAccion(-1); });
    connect(m_ui->toolButtonBajarAccion, &QToolButton::clicked, this, [this]() { moverAccion(1); });

    connect(m_ui->toolButtonNuevoEvento, &QToolButton::clicked, this, &DialogTransicion::nuevoEvento);
    connect(m_ui->toolButtonNuevaAccion, &QToolButton::clicked, this, &DialogTransicion::nuevaAccion);
    connect(m_ui->toolButtonNuevaVariableExpresion, &QToolButton::clicked, this,
            &DialogTransicion::nuevaVariable);
    connect(m_ui->toolButtonNuevaVariableAsignacion, &QToolButton::clicked, this,
            &DialogTransicion::nuevaVariable);
    connect(m_ui->toolButtonEliminarEvento, &QToolButton::clicked, this, &DialogTransicion::eliminarEvento);
    connect(m_ui->toolButtonEliminarAccion, &QToolButton::clicked, this, &DialogTransicion::eliminarAccion);
    connect(m_ui->toolButtonEliminarVariableExpresion, &QToolButton::clicked, this,
            [this]() { eliminarVariable(m_ui->listWidgetVariablesExpresion); });
    connect(m_ui->toolButtonEliminarVariableAsignacion, &QToolButton::clicked, this,
            [this]() { eliminarVariable(m_ui->listWidgetVariablesAsignacion); });
}

void DialogTransicion::setDatos(Arrow *&arrow, XmlHandler *&datos, QList<DiagramScene *> &sceneList,
                                DiagramScene *&scene, ModoTransicion modo)
{
    m_arrow = arrow;
    m_datos = datos;
    m_sceneList = sceneList;
    m_scene = scene;
    if (!m_arrow || !m_datos || !m_arrow->startItem() || !m_arrow->endItem())
        return;

    llenarListas();

    const QString destino = m_arrow->endItem()->name().toUpper();
    m_ui->labelHasta->setText(destino);
    if (esTransicionReset()) {
        m_ui->toolBoxDisparador->setEnabled(false);
        m_ui->groupBoxDisparador->setEnabled(false);
        m_ui->labelDesde->setText(QStringLiteral("RESET"));
        m_ui->lineEditEvento->setText(kTextoReset);
    } else {
        m_ui->labelDesde->setText(m_arrow->startItem()->name().toUpper());
        if (modo == EditarTransicion) {
            m_ui->lineEditEvento->setText(m_arrow->event());
            setEstadoTrasOperando();
        }
    }

    if (modo != EditarTransicion)
        return;
    const QStringList acciones = m_arrow->actions();
    for (const QString &accion : acciones) {
        if (!accion.isEmpty())
            m_ui->listWidgetAccionesTransicion->addItem(accion);
    }
}

void DialogTransicion::llenarListas()
{
    const QStringList variables = leerCatalogo(m_datos, &XmlHandler::cantidadVariables,
                                               &XmlHandler::getContenidoVariable, &IdsProyecto::variable);
    const QStringList constantes = leerCatalogo(m_datos, &XmlHandler::cantidadConstantes,
                                                &XmlHandler::getContenidoConstante, &IdsProyecto::constante);
    m_completerModel->setStringList(variables + constantes);

    m_ui->listWidgetEventos->addItems(leerCatalogo(m_datos, &XmlHandler::cantidadEventos,
                                                   &XmlHandler::getContenidoEvento, &IdsProyecto::evento));
    m_ui->listWidgetVariablesExpresion->addItems(variables);
    m_ui->listWidgetVariablesAsignacion->addItems(variables);
    m_ui->listWidgetAcciones->addItems(leerCatalogo(m_datos, &XmlHandler::cantidadAcciones,
                                                    &XmlHandler::getContenidoAccion, &IdsProyecto::accion));
}

bool DialogTransicion::esTransicionReset() const
{
    return m_arrow && m_arrow->startItem() &&
           m_arrow->startItem()->diagramType() == DiagramItem::EstadoInicial;
}

void DialogTransicion::appendDisparador(const QString &pieza)
{
    m_ui->lineEditEvento->setText(m_ui->lineEditEvento->text() + pieza);
}

void DialogTransicion::setEstadoTrasOperando()
{
    m_ui->toolButtonAgregarEvento->setEnabled(false);
    m_ui->toolButtonAgregarExpresion->setEnabled(false);
    m_ui->pushButtonNot->setEnabled(false);
    m_ui->pushButtonAbreParentesis->setEnabled(false);
    m_ui->pushButtonAnd->setEnabled(true);
    m_ui->pushButtonOr->setEnabled(true);
    m_ui->pushButtonCierraParentesis->setEnabled(m_difParentesis > 0);
}

void DialogTransicion::agregarEvento()
{
    const QListWidgetItem *evento = m_ui->listWidgetEventos->currentItem();
    if (!evento)
        return;
    appendDisparador(evento->text());
    setEstadoTrasOperando();
}

void DialogTransicion::agregarExpresion()
{
    const QString variable = m_ui->lineEditVariableExpresion->text();
    const QString valor = m_ui->lineEditValorExpresion->text();
    if (variable.isEmpty() || !QRegExp(kPatronValor).exactMatch(valor))
        return;
    const QString rechazo = rechazoDeValor(valor);
    if (!rechazo.isEmpty()) {
        avisar(QMessageBox::Warning, QStringLiteral("Advertencia"), rechazo);
        return;
    }
    appendDisparador(variable + QLatin1Char(' ') + m_ui->comboBoxComparacion->currentText() +
                     QLatin1Char(' ') + valor);
    setEstadoTrasOperando();
}

void DialogTransicion::agregarConectivo(const QString &conectivo)
{
    appendDisparador(conectivo);
    m_ui->pushButtonAnd->setEnabled(false);
    m_ui->pushButtonOr->setEnabled(false);
    m_ui->pushButtonCierraParentesis->setEnabled(false);
    m_ui->pushButtonNot->setEnabled(true);
    m_ui->pushButtonAbreParentesis->setEnabled(true);
    m_ui->toolButtonAgregarEvento->setEnabled(true);
    m_ui->toolButtonAgregarExpresion->setEnabled(true);
}

void DialogTransicion::agregarNegacion()
{
    appendDisparador(QStringLiteral("!"));
    m_ui->pushButtonNot->setEnabled(false);
    m_ui->pushButtonAnd->setEnabled(false);
    m_ui->pushButtonOr->setEnabled(false);
    m_ui->pushButtonCierraParentesis->setEnabled(false);
    m_ui->pushButtonAbreParentesis->setEnabled(true);
}

void DialogTransicion::abrirParentesis()
{
    appendDisparador(QStringLiteral("("));
    ++m_difParentesis;
    m_ui->pushButtonAbreParentesis->setEnabled(false);
    m_ui->pushButtonAnd->setEnabled(false);
    m_ui->pushButtonOr->setEnabled(false);
    m_ui->pushButtonNot->setEnabled(true);
}

void DialogTransicion::cerrarParentesis()
{
    if (m_difParentesis <= 0)
        return;
    appendDisparador(QStringLiteral(")"));
    --m_difParentesis;
    if (m_difParentesis == 0)
        m_ui->pushButtonCierraParentesis->setEnabled(false);
}

void DialogTransicion::borrarDisparador()
{
    m_ui->lineEditEvento->clear();
    m_ui->pushButtonAnd->setEnabled(false);
    m_ui->pushButtonOr->setEnabled(false);
    m_ui->pushButtonNot->setEnabled(true);
    m_ui->pushButtonAbreParentesis->setEnabled(true);
    m_ui->pushButtonCierraParentesis->setEnabled(false);
    m_difParentesis = 0;
    m_ui->toolButtonAgregarEvento->setEnabled(true);
    m_ui->toolButtonAgregarExpresion->setEnabled(true);
}

QStringList DialogTransicion::accionesTransicion() const
{
    QStringList acciones;
    for (int i = 0; i < m_ui->listWidgetAccionesTransicion->count(); ++i)
        acciones.append(m_ui->listWidgetAccionesTransicion->item(i)->text());
    return acciones;
}

void DialogTransicion::agregarAccionSeleccionada()
{
    const QListWidgetItem *accion = m_ui->listWidgetAcciones->currentItem();
    if (!accion) {
        avisar(QMessageBox::Information, QStringLiteral("Advertencia"),
               QStringLiteral("No hay ningún elememento seleccionado."));
        return;
    }
    agregarAccion(accion->text());
}

void DialogTransicion::agregarAccion(const QString &accion)
{
    if (accionesTransicion().contains(accion)) {
        avisar(QMessageBox::Information, QStringLiteral("Advertencia"),
               QStringLiteral("Este elemento ya fue agregado."));
        return;
    }
    m_ui->listWidgetAccionesTransicion->addItem(accion);
    seleccionarUltima(m_ui->listWidgetAccionesTransicion);
}

void DialogTransicion::agregarAsignacion()
{
    const QString variable = m_ui->lineEditVariableAsignacion->text();
    const QString valor = m_ui->lineEditValorAsignacion->text();
    if (variable.isEmpty() || !QRegExp(kPatronValor).exactMatch(valor))
        return;
    const QString rechazo = rechazoDeValor(valor);
    if (!rechazo.isEmpty()) {
        avisar(QMessageBox::Warning, QStringLiteral("Advertencia"), rechazo);
        return;
    }
    m_ui->listWidgetAccionesTransicion->addItem(
        variable + QLatin1Char(' ') + m_ui->comboBoxAsignacion->currentText() + QLatin1Char(' ') + valor);
    seleccionarUltima(m_ui->listWidgetAccionesTransicion);
}

void DialogTransicion::quitarAccion()
{
    const int fila = m_ui->listWidgetAccionesTransicion->currentRow();
    if (fila >= 0)
        delete m_ui->listWidgetAccionesTransicion->takeItem(fila);
}

void DialogTransicion::moverAccion(int desplazamiento)
{
    QListWidget *lista = m_ui->listWidgetAccionesTransicion;
    const int fila = lista->currentRow();
    const int destino = fila + desplazamiento;
    if (fila < 0 || destino < 0 || destino >= lista->count())
        return;
    QListWidgetItem *item = lista->takeItem(fila);
    lista->insertItem(destino, item);
    lista->setCurrentRow(destino);
}

// Empty when cancelled, or when there is no document to declare the name in.
QString DialogTransicion::pedirNombre(const QString &titulo, const QString &icono)
{
    if (!m_datos)
        return QString();
    bool ok = false;
    const QString nombre = RegExpInputDialog::getText(this, titulo, QStringLiteral("Definir el nombre:"),
                                                      QString(), QRegExp(kPatronNombre), &ok, QIcon(icono),
                                                      Qt::Dialog, &ValidadorNombre::problema);
    return ok ? nombre : QString();
}

void DialogTransicion::nuevoEvento()
{
    const QString nombre =
        pedirNombre(QStringLiteral("Nuevo Evento"), QStringLiteral(":/img/img/events.png"));
    if (nombre.isEmpty())
        return;
    if (m_datos->getNombresEventosDefinidos().contains(nombre)) {
        avisar(QMessageBox::Information, QStringLiteral("Definir Evento"),
               QStringLiteral("Ya existe un evento definido con el mismo nombre."));
        return;
    }
    m_datos->addNuevoEvento(nombre);
    m_ui->listWidgetEventos->addItem(nombre);
    seleccionarUltima(m_ui->listWidgetEventos);
}

void DialogTransicion::nuevaAccion()
{
    const QString nombre =
        pedirNombre(QStringLiteral("Nueva Acción"), QStringLiteral(":/img/img/external.png"));
    if (nombre.isEmpty())
        return;
    const QString accion = nombre + QStringLiteral("()");
    if (m_datos->getNombresAccionesDefinidas().contains(accion)) {
        avisar(QMessageBox::Information, QStringLiteral("Definir Acción"),
               QStringLiteral("Ya existe una acción definida con el mismo nombre."));
        return;
    }
    m_datos->addNuevaAccion(accion);
    m_ui->listWidgetAcciones->addItem(accion);
    seleccionarUltima(m_ui->listWidgetAcciones);
}

void DialogTransicion::nuevaVariable()
{
    const QString nombre =
        pedirNombre(QStringLiteral("Nueva Variable"), QStringLiteral(":/img/img/brick.png"));
    if (nombre.isEmpty())
        return;
    if (m_datos->getNombresVariablesDefinidas().contains(nombre)) {
        avisar(QMessageBox::Information, QStringLiteral("Definir Variable"),
               QStringLiteral("Ya existe una variable definida con el mismo nombre."));
        return;
    }
    m_datos->addNuevaVariable(nombre);
    for (QListWidget *lista : {m_ui->listWidgetVariablesExpresion, m_ui->listWidgetVariablesAsignacion}) {
        lista->addItem(nombre);
        seleccionarUltima(lista);
    }
    m_completerModel->setStringList(m_completerModel->stringList() << nombre);
}

void DialogTransicion::eliminarEvento()
{
    const int fila = m_ui->listWidgetEventos->currentRow();
    if (fila < 0 || !m_datos)
        return;
    const QString evento = m_ui->listWidgetEventos->item(fila)->text();
    const QString titulo = QStringLiteral("Borrar Evento");
    if (UsageRules::eventUsedInTrigger(m_ui->lineEditEvento->text(), evento)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("Advertencia: El evento forma parte de la transición actual."));
        return;
    }
    if (UsageRules::eventUsedByAny(transicionesDefinidas(), evento)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("Advertencia: El evento forma parte de una transición ya definida. "
                              "Primero debe remover la transición."));
        return;
    }
    m_datos->borrarEvento(fila);
    delete m_ui->listWidgetEventos->takeItem(fila);
}

void DialogTransicion::eliminarAccion()
{
    const int fila = m_ui->listWidgetAcciones->currentRow();
    if (fila < 0 || !m_datos)
        return;
    const QString accion = m_ui->listWidgetAcciones->item(fila)->text();
    const QString titulo = QStringLiteral("Borrar Acción");
    if (UsageRules::actionUsedByAny(transicionesDefinidas(), accion)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("La acción forma parte de una transición ya definida.\n"
                              "Primero debe remover la transición."));
        return;
    }
    if (UsageRules::actionUsedInActions(accionesTransicion(), accion)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("La acción forma parte de la transición actual."));
        return;
    }
    m_datos->borrarAccion(fila);
    delete m_ui->listWidgetAcciones->takeItem(fila);
}

void DialogTransicion::eliminarVariable(QListWidget *lista)
{
    const int fila = lista->currentRow();
    if (fila < 0 || !m_datos)
        return;
    const QString variable = lista->item(fila)->text();
    const QString titulo = QStringLiteral("Borrar Variable");
    if (UsageRules::variableUsedInTrigger(m_ui->lineEditEvento->text(), variable) ||
        UsageRules::variableUsedInActions(accionesTransicion(), variable)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("La variable forma parte de la transición actual."));
        return;
    }
    if (UsageRules::variableUsedByAny(transicionesDefinidas(), variable)) {
        avisar(QMessageBox::Warning, titulo,
               QStringLiteral("Advertencia: La variable forma parte de una transición ya definida. "
                              "Primero debe remover la transición."));
        return;
    }
    m_datos->borrarVariable(fila);
    delete m_ui->listWidgetVariablesExpresion->takeItem(fila);
    delete m_ui->listWidgetVariablesAsignacion->takeItem(fila);
    for (QLineEdit *campo : {m_ui->lineEditVariableExpresion, m_ui->lineEditVariableAsignacion}) {
        if (campo->text() == variable)
            campo->clear();
    }
    QStringList completado = m_completerModel->stringList();
    completado.removeOne(variable);
    m_completerModel->setStringList(completado);
}

// Every arrow attached to a state of any machine, the reset arrows and the
// arrow being edited (in its stored form) included. An arrow is met from both
// of its ends; the duplicates do not change the answer.
QVector<UsageRules::TransitionText> DialogTransicion::transicionesDefinidas() const
{
    QList<DiagramScene *> escenas = m_sceneList;
    if (m_scene && !escenas.contains(m_scene))
        escenas.append(m_scene);
    QVector<UsageRules::TransitionText> transiciones;
    for (const DiagramScene *escena : qAsConst(escenas)) {
        if (!escena)
            continue;
        const QList<DiagramItem *> estados = escena->itemList();
        for (const DiagramItem *estado : estados) {
            const QList<Arrow *> flechas = estado->arrows();
            for (const Arrow *flecha : flechas)
                transiciones.append({flecha->event(), flecha->actions()});
        }
    }
    return transiciones;
}

void DialogTransicion::aceptar()
{
    const QString evento = esTransicionReset() ? QStringLiteral("-") : m_ui->lineEditEvento->text();
    if (evento.isEmpty()) {
        avisar(QMessageBox::Information, QStringLiteral("Advertencia"),
               QStringLiteral("Es necesario definir el evento que dispara la transición."));
        return;
    }
    if (m_difParentesis != 0 || evento.endsWith(QLatin1Char('!')) || evento.endsWith(QLatin1Char(' '))) {
        avisar(QMessageBox::Warning, QStringLiteral("Advertencia"),
               QStringLiteral("Disparador de la Transición: Expresión inválida."));
        return;
    }
    m_evento = evento;
    m_acciones = accionesTransicion().join(QLatin1Char(','));
    accept();
}

void DialogTransicion::avisar(QMessageBox::Icon icono, const QString &titulo, const QString &texto)
{
    QMessageBox mensaje(icono, titulo, texto, QMessageBox::NoButton, this);
    mensaje.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    mensaje.exec();
}
