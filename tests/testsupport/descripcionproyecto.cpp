#include "descripcionproyecto.h"

namespace {

QString escapar(const QString &texto)
{
    return texto.toHtmlEscaped();
}

QString elemento(const QString &tag, const QString &texto)
{
    return texto.isEmpty() ? QStringLiteral("<%1/>").arg(tag)
                           : QStringLiteral("<%1>%2</%1>").arg(tag, escapar(texto));
}

QString lista(const QString &tag, const QString &prefijo, const QStringList &nombres)
{
    QString texto = QStringLiteral("<%1>").arg(tag);
    for (int i = 0; i < nombres.size(); ++i)
        texto += elemento(prefijo + QString::number(i), nombres.at(i));
    return texto + QStringLiteral("</%1>\n").arg(tag);
}

QString maquina(const DescripcionProyecto::Maquina &m, int k)
{
    QString texto = QStringLiteral("<maquina%1>").arg(k) + elemento(QStringLiteral("nombre"), m.nombre);
    // Vireo keeps an empty "estadoInicial" for a machine without one; the
    // document counts a machine's states by that element being there.
    if (m.inicial < 0) {
        texto += QStringLiteral("<estadoInicial/>");
    } else {
        texto += QStringLiteral("<estadoInicial><pos_x>-100</pos_x><pos_y>-100</pos_y>") +
                 elemento(QStringLiteral("idAcciones"), m.accionesIniciales) +
                 QStringLiteral("<idProxEstado>estado%1</idProxEstado><midPos>-50,-50</midPos>"
                                "<textPos>0,0</textPos></estadoInicial>")
                     .arg(m.inicial);
    }
    for (int i = 0; i < m.estados.size(); ++i) {
        const DescripcionProyecto::Estado &estado = m.estados.at(i);
        texto += QStringLiteral("<estado%1><diagrama>").arg(i) +
                 elemento(QStringLiteral("nombre"), estado.nombre) +
                 QStringLiteral("<color>#ffffff</color><pos_x>%1</pos_x><pos_y>%2</pos_y><ancho>120</ancho>"
                                "<alto>60</alto></diagrama><transiciones>")
                     .arg((i % 10) * 200)
                     .arg((i / 10) * 150);
        for (int j = 0; j < estado.transiciones.size(); ++j) {
            const DescripcionProyecto::Transicion &tr = estado.transiciones.at(j);
            texto += QStringLiteral("<tr%1>").arg(j) + elemento(QStringLiteral("idEvento"), tr.disparador) +
                     elemento(QStringLiteral("idAcciones"), tr.acciones) +
                     QStringLiteral("<idProxEstado>estado%1</idProxEstado><midPos>0,0</midPos>"
                                    "<textPos>0,0</textPos></tr%2>")
                         .arg(tr.destino)
                         .arg(j);
        }
        texto += QStringLiteral("</transiciones></estado%1>\n").arg(i);
    }
    return texto + QStringLiteral("</maquina%1>\n").arg(k);
}

} // namespace

QByteArray DescripcionProyecto::xml() const
{
    QString texto = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<proyecto>\n<general>") +
                    elemento(QStringLiteral("nombre"), nombre) +
                    QStringLiteral("<autores>Pruebas</autores><creacion>01-01-2026 00:00:00</creacion>"
                                   "<modificacion>01-01-2026 00:00:00</modificacion><carpeta>.</carpeta>"
                                   "</general>\n<configuracion><hardware/><target/></configuracion>\n"
                                   "<recursos><archivosC/><archivosH/></recursos>\n<maquinas>\n");
    for (int k = 0; k < maquinas.size(); ++k)
        texto += maquina(maquinas.at(k), k);
    texto += QStringLiteral("</maquinas>\n") +
             lista(QStringLiteral("eventos"), QStringLiteral("ev"), eventos) +
             lista(QStringLiteral("acciones"), QStringLiteral("acc"), acciones) +
             lista(QStringLiteral("variables"), QStringLiteral("var"), variables) +
             lista(QStringLiteral("constantes"), QStringLiteral("cons"), constantes) +
             QStringLiteral("</proyecto>\n");
    return texto.toUtf8();
}
