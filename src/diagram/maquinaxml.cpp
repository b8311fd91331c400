#include "maquinaxml.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "idsproyecto.h"
#include "xmlhandler.h"

#include <QGraphicsRectItem>

namespace {

// Coordinates beyond this are not drawings but damage; they read as missing.
const qreal LIMITE_COORDENADA = 1e7;
// Distance from a state's top-left corner to its initial-state marker when
// the file does not store where the marker was.
const qreal SEPARACION_MARCADOR = 40;

QString numero(qreal valor)
{
    return XmlHandler::formatoNumero(valor);
}

QString punto(const QPointF &p)
{
    return XmlHandler::formatoPunto(p);
}

bool leerCoordenada(const QString &texto, qreal *valor)
{
    bool ok = false;
    *valor = texto.toDouble(&ok);
    return ok && qAbs(*valor) <= LIMITE_COORDENADA;
}

// A stored coordinate, or fallback when the text holds none ("-1" for a
// missing element is a number and is returned as such).
qreal leerNumero(const QString &texto, qreal fallback)
{
    qreal valor = 0;
    return leerCoordenada(texto, &valor) ? valor : fallback;
}

// A stored size truncated to whole units, or fallback when it is missing or
// not positive.
int leerMedida(const QString &texto, int fallback)
{
    const qreal valor = leerNumero(texto, fallback);
    return valor >= 1 ? int(valor) : fallback;
}

// "x,y" as stored in midPos and textPos; false when either number is missing.
bool leerPunto(const QString &texto, QPointF *p)
{
    const QStringList partes = texto.split(QLatin1Char(','));
    if (partes.size() != 2)
        return false;
    qreal x = 0;
    qreal y = 0;
    if (!leerCoordenada(partes.at(0), &x) || !leerCoordenada(partes.at(1), &y))
        return false;
    *p = QPointF(x, y);
    return true;
}

} // namespace

MaquinaXml::MaquinaXml(XmlHandler &documento, const QString &maquinaId, QMenu *menu)
    : m_documento(documento), m_maquina(maquinaId), m_menu(menu)
{}

void MaquinaXml::guardar(const DiagramScene *scene)
{
    m_documento.addNuevaMaquina(m_maquina);
    m_documento.addInfoMaquina(m_maquina, scene->name());
    guardarEstados(scene->itemList());
    guardarEstadoInicial(scene);
}

void MaquinaXml::guardarEstados(const QList<DiagramItem *> &estados)
{
    for (int i = 0; i < estados.size(); ++i) {
        const DiagramItem *estado = estados.at(i);
        const QString id = IdsProyecto::estado(i);
        m_documento.addNuevoEstado(id, m_maquina);
        m_documento.addInfoEstado(id, estado->name(), estado->color().name(), numero(estado->pos().x()),
                                  numero(estado->pos().y()), numero(estado->rect().width()),
                                  numero(estado->rect().height()), m_maquina);
        int j = 0;
        const QList<Arrow *> flechas = estado->arrows();
        for (const Arrow *arrow : flechas) {
            const int destino = estados.indexOf(arrow->endItem());
            if (arrow->startItem() != estado || destino < 0)
                continue;
            m_documento.addNuevaTransicion(id, IdsProyecto::transicion(j), arrow->event(),
                                           arrow->actions().join(QLatin1Char(',')),
                                           IdsProyecto::estado(destino), punto(arrow->midItem()->scenePos()),
                                           punto(arrow->textRelativePos()), m_maquina);
            ++j;
        }
    }
}

void MaquinaXml::guardarEstadoInicial(const DiagramScene *scene)
{
    // A marker that lost its arrow marks no state: the machine is stored
    // without initial state rather than with a dangling one.
    const DiagramItem *marcador = scene->initialStateItem();
    if (!marcador || marcador->arrows().isEmpty())
        return;
    const Arrow *arrow = marcador->arrows().first();
    const int destino = scene->itemList().indexOf(arrow->endItem());
    if (destino < 0)
        return;
    m_documento.setInfoEstadoInicial(numero(marcador->pos().x()), numero(marcador->pos().y()),
                                     arrow->actions().join(QLatin1Char(',')), IdsProyecto::estado(destino),
                                     punto(arrow->midItem()->scenePos()), punto(arrow->textRelativePos()),
                                     m_maquina);
}

QStringList MaquinaXml::cargar(DiagramScene *scene) const
{
    const QList<DiagramItem *> estados = cargarEstados(scene);
    QStringList omitidos = cargarTransiciones(scene, estados);
    omitidos << cargarEstadoInicial(scene, estados);
    omitidos.removeAll(QString());
    return omitidos;
}

