// Drawing and dragging speed of large diagrams.
//
//   bench_diagram            all measurements
//   bench_diagram frame      only the 250-state frame, many times (profiling)
//   bench_diagram drag       only the drag step, many times (profiling)
//
// Prints the median processor time of several runs for: one frame of a
// 250-state machine in a 1366 × 675 view (at 1:1 with a breakdown, zoomed,
// whole), one frame of a 2000-state / 6000-transition machine (at 1:1 and
// whole), building that machine, and one drag step of a state with 10
// transitions in it (move, re-route, repaint the view).

#include "arrow.h"
#include "arrowlabel.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "medicion.h"

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const QSize ViewSize(1366, 675);
const qreal SpacingX = 220;
const qreal SpacingY = 160;

struct Machine
{
    DiagramScene *scene = nullptr;
    QList<DiagramItem *> states;
    int columns = 0;
};

Arrow *link(DiagramScene *scene, DiagramItem *from, DiagramItem *to)
{
    auto *arrow = new Arrow(from, to, nullptr);
    arrow->setColor(Qt::black);
    from->addArrow(arrow);
    if (to != from)
        to->addArrow(arrow);
    scene->addItem(arrow);
    arrow->updatePosition();
    arrow->setText(QStringLiteral("evento"), {QStringLiteral("accion()"), QStringLiteral("n = 1")});
    arrow->alignText();
    return arrow;
}

// A grid of states. Each links to its right and lower neighbours (back to
// the left or upper one at the edges, as two-way transitions), and every
// third one has a self-loop, the others a diagonal: three arrows per state.
Machine buildMachine(int columns, int rows, bool shadows)
{
    Machine machine;
    machine.columns = columns;
    machine.scene = new DiagramScene(QStringLiteral("Bench"), nullptr);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto *state = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
            state->setColor(QColor(QStringLiteral("lightcyan")));
            state->setName(QStringLiteral("Estado_%1").arg(r * columns + c));
            if (!shadows)
                state->setGraphicsEffect(nullptr);
            machine.scene->addItem(state);
            state->setPos(c * SpacingX, r * SpacingY);
            machine.scene->addToList(state);
            machine.states << state;
        }
    }
    const auto at = [&](int r, int c) {
        r = r < rows ? r : rows - 2;
        c = c < columns ? c : columns - 2;
        return machine.states.at(r * columns + c);
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            link(machine.scene, at(r, c), at(r, c + 1));
            link(machine.scene, at(r, c), at(r + 1, c));
            if ((r * columns + c) % 3 == 0)
                link(machine.scene, at(r, c), at(r, c));
            else
                link(machine.scene, at(r, c), at(r + 1, c + 1));
        }
    }
    return machine;
}

QGraphicsView *editorView(QGraphicsScene *scene)
{
    auto *view = new QGraphicsView(scene);
    view->setRenderHint(QPainter::Antialiasing);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->resize(ViewSize);
    return view;
}

void renderFrame(QGraphicsView *view, QImage *image)
{
    image->fill(Qt::white);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    view->render(&painter, QRectF(), view->viewport()->rect());
}

int g_runs = 9;

void frames(const char *label, int columns, int rows, bool shadows, bool whole, qreal zoom = 1)
{
    Machine machine = buildMachine(columns, rows, shadows);
    QGraphicsView *view = editorView(machine.scene);
    QImage image(ViewSize, QImage::Format_ARGB32_Premultiplied);
    if (whole)
        view->fitInView(machine.scene->itemsBoundingRect(), Qt::KeepAspectRatio);
    else
        view->centerOn(machine.states.at(machine.states.size() / 2));
    view->scale(zoom, zoom);
    renderFrame(view, &image);
    report(label, medianMs(g_runs, [&] { renderFrame(view, &image); }));
    delete view;
    delete machine.scene;
}

// Where the time of a 1:1 frame goes: the same frame without transitions,
// without states.
void frameBreakdown()
{
    Machine machine = buildMachine(25, 10, true);
    QGraphicsView *view = editorView(machine.scene);
    view->centerOn(machine.states.at(machine.states.size() / 2));
    QImage image(ViewSize, QImage::Format_ARGB32_Premultiplied);
    const auto measure = [&](const char *label) {
        renderFrame(view, &image);
        report(label, medianMs(g_runs, [&] { renderFrame(view, &image); }));
    };
    QList<Arrow *> arrows;
    for (QGraphicsItem *item : machine.scene->items()) {
        if (auto *arrow = qgraphicsitem_cast<Arrow *>(item))
            arrows << arrow;
    }
    for (Arrow *arrow : arrows)
        arrow->setSelected(true);
    measure("  250-state frame, every transition selected (wider pen)");
    for (Arrow *arrow : arrows) {
        arrow->setSelected(false);
        arrow->hide();
    }
    measure("  250-state frame without transitions");
    for (Arrow *arrow : arrows)
        arrow->show();
    for (DiagramItem *state : machine.states)
        state->hide();
    measure("  250-state frame without states and labels");
    delete view;
    delete machine.scene;
}

// One step of dragging a state with ten transitions: the move re-routes
// them, then the view repaints its whole viewport.
void dragStep(bool shadows)
{
    Machine machine = buildMachine(50, 40, shadows);
    DiagramItem *dragged = machine.states.at(20 * 50 + 25);
    for (int i = 0; dragged->arrows().size() < 10; ++i)
        link(machine.scene, dragged, machine.states.at(19 * 50 + 20 + i));
    QGraphicsView *view = editorView(machine.scene);
    view->centerOn(dragged);
    QImage image(ViewSize, QImage::Format_ARGB32_Premultiplied);
    renderFrame(view, &image);
    int step = 0;
    const double ms = medianMs(g_runs * 2 + 3, [&] {
        dragged->moveBy(++step % 2 ? 3 : -3, 2);
        renderFrame(view, &image);
    });
    const double routing = medianMs(101, [&] { dragged->moveBy(++step % 2 ? 3 : -3, 2); });
    report(shadows ? "drag step, 10 arrows, 2000/6000 scene (goal < 16 ms)"
                   : "drag step, 10 arrows, 2000/6000 scene, no shadows",
           ms);
    report("  of which move + re-route only", routing);
    delete view;
    delete machine.scene;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!only.isEmpty())
        g_runs = 200;
    if (only == QLatin1String("frame")) {
        frames("250-state frame at 1:1", 25, 10, true, false);
        return 0;
    }
    if (only == QLatin1String("drag")) {
        dragStep(true);
        return 0;
    }

    frames("250-state frame at 1:1 (goal < 8 ms)", 25, 10, true, false);
    frames("250-state frame at 1:1, no shadows", 25, 10, false, false);
    frameBreakdown();
    frames("250-state frame at 125%", 25, 10, true, false, 1.25);
    frames("250-state frame at 200%", 25, 10, true, false, 2);
    frames("250-state frame, whole machine", 25, 10, true, true);

    const double start = cpuMs();
    Machine big = buildMachine(50, 40, true);
    report("build 2000 states / 6000 arrows", cpuMs() - start);
    delete big.scene;

    frames("2000/6000 frame at 1:1", 50, 40, true, false);
    frames("2000/6000 frame at 50% (the smallest zoom)", 50, 40, true, false, 0.5);
    frames("2000/6000 frame, whole machine", 50, 40, true, true);
    frames("2000/6000 frame, whole machine, no shadows", 50, 40, false, true);
    dragStep(true);
    dragStep(false);
    return 0;
}
