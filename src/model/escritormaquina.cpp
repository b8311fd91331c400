#include "escritormaquina.h"

#include "xmlhandler.h"
#include "xmlnode.h"

namespace {

// A value element: the tag holding one text node, as the setters leave it.
void valor(XmlNode *padre, const QString &tag, const QString &texto)
{
    padre->appendElement(tag)->appendText(texto);
}

} // namespace

EscritorMaquina::EscritorMaquina(XmlHandler &documento, const QString &maquinaId, const QString &nombre)
{
    XmlNode *maquinas = documento.lista(QStringLiteral("maquinas"));
    if (!maquinas)
        return;
    // A machine written again keeps its place among the others.
    m_maquina = maquinas->firstChildElement(maquinaId);
    if (m_maquina)
        m_maquina->removeChildren();
    else
        m_maquina = maquinas->appendElement(maquinaId);
    valor(m_maquina, QStringLiteral("nombre"), nombre);
    m_inicial = m_maquina->appendElement(QStringLiteral("estadoInicial"));
}

EscritorMaquina::EscritorMaquina(XmlHandler &documento, const QString &maquinaId)
{
    XmlNode *maquinas = documento.lista(QStringLiteral("maquinas"));
    m_maquina = maquinas ? maquinas->firstChildElement(maquinaId) : nullptr;
    if (m_maquina)
        m_inicial = m_maquina->firstChildElement(QStringLiteral("estadoInicial"));
}

void EscritorMaquina::estado(const QString &estadoId, const QString &nombre, const QString &color,
                             const QString &pos_x, const QString &pos_y, const QString &ancho,
                             const QString &alto)
{
    if (!m_maquina)
        return;
    m_estado = m_maquina->appendElement(estadoId);
    m_transiciones = nullptr;
    XmlNode *diagrama = m_estado->appendElement(QStringLiteral("diagrama"));
    valor(diagrama, QStringLiteral("nombre"), nombre);
    valor(diagrama, QStringLiteral("color"), color);
    valor(diagrama, QStringLiteral("pos_x"), pos_x);
    valor(diagrama, QStringLiteral("pos_y"), pos_y);
    valor(diagrama, QStringLiteral("ancho"), ancho);
    valor(diagrama, QStringLiteral("alto"), alto);
}

void EscritorMaquina::transicion(const QString &transId, const QString &evento, const QString &accion,
                                 const QString &proxEstadoId, const QString &midPos, const QString &textPos)
{
    if (!m_estado)
        return;
    // A state without transitions has no "transiciones" element.
    if (!m_transiciones)
        m_transiciones = m_estado->appendElement(QStringLiteral("transiciones"));
    XmlNode *tr = m_transiciones->appendElement(transId);
    valor(tr, QStringLiteral("idEvento"), evento);
    valor(tr, QStringLiteral("idAcciones"), accion);
    valor(tr, QStringLiteral("idProxEstado"), proxEstadoId);
    valor(tr, QStringLiteral("midPos"), midPos);
    valor(tr, QStringLiteral("textPos"), textPos);
}

void EscritorMaquina::estadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                                    const QString &proxEstadoId, const QString &midPos,
                                    const QString &textPos)
{
    if (!m_inicial || m_inicial->hasChildElements())
        return;
    valor(m_inicial, QStringLiteral("pos_x"), pos_x);
    valor(m_inicial, QStringLiteral("pos_y"), pos_y);
    valor(m_inicial, QStringLiteral("idAcciones"), accion);
    valor(m_inicial, QStringLiteral("idProxEstado"), proxEstadoId);
    valor(m_inicial, QStringLiteral("midPos"), midPos);
    valor(m_inicial, QStringLiteral("textPos"), textPos);
}
