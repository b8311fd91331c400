// Any file Vireo opens must save to a file that opens again and saves to the
// very same bytes: a save never loses or alters what the next save writes.
// Each machine as the file held it, which opening compares with what the
// window would write, is one whole element.
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto datos = FuzzSupport::cargar(FuzzSupport::bytes(data, size));
    if (!datos)
        return 0;
    for (const QByteArray &maquina : datos->tomarMaquinasLeidas()) {
        XmlHandler otro(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
        FuzzSupport::exigir(otro.cargarMaquina(QStringLiteral("maquina0"), maquina),
                            "una máquina leída no es un elemento entero");
    }
    const QByteArray primera = datos->toByteArray();
    const auto recargado = FuzzSupport::cargar(primera);
    FuzzSupport::exigir(recargado != nullptr, "un proyecto guardado no se puede abrir");
    FuzzSupport::exigir(recargado->toByteArray() == primera, "el segundo guardado difiere del primero");
    return 0;
}
