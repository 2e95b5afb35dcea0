// The GL surface's Wii Remote entry points: joystick pointing, Remote
// buttons, the window border, and create and erase stamps along the
// pointer's path. app/README.md has the button table.
#include "QTPictavoWidgetGL.h"

#include "CanvasCompositeGL.h"
#include "NunchukLogger.h"
#include "PictavoVisGL.h"
#include "ToolBrushLeafGL.h"
#include "VelkConfiguration.h"
#include "WiimoteLogger.h"
#include "WiiPointerStamps.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Contact size the joystick drives and the size a pointing Remote shows.
constexpr double JoystickContactSize = 15.0;
constexpr double PointingContactSize = 10.0;
// Joystick steps up to this many pixels move the pointer but no contact.
constexpr int ContactStep = 2;
// Size change of the tool brush per plus or minus press, in pixels.
constexpr double BrushSizeStep = 10.0;
constexpr float ButtonCreateAmount = 5.0f;

bool contains(const std::vector<int>& codes, int code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool menuCombination(int combination) { return combination >= 0 && combination <= 2; }

} // namespace

bool QTPictavoWidgetGL::WiiSurfaceTarget::isReady() const { return _widget._vis != nullptr; }

void QTPictavoWidgetGL::WiiSurfaceTarget::setNunchukIgnored(bool ignored)
{
    if (auto* vis = dynamic_cast<PictavoVisGL*>(_widget._vis))
        if (CanvasCompositeGL* canvas = vis->findCanvas())
            canvas->setNunchukIgnored(ignored);
}

void QTPictavoWidgetGL::WiiSurfaceTarget::wiiJoystickEvent(int dx, int dy, int device, const std::vector<int>& pressed,
                                                           const WiiCommunicationData& record, bool zReleased)
{
    _widget.wiiJoystickEvent(dx, dy, device, pressed, record, zReleased);
}

void QTPictavoWidgetGL::WiiSurfaceTarget::wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed,
                                                         const WiiCommunicationData& record)
{
    _widget.wiiButtonEvent(x, y, device, pressed, record);
}

void QTPictavoWidgetGL::WiiSurfaceTarget::wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                                                         const WiiCommunicationData& record)
{
    _widget.wiiBorderEvent(x, y, device, pressed, record);
}

void QTPictavoWidgetGL::WiiSurfaceTarget::createObjectsAt(float amount) { _widget.createObjectsAt(amount); }
void QTPictavoWidgetGL::WiiSurfaceTarget::eraseObjectsAt(float amount) { _widget.eraseObjectsAt(amount); }

void QTPictavoWidgetGL::wiiJoystickEvent(int dx, int dy, int device, std::vector<int> pressed,
                                         const WiiCommunicationData& record, bool zReleased)
{
    // One state message of a Remote with a Nunchuk: both records are logged.
    if (isTaskRunning()) {
        NunchukLogger::instance().addEntry(record.nunchuk());
        WiimoteLogger::instance().addEntry(record);
    }
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (vis == nullptr)
        return;
    const int combination = vis->getInputCombination();
    const unsigned users = _config->_userdataNumber;
    if (!menuCombination(combination)) {
        // In the pointing combinations Z finishes the running study task
        // (startTask does nothing outside task mode).
        if (combination <= 6 && contains(pressed, WiiCommunicationData::BUTTON_Z)) {
            startTask();
            vis = dynamic_cast<PictavoVisGL*>(_vis);
            if (vis == nullptr)
                return;
        }
        vis->wiimoteEvent(users, pressed, record);
        return;
    }

    vis->wiimoteEvent(users, pressed, record);
    if (zReleased) {
        _previousPointerPos[0] = _pointerPos[0];
        _previousPointerPos[1] = _pointerPos[1];
        const WiiJoystickPointer::ZoneChange change = _joystickPointer.move(
            _pointerPos[0], _pointerPos[1], static_cast<float>(dx), static_cast<float>(-dy), width(), height());
        if (change != WiiJoystickPointer::ZoneChange::None && _sendBorderMessage)
            _sendBorderMessage(change == WiiJoystickPointer::ZoneChange::Left);
    }
    const bool largeStep = std::abs(dx) > ContactStep || std::abs(dy) > ContactStep;
    wiiToolBrushReaction();
    if (zReleased && largeStep) {
        vis->resizeTouchIndicator(device, JoystickContactSize, JoystickContactSize);
        vis->deviceMove(static_cast<int>(_pointerPos[0]), static_cast<int>(_pointerPos[1]), 0, device);
    } else if (!wiiPointingCheck(device, pressed, record)) {
        vis->resizeTouchIndicator(device, 0.0, 0.0);
    }
}

