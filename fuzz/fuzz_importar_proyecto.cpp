// Importing any project Vireo opens into an open project adds each missing
// name where the next import finds it (a second import adds nothing), and
// the enlarged project still saves and reopens unchanged.
#include "fuzzsupport.h"
#include "importador.h"

namespace {

std::unique_ptr<XmlHandler> proyectoAbierto()
{
    auto datos = std::make_unique<XmlHandler>(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    datos->addNuevaConstante(QStringLiteral("TRUE"));
    datos->addNuevaConstante(QStringLiteral("FALSE"));
    datos->addNuevoEvento(QStringLiteral("boton"));
    datos->addNuevaAccion(QStringLiteral("encender()"));
    datos->addNuevaVariable(QStringLiteral("cuenta"));
    return datos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto otro = FuzzSupport::cargar(FuzzSupport::bytes(data, size));
    if (!otro)
        return 0;
    const Catalogo importado = Importador::catalogoDe(*otro);
    const auto datos = proyectoAbierto();
    Importador::agregar(*datos, Importador::faltantes(importado, Importador::catalogoDe(*datos)));
    FuzzSupport::exigir(Importador::faltantes(importado, Importador::catalogoDe(*datos)).cantidad() == 0,
                        "importar dos veces agrega de nuevo");
    const QByteArray guardado = datos->toByteArray();
    const auto recargado = FuzzSupport::cargar(guardado);
    FuzzSupport::exigir(recargado != nullptr, "el proyecto con lo importado no se puede abrir");
    FuzzSupport::exigir(Importador::faltantes(importado, Importador::catalogoDe(*recargado)).cantidad() == 0,
                        "lo importado no sobrevive al guardado");
    return 0;
}
