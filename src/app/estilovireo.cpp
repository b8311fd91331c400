#include "estilovireo.h"

#include <QGuiApplication>

QIcon EstiloVireo::standardIcon(StandardPixmap icono, const QStyleOption *opcion, const QWidget *widget) const
{
    // An option may ask for another state or direction; without one, the
    // icon depends only on which it is and on the application's direction.
    if (opcion)
        return QProxyStyle::standardIcon(icono, opcion, widget);
    const int clave = 2 * int(icono) + (QGuiApplication::isRightToLeft() ? 1 : 0);
    auto hecho = m_iconos.constFind(clave);
    if (hecho == m_iconos.constEnd())
        hecho = m_iconos.insert(clave, QProxyStyle::standardIcon(icono, nullptr, widget));
    return *hecho;
}
