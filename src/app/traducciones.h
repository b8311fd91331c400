#ifndef TRADUCCIONES_H
#define TRADUCCIONES_H

class QCoreApplication;

// The texts Vireo writes itself are Spanish; the standard dialogs (file
// chooser, input boxes, message-box buttons) take their texts from Qt's own
// Spanish catalogue, installed here.
namespace Traducciones {

// Installs Qt's Spanish catalogue on app; false when it is not installed on
// this system (the standard dialogs then stay in English).
bool instalar(QCoreApplication &app);

} // namespace Traducciones

#endif // TRADUCCIONES_H
