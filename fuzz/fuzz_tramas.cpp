// The event frames of one connection, fed to a decoder whole and to another
// cut at random points, must give the same events and drops, and the bytes
// a decoder keeps waiting never exceed its limit. The monitor's report
// reader, fed the same bytes in the same pieces as its server buffers them,
// must read the same frames and invalid runs as from the whole.
#include "decodificadortramas.h"
#include "fuzzsupport.h"
#include "tramaenlace.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace {

// What the report server reads from `datos` arriving in pieces cut at
// `cortes`: each frame or invalid run as its state and bytes.
QList<QByteArray> leerReportes(const QByteArray &datos, const std::vector<size_t> &cortes)
{
    QList<QByteArray> leidas;
    QByteArray pendiente;
    int desde = 0;
    for (size_t i = 0; i <= cortes.size(); ++i) {
        const int largo =
            i < cortes.size() ? int(cortes[i] % (size_t(datos.size() - desde) + 1)) : datos.size() - desde;
        pendiente += datos.mid(desde, largo);
        desde += largo;
        int pos = 0;
        for (;;) {
            const LecturaReporte lectura = TramaEnlace::leerReporte(pendiente, pos);
            if (lectura.estado == LecturaReporte::Incompleta)
                break;
            FuzzSupport::exigir(lectura.consumidos > 0, "un reporte leído no consume bytes");
            leidas.append(QByteArray::number(lectura.estado) + ' ' + pendiente.mid(pos, lectura.consumidos));
            pos += lectura.consumidos;
        }
        pendiente.remove(0, pos);
    }
    return leidas;
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
    FuzzSupport::exigir(leerReportes(datos, cortes) == leerReportes(datos, {}),
                        "los reportes dependen de los cortes");
    return 0;
}
