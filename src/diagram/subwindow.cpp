#include "subwindow.h"

#include <QCloseEvent>

SubWindow::SubWindow(QWidget *parent) : QMdiSubWindow(parent) {}

void SubWindow::closeEvent(QCloseEvent *event)
{
    hide();
    event->ignore();
}
