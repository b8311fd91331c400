#ifndef PROGRAMAC_H
#define PROGRAMAC_H

#include "generadorcodigo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class XmlHandler;

namespace TestSupport {

// What a finished process left: ok when it exited normally with status 0.
struct Proceso
{
    bool ok = false;
    QByteArray salida; // standard output and error, merged
};
Proceso ejecutar(const QString &programa, const QStringList &argumentos,
                 const QByteArray &entrada = QByteArray());

// A project's generated C compiled with gcc together with a driver that
// steps it, the way firmware calls it: every switch-style machine once per
// step, in machine order, or the pointer style's maquina_estado.
//
// Each input line is one step: the names of the events true in it ("-" for
// none), VAR=VALUE to set a variable first, @K=N to force machine K's state
// number to N first. Each output line is the state of every machine after
// the step (its name, or its number when it names no state), " |", the
// actions called in order, " |" and every variable as VAR=VALUE.
class ProgramaC
{
public:
    // Generates the project into carpeta and builds the driver there.
    // False with the compiler's output in error() when anything fails.
    bool compilar(const XmlHandler &datos, EstiloCodigo estilo, const QString &carpeta);
    QByteArray correr(const QByteArray &pasos) const;
    QString error() const { return m_error; }

    // Many projects with the same driver, built by one gcc run into one
    // program (gcc's cost is mostly per run) and each stepped through its own
    // steps: their outputs, in order, or nothing with the reason in *error.
    struct Corrida
    {
        const XmlHandler *datos = nullptr;
        EstiloCodigo estilo = EstiloCodigo::Switch;
        QByteArray pasos;
    };
    static QList<QByteArray> correrVarias(const QVector<Corrida> &corridas, const QString &carpeta,
                                          QString *error);

    // Compiles the three C files of carpeta into objects with the given
    // compiler and flags; the names every object defines, or empty with the
    // reason in *error.
    static QStringList simbolosDefinidos(const QString &carpeta, const QString &compilador,
                                         const QStringList &opciones, QString *error);

private:
    QString m_programa;
    QString m_error;
};

} // namespace TestSupport

#endif // PROGRAMAC_H
