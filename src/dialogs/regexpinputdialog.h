#ifndef REGEXPINPUTDIALOG_H
#define REGEXPINPUTDIALOG_H

#include <QDialog>
#include <QIcon>
#include <QRegExp>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRegExpValidator;

// The name-entry dialog of every command that asks for a new name. The field
// refuses any keystroke that cannot lead to a match of the pattern; "Aceptar"
// is enabled while the field is not empty.
class RegExpInputDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RegExpInputDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    void setTitle(const QString &title);
    void setLabelText(const QString &label);
    // Sets the field and selects all of it, so typing replaces it.
    void setText(const QString &text);
    void setRegExp(const QRegExp &regExp);
    QString getLabelText() const;
    QString getText() const;

    // Runs the dialog modally. Returns the entered text with *ok true, or an
    // empty text with *ok false when it was cancelled (ok may be null).
    static QString getText(QWidget *parent, const QString &title, const QString &label, const QString &text,
                           const QRegExp &regExp, bool *ok, const QIcon &icon = QIcon(),
                           Qt::WindowFlags flags = Qt::WindowFlags());

private slots:
    void checkValid(const QString &text);

private:
    QLabel *m_label;
    QLineEdit *m_text;
    QDialogButtonBox *m_buttonBox;
    QPushButton *m_aceptar;
    QRegExp m_regExp;
    QRegExpValidator *m_validator;
};

#endif // REGEXPINPUTDIALOG_H
