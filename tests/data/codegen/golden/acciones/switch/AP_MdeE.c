
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
*	\file AP_MdeE.c
*	\brief Implementacion switch-case
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
 *** TABLAS PRIVADAS AL MODULO
**********************************************************************************************************************************/

/*********************************************************************************************************************************
 *** VARIABLES GLOBALES PUBLICAS
**********************************************************************************************************************************/


int n = 0 ;int cuenta = 0 ;
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
/**
*	\fn void maquina_motor()
*	\brief Implementacion switch-case
*	\details 
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void maquina_motor()
{
		static int estado = APAGADO;
		static int iniciada = 0;

		if( !iniciada )
		{
			iniciada = 1;
			f( );
			n = 0;
		}

		switch(estado)
		{
			case APAGADO:
			
				if( boton( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 0 , 0 );
					#endif

					encender( );
					cuenta = 0;

					estado = ENCENDIDO;	
					break;
				}
 
				if( e2( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 0 , 1 );
					#endif

					n = 2;
					estado = ENCENDIDO;	
					break;
				}
 
				if( e3( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 0 , 2 );
					#endif

					
					estado = APAGADO;	
					break;
				}
 

				break;
			
			case ENCENDIDO:
			
				if( boton( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 1 , 0 );
					#endif

					n += 1;
					apagar( );
					
					estado = APAGADO;	
					break;
				}
 
				if( e2( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 1 , 1 );
					#endif

					a( );
					n = 1;
					b( );
					
					estado = APAGADO;	
					break;
				}
 
				if( e3( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 1 , 2 );
					#endif

					a( );
					n -= 1;

					estado = LISTO;	
					break;
				}
 

				break;
			
			case LISTO:
			
				if( boton( ) )
				{
					#ifdef DEPURAR
						Log( 0 , 2 , 0 );
					#endif

					sinParentesis();
					estado = LISTO;	
					break;
				}
 

				break;
			
			default: estado = APAGADO;
		}


}

/**
*	\fn void maquina_bomba()
*	\brief Implementacion switch-case
*	\details 
*	\author ANA
*	\date 05-03-2024 11:02:41
*/
void maquina_bomba()
{
		static int estado = LISTO;

		switch(estado)
		{
			case LISTO:
			
				if( n > 3 && !(e2( ) || e3( )) )
				{
					#ifdef DEPURAR
						Log( 1 , 0 , 0 );
					#endif

					f();
					estado = OTRO;	
					break;
				}
 

				break;
			
			case OTRO:
			

				break;
			
			default: estado = LISTO;
		}


}

