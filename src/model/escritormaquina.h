#ifndef ESCRITORMAQUINA_H
#define ESCRITORMAQUINA_H

#include <QString>

class XmlHandler;
class XmlNode;

// Appends one machine to a project document in a single pass: the same
// elements, in the same order and with the same texts, as addNuevaMaquina,
// addInfoMaquina, addNuevoEstado, addInfoEstado, addNuevaTransicion and
// setInfoEstadoInicial write, without looking any element up (each of those
// walks the tree from its root). The window saves every machine this way.
class EscritorMaquina
{
public:
    // Nothing is written when the document has no machine list; a machine
    // maquinaId already there is emptied and written again in its place.
    EscritorMaquina(XmlHandler &documento, const QString &maquinaId, const QString &nombre);
    // Goes on with maquinaId, which exists: states are appended after those
    // it has, and its initial state is written only when it has none.
    EscritorMaquina(XmlHandler &documento, const QString &maquinaId);

    // A new state, which must not exist yet; the transitions written next
    // leave it.
    void estado(const QString &estadoId, const QString &nombre, const QString &color, const QString &pos_x,
                const QString &pos_y, const QString &ancho, const QString &alto);
    void transicion(const QString &transId, const QString &evento, const QString &accion,
                    const QString &proxEstadoId, const QString &midPos, const QString &textPos);
    void estadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                       const QString &proxEstadoId, const QString &midPos, const QString &textPos);

private:
    XmlNode *m_maquina = nullptr;
    XmlNode *m_inicial = nullptr;
    XmlNode *m_estado = nullptr;
    XmlNode *m_transiciones = nullptr;
};

#endif // ESCRITORMAQUINA_H
