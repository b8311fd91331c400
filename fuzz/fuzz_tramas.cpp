// The event frames of one connection, fed to a decoder whole and to another
// cut at random points, must give the same events and drops, and the bytes
// a decoder keeps waiting never exceed its limit. The report reader of the
// monitor is run over the same bytes for memory faults.
#include "decodificadortramas.h"
#include "fuzzsupport.h"
#include "tramaenlace.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace {

void leerReportes(const QByteArray &datos)
{
    int pos = 0;
    while (pos < datos.size()) {
        const LecturaReporte lectura = TramaEnlace::leerReporte(datos, pos);
        if (lectura.estado == LecturaReporte::Incompleta)
            return;
        FuzzSupport::exigir(lectura.consumidos > 0, "un reporte leído no consume bytes");
        pos += lectura.consumidos;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider entrada(data, size);
    std::vector<size_t> cortes;
    const size_t cantidadCortes = entrada.ConsumeIntegralInRange<size_t>(0, 8);
    for (size_t i = 0; i < cantidadCortes; ++i)
        cortes.push_back(entrada.ConsumeIntegral<uint16_t>());
    const std::string resto = entrada.ConsumeRemainingBytesAsString();
    const QByteArray datos(resto.data(), int(resto.size()));

    DecodificadorTramas entero;
    const DecodificadorTramas::Resultado esperado = entero.agregar(datos);

    DecodificadorTramas partido;
    DecodificadorTramas::Resultado obtenido;
    int desde = 0;
    for (const size_t corte : cortes) {
        const int largo = int(corte % (size_t(datos.size() - desde) + 1));
        const DecodificadorTramas::Resultado parte = partido.agregar(datos.mid(desde, largo));
        obtenido.eventos += parte.eventos;
        obtenido.descartadas += parte.descartadas;
        desde += largo;
        FuzzSupport::exigir(partido.pendientes() <= DecodificadorTramas::LimiteTrama,
                            "el decodificador guarda más que su límite");
    }
    const DecodificadorTramas::Resultado ultima = partido.agregar(datos.mid(desde));
    obtenido.eventos += ultima.eventos;
    obtenido.descartadas += ultima.descartadas;

    FuzzSupport::exigir(obtenido.eventos == esperado.eventos, "los eventos dependen de los cortes");
    FuzzSupport::exigir(obtenido.descartadas == esperado.descartadas, "los descartes dependen de los cortes");
    FuzzSupport::exigir(partido.pendientes() == entero.pendientes(), "lo pendiente depende de los cortes");
    FuzzSupport::exigir(entero.pendientes() <= DecodificadorTramas::LimiteTrama,
                        "el decodificador guarda más que su límite");
    leerReportes(datos);
    return 0;
}
