#include "proyectodescrito.h"

#include "descripcionproyecto.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

void agregar(QStringList &lista, const QString &nombre)
{
    if (!nombre.isEmpty() && !lista.contains(nombre))
        lista.append(nombre);
}

// Declares the names a trigger and an action list use: compared and
// assigned variables, called actions, and the other words as events.
void declarar(const QString &disparador, const QString &acciones, DescripcionProyecto &proyecto)
{
    static const QRegularExpression comparacion(QStringLiteral("([A-Za-z_]\\w*) (==|!=|>=|<=|>|<) (\\S+)"));
    static const QRegularExpression palabra(QStringLiteral("[A-Za-z_]\\w*"));
    QString resto = disparador;
    for (auto it = comparacion.globalMatch(disparador); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        agregar(proyecto.variables, m.captured(1));
        resto.replace(m.capturedStart(), m.capturedLength(), QString(m.capturedLength(), QLatin1Char(' ')));
    }
    for (auto it = palabra.globalMatch(resto); it.hasNext();)
        agregar(proyecto.eventos, it.next().captured());
    for (const QString &entrada : acciones.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString e = entrada.trimmed();
        if (e.endsWith(QLatin1String("()")))
            agregar(proyecto.acciones, e);
        else
            agregar(proyecto.variables, e.section(QLatin1Char(' '), 0, 0));
    }
}

// A catalogue line ("eventos a b"); false when the line is something else.
bool catalogo(const QString &linea, DescripcionProyecto &proyecto)
{
    QStringList *const listas[] = {&proyecto.eventos, &proyecto.acciones, &proyecto.variables,
                                   &proyecto.constantes};
    const char *const nombres[] = {"eventos", "acciones", "variables", "constantes"};
    const QString palabra = linea.section(QLatin1Char(' '), 0, 0);
    for (int i = 0; i < 4; ++i) {
        if (palabra != QLatin1String(nombres[i]))
            continue;
        for (const QString &nombre :
             linea.section(QLatin1Char(' '), 1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            agregar(*listas[i], nombre);
        return true;
    }
    return false;
}

int indice(DescripcionProyecto::Maquina &maquina, const QString &estado)
{
    for (int i = 0; i < maquina.estados.size(); ++i) {
        if (maquina.estados.at(i).nombre == estado)
            return i;
    }
    maquina.estados.append({estado, {}});
    return maquina.estados.size() - 1;
}

} // namespace

namespace ProyectoDescrito {

QByteArray vro(const QString &descripcion)
{
    static const QRegularExpression flecha(QStringLiteral("^(\\S+) -> (\\S+) : (.*?)(?: / (.*))?$"));
    DescripcionProyecto proyecto;
    proyecto.nombre = QStringLiteral("prueba");
    for (const QString &cruda : descripcion.split(QLatin1Char('\n'))) {
        const QString linea = cruda.trimmed();
        if (linea.isEmpty() || catalogo(linea, proyecto))
            continue;
        if (linea.startsWith(QLatin1String("maquina "))) {
            proyecto.maquinas.append({linea.mid(8), -1, QString(), {}});
            continue;
        }
        DescripcionProyecto::Maquina &maquina = proyecto.maquinas.last();
        if (linea.startsWith(QLatin1String("inicial "))) {
            maquina.inicial = indice(maquina, linea.mid(8).section(QStringLiteral(" / "), 0, 0));
            maquina.accionesIniciales = linea.section(QStringLiteral(" / "), 1);
            declarar(QString(), maquina.accionesIniciales, proyecto);
        } else if (linea.startsWith(QLatin1String("estado "))) {
            indice(maquina, linea.mid(7));
        } else {
            const QRegularExpressionMatch m = flecha.match(linea);
            const int desde = indice(maquina, m.captured(1));
            const int hasta = indice(maquina, m.captured(2));
            maquina.estados[desde].transiciones.append({m.captured(3), m.captured(4), hasta});
            declarar(m.captured(3), m.captured(4), proyecto);
        }
    }
    return proyecto.xml();
}

bool escribir(const QString &ruta, const QString &descripcion)
{
    return TestSupport::writeFile(ruta, vro(descripcion));
}

bool cargar(const QString &descripcion, XmlHandler *datos)
{
    return TestSupport::cargar(*datos, vro(descripcion));
}

std::unique_ptr<XmlHandler> documento(const QString &proyecto)
{
    auto datos = std::make_unique<XmlHandler>();
    const bool leido =
        proyecto.endsWith(QLatin1String(".vro"))
            ? TestSupport::cargar(*datos, TestSupport::readFile(QFileInfo(proyecto).isAbsolute()
                                                                    ? proyecto
                                                                    : TestSupport::dataPath(proyecto)))
            : cargar(proyecto, datos.get());
    return leido ? std::move(datos) : nullptr;
}

} // namespace ProyectoDescrito
