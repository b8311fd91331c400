#include "maquinaxml.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "escritormaquina.h"
#include "fotomaquina.h"
#include "idsproyecto.h"
#include "proyecto.h"
#include "xmlhandler.h"

#include <QGraphicsRectItem>

namespace {

// Distance from a state's top-left corner to its initial-state marker when
// the file does not store where the marker was.
const qreal SEPARACION_MARCADOR = 40;

QString numero(qreal valor)
{
    return XmlHandler::formatoNumero(valor);
}

std::optional<QPointF> siTiene(bool tiene, const QPointF &p)
{
    return tiene ? std::optional<QPointF>(p) : std::nullopt;
}

QString punto(const QPointF &p)
{
    return XmlHandler::formatoPunto(p);
}

QString acciones(const FotoMaquina::Flecha &flecha)
{
    return flecha.acciones.join(QLatin1Char(','));
}

// Writes the picture's states and the transitions among them.
void escribirEstados(EscritorMaquina &escritor, const FotoMaquina &foto)
{
    const QVector<FotoMaquina::Estado> &estados = foto.estados();
    for (int i = 0; i < estados.size(); ++i) {
        const FotoMaquina::Estado &estado = estados.at(i);
        escritor.estado(IdsProyecto::estado(i), estado.nombre, estado.color.name(), numero(estado.pos.x()),
                        numero(estado.pos.y()), numero(estado.tamano.width()),
                        numero(estado.tamano.height()));
        for (int j = 0; j < estado.transiciones.size(); ++j) {
            const FotoMaquina::Flecha &flecha = estado.transiciones.at(j);
            escritor.transicion(IdsProyecto::transicion(j), flecha.evento, acciones(flecha),
                                IdsProyecto::estado(flecha.destino), punto(flecha.medio),
                                punto(flecha.texto));
        }
    }
}

void escribirMaquina(EscritorMaquina &escritor, const FotoMaquina &foto)
{
    const FotoMaquina::Flecha &inicial = foto.inicial();
    if (inicial.destino >= 0) {
        escritor.estadoInicial(numero(foto.marcador().x()), numero(foto.marcador().y()), acciones(inicial),
                               IdsProyecto::estado(inicial.destino), punto(inicial.medio),
                               punto(inicial.texto));
    }
    escribirEstados(escritor, foto);
}

// Keeps the scene's index off while many items go in; it is built once when
// it is next needed.
class SinIndice
{
public:
    explicit SinIndice(DiagramScene *scene) : m_scene(scene), m_metodo(scene->itemIndexMethod())
    {
        m_scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    }
    ~SinIndice() { m_scene->setItemIndexMethod(m_metodo); }
    SinIndice(const SinIndice &) = delete;
    SinIndice &operator=(const SinIndice &) = delete;

private:
    DiagramScene *m_scene;
    QGraphicsScene::ItemIndexMethod m_metodo;
};

} // namespace

MaquinaXml::MaquinaXml(XmlHandler &documento, const QString &maquinaId, QMenu *menu)
    : m_documento(documento), m_maquina(maquinaId), m_menu(menu)
{}

void MaquinaXml::guardar(const DiagramScene *scene)
{
    guardar(FotoMaquina::de(*scene));
}

void MaquinaXml::guardar(const FotoMaquina &foto)
{
    EscritorMaquina escritor(m_documento, m_maquina, foto.nombre());
    escribirMaquina(escritor, foto);
}

QByteArray MaquinaXml::bytes(const FotoMaquina &foto, const QString &maquinaId, int reserva)
{
    EscritorMaquina escritor(maquinaId, foto.nombre(), reserva);
    escribirMaquina(escritor, foto);
    return escritor.bytes();
}

void MaquinaXml::guardarEstados(const QList<DiagramItem *> &estados)
{
    EscritorMaquina escritor(m_documento, m_maquina);
    escribirEstados(escritor, FotoMaquina::deEstados(estados));
}

Maquina MaquinaXml::modelo() const
{
    const Proyecto proyecto = Proyecto::desdeDocumento(m_documento);
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        if (IdsProyecto::maquina(k) == m_maquina)
            return proyecto.maquina(k);
    }
    return Maquina();
}

QStringList MaquinaXml::cargar(DiagramScene *scene) const
{
    return cargar(scene, modelo(), m_menu);
}

QList<DiagramItem *> MaquinaXml::cargarEstados(DiagramScene *scene) const
{
    return cargarEstados(scene, modelo(), m_menu);
}

QStringList MaquinaXml::cargarTransiciones(DiagramScene *scene, const QList<DiagramItem *> &estados) const
{
    return cargarTransiciones(scene, modelo(), estados, m_menu);
}

QString MaquinaXml::cargarEstadoInicial(DiagramScene *scene, const QList<DiagramItem *> &estados) const
{
    return cargarEstadoInicial(scene, modelo(), estados, m_menu);
}

