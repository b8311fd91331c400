#ifndef ESCRITORMAQUINA_H
#define ESCRITORMAQUINA_H

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class XmlHandler;
class XmlNode;

namespace XmlSerializer {
class Flujo;
}

// Writes one machine in a single pass: the same elements, in the same order
// and with the same texts, as addNuevaMaquina, addInfoMaquina,
// addNuevoEstado, addInfoEstado, addNuevaTransicion and setInfoEstadoInicial
// write, without looking any element up (each of those walks the tree from
// its root). The window saves every machine this way, into a project
// document or straight into the bytes the document would write for it.
class EscritorMaquina
{
public:
    // Nothing is written when the document has no machine list; a machine
    // maquinaId already there is emptied and written again in its place.
    EscritorMaquina(XmlHandler &documento, const QString &maquinaId, const QString &nombre);
    // Goes on with maquinaId, which exists: states are appended after those
    // it has.
    EscritorMaquina(XmlHandler &documento, const QString &maquinaId);
    // Writes no document: bytes() gives what maquinaToByteArray(maquinaId)
    // gives once the same machine is written into one. reserva: how many
    // bytes are expected, when known.
    EscritorMaquina(const QString &maquinaId, const QString &nombre, int reserva = 0);
    ~EscritorMaquina();
    EscritorMaquina(const EscritorMaquina &) = delete;
    EscritorMaquina &operator=(const EscritorMaquina &) = delete;

    // The file holds the initial state right after the machine's name:
    // written only before the first state of a new machine.
    void estadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                       const QString &proxEstadoId, const QString &midPos, const QString &textPos);
    // A new state, which must not exist yet; the transitions written next
    // leave it.
    void estado(const QString &estadoId, const QString &nombre, const QString &color, const QString &pos_x,
                const QString &pos_y, const QString &ancho, const QString &alto);
    void transicion(const QString &transId, const QString &evento, const QString &accion,
                    const QString &proxEstadoId, const QString &midPos, const QString &textPos);
    // The machine's bytes, complete; empty when writing into a document.
    QByteArray bytes();

    // A machine read from what writing it gives lacks the empty text of
    // each empty value (reading keeps no empty text): gives it back. Only
    // "estadoInicial", without initial state, is written empty.
    static void completarLeida(XmlNode &maquina);

private:
    void abrir(const QString &tag);
    void valor(const QString &tag, const QString &texto);
    void cerrar();
    // A new machine without initial state still has its empty element.
    void sinEstadoInicial();
    void cerrarEstado();

    // One of the two destinations: the open elements of the document, or
    // the bytes.
    std::vector<XmlNode *> m_abiertos;
    std::unique_ptr<XmlSerializer::Flujo> m_flujo;
    bool m_inicialPendiente = false;
    bool m_enEstado = false;
    bool m_enTransiciones = false;
};

#endif // ESCRITORMAQUINA_H
