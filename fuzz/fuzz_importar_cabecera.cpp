// Any text read as a C header gives valid catalogue names, each once, and
// importing them into a project that already has them adds nothing.
#include "fuzzsupport.h"
#include "importador.h"

#include <QSet>

namespace {

void exigirUnicos(const QStringList &nombres, const char *motivo)
{
    FuzzSupport::exigir(QSet<QString>(nombres.cbegin(), nombres.cend()).size() == nombres.size(), motivo);
    for (const QString &nombre : nombres)
        FuzzSupport::exigir(!nombre.isEmpty(), "la cabecera da un nombre vacío");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Catalogo cabecera = Importador::leerCabecera(QString::fromUtf8(FuzzSupport::bytes(data, size)));
    exigirUnicos(cabecera.constantes, "una constante aparece dos veces");
    exigirUnicos(cabecera.acciones, "una acción aparece dos veces");
    for (const QString &accion : cabecera.acciones)
        FuzzSupport::exigir(Importador::formaAccion(accion) == accion,
                            "una acción no está en su forma guardada");
    const Catalogo nuevos = Importador::faltantes(cabecera, Catalogo());
    FuzzSupport::exigir(nuevos.cantidad() == cabecera.cantidad(),
                        "la cabecera pierde nombres en un proyecto vacío");
    FuzzSupport::exigir(Importador::faltantes(cabecera, nuevos).cantidad() == 0,
                        "importar dos veces agrega de nuevo");
    return 0;
}
