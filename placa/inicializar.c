#include "funciones.h"
#include "AP_Depuracion.h"

void inicializar(void)
{
    Inicializacion();
}
