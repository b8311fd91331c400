#include "modelodepuracion.h"

bool ModeloDepuracion::resolver(const LineaDepuracion &linea, PasoMaquina *paso) const
{
    if (!linea.valida || linea.maquina >= m_proyecto.cantidadMaquinas())
        return false;
    const Maquina &maquina = m_proyecto.maquina(linea.maquina);
    if (linea.estado >= maquina.estados.size())
        return false;
    const QVector<Transicion> &transiciones = maquina.estados.at(linea.estado).transiciones;
    if (linea.transicion >= transiciones.size())
        return false;
    const Transicion &transicion = transiciones.at(linea.transicion);
    if (transicion.destino < 0)
        return false;
    paso->maquina = linea.maquina;
    paso->origen = linea.estado;
    paso->transicion = linea.transicion;
    paso->destino = transicion.destino;
    return true;
}
