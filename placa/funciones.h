/* Lo que main.c necesita de la placa: las maquinas y inicializar(). */
#ifndef FUNCIONES_H
#define FUNCIONES_H

#include "AP_MdeE.h"
#include "placa.h"

void inicializar(void);

#endif /* FUNCIONES_H */
