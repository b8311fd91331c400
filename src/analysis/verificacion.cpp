#include "verificacion.h"

#include "chequeoconflictos.h"
#include "namematcher.h"
#include "proyecto.h"
#include "usagerules.h"

#include <QVector>

namespace {

QStringList noUsados(const QStringList &nombres, const QVector<bool> &usados)
{
    QStringList resultado;
    for (int i = 0; i < nombres.size(); ++i) {
        if (!usados.at(i))
            resultado.append(nombres.at(i));
    }
    return resultado;
}

// Which declared names the transitions use. Each name list is searched with
// one automaton, so a transition costs a pass over its texts whatever the
// number of names; a list whose names are all used is not searched again.
class RegistroUso
{
public:
    RegistroUso(const QStringList &eventos, const QStringList &acciones, const QStringList &variables)
        : m_eventos(eventos), m_acciones(acciones), m_variables(variables)
    {}

    void registrar(const QString &disparador, const QString &acciones);
    // Once every name is known to be used, the texts need not be read.
    bool completo() const
    {
        return m_eventos.pendientes == 0 && m_acciones.pendientes == 0 && m_variables.pendientes == 0;
    }
    void registrarSinTextos() { m_hayEntradas = true; }
    // An empty action or variable name counts as used once any action list
    // exists, since a substring test finds it in every entry.
    void terminar();

    struct Lista
    {
        explicit Lista(const QStringList &nombres)
            : buscador(nombres), usados(nombres.size(), false), pendientes(nombres.size())
        {}
        void marcar(int indice)
        {
            if (usados.at(indice))
                return;
            usados[indice] = true;
            --pendientes;
        }

        NameMatcher buscador;
        QVector<bool> usados;
        int pendientes;
    };

    Lista m_eventos;
    Lista m_acciones;
    Lista m_variables;

private:
    void buscarPalabras(Lista &lista, QStringView parte);
    void buscarSubcadenas(Lista &lista, QStringView entrada);

    bool m_hayEntradas = false;
};

void RegistroUso::registrar(const QString &disparador, const QString &acciones)
{
    m_hayEntradas = true;
    UsageRules::forEachTriggerPart(disparador, [this](QStringView parte) {
        buscarPalabras(UsageRules::isComparisonPart(parte) ? m_variables : m_eventos, parte);
    });
    int inicio = 0;
    for (int coma = acciones.indexOf(QLatin1Char(',')); inicio <= acciones.size();
         coma = acciones.indexOf(QLatin1Char(','), inicio)) {
        const int fin = coma < 0 ? acciones.size() : coma;
        const QStringView entrada = QStringView(acciones).mid(inicio, fin - inicio);
        buscarSubcadenas(m_acciones, entrada);
        buscarSubcadenas(m_variables, entrada);
        inicio = fin + 1;
    }
}

void RegistroUso::buscarPalabras(Lista &lista, QStringView parte)
{
    if (lista.pendientes == 0)
        return;
    lista.buscador.scan(parte, [&lista, parte](int indice, int inicio) {
        const int fin = inicio + lista.buscador.length(indice);
        if (UsageRules::isWordBoundary(parte, inicio) && UsageRules::isWordBoundary(parte, fin))
            lista.marcar(indice);
    });
}

void RegistroUso::buscarSubcadenas(Lista &lista, QStringView entrada)
{
    if (lista.pendientes == 0)
        return;
    lista.buscador.scan(entrada, [&lista](int indice, int) { lista.marcar(indice); });
}

void RegistroUso::terminar()
{
    if (!m_hayEntradas)
        return;
    for (Lista *lista : {&m_acciones, &m_variables}) {
        for (int i = 0; i < lista->usados.size(); ++i) {
            if (lista->buscador.length(i) == 0)
                lista->marcar(i);
        }
    }
}

// A transition marks its target reached and its source left unless it is a
// self-transition; the initial transition, from the marker, reaches its state.
// A transition whose target is no state counts for nothing.
void verificarMaquina(const Maquina &maquina, RegistroUso &uso, QStringList &sinSalida,
                      QStringList &sinActivar)
{
    const int estados = maquina.estados.size();
    QVector<bool> activado(estados, false);
    QVector<bool> conSalida(estados, false);
    for (int i = 0; i < estados; ++i) {
        for (const Transicion &transicion : maquina.estados.at(i).transiciones) {
            const int destino = transicion.destino;
            if (destino < 0)
                continue;
            if (destino != i) {
                activado[destino] = true;
                conSalida[i] = true;
            }
            if (uso.completo())
                uso.registrarSinTextos();
            else
                uso.registrar(transicion.disparador.texto(), transicion.acciones.texto());
        }
    }
    const TransicionInicial &inicial = maquina.inicial;
    if (inicial.destino >= 0) {
        activado[inicial.destino] = true;
        uso.registrar(QStringLiteral("-"), inicial.acciones.texto());
    }
    const QString sufijo = QStringLiteral(" [") + maquina.nombre + QLatin1Char(']');
    for (int i = 0; i < estados; ++i) {
        if (activado.at(i) && conSalida.at(i))
            continue;
        const QString nombre = maquina.estados.at(i).nombre.toUpper() + sufijo;
        if (!activado.at(i))
            sinActivar.append(nombre);
        if (!conSalida.at(i))
            sinSalida.append(nombre);
    }
}

} // namespace

