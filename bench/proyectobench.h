#ifndef PROYECTOBENCH_H
#define PROYECTOBENCH_H

#include <QString>
#include <QtGlobal>
#include <vector>

class QThread;

// What several benchmarks set up alike: their projects, free ports, the
// percentiles they report and their outside programs' threads.
namespace ProyectoBench {

// The large project: machines "maquina<k>" named M<k>, each of `estados`
// states E<i> laid out 25 to a row, state i going to i + j + 1 on "ev<j>" and
// calling "a<j>()", for every j below `transiciones`; with conInicial each
// machine starts in its first state. Saved as NOMBRE.vro in carpeta; its
// path, empty when it could not be written.
QString escribirGrande(const QString &carpeta, const QString &nombre, int maquinas, int estados,
                       int transiciones, bool conInicial);
// One machine "motor" of two states, "apagado" and "encendido", that swap on
// "boton" (the first calling encender() and setting cuenta = 0, the other
// calling apagar()), so each event lights another state and arrow. Saved as
// BENCH.vro in carpeta; its path, empty when it could not be written.
QString escribirMotor(const QString &carpeta);
// The frame the motor's first transition reports, as a bare relay sends it.
extern const char *const kTramaMotor;

// A TCP port on 127.0.0.1 that was free a moment ago.
quint16 puertoLibre();
double percentil(std::vector<double> valores, int p);
// Starts the thread and runs the application's event loop until it ends.
void correrHilo(QThread &hilo);

} // namespace ProyectoBench

#endif // PROYECTOBENCH_H
