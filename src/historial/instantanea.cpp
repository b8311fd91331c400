#include "instantanea.h"

QByteArray Instantanea::documento() const
{
    qsizetype total = antes.size() + despues.size();
    for (const QByteArray &maquina : maquinas)
        total += maquina.size();
    QByteArray bytes;
    bytes.reserve(int(total));
    bytes += antes;
    for (const QByteArray &maquina : maquinas)
        bytes += maquina;
    bytes += despues;
    return bytes;
}

void Instantanea::compartirCon(const Instantanea &otra)
{
    if (iguales(antes, otra.antes))
        antes = otra.antes;
    if (iguales(despues, otra.despues))
        despues = otra.despues;
    for (int k = 0; k < qMin(maquinas.size(), otra.maquinas.size()); ++k) {
        if (iguales(maquinas.at(k), otra.maquinas.at(k)))
            maquinas[k] = otra.maquinas.at(k);
    }
}

bool Instantanea::iguales(const QByteArray &a, const QByteArray &b)
{
    return a.constData() == b.constData() ? a.size() == b.size() : a == b;
}

bool Instantanea::mismasPartesFijas(const Instantanea &otra) const
{
    return iguales(antes, otra.antes) && iguales(despues, otra.despues);
}

bool Instantanea::operator==(const Instantanea &otra) const
{
    if (!mismasPartesFijas(otra) || maquinas.size() != otra.maquinas.size())
        return false;
    for (int k = 0; k < maquinas.size(); ++k) {
        if (!iguales(maquinas.at(k), otra.maquinas.at(k)))
            return false;
    }
    return true;
}
