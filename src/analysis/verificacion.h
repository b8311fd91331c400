#ifndef VERIFICACION_H
#define VERIFICACION_H

#include "conflictotransiciones.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class Proyecto;
class XmlHandler;

// One entry of the verification results: a check, the findings it produced
// and its sub-checks, in the order the results panel shows them.
struct EntradaVerificacion
{
    QString texto;
    QStringList hallazgos;
    std::vector<EntradaVerificacion> subentradas;

    // True when this entry or any entry below it holds a finding.
    bool conHallazgos() const;
};

// The model checks of "Verificar", run over a project whose machines are up
// to date (the main window saves first): states that are never left, states
// that are never reached, events, actions and variables that no transition
// uses, and transitions of one state that can be true together. Findings read
// "STATE [machine]" for states and the
// declared name for elements. The rules for "used" are those of UsageRules,
// with the looser substring test for actions.
class Verificacion
{
public:
    explicit Verificacion(const XmlHandler &datos);
    explicit Verificacion(const Proyecto &proyecto);

    // The number of the first machine that has no initial state, or -1. When
    // there is one the checks are not run and every list below is empty.
    int maquinaSinEstadoInicial() const { return m_maquinaSinEstadoInicial; }

    QStringList estadosSinSalida() const { return m_estadosSinSalida; }
    QStringList estadosSinActivar() const { return m_estadosSinActivar; }
    QStringList eventosSinUtilizar() const { return m_eventosSinUtilizar; }
    QStringList accionesSinUtilizar() const { return m_accionesSinUtilizar; }
    QStringList variablesSinUtilizar() const { return m_variablesSinUtilizar; }
    // In the order of the findings of "Chequeo de transiciones en conflicto".
    const QVector<ConflictoTransiciones> &conflictos() const { return m_conflictos; }
    bool hayHallazgos() const;

    // The fixed results tree with the findings under their checks. Constants
    // are listed as a check but never produce findings.
    std::vector<EntradaVerificacion> arbol() const;

private:
    int m_maquinaSinEstadoInicial = -1;
    QStringList m_estadosSinSalida;
    QStringList m_estadosSinActivar;
    QStringList m_eventosSinUtilizar;
    QStringList m_accionesSinUtilizar;
    QStringList m_variablesSinUtilizar;
    QVector<ConflictoTransiciones> m_conflictos;
};

#endif // VERIFICACION_H
