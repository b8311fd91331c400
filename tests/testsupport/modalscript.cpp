#include "modalscript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

const int SIN_RESPUESTA_MS = 3000;

} // namespace

ModalScript::ModalScript() : m_timer(new QTimer(this))
{
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &ModalScript::tick);
    m_timer->start();
}

ModalScript::~ModalScript() = default;

ModalScript &ModalScript::then(const Handler &handler)
{
    m_handlers << handler;
    return *this;
}

ModalScript &ModalScript::thenClick(const QString &boton)
{
    return then([boton](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box)
            return;
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == boton) {
                b->click();
                return;
            }
        }
    });
}

ModalScript &ModalScript::thenDismiss()
{
    return then(descartar());
}

ModalScript::Handler ModalScript::descartar()
{
    return [](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            if (box->escapeButton())
                box->escapeButton()->click();
            else
                box->reject();
            return;
        }
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
    };
}

void ModalScript::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal == m_ultimo && m_desdeRespuesta.hasExpired(SIN_RESPUESTA_MS)) {
        if (auto *dialogo = qobject_cast<QDialog *>(modal))
            dialogo->reject();
        return;
    }
    if (!modal || modal == m_ultimo || m_handlers.isEmpty())
        return;
    m_ultimo = modal;
    m_desdeRespuesta.start();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        m_titulos << box->windowTitle();
        m_textos << box->text();
    }
    const Handler handler = m_handlers.takeFirst();
    handler(modal);
}
