#include "xmlhandler.h"

#include "escritormaquina.h"
#include "idsproyecto.h"
#include "savefile.h"
#include "xmlnode.h"
#include "xmlserializer.h"

#include <QBuffer>
#include <QDateTime>
#include <QIODevice>
#include <QPointF>

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

const QString kSinValor = QStringLiteral("-1");

XmlNode *hijo(const XmlNode *padre, const QString &tag)
{
    return padre ? padre->firstChildElement(tag) : nullptr;
}

QString textoDe(const XmlNode *elemento)
{
    return elemento ? elemento->text() : kSinValor;
}

int cantidadHijos(const XmlNode *elemento)
{
    return elemento ? elemento->childElementCount() : -1;
}

// Identifiers become tags; one that is no XML name would make the file
// unreadable, so it is never created.
bool esNombreXml(const QString &tag)
{
    if (tag.isEmpty() || !(tag.at(0).isLetter() || tag.at(0) == QLatin1Char('_')))
        return false;
    return std::all_of(tag.cbegin(), tag.cend(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
               c == QLatin1Char('.');
    });
}

// The first child with the tag, appended when missing; null without a parent.
XmlNode *hijoCreado(XmlNode *padre, const QString &tag)
{
    if (!padre)
        return nullptr;
    if (XmlNode *existente = padre->firstChildElement(tag))
        return existente;
    return esNombreXml(tag) ? padre->appendElement(tag) : nullptr;
}

// A value lives in an element that holds only text; an element holding other
// elements is a group, and writing text into it would corrupt the tree.
bool setTexto(XmlNode *elemento, const QString &contenido)
{
    if (!elemento || elemento->hasChildElements())
        return false;
    elemento->replaceContent(contenido);
    return true;
}

std::unique_ptr<XmlNode> documentoVacio()
{
    return std::make_unique<XmlNode>(XmlNode::Element, QString());
}

} // namespace

XmlHandler::XmlHandler() : m_documento(documentoVacio()) {}

XmlHandler::XmlHandler(const QString &, XmlType) : m_documento(documentoVacio())
{
    XmlNode *proyecto = m_documento->appendElement(QStringLiteral("proyecto"));
    XmlNode *general = proyecto->appendElement(QStringLiteral("general"));
    XmlNode *configuracion = proyecto->appendElement(QStringLiteral("configuracion"));
    XmlNode *recursos = proyecto->appendElement(QStringLiteral("recursos"));
    for (const char *tag : {"maquinas", "eventos", "acciones", "variables", "constantes"})
        proyecto->appendElement(QLatin1String(tag));
    for (const char *tag : {"nombre", "autores", "creacion", "modificacion", "carpeta"})
        general->appendElement(QLatin1String(tag));
    configuracion->appendElement(QStringLiteral("hardware"));
    configuracion->appendElement(QStringLiteral("target"));
    recursos->appendElement(QStringLiteral("archivosC"));
    recursos->appendElement(QStringLiteral("archivosH"));
}

XmlHandler::~XmlHandler() = default;

bool XmlHandler::load(QIODevice *device, QString *error)
{
    m_documento = documentoVacio();
    m_maquinasLeidas.clear();
    if (!device || !device->isReadable()) {
        if (error)
            *error = QStringLiteral("no se puede leer");
        return false;
    }
    std::unique_ptr<XmlNode> leido = XmlSerializer::leer(device, error);
    if (!leido)
        return false;
    m_documento = std::move(leido);
    return true;
}

bool XmlHandler::load(const QByteArray &bytes, QString *error)
{
    m_documento = documentoVacio();
    m_maquinasLeidas.clear();
    QVector<XmlSerializer::Leido> nietos;
    std::unique_ptr<XmlNode> leido = XmlSerializer::leerBytes(bytes, error, &nietos);
    if (!leido)
        return false;
    m_documento = std::move(leido);
    const XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    for (XmlSerializer::Leido &nieto : nietos) {
        if (nieto.elemento->parent() == maquinas)
            m_maquinasLeidas.append(std::move(nieto.bytes));
    }
    return true;
}

bool XmlHandler::save()
{
    return save(toByteArray());
}

bool XmlHandler::save(const QByteArray &contenido)
{
    const XmlNode *nombre = general(QStringLiteral("nombre"));
    const XmlNode *carpeta = general(QStringLiteral("carpeta"));
    if (!nombre || !carpeta || nombre->text().isEmpty()) {
        m_ultimoError = QStringLiteral("El proyecto no tiene nombre o carpeta.");
        return false;
    }
    const QString ruta = carpeta->text() + QLatin1Char('/') + nombre->text() + QStringLiteral(".vro");
    m_ultimoError.clear();
    return guardarArchivoSeguro(ruta, contenido, &m_ultimoError);
}

