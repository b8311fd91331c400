#ifndef DECODIFICADORLINEAS_H
#define DECODIFICADORLINEAS_H

#include "lineadepuracion.h"

#include <QByteArray>
#include <QVector>

// Cuts the bytes of a serial port into debug lines, whatever pieces they
// arrive in: the bytes after the last "\n" wait for the next piece. A line
// longer than LargoMaximo bytes is dropped whole and counted, so a board
// that never ends its line cannot make the buffer grow.
class DecodificadorLineas
{
public:
    static constexpr int LargoMaximo = 256;

    // The lines this piece completes, in order, transitions or not.
    QVector<LineaDepuracion> agregar(const QByteArray &datos);
    // Lines dropped for exceeding LargoMaximo.
    int descartadas() const { return m_descartadas; }
    int pendientes() const { return m_pendiente.size(); }

private:
    QByteArray m_pendiente;
    bool m_descartando = false;
    int m_descartadas = 0;
};

#endif // DECODIFICADORLINEAS_H
