
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
*	\file main.c
*	\brief Resumen del contenido del archivo
*	\details Descripcion detallada del archivo
*	\author ANA
*	\date 05-03-2024 11:02:41
*/

#include "AP_MdeE.h"
#include "AP_Depuracion.h"

int main( void )
{
	//!< Declaracion de variables

	//!< Inicializacion de Perifericos

	Inicializacion() ;

	while(1)
	{

		maquina_estado();

	}
	return 0;
}