QString XmlHandler::ultimoError() const
{
    return m_ultimoError;
}

QByteArray XmlHandler::toByteArray() const
{
    return XmlSerializer::escribir(*m_documento);
}

namespace {

// Room for a number as formatoNumero() writes it, twice, and a comma.
const int kLargoPunto = 64;

// Writes valor as formatoNumero() does at p; returns where it ends.
char *escribirNumero(char *p, double valor)
{
    // Whole numbers of up to six digits, most of what a diagram holds, read
    // the same in both notations; the integer one is much faster to write.
    // -0 comes out of scene arithmetic now and then; it means 0.
    if (valor > -1e6 && valor < 1e6 && valor == double(qint64(valor)))
        return std::to_chars(p, p + kLargoPunto / 2, qint64(valor)).ptr;
    const QString general = QString::number(valor, 'g', 6);
    for (const QChar c : general)
        *p++ = char(c.unicode());
    return p;
}

} // namespace

QString XmlHandler::formatoNumero(double valor)
{
    char texto[kLargoPunto];
    return QString::fromLatin1(texto, int(escribirNumero(texto, valor) - texto));
}

QString XmlHandler::formatoPunto(double x, double y)
{
    char texto[kLargoPunto];
    char *p = escribirNumero(texto, x);
    *p++ = ',';
    return QString::fromLatin1(texto, int(escribirNumero(p, y) - texto));
}

QString XmlHandler::formatoPunto(const QPointF &punto)
{
    return formatoPunto(punto.x(), punto.y());
}

QString XmlHandler::formatoFecha(const QDateTime &fecha)
{
    return fecha.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"));
}

XmlNode *XmlHandler::raiz() const
{
    for (const auto &nodo : m_documento->children()) {
        if (nodo->isElement())
            return nodo.get();
    }
    return nullptr;
}

XmlNode *XmlHandler::general(const QString &tagName) const
{
    return hijo(hijo(raiz(), QStringLiteral("general")), tagName);
}

XmlNode *XmlHandler::maquina(const QString &maquinaId) const
{
    return hijo(hijo(raiz(), QStringLiteral("maquinas")), maquinaId);
}

XmlNode *XmlHandler::estado(const QString &estadoId, const QString &maquinaId) const
{
    return hijo(maquina(maquinaId), estadoId);
}

XmlNode *XmlHandler::lista(const QString &listaTag) const
{
    return hijo(raiz(), listaTag);
}

bool XmlHandler::setContenidoGeneral(const QString &tagName, const QString &contenido)
{
    return setTexto(general(tagName), contenido);
}

QString XmlHandler::getContenidoGeneral(const QString &tagName) const
{
    return textoDe(general(tagName));
}

void XmlHandler::addNuevaMaquina(const QString &maquinaId)
{
    XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    if (!maquinas || maquinas->firstChildElement(maquinaId) || !esNombreXml(maquinaId))
        return;
    XmlNode *nueva = maquinas->appendElement(maquinaId);
    nueva->appendElement(QStringLiteral("nombre"));
    nueva->appendElement(QStringLiteral("estadoInicial"));
}

void XmlHandler::addInfoMaquina(const QString &maquinaId, const QString &nombre)
{
    setContenidoMaquina(maquinaId, QStringLiteral("nombre"), nombre);
}

bool XmlHandler::setContenidoMaquina(const QString &maquinaId, const QString &tagName,
                                     const QString &contenido)
{
    return setTexto(hijo(maquina(maquinaId), tagName), contenido);
}

QString XmlHandler::getContenidoMaquina(const QString &maquinaId, const QString &tagName) const
{
    return textoDe(hijo(maquina(maquinaId), tagName));
}

int XmlHandler::cantidadMaquinas() const
{
    return cantidadHijos(lista(QStringLiteral("maquinas")));
}

void XmlHandler::borrarMaquinas()
{
    if (XmlNode *maquinas = lista(QStringLiteral("maquinas")))
        maquinas->removeChildren();
}

void XmlHandler::recortarMaquinas(int cantidad)
{
    int vistas = 0;
    quitarDeMaquinas(
        [&vistas, cantidad](const XmlNode &hijo) { return hijo.isElement() && ++vistas > cantidad; });
}

