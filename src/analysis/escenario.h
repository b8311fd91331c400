#ifndef ESCENARIO_H
#define ESCENARIO_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One line of a scenario file that does something: fires a step, sets a
// variable, checks a machine or goes back to reset.
struct PasoEscenario
{
    enum class Tipo { Evento, Variable, Estado, Acciones, Reset };

    Tipo tipo = Tipo::Reset;
    // Line number in the file, from 1; 0 for a step not read from a file.
    int linea = 0;
    // Evento in "filas" mode: the text of the trigger row to fire.
    QString evento;
    // Evento in "c" mode: the events true in this step (empty for "-").
    QStringList eventos;
    // Estado and Acciones: the machine checked. Estado: the state expected.
    QString maquina;
    QString estado;
    // Variable: the name and the value as written (a number or a constant).
    QString variable;
    QString valor;
    // Acciones: the entries expected, in order, trimmed; empty for none.
    QStringList acciones;

    // Estado and Acciones lines are the checks a run passes or fails.
    bool esComprobacion() const { return tipo == Tipo::Estado || tipo == Tipo::Acciones; }
    // What a check expects, as a report shows it.
    QString esperado() const;
    bool operator==(const PasoEscenario &otro) const;
};

// A scenario file (".escenario"): UTF-8 text, one step per line, blank lines
// and lines starting with "#" ignored, each keyword followed by one blank:
//   modo filas | modo c          first step only; "filas" when absent
//   evento TEXTO                 a trigger row's text, or in "c" mode the
//                                events true in the step ("a, b" or "-")
//   variable NOMBRE = VALOR      "c" mode only
//   estado MAQUINA ESTADO
//   acciones MAQUINA TEXTO       entries separated by ";", empty for none
//   reset
// A file with any malformed line is refused as a whole: errores() then names
// every such line as "archivo:línea: mensaje" and pasos() is empty.
class Escenario
{
public:
    enum class Modo { Filas, C };

    static Escenario leer(const QString &ruta);
    // Parses contenido; nombre is the file name used in the messages.
    static Escenario analizar(const QByteArray &contenido, const QString &nombre);

    bool esValido() const { return m_errores.isEmpty(); }
    QStringList errores() const { return m_errores; }
    QString nombre() const { return m_nombre; }
    Modo modo() const { return m_modo; }
    void setModo(Modo modo) { m_modo = modo; }
    const QVector<PasoEscenario> &pasos() const { return m_pasos; }
    void agregar(const PasoEscenario &paso) { m_pasos.append(paso); }
    int cantidadComprobaciones() const;

    // The file text that reads back as this scenario.
    QByteArray texto() const;
    static QString lineaDe(const PasoEscenario &paso, Modo modo);

private:
    void analizarLinea(const QString &linea, int numero, bool primerPaso);
    void error(int numero, const QString &mensaje);

    QString m_nombre;
    Modo m_modo = Modo::Filas;
    QVector<PasoEscenario> m_pasos;
    QStringList m_errores;
};

#endif // ESCENARIO_H
