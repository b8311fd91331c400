#ifndef ESTILOVIREO_H
#define ESTILOVIREO_H

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

// The platform's style, with its standard icons kept once made. Each machine
// window asks for the same four title-bar icons, and the style reads each one
// from its picture files every time: a project of twenty machines would read
// eighty pictures to open.
class EstiloVireo : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icono, const QStyleOption *opcion = nullptr,
                       const QWidget *widget = nullptr) const override;

private:
    mutable QHash<int, QIcon> m_iconos;
};

#endif // ESTILOVIREO_H