void QTPictavoWidgetGL::wiiToolBrushReaction()
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    ToolBrushLeafGL* brush = vis != nullptr ? vis->findToolBrush() : nullptr;
    if (brush == nullptr)
        return;
    // The brush's show both activates it and brings it to the front, so the
    // separate activation and the second show of a small step are one call.
    if (_buildCanvasShown) {
        if (brush->isShown())
            brush->hide();
    } else {
        brush->show();
    }
}

bool QTPictavoWidgetGL::wiiPointingCheck(int device, const std::vector<int>&, const WiiCommunicationData& record)
{
    if (!record.b || _vis == nullptr)
        return false;
    _vis->resizeTouchIndicator(device, PointingContactSize, PointingContactSize);
    return true;
}

void QTPictavoWidgetGL::wiiButtonEvent(float x, float y, int, const std::vector<int>& pressed,
                                       const WiiCommunicationData& record)
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (vis == nullptr)
        return;
    vis->wiimoteEvent(_config->_userdataNumber, pressed, record);
    const int combination = vis->getInputCombination();
    if (combination != 0 && combination != 1)
        return;
    ToolBrushLeafGL* brush = vis->findToolBrush();
    CanvasCompositeGL* canvas = vis->findCanvas();
    for (int code : pressed) {
        switch (code) {
        case WiiCommunicationData::BUTTON_B:
            if (brush != nullptr)
                brush->stampCreate(static_cast<int>(ButtonCreateAmount), x, y);
            break;
        case WiiCommunicationData::BUTTON_C:
            if (brush != nullptr && canvas != nullptr) {
                brush->stampErase(-ButtonCreateAmount, x, y);
                canvas->markEraseDirty();
            }
            break;
        case WiiCommunicationData::BUTTON_PLUS:
        case WiiCommunicationData::BUTTON_MINUS:
            if (brush != nullptr) {
                const double step = code == WiiCommunicationData::BUTTON_PLUS ? BrushSizeStep : -BrushSizeStep;
                brush->setSize(std::max(ToolBrushLeafGL::MinimumSize, brush->getTargetWidth() + step), true);
            }
            break;
        case WiiCommunicationData::BUTTON_HOME:
            // Home opens the stroke build canvas or closes it, as putting
            // the tools back in the tray and taking the pen do.
            _toolPutBack = !_toolPutBack;
            break;
        default: break;   // Z belongs to the joystick and to task mode
        }
    }
}

void QTPictavoWidgetGL::wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                                       const WiiCommunicationData& record)
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (vis == nullptr)
        return;
    vis->resizeTouchIndicator(device, 0.0, 0.0);
    vis->wiimoteEvent(_config->_userdataNumber, pressed, record);
    _previousPointerPos[0] = _pointerPos[0];
    _previousPointerPos[1] = _pointerPos[1];
    _pointerPos[0] = x;
    _pointerPos[1] = y;
    vis->deviceMove(static_cast<int>(x), static_cast<int>(y), 0, device);
    if (!_buildCanvasShown)
        if (ToolBrushLeafGL* brush = vis->findToolBrush())
            brush->show();
}

void QTPictavoWidgetGL::createObjectsAt(float amount)
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (ToolBrushLeafGL* brush = vis != nullptr ? vis->findToolBrush() : nullptr) {
        WiiPointerStamps::createAlong(*brush, _previousPointerPos[0], _previousPointerPos[1], _pointerPos[0],
                                      _pointerPos[1], static_cast<int>(amount));
        emitStatistics();
    }
}

void QTPictavoWidgetGL::eraseObjectsAt(float amount)
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (ToolBrushLeafGL* brush = vis != nullptr ? vis->findToolBrush() : nullptr)
        WiiPointerStamps::eraseAlong(*brush, vis->findCanvas(), _previousPointerPos[0], _previousPointerPos[1],
                                     _pointerPos[0], _pointerPos[1], amount);
}
