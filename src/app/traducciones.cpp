#include "traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Traducciones {

bool instalar(QCoreApplication &app)
{
    auto *traductor = new QTranslator(&app);
    if (!traductor->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    return app.installTranslator(traductor);
}

} // namespace Traducciones
