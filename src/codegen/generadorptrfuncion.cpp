// Files are built from many small pieces; concatenate them without temporaries.
#define QT_USE_QSTRINGBUILDER

#include "generadorptrfuncion.h"

#include "fragmentosc.h"

GeneradorPtrFuncion::GeneradorPtrFuncion(const Proyecto &proyecto) : m_proyecto(proyecto) {}

QString GeneradorPtrFuncion::agregarFuncionPtr(const QString &estado)
{
    return QStringLiteral("static void funcion_") + estado + QStringLiteral(" ( void )\n{\n");
}

QString GeneradorPtrFuncion::cerrarFuncionPtr()
{
    return QStringLiteral("}\n\n");
}

QString GeneradorPtrFuncion::agregarFuncionPtrFuncion(const ExpresionDisparo &disparador,
                                                      const QString &acciones, const QString &estadoDestino)
{
    QString bloque = QStringLiteral("\tif( ") + FragmentosC::condicion(disparador) + QStringLiteral(" )\n") +
                     QStringLiteral("\t{\n\t\t estado = ") + estadoDestino + QStringLiteral(";\n");
    if (acciones.isEmpty()) {
        bloque += QLatin1Char('\n');
    } else if (!acciones.contains(QLatin1Char(','))) {
        bloque += QStringLiteral("\t\t ") + acciones + QStringLiteral("; \n");
    } else {
        const QStringList entradas = acciones.split(QLatin1Char(','));
        for (int i = 0; i < entradas.size(); ++i) {
            const QString &entrada = entradas.at(i);
            const QString sentencia = FragmentosC::esAsignacion(entrada)
                                          ? entrada
                                          : FragmentosC::nombreAccion(entrada) + QStringLiteral("( )");
            const bool ultima = i == entradas.size() - 1;
            bloque += QStringLiteral("\t\t ") + sentencia +
                      (ultima ? QStringLiteral("; \n") : QStringLiteral(";\n\t\n"));
        }
    }
    // A machine takes at most one transition per step: the first one whose
    // trigger holds, in the order the state lists them.
    return bloque + QStringLiteral("\t\t return;\n\t}\n");
}

QString GeneradorPtrFuncion::textoFuncionesEstados() const
{
    int estados = 0;
    for (const Maquina &maquina : m_proyecto.maquinas())
        estados += maquina.estados.size();
    QString texto;
    texto.reserve(estados * 2048);
    for (const Maquina &maquina : m_proyecto.maquinas()) {
        for (const Estado &estado : maquina.estados) {
            texto += encabezadoFuncion(QStringLiteral("static void funcion_") + estado.nombre +
                                           QStringLiteral(" ( void )"),
                                       QStringLiteral("Descripcion"), QStringLiteral("Detalles")) +
                     QLatin1Char('\n');
            texto += agregarFuncionPtr(estado.nombre);
            for (const Transicion &tr : estado.transiciones) {
                texto += agregarFuncionPtrFuncion(tr.disparador, tr.acciones.texto(),
                                                  FragmentosC::nombreDestino(maquina, tr).toUpper());
            }
            texto += cerrarFuncionPtr();
        }
    }
    return texto;
}

QString GeneradorPtrFuncion::textoMain() const
{
    QString texto = FragmentosC::textoDeAdvertencia() + QLatin1Char('\n');
    texto +=
        encabezadoArchivo(QStringLiteral("main.c"), QStringLiteral("Resumen del contenido del archivo")) +
        QLatin1Char('\n');
    texto += QStringLiteral("\n#include \"AP_MdeE.h\"\n#include \"AP_Depuracion.h\"\n");
    texto += QStringLiteral("\nint main( void )\n{\n");
    texto += QStringLiteral("\t//!< Declaracion de variables\n\n\t//!< Inicializacion de Perifericos\n\n");
    texto += QStringLiteral("\tInicializacion() ;\n");
    texto += QStringLiteral("\n\twhile(1)\n\t{\n\n");
    texto += QStringLiteral("\t\tmaquina_estado();\n");
    texto += QStringLiteral("\n\t}\n");
    texto += QStringLiteral("\treturn 0;\n}\n");
    return texto;
}

