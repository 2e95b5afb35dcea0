// Touch-screen points to board contacts.
#include "TouchPointTracker.h"

void TouchPointTracker::update(const std::vector<TouchPoint>& points)
{
    for (const TouchPoint& point : points) {
        const ContactKey key = contactKey(TouchSource::QtTouch, point.id);
        const BoardPoint at = _geometry.fromWindow(point.x, point.y);
        const int width = _geometry.widthToBoard(point.width);
        const int height = _geometry.heightToBoard(point.height);
        switch (point.phase) {
        case TouchPoint::Phase::Pressed: _pointers.press(key, at.x, at.y, width, height); break;
        case TouchPoint::Phase::Moved: _pointers.move(key, at.x, at.y, width, height); break;
        case TouchPoint::Phase::Stationary: break;
        case TouchPoint::Phase::Released: _pointers.release(key, at.x, at.y); break;
        }
    }
}
