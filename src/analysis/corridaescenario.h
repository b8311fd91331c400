#ifndef CORRIDAESCENARIO_H
#define CORRIDAESCENARIO_H

#include "escenario.h"
#include "pasomaquina.h"
#include "proyecto.h"
#include "resultadoescenario.h"

#include <QSet>
#include <QVector>
#include <memory>

class SimulacionC;
class SimulacionFilas;

// One run of a scenario over one project, on an engine of its own (so runs
// of many projects can go on side by side, one per thread). The run starts
// as a simulation stands once its reset has been taken: every machine in its
// initial state, its initial actions run (in "c" mode the engine runs their
// assignments where the generated C does, before the machine's first step).
// Each call of avanzar() runs one step of the scenario; the result gathers
// the checks passed and the coverage of the whole run.
class CorridaEscenario
{
public:
    // What one step of the scenario did.
    struct Paso
    {
        int indice = -1;
        bool comprobacion = false;
        bool cumplido = true;
        // For a check, what the project showed.
        QString encontrado;
        // The machines that moved, in machine order (after a reset: every
        // machine leaving it).
        QVector<PasoMaquina> movimientos;
    };

    // The project must have an initial state in every machine (see problema()).
    CorridaEscenario(const Escenario &escenario, const Proyecto &proyecto);
    ~CorridaEscenario();
    CorridaEscenario(const CorridaEscenario &) = delete;
    CorridaEscenario &operator=(const CorridaEscenario &) = delete;

    // Why the project cannot run a scenario ("MdE2: No se encuentra definido
    // el Estado Inicial"), empty when it can.
    static QString problema(const Proyecto &proyecto);
    // Reads the project at ruta and runs the whole scenario on it; a project
    // that cannot be read or run is a failed row with the reason.
    static ResultadoEscenario corregir(const Escenario &escenario, const QString &ruta);
    // A "variable" step's value as the generated C reads it: a literal wraps
    // to a 32-bit int and loses its fraction; TRUE and FALSE are the
    // header's 1 and 0 and any other constant its 0; a variable's name gives
    // its value.
    static qint32 valorC(const QString &texto, const SimulacionC &simulacion);

    bool terminada() const { return m_siguiente >= m_escenario.pasos().size(); }
    Paso avanzar();
    // The steps run so far, with the coverage of all of them.
    ResultadoEscenario resultado() const;
    // Transitions never taken, as (machine, state, transition).
    QVector<QVector<int>> transicionesSinTomar() const;

private:
    void reiniciar(Paso &paso);
    void mover(const QVector<PasoMaquina> &movimientos, Paso &paso);
    void comprobar(const PasoEscenario &pasoEscenario, Paso &paso) const;
    int maquina(const QString &nombre) const;
    int estadoActual(int maquina) const;
    void cubrirEstados();

    Escenario m_escenario;
    Proyecto m_proyecto;
    std::unique_ptr<SimulacionFilas> m_filas;
    std::unique_ptr<SimulacionC> m_c;
    int m_siguiente = 0;
    // Per machine: the actions it ran in the last step.
    QVector<QStringList> m_ultimasAcciones;
    QSet<qint64> m_estadosCubiertos;
    QSet<qint64> m_transicionesCubiertas;
    int m_pasosOk = 0;
    bool m_fallo = false;
    FalloEscenario m_primerFallo;
};

#endif // CORRIDAESCENARIO_H
