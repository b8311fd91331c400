#include "dialogeditorestado.h"
#include "ui_dialogeditorestado.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "validadornombre.h"

#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegExpValidator>

namespace {

// Letters, digits, "-", "_", "ñ", "Ñ" and the blank (the "-" escaped so that
// no reader can take it for a range).
const QString kPatronNombreEstado = QStringLiteral("[A-Za-z0-9\\-_ñÑ ]+");

QIcon muestraDeColor(const QColor &color, const QSize &tamano)
{
    QPixmap pixmap(tamano);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(Qt::gray));
    painter.drawRect(0, 0, tamano.width() - 1, tamano.height() - 1);
    return QIcon(pixmap);
}

QString lineaTransicion(const Arrow *flecha)
{
    return flecha->startItem()->name() + QStringLiteral(" -> ") + flecha->event() + QStringLiteral(" / ") +
           flecha->actions().join(QLatin1Char(',')) + QStringLiteral(" -> ") + flecha->endItem()->name();
}

} // namespace

DialogEditorEstado::DialogEditorEstado(QWidget *parent) : QDialog(parent), m_ui(new Ui::DialogEditorEstado)
{
    m_ui->setupUi(this);
    QFont fuente = m_ui->listWidgetTransiciones->font();
    fuente.setFamily(QStringLiteral("Consolas"));
    fuente.setStyleHint(QFont::TypeWriter);
    m_ui->listWidgetTransiciones->setFont(fuente);

    m_ui->lineEditNombre->setValidator(new QRegExpValidator(QRegExp(kPatronNombreEstado), this));
    m_ui->pushButtonListo->setFocus();
    m_ui->pushButtonEliminar->setEnabled(false);
    m_ui->comboBoxColor->setIconSize(QSize(150, 14));

    connect(m_ui->pushButtonListo, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->pushButtonCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->pushButtonEliminar, &QPushButton::clicked, this, &DialogEditorEstado::eliminarTransicion);
    connect(m_ui->listWidgetTransiciones, &QListWidget::currentRowChanged, this,
            [this](int fila) { m_ui->pushButtonEliminar->setEnabled(fila >= 0); });
}

DialogEditorEstado::~DialogEditorEstado()
{
    delete m_ui;
}

const QStringList &DialogEditorEstado::paleta()
{
    static const QStringList colores{
        QStringLiteral("azure"),     QStringLiteral("white"),      QStringLiteral("lightblue"),
        QStringLiteral("royalblue"), QStringLiteral("lightgreen"), QStringLiteral("yellowgreen"),
        QStringLiteral("tan"),       QStringLiteral("orange"),     QStringLiteral("red")};
    return colores;
}

void DialogEditorEstado::setDatos(int indexEstado, XmlHandler *&datos, DiagramScene *&scene)
{
    m_index = indexEstado;
    m_datos = datos;
    m_scene = scene;
    m_modificado = false;

    DiagramItem *item = estado();
    if (!item) {
        m_ui->groupBoxNombre->setEnabled(false);
        m_ui->groupBoxTransiciones->setEnabled(false);
        m_ui->groupBoxColor->setEnabled(false);
        return;
    }
    m_ui->lineEditNombre->setText(item->name());
    llenarColores();
    actualizarMuestra();
    llenarTransiciones();

    connect(m_ui->comboBoxColor, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DialogEditorEstado::cambiarColor, Qt::UniqueConnection);
    connect(m_ui->lineEditNombre, &QLineEdit::textEdited, this, &DialogEditorEstado::cambiarNombre,
            Qt::UniqueConnection);
}

DiagramItem *DialogEditorEstado::estado() const
{
    if (!m_scene)
        return nullptr;
    return m_scene->itemList().value(m_index, nullptr);
}

// In the order of the state's arrow list; a self-loop is listed there once.
QList<Arrow *> DialogEditorEstado::transicionesSalientes() const
{
    QList<Arrow *> salientes;
    const DiagramItem *item = estado();
    if (!item)
        return salientes;
    const QList<Arrow *> flechas = item->arrows();
    for (Arrow *flecha : flechas) {
        if (flecha->startItem() == item)
            salientes.append(flecha);
    }
    return salientes;
}

