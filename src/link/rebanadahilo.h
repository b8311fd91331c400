#ifndef REBANADAHILO_H
#define REBANADAHILO_H

// How long the calling thread may run before a thread that wakes up can take
// its core. Linux (6.12 and later) lets any thread ask for a shorter slice
// than the default (a millisecond or more); a shorter slice also
// lets a waking thread that asked for one run sooner. Elsewhere these calls
// do nothing.
namespace RebanadaHilo {

// The link's thread asks for the shortest slice: it runs for microseconds
// at a time, and a waking thread with a shorter slice than the running one
// takes the core at once.
constexpr int EnlaceMicrosegundos = 100;
// The window asks for a short one while a board is followed, so that the
// kernel's pseudo-terminal worker and the link's thread do not wait for the
// end of its painting; longer than the link's, which must still cut in.
constexpr int VentanaMicrosegundos = 300;

// False when the system does not take the request (older kernels ignore it
// silently: nothing is lost either way).
bool pedir(int microsegundos);
// Back to the system's default slice.
bool restablecer();

} // namespace RebanadaHilo

#endif // REBANADAHILO_H
