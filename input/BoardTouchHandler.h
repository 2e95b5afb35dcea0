// What the board callbacks do: pointer index, jump filter, board units to
// device pixels, contact sizes for the scene, touch indicators and the touch
// log. No GL and no Qt: the GL surface forwards its callbacks here.
#pragma once

#include "BoardGeometry.h"
#include "TouchJumpFilter.h"
#include "TouchSink.h"

// The scene and study-log operations the callbacks drive. Positions are
// device pixels (origin bottom left); sizes are board units; user and device
// are the pointer index.
class BoardTouchTarget
{
public:
    virtual ~BoardTouchTarget() = default;

    virtual void resizeTouchIndicator(int user, double width, double height) = 0;
    virtual void setTouchBoundWidth(int user, double width) = 0;
    virtual void setTouchBoundHeight(int user, double height) = 0;
    virtual void devicePress(int x, int y, int value, int device) = 0;
    virtual void deviceMove(int x, int y, int value, int device) = 0;
    virtual void deviceRelease(int x, int y, int value, int device) = 0;
    // One record for the touch log: event (TouchLogEvent), device position
    // and the last reported contact size. The target decides whether a
    // study task is running and the record is kept.
    virtual void logTouch(int event, int x, int y, int width, int height) = 0;
};

// Event numbers of the touch log.
enum TouchLogEvent : int { TOUCH_LOG_DOWN = 0, TOUCH_LOG_UP = 1, TOUCH_LOG_MOVE = 2 };

class BoardTouchHandler : public TouchSink
{
public:
    // `target` is not owned and must outlive the handler.
    explicit BoardTouchHandler(BoardTouchTarget& target) : _target(target) {}

    // Board resolution and surface size; the conversion of every later call.
    void setGeometry(const BoardGeometry& geometry) { _geometry = geometry; }
    const BoardGeometry& geometry() const { return _geometry; }

    // A down starts the pointer's jump-filter track; a move is held back to
    // the last accepted position when it jumps more than 200 board units;
    // an up is reported where it happens.
    void OnXYDown(int x, int y, int z, int id) override;
    void OnXYMove(int x, int y, int z, int id) override;
    void OnXYUp(int x, int y, int z, int id) override;
    // Hands the size to the scene crosswise (width as the bound height,
    // height as the bound width); the posture detector uses only their
    // product. The size is also kept for the touch log.
    void OnDViTRawWidthHeight(int width, int height, int id) override;

    int lastTouchWidth() const { return _lastTouchWidth; }
    int lastTouchHeight() const { return _lastTouchHeight; }
    // Last accepted board position of a pointer index.
    BoardPoint lastTouch(unsigned index) const { return _jumpFilter.lastAccepted(index); }

private:
    // Indicator reset, conversion and log record shared by the three events;
    // returns the device position.
    DevicePoint begin(int x, int y, int index);
    void log(int event, DevicePoint p);

    BoardTouchTarget& _target;
    BoardGeometry _geometry;
    TouchJumpFilter _jumpFilter;
    int _lastTouchWidth = 0;
    int _lastTouchHeight = 0;
};
