#include "proyectotexto.h"

#include "testsupport.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

namespace {

struct Tr
{
    QString disparador;
    QString acciones;
    QString destino;
};

struct Est
{
    QString nombre;
    QVector<Tr> transiciones;
};

struct Maq
{
    QString nombre;
    QString inicial;
    QString accionesIniciales;
    QVector<Est> estados;

    int indice(const QString &estado)
    {
        for (int i = 0; i < estados.size(); ++i) {
            if (estados.at(i).nombre == estado)
                return i;
        }
        estados.append({estado, {}});
        return estados.size() - 1;
    }
};

QString escapar(const QString &texto)
{
    return texto.toHtmlEscaped();
}

void agregar(QStringList &lista, const QString &nombre)
{
    if (!nombre.isEmpty() && !lista.contains(nombre))
        lista.append(nombre);
}

void declarar(const QString &disparador, const QString &acciones, QStringList &eventos, QStringList &llamadas,
              QStringList &variables)
{
    static const QRegularExpression comparacion(QStringLiteral("([A-Za-z_]\\w*) (==|!=|>=|<=|>|<) "));
    static const QRegularExpression palabra(QStringLiteral("[A-Za-z_]\\w*"));
    QString resto = disparador;
    for (auto it = comparacion.globalMatch(disparador); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        agregar(variables, m.captured(1));
        resto.replace(m.capturedStart(), m.capturedLength(), QString(m.capturedLength(), QLatin1Char(' ')));
    }
    static const QRegularExpression valor(QStringLiteral("  +\\S+"));
    resto.replace(valor, QStringLiteral(" "));
    for (auto it = palabra.globalMatch(resto); it.hasNext();)
        agregar(eventos, it.next().captured());
    for (const QString &entrada : acciones.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString e = entrada.trimmed();
        if (e.endsWith(QLatin1String("()")))
            agregar(llamadas, e);
        else
            agregar(variables, e.section(QLatin1Char(' '), 0, 0));
    }
}

QString lista(const char *etiqueta, const char *prefijo, const QStringList &nombres)
{
    QString texto = QStringLiteral("    <%1>\n").arg(QLatin1String(etiqueta));
    for (int i = 0; i < nombres.size(); ++i)
        texto += QStringLiteral("        <%1%2>%3</%1%2>\n")
                     .arg(QLatin1String(prefijo), QString::number(i), escapar(nombres.at(i)));
    return texto + QStringLiteral("    </%1>\n").arg(QLatin1String(etiqueta));
}

} // namespace

