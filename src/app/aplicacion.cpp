#include "aplicacion.h"

#include "estilovireo.h"
#include "traducciones.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

namespace Aplicacion {

void preparar(QApplication &app)
{
    // Over the style Qt chose (the desktop's, or the one asked for with -style).
    QApplication::setStyle(new EstiloVireo(QApplication::style()->objectName()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/img/vireo.ico")));
    QApplication::setDesktopFileName(QStringLiteral("vireo"));
    Traducciones::instalar(app);
}

} // namespace Aplicacion
