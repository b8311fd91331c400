#include "chequeoconflictos.h"

#include "decisordisparos.h"
#include "proyecto.h"

ChequeoConflictos::ChequeoConflictos(const Proyecto &proyecto)
{
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        const Maquina &maquina = proyecto.maquina(k);
        for (int i = 0; i < maquina.estados.size(); ++i) {
            const QVector<Transicion> &transiciones = maquina.estados.at(i).transiciones;
            for (int a = 0; a < transiciones.size(); ++a) {
                for (int b = a + 1; b < transiciones.size(); ++b) {
                    const ExpresionDisparo &primera = transiciones.at(a).disparador;
                    const ExpresionDisparo &segunda = transiciones.at(b).disparador;
                    if (!DecisorDisparos::compatibles(primera, segunda))
                        continue;
                    const QString texto = QStringLiteral("%1 [%2]: %3 | %4")
                                              .arg(maquina.estados.at(i).nombre.toUpper(), maquina.nombre,
                                                   primera.texto(), segunda.texto());
                    m_conflictos.append({k, i, a, b, texto});
                }
            }
        }
    }
}

QStringList ChequeoConflictos::hallazgos() const
{
    QStringList textos;
    for (const ConflictoTransiciones &conflicto : m_conflictos)
        textos.append(conflicto.texto);
    return textos;
}
