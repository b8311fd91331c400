#include "verificacion.h"

#include "chequeoconflictos.h"
#include "namematcher.h"
#include "proyecto.h"
#include "usagerules.h"
#include "xmlhandler.h"

#include <QVector>

namespace {

const QString kSinValor = QStringLiteral("-1");

QString maquinaId(int maquina)
{
    return QStringLiteral("maquina") + QString::number(maquina);
}

QString estadoId(int estado)
{
    return QStringLiteral("estado") + QString::number(estado);
}

// The state number in an "idProxEstado" text ("estado" + n), or -1 when the
// text names no state of a machine with cantidad states.
int indiceEstado(const QString &id, int cantidad)
{
    static const QString prefijo = QStringLiteral("estado");
    if (!id.startsWith(prefijo))
        return -1;
    bool ok = false;
    const int indice = QStringView(id).mid(prefijo.size()).toInt(&ok);
    return ok && indice >= 0 && indice < cantidad ? indice : -1;
}

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
void verificarMaquina(const XmlHandler &datos, int maquina, RegistroUso &uso, QStringList &sinSalida,
                      QStringList &sinActivar)
{
    const QString mId = maquinaId(maquina);
    const int estados = qMax(0, datos.cantidadEstados(mId));
    QVector<bool> activado(estados, false);
    QVector<bool> conSalida(estados, false);
    QStringList trIds;
    for (int i = 0; i < estados; ++i) {
        const QString eId = estadoId(i);
        const int transiciones = qMax(0, datos.cantidadTransiciones(eId, mId));
        while (trIds.size() < transiciones)
            trIds.append(QStringLiteral("tr") + QString::number(trIds.size()));
        for (int j = 0; j < transiciones; ++j) {
            const QString &tId = trIds.at(j);
            const int destino = indiceEstado(
                datos.getContenidoTransicion(eId, tId, QStringLiteral("idProxEstado"), mId), estados);
            if (destino < 0)
                continue;
            if (destino != i) {
                activado[destino] = true;
                conSalida[i] = true;
            }
            if (uso.completo())
                uso.registrarSinTextos();
            else
                uso.registrar(datos.getContenidoTransicion(eId, tId, QStringLiteral("idEvento"), mId),
                              datos.getContenidoTransicion(eId, tId, QStringLiteral("idAcciones"), mId));
        }
    }
    const int inicial = indiceEstado(datos.getContenidoInicial(QStringLiteral("idProxEstado"), mId), estados);
    if (inicial >= 0) {
        activado[inicial] = true;
        // Files of earlier versions keep no actions for the initial transition.
        const QString acciones = datos.getContenidoInicial(QStringLiteral("idAcciones"), mId);
        uso.registrar(QStringLiteral("-"), acciones == kSinValor ? QString() : acciones);
    }
    const QString sufijo =
        QStringLiteral(" [") + datos.getContenidoMaquina(mId, QStringLiteral("nombre")) + QLatin1Char(']');
    for (int i = 0; i < estados; ++i) {
        if (activado.at(i) && conSalida.at(i))
            continue;
        const QString nombre =
            datos.getContenidoDiagrama(estadoId(i), QStringLiteral("nombre"), mId).toUpper() + sufijo;
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

Verificacion::Verificacion(const XmlHandler &datos)
{
    const int maquinas = qMax(0, datos.cantidadMaquinas());
    for (int k = 0; k < maquinas; ++k) {
        if (datos.getEstadoInicial(maquinaId(k)) == kSinValor) {
            m_maquinaSinEstadoInicial = k;
            return;
        }
    }
    const QStringList eventos = datos.getNombresEventosDefinidos();
    const QStringList acciones = datos.getNombresAccionesDefinidas();
    const QStringList variables = datos.getNombresVariablesDefinidas();
    RegistroUso uso(eventos, acciones, variables);
    for (int k = 0; k < maquinas; ++k)
        verificarMaquina(datos, k, uso, m_estadosSinSalida, m_estadosSinActivar);
    uso.terminar();
    m_eventosSinUtilizar = noUsados(eventos, uso.m_eventos.usados);
    m_accionesSinUtilizar = noUsados(acciones, uso.m_acciones.usados);
    m_variablesSinUtilizar = noUsados(variables, uso.m_variables.usados);
    m_conflictos = ChequeoConflictos(Proyecto::desdeDocumento(datos)).conflictos();
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
