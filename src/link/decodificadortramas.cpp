#include "decodificadortramas.h"

#include "tramaenlace.h"

DecodificadorTramas::Resultado DecodificadorTramas::agregar(const QByteArray &datos)
{
    Resultado resultado;
    int desde = 0;
    if (m_descartando) {
        const int fin = datos.indexOf('@');
        if (fin < 0)
            return resultado;
        m_descartando = false;
        desde = fin + 1;
    }
    // Only the unfinished frame is copied; a large read is parsed in place.
    const QByteArray bloque = m_pendiente.isEmpty() ? datos : m_pendiente + datos.mid(desde);
    int pos = m_pendiente.isEmpty() ? desde : 0;
    for (;;) {
        const LecturaEvento lectura = TramaEnlace::leerEvento(bloque, pos);
        if (lectura.estado == LecturaEvento::Incompleta)
            break;
        if (lectura.consumidos - 1 > LimiteTrama)
            ++resultado.descartadas;
        else if (lectura.tieneEvento)
            resultado.eventos.append(lectura.evento);
        pos += lectura.consumidos;
    }
    if (bloque.size() - pos > LimiteTrama) {
        m_pendiente = QByteArray();
        m_descartando = true;
        ++resultado.descartadas;
        return resultado;
    }
    m_pendiente = bloque.mid(pos);
    return resultado;
}
