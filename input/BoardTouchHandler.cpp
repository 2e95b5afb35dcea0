// Board callbacks onto the scene.
#include "BoardTouchHandler.h"

#include "PointerIndex.h"

DevicePoint BoardTouchHandler::begin(int x, int y, int index)
{
    _target.resizeTouchIndicator(index, 0.0, 0.0);
    return _geometry.toDevice(x, y);
}

void BoardTouchHandler::log(int event, DevicePoint p)
{
    _target.logTouch(event, p.x, p.y, _lastTouchWidth, _lastTouchHeight);
}

void BoardTouchHandler::OnXYDown(int x, int y, int z, int id)
{
    const int index = static_cast<int>(pointerIndex(id));
    const DevicePoint p = begin(x, y, index);
    _jumpFilter.press(static_cast<unsigned>(index), x, y);
    _target.devicePress(p.x, p.y, z, index);
    log(TOUCH_LOG_DOWN, p);
}

void BoardTouchHandler::OnXYMove(int x, int y, int z, int id)
{
    const int index = static_cast<int>(pointerIndex(id));
    const BoardPoint accepted = _jumpFilter.move(static_cast<unsigned>(index), x, y);
    const DevicePoint p = begin(accepted.x, accepted.y, index);
    _target.deviceMove(p.x, p.y, z, index);
    log(TOUCH_LOG_MOVE, p);
}

void BoardTouchHandler::OnXYUp(int x, int y, int z, int id)
{
    const int index = static_cast<int>(pointerIndex(id));
    const DevicePoint p = begin(x, y, index);
    _target.deviceRelease(p.x, p.y, z, index);
    log(TOUCH_LOG_UP, p);
}

void BoardTouchHandler::OnDViTRawWidthHeight(int width, int height, int id)
{
    const int index = static_cast<int>(pointerIndex(id));
    _target.setTouchBoundHeight(index, width);
    _target.setTouchBoundWidth(index, height);
    _lastTouchWidth = width;
    _lastTouchHeight = height;
}
