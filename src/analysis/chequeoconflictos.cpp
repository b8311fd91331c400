#include "chequeoconflictos.h"

#include "decisordisparos.h"
#include "proyecto.h"

ChequeoConflictos::ChequeoConflictos(const Proyecto &proyecto)
{
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        const Maquina &maquina = proyecto.maquina(k);
        for (int i = 0; i < maquina.estados.size(); ++i) {
            const QVector<Transicion> &transiciones = maquina.estados.at(i).transiciones;
            if (transiciones.size() < 2)
                continue;
            QVector<const ExpresionDisparo *> disparadores;
            for (const Transicion &transicion : transiciones)
                disparadores.append(&transicion.disparador);
            const DecisorDisparos decisor(disparadores);
            const QString estado = maquina.estados.at(i).nombre.toUpper() + QStringLiteral(" [") +
                                   maquina.nombre + QStringLiteral("]: ");
            for (int a = 0; a < transiciones.size(); ++a) {
                for (int b = a + 1; b < transiciones.size(); ++b) {
                    if (!decisor.compatibles(a, b))
                        continue;
                    const QString texto = estado + disparadores.at(a)->texto() + QStringLiteral(" | ") +
                                          disparadores.at(b)->texto();
                    m_conflictos.append({k, i, a, b, texto});
                }
            }
        }
    }
}

QStringList ChequeoConflictos::textos(const QVector<ConflictoTransiciones> &conflictos)
{
    QStringList textos;
    for (const ConflictoTransiciones &conflicto : conflictos)
        textos.append(conflicto.texto);
    return textos;
}
