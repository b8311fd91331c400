
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
*	\file MdeE.c
*	\brief 
*	\details Descripcion detallada del archivo
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
/*********************************************************************************************************************************
 *** INCLUDES
**********************************************************************************************************************************/
#include "AP_MdeE.h"
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
 *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO
**********************************************************************************************************************************/
static void funcion_apagado( void );
static void funcion_encendido( void );
static void funcion_listo( void );
/*********************************************************************************************************************************
 *** TABLAS PRIVADAS AL MODULO
**********************************************************************************************************************************/
void ( * const arrayFunciones[ ] )( void ) = { funcion_apagado , funcion_encendido , funcion_listo };

/*********************************************************************************************************************************
 *** VARIABLES GLOBALES PUBLICAS
**********************************************************************************************************************************/


int n = 0 ;int cuenta = 0 ;
/*********************************************************************************************************************************
 *** VARIABLES GLOBALES PRIVADAS AL MODULO
**********************************************************************************************************************************/
static int estado = APAGADO;


/*********************************************************************************************************************************
 *** FUNCIONES PRIVADAS AL MODULO
**********************************************************************************************************************************/
/**
*	\fn static void funcion_apagado ( void )
*	\brief Descripcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
static void funcion_apagado ( void )
{
	if( boton( ) )
	{
		 estado = ENCENDIDO;
		 encender( );
	
		 cuenta = 0; 
		 return;
	}
	if( e2( ) )
	{
		 estado = ENCENDIDO;
		 n = 2; 
		 return;
	}
	if( e3( ) )
	{
		 estado = APAGADO;

		 return;
	}
}

/**
*	\fn static void funcion_encendido ( void )
*	\brief Descripcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
static void funcion_encendido ( void )
{
	if( boton( ) )
	{
		 estado = APAGADO;
		 n += 1;
	
		 apagar( ); 
		 return;
	}
	if( e2( ) )
	{
		 estado = APAGADO;
		 a( );
	
		 n = 1;
	
		 b( ); 
		 return;
	}
	if( e3( ) )
	{
		 estado = LISTO;
		 a( );
	
		 n -= 1; 
		 return;
	}
}

/**
*	\fn static void funcion_listo ( void )
*	\brief Descripcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
static void funcion_listo ( void )
{
	if( boton( ) )
	{
		 estado = LISTO;
		 sinParentesis(); 
		 return;
	}
}

/**
*	\fn static void funcion_listo ( void )
*	\brief Descripcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
static void funcion_listo ( void )
{
	if( n > 3 && !(e2( ) || e3( )) )
	{
		 estado = OTRO;
		 f(); 
		 return;
	}
}

/**
*	\fn static void funcion_otro ( void )
*	\brief Descripcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
static void funcion_otro ( void )
{
}

/*********************************************************************************************************************************
 *** FUNCIONES GLOBALES AL MODULO
**********************************************************************************************************************************/
/**
*	\fn void maquina_estado( void )
*	\brief Maquina de estado mediante vector de ptr a funcion
*	\details Detalles
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void maquina_estado( void )
{
	static int iniciada = 0;

	if( !iniciada )
	{
		iniciada = 1;
		f( );
		n = 0;
	}

	if( estado < 0 || estado > LISTO )
	{
		estado = APAGADO;
		return;
	}

	( *arrayFunciones[ estado ] )( );
}
