#include "xmlhandler.h"

// Placeholder bodies: the real document lands with the model work.
#pragma GCC diagnostic ignored "-Wunused-parameter"

XmlHandler::XmlHandler() {}
XmlHandler::XmlHandler(const QString &, XmlType) {}
bool XmlHandler::load(QIODevice *device)
{
    return false;
}

bool XmlHandler::save()
{
    return false;
}

QByteArray XmlHandler::toByteArray() const
{
    return {};
}

bool XmlHandler::setContenidoGeneral(const QString &tagName, const QString &contenido)
{
    return false;
}

QString XmlHandler::getContenidoGeneral(const QString &tagName) const
{
    return QStringLiteral("-1");
}

void XmlHandler::addNuevaMaquina(const QString &maquinaId) {}

void XmlHandler::addInfoMaquina(const QString &maquinaId, const QString &nombre) {}

bool XmlHandler::setContenidoMaquina(const QString &maquinaId, const QString &tagName,
                                     const QString &contenido)
{
    return false;
}

QString XmlHandler::getContenidoMaquina(const QString &maquinaId, const QString &tagName) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadMaquinas() const
{
    return -1;
}

void XmlHandler::borrarMaquinas() {}

void XmlHandler::addNuevoEstado(const QString &estadoId, const QString &maquinaId) {}

void XmlHandler::addInfoEstado(const QString &estadoId, const QString &nombre, const QString &color,
                               const QString &pos_x, const QString &pos_y, const QString &ancho,
                               const QString &alto, const QString &maquinaId)
{}

bool XmlHandler::setContenidoEstado(const QString &estadoId, const QString &tagName,
                                    const QString &subTagName, const QString &contenido,
                                    const QString &maquinaId)
{
    return false;
}

QString XmlHandler::getContenidoEstado(const QString &estadoId, const QString &tagName,
                                       const QString &subTagName, const QString &maquinaId) const
{
    return QStringLiteral("-1");
}

QString XmlHandler::getContenidoDiagrama(const QString &estadoId, const QString &subTagName,
                                         const QString &maquinaId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadEstados(const QString &maquinaId) const
{
    return -1;
}

bool XmlHandler::setInfoEstadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                                      const QString &proxEstadoId, const QString &midPos,
                                      const QString &textPos, const QString &maquinaId)
{
    return false;
}

bool XmlHandler::setContenidoInicial(const QString &tagName, const QString &contenido,
                                     const QString &maquinaId)
{
    return false;
}

QString XmlHandler::getContenidoInicial(const QString &tagName, const QString &maquinaId) const
{
    return QStringLiteral("-1");
}

QString XmlHandler::getEstadoInicial(const QString &maquinaId) const
{
    return QStringLiteral("-1");
}

void XmlHandler::borrarEstadoInicial(const QString &maquinaId) {}

bool XmlHandler::setContenidoTransicion(const QString &estadoId, const QString &transId,
                                        const QString &subTagName, const QString &contenido,
                                        const QString &maquinaId)
{
    return false;
}

void XmlHandler::addNuevaTransicion(const QString &estadoId, const QString &transId, const QString &evento,
                                    const QString &accion, const QString &proxEstadoId, const QString &midPos,
                                    const QString &textPos, const QString &maquinaId)
{}

QString XmlHandler::getContenidoTransicion(const QString &estadoId, const QString &transId,
                                           const QString &tagName, const QString &maquinaId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadTransiciones(const QString &estadoId, const QString &maquinaId) const
{
    return -1;
}

void XmlHandler::addNuevoEvento(const QString &nombre) {}

void XmlHandler::borrarEvento(int index) {}

QString XmlHandler::getContenidoEvento(const QString &eventoId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadEventos() const
{
    return -1;
}

QStringList XmlHandler::getNombresEventosDefinidos() const
{
    return {};
}

void XmlHandler::addNuevaAccion(const QString &nombre) {}

void XmlHandler::borrarAccion(int index) {}

QString XmlHandler::getContenidoAccion(const QString &accionId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadAcciones() const
{
    return -1;
}

QStringList XmlHandler::getNombresAccionesDefinidas() const
{
    return {};
}

void XmlHandler::addNuevaVariable(const QString &nombre) {}

void XmlHandler::borrarVariable(int index) {}

QString XmlHandler::getContenidoVariable(const QString &variableId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadVariables() const
{
    return -1;
}

QStringList XmlHandler::getNombresVariablesDefinidas() const
{
    return {};
}

void XmlHandler::addNuevaConstante(const QString &nombre) {}

QString XmlHandler::getContenidoConstante(const QString &constanteId) const
{
    return QStringLiteral("-1");
}

int XmlHandler::cantidadConstantes() const
{
    return -1;
}

QStringList XmlHandler::getNombresConstantesDefinidas() const
{
    return {};
}
