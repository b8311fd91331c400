#include "fotomaquina.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"

#include <QHash>

namespace {

// Exact: Qt's own comparison of points forgives differences that the file's
// six digits may still show.
bool mismo(const QPointF &a, const QPointF &b)
{
    return a.x() == b.x() && a.y() == b.y();
}

bool mismo(const QSizeF &a, const QSizeF &b)
{
    return a.width() == b.width() && a.height() == b.height();
}

QHash<const DiagramItem *, int> indices(const QList<DiagramItem *> &estados)
{
    QHash<const DiagramItem *, int> indice;
    indice.reserve(estados.size());
    for (int i = 0; i < estados.size(); ++i)
        indice.insert(estados.at(i), i);
    return indice;
}

} // namespace

FotoMaquina FotoMaquina::deEstados(const QList<DiagramItem *> &estados)
{
    FotoMaquina foto;
    const QHash<const DiagramItem *, int> indice = indices(estados);
    foto.m_estados.reserve(estados.size());
    for (const DiagramItem *item : estados) {
        Estado estado{item->name(), item->color(), item->pos(), item->rect().size(), {}};
        for (const Arrow *arrow : item->arrows()) {
            const int destino = indice.value(arrow->endItem(), -1);
            if (arrow->startItem() != item || destino < 0)
                continue;
            estado.transiciones.append(Flecha{arrow->event(), arrow->actions(), destino,
                                              arrow->controlPoint(), arrow->textRelativePos()});
        }
        foto.m_estados.append(estado);
    }
    return foto;
}

FotoMaquina FotoMaquina::de(const DiagramScene &scene)
{
    const QList<DiagramItem *> estados = scene.itemList();
    FotoMaquina foto = deEstados(estados);
    foto.m_nombre = scene.name();
    // A marker that lost its arrow marks no state: the machine is stored
    // without initial state rather than with a dangling one.
    const DiagramItem *marcador = scene.initialStateItem();
    if (marcador && !marcador->arrows().isEmpty()) {
        const Arrow *arrow = marcador->arrows().first();
        foto.m_marcador = marcador->pos();
        foto.m_inicial = Flecha{QString(), arrow->actions(), estados.indexOf(arrow->endItem()),
                                arrow->controlPoint(), arrow->textRelativePos()};
    }
    return foto;
}

bool FotoMaquina::operator==(const FotoMaquina &otra) const
{
    return m_nombre == otra.m_nombre && mismo(m_marcador, otra.m_marcador) && m_inicial == otra.m_inicial &&
           m_estados == otra.m_estados;
}

bool FotoMaquina::Flecha::operator==(const Flecha &otra) const
{
    return destino == otra.destino && mismo(medio, otra.medio) && mismo(texto, otra.texto) &&
           evento == otra.evento && acciones == otra.acciones;
}

bool FotoMaquina::Estado::operator==(const Estado &otro) const
{
    return mismo(pos, otro.pos) && mismo(tamano, otro.tamano) && color == otro.color &&
           nombre == otro.nombre && transiciones == otro.transiciones;
}
