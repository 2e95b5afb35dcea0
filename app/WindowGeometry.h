// Geometry of the window that spans every monitor.
#pragma once

#include <QList>
#include <QRect>

class QScreen;

namespace WindowGeometry {

// The virtual desktop: the union of the geometries of all screens.
QRect virtualDesktop(const QList<QScreen*>& screens);

// Window rectangle for multi-monitor full screen: the frame (frameWidth,
// frameHeight thick, no caption) lies just outside the virtual desktop, and
// the client area is inset by one pixel on each side.
QRect spanningRect(const QRect& desktop, int frameWidth, int frameHeight);

} // namespace WindowGeometry
