#ifndef FRAGMENTOSC_H
#define FRAGMENTOSC_H

#include <QString>
#include <QStringList>

class ExpresionDisparo;
struct Maquina;
struct Transicion;

// The pieces of generated C that both styles and the shared files are made
// of: comment blocks, banners, the notice, variable declarations, a trigger
// as a C condition, action lists as statements and the switch style's
// transition template.
class FragmentosC
{
public:
    static QString banner(const QString &titulo, const char *despues);
    // Text pasted into a "/** ... */" block, made unable to end it early.
    static QString textoDeComentario(const QString &texto);
    static QString encabezadoArchivo(const QString &archivo, const QString &resumen, const QString &autor,
                                     const QString &fecha);
    static QString encabezadoFuncion(const QString &firma, const QString &resumen, const QString &detalles,
                                     const QString &autor, const QString &fecha);
    static QString textoDeAdvertencia();
    static QString declararVariables(const QStringList &nombres);
    static QString declararVariablesExternas(const QStringList &nombres);

    // The trigger as a C condition: every event becomes a call "name( )", a
    // negated comparison "!( v > 3 )"; the rest is kept as written.
    static QString condicion(const ExpresionDisparo &disparador);
    // The same for a text the model could not read, part by part.
    static QString condicionDeTexto(const QString &disparador);

    // Text before the first "(" of an action entry: the function it calls.
    static QString nombreAccion(const QString &accion);
    static bool esAsignacion(const QString &entrada);
    static bool esCaracterIdentificador(QChar c);
    // The block that runs a machine's initial actions on its first call,
    // each statement indented by sangria plus a tab; empty without actions.
    static QString bloqueInicial(const QString &acciones, const QString &sangria);
    // The switch style's transition template filled with its four values.
    static QString plantillaTransicion(const QString &condicion, const QString &acciones,
                                       const QString &destino, const QString &depuracion);

    // Names of the model as the generated code spells them: the initial
    // state's name ("-1" without one, empty when it names no state) and a
    // transition's target ("-1" when it names no state).
    static QString nombreInicial(const Maquina &maquina);
    static QString nombreDestino(const Maquina &maquina, const Transicion &transicion);
};

#endif // FRAGMENTOSC_H
