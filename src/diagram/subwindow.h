#ifndef SUBWINDOW_H
#define SUBWINDOW_H

#include <QMdiSubWindow>

// The window of one machine. Closing it only hides it; the machine stays in
// the project. Each window keeps its own zoom factor.
class SubWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    explicit SubWindow(QWidget *parent = nullptr);

    double currentScale() const { return scale; }
    void setScale(double value) { scale = value; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    double scale = 1.0;
};

#endif // SUBWINDOW_H
