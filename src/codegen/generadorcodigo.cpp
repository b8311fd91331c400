// Files are built from many small pieces; concatenate them without temporaries.
#define QT_USE_QSTRINGBUILDER

#include "generadorcodigo.h"

#include "chequeoscodigo.h"
#include "fragmentosc.h"
#include "generadorptrfuncion.h"
#include "generadorswitch.h"
#include "savefile.h"

#include <QDir>

GeneradorCodigo::GeneradorCodigo(const XmlHandler &datos) : m_proyecto(Proyecto::desdeDocumento(datos)) {}

GeneradorCodigo::GeneradorCodigo(const Proyecto &proyecto) : m_proyecto(proyecto) {}

QString GeneradorCodigo::carpetaSalida(const QString &carpetaProyecto, const QString &nombreProyecto,
                                       EstiloCodigo estilo)
{
    return carpetaProyecto + QStringLiteral("/resultados_") + nombreProyecto +
           (estilo == EstiloCodigo::Switch ? QStringLiteral("/switch") : QStringLiteral("/ptrFuncion"));
}

QString GeneradorCodigo::carpetaSalida(EstiloCodigo estilo) const
{
    return carpetaSalida(m_proyecto.carpeta(), m_proyecto.nombre(), estilo);
}

QString GeneradorCodigo::maquinaSinEstadoInicial() const
{
    return ChequeosCodigo(m_proyecto).maquinaSinEstadoInicial();
}

QStringList GeneradorCodigo::problemas(EstiloCodigo estilo) const
{
    return ChequeosCodigo(m_proyecto).problemas(estilo);
}

QVector<QPair<QString, QString>> GeneradorCodigo::archivos(EstiloCodigo estilo) const
{
    const QStringList estados = listaEstados();
    const QStringList &constantes = m_proyecto.constantes();
    if (estilo == EstiloCodigo::Switch) {
        return {{QStringLiteral("main.c"), textoMain()},
                {QStringLiteral("AP_MdeE.h"), textoHeader(estados, estilo)},
                {QStringLiteral("AP_FuncionesMdeE.h"), textoHeaderFunciones(constantes)},
                {QStringLiteral("AP_MdeE.c"), textoFunciones(textosMaquinas())},
                {QStringLiteral("AP_FuncionesMdeE.c"), textoFuncionesEventosAcciones(estilo)}};
    }
    return {{QStringLiteral("main.c"), textoMainPtrFuncion()},
            {QStringLiteral("AP_FuncionesMdeE.c"), textoFuncionesEventosAcciones(estilo)},
            {QStringLiteral("AP_FuncionesMdeE.h"), textoHeaderFunciones(constantes)},
            {QStringLiteral("AP_MdeE.h"), textoHeader(estados, estilo)},
            {QStringLiteral("AP_MdeE.c"), textoFuncionesPtrFuncionMDE(textoFuncionesEstados())}};
}

bool GeneradorCodigo::generar(EstiloCodigo estilo, const QString &carpeta, QString *archivoFallido) const
{
    QDir().mkpath(carpeta);
    const auto textos = archivos(estilo);
    for (const auto &archivo : textos) {
        const QString ruta = carpeta + QLatin1Char('/') + archivo.first;
        if (!guardar(ruta, archivo.second)) {
            if (archivoFallido)
                *archivoFallido = ruta;
            return false;
        }
    }
    return true;
}

bool GeneradorCodigo::guardar(const QString &ruta, const QString &texto)
{
    return guardarArchivoSeguro(ruta, texto.toLatin1());
}

// --- Shared fragments ---

QString GeneradorCodigo::AgregarEncabezadoArchivo(const QString &archivo, const QString &resumen,
                                                  const QString &autor, const QString &fecha)
{
    return FragmentosC::encabezadoArchivo(archivo, resumen, autor, fecha);
}

QString GeneradorCodigo::AgregarEncabezadoFuncion(const QString &firma, const QString &resumen,
                                                  const QString &detalles, const QString &autor,
                                                  const QString &fecha)
{
    return FragmentosC::encabezadoFuncion(firma, resumen, detalles, autor, fecha);
}

