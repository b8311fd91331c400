/* Depuracion por el puerto serie: con DEPURAR definido, el codigo generado
 * llama a Log en cada transicion tomada, y Log la envia por UART0 como la
 * linea "maquina,estado,transicion\n" que lee "Depurar" de Vireo. */
#ifndef AP_DEPURACION_H
#define AP_DEPURACION_H

/* AP_FuncionesMdeE.c incluye este archivo: asi los cuerpos de los eventos y
 * las acciones tienen a mano placa_evento y placa_accion. */
#include "placa.h"

/* Prepara las UARTs de la placa. */
void Inicializacion(void);

void Log(int maquina, int estado, int transicion);

#endif /* AP_DEPURACION_H */
