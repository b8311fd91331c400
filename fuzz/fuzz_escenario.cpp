// Any text read as a scenario either is refused with its reasons or gives
// steps whose written form reads back as the very same scenario.
#include "escenario.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Escenario escenario =
        Escenario::analizar(FuzzSupport::bytes(data, size), QStringLiteral("entrada.escenario"));
    if (!escenario.esValido()) {
        FuzzSupport::exigir(escenario.pasos().isEmpty(), "un escenario rechazado conserva pasos");
        return 0;
    }
    const QByteArray texto = escenario.texto();
    const Escenario releido = Escenario::analizar(texto, QStringLiteral("entrada.escenario"));
    FuzzSupport::exigir(releido.esValido(), "el texto escrito de un escenario no se puede leer");
    FuzzSupport::exigir(releido.modo() == escenario.modo(), "el modo cambia al releer el escenario");
    FuzzSupport::exigir(releido.pasos().size() == escenario.pasos().size(),
                        "la cantidad de pasos cambia al releer el escenario");
    for (int i = 0; i < escenario.pasos().size(); ++i) {
        // Comments and blank lines are not written back, so only the line
        // numbers may differ.
        PasoEscenario original = escenario.pasos().at(i);
        original.linea = releido.pasos().at(i).linea;
        FuzzSupport::exigir(original == releido.pasos().at(i), "un paso cambia al releer el escenario");
    }
    FuzzSupport::exigir(releido.texto() == texto, "el texto del escenario cambia al escribirlo de nuevo");
    return 0;
}
