#ifndef APLICACION_H
#define APLICACION_H

class QApplication;

// What Vireo's process sets up once, before its first window: the style, the
// icon every window shows, the desktop entry and the Spanish catalogue.
namespace Aplicacion {

void preparar(QApplication &app);

} // namespace Aplicacion

#endif // APLICACION_H
