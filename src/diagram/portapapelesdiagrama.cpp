#include "portapapelesdiagrama.h"

#include "arrow.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "maquinaxml.h"
#include "usagerules.h"
#include "xmlhandler.h"

#include <QBuffer>

namespace {

const QString kMaquina = QStringLiteral("maquina0");

struct Usos
{
    QStringList eventos;
    QStringList acciones;
    QStringList variables;
};

// The catalogue entries the transitions among estados use, in catalogue order.
Usos usosDe(const QList<DiagramItem *> &estados, const XmlHandler &catalogo)
{
    QVector<UsageRules::TransitionText> textos;
    for (const DiagramItem *estado : estados) {
        const QList<Arrow *> flechas = estado->arrows();
        for (const Arrow *flecha : flechas) {
            if (flecha->startItem() == estado && estados.contains(flecha->endItem()))
                textos.append({flecha->event(), flecha->actions()});
        }
    }
    Usos usos;
    for (const QString &evento : catalogo.getNombresEventosDefinidos()) {
        if (UsageRules::eventUsedByAny(textos, evento))
            usos.eventos << evento;
    }
    for (const QString &accion : catalogo.getNombresAccionesDefinidas()) {
        if (UsageRules::actionUsedByAny(textos, accion))
            usos.acciones << accion;
    }
    for (const QString &variable : catalogo.getNombresVariablesDefinidas()) {
        if (UsageRules::variableUsedByAny(textos, variable))
            usos.variables << variable;
    }
    return usos;
}

QStringList declararFaltantes(const XmlHandler &fragmento, XmlHandler &catalogo)
{
    QStringList declarados;
    const QStringList eventos = catalogo.getNombresEventosDefinidos();
    for (const QString &evento : fragmento.getNombresEventosDefinidos()) {
        if (!eventos.contains(evento)) {
            catalogo.addNuevoEvento(evento);
            declarados << evento;
        }
    }
    const QStringList acciones = catalogo.getNombresAccionesDefinidas();
    for (const QString &accion : fragmento.getNombresAccionesDefinidas()) {
        if (!acciones.contains(accion)) {
            catalogo.addNuevaAccion(accion);
            declarados << accion;
        }
    }
    const QStringList variables = catalogo.getNombresVariablesDefinidas();
    for (const QString &variable : fragmento.getNombresVariablesDefinidas()) {
        if (!variables.contains(variable)) {
            catalogo.addNuevaVariable(variable);
            declarados << variable;
        }
    }
    return declarados;
}

QPointF centroDe(const QList<DiagramItem *> &estados)
{
    QRectF area;
    for (const DiagramItem *estado : estados)
        area |= estado->sceneBoundingRect();
    return area.center();
}

} // namespace

const char *const PortapapelesDiagrama::MIME = "application/x-vireo-fragmento";

QByteArray PortapapelesDiagrama::copiar(const QList<DiagramItem *> &estados, const XmlHandler &catalogo)
{
    QList<DiagramItem *> simples;
    for (DiagramItem *estado : estados) {
        if (estado->diagramType() == DiagramItem::EstadoSimple)
            simples << estado;
    }
    if (simples.isEmpty())
        return QByteArray();
    XmlHandler fragmento(QStringLiteral("fragmento"), XmlHandler::NUEVO_XML_DATOS);
    fragmento.addNuevaMaquina(kMaquina);
    fragmento.addInfoMaquina(kMaquina, QStringLiteral("fragmento"));
    MaquinaXml(fragmento, kMaquina).guardarEstados(simples);
    const Usos usos = usosDe(simples, catalogo);
    for (const QString &evento : usos.eventos)
        fragmento.addNuevoEvento(evento);
    for (const QString &accion : usos.acciones)
        fragmento.addNuevaAccion(accion);
    for (const QString &variable : usos.variables)
        fragmento.addNuevaVariable(variable);
    return fragmento.toByteArray();
}

PortapapelesDiagrama::Pegado
PortapapelesDiagrama::pegar(const QByteArray &bytes, DiagramScene *scene, XmlHandler &catalogo, QMenu *menu,
                            const std::function<QString(const QString &)> &nombreLibre, const QPointF *centro,
                            const QPointF &desplazamiento)
{
    Pegado pegado;
    XmlHandler fragmento;
    QByteArray copia = bytes;
    QBuffer buffer(&copia);
    if (!buffer.open(QIODevice::ReadOnly) || !fragmento.load(&buffer) ||
        fragmento.cantidadEstados(kMaquina) <= 0)
        return pegado;

    const MaquinaXml maquina(fragmento, kMaquina, menu);
    pegado.estados = maquina.cargarEstados(scene);
    maquina.cargarTransiciones(scene, pegado.estados);

    const QPointF delta = centro ? *centro - centroDe(pegado.estados) : desplazamiento;
    for (DiagramItem *estado : qAsConst(pegado.estados)) {
        const QString original = estado->name();
        estado->setName(QString());
        estado->setName(nombreLibre(original));
        estado->setPos(estado->pos() + delta);
        const QList<Arrow *> flechas = estado->arrows();
        for (Arrow *flecha : flechas) {
            if (flecha->startItem() == estado)
                flecha->setControlPoint(flecha->controlPoint() + delta);
        }
    }
    for (DiagramItem *estado : qAsConst(pegado.estados)) {
        const QList<Arrow *> flechas = estado->arrows();
        for (Arrow *flecha : flechas)
            flecha->updatePosition();
    }
    pegado.declarados = declararFaltantes(fragmento, catalogo);
    return pegado;
}
