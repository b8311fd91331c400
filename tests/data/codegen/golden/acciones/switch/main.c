/**
*	\file main.c
*	\brief Resumen del contenido del archivo
*	\details Descripcion detallada del archivo
*	\author ANA
*	\date 05-03-2024 11:02:41
*/

#include "funciones.h"


extern int n;extern int cuenta;


void main(void)
{

//declaracion de variables
//inicializacion de perifericos

	inicializar() ;


	while(1)
	{

		maquina_motor();

		maquina_bomba();


	}
}
