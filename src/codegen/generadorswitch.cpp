// Files are built from many small pieces; concatenate them without temporaries.
#define QT_USE_QSTRINGBUILDER

#include "generadorswitch.h"

#include "fragmentosc.h"

GeneradorSwitch::GeneradorSwitch(const Proyecto &proyecto) : m_proyecto(proyecto) {}

QString GeneradorSwitch::crearSwitch(const QString &variable)
{
    return QStringLiteral("\t\tswitch(") + variable + QStringLiteral(")\n\t\t{\n");
}

QString GeneradorSwitch::agregarCase(const QString &estado)
{
    return QStringLiteral("\t\t\tcase ") + estado + QStringLiteral(":\n\t\t\t\n");
}

QString GeneradorSwitch::cerrarCase()
{
    return QStringLiteral("\n\t\t\t\tbreak;\n\t\t\t\n");
}

QString GeneradorSwitch::cerrarSwitch()
{
    return QStringLiteral("\n\t\t}\n");
}

// The template's own "break" ends the step once the block has set the state:
// a machine takes at most one transition per step, the first whose trigger
// holds, in the order the state lists them.
QString GeneradorSwitch::agregarTransicion(const ExpresionDisparo &disparador, const QString &acciones,
                                           const QString &estadoDestino, int maquina, int estado,
                                           int transicion)
{
    QString textoAcciones;
    if (!acciones.contains(QLatin1Char(','))) {
        if (!acciones.isEmpty())
            textoAcciones = acciones + QLatin1Char(';');
    } else {
        const QStringList entradas = acciones.split(QLatin1Char(','));
        for (int i = 0; i < entradas.size(); ++i) {
            const QString &entrada = entradas.at(i);
            const bool ultima = i == entradas.size() - 1;
            if (FragmentosC::esAsignacion(entrada))
                textoAcciones += entrada + (ultima ? QStringLiteral(";\n") : QStringLiteral(";\n\t\t\t\t\t"));
            else
                textoAcciones += FragmentosC::nombreAccion(entrada) + QStringLiteral("( );\n\t\t\t\t\t");
        }
    }
    const QString info = QString::number(maquina) + QStringLiteral(" , ") + QString::number(estado) +
                         QStringLiteral(" , ") + QString::number(transicion);
    return FragmentosC::plantillaTransicion(FragmentosC::condicion(disparador), textoAcciones, estadoDestino,
                                            info);
}

QString GeneradorSwitch::textoMaquina(int k) const
{
    const Maquina &maquina = m_proyecto.maquina(k);
    const QString inicial = FragmentosC::nombreInicial(maquina).toUpper();
    QString texto;
    texto.reserve(256 + maquina.estados.size() * 2048);
    texto += QStringLiteral("void maquina_") + maquina.nombre + QStringLiteral("()\n{\n");
    texto += QStringLiteral("\t\tstatic int estado = ") + inicial + QStringLiteral(";\n");
    const QString arranque =
        FragmentosC::bloqueInicial(maquina.inicial.acciones.texto(), QStringLiteral("\t\t"));
    if (!arranque.isEmpty())
        texto += QStringLiteral("\t\tstatic int iniciada = 0;\n\n") + arranque;
    texto += QLatin1Char('\n') + crearSwitch(QStringLiteral("estado"));
    for (int i = 0; i < maquina.estados.size(); ++i) {
        const Estado &estado = maquina.estados.at(i);
        texto += agregarCase(estado.nombre.toUpper());
        for (int j = 0; j < estado.transiciones.size(); ++j) {
            const Transicion &tr = estado.transiciones.at(j);
            texto += agregarTransicion(tr.disparador, tr.acciones.texto(),
                                       FragmentosC::nombreDestino(maquina, tr).toUpper(), k, i, j);
        }
        texto += cerrarCase();
    }
    texto += QStringLiteral("\t\t\tdefault: estado = ") + inicial + QLatin1Char(';');
    texto += cerrarSwitch() + QStringLiteral("\n\n}");
    return texto;
}

QStringList GeneradorSwitch::textosMaquinas() const
{
    QStringList textos;
    for (int k = 0; k < m_proyecto.cantidadMaquinas(); ++k)
        textos.append(textoMaquina(k));
    return textos;
}

QString GeneradorSwitch::textoMain() const
{
    QString texto =
        encabezadoArchivo(QStringLiteral("main.c"), QStringLiteral("Resumen del contenido del archivo")) +
        QLatin1Char('\n');
    texto += QStringLiteral("\n#include \"funciones.h\"\n");
    texto += FragmentosC::declararVariablesExternas(m_proyecto.variables()) + QStringLiteral("\n\n");
    texto += QStringLiteral("\nvoid main(void)\n{\n");
    texto += QStringLiteral("\n//declaracion de variables\n//inicializacion de perifericos\n\n");
    texto += QStringLiteral("\tinicializar() ;\n\n");
    texto += QStringLiteral("\n\twhile(1)\n\t{\n\n");
    for (const Maquina &maquina : m_proyecto.maquinas())
        texto += QStringLiteral("\t\tmaquina_") + maquina.nombre + QStringLiteral("();\n\n");
    texto += QStringLiteral("\n\t}\n}\n");
    return texto;
}

QString GeneradorSwitch::textoFunciones(const QStringList &textosMaquinas) const
{
    int tamano = 8192;
    for (const QString &maquina : textosMaquinas)
        tamano += maquina.size() + 256;
    QString texto;
    texto.reserve(tamano);
    texto += FragmentosC::textoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_MdeE.c"), QStringLiteral("Implementacion switch-case")) +
             QStringLiteral("\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral("#include \"AP_MdeE.h\" \n#include \"AP_FuncionesMdeE.h\" \n"
                            "#include \"AP_Depuracion.h\" \n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') +
             FragmentosC::banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    // main.c declares the variables extern; they are defined here, where the
    // transitions use them.
    if (!m_proyecto.variables().isEmpty())
        texto += FragmentosC::declararVariables(m_proyecto.variables()) + QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto +=
        QLatin1Char('\n') + FragmentosC::banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n");
    for (int k = 0; k < textosMaquinas.size() && k < m_proyecto.cantidadMaquinas(); ++k) {
        texto += FragmentosC::encabezadoFuncion(QStringLiteral("void maquina_") +
                                                    m_proyecto.maquina(k).nombre + QStringLiteral("()"),
                                                QStringLiteral("Implementacion switch-case"), QString(),
                                                m_proyecto.autores(), m_proyecto.modificacion()) +
                 QLatin1Char('\n');
        texto += textosMaquinas.at(k) + QStringLiteral("\n\n");
    }
    return texto;
}

QString GeneradorSwitch::encabezadoArchivo(const QString &archivo, const QString &resumen) const
{
    return FragmentosC::encabezadoArchivo(archivo, resumen, m_proyecto.autores(), m_proyecto.modificacion());
}
