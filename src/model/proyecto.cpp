#include "proyecto.h"

#include "idsproyecto.h"
#include "xmlhandler.h"
#include "xmlnode.h"

#include <QHash>

#include <algorithm>

namespace {

const QString kSinValor = QStringLiteral("-1");
// Coordinates beyond this are not drawings but damage; they read as missing.
const double kLimiteCoordenada = 1e7;

// The element's text, "-1" when it is missing, as every document reader gives it.
QString texto(const XmlNode *elemento)
{
    return elemento ? elemento->text() : kSinValor;
}

int cantidadHijos(const XmlNode *elemento)
{
    return elemento ? elemento->childElementCount() : -1;
}

// The value of the spelling the program itself writes for most numbers: an
// optional minus, an integer part without leading zeros and optional
// decimals, at most 15 digits in all. The digits as a whole number and the
// power of ten are both exact in a double, so their quotient is the correctly
// rounded value, the very double toDouble gives; false for any other
// spelling, which toDouble reads as always.
bool leerDecimalSimple(const QStringRef &texto, double *valor)
{
    static const double potencias[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const int inicio = texto.startsWith(QLatin1Char('-')) ? 1 : 0;
    const int fin = texto.size();
    if (fin - inicio < 1 || fin - inicio > 16)
        return false;
    qint64 cifras = 0;
    int cantidad = 0;
    int punto = -1;
    for (int i = inicio; i < fin; ++i) {
        const ushort c = texto.at(i).unicode();
        if (c == '.' && punto < 0 && i > inicio && i + 1 < fin) {
            punto = i;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        cifras = cifras * 10 + (c - '0');
        ++cantidad;
    }
    const int entera = (punto < 0 ? fin : punto) - inicio;
    if (cantidad > 15 || (entera > 1 && texto.at(inicio) == QLatin1Char('0')))
        return false;
    const double absoluto = double(cifras) / potencias[punto < 0 ? 0 : fin - punto - 1];
    *valor = inicio ? -absoluto : absoluto;
    return true;
}

bool leerCoordenada(const QStringRef &texto, double *valor)
{
    bool ok = leerDecimalSimple(texto, valor);
    if (!ok)
        *valor = texto.toDouble(&ok);
    return ok && qAbs(*valor) <= kLimiteCoordenada;
}

bool leerCoordenada(const QString &texto, double *valor)
{
    return leerCoordenada(QStringRef(&texto), valor);
}

double leerNumero(const QString &texto, double siFalta)
{
    double valor = 0;
    return leerCoordenada(texto, &valor) ? valor : siFalta;
}

int leerMedida(const QString &texto)
{
    const double valor = leerNumero(texto, 0);
    return valor >= 1 ? int(valor) : 0;
}

// "x,y" as stored in midPos and textPos; false when either number is missing.
bool leerPunto(const QString &texto, QPointF *punto)
{
    const int coma = texto.indexOf(QLatin1Char(','));
    if (coma < 0 || texto.indexOf(QLatin1Char(','), coma + 1) >= 0)
        return false;
    double x = 0;
    double y = 0;
    if (!leerCoordenada(texto.leftRef(coma), &x) || !leerCoordenada(texto.midRef(coma + 1), &y))
        return false;
    *punto = QPointF(x, y);
    return true;
}

// The index n of a tag that is exactly prefijo + n in decimal (as the ids
// are spelled, without sign or leading zeros), or -1.
int indiceDeTag(const QString &tag, const QString &prefijo)
{
    const int cifras = tag.size() - prefijo.size();
    if (cifras <= 0 || cifras > 9 || !tag.startsWith(prefijo))
        return -1;
    if (cifras > 1 && tag.at(prefijo.size()) == QLatin1Char('0'))
        return -1;
    int indice = 0;
    for (int i = prefijo.size(); i < tag.size(); ++i) {
        const ushort c = tag.at(i).unicode();
        if (c < '0' || c > '9')
            return -1;
        indice = indice * 10 + (c - '0');
    }
    return indice;
}

// The children tagged prefijo + n for n from 0 to cantidad - 1, the first of
// each tag (as a lookup by tag finds it), null where there is none. One pass
// over the children instead of a lookup per index.
QVector<const XmlNode *> numerados(const XmlNode *padre, const QString &prefijo, int cantidad)
{
    QVector<const XmlNode *> resultado(qMax(cantidad, 0), nullptr);
    if (!padre)
        return resultado;
    for (const auto &hijo : padre->children()) {
        if (!hijo->isElement())
            continue;
        const int indice = indiceDeTag(hijo->dato(), prefijo);
        if (indice >= 0 && indice < cantidad && !resultado.at(indice))
            resultado[indice] = hijo.get();
    }
    return resultado;
}

// The first child of each of the tags, in one pass over the children.
template<size_t N>
void campos(const XmlNode *padre, const QLatin1String (&tags)[N], const XmlNode *(&salida)[N])
{
    std::fill(salida, salida + N, nullptr);
    if (!padre)
        return;
    for (const auto &hijo : padre->children()) {
        if (!hijo->isElement())
            continue;
        for (size_t i = 0; i < N; ++i) {
            if (!salida[i] && hijo->dato() == tags[i]) {
                salida[i] = hijo.get();
                break;
            }
        }
    }
}

} // namespace

// Reads the document tree once, each element's children in one pass. Equal
// trigger and action texts are read only once and share their result: a
// project repeats the same few texts.
class Proyecto::Lector
{
public:
    explicit Lector(Proyecto &proyecto) : m_proyecto(proyecto) {}

    void leer(const XmlNode *raiz)
    {
        enum { General, Maquinas, Eventos, Acciones, Variables, Constantes };
        static const QLatin1String tags[] = {QLatin1String("general"),   QLatin1String("maquinas"),
                                             QLatin1String("eventos"),   QLatin1String("acciones"),
                                             QLatin1String("variables"), QLatin1String("constantes")};
        const XmlNode *nodos[6];
        campos(raiz, tags, nodos);
        leerGeneral(nodos[General]);

        const int cantidad = cantidadHijos(nodos[Maquinas]);
        const QVector<const XmlNode *> maquinas =
            numerados(nodos[Maquinas], IdsProyecto::prefijoMaquina(), cantidad);
        m_proyecto.m_maquinas.reserve(maquinas.size());
        for (int k = 0; k < maquinas.size(); ++k)
            m_proyecto.m_maquinas.append(leerMaquina(k, maquinas.at(k)));

        Catalogo &catalogo = m_proyecto.m_catalogo;
        catalogo.eventos = nombres(nodos[Eventos], IdsProyecto::prefijoEvento());
        catalogo.acciones = nombres(nodos[Acciones], IdsProyecto::prefijoAccion());
        catalogo.variables = nombres(nodos[Variables], IdsProyecto::prefijoVariable());
        catalogo.constantes = nombres(nodos[Constantes], IdsProyecto::prefijoConstante());
    }

private:
    void leerGeneral(const XmlNode *general)
    {
        static const QLatin1String tags[] = {QLatin1String("nombre"), QLatin1String("autores"),
                                             QLatin1String("creacion"), QLatin1String("modificacion"),
                                             QLatin1String("carpeta")};
        const XmlNode *nodos[5];
        campos(general, tags, nodos);
        m_proyecto.m_nombre = texto(nodos[0]);
        m_proyecto.m_autores = texto(nodos[1]);
        m_proyecto.m_creacion = texto(nodos[2]);
        m_proyecto.m_modificacion = texto(nodos[3]);
        m_proyecto.m_carpeta = texto(nodos[4]);
    }

    // A list's entries by their tags prefijo + k; a missing tag reads as an
    // empty name.
    static QStringList nombres(const XmlNode *lista, const QString &prefijo)
    {
        const QVector<const XmlNode *> entradas = numerados(lista, prefijo, cantidadHijos(lista));
        QStringList resultado;
        resultado.reserve(entradas.size());
        for (const XmlNode *entrada : entradas)
            resultado.append(entrada ? entrada->text() : QString());
        return resultado;
    }

    Maquina leerMaquina(int k, const XmlNode *nodo)
    {
        Maquina maquina;
        static const QLatin1String tags[] = {QLatin1String("nombre"), QLatin1String("estadoInicial")};
        const XmlNode *nodos[2];
        campos(nodo, tags, nodos);
        maquina.nombre = texto(nodos[0]);
        // Every machine element starts with its "nombre" and "estadoInicial".
        const int cantidad = nodo ? qMax(0, nodo->childElementCount() - 2) : 0;
        const QVector<const XmlNode *> estados = numerados(nodo, IdsProyecto::prefijoEstado(), cantidad);
        maquina.estados.resize(cantidad);
        QVector<const XmlNode *> transiciones(cantidad, nullptr);
        for (int i = 0; i < cantidad; ++i) {
            if (!estados.at(i))
                problema(ProblemaProyecto::EstadoFaltante, k, i, -1,
                         QStringLiteral("%1: falta %2").arg(maquina.nombre, IdsProyecto::estado(i)));
            transiciones[i] = leerEstado(maquina.estados[i], estados.at(i));
        }
        // Targets are known once every state is.
        for (int i = 0; i < cantidad; ++i)
            leerTransiciones(maquina, k, i, transiciones.at(i));
        leerInicial(maquina, k, nodos[1]);
        return maquina;
    }

    // Returns the state's "transiciones" element, read once all states are.
    const XmlNode *leerEstado(Estado &estado, const XmlNode *nodo)
    {
        static const QLatin1String tagsEstado[] = {QLatin1String("diagrama"), QLatin1String("transiciones")};
        const XmlNode *partes[2];
        campos(nodo, tagsEstado, partes);
        enum { Nombre, Color, PosX, PosY, Ancho, Alto };
        static const QLatin1String tags[] = {QLatin1String("nombre"), QLatin1String("color"),
                                             QLatin1String("pos_x"),  QLatin1String("pos_y"),
                                             QLatin1String("ancho"),  QLatin1String("alto")};
        const XmlNode *nodos[6];
        campos(partes[0], tags, nodos);
        estado.nombre = texto(nodos[Nombre]);
        estado.color = texto(nodos[Color]);
        estado.posicion = QPointF(leerNumero(texto(nodos[PosX]), 0), leerNumero(texto(nodos[PosY]), 0));
        estado.ancho = leerMedida(texto(nodos[Ancho]));
        estado.alto = leerMedida(texto(nodos[Alto]));
        return partes[1];
    }

    void leerTransiciones(Maquina &maquina, int k, int i, const XmlNode *transiciones)
    {
        const int cantidad = cantidadHijos(transiciones);
        if (cantidad <= 0)
            return;
        const QVector<const XmlNode *> nodos =
            numerados(transiciones, IdsProyecto::prefijoTransicion(), cantidad);
        QVector<Transicion> &lista = maquina.estados[i].transiciones;
        lista.resize(cantidad);
        for (int j = 0; j < cantidad; ++j) {
            Transicion &transicion = lista[j];
            leerTransicion(transicion, nodos.at(j), maquina.estados.size());
            if (transicion.destino < 0)
                problema(ProblemaProyecto::TransicionSinDestino, k, i, j,
                         QStringLiteral("%1: transición %2 de %3 hacia %4")
                             .arg(maquina.nombre, IdsProyecto::transicion(j), maquina.estados.at(i).nombre,
                                  transicion.destinoId));
        }
    }

    void leerTransicion(Transicion &transicion, const XmlNode *nodo, int cantidadEstados)
    {
        enum { Evento, Acciones, Destino, Medio, Etiqueta };
        static const QLatin1String tags[] = {QLatin1String("idEvento"), QLatin1String("idAcciones"),
                                             QLatin1String("idProxEstado"), QLatin1String("midPos"),
                                             QLatin1String("textPos")};
        const XmlNode *nodos[5];
        campos(nodo, tags, nodos);
        transicion.disparador = disparador(texto(nodos[Evento]));
        transicion.acciones = acciones(texto(nodos[Acciones]));
        transicion.destinoId = texto(nodos[Destino]);
        transicion.destino = IdsProyecto::indiceEstado(transicion.destinoId, cantidadEstados);
        transicion.tienePuntoControl = leerPunto(texto(nodos[Medio]), &transicion.puntoControl);
        transicion.tienePosicionEtiqueta = leerPunto(texto(nodos[Etiqueta]), &transicion.posicionEtiqueta);
    }

    void leerInicial(Maquina &maquina, int k, const XmlNode *nodo)
    {
        enum { PosX, PosY, Acciones, Destino, Medio, Etiqueta };
        static const QLatin1String tags[] = {QLatin1String("pos_x"),      QLatin1String("pos_y"),
                                             QLatin1String("idAcciones"), QLatin1String("idProxEstado"),
                                             QLatin1String("midPos"),     QLatin1String("textPos")};
        const XmlNode *nodos[6];
        campos(nodo, tags, nodos);
        TransicionInicial &inicial = maquina.inicial;
        if (!nodos[Destino])
            return;
        inicial.definida = true;
        inicial.destinoId = nodos[Destino]->text();
        inicial.destino = IdsProyecto::indiceEstado(inicial.destinoId, maquina.estados.size());
        if (inicial.destino < 0) {
            if (inicial.destinoId != kSinValor)
                problema(ProblemaProyecto::EstadoInicialSinDestino, k, -1, -1,
                         QStringLiteral("%1: estado inicial %2").arg(maquina.nombre, inicial.destinoId));
            return;
        }
        const QString posX = texto(nodos[PosX]);
        const QString posY = texto(nodos[PosY]);
        const QString midPos = texto(nodos[Medio]);
        const QString textPos = texto(nodos[Etiqueta]);
        inicial.formaAntigua = leerNumero(posX, 0) == -1 && leerNumero(posY, 0) == -1 &&
                               midPos.section(QLatin1Char(','), 0, 0) == kSinValor &&
                               textPos.section(QLatin1Char(','), 0, 0) == kSinValor;
        inicial.acciones = acciones(nodos[Acciones] ? nodos[Acciones]->text() : QString());
        if (inicial.formaAntigua)
            return;
        double x = 0;
        double y = 0;
        inicial.tienePosicionMarcador = leerCoordenada(posX, &x) && leerCoordenada(posY, &y);
        if (inicial.tienePosicionMarcador)
            inicial.posicionMarcador = QPointF(x, y);
        inicial.tienePuntoControl = leerPunto(midPos, &inicial.puntoControl);
        inicial.tienePosicionEtiqueta = leerPunto(textPos, &inicial.posicionEtiqueta);
    }

    ExpresionDisparo disparador(const QString &texto)
    {
        auto leido = m_disparadores.constFind(texto);
        if (leido == m_disparadores.constEnd())
            leido = m_disparadores.insert(texto, ExpresionDisparo::analizar(texto));
        return leido.value();
    }

    ListaAcciones acciones(const QString &texto)
    {
        auto leida = m_acciones.constFind(texto);
        if (leida == m_acciones.constEnd())
            leida = m_acciones.insert(texto, ListaAcciones::analizar(texto));
        return leida.value();
    }

    void problema(ProblemaProyecto::Tipo tipo, int maquina, int estado, int transicion, const QString &texto)
    {
        m_proyecto.m_problemas.append({tipo, maquina, estado, transicion, texto});
    }

    Proyecto &m_proyecto;
    QHash<QString, ExpresionDisparo> m_disparadores;
    QHash<QString, ListaAcciones> m_acciones;
};

Proyecto Proyecto::desdeDocumento(const XmlHandler &datos)
{
    Proyecto proyecto;
    Lector(proyecto).leer(datos.raiz());
    return proyecto;
}
