#include "proyectoprueba.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "dialognuevoproyecto.h"
#include "mainwindow.h"
#include "modalscript.h"

#include <QAction>
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

} // namespace ProyectoPrueba
