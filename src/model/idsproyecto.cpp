#include "idsproyecto.h"

#include <QVector>

namespace {

// The ids of the first indices of the kinds a large project holds by the
// thousand are spelled once and shared: every save and every step of the
// history names each state and transition again.
const int kIdsEscritos = 1024;

QVector<QString> primeros(const QString &prefijo)
{
    QVector<QString> ids;
    ids.reserve(kIdsEscritos);
    for (int i = 0; i < kIdsEscritos; ++i)
        ids.append(prefijo + QString::number(i));
    return ids;
}

QString id(const QVector<QString> &escritos, const QString &prefijo, int indice)
{
    if (indice >= 0 && indice < escritos.size())
        return escritos.at(indice);
    return prefijo + QString::number(indice);
}

// The number spelled by up to nine decimal digits and nothing else, as the
// program writes every index; -1 for any other text.
int cifras(QStringView texto)
{
    if (texto.isEmpty() || texto.size() > 9)
        return -1;
    int valor = 0;
    for (const QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        valor = valor * 10 + (c.unicode() - '0');
    }
    return valor;
}

} // namespace

QString IdsProyecto::maquina(int indice)
{
    static const QVector<QString> escritos = primeros(prefijoMaquina());
    return id(escritos, prefijoMaquina(), indice);
}

QString IdsProyecto::estado(int indice)
{
    static const QVector<QString> escritos = primeros(prefijoEstado());
    return id(escritos, prefijoEstado(), indice);
}

QString IdsProyecto::transicion(int indice)
{
    static const QVector<QString> escritos = primeros(prefijoTransicion());
    return id(escritos, prefijoTransicion(), indice);
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
    // toInt reads whatever else it accepts, such as a sign.
    bool ok = true;
    int indice = cifras(id.mid(prefijo.size()));
    if (indice < 0)
        indice = id.mid(prefijo.size()).toInt(&ok);
    return ok && indice >= 0 && indice < cantidad ? indice : -1;
}
