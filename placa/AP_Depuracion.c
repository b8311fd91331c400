#include "AP_Depuracion.h"
#include "placa.h"

void Inicializacion(void)
{
    placa_iniciar();
}

void Log(int maquina, int estado, int transicion)
{
    placa_escribir_numero(0, maquina);
    placa_escribir(0, ",");
    placa_escribir_numero(0, estado);
    placa_escribir(0, ",");
    placa_escribir_numero(0, transicion);
    placa_escribir(0, "\n");
}
