#include "modalscript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

const int SIN_RESPUESTA_MS = 3000;

void pulsar(QWidget *w, const QString &boton)
{
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
        if (b->text() == boton && b->isEnabled()) {
            b->click();
            return;
        }
    }
    if (auto *dialogo = qobject_cast<QDialog *>(w))
        dialogo->reject();
}

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
    return then([boton](QWidget *w) { pulsar(w, boton); });
}

ModalScript &ModalScript::thenType(const QString &texto, const QString &boton)
{
    return then([this, texto, boton](QWidget *w) {
        auto *campo = w->findChild<QLineEdit *>();
        m_titulos << w->windowTitle();
        m_textos << (campo ? campo->text() : QString());
        if (campo && !texto.isNull()) {
            campo->clear();
            QTest::keyClicks(campo, texto);
        }
        pulsar(w, boton);
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
