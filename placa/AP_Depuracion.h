/* Depuracion por el puerto serie: con DEPURAR definido, el codigo generado
 * llama a Log en cada transicion tomada, y Log la envia por UART0 como la
 * linea "maquina,estado,transicion\n" que lee "Depurar" de Vireo. */
#ifndef AP_DEPURACION_H
#define AP_DEPURACION_H

/* Prepara las UARTs de la placa. */
void Inicializacion(void);

void Log(int maquina, int estado, int transicion);

#endif /* AP_DEPURACION_H */
