#include "lineadepuracion.h"

#include <QList>

namespace {

constexpr int MaxCifras = 9;

// The number in `campo` with blanks around it; -1 when it is not one.
int numero(const QByteArray &campo)
{
    const QByteArray cifras = campo.trimmed();
    if (cifras.isEmpty() || cifras.size() > MaxCifras)
        return -1;
    int valor = 0;
    for (char c : cifras) {
        if (c < '0' || c > '9')
            return -1;
        valor = valor * 10 + (c - '0');
    }
    return valor;
}

} // namespace

LineaDepuracion LineaDepuracion::interpretar(const QByteArray &linea)
{
    LineaDepuracion resultado;
    resultado.texto = linea.endsWith('\r') ? linea.left(linea.size() - 1) : linea;
    const QList<QByteArray> campos = resultado.texto.split(',');
    if (campos.size() != 3)
        return resultado;
    const int maquina = numero(campos.at(0));
    const int estado = numero(campos.at(1));
    const int transicion = numero(campos.at(2));
    if (maquina < 0 || estado < 0 || transicion < 0)
        return resultado;
    resultado.valida = true;
    resultado.maquina = maquina;
    resultado.estado = estado;
    resultado.transicion = transicion;
    return resultado;
}
