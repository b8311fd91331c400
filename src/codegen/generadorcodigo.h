#ifndef GENERADORCODIGO_H
#define GENERADORCODIGO_H

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class XmlHandler;

// The two shapes of generated C: one switch per machine, or one function per
// state called through a table of function pointers.
enum class EstiloCodigo { Switch, PunteroAFuncion };

// Turns a project's state machines into the five C files of either style
// (main.c, AP_MdeE.h, AP_MdeE.c, AP_FuncionesMdeE.h, AP_FuncionesMdeE.c).
// The model is read once from the document at construction; every file is
// composed whole in memory and written in one piece, so a failed write never
// leaves half a file. Generated text is 8-bit: the notice's Latin-1 bytes
// reach the files unchanged.
class GeneradorCodigo
{
public:
    explicit GeneradorCodigo(const XmlHandler &datos);

    // carpetaProyecto + "/resultados_" + nombreProyecto + "/switch" (or "/ptrFuncion").
    static QString carpetaSalida(const QString &carpetaProyecto, const QString &nombreProyecto,
                                 EstiloCodigo estilo);
    // The folder the main window writes into, from the document's "carpeta" and "nombre".
    QString carpetaSalida(EstiloCodigo estilo) const;

    // Name of the first machine whose initial state is missing or names no
    // state; empty when every machine has one.
    QString maquinaSinEstadoInicial() const;
    // Why the C of this model will not compile, or will not run all of the
    // model, one Spanish sentence each; empty when the output is sound.
    QStringList problemas(EstiloCodigo estilo) const;

    // Creates carpeta (with its parents) and writes the five files of the
    // style into it. On failure stops at the first file that could not be
    // written and returns false with its path in *archivoFallido.
    bool generar(EstiloCodigo estilo, const QString &carpeta, QString *archivoFallido = nullptr) const;

    // The five files of a style as they would be written, by file name.
    QVector<QPair<QString, QString>> archivos(EstiloCodigo estilo) const;

    // --- Shared fragments ---
    static QString AgregarEncabezadoArchivo(const QString &archivo, const QString &resumen,
                                            const QString &autor, const QString &fecha);
    static QString AgregarEncabezadoFuncion(const QString &firma, const QString &resumen,
                                            const QString &detalles, const QString &autor,
                                            const QString &fecha);
    static QString agregarTextoDeAdvertencia();
    QStringList ObtenerVariables() const;
    static QString DeclararVariables(const QStringList &nombres);
    static QString DeclararVariablesExternas(const QStringList &nombres);
    static int ObtenerCantParentesis(const QString &texto);
    // Why a trigger or an action text would give invalid C (comment markers,
    // line breaks, unbalanced parentheses, a character C does not take
    // there), as a Spanish phrase; empty when it is fine.
    static QString problemaDeTextoC(const QString &texto);
    // The trigger as a C condition: in the parts without a comparison every
    // identifier becomes an event call "name( )"; comparisons, "!",
    // parentheses, blanks and connectives are kept as written.
    static QString traducirDisparador(const QString &disparador);
    static QString agregarTransicion(const QString &disparador, const QString &acciones,
                                     const QString &estadoDestino, int maquina, int estado, int transicion);
    static QString agregarFuncionPtrFuncion(const QString &disparador, const QString &acciones,
                                            const QString &estadoDestino);

    // --- File texts and writers shared by both styles ---
    QString textoHeader(const QStringList &estados, EstiloCodigo estilo) const;
    bool escribirHeader(const QString &ruta, const QStringList &estados, EstiloCodigo estilo) const;
    QString textoHeaderFunciones(const QStringList &constantes) const;
    bool escribirHeaderFunciones(const QString &ruta, const QStringList &constantes) const;
    QString textoFuncionesEventosAcciones(EstiloCodigo estilo) const;
    bool escribirFuncionesMdeE(const QString &ruta) const;
    bool escribirFuncionesPtrFuncion(const QString &ruta) const;

    // --- Switch style ---
    static QString crearSwitch(const QString &variable);
    static QString agregarCase(const QString &estado);
    static QString cerrarCase();
    static QString cerrarSwitch();
    QString textoMaquinaSwitch(int maquina) const;
    QStringList textosMaquinas() const;
    QString textoMain() const;
    bool generarMain(const QString &carpeta, const QString &nombre) const;
    QString textoFunciones(const QStringList &textosMaquinas) const;
    bool escribirFunciones(const QString &ruta, const QStringList &textosMaquinas) const;

    // --- Function-pointer style ---
    static QString agregarFuncionPtr(const QString &estado);
    static QString cerrarFuncionPtr();
    QString textoFuncionesEstados() const;
    QString textoMainPtrFuncion() const;
    bool generarMainPtrFuncion(const QString &carpeta, const QString &nombre) const;
    QString textoFuncionesPtrFuncionMDE(const QString &funcionesEstados) const;
    bool escribirFuncionesPtrFuncionMDE(const QString &ruta, const QString &funcionesEstados) const;

    // Upper-cased state names of every machine, in machine and state order:
    // a name's position is the state's number in the generated code.
    QStringList listaEstados() const;
    QStringList constantes() const { return m_constantes; }

private:
    struct Transicion
    {
        QString disparador;
        QString acciones;
        QString destino;
        bool destinoExiste = true;
    };
    struct Estado
    {
        QString nombre;
        QVector<Transicion> transiciones;
    };
    struct Maquina
    {
        QString nombre;
        QString inicial;
        QString accionesIniciales;
        QVector<Estado> estados;
    };

    void leer(const XmlHandler &datos);
    QStringList problemasDeMaquinas() const;
    QStringList problemasDeTransiciones(const Maquina &maquina, const Estado &estado) const;
    QStringList problemasDeCatalogos() const;
    // Two things of the model, or one and a name the generated code uses
    // itself, that end up as the same C identifier.
    QStringList problemasDeChoques(EstiloCodigo estilo) const;
    QString encabezadoArchivo(const QString &archivo, const QString &resumen) const;
    QString encabezadoFuncion(const QString &firma, const QString &resumen, const QString &detalles) const;
    static bool guardar(const QString &ruta, const QString &texto);

    QString m_nombre;
    QString m_carpeta;
    QString m_autores;
    QString m_fecha;
    QVector<Maquina> m_maquinas;
    QStringList m_eventos;
    QStringList m_acciones;
    QStringList m_variables;
    QStringList m_constantes;
};

#endif // GENERADORCODIGO_H
