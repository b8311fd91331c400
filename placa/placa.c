/* UARTs de la placa virtual y los eventos leidos de la terminal. */
#include "placa.h"

#define UART0 0x4000C000u
#define UART1 0x4000D000u
#define REG(base, desplazamiento) (*(volatile unsigned int *)((base) + (desplazamiento)))
#define DR 0x000u
#define FR 0x018u
#define LCRH 0x02Cu
#define CR 0x030u
#define FR_RXFE 0x10u
#define FR_TXFF 0x20u

/* Largo maximo de una linea de eventos; lo que sobra se descarta. */
#define MAX_LINEA 160

static char g_recibida[MAX_LINEA + 1];
static int g_largoRecibida;
static char g_eventos[MAX_LINEA + 1];

static unsigned int base(int uart)
{
    return uart == 0 ? UART0 : UART1;
}

void placa_iniciar(void)
{
    for (int uart = 0; uart < 2; ++uart) {
        REG(base(uart), CR) = 0;
        REG(base(uart), LCRH) = 0x70u; /* 8 bits, FIFO habilitada */
        REG(base(uart), CR) = 0x301u;  /* UART, transmision y recepcion */
    }
}

static void escribir_caracter(int uart, char c)
{
    while (REG(base(uart), FR) & FR_TXFF) {
    }
    REG(base(uart), DR) = (unsigned char)c;
}

void placa_escribir(int uart, const char *texto)
{
    while (*texto)
        escribir_caracter(uart, *texto++);
}

void placa_escribir_numero(int uart, int numero)
{
    char cifras[12];
    int n = 0;
    unsigned int valor = numero < 0 ? 0u - (unsigned int)numero : (unsigned int)numero;
    if (numero < 0)
        escribir_caracter(uart, '-');
    do {
        cifras[n++] = (char)('0' + valor % 10u);
        valor /= 10u;
    } while (valor);
    while (n > 0)
        escribir_caracter(uart, cifras[--n]);
}

void placa_vuelta(void)
{
    g_eventos[0] = '\0';
    while (!(REG(UART1, FR) & FR_RXFE)) {
        const char c = (char)(REG(UART1, DR) & 0xFFu);
        if (c == '\n') {
            for (int i = 0; i < g_largoRecibida; ++i)
                g_eventos[i] = g_recibida[i];
            g_eventos[g_largoRecibida] = '\0';
            g_largoRecibida = 0;
            return;
        }
        if (c != '\r' && g_largoRecibida < MAX_LINEA)
            g_recibida[g_largoRecibida++] = c;
    }
}

static int separador(char c)
{
    return c == ' ' || c == ',' || c == '\t' || c == '\0';
}

int placa_evento(const char *nombre)
{
    const char *p = g_eventos;
    while (*p) {
        while (*p && separador(*p))
            ++p;
        int i = 0;
        while (nombre[i] && p[i] == nombre[i])
            ++i;
        if (!nombre[i] && separador(p[i]))
            return 1;
        while (*p && !separador(*p))
            ++p;
    }
    return 0;
}

void placa_accion(const char *nombre)
{
    placa_escribir(1, nombre);
    placa_escribir(1, "\n");
}

/* La primera maquina que llama main.c; la define vueltas.c, que escribe el
 * Makefile a partir de AP_MdeE.h. */
extern void (*const placa_primera_maquina)(void);

/* AP_MdeE.c se compila con -finstrument-functions: entrar a la primera
 * maquina marca el comienzo de una vuelta del lazo principal. */
void __cyg_profile_func_enter(void *funcion, void *llamador)
{
    (void)llamador;
    if (funcion == (void *)placa_primera_maquina)
        placa_vuelta();
}

void __cyg_profile_func_exit(void *funcion, void *llamador)
{
    (void)funcion;
    (void)llamador;
}
