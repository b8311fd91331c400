#ifndef MODALANSWER_H
#define MODALANSWER_H

#include <QSharedPointer>
#include <QString>

// Answers the next modal dialog from a timer, the way a user would, and keeps
// what it showed for the test to check afterwards.
namespace ModalAnswer {

struct Shown
{
    bool seen = false;
    QString title;
    QString text;
};

// Presses the button captioned buttonText on the next modal message box.
QSharedPointer<Shown> pressButton(const QString &buttonText);
// Types text into the next modal dialog's line edit, then presses the
// button captioned buttonText. Shown::text holds the field's final text.
QSharedPointer<Shown> typeAndPress(const QString &text, const QString &buttonText);

} // namespace ModalAnswer

#endif // MODALANSWER_H
