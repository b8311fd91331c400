#ifndef PINES_H
#define PINES_H
#define LED_ROJO 4
#define FILTRO(x) ((x) & 0x0f)
#define REINICIAR() do { cuenta = 0; } while (0);
int sensor_leer(int canal);
void *buffer_obtener (void);
unsigned long long tiempo_ms(void); // milisegundos
#endif
