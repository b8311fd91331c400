#ifndef DECODIFICADORTRAMAS_H
#define DECODIFICADORTRAMAS_H

#include <QByteArray>
#include <QStringList>

// Reassembles the event frames of one connection from the pieces the socket
// delivers: the bytes after the last "@" wait for the next read. A frame
// longer than LimiteTrama bytes is dropped whole (the bytes up to its "@" are
// skipped as they arrive), so a peer can never make the buffer grow beyond
// that limit.
class DecodificadorTramas
{
public:
    static constexpr int LimiteTrama = 4096;

    struct Resultado
    {
        // Events of the frames completed by this piece, in order.
        QStringList eventos;
        // Frames dropped for exceeding LimiteTrama.
        int descartadas = 0;
    };

    Resultado agregar(const QByteArray &datos);
    // Bytes of the unfinished frame kept for the next piece.
    int pendientes() const { return m_pendiente.size(); }

private:
    QByteArray m_pendiente;
    bool m_descartando = false;
};

#endif // DECODIFICADORTRAMAS_H
