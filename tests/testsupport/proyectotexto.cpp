#include "proyectotexto.h"

#include "xmlhandler.h"

#include <QHash>
#include <QStringList>

namespace TestSupport {

namespace {

const QString kSeparadorAcciones = QStringLiteral(" / ");

// Text before " / " and the actions after it (empty when there are none).
QPair<QString, QString> cortarAcciones(const QString &texto)
{
    const int barra = texto.indexOf(kSeparadorAcciones);
    if (barra < 0)
        return {texto, QString()};
    return {texto.left(barra), texto.mid(barra + kSeparadorAcciones.size())};
}

class Constructor
{
public:
    explicit Constructor(XmlHandler &datos) : m_datos(datos) {}

    void linea(const QString &linea)
    {
        const QString palabra = linea.section(QLatin1Char(' '), 0, 0);
        const QString resto = linea.section(QLatin1Char(' '), 1);
        const QStringList nombres = resto.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (palabra == QLatin1String("maquina"))
            maquina(resto);
        else if (palabra == QLatin1String("estado"))
            estado(resto);
        else if (palabra == QLatin1String("inicial"))
            inicial(resto);
        else if (palabra == QLatin1String("eventos"))
            for (const QString &n : nombres)
                m_datos.addNuevoEvento(n);
        else if (palabra == QLatin1String("acciones"))
            for (const QString &n : nombres)
                m_datos.addNuevaAccion(n);
        else if (palabra == QLatin1String("variables"))
            for (const QString &n : nombres)
                m_datos.addNuevaVariable(n);
        else if (palabra == QLatin1String("constantes"))
            for (const QString &n : nombres)
                m_datos.addNuevaConstante(n);
        else
            transicion(linea);
    }

private:
    void maquina(const QString &nombre)
    {
        m_maquina =
            QStringLiteral("maquina%1").arg(m_datos.cantidadMaquinas() < 0 ? 0 : m_datos.cantidadMaquinas());
        m_datos.addNuevaMaquina(m_maquina);
        m_datos.addInfoMaquina(m_maquina, nombre);
        m_estados.clear();
    }

    QString estado(const QString &nombre)
    {
        const auto previo = m_estados.constFind(nombre);
        if (previo != m_estados.constEnd())
            return previo.value();
        const QString id = QStringLiteral("estado%1").arg(m_estados.size());
        m_estados.insert(nombre, id);
        m_datos.addNuevoEstado(id, m_maquina);
        m_datos.addInfoEstado(id, nombre, QStringLiteral("#ffffff"), QStringLiteral("0"), QStringLiteral("0"),
                              QStringLiteral("120"), QStringLiteral("60"), m_maquina);
        return id;
    }

    void inicial(const QString &texto)
    {
        const auto partes = cortarAcciones(texto);
        m_datos.setInfoEstadoInicial(QStringLiteral("0"), QStringLiteral("0"), partes.second,
                                     estado(partes.first.trimmed()), QStringLiteral("0,0"),
                                     QStringLiteral("0,0"), m_maquina);
    }

    void transicion(const QString &texto)
    {
        const QString desde = texto.section(QStringLiteral(" -> "), 0, 0).trimmed();
        const QString resto = texto.section(QStringLiteral(" -> "), 1);
        const QString hasta = resto.section(QStringLiteral(" : "), 0, 0).trimmed();
        const auto partes = cortarAcciones(resto.section(QStringLiteral(" : "), 1));
        const QString desdeId = estado(desde);
        const QString hastaId = estado(hasta);
        const int cantidad = qMax(m_datos.cantidadTransiciones(desdeId, m_maquina), 0);
        m_datos.addNuevaTransicion(desdeId, QStringLiteral("tr%1").arg(cantidad), partes.first, partes.second,
                                   hastaId, QStringLiteral("0,0"), QStringLiteral("0,0"), m_maquina);
    }

    XmlHandler &m_datos;
    QString m_maquina = QStringLiteral("maquina0");
    QHash<QString, QString> m_estados;
};

} // namespace

std::unique_ptr<XmlHandler> proyectoDesdeTexto(const QString &texto)
{
    auto datos = std::make_unique<XmlHandler>(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    datos->setContenidoGeneral(QStringLiteral("autores"), QStringLiteral("ANA"));
    datos->setContenidoGeneral(QStringLiteral("modificacion"), QStringLiteral("01-02-2024 10:00:00"));
    datos->addNuevaConstante(QStringLiteral("TRUE"));
    datos->addNuevaConstante(QStringLiteral("FALSE"));
    Constructor constructor(*datos);
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (const QString &linea : lineas) {
        if (!linea.trimmed().isEmpty())
            constructor.linea(linea.trimmed());
    }
    return datos;
}

} // namespace TestSupport