void XmlHandler::completarMaquinasLeidas()
{
    quitarDeMaquinas([](const XmlNode &hijo) { return !hijo.isElement(); });
    if (XmlNode *maquinas = lista(QStringLiteral("maquinas"))) {
        for (const auto &maquina : maquinas->children())
            EscritorMaquina::completarLeida(*maquina);
    }
}

void XmlHandler::quitarDeMaquinas(const std::function<bool(const XmlNode &)> &quitar)
{
    XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    if (!maquinas)
        return;
    std::vector<XmlNode *> quitados;
    for (const auto &hijo : maquinas->children()) {
        if (quitar(*hijo))
            quitados.push_back(hijo.get());
    }
    for (XmlNode *quitado : quitados)
        maquinas->removeChild(quitado);
}

QVector<QByteArray> XmlHandler::tomarMaquinasLeidas()
{
    return std::exchange(m_maquinasLeidas, {});
}

XmlHandler::Partes XmlHandler::partesFijas() const
{
    const XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    if (!maquinas)
        return {toByteArray(), QByteArray()};
    const XmlSerializer::Contorno contorno = XmlSerializer::escribirContorno(*m_documento, *maquinas);
    return {contorno.antes, contorno.despues};
}

// Machines sit at depth 2: proyecto, maquinas, maquinaN.
QByteArray XmlHandler::maquinaToByteArray(const QString &maquinaId) const
{
    const XmlNode *nodo = maquina(maquinaId);
    return nodo ? XmlSerializer::escribirElemento(*nodo, 2) : QByteArray();
}

bool XmlHandler::cargarMaquina(const QString &maquinaId, const QByteArray &bytes)
{
    XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<XmlNode> leido = maquinas ? XmlSerializer::leer(&buffer) : nullptr;
    if (!leido)
        return false;
    std::unique_ptr<XmlNode> elemento;
    for (const auto &hijo : leido->children()) {
        if (hijo->isElement()) {
            elemento = std::make_unique<XmlNode>(XmlNode::Element, maquinaId);
            elemento->adoptChildren(*hijo);
            break;
        }
    }
    if (!elemento)
        return false;
    XmlNode *anterior = maquinas->firstChildElement(maquinaId);
    XmlNode *nuevo = maquinas->appendChild(std::move(elemento));
    if (anterior)
        maquinas->replaceChild(anterior, nuevo);
    return true;
}

void XmlHandler::tomarMaquinas(XmlHandler &otro)
{
    XmlNode *maquinas = lista(QStringLiteral("maquinas"));
    XmlNode *otras = otro.lista(QStringLiteral("maquinas"));
    if (!maquinas || !otras)
        return;
    maquinas->removeChildren();
    maquinas->adoptChildren(*otras);
}

void XmlHandler::addNuevoEstado(const QString &estadoId, const QString &maquinaId)
{
    hijoCreado(maquina(maquinaId), estadoId);
}

void XmlHandler::addInfoEstado(const QString &estadoId, const QString &nombre, const QString &color,
                               const QString &pos_x, const QString &pos_y, const QString &ancho,
                               const QString &alto, const QString &maquinaId)
{
    const std::pair<const char *, const QString &> valores[] = {{"nombre", nombre}, {"color", color},
                                                                {"pos_x", pos_x},   {"pos_y", pos_y},
                                                                {"ancho", ancho},   {"alto", alto}};
    for (const auto &valor : valores)
        setContenidoEstado(estadoId, QStringLiteral("diagrama"), QLatin1String(valor.first), valor.second,
                           maquinaId);
}

bool XmlHandler::setContenidoEstado(const QString &estadoId, const QString &tagName,
                                    const QString &subTagName, const QString &contenido,
                                    const QString &maquinaId)
{
    XmlNode *valor = hijoCreado(hijoCreado(estado(estadoId, maquinaId), tagName), subTagName);
    if (!valor)
        return false;
    valor->replaceContent(contenido);
    return true;
}

QString XmlHandler::getContenidoEstado(const QString &estadoId, const QString &tagName,
                                       const QString &subTagName, const QString &maquinaId) const
{
    return textoDe(hijo(hijo(estado(estadoId, maquinaId), tagName), subTagName));
}

QString XmlHandler::getContenidoDiagrama(const QString &estadoId, const QString &subTagName,
                                         const QString &maquinaId) const
{
    return getContenidoEstado(estadoId, QStringLiteral("diagrama"), subTagName, maquinaId);
}

