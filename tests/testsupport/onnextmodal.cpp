#include "onnextmodal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace TestSupport {

void onNextModal(const std::function<void(QWidget *)> &handler, int timeoutMs)
{
    auto *clock = new QElapsedTimer;
    clock->start();
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, handler, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (modal)
            handler(modal);
    });
    timer->start();
}

} // namespace TestSupport