QString GeneradorCodigo::encabezadoArchivo(const QString &archivo, const QString &resumen) const
{
    return AgregarEncabezadoArchivo(archivo, resumen, m_proyecto.autores(), m_proyecto.modificacion());
}

QString GeneradorCodigo::encabezadoFuncion(const QString &firma, const QString &resumen,
                                           const QString &detalles) const
{
    return AgregarEncabezadoFuncion(firma, resumen, detalles, m_proyecto.autores(),
                                    m_proyecto.modificacion());
}

QString GeneradorCodigo::agregarTextoDeAdvertencia()
{
    return FragmentosC::textoDeAdvertencia();
}

QStringList GeneradorCodigo::ObtenerVariables() const
{
    return m_proyecto.variables();
}

QString GeneradorCodigo::DeclararVariables(const QStringList &nombres)
{
    return FragmentosC::declararVariables(nombres);
}

QString GeneradorCodigo::DeclararVariablesExternas(const QStringList &nombres)
{
    return FragmentosC::declararVariablesExternas(nombres);
}

int GeneradorCodigo::ObtenerCantParentesis(const QString &texto)
{
    return texto.count(QLatin1Char('('));
}

QString GeneradorCodigo::traducirDisparador(const QString &disparador)
{
    return FragmentosC::condicion(ExpresionDisparo::analizar(disparador));
}

QString GeneradorCodigo::agregarTransicion(const QString &disparador, const QString &acciones,
                                           const QString &estadoDestino, int maquina, int estado,
                                           int transicion)
{
    return GeneradorSwitch::agregarTransicion(ExpresionDisparo::analizar(disparador), acciones, estadoDestino,
                                              maquina, estado, transicion);
}

QString GeneradorCodigo::agregarFuncionPtrFuncion(const QString &disparador, const QString &acciones,
                                                  const QString &estadoDestino)
{
    return GeneradorPtrFuncion::agregarFuncionPtrFuncion(ExpresionDisparo::analizar(disparador), acciones,
                                                         estadoDestino);
}

// --- Files shared by both styles ---

QString GeneradorCodigo::textoHeader(const QStringList &estados, EstiloCodigo estilo) const
{
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_MdeE.h"), QStringLiteral("Resumen del archivo")) +
             QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral("*** MODULO"), "\n");
    texto += QStringLiteral("#ifndef INC_MDEE_H_\n#define INC_MDEE_H_\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** INCLUDES GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** DEFINES GLOBALES"), "\n");
    texto += QStringLiteral("#define\tTRUE\t\t\t1\n#define\tFALSE\t\t\t0\n\n");
    texto += QStringLiteral("//!< Definicion de Estados\n");
    for (int n = 0; n < estados.size(); ++n)
        texto += QStringLiteral("#define\t") + estados.at(n) + QStringLiteral("\t\t") + QString::number(n) +
                 QLatin1Char('\n');
    texto += QLatin1Char('\n') + FragmentosC::banner(QStringLiteral("*** MACROS GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** TIPO DE DATOS GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** VARIABLES GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** PROTOTIPOS DE FUNCIONES GLOBALES"), "\n");
    texto += QStringLiteral("//!< Declaracion de la Maquina de Estados\n");
    for (const Maquina &maquina : m_proyecto.maquinas())
        texto += QStringLiteral("void maquina_") + maquina.nombre + QStringLiteral("(void);\n\n");
    // The pointer style's only entry point is the dispatcher; main.c calls it.
    if (estilo == EstiloCodigo::PunteroAFuncion)
        texto += QStringLiteral("void maquina_estado( void );\n\n");
    texto += QStringLiteral("\n#endif /* INC_MDEE_H_ */\n");
    return texto;
}

bool GeneradorCodigo::escribirHeader(const QString &ruta, const QStringList &estados,
                                     EstiloCodigo estilo) const
{
    return guardar(ruta + QStringLiteral(".h"), textoHeader(estados, estilo));
}