QString GeneradorPtrFuncion::textoFuncionesMDE(const QString &funcionesEstados) const
{
    const QVector<Maquina> &maquinas = m_proyecto.maquinas();
    const QVector<Estado> primeros = maquinas.isEmpty() ? QVector<Estado>() : maquinas.first().estados;
    const QString inicial =
        maquinas.isEmpty() ? QString() : FragmentosC::nombreInicial(maquinas.first()).toUpper();
    const QString ultimo = primeros.isEmpty() ? QString() : primeros.last().nombre.toUpper();

    // A project without machines still gets a maquina_estado() that compiles:
    // it has no table, no state and nothing to run.
    QString tabla;
    QString prototipos;
    for (int i = 0; i < primeros.size(); ++i) {
        const QString &nombre = primeros.at(i).nombre;
        tabla += QStringLiteral("funcion_") + nombre +
                 (i + 1 < primeros.size() ? QStringLiteral(" , ") : QString());
        prototipos += QStringLiteral("static void funcion_") + nombre + QStringLiteral("( void );\n");
    }
    if (!primeros.isEmpty())
        tabla = QStringLiteral("void ( * const arrayFunciones[ ] )( void ) = { ") + tabla +
                QStringLiteral(" };\n");

    QString texto;
    texto.reserve(8192 + funcionesEstados.size() + tabla.size() + prototipos.size());
    texto += FragmentosC::textoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("MdeE.c"), QString()) + QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral(
        "#include \"AP_MdeE.h\"\n#include \"AP_FuncionesMdeE.h\"\n#include \"AP_Depuracion.h\"\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') +
             FragmentosC::banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    // The table names the state functions, so they are declared before it.
    texto += FragmentosC::banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += prototipos;
    texto += FragmentosC::banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n");
    texto += tabla + QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    texto += FragmentosC::declararVariables(m_proyecto.variables()) + QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n");
    if (!primeros.isEmpty())
        texto += QStringLiteral("static int estado = ") + inicial + QStringLiteral(";\n\n");
    texto +=
        QLatin1Char('\n') + FragmentosC::banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += funcionesEstados;
    texto += FragmentosC::banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n");
    texto += encabezadoFuncion(QStringLiteral("void maquina_estado( void )"),
                               QStringLiteral("Maquina de estado mediante vector de ptr a funcion"),
                               QStringLiteral("Detalles")) +
             QLatin1Char('\n');
    texto += QStringLiteral("void maquina_estado( void )\n{\n");
    const QString arranque =
        maquinas.isEmpty()
            ? QString()
            : FragmentosC::bloqueInicial(maquinas.first().inicial.acciones.texto(), QStringLiteral("\t"));
    if (!arranque.isEmpty())
        texto += QStringLiteral("\tstatic int iniciada = 0;\n\n") + arranque + QLatin1Char('\n');
    if (primeros.isEmpty())
        return texto + QStringLiteral("}\n");
    // The state is a signed int: a negative value must not index the table either.
    texto += QStringLiteral("\tif( estado < 0 || estado > ") + ultimo + QStringLiteral(" )\n\t{\n");
    texto += QStringLiteral("\t\testado = ") + inicial + QStringLiteral(";\n\t\treturn;\n\t}\n");
    texto += QStringLiteral("\n\t( *arrayFunciones[ estado ] )( );\n}\n");
    return texto;
}

QString GeneradorPtrFuncion::encabezadoArchivo(const QString &archivo, const QString &resumen) const
{
    return FragmentosC::encabezadoArchivo(archivo, resumen, m_proyecto.autores(), m_proyecto.modificacion());
}

QString GeneradorPtrFuncion::encabezadoFuncion(const QString &firma, const QString &resumen,
                                               const QString &detalles) const
{
    return FragmentosC::encabezadoFuncion(firma, resumen, detalles, m_proyecto.autores(),
                                          m_proyecto.modificacion());
}
