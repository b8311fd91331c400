#include "idsproyecto.h"

QString IdsProyecto::maquina(int indice)
{
    return prefijoMaquina() + QString::number(indice);
}

QString IdsProyecto::estado(int indice)
{
    return prefijoEstado() + QString::number(indice);
}

QString IdsProyecto::transicion(int indice)
{
    return prefijoTransicion() + QString::number(indice);
}

QString IdsProyecto::evento(int indice)
{
    return prefijoEvento() + QString::number(indice);
}

QString IdsProyecto::accion(int indice)
{
    return prefijoAccion() + QString::number(indice);
}

QString IdsProyecto::variable(int indice)
{
    return prefijoVariable() + QString::number(indice);
}

QString IdsProyecto::constante(int indice)
{
    return prefijoConstante() + QString::number(indice);
}

int IdsProyecto::indiceEstado(QStringView id, int cantidad)
{
    const QString prefijo = prefijoEstado();
    if (!id.startsWith(prefijo))
        return -1;
    bool ok = false;
    const int indice = id.mid(prefijo.size()).toInt(&ok);
    return ok && indice >= 0 && indice < cantidad ? indice : -1;
}
