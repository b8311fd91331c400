
/************************************************************************************************************************************
 * Copyright (c) Vireo. Todos los derechos reservados.
 * La redistribución y el uso en forma de código fuente y en forma objeto, con o sin modificaciones,
 * están permitidos siempre que se cumplan las siguientes condiciones:
 * 1. Las redistribuciones del código fuente deben conservar el aviso de copyright anterior, esta lista
 *    de condiciones y la siguiente renuncia de garantía.
 * 2. Las redistribuciones en forma objeto deben reproducir el aviso de copyright anterior, esta lista de
 *    condiciones y la siguiente renuncia de garantía en la documentación y otros materiales provistos
 *    con la distribución.
 * 3. Ni el nombre del titular de los derechos ni los de sus colaboradores pueden usarse para respaldar
 *    o promocionar productos derivados de este software sin su permiso previo y por escrito.
 *
 * ESTE SOFTWARE ES PROVISTO POR LOS TITULARES DE LOS DERECHOS Y SUS COLABORADORES "TAL CUAL", Y SE
 * RECHAZA TODA GARANTÍA EXPRESA O IMPLÍCITA, INCLUIDAS, SIN LIMITARSE A ELLAS, LAS GARANTÍAS IMPLÍCITAS
 * DE COMERCIABILIDAD Y DE APTITUD PARA UN FIN DETERMINADO. EN NINGÚN CASO LOS TITULARES DE VIREO NI SUS
 * COLABORADORES SERÁN RESPONSABLES POR DAÑOS DIRECTOS, INDIRECTOS, INCIDENTALES, ESPECIALES, EJEMPLARES
 * O CONSECUENTES (INCLUIDOS, SIN LIMITARSE A ELLOS, LA ADQUISICIÓN DE BIENES O SERVICIOS SUSTITUTOS, LA
 * PÉRDIDA DE USO, DE DATOS O DE BENEFICIOS, O LA INTERRUPCIÓN DE LA ACTIVIDAD), CUALQUIERA SEA SU CAUSA Y
 * LA TEORÍA DE RESPONSABILIDAD, CONTRACTUAL, OBJETIVA O EXTRACONTRACTUAL, QUE SURJA DE CUALQUIER MODO DEL
 * USO DE ESTE SOFTWARE (VIREO), AUN HABIENDO SIDO ADVERTIDOS DE LA POSIBILIDAD DE TALES DAÑOS.
 *	
 * El contenido de este archivo es generado en forma automatica a partir del modelo planteado. Cualquier cambio realizado sobre el modelo
 * generara un nuevo codigo que eliminara todos los cambios realizados por el desarrollador en el fuente previamente generado
**************************************************************************************************************************************/

/**
*	\file AP_FuncionesMde.c
*	\brief Implementacion switch-case
*	\details Descripcion detallada del archivo
*	\author ANA
*	\date 05-03-2024 11:02:41
*/

/*********************************************************************************************************************************
 *** INCLUDES
**********************************************************************************************************************************/
#include "AP_FuncionesMdeE.h" 
#include "AP_Depuracion.h" 

/*********************************************************************************************************************************
 *** DEFINES PRIVADOS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** MACROS PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** TIPOS DE DATOS PRIVADOS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** TABLAS PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** VARIABLES GLOBALES PUBLICAS
**********************************************************************************************************************************/
/*********************************************************************************************************************************
 *** VARIABLES GLOBALES PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** FUNCIONES PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** FUNCIONES GLOBALES AL MODULO
**********************************************************************************************************************************/

//!< Funciones asociadas a los eventos

/**
*	\fn int boton(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
int boton( void )
{
	int res = 0 ;

	//!< Codigo propio de la funcion

	return res;
}

/**
*	\fn int e2(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
int e2( void )
{
	int res = 0 ;

	//!< Codigo propio de la funcion

	return res;
}

/**
*	\fn int e3(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
int e3( void )
{
	int res = 0 ;

	//!< Codigo propio de la funcion

	return res;
}

//!< Funciones asociadas a las acciones

/**
*	\fn void f(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void f( void )
{
	//!< Codigo propio de la funcion

	return ;
}

/**
*	\fn void encender(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void encender( void )
{
	//!< Codigo propio de la funcion

	return ;
}

/**
*	\fn void apagar(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void apagar( void )
{
	//!< Codigo propio de la funcion

	return ;
}

/**
*	\fn void a(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void a( void )
{
	//!< Codigo propio de la funcion

	return ;
}

/**
*	\fn void b(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void b( void )
{
	//!< Codigo propio de la funcion

	return ;
}

/**
*	\fn void sinParentesis(void)
*	\brief Resumen
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void sinParentesis( void )
{
	//!< Codigo propio de la funcion

	return ;
}