void DialogEditorEstado::llenarColores()
{
    const QColor actual = estado()->color();
    QComboBox *combo = m_ui->comboBoxColor;
    combo->clear();
    for (const QString &nombre : paleta()) {
        const QColor color(nombre);
        combo->addItem(muestraDeColor(color, combo->iconSize()), QString(), color);
        const int indice = combo->count() - 1;
        combo->setItemData(indice, color, Qt::BackgroundRole);
        combo->setItemData(indice, nombre, Qt::ToolTipRole);
    }
    // A colour outside the palette (a new state's "lightcyan") leaves the
    // first swatch current; the preview still shows the real colour.
    int actualIndice = 0;
    for (int i = 0; i < paleta().size(); ++i) {
        if (QColor(paleta().at(i)) == actual) {
            actualIndice = i;
            break;
        }
    }
    combo->setCurrentIndex(actualIndice);
}

void DialogEditorEstado::actualizarMuestra()
{
    m_ui->labelColor->setStyleSheet(QStringLiteral("background-color: ") + estado()->color().name());
}

void DialogEditorEstado::llenarTransiciones()
{
    m_ui->listWidgetTransiciones->clear();
    const QList<Arrow *> salientes = transicionesSalientes();
    for (const Arrow *flecha : salientes) {
        // Long lines are cut by the list's width; the tool tip shows them whole.
        auto *linea = new QListWidgetItem(lineaTransicion(flecha), m_ui->listWidgetTransiciones);
        linea->setToolTip(linea->text());
    }
    m_ui->pushButtonEliminar->setEnabled(false);
}

// Blanks become "_" as in every state name, so the name stays usable in the
// generated code; a change of letter case alone is always accepted.
void DialogEditorEstado::cambiarNombre(const QString &texto)
{
    DiagramItem *item = estado();
    if (!item)
        return;
    QString nombre = texto;
    if (nombre.contains(QLatin1Char(' '))) {
        const int cursor = m_ui->lineEditNombre->cursorPosition();
        nombre.replace(QLatin1Char(' '), QLatin1Char('_'));
        m_ui->lineEditNombre->setText(nombre);
        m_ui->lineEditNombre->setCursorPosition(cursor);
    }
    if (nombre.isEmpty()) {
        m_ui->labelAdvertencia->setText(QStringLiteral("Debe definir un nombre para el Estado!"));
        return;
    }
    const QString problema = ValidadorNombre::problemaEstado(nombre, m_otrasMaquinas);
    if (!problema.isEmpty()) {
        m_ui->labelAdvertencia->setText(problema);
        return;
    }
    if (nombre.toUpper() != item->name().toUpper()) {
        const QList<DiagramItem *> estados = m_scene->itemList();
        for (const DiagramItem *otro : estados) {
            if (otro->name().toUpper() == nombre.toUpper()) {
                m_ui->labelAdvertencia->setText(QStringLiteral("Ya existe un Estado con el mismo nombre!"));
                return;
            }
        }
    }
    m_ui->labelAdvertencia->clear();
    if (nombre == item->name())
        return;
    item->setName(nombre);
    m_modificado = true;
    llenarTransiciones();
}

void DialogEditorEstado::cambiarColor(int indice)
{
    DiagramItem *item = estado();
    if (!item || indice < 0 || indice >= paleta().size())
        return;
    item->setColor(QColor(paleta().at(indice)));
    m_modificado = true;
    actualizarMuestra();
}

void DialogEditorEstado::eliminarTransicion()
{
    const int fila = m_ui->listWidgetTransiciones->currentRow();
    Arrow *flecha = transicionesSalientes().value(fila, nullptr);
    if (!flecha || !confirmarEliminacion())
        return;

    m_modificado = true;
    flecha->startItem()->removeArrow(flecha);
    flecha->endItem()->removeArrow(flecha);
    if (m_scene->previousArrow() == flecha)
        m_scene->setPreviousArrow(nullptr);
    if (flecha->scene())
        flecha->scene()->removeItem(flecha);
    delete flecha;
    llenarTransiciones();
}

bool DialogEditorEstado::confirmarEliminacion()
{
    QMessageBox pregunta(QMessageBox::Warning, QStringLiteral("Eliminar Transición"),
                         QStringLiteral("¿Está seguro que desea eliminar la Transición?"),
                         QMessageBox::NoButton, this);
    pregunta.setWindowIcon(QIcon(QStringLiteral(":/img/img/cross.png")));
    QPushButton *si = pregunta.addButton(QStringLiteral("Si"), QMessageBox::AcceptRole);
    pregunta.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    pregunta.exec();
    return pregunta.clickedButton() == si;
}
