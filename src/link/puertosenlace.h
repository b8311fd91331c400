#ifndef PUERTOSENLACE_H
#define PUERTOSENLACE_H

#include <QtGlobal>

// The TCP ports of the simulation link. Fixed at 9000 (events in) and 8000
// (reports out); the variables VIREO_PUERTO_EVENTOS and VIREO_PUERTO_REPORTES
// move them, so that test runs sharing a machine do not collide.
namespace PuertosEnlace {

constexpr quint16 EventosPorDefecto = 9000;
constexpr quint16 ReportesPorDefecto = 8000;

quint16 eventos();
quint16 reportes();
// Port number from text, 0 when it is not a number from 1 to 65535.
quint16 interpretar(const QString &texto);

} // namespace PuertosEnlace

#endif // PUERTOSENLACE_H
