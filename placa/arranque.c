/* Arranque de la placa virtual: la tabla de vectores y el reinicio, que
 * copia las variables inicializadas a la RAM, pone en cero las demas y
 * llama a main. */

extern unsigned int _carga_data, _inicio_data, _fin_data, _inicio_bss, _fin_bss, _tope_pila;

int main(void);

void Reset_Handler(void)
{
    unsigned int *origen = &_carga_data;
    for (unsigned int *destino = &_inicio_data; destino < &_fin_data;)
        *destino++ = *origen++;
    for (unsigned int *destino = &_inicio_bss; destino < &_fin_bss;)
        *destino++ = 0;
    main();
    for (;;) {
    }
}

/* Un fallo detiene la placa: queda a la vista en el depurador de QEMU. */
static void Fallo_Handler(void)
{
    for (;;) {
    }
}

__attribute__((section(".vectores"), used)) static void (*const vectores[])(void) = {
    (void (*)(void))&_tope_pila, Reset_Handler, Fallo_Handler, Fallo_Handler,
    Fallo_Handler, Fallo_Handler, Fallo_Handler,
};