namespace ProyectoTexto {

QByteArray vro(const QString &descripcion, const QString &nombre)
{
    QVector<Maq> maquinas;
    static const QRegularExpression flecha(QStringLiteral("^(\\S+) -> (\\S+) : (.*?)(?: / (.*))?$"));
    for (const QString &cruda : descripcion.split(QLatin1Char('\n'))) {
        const QString linea = cruda.trimmed();
        if (linea.isEmpty())
            continue;
        if (linea.startsWith(QLatin1String("maquina "))) {
            maquinas.append({linea.mid(8), QString(), QString(), {}});
            continue;
        }
        Maq &maquina = maquinas.last();
        if (linea.startsWith(QLatin1String("inicial "))) {
            maquina.inicial = linea.mid(8).section(QStringLiteral(" / "), 0, 0);
            maquina.accionesIniciales = linea.section(QStringLiteral(" / "), 1);
            maquina.indice(maquina.inicial);
        } else if (linea.startsWith(QLatin1String("estado "))) {
            maquina.indice(linea.mid(7));
        } else {
            const QRegularExpressionMatch m = flecha.match(linea);
            const int desde = maquina.indice(m.captured(1));
            maquina.indice(m.captured(2));
            maquina.estados[desde].transiciones.append({m.captured(3), m.captured(4), m.captured(2)});
        }
    }
    QStringList eventos, acciones, variables;
    QString texto = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<proyecto>\n    <general>\n"
                                   "        <nombre>%1</nombre>\n        <autores>PRUEBA</autores>\n"
                                   "        <creacion>05-03-2024 10:15:00</creacion>\n"
                                   "        <modificacion>05-03-2024 10:15:00</modificacion>\n"
                                   "        <carpeta>/tmp</carpeta>\n    </general>\n"
                                   "    <configuracion>\n        <hardware/>\n        <target/>\n"
                                   "    </configuracion>\n    <recursos>\n        <archivosC/>\n"
                                   "        <archivosH/>\n    </recursos>\n    <maquinas>\n")
                        .arg(escapar(nombre));
    for (int k = 0; k < maquinas.size(); ++k) {
        Maq &m = maquinas[k];
        texto += QStringLiteral("        <maquina%1>\n            <nombre>%2</nombre>\n")
                     .arg(QString::number(k), escapar(m.nombre));
        if (!m.inicial.isEmpty()) {
            declarar(QString(), m.accionesIniciales, eventos, acciones, variables);
            texto += QStringLiteral(
                         "            <estadoInicial>\n                <pos_x>-200</pos_x>\n"
                         "                <pos_y>-100</pos_y>\n"
                         "                <idAcciones>%1</idAcciones>\n"
                         "                <idProxEstado>estado%2</idProxEstado>\n"
                         "                <midPos>0,0</midPos>\n                <textPos>0,0</textPos>\n"
                         "            </estadoInicial>\n")
                         .arg(escapar(m.accionesIniciales), QString::number(m.indice(m.inicial)));
        } else {
            texto += QStringLiteral("            <estadoInicial/>\n");
        }
        for (int i = 0; i < m.estados.size(); ++i) {
            const Est e = m.estados.at(i);
            texto +=
                QStringLiteral("            <estado%1>\n                <diagrama>\n"
                               "                    <nombre>%2</nombre>\n"
                               "                    <color>#ffffff</color>\n"
                               "                    <pos_x>%3</pos_x>\n                    <pos_y>0</pos_y>\n"
                               "                    <ancho>120</ancho>\n                    <alto>60</alto>\n"
                               "                </diagrama>\n                <transiciones>\n")
                    .arg(QString::number(i), escapar(e.nombre), QString::number(200 * i));
            for (int j = 0; j < e.transiciones.size(); ++j) {
                const Tr &t = e.transiciones.at(j);
                declarar(t.disparador, t.acciones, eventos, acciones, variables);
                texto += QStringLiteral("                    <tr%1>\n"
                                        "                        <idEvento>%2</idEvento>\n"
                                        "                        <idAcciones>%3</idAcciones>\n"
                                        "                        <idProxEstado>estado%4</idProxEstado>\n"
                                        "                        <midPos>0,0</midPos>\n"
                                        "                        <textPos>0,0</textPos>\n"
                                        "                    </tr%1>\n")
                             .arg(QString::number(j), escapar(t.disparador), escapar(t.acciones),
                                  QString::number(m.indice(t.destino)));
            }
            texto += QStringLiteral("                </transiciones>\n            </estado%1>\n")
                         .arg(QString::number(i));
        }
        texto += QStringLiteral("        </maquina%1>\n").arg(QString::number(k));
    }
    texto += QStringLiteral("    </maquinas>\n") + lista("eventos", "ev", eventos) +
             lista("acciones", "acc", acciones) + lista("variables", "var", variables) +
             lista("constantes", "cons", {QStringLiteral("TRUE"), QStringLiteral("FALSE")}) +
             QStringLiteral("</proyecto>\n");
    return texto.toUtf8();
}

bool escribir(const QString &ruta, const QString &descripcion)
{
    return TestSupport::writeFile(ruta, vro(descripcion));
}

bool cargar(const QString &descripcion, XmlHandler *datos)
{
    QByteArray contenido = vro(descripcion);
    QBuffer buffer(&contenido);
    return buffer.open(QIODevice::ReadOnly) && datos->load(&buffer);
}

} // namespace ProyectoTexto