int XmlHandler::cantidadEstados(const QString &maquinaId) const
{
    const XmlNode *nodo = maquina(maquinaId);
    if (!nodo)
        return -1;
    // Every machine element starts with its "nombre" and "estadoInicial".
    return qMax(0, nodo->childElementCount() - 2);
}

bool XmlHandler::setInfoEstadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                                      const QString &proxEstadoId, const QString &midPos,
                                      const QString &textPos, const QString &maquinaId)
{
    const std::pair<const char *, const QString &> valores[] = {
        {"pos_x", pos_x},   {"pos_y", pos_y},    {"idAcciones", accion}, {"idProxEstado", proxEstadoId},
        {"midPos", midPos}, {"textPos", textPos}};
    bool completo = true;
    for (const auto &valor : valores)
        completo = setContenidoInicial(QLatin1String(valor.first), valor.second, maquinaId) && completo;
    return completo;
}

bool XmlHandler::setContenidoInicial(const QString &tagName, const QString &contenido,
                                     const QString &maquinaId)
{
    XmlNode *inicial = hijo(maquina(maquinaId), QStringLiteral("estadoInicial"));
    return setTexto(hijoCreado(inicial, tagName), contenido);
}

QString XmlHandler::getContenidoInicial(const QString &tagName, const QString &maquinaId) const
{
    return textoDe(hijo(hijo(maquina(maquinaId), QStringLiteral("estadoInicial")), tagName));
}

QString XmlHandler::getEstadoInicial(const QString &maquinaId) const
{
    const XmlNode *nodo = maquina(maquinaId);
    const XmlNode *proximo =
        hijo(hijo(nodo, QStringLiteral("estadoInicial")), QStringLiteral("idProxEstado"));
    if (!proximo)
        return kSinValor;
    const XmlNode *nombre =
        hijo(hijo(hijo(nodo, proximo->text()), QStringLiteral("diagrama")), QStringLiteral("nombre"));
    return nombre ? nombre->text() : QString();
}

void XmlHandler::borrarEstadoInicial(const QString &maquinaId)
{
    if (XmlNode *inicial = hijo(maquina(maquinaId), QStringLiteral("estadoInicial")))
        inicial->removeChildren();
}

bool XmlHandler::setContenidoTransicion(const QString &estadoId, const QString &transId,
                                        const QString &subTagName, const QString &contenido,
                                        const QString &maquinaId)
{
    XmlNode *transiciones = hijoCreado(estado(estadoId, maquinaId), QStringLiteral("transiciones"));
    return setTexto(hijoCreado(hijoCreado(transiciones, transId), subTagName), contenido);
}

void XmlHandler::addNuevaTransicion(const QString &estadoId, const QString &transId, const QString &evento,
                                    const QString &accion, const QString &proxEstadoId, const QString &midPos,
                                    const QString &textPos, const QString &maquinaId)
{
    const std::pair<const char *, const QString &> valores[] = {{"idEvento", evento},
                                                                {"idAcciones", accion},
                                                                {"idProxEstado", proxEstadoId},
                                                                {"midPos", midPos},
                                                                {"textPos", textPos}};
    for (const auto &valor : valores)
        setContenidoTransicion(estadoId, transId, QLatin1String(valor.first), valor.second, maquinaId);
}

QString XmlHandler::getContenidoTransicion(const QString &estadoId, const QString &transId,
                                           const QString &tagName, const QString &maquinaId) const
{
    const XmlNode *transiciones = hijo(estado(estadoId, maquinaId), QStringLiteral("transiciones"));
    return textoDe(hijo(hijo(transiciones, transId), tagName));
}

int XmlHandler::cantidadTransiciones(const QString &estadoId, const QString &maquinaId) const
{
    return cantidadHijos(hijo(estado(estadoId, maquinaId), QStringLiteral("transiciones")));
}

void XmlHandler::addEntrada(const QString &listaTag, const QString &prefijo, const QString &nombre)
{
    XmlNode *nodo = lista(listaTag);
    if (!nodo)
        return;
    const QString tag = prefijo + QString::number(nodo->childElementCount());
    if (nodo->firstChildElement(tag))
        return;
    nodo->appendElement(tag)->appendText(nombre);
}

