#ifndef SIMULACIONC_H
#define SIMULACIONC_H

#include "expresiondisparo.h"
#include "listaacciones.h"
#include "pasomaquina.h"
#include "proyecto.h"

#include <QHash>
#include <QStringList>
#include <QVector>

// The simulation as the generated C runs the project. The program's
// variables are C ints that start at 0; constants read as the generated
// defines give them (TRUE 1, FALSE 0, every other 0). Reset puts each
// machine, in order, in its initial state and runs its initial actions. A
// step is one pass of main's loop: each machine in order tests its current
// state's transitions in file order, with the given events true for the
// whole pass and the variables as the machines before it left them; the
// first whose trigger is true runs its actions and assignments in order and
// sets the state, and that machine's step ends.
//
// Where C has no meaning (division by zero, an overflowing quotient) the
// assignment leaves the variable as it was; sums and products wrap around
// as 32-bit ints do on the targets.
class SimulacionC
{
public:
    explicit SimulacionC(const Proyecto &proyecto);

    const Proyecto &proyecto() const { return m_proyecto; }
    int cantidadMaquinas() const { return m_estados.size(); }

    // The events the triggers can test: the catalogue's, then any other
    // name a trigger uses, in the order met.
    const QStringList &eventos() const { return m_eventos; }
    int indiceEvento(const QString &nombre) const { return m_indiceEvento.value(nombre, -1); }
    // The variables likewise: the catalogue's, then any other name compared
    // or assigned.
    const QStringList &variables() const { return m_variables; }
    int indiceVariable(const QString &nombre) const { return m_indiceVariable.value(nombre, -1); }
    qint32 valor(int variable) const { return m_valores.at(variable); }
    void fijarValor(int variable, qint32 valor) { m_valores[variable] = valor; }

    // Variables to 0 and every machine in its initial state, its initial
    // actions still to run.
    void reiniciar();
    // One pass with the events whose indices are set in `verdaderos`: in
    // machine order, the initial transition of a machine on its first call
    // (a step with transicion -1), then the transition it took. The result
    // lives until the next call.
    const QVector<PasoMaquina> &paso(const QVector<bool> &verdaderos);
    // The same with events by name; names of no event are never true.
    const QVector<PasoMaquina> &paso(const QStringList &verdaderos);

    // -1 for a machine without initial state.
    int estadoActual(int maquina) const { return m_estados.at(maquina); }

private:
    // A value as the C reads it: a literal or constant, or a variable.
    struct Operando
    {
        int variable = -1;
        qint32 literal = 0;
    };
    // A trigger's node; the children are indices into m_nodos.
    struct Nodo
    {
        ExpresionDisparo::Tipo tipo = ExpresionDisparo::Evento;
        ExpresionDisparo::Comparador comparador = ExpresionDisparo::Igual;
        int evento = -1;
        Operando izquierdo;
        Operando derecho;
        int hijoIzquierdo = -1;
        int hijoDerecho = -1;
    };
    struct Asignacion
    {
        int variable = -1;
        ListaAcciones::Asignador asignador = ListaAcciones::Asignar;
        Operando valor;
    };
    // A run of m_asignaciones.
    struct Asignaciones
    {
        int primera = 0;
        int cantidad = 0;
    };
    struct Transicion
    {
        // The trigger's root in m_nodos; -1 for an empty trigger, never true.
        int raiz = -1;
        Asignaciones asignaciones;
        int destino = -1;
    };

    int registrarVariable(const QString &nombre);
    Operando operando(const QString &texto);
    Transicion compilar(const ::Transicion &transicion);
    Asignaciones compilar(const ListaAcciones &acciones);
    qint32 leer(const Operando &operando) const;
    bool evaluar(int nodo) const;
    void ejecutar(Asignaciones asignaciones);
    // The pass itself, with the events already in m_verdaderos.
    const QVector<PasoMaquina> &avanzar();

    Proyecto m_proyecto;
    QStringList m_eventos;
    QHash<QString, int> m_indiceEvento;
    QStringList m_variables;
    QHash<QString, int> m_indiceVariable;
    QHash<QString, qint32> m_constantes;
    // Every trigger's nodes, every assignment and every transition (by
    // machine, state and file order) each in one array, so that a pass
    // reads them in order and allocates nothing. m_inicioEstado holds where
    // each state's transitions start, the states of all machines in one
    // sequence and one entry more for the end; m_primerEstado where each
    // machine's states start in it.
    QVector<Nodo> m_nodos;
    QVector<Asignacion> m_asignaciones;
    QVector<Transicion> m_transiciones;
    QVector<int> m_inicioEstado;
    QVector<int> m_primerEstado;
    QVector<Asignaciones> m_iniciales;
    QVector<qint32> m_valores;
    QVector<int> m_estados;
    QVector<bool> m_iniciadas;
    QVector<bool> m_verdaderos;
    QVector<PasoMaquina> m_pasos;
};

#endif // SIMULACIONC_H
