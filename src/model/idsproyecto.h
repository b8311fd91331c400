#ifndef IDSPROYECTO_H
#define IDSPROYECTO_H

#include <QString>
#include <QStringView>

// The one place that spells the identifiers of the project file: a fixed
// prefix followed by a decimal index counted from 0 ("maquina" + n,
// "estado" + n, "tr" + n, "ev" + n, "acc" + n, "var" + n, "cons" + n). The
// index of a state is its number everywhere in Vireo: in the document, the
// scene's item list, the editors, verification, simulation and the
// generated defines.
class IdsProyecto
{
public:
    static QString maquina(int indice);
    static QString estado(int indice);
    static QString transicion(int indice);
    static QString evento(int indice);
    static QString accion(int indice);
    static QString variable(int indice);
    static QString constante(int indice);

    // The index n of an "estado" + n reference (the whole decimal number
    // after the prefix, as "idProxEstado" is read), or -1 when the text names
    // none of the cantidad states of its machine.
    static int indiceEstado(QStringView id, int cantidad);

    static QString prefijoMaquina() { return QStringLiteral("maquina"); }
    static QString prefijoEstado() { return QStringLiteral("estado"); }
    static QString prefijoTransicion() { return QStringLiteral("tr"); }
    static QString prefijoEvento() { return QStringLiteral("ev"); }
    static QString prefijoAccion() { return QStringLiteral("acc"); }
    static QString prefijoVariable() { return QStringLiteral("var"); }
    static QString prefijoConstante() { return QStringLiteral("cons"); }
};

#endif // IDSPROYECTO_H
