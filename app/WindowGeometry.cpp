// Geometry of the window that spans every monitor.
#include "WindowGeometry.h"

#include <QScreen>

namespace WindowGeometry {

QRect virtualDesktop(const QList<QScreen*>& screens)
{
    QRect desktop;
    for (const QScreen* screen : screens)
        desktop = desktop.united(screen->geometry());
    return desktop;
}

QRect spanningRect(const QRect& desktop, int frameWidth, int frameHeight)
{
    return QRect(desktop.left() + 1 - frameWidth,
                 desktop.top() + 1 - frameHeight,
                 desktop.width() + 2 * frameWidth - 2,
                 desktop.height() + 2 * frameHeight - 2);
}

} // namespace WindowGeometry
