#include "diagramfixture.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"

namespace DiagramFixture {

DiagramItem *addEstado(DiagramScene *scene, const QString &name, const QPointF &pos)
{
    auto *item = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
    item->setColor(QColor(QStringLiteral("lightcyan")));
    scene->addItem(item);
    scene->addToList(item);
    item->setPos(pos);
    item->setName(name);
    return item;
}

Arrow *addTransicion(DiagramScene *scene, DiagramItem *from, DiagramItem *to, const QString &event,
                     const QStringList &actions)
{
    auto *arrow = new Arrow(from, to, nullptr);
    arrow->setColor(Qt::black);
    from->addArrow(arrow);
    if (to != from)
        to->addArrow(arrow);
    scene->addItem(arrow);
    arrow->updatePosition();
    arrow->setText(event, actions);
    return arrow;
}

Arrow *addReset(DiagramScene *scene, DiagramItem *estado, const QStringList &actions)
{
    auto *marker = new DiagramItem(DiagramItem::EstadoInicial, nullptr);
    scene->addItem(marker);
    marker->setPos(estado->pos() - QPointF(95, 72));
    scene->setInitialStateItem(marker);
    estado->setInicial(true);
    return addTransicion(scene, marker, estado, QStringLiteral("-"), actions);
}

} // namespace DiagramFixture
