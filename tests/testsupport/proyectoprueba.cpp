#include "proyectoprueba.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialognuevoproyecto.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "xmlhandler.h"

#include <QAction>
#include <QGraphicsRectItem>
#include <QLineEdit>
#include <QPushButton>

namespace ProyectoPrueba {

std::function<void(QWidget *)> rellenarDialogo(const QString &carpeta, const QString &nombre,
                                               const QString &autor)
{
    return [=](QWidget *w) {
        auto *dialogo = qobject_cast<DialogNuevoProyecto *>(w);
        if (!dialogo)
            return;
        dialogo->findChild<QLineEdit *>(QStringLiteral("lineEditNombre"))->setText(nombre);
        dialogo->findChild<QLineEdit *>(QStringLiteral("lineEditAutor"))->setText(autor);
        dialogo->findChild<QLineEdit *>(QStringLiteral("lineEditCarpeta"))->setText(carpeta);
        dialogo->findChild<QPushButton *>(QStringLiteral("pushButtonCrear"))->click();
        if (dialogo->isVisible())
            dialogo->reject();
    };
}

bool crear(MainWindow &ventana, const QString &carpeta, const QString &nombre, const QString &autor)
{
    ModalScript script;
    script.then(rellenarDialogo(carpeta, nombre, autor));
    ventana.findChild<QAction *>(QStringLiteral("actionNuevoProyecto"))->trigger();
    return ventana.documento() != nullptr && script.pendientes() == 0;
}

DiagramScene *maquina(MainWindow &ventana, const QString &nombre)
{
    ventana.initSubWindow(nombre);
    return ventana.sceneList().isEmpty() ? nullptr : ventana.sceneList().last();
}

DiagramItem *estado(DiagramScene *scene, const QString &nombre, const QPointF &pos, const QColor &color)
{
    auto *item = new DiagramItem(DiagramItem::EstadoSimple, nullptr);
    item->setColor(color);
    scene->addItem(item);
    scene->addToList(item);
    item->setPos(pos);
    item->setName(nombre);
    return item;
}

namespace {

Arrow *enlazar(DiagramScene *scene, DiagramItem *desde, DiagramItem *hasta, const QString &evento,
               const QStringList &acciones)
{
    auto *arrow = new Arrow(desde, hasta, nullptr);
    arrow->setColor(Qt::black);
    desde->addArrow(arrow);
    if (hasta != desde)
        hasta->addArrow(arrow);
    scene->addItem(arrow);
    arrow->updatePosition();
    arrow->setText(evento, acciones);
    return arrow;
}

} // namespace

Arrow *transicion(DiagramScene *scene, DiagramItem *desde, DiagramItem *hasta, const QString &evento,
                  const QStringList &acciones)
{
    Arrow *arrow = enlazar(scene, desde, hasta, evento, acciones);
    arrow->alignText();
    return arrow;
}

Arrow *inicial(DiagramScene *scene, DiagramItem *estado, const QStringList &acciones)
{
    auto *marcador = new DiagramItem(DiagramItem::EstadoInicial, nullptr);
    scene->addItem(marcador);
    marcador->setPos(estado->pos() -
                     QPointF(estado->rect().width() / 2 + 40, estado->rect().height() / 2 + 40));
    scene->setInitialStateItem(marcador);
    estado->setInicial(true);
    return enlazar(scene, marcador, estado, QStringLiteral("-"), acciones);
}

QStringList descripcion(const MainWindow &ventana)
{
    auto p = [](const QPointF &v) { return XmlHandler::formatoPunto(v); };
    QStringList l;
    for (const DiagramScene *scene : ventana.sceneList()) {
        l << QStringLiteral("maquina ") + scene->name();
        const QList<DiagramItem *> estados = scene->itemList();
        for (const DiagramItem *e : estados) {
            l << QStringLiteral("  estado %1 %2 %3 %4x%5%6")
                     .arg(e->name(), e->color().name(), p(e->pos()))
                     .arg(int(e->rect().width()))
                     .arg(int(e->rect().height()))
                     .arg(e->isEstadoInicial() ? QStringLiteral(" inicial") : QString());
            for (Arrow *a : e->arrows()) {
                if (a->startItem() != e)
                    continue;
                l << QStringLiteral("    -> %1 [%2] [%3] mid %4 texto %5 registros %6/%7")
                         .arg(estados.indexOf(a->endItem()))
                         .arg(a->event(), a->actions().join(QLatin1Char('|')), p(a->controlPoint()),
                              p(a->textRelativePos()))
                         .arg(e->arrows().count(a))
                         .arg(a->endItem()->arrows().count(a));
            }
        }
        if (const DiagramItem *m = scene->initialStateItem()) {
            const Arrow *a = m->arrows().value(0);
            l << QStringLiteral("  marcador %1 flechas %2").arg(p(m->pos())).arg(m->arrows().size());
            if (a) {
                l << QStringLiteral("    -> %1 [%2] [%3] mid %4 texto %5")
                         .arg(estados.indexOf(a->endItem()))
                         .arg(a->event(), a->actions().join(QLatin1Char('|')), p(a->controlPoint()),
                              p(a->textRelativePos()));
            }
        }
    }
    return l;
}

} // namespace ProyectoPrueba
