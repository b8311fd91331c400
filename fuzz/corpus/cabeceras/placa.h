/* placa.h - pines y rutinas de la placa del laboratorio; ver manual (cap. 3) */
#ifndef PLACA_H
#define PLACA_H

#include <stdint.h>
#include "config.h"

// Niveles; el LED es activo en bajo (ver esquema)
#define LED_ON	0
#define  LED_OFF 1
#	define	MOTOR_PWM   (3u)
#define MAX(a, b) ((a) > (b) ? (a) : (b))
#define APAGAR_TODO() \
    do { PORTB = 0; PORTC = 0; } while (0)
#define BAUDIOS 9600 /* bits por segundo; (fijo) */

/*
 * void obsoleta(void);
 */
void motor_on(void);
    void motor_off (void);
	int	leer(int canal);
static inline uint8_t estado_led(void) { return PORTB & 1; }
char *nombre_placa(void);
extern volatile uint8_t contador;
typedef void (*callback_t)(int);
const char *saludo = "hola // (no es comentario);";

/* Repetidos por error al fusionar ramas. */
void motor_on(void);
#define LED_ON 0

#endif /* PLACA_H */
