#ifndef REGEXPINPUTDIALOG_H
#define REGEXPINPUTDIALOG_H

#include <QDialog>
#include <QIcon>
#include <QRegExp>
#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRegExpValidator;

// The name-entry dialog of every command that asks for a new name. The field
// refuses any keystroke that cannot lead to a match of the pattern; "Aceptar"
// is enabled while the field is not empty and the caller's check, if any,
// finds no problem with the text (the problem is shown under the field).
class RegExpInputDialog : public QDialog
{
    Q_OBJECT

public:
    // The reason a text cannot be accepted, or an empty text when it can.
    using Validacion = std::function<QString(const QString &)>;

    explicit RegExpInputDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    void setTitle(const QString &title);
    void setLabelText(const QString &label);
    // Sets the field and selects all of it, so typing replaces it.
    void setText(const QString &text);
    void setRegExp(const QRegExp &regExp);
    void setValidacion(const Validacion &validacion);
    // The problem shown under the field; empty while the text is acceptable.
    QString problema() const;
    QString getLabelText() const;
    QString getText() const;

    // Runs the dialog modally. Returns the entered text with *ok true, or an
    // empty text with *ok false when it was cancelled (ok may be null).
    static QString getText(QWidget *parent, const QString &title, const QString &label, const QString &text,
                           const QRegExp &regExp, bool *ok, const QIcon &icon = QIcon(),
                           Qt::WindowFlags flags = Qt::WindowFlags(),
                           const Validacion &validacion = Validacion());

private slots:
    void checkValid(const QString &text);

private:
    QLabel *m_label;
    QLineEdit *m_text;
    QLabel *m_problema;
    Validacion m_validacion;
    QDialogButtonBox *m_buttonBox;
    QPushButton *m_aceptar;
    QRegExp m_regExp;
    QRegExpValidator *m_validator;
};

#endif // REGEXPINPUTDIALOG_H
