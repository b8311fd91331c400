#include "proyectobench.h"

#include "xmlhandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QThread>
#include <algorithm>

namespace ProyectoBench {

namespace {

const char *const kMotor = R"(<?xml version="1.0" encoding="UTF-8"?>
<proyecto>
    <general><nombre>BENCH</nombre><autores/><creacion>01-01-2026 00:00:00</creacion>
        <modificacion>01-01-2026 00:00:00</modificacion><carpeta>@CARPETA@</carpeta></general>
    <configuracion><hardware/><target/></configuracion>
    <recursos><archivosC/><archivosH/></recursos>
    <maquinas>
        <maquina0>
            <nombre>motor</nombre>
            <estadoInicial><pos_x>-200</pos_x><pos_y>-100</pos_y><idAcciones></idAcciones>
                <idProxEstado>estado0</idProxEstado><midPos>-150,-75</midPos><textPos>0,0</textPos></estadoInicial>
            <estado0>
                <diagrama><nombre>apagado</nombre><color>#ffffff</color><pos_x>0</pos_x><pos_y>0</pos_y>
                    <ancho>120</ancho><alto>60</alto></diagrama>
                <transiciones>
                    <tr0><idEvento>boton</idEvento><idAcciones>encender(),cuenta = 0</idAcciones>
                        <idProxEstado>estado1</idProxEstado><midPos>100,-60</midPos><textPos>0,0</textPos></tr0>
                </transiciones>
            </estado0>
            <estado1>
                <diagrama><nombre>encendido</nombre><color>#ffffff</color><pos_x>250</pos_x><pos_y>0</pos_y>
                    <ancho>120</ancho><alto>60</alto></diagrama>
                <transiciones>
                    <tr0><idEvento>boton</idEvento><idAcciones>apagar()</idAcciones>
                        <idProxEstado>estado0</idProxEstado><midPos>100,60</midPos><textPos>0,0</textPos></tr0>
                </transiciones>
            </estado1>
        </maquina0>
    </maquinas>
    <eventos><ev0>boton</ev0></eventos>
    <acciones><acc0>encender()</acc0><acc1>apagar()</acc1></acciones>
    <variables><var0>cuenta</var0></variables>
    <constantes><cons0>TRUE</cons0><cons1>FALSE</cons1></constantes>
</proyecto>
)";

} // namespace

const char *const kTramaMotor = "41:motor,apagado,boton,encendido,encender;cuenta = 0 [motor]@";

QString escribirGrande(const QString &carpeta, const QString &nombre, int maquinas, int estados,
                       int transiciones, bool conInicial)
{
    XmlHandler doc(nombre, XmlHandler::NUEVO_XML_DATOS);
    doc.setContenidoGeneral(QStringLiteral("nombre"), nombre);
    doc.setContenidoGeneral(QStringLiteral("carpeta"), carpeta);
    for (int e = 0; e < transiciones; ++e)
        doc.addNuevoEvento(QStringLiteral("ev%1").arg(e));
    for (int k = 0; k < maquinas; ++k) {
        const QString maquina = QStringLiteral("maquina%1").arg(k);
        doc.addNuevaMaquina(maquina);
        doc.addInfoMaquina(maquina, QStringLiteral("M%1").arg(k));
        for (int i = 0; i < estados; ++i) {
            const QString estado = QStringLiteral("estado%1").arg(i);
            const double x = (i % 25) * 200.0;
            const double y = (i / 25) * 150.0;
            doc.addNuevoEstado(estado, maquina);
            doc.addInfoEstado(estado, QStringLiteral("E%1").arg(i), QStringLiteral("#e0ffff"),
                              XmlHandler::formatoNumero(x), XmlHandler::formatoNumero(y),
                              QStringLiteral("110"), QStringLiteral("65"), maquina);
            for (int j = 0; j < transiciones; ++j) {
                doc.addNuevaTransicion(
                    estado, QStringLiteral("tr%1").arg(j), QStringLiteral("ev%1").arg(j),
                    QStringLiteral("a%1()").arg(j), QStringLiteral("estado%1").arg((i + j + 1) % estados),
                    XmlHandler::formatoPunto(x + 100, y + 20.0 * j), QStringLiteral("0,0"), maquina);
            }
        }
        if (conInicial) {
            doc.setInfoEstadoInicial(QStringLiteral("-100"), QStringLiteral("-100"), QString(),
                                     QStringLiteral("estado0"), QStringLiteral("-50,-50"),
                                     QStringLiteral("0,0"), maquina);
        }
    }
    return doc.save() ? carpeta + QLatin1Char('/') + nombre + QStringLiteral(".vro") : QString();
}

QString escribirMotor(const QString &carpeta)
{
    QFile archivo(carpeta + QStringLiteral("/BENCH.vro"));
    if (!archivo.open(QIODevice::WriteOnly) ||
        archivo.write(QByteArray(kMotor).replace("@CARPETA@", carpeta.toUtf8())) < 0)
        return QString();
    return archivo.fileName();
}

quint16 puertoLibre()
{
    QTcpServer servidor;
    servidor.listen(QHostAddress::LocalHost, 0);
    return servidor.serverPort();
}

double percentil(std::vector<double> valores, int p)
{
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() * p / 100];
}

void correrHilo(QThread &hilo)
{
    QObject::connect(&hilo, &QThread::finished, qApp, &QCoreApplication::quit);
    hilo.start();
    QCoreApplication::exec();
    hilo.wait();
}

} // namespace ProyectoBench