QStringList MaquinaXml::cargar(DiagramScene *scene, const Maquina &maquina, QMenu *menu)
{
    const SinIndice sinIndice(scene);
    const QList<DiagramItem *> estados = cargarEstados(scene, maquina, menu);
    QStringList omitidos = cargarTransiciones(scene, maquina, estados, menu);
    omitidos << cargarEstadoInicial(scene, maquina, estados, menu);
    omitidos.removeAll(QString());
    return omitidos;
}

QList<DiagramItem *> MaquinaXml::cargarEstados(DiagramScene *scene, const Maquina &maquina, QMenu *menu)
{
    const SinIndice sinIndice(scene);
    QList<DiagramItem *> nuevos;
    nuevos.reserve(maquina.estados.size());
    for (const Estado &dato : maquina.estados) {
        QColor color(dato.color);
        if (!color.isValid())
            color = QColor(QStringLiteral("lightcyan"));
        // Made whole before it goes into the scene, where every change would
        // also be reported to the scene.
        auto *estado = new DiagramItem(DiagramItem::EstadoSimple, menu);
        estado->setPos(dato.posicion);
        estado->setSize(dato.ancho >= 1 ? dato.ancho : int(ESTADO_SIMPLE_WIDTH),
                        dato.alto >= 1 ? dato.alto : int(ESTADO_SIMPLE_HEIGHT));
        estado->setName(dato.nombre);
        estado->setColor(color);
        scene->addItem(estado);
        scene->addToList(estado);
        nuevos << estado;
    }
    return nuevos;
}

QStringList MaquinaXml::cargarTransiciones(DiagramScene *scene, const Maquina &maquina,
                                           const QList<DiagramItem *> &estados, QMenu *menu)
{
    const SinIndice sinIndice(scene);
    QStringList omitidas;
    for (int i = 0; i < estados.size() && i < maquina.estados.size(); ++i) {
        const QVector<Transicion> &transiciones = maquina.estados.at(i).transiciones;
        for (int j = 0; j < transiciones.size(); ++j) {
            const Transicion &dato = transiciones.at(j);
            if (dato.destino < 0 || dato.destino >= estados.size()) {
                omitidas << QStringLiteral("%1: transición %2 de %3 hacia %4")
                                .arg(scene->name(), IdsProyecto::transicion(j), estados.at(i)->name(),
                                     dato.destinoId);
                continue;
            }
            DiagramItem *inicio = estados.at(i);
            DiagramItem *fin = estados.at(dato.destino);
            auto *arrow = new Arrow(inicio, fin, menu, dato.disparador.texto(), dato.acciones.textos(),
                                    siTiene(dato.tienePuntoControl, dato.puntoControl),
                                    siTiene(dato.tienePosicionEtiqueta, dato.posicionEtiqueta));
            arrow->setColor(Qt::black);
            inicio->addArrow(arrow);
            if (fin != inicio)
                fin->addArrow(arrow);
            // Routed before it goes into the scene, like the states.
            arrow->updatePosition();
            scene->addItem(arrow);
        }
    }
    return omitidas;
}

QString MaquinaXml::cargarEstadoInicial(DiagramScene *scene, const Maquina &maquina,
                                        const QList<DiagramItem *> &estados, QMenu *menu)
{
    scene->setInitialStateItem(nullptr);
    const TransicionInicial &inicial = maquina.inicial;
    if (!inicial.definida || inicial.destinoId == QLatin1String("-1"))
        return QString();
    // The state is found by its stored index, not by its name: names may
    // repeat in a hand-edited file, and "-1" is itself a valid state name.
    if (inicial.destino < 0 || inicial.destino >= estados.size())
        return QStringLiteral("%1: estado inicial %2").arg(scene->name(), inicial.destinoId);

    DiagramItem *estado = estados.at(inicial.destino);
    estado->setInicial(true);
    auto *marcador = new DiagramItem(DiagramItem::EstadoInicial, menu);
    scene->addItem(marcador);
    scene->setInitialStateItem(marcador);
    const QPointF porDefecto = estado->pos() - QPointF(estado->rect().width() / 2 + SEPARACION_MARCADOR,
                                                       estado->rect().height() / 2 + SEPARACION_MARCADOR);
    marcador->setPos(inicial.tienePosicionMarcador ? inicial.posicionMarcador : porDefecto);

    auto *arrow = new Arrow(marcador, estado, menu);
    arrow->setColor(Qt::black);
    arrow->setText(QStringLiteral("-"),
                   inicial.formaAntigua ? QStringList(QString()) : inicial.acciones.textos());
    if (inicial.tienePuntoControl)
        arrow->setControlPoint(inicial.puntoControl);
    marcador->addArrow(arrow);
    estado->addArrow(arrow);
    scene->addItem(arrow);
    if (inicial.tienePosicionEtiqueta)
        arrow->setTextRelativePos(inicial.posicionEtiqueta);
    arrow->updatePosition();
    return QString();
}
