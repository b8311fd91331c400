// Speed of the editor's pictures and clipboard.
//
// Prints the median processor time of several runs for: the PNG of a
// 250-state machine (drawing and encoding apart, then together; goal 300 ms),
// its SVG, and copying then pasting 100 states with their transitions
// (goal 100 ms for the paste).

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "imagendiagrama.h"
#include "medicion.h"
#include "portapapelesdiagrama.h"
#include "xmlhandler.h"

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const qreal SpacingX = 220;
const qreal SpacingY = 160;

void link(DiagramScene *scene, DiagramItem *from, DiagramItem *to)
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
}

// A square-ish grid of states, as a large drawn machine is: each state links
// to its right neighbour and to the one below, every third has a self-loop.
DiagramScene *buildMachine(int states)
{
    auto *scene = new DiagramScene(QStringLiteral("Bench"), nullptr);
    scene->initSceneRect(-1250, -750, 2500, 1500);
    const int columns = int(std::ceil(std::sqrt(double(states))));
    QList<DiagramItem *> items;
    for (int i = 0; i < states; ++i) {
        auto *state = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
        state->setColor(QColor(QStringLiteral("lightcyan")));
        state->setName(QStringLiteral("Estado_%1").arg(i));
        scene->addItem(state);
        state->setPos((i % columns) * SpacingX, (i / columns) * SpacingY);
        scene->addToList(state);
        items << state;
    }
    for (int i = 0; i < states; ++i) {
        if ((i + 1) % columns != 0 && i + 1 < states)
            link(scene, items.at(i), items.at(i + 1));
        if (i + columns < states)
            link(scene, items.at(i), items.at(i + columns));
        if (i % 3 == 0)
            link(scene, items.at(i), items.at(i));
    }
    return scene;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = 5;

    DiagramScene *grande = buildMachine(250);
    const ImagenDiagrama imagen(grande);
    const QSize tamano = imagen.imagen().size();
    std::printf("250 estados: imagen de %d x %d px (escala %.2f)\n", tamano.width(), tamano.height(),
                imagen.escala());
    report("PNG of a 250-state machine: drawing", medianMs(runs, [&] { imagen.imagen(); }));
    report("PNG of a 250-state machine: drawing and encoding", medianMs(runs, [&] { imagen.png(); }),
           "(goal < 300 ms)");
    report("SVG of a 250-state machine", medianMs(runs, [&] { imagen.svg(); }));

    DiagramScene *origen = buildMachine(100);
    XmlHandler catalogo(QStringLiteral("bench"), XmlHandler::NUEVO_XML_DATOS);
    catalogo.addNuevoEvento(QStringLiteral("evento"));
    catalogo.addNuevaAccion(QStringLiteral("accion()"));
    catalogo.addNuevaVariable(QStringLiteral("n"));
    QByteArray fragmento;
    report("copy 100 states",
           medianMs(runs, [&] { fragmento = PortapapelesDiagrama::copiar(origen->itemList(), catalogo); }));
    QList<DiagramScene *> destinos;
    int n = 0;
    const auto nombre = [&n](const QString &base) { return base + QLatin1Char('_') + QString::number(++n); };
    report("paste 100 states with their transitions",
           medianMs(runs,
                    [&] {
                        auto *destino = new DiagramScene(QStringLiteral("Destino"), nullptr);
                        destinos << destino;
                        PortapapelesDiagrama::pegar(fragmento, destino, catalogo, nullptr, nombre, nullptr,
                                                    QPointF(20, 20));
                    }),
           "(goal < 100 ms)");
    qDeleteAll(destinos);
    delete origen;
    delete grande;
    return 0;
}