QList<DiagramItem *> MaquinaXml::cargarEstados(DiagramScene *scene) const
{
    QList<DiagramItem *> nuevos;
    const int cantidad = m_documento.cantidadEstados(m_maquina);
    for (int a = 0; a < cantidad; ++a) {
        const QString id = IdsProyecto::estado(a);
        auto dato = [&](const char *tag) {
            return m_documento.getContenidoDiagrama(id, QString::fromLatin1(tag), m_maquina);
        };
        const QPointF pos(leerNumero(dato("pos_x"), 0), leerNumero(dato("pos_y"), 0));
        const int ancho = leerMedida(dato("ancho"), int(ESTADO_SIMPLE_WIDTH));
        const int alto = leerMedida(dato("alto"), int(ESTADO_SIMPLE_HEIGHT));
        QColor color(dato("color"));
        if (!color.isValid())
            color = QColor(QStringLiteral("lightcyan"));

        auto *estado = new DiagramItem(DiagramItem::EstadoSimple, m_menu);
        scene->addItem(estado);
        scene->addToList(estado);
        estado->setPos(pos);
        estado->setSize(ancho, alto);
        estado->setName(dato("nombre"));
        estado->setColor(color);
        nuevos << estado;
    }
    return nuevos;
}

QStringList MaquinaXml::cargarTransiciones(DiagramScene *scene, const QList<DiagramItem *> &estados) const
{
    QStringList omitidas;
    for (int i = 0; i < estados.size(); ++i) {
        const QString id = IdsProyecto::estado(i);
        const int cantidad = m_documento.cantidadTransiciones(id, m_maquina);
        for (int j = 0; j < cantidad; ++j) {
            const QString tr = IdsProyecto::transicion(j);
            auto dato = [&](const char *tag) {
                return m_documento.getContenidoTransicion(id, tr, QString::fromLatin1(tag), m_maquina);
            };
            const QString referencia = dato("idProxEstado");
            const int destino = IdsProyecto::indiceEstado(referencia, estados.size());
            if (destino < 0) {
                omitidas << QStringLiteral("%1: transición %2 de %3 hacia %4")
                                .arg(scene->name(), tr, estados.at(i)->name(), referencia);
                continue;
            }
            DiagramItem *inicio = estados.at(i);
            DiagramItem *fin = estados.at(destino);
            auto *arrow = new Arrow(inicio, fin, m_menu);
            arrow->setColor(Qt::black);
            arrow->setText(dato("idEvento"), dato("idAcciones").split(QLatin1Char(',')));
            QPointF mid;
            if (leerPunto(dato("midPos"), &mid))
                arrow->midItem()->setPos(mid);
            inicio->addArrow(arrow);
            if (fin != inicio)
                fin->addArrow(arrow);
            scene->addItem(arrow);
            QPointF texto;
            if (leerPunto(dato("textPos"), &texto))
                arrow->setTextRelativePos(texto);
            arrow->updatePosition();
        }
    }
    return omitidas;
}

QString MaquinaXml::cargarEstadoInicial(DiagramScene *scene, const QList<DiagramItem *> &estados) const
{
    scene->setInitialStateItem(nullptr);
    auto dato = [&](const char *tag) {
        return m_documento.getContenidoInicial(QString::fromLatin1(tag), m_maquina);
    };
    const QString referencia = dato("idProxEstado");
    if (referencia == QLatin1String("-1"))
        return QString();
    // The state is found by its stored index, not by its name: names may
    // repeat in a hand-edited file, and "-1" is itself a valid state name.
    const int indice = IdsProyecto::indiceEstado(referencia, estados.size());
    if (indice < 0)
        return QStringLiteral("%1: estado inicial %2").arg(scene->name(), referencia);

    DiagramItem *estado = estados.at(indice);
    estado->setInicial(true);
    auto *marcador = new DiagramItem(DiagramItem::EstadoInicial, m_menu);
    scene->addItem(marcador);
    scene->setInitialStateItem(marcador);

    const QPointF porDefecto = estado->pos() - QPointF(estado->rect().width() / 2 + SEPARACION_MARCADOR,
                                                       estado->rect().height() / 2 + SEPARACION_MARCADOR);
    const QString posX = dato("pos_x");
    const QString posY = dato("pos_y");
    const QString midPos = dato("midPos");
    const QString textPos = dato("textPos");
    const bool formaAntigua = leerNumero(posX, 0) == -1 && leerNumero(posY, 0) == -1 &&
                              midPos.section(QLatin1Char(','), 0, 0) == QLatin1String("-1") &&
                              textPos.section(QLatin1Char(','), 0, 0) == QLatin1String("-1");
    qreal x = 0;
    qreal y = 0;
    const bool posValida = !formaAntigua && leerCoordenada(posX, &x) && leerCoordenada(posY, &y);
    marcador->setPos(posValida ? QPointF(x, y) : porDefecto);

    auto *arrow = new Arrow(marcador, estado, m_menu);
    arrow->setColor(Qt::black);
    arrow->setText(QStringLiteral("-"),
                   formaAntigua ? QStringList(QString()) : dato("idAcciones").split(QLatin1Char(',')));
    QPointF mid;
    if (!formaAntigua && leerPunto(midPos, &mid))
        arrow->midItem()->setPos(mid);
    marcador->addArrow(arrow);
    estado->addArrow(arrow);
    scene->addItem(arrow);
    QPointF texto;
    if (!formaAntigua && leerPunto(textPos, &texto))
        arrow->setTextRelativePos(texto);
    arrow->updatePosition();
    return QString();
}
