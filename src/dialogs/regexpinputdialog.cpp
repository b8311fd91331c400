#include "regexpinputdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExpValidator>
#include <QVBoxLayout>

RegExpInputDialog::RegExpInputDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent), m_label(new QLabel(this)), m_text(new QLineEdit(this)), m_problema(new QLabel(this)),
      m_buttonBox(new QDialogButtonBox(this)),
      m_aceptar(m_buttonBox->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole)),
      m_regExp(QStringLiteral("*"), Qt::CaseSensitive, QRegExp::Wildcard),
      m_validator(new QRegExpValidator(m_regExp, this))
{
    if (flags)
        setWindowFlags(flags);

    QFont font = m_text->font();
    font.setPointSize(9);
    m_label->setFont(font);
    m_text->setFont(font);
    m_text->setValidator(m_validator);
    m_label->setBuddy(m_text);
    m_problema->setFont(font);
    m_problema->setWordWrap(true);
    m_problema->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problema->hide();
    connect(m_text, &QLineEdit::textEdited, this, &RegExpInputDialog::checkValid);

    m_buttonBox->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Tight margins keep the three rows inside the dialog's minimum height.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 4, 9, 4);
    layout->setSpacing(4);
    layout->addWidget(m_label);
    layout->addWidget(m_text);
    layout->addWidget(m_problema);
    layout->addWidget(m_buttonBox);
    setMinimumSize(350, 90);
    checkValid(m_text->text());
}

void RegExpInputDialog::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void RegExpInputDialog::setLabelText(const QString &label)
{
    m_label->setText(label);
}

void RegExpInputDialog::setText(const QString &text)
{
    m_text->setText(text);
    m_text->selectAll();
    checkValid(m_text->text());
}

void RegExpInputDialog::setRegExp(const QRegExp &regExp)
{
    m_regExp = regExp;
    m_validator->setRegExp(m_regExp);
    checkValid(m_text->text());
}

QString RegExpInputDialog::getLabelText() const
{
    return m_label->text();
}

QString RegExpInputDialog::getText() const
{
    return m_text->text();
}

void RegExpInputDialog::setValidacion(const Validacion &validacion)
{
    m_validacion = validacion;
    checkValid(m_text->text());
}

QString RegExpInputDialog::problema() const
{
    return m_problema->text();
}

void RegExpInputDialog::checkValid(const QString &text)
{
    const QString problema = m_validacion && !text.isEmpty() ? m_validacion(text) : QString();
    m_problema->setText(problema);
    m_problema->setVisible(!problema.isEmpty());
    m_aceptar->setEnabled(!text.isEmpty() && problema.isEmpty());
}

QString RegExpInputDialog::getText(QWidget *parent, const QString &title, const QString &label,
                                   const QString &text, const QRegExp &regExp, bool *ok, const QIcon &icon,
                                   Qt::WindowFlags flags, const Validacion &validacion)
{
    RegExpInputDialog dialog(parent, flags);
    dialog.setTitle(title);
    dialog.setLabelText(label);
    dialog.setText(text);
    dialog.setRegExp(regExp);
    dialog.setValidacion(validacion);
    dialog.setWindowIcon(icon);

    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? dialog.getText() : QString();
}
