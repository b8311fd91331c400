#ifndef MODALSCRIPT_H
#define MODALSCRIPT_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QTimer;
class QWidget;

// Answers the modal dialogs a command opens, one handler per dialog, in the
// order they appear. Message boxes are recorded (title and text), and so are
// the dialogs typed into (title and the text their field offered), so a test
// can check what the user was told and offered. Polling stops when the script is
// destroyed, so a dialog that never came cannot be answered by a later test.
// A dialog that its handler left open is rejected after a few seconds, so a
// wrong answer fails the test instead of hanging it. A handler is not called
// again while it runs, so a handler that opens dialogs of its own answers
// them with a script of its own, made just before the click that opens them.
class ModalScript : public QObject
{
public:
    using Handler = std::function<void(QWidget *)>;

    ModalScript();
    ~ModalScript() override;

    ModalScript &then(const Handler &handler);
    // Clicks the enabled button captioned boton (a message box's or any
    // dialog's); a dialog without one is rejected.
    ModalScript &thenClick(const QString &boton);
    // Replaces the text of the dialog's line edit by typing texto (through
    // its validator, as a user would), then clicks boton. A null texto keeps
    // what the field offered.
    ModalScript &thenType(const QString &texto, const QString &boton = QStringLiteral("Aceptar"));
    // Closes a message box with its default escape button.
    ModalScript &thenDismiss();

    int pendientes() const { return m_handlers.size(); }
    QStringList titulos() const { return m_titulos; }
    QStringList textos() const { return m_textos; }

    // A script that dismisses every message box and records it.
    static Handler descartar();

private:
    void tick();

    QTimer *m_timer;
    QList<Handler> m_handlers;
    QPointer<QWidget> m_ultimo;
    QElapsedTimer m_desdeRespuesta;
    QStringList m_titulos;
    QStringList m_textos;
};

#endif // MODALSCRIPT_H
