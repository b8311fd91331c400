/**
*	\file main.c
*	\brief Resumen del contenido del archivo
*	\details Descripcion detallada del archivo
*	\author Pruebas
*	\date 01-01-2026 00:00:00
*/

#include "funciones.h"



void main(void)
{

//declaracion de variables
//inicializacion de perifericos

	inicializar() ;


	while(1)
	{

		maquina_motor();


	}
}