// Removes the entry at a position and renumbers the later ones so that the
// tags stay contiguous from 0 in document order.
void XmlHandler::borrarEntrada(const QString &listaTag, const QString &prefijo, int index)
{
    XmlNode *nodo = lista(listaTag);
    XmlNode *victima = hijo(nodo, prefijo + QString::number(index));
    if (!victima)
        return;
    const int cantidad = nodo->childElementCount();
    if (cantidad == 1 || index == cantidad - 1) {
        nodo->removeChild(victima);
        return;
    }
    XmlNode *siguiente = nodo->firstChildElement(prefijo + QString::number(index + 1));
    if (!siguiente)
        return;
    nodo->replaceChild(victima, siguiente);
    std::vector<XmlNode *> renombrados;
    for (int j = index + 1; j < cantidad; ++j)
        renombrados.push_back(nodo->firstChildElement(prefijo + QString::number(j)));
    for (int j = index + 1; j < cantidad; ++j) {
        if (XmlNode *entrada = renombrados[size_t(j - index - 1)])
            entrada->setTag(prefijo + QString::number(j - 1));
    }
}

QString XmlHandler::getEntrada(const QString &listaTag, const QString &entradaId) const
{
    return textoDe(hijo(lista(listaTag), entradaId));
}

int XmlHandler::cantidadEntradas(const QString &listaTag) const
{
    return cantidadHijos(lista(listaTag));
}

QStringList XmlHandler::getNombresEntradas(const QString &listaTag, const QString &prefijo) const
{
    const XmlNode *nodo = lista(listaTag);
    QStringList nombres;
    const int cantidad = cantidadHijos(nodo);
    for (int k = 0; k < cantidad; ++k) {
        const XmlNode *entrada = nodo->firstChildElement(prefijo + QString::number(k));
        nombres << (entrada ? entrada->text() : QString());
    }
    return nombres;
}

void XmlHandler::addNuevoEvento(const QString &nombre)
{
    addEntrada(QStringLiteral("eventos"), IdsProyecto::prefijoEvento(), nombre);
}

void XmlHandler::borrarEvento(int index)
{
    borrarEntrada(QStringLiteral("eventos"), IdsProyecto::prefijoEvento(), index);
}

QString XmlHandler::getContenidoEvento(const QString &eventoId) const
{
    return getEntrada(QStringLiteral("eventos"), eventoId);
}

int XmlHandler::cantidadEventos() const
{
    return cantidadEntradas(QStringLiteral("eventos"));
}

QStringList XmlHandler::getNombresEventosDefinidos() const
{
    return getNombresEntradas(QStringLiteral("eventos"), IdsProyecto::prefijoEvento());
}

void XmlHandler::addNuevaAccion(const QString &nombre)
{
    addEntrada(QStringLiteral("acciones"), IdsProyecto::prefijoAccion(), nombre);
}

void XmlHandler::borrarAccion(int index)
{
    borrarEntrada(QStringLiteral("acciones"), IdsProyecto::prefijoAccion(), index);
}

QString XmlHandler::getContenidoAccion(const QString &accionId) const
{
    return getEntrada(QStringLiteral("acciones"), accionId);
}

int XmlHandler::cantidadAcciones() const
{
    return cantidadEntradas(QStringLiteral("acciones"));
}

QStringList XmlHandler::getNombresAccionesDefinidas() const
{
    return getNombresEntradas(QStringLiteral("acciones"), IdsProyecto::prefijoAccion());
}

void XmlHandler::addNuevaVariable(const QString &nombre)
{
    addEntrada(QStringLiteral("variables"), IdsProyecto::prefijoVariable(), nombre);
}

void XmlHandler::borrarVariable(int index)
{
    borrarEntrada(QStringLiteral("variables"), IdsProyecto::prefijoVariable(), index);
}

QString XmlHandler::getContenidoVariable(const QString &variableId) const
{
    return getEntrada(QStringLiteral("variables"), variableId);
}

int XmlHandler::cantidadVariables() const
{
    return cantidadEntradas(QStringLiteral("variables"));
}

QStringList XmlHandler::getNombresVariablesDefinidas() const
{
    return getNombresEntradas(QStringLiteral("variables"), IdsProyecto::prefijoVariable());
}

void XmlHandler::addNuevaConstante(const QString &nombre)
{
    addEntrada(QStringLiteral("constantes"), IdsProyecto::prefijoConstante(), nombre);
}

QString XmlHandler::getContenidoConstante(const QString &constanteId) const
{
    return getEntrada(QStringLiteral("constantes"), constanteId);
}

int XmlHandler::cantidadConstantes() const
{
    return cantidadEntradas(QStringLiteral("constantes"));
}

QStringList XmlHandler::getNombresConstantesDefinidas() const
{
    return getNombresEntradas(QStringLiteral("constantes"), IdsProyecto::prefijoConstante());
}
