#ifndef GENERADORCODIGO_H
#define GENERADORCODIGO_H

#include "estilocodigo.h"
#include "proyecto.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class XmlHandler;

// Turns a project's state machines into the five C files of either style
// (main.c, AP_MdeE.h, AP_MdeE.c, AP_FuncionesMdeE.h, AP_FuncionesMdeE.c).
// The entry point of code generation: the checks live in ChequeosCodigo,
// each style in GeneradorSwitch and GeneradorPtrFuncion, the shared pieces
// in FragmentosC; the files both styles write are composed here. The project
// model is read once at construction; every file is composed whole in memory
// and written in one piece, so a failed write never leaves half a file.
// Generated text is 8-bit: the notice's Latin-1 bytes reach the files
// unchanged.
class GeneradorCodigo
{
public:
    explicit GeneradorCodigo(const XmlHandler &datos);
    explicit GeneradorCodigo(const Proyecto &proyecto);

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
    // The trigger as a C condition: every event becomes a call "name( )", a
    // negated comparison "!( v_x >= 3 )"; the rest is kept as written.
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
    QStringList constantes() const { return m_proyecto.constantes(); }

private:
    QString encabezadoArchivo(const QString &archivo, const QString &resumen) const;
    QString encabezadoFuncion(const QString &firma, const QString &resumen, const QString &detalles) const;
    static bool guardar(const QString &ruta, const QString &texto);

    Proyecto m_proyecto;
};

#endif // GENERADORCODIGO_H
