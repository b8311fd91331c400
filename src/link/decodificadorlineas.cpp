#include "decodificadorlineas.h"

QVector<LineaDepuracion> DecodificadorLineas::agregar(const QByteArray &datos)
{
    QVector<LineaDepuracion> lineas;
    int desde = 0;
    while (desde < datos.size()) {
        const int fin = datos.indexOf('\n', desde);
        const int hasta = fin < 0 ? datos.size() : fin;
        if (!m_descartando) {
            m_pendiente.append(datos.constData() + desde, hasta - desde);
            if (m_pendiente.size() > LargoMaximo) {
                m_pendiente.clear();
                m_descartando = true;
                ++m_descartadas;
            }
        }
        if (fin < 0)
            break;
        if (!m_descartando)
            lineas.append(LineaDepuracion::interpretar(m_pendiente));
        m_pendiente.clear();
        m_descartando = false;
        desde = fin + 1;
    }
    return lineas;
}
