// Verification and both styles of generated C on any project Vireo opens, as
// "Verificar", "Generar Código" and vireo-cli run them, composed in memory.
#include "fuzzsupport.h"
#include "generadorcodigo.h"
#include "verificacion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto datos = FuzzSupport::cargar(FuzzSupport::bytes(data, size));
    if (!datos)
        return 0;
    const Verificacion verificacion(*datos);
    const auto arbol = verificacion.arbol();
    FuzzSupport::exigir(verificacion.maquinaSinEstadoInicial() >= 0 || !arbol.empty(),
                        "la verificación no da resultados");
    const GeneradorCodigo generador(*datos);
    for (const EstiloCodigo estilo : {EstiloCodigo::Switch, EstiloCodigo::PunteroAFuncion}) {
        generador.problemas(estilo);
        FuzzSupport::exigir(generador.archivos(estilo).size() == 5, "no se componen los cinco archivos");
    }
    return 0;
}
