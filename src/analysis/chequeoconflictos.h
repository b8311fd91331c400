#ifndef CHEQUEOCONFLICTOS_H
#define CHEQUEOCONFLICTOS_H

#include "conflictotransiciones.h"

#include <QStringList>
#include <QVector>

class Proyecto;

// "Chequeo de transiciones en conflicto": every pair of transitions of one
// state that DecisorDisparos finds compatible, machine by machine, state by
// state, pairs in file order.
class ChequeoConflictos
{
public:
    explicit ChequeoConflictos(const Proyecto &proyecto);

    const QVector<ConflictoTransiciones> &conflictos() const { return m_conflictos; }
    QStringList hallazgos() const { return textos(m_conflictos); }
    static QStringList textos(const QVector<ConflictoTransiciones> &conflictos);

private:
    QVector<ConflictoTransiciones> m_conflictos;
};

#endif // CHEQUEOCONFLICTOS_H
