#include "aplicacion.h"

#include "estilovireo.h"
#include "traducciones.h"

#include <QApplication>
#include <QIcon>

namespace Aplicacion {

void preparar(QApplication &app)
{
    QApplication::setStyle(new EstiloVireo);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/img/vireo.ico")));
    QApplication::setDesktopFileName(QStringLiteral("vireo"));
    Traducciones::instalar(app);
}

} // namespace Aplicacion