QString GeneradorCodigo::textoHeaderFunciones(const QStringList &constantes) const
{
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_FuncionesMdeE.h"), QStringLiteral("Resumen del archivo")) +
             QLatin1Char('\n');
    texto += FragmentosC::banner(QStringLiteral("*** MODULO"), "\n");
    texto += QStringLiteral("#ifndef INC_AP_FUNCIONESMDEE_H_\n#define INC_AP_FUNCIONESMDEE_H_\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** INCLUDES GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** DEFINES GLOBALES"), "\n");
    // The first two constants are TRUE and FALSE, which AP_MdeE.h defines. The
    // others keep the very name the triggers use.
    for (int i = 2; i < constantes.size(); ++i)
        texto += QStringLiteral("#define \t") + constantes.at(i) + QStringLiteral("\t0\n");
    texto += QLatin1Char('\n') + FragmentosC::banner(QStringLiteral("*** MACROS GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** TIPO DE DATOS GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** VARIABLES GLOBALES"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral("*** PROTOTIPOS DE FUNCIONES GLOBALES"), "\n");
    texto += QStringLiteral("\n//!< Prototipos de los Eventos\n");
    for (const QString &evento : m_proyecto.eventos()) {
        const QString prototipo = QStringLiteral("int ") + evento + QStringLiteral("( void );");
        if (ObtenerCantParentesis(prototipo) == 1)
            texto += prototipo + QLatin1Char('\n');
    }
    texto += QStringLiteral("\n//!< Prototipos de las Acciones\n");
    for (const QString &accion : m_proyecto.acciones()) {
        if (accion.isEmpty() || accion.contains(QLatin1Char(',')))
            continue;
        texto += QStringLiteral("void ") + FragmentosC::nombreAccion(accion) + QStringLiteral("( void );\n");
    }
    texto += QStringLiteral("\n#endif /* INC_AP_FUNCIONESMDEE_H_ */\n");
    return texto;
}

bool GeneradorCodigo::escribirHeaderFunciones(const QString &ruta, const QStringList &constantes) const
{
    return guardar(ruta + QStringLiteral(".h"), textoHeaderFunciones(constantes));
}

QString GeneradorCodigo::textoFuncionesEventosAcciones(EstiloCodigo estilo) const
{
    const bool conSwitch = estilo == EstiloCodigo::Switch;
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    if (conSwitch) {
        texto += encabezadoArchivo(QStringLiteral("AP_FuncionesMde.c"),
                                   QStringLiteral("Implementacion switch-case"));
    } else {
        texto += encabezadoArchivo(
            QStringLiteral("AP_FuncionesMdeE.c"),
            QStringLiteral("Funciones de Eventos y Acciones asociadas a la M de E con puntero a funcion"));
    }
    texto += QStringLiteral("\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral("#include \"AP_FuncionesMdeE.h\" \n#include \"AP_Depuracion.h\" \n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') +
             FragmentosC::banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    texto += FragmentosC::banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n\n");
    texto += FragmentosC::banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto +=
        QLatin1Char('\n') + FragmentosC::banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto +=
        QLatin1Char('\n') + FragmentosC::banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n\n");
    texto += QStringLiteral("//!< Funciones asociadas a los eventos\n\n");
    for (const QString &evento : m_proyecto.eventos()) {
        if (evento.contains(QLatin1Char('(')))
            continue;
        texto += encabezadoFuncion(QStringLiteral("int ") + evento + QStringLiteral("(void)"),
                                   QStringLiteral("Resumen"), QStringLiteral("Detalles")) +
                 QLatin1Char('\n');
        texto += QStringLiteral("int ") + evento + QStringLiteral("( void )\n");
        texto += QStringLiteral(
            "{\n\tint res = 0 ;\n\n\t//!< Codigo propio de la funcion\n\n\treturn res;\n}\n\n");
    }
    texto += QStringLiteral("//!< Funciones asociadas a las acciones\n\n");
    const QString parametros = conSwitch ? QStringLiteral("(void)") : QStringLiteral("( void )");
    for (const QString &accion : m_proyecto.acciones()) {
        if (accion.isEmpty() || accion.contains(QLatin1Char(',')))
            continue;
        const QString nombre = FragmentosC::nombreAccion(accion);
        texto += encabezadoFuncion(QStringLiteral("void ") + nombre + parametros, QStringLiteral("Resumen"),
                                   QStringLiteral("Detalles")) +
                 QLatin1Char('\n');
        texto += QStringLiteral("void ") + nombre + QStringLiteral("( void )\n");
        texto += QStringLiteral("{\n\t//!< Codigo propio de la funcion\n\n\treturn ;\n}\n\n");
    }
    return texto;
}

bool GeneradorCodigo::escribirFuncionesMdeE(const QString &ruta) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesEventosAcciones(EstiloCodigo::Switch));
}

