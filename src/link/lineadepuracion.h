#ifndef LINEADEPURACION_H
#define LINEADEPURACION_H

#include <QByteArray>
#include <QMetaType>
#include <QVector>

// One line of the debug protocol a board sends on its serial port: the three
// numbers the generated C passes to Log on every transition taken, "m,s,t" in
// decimal (machine in the project, state in its machine, transition in its
// state, each from 0). Any other line is not a transition.
struct LineaDepuracion
{
    bool valida = false;
    int maquina = -1;
    int estado = -1;
    int transicion = -1;
    // The line as received, without its "\n" (and a "\r" before it).
    QByteArray texto;

    // Reads one line without its "\n". Blanks around the numbers are allowed
    // (the C reads "Log( 0 , 1 , 0 )"); signs, other separators, a fourth
    // field or a number past 9 digits make the line not a transition.
    static LineaDepuracion interpretar(const QByteArray &linea);
};

Q_DECLARE_METATYPE(LineaDepuracion)
Q_DECLARE_METATYPE(QVector<LineaDepuracion>)

#endif // LINEADEPURACION_H
