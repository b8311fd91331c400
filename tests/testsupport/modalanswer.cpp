#include "modalanswer.h"

#include "onnextmodal.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace ModalAnswer {

namespace {

void press(QWidget *modal, const QString &buttonText)
{
    const QList<QAbstractButton *> buttons = modal->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->text() == buttonText && button->isEnabled()) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    // Never leave a test hanging on a dialog nobody can answer.
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
}

} // namespace

QSharedPointer<Shown> pressButton(const QString &buttonText)
{
    auto shown = QSharedPointer<Shown>::create();
    TestSupport::onNextModal([shown, buttonText](QWidget *modal) {
        shown->seen = true;
        shown->title = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            shown->text = box->text();
        press(modal, buttonText);
    });
    return shown;
}

QSharedPointer<Shown> typeAndPress(const QString &text, const QString &buttonText)
{
    auto shown = QSharedPointer<Shown>::create();
    TestSupport::onNextModal([shown, text, buttonText](QWidget *modal) {
        shown->seen = true;
        shown->title = modal->windowTitle();
        if (auto *field = modal->findChild<QLineEdit *>()) {
            QTest::keyClicks(field, text);
            shown->text = field->text();
        }
        press(modal, buttonText);
    });
    return shown;
}

} // namespace ModalAnswer
