#include "escritormaquina.h"

#include "xmlhandler.h"
#include "xmlnode.h"
#include "xmlserializer.h"

namespace {

// Machines sit at depth 2: proyecto, maquinas, maquinaN.
const int kProfundidadMaquina = 2;

// Every empty element under elemento is an empty value, but for a
// machine's "estadoInicial" without initial state.
void completarValores(XmlNode &elemento, bool esMaquina)
{
    for (const auto &hijo : elemento.children()) {
        if (!hijo->isElement())
            continue;
        if (!hijo->children().empty())
            completarValores(*hijo, false);
        else if (!esMaquina || hijo->dato() != QLatin1String("estadoInicial"))
            hijo->appendText(QString());
    }
}

} // namespace

EscritorMaquina::EscritorMaquina(XmlHandler &documento, const QString &maquinaId, const QString &nombre)
{
    XmlNode *maquinas = documento.lista(QStringLiteral("maquinas"));
    if (!maquinas)
        return;
    // A machine written again keeps its place among the others.
    XmlNode *maquina = maquinas->firstChildElement(maquinaId);
    if (maquina)
        maquina->removeChildren();
    else
        maquina = maquinas->appendElement(maquinaId);
    m_abiertos.push_back(maquina);
    valor(QStringLiteral("nombre"), nombre);
    m_inicialPendiente = true;
}

EscritorMaquina::EscritorMaquina(XmlHandler &documento, const QString &maquinaId)
{
    XmlNode *maquinas = documento.lista(QStringLiteral("maquinas"));
    if (XmlNode *maquina = maquinas ? maquinas->firstChildElement(maquinaId) : nullptr)
        m_abiertos.push_back(maquina);
}

EscritorMaquina::EscritorMaquina(const QString &maquinaId, const QString &nombre, int reserva)
    : m_flujo(std::make_unique<XmlSerializer::Flujo>(kProfundidadMaquina, reserva))
{
    m_flujo->abrir(maquinaId);
    valor(QStringLiteral("nombre"), nombre);
    m_inicialPendiente = true;
}

EscritorMaquina::~EscritorMaquina()
{
    sinEstadoInicial();
}

void EscritorMaquina::estadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                                    const QString &proxEstadoId, const QString &midPos,
                                    const QString &textPos)
{
    if (!m_inicialPendiente)
        return;
    m_inicialPendiente = false;
    abrir(QStringLiteral("estadoInicial"));
    valor(QStringLiteral("pos_x"), pos_x);
    valor(QStringLiteral("pos_y"), pos_y);
    valor(QStringLiteral("idAcciones"), accion);
    valor(QStringLiteral("idProxEstado"), proxEstadoId);
    valor(QStringLiteral("midPos"), midPos);
    valor(QStringLiteral("textPos"), textPos);
    cerrar();
}

void EscritorMaquina::estado(const QString &estadoId, const QString &nombre, const QString &color,
                             const QString &pos_x, const QString &pos_y, const QString &ancho,
                             const QString &alto)
{
    sinEstadoInicial();
    cerrarEstado();
    abrir(estadoId);
    abrir(QStringLiteral("diagrama"));
    valor(QStringLiteral("nombre"), nombre);
    valor(QStringLiteral("color"), color);
    valor(QStringLiteral("pos_x"), pos_x);
    valor(QStringLiteral("pos_y"), pos_y);
    valor(QStringLiteral("ancho"), ancho);
    valor(QStringLiteral("alto"), alto);
    cerrar();
    m_enEstado = true;
}

void EscritorMaquina::transicion(const QString &transId, const QString &evento, const QString &accion,
                                 const QString &proxEstadoId, const QString &midPos, const QString &textPos)
{
    if (!m_enEstado)
        return;
    // A state without transitions has no "transiciones" element.
    if (!m_enTransiciones)
        abrir(QStringLiteral("transiciones"));
    m_enTransiciones = true;
    abrir(transId);
    valor(QStringLiteral("idEvento"), evento);
    valor(QStringLiteral("idAcciones"), accion);
    valor(QStringLiteral("idProxEstado"), proxEstadoId);
    valor(QStringLiteral("midPos"), midPos);
    valor(QStringLiteral("textPos"), textPos);
    cerrar();
}

QByteArray EscritorMaquina::bytes()
{
    if (!m_flujo)
        return QByteArray();
    sinEstadoInicial();
    return m_flujo->terminar();
}

void EscritorMaquina::completarLeida(XmlNode &maquina)
{
    completarValores(maquina, true);
}

void EscritorMaquina::abrir(const QString &tag)
{
    if (m_flujo)
        m_flujo->abrir(tag);
    else if (!m_abiertos.empty())
        m_abiertos.push_back(m_abiertos.back()->appendElement(tag));
}

// A value element: the tag holding one text node, as the setters leave it.
void EscritorMaquina::valor(const QString &tag, const QString &texto)
{
    if (m_flujo)
        m_flujo->valor(tag, texto);
    else if (!m_abiertos.empty())
        m_abiertos.back()->appendElement(tag)->appendText(texto);
}

void EscritorMaquina::cerrar()
{
    if (m_flujo)
        m_flujo->cerrar();
    else if (m_abiertos.size() > 1)
        m_abiertos.pop_back();
}

void EscritorMaquina::sinEstadoInicial()
{
    if (!m_inicialPendiente)
        return;
    m_inicialPendiente = false;
    abrir(QStringLiteral("estadoInicial"));
    cerrar();
}

void EscritorMaquina::cerrarEstado()
{
    if (m_enTransiciones)
        cerrar();
    if (m_enEstado)
        cerrar();
    m_enEstado = false;
    m_enTransiciones = false;
}