bool GeneradorCodigo::escribirFuncionesPtrFuncion(const QString &ruta) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesEventosAcciones(EstiloCodigo::PunteroAFuncion));
}

QStringList GeneradorCodigo::listaEstados() const
{
    QStringList estados;
    for (const Maquina &maquina : m_proyecto.maquinas()) {
        for (const Estado &estado : maquina.estados)
            estados.append(estado.nombre.toUpper());
    }
    return estados;
}

// --- Switch style ---

QString GeneradorCodigo::crearSwitch(const QString &variable)
{
    return GeneradorSwitch::crearSwitch(variable);
}

QString GeneradorCodigo::agregarCase(const QString &estado)
{
    return GeneradorSwitch::agregarCase(estado);
}

QString GeneradorCodigo::cerrarCase()
{
    return GeneradorSwitch::cerrarCase();
}

QString GeneradorCodigo::cerrarSwitch()
{
    return GeneradorSwitch::cerrarSwitch();
}

QString GeneradorCodigo::textoMaquinaSwitch(int maquina) const
{
    return GeneradorSwitch(m_proyecto).textoMaquina(maquina);
}

QStringList GeneradorCodigo::textosMaquinas() const
{
    return GeneradorSwitch(m_proyecto).textosMaquinas();
}

QString GeneradorCodigo::textoMain() const
{
    return GeneradorSwitch(m_proyecto).textoMain();
}

bool GeneradorCodigo::generarMain(const QString &carpeta, const QString &nombre) const
{
    return guardar(carpeta + nombre + QStringLiteral(".c"), textoMain());
}

QString GeneradorCodigo::textoFunciones(const QStringList &textosMaquinas) const
{
    return GeneradorSwitch(m_proyecto).textoFunciones(textosMaquinas);
}

bool GeneradorCodigo::escribirFunciones(const QString &ruta, const QStringList &textosMaquinas) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFunciones(textosMaquinas));
}

// --- Function-pointer style ---

QString GeneradorCodigo::agregarFuncionPtr(const QString &estado)
{
    return GeneradorPtrFuncion::agregarFuncionPtr(estado);
}

QString GeneradorCodigo::cerrarFuncionPtr()
{
    return GeneradorPtrFuncion::cerrarFuncionPtr();
}

QString GeneradorCodigo::textoFuncionesEstados() const
{
    return GeneradorPtrFuncion(m_proyecto).textoFuncionesEstados();
}

QString GeneradorCodigo::textoMainPtrFuncion() const
{
    return GeneradorPtrFuncion(m_proyecto).textoMain();
}

bool GeneradorCodigo::generarMainPtrFuncion(const QString &carpeta, const QString &nombre) const
{
    return guardar(carpeta + nombre + QStringLiteral(".c"), textoMainPtrFuncion());
}

QString GeneradorCodigo::textoFuncionesPtrFuncionMDE(const QString &funcionesEstados) const
{
    return GeneradorPtrFuncion(m_proyecto).textoFuncionesMDE(funcionesEstados);
}

bool GeneradorCodigo::escribirFuncionesPtrFuncionMDE(const QString &ruta,
                                                     const QString &funcionesEstados) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesPtrFuncionMDE(funcionesEstados));
}
