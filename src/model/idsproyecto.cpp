#include "idsproyecto.h"

namespace {

QString id(QLatin1String prefijo, int indice)
{
    return prefijo + QString::number(indice);
}

} // namespace

QString IdsProyecto::maquina(int indice)
{
    return id(QLatin1String("maquina"), indice);
}

QString IdsProyecto::estado(int indice)
{
    return id(QLatin1String("estado"), indice);
}

QString IdsProyecto::transicion(int indice)
{
    return id(QLatin1String("tr"), indice);
}

QString IdsProyecto::evento(int indice)
{
    return id(QLatin1String("ev"), indice);
}

QString IdsProyecto::accion(int indice)
{
    return id(QLatin1String("acc"), indice);
}

QString IdsProyecto::variable(int indice)
{
    return id(QLatin1String("var"), indice);
}

QString IdsProyecto::constante(int indice)
{
    return id(QLatin1String("cons"), indice);
}

int IdsProyecto::indiceEstado(QStringView id, int cantidad)
{
    const QLatin1String prefijo("estado");
    if (!id.startsWith(prefijo))
        return -1;
    bool ok = false;
    const int indice = id.mid(prefijo.size()).toInt(&ok);
    return ok && indice >= 0 && indice < cantidad ? indice : -1;
}