bool EntradaVerificacion::conHallazgos() const
{
    if (!hallazgos.isEmpty())
        return true;
    for (const EntradaVerificacion &sub : subentradas) {
        if (sub.conHallazgos())
            return true;
    }
    return false;
}

Verificacion::Verificacion(const XmlHandler &datos) : Verificacion(Proyecto::desdeDocumento(datos)) {}

Verificacion::Verificacion(const Proyecto &proyecto)
{
    const QVector<Maquina> &maquinas = proyecto.maquinas();
    for (int k = 0; k < maquinas.size(); ++k) {
        if (!maquinas.at(k).inicial.definida) {
            m_maquinaSinEstadoInicial = k;
            return;
        }
    }
    RegistroUso uso(proyecto.eventos(), proyecto.acciones(), proyecto.variables());
    for (const Maquina &maquina : maquinas)
        verificarMaquina(maquina, uso, m_estadosSinSalida, m_estadosSinActivar);
    uso.terminar();
    m_eventosSinUtilizar = noUsados(proyecto.eventos(), uso.m_eventos.usados);
    m_accionesSinUtilizar = noUsados(proyecto.acciones(), uso.m_acciones.usados);
    m_variablesSinUtilizar = noUsados(proyecto.variables(), uso.m_variables.usados);
    m_conflictos = ChequeoConflictos(proyecto).conflictos();
}

bool Verificacion::hayHallazgos() const
{
    return !m_estadosSinSalida.isEmpty() || !m_estadosSinActivar.isEmpty() ||
           !m_eventosSinUtilizar.isEmpty() || !m_accionesSinUtilizar.isEmpty() ||
           !m_variablesSinUtilizar.isEmpty() || !m_conflictos.isEmpty();
}

std::vector<EntradaVerificacion> Verificacion::arbol() const
{
    EntradaVerificacion elementos{QStringLiteral("Chequeo de elementos sin utilizar"), {}, {}};
    elementos.subentradas = {
        {QStringLiteral("Eventos sin utilizar"), m_eventosSinUtilizar, {}},
        {QStringLiteral("Acciones sin utilizar"), m_accionesSinUtilizar, {}},
        {QStringLiteral("Variables sin utilizar"), m_variablesSinUtilizar, {}},
        {QStringLiteral("Constantes sin utilizar"), {}, {}},
    };
    return {
        {QStringLiteral("Chequeo de estados sin salida"), m_estadosSinSalida, {}},
        {QStringLiteral("Chequeo de estados sin activar"), m_estadosSinActivar, {}},
        elementos,
        {QStringLiteral("Chequeo de transiciones en conflicto"), ChequeoConflictos::textos(m_conflictos), {}},
    };
}
