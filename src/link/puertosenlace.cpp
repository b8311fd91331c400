#include "puertosenlace.h"

#include <QString>

namespace {

quint16 desdeEntorno(const char *variable, quint16 porDefecto)
{
    const quint16 puerto = PuertosEnlace::interpretar(qEnvironmentVariable(variable));
    return puerto ? puerto : porDefecto;
}

} // namespace

namespace PuertosEnlace {

quint16 eventos()
{
    return desdeEntorno("VIREO_PUERTO_EVENTOS", EventosPorDefecto);
}

quint16 reportes()
{
    return desdeEntorno("VIREO_PUERTO_REPORTES", ReportesPorDefecto);
}

quint16 interpretar(const QString &texto)
{
    bool ok = false;
    const uint puerto = texto.toUInt(&ok);
    return ok && puerto >= 1 && puerto <= 65535 ? quint16(puerto) : 0;
}

} // namespace PuertosEnlace
