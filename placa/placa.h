/* La placa virtual: un LM3S6965 (Cortex-M3) emulado por QEMU.
 * UART0 lleva las lineas de depuracion a Vireo; UART1 es la terminal donde
 * corre "make ejecutar": cada linea que se escribe alli nombra los eventos
 * presentes durante una vuelta del lazo principal de main.c. */
#ifndef PLACA_H
#define PLACA_H

/* Prepara UART0 y UART1. */
void placa_iniciar(void);

/* Verdadero (1) si la linea de eventos de esta vuelta nombra el evento. */
int placa_evento(const char *nombre);

/* Escribe "nombre\n" en la terminal (UART1): para ver las acciones. */
void placa_accion(const char *nombre);

/* Texto y numeros por una UART: 0 es la de depuracion, 1 la terminal. */
void placa_escribir(int uart, const char *texto);
void placa_escribir_numero(int uart, int numero);

/* Toma de la terminal la linea de eventos de la vuelta que empieza. La
 * llama la placa sola al comenzar cada vuelta del lazo principal. */
void placa_vuelta(void);

#endif /* PLACA_H */
