// CanvasCompositeGL's interaction modes: touch presses and releases, the
// six press handlers with their per-posture action tables, and the Wii
// Remote and Nunchuk events. The handlers only write tool actions into
// controlBuffer and steer the first tool brush; canvas/README.md has the
// tables.
#include "CanvasCompositeGL.h"

#include "ContextMenuGL.h"
#include "ControlTable.h"
#include "CornerMenuGL.h"
#include "Posture.h"
#include "TabletopVis.h"
#include "ToolBrushLeafGL.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>

namespace {

constexpr int DefaultInputCombination = 7;
// The posture handlers get from the Wii Remote and Nunchuk.
constexpr int UnknownPosture = static_cast<int>(Posture::Unknown);
// The park position of the brush between contacts: 120 pixels from the
// left, 220 below the top of the canvas.
constexpr double ParkX = 120.0;
constexpr double ParkBelowTop = 220.0;
// The flat-hand wipe of the modifying modes: stamp amount of the replay and
// the erase amount written for colour and size.
constexpr double WipeStamp = -30.0;
constexpr double StrongWipe = -100.0;
// Contact positions replayed when a posture is decided: reports 1 to 3.
constexpr unsigned ReplayedPositions = 3;
// Brush hints of the Nunchuk gestures (the corner-menu entry minus one for
// the modifying actions).
constexpr int HintNone = 0;
constexpr int HintErase = 1;
constexpr int HintOrientFollow = 3;
constexpr int HintOrientCircular = 4;
constexpr int HintOrientRadial = 5;
constexpr int HintMoveFollow = 6;
constexpr int HintMoveAttract = 7;
constexpr int HintMoveRepel = 8;
constexpr int HintGrow = 9;
constexpr int HintShrink = 10;
constexpr int HintAdjust = 12;
constexpr int HintStepSettings = 13;
constexpr double AdjustScale = -0.3;
constexpr double AdjustDeadZone = 0.05;

static_assert(CanvasCompositeGL::PressButton == WiiCommunicationData::BUTTON_B);
// The held state of the press button.
bool pressButtonHeld(const WiiCommunicationData& data) { return data.b; }

bool hasButton(const std::vector<int>& buttons, int code)
{
    return std::find(buttons.begin(), buttons.end(), code) != buttons.end();
}

const char* modeName(InteractionMode mode)
{
    switch (mode) {
    case InteractionMode::Orient: return "MODE_ORIENT";
    case InteractionMode::Move: return "MODE_MOVE";
    case InteractionMode::Size: return "MODE_SIZE";
    default: return "MODE_CREATE_ERASE";
    }
}

// The cycle of the mode buttons: 2 -> 3 -> 4 -> 5 -> 2. A mode outside the
// cycle enters it at 2 from either direction.
InteractionMode cycledMode(InteractionMode mode, int direction)
{
    if (mode < InteractionMode::CreateErase || mode > InteractionMode::Size)
        return InteractionMode::CreateErase;
    const int first = static_cast<int>(InteractionMode::CreateErase);
    return static_cast<InteractionMode>(first + (static_cast<int>(mode) - first + direction + 4) % 4);
}

} // namespace

// ---- State ----

void CanvasCompositeGL::setInputCombinationSource(std::function<int()> source)
{
    _inputCombinationSource = std::move(source);
}

int CanvasCompositeGL::getInputCombination() const
{
    return _inputCombinationSource ? _inputCombinationSource() : DefaultInputCombination;
}

void CanvasCompositeGL::setSimulatedPosture(Posture posture)
{
    const FakePosture fake = fakePosture(posture);
    _simulatedPosture = posture;
    _simulatedWidth = fake.width;
    _simulatedHeight = fake.height;
}

const WiiCommunicationData& CanvasCompositeGL::getWiiHistory(std::size_t age) const
{
    const std::size_t n = _wiiHistory.size();
    return _wiiHistory[(_wiiHistoryNext + n - 1 - age % n) % n];
}

void CanvasCompositeGL::changeModeQuietly(InteractionMode mode)
{
    if (mode == _curInteractionMode)
        return;
    setInteractionMode(mode);
    // No label for this change; a label still showing from a menu change ends.
    _modeChanged = false;
    _labelAlpha = ModeLabelAlphaStart;
    _labelFading = false;
}

Posture CanvasCompositeGL::handlerPosture(int posture)
{
    _curPosture = _simulatedPosture != Posture::None ? _simulatedPosture : static_cast<Posture>(posture);
    return _curPosture;
}

bool CanvasCompositeGL::contactJustDecided() const
{
    return _simulatedPosture == Posture::None && _postureDetector.getPreviousPosture() == Posture::None &&
           _postureDetector.getPosture() != Posture::None;
}

bool CanvasCompositeGL::nunchukC() const { return _curNunchukData.c; }
bool CanvasCompositeGL::nunchukZ() const { return !_nunchukIgnored && _curNunchukData.z; }

void CanvasCompositeGL::writeBrushPosition(double x, double y)
{
    int cellX = 0;
    int cellY = 0;
    deviceToCell(x, y, cellX, cellY);
    setControlValue(ControlCells::BrushX, static_cast<float>(cellX));
    setControlValue(ControlCells::BrushY, static_cast<float>(cellY));
}

void CanvasCompositeGL::parkToolBrush()
{
    setControlValue(ControlCells::BrushX, static_cast<float>(getBufferXCoordinateFromLocal(ParkX)));
    setControlValue(ControlCells::BrushY,
                    static_cast<float>(getBufferYCoordinateFromLocal(getHeight() - ParkBelowTop)));
}

void CanvasCompositeGL::setToolBrushSize(double size)
{
    if (ToolBrushLeafGL* brush = getToolBrush(0))
        brush->setSize(size, false);
}

void CanvasCompositeGL::pressToolBrushes()
{
    TabletopVis* scene = getController();
    for (ToolBrushLeafGL* brush : _toolBrushes) {
        scene->moveComponentToRenderFront(brush);
        brush->notifyPress();
        brush->activateForRendering();
    }
}

void CanvasCompositeGL::bringPalettesToFront()
{
    for (unsigned i = 0; i < _paletteCount; ++i)
        getController()->moveComponentToRenderFront(_palettes[i].component);
}

void CanvasCompositeGL::adjustStepAmount(double delta)
{
    _stepAmount = std::clamp(_stepAmount + delta, MinStepAmount, MaxStepAmount);
}

void CanvasCompositeGL::adjustSizeStep(double joystick)
{
    _sizeStep = std::clamp(static_cast<int>(_sizeStep - joystick), MinSizeStep, MaxSizeStep);
}

// ---- Touch ----

int CanvasCompositeGL::hitLocalBuffer(int x, int y, double width, double height, int)
{
    // An open context menu turns contacts on the canvas into its lasso.
    if (ContextMenuGL* menu = contextMenu()) {
        if (menu->isShown()) {
            extendLasso(*menu, x, y);
            return 1;
        }
        menu->placeAt(x, y);
        menu->hide();
    }
    setDebugCurvesShown(false, false);
    if (_trackingTouches)
        writeBrushPosition(x, y);

    if (ToolBrushLeafGL* brush = getToolBrush(0); brush != nullptr && !brush->isShown())
        brush->show();
    if (!_firstPressSeen) {
        _firstPressSeen = true;
        if (_trackingTouches)
            _touched = true;
    }
    pressToolBrushes();
    if (CornerMenuGL* corner = cornerMenu())
        getController()->moveComponentToRenderFront(corner);
    bringPalettesToFront();

    // The mouse reports no contact size: a simulated posture lends its own.
    if (_simulatedPosture != Posture::None && width <= 0.0 && height <= 0.0) {
        width = _simulatedWidth;
        height = _simulatedHeight;
    }
    const auto board = [](double v) { return v > 0.0 ? static_cast<unsigned>(v) : 0u; };
    _postureDetector.addSample(board(x), board(y), board(width), board(height));
    const Posture posture = _simulatedPosture != Posture::None ? _simulatedPosture : _postureDetector.getPosture();

    switch (inputGroup(getInputCombination())) {
    case InputGroup::Menu: runModeHandler(_curInteractionMode, x, y, width, height, posture); break;
    case InputGroup::NunchukTouch: pressByNunchukPosture(x, y, width, height, posture); break;
    case InputGroup::Pointing: pressByNunchukMode(x, y, width, height); break;
    case InputGroup::PostureOnly: pressByPosture(x, y, width, height, posture); break;
    }
    _released = false;
    return 1;
}

int CanvasCompositeGL::releaseLocalBuffer(int, int, int)
{
    // A lasso ends with its contact; the rest of the release still runs in
    // case the contact painted before the menu was shown.
    _drawingLasso = false;
    _firstPressSeen = false;
    _released = true;
    const InputGroup group = inputGroup(getInputCombination());
    if (group == InputGroup::NunchukTouch || group == InputGroup::Pointing) {
        if (ToolBrushLeafGL* brush = getToolBrush(0))
            brush->hide();
        parkToolBrush();
    } else if (group == InputGroup::PostureOnly) {
        markEraseDirty();
    } else {
        _touched = false;
    }
    ControlTable::setAction(getControlTable(), ActionCode::Idle);
    for (ToolBrushLeafGL* brush : _toolBrushes)
        brush->notifyRelease();
    bringPalettesToFront();
    _postureDetector.reset();
    return 1;
}

void CanvasCompositeGL::runModeHandler(InteractionMode mode, double x, double y, double width, double height,
                                       Posture p)
{
    const int posture = static_cast<int>(p);
    switch (mode) {
    case InteractionMode::Create: createAt(x, y, width, height, posture); break;
    case InteractionMode::Erase: eraseAt(x, y, width, height, posture); break;
    case InteractionMode::Orient: orientAt(x, y, width, height, posture); break;
    case InteractionMode::Move: moveAt(x, y, width, height, posture); break;
    case InteractionMode::Size: resizeAt(x, y, width, height, posture); break;
    case InteractionMode::Color: colorAt(x, y, width, height, posture); break;
    default: break;   // create-erase, posture and idle modes need a posture or the Nunchuk
    }
}

void CanvasCompositeGL::pressByNunchukPosture(double x, double y, double width, double height, Posture p)
{
    const int posture = static_cast<int>(p);
    switch (p) {
    case Posture::OneFinger:
        changeModeQuietly(InteractionMode::CreateErase);
        if (nunchukZ())
            adjustStepAmount(-2.0 * _curNunchukData.joystickY);
        if (nunchukC())
            eraseAt(x, y, width, height, posture);
        else
            createAt(x, y, width, height, posture);
        break;
    case Posture::TwoFingers:
        changeModeQuietly(InteractionMode::Orient);
        orientAt(x, y, width, height, posture);
        break;
    case Posture::Fist:
        changeModeQuietly(InteractionMode::Move);
        moveAt(x, y, width, height, posture);
        break;
    case Posture::Hand:
        changeModeQuietly(InteractionMode::Size);
        if (nunchukZ())
            adjustSizeStep(_curNunchukData.joystickY);
        resizeAt(x, y, width, height, posture);
        break;
    default: break;   // the pen and undecided contacts do nothing here
    }
}

void CanvasCompositeGL::pressByNunchukMode(double x, double y, double width, double height)
{
    if (_curInteractionMode == InteractionMode::CreateErase)
        createEraseByNunchuk(x, y, width, height);
    else
        runModeHandler(_curInteractionMode, x, y, width, height, Posture::Unknown);
}

void CanvasCompositeGL::createEraseByNunchuk(double x, double y, double width, double height)
{
    if (nunchukC() && nunchukZ()) {
        eraseAt(x, y, width, height, UnknownPosture);
        return;
    }
    if (_modeChosenByNunchuk) {
        // A Nunchuk mode gesture ends painting until the contact is lifted;
        // the next contact paints again from its second report on.
        if (_released) {
            _modeChosenByNunchuk = false;
        } else {
            changeModeQuietly(InteractionMode::Idle);
            ControlTable::setAction(getControlTable(), ActionCode::Idle);
        }
        return;
    }
    if (!nunchukC() && !nunchukZ())
        createAt(x, y, width, height, UnknownPosture);
}

void CanvasCompositeGL::pressByPosture(double x, double y, double width, double height, Posture p)
{
    const int posture = static_cast<int>(p);
    const bool changed = p != _prevPosture;
    switch (p) {
    case Posture::Pen:
        changeModeQuietly(InteractionMode::Posture);
        break;
    case Posture::OneFinger:
        changeModeQuietly(InteractionMode::CreateErase);
        if (changed) {
            _stepAmount = 2.0;
            setToolBrushSize(20.0);
        }
        createAt(x, y, width, height, posture);
        break;
    case Posture::TwoFingers:
        changeModeQuietly(InteractionMode::Orient);
        if (changed)
            setToolBrushSize(80.0);
        orientAt(x, y, width, height, posture);
        break;
    case Posture::Fist:
        changeModeQuietly(InteractionMode::CreateErase);
        if (changed) {
            _stepAmount = 15.0;
            setToolBrushSize(130.0);
        }
        createAt(x, y, width, height, posture);
        break;
    case Posture::Hand:
        changeModeQuietly(InteractionMode::CreateErase);
        if (changed) {
            _stepAmount = -10.0;
            setToolBrushSize(200.0);
        }
        eraseAt(x, y, width, height, posture);
        break;
    default:
        // Undecided or unknown contacts leave the remembered posture alone,
        // so a second press of the same hand keeps its settings.
        return;
    }
    _prevPosture = p;
}

// ---- Handlers ----

void CanvasCompositeGL::replayContactStart(double amount)
{
    ToolBrushLeafGL* brush = getToolBrush(0);
    if (brush == nullptr || amount == 0.0)
        return;
    for (unsigned slot = 0; slot < ReplayedPositions; ++slot) {
        const double x = _postureDetector.getSampleX(slot);
        const double y = _postureDetector.getSampleY(slot);
        if (x == PostureDetector::EmptySample)
            break;
        if (amount > 0.0)
            brush->stampCreate(static_cast<int>(amount), x, y);
        else
            brush->stampErase(static_cast<float>(amount), x, y);
    }
    if (amount < 0.0)
        markEraseDirty();
}

void CanvasCompositeGL::writeAction(ActionCode code, double amount)
{
    ControlTable::setAction(getControlTable(), code);
    setControlValue(ControlCells::amountOf(code), static_cast<float>(amount));
    indicateAction(code, amount);
}

void CanvasCompositeGL::stampAction(double replayAmount, double amount)
{
    if (contactJustDecided())
        replayContactStart(replayAmount);
    writeAction(ActionCode::CreateErase, amount);
}

int CanvasCompositeGL::createAt(double, double, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    if (group != InputGroup::Menu) {
        stampAction(_stepAmount, _stepAmount);
        return 1;
    }
    switch (p) {
    case Posture::Pen: stampAction(_stepAmount, _stepAmount); break;
    case Posture::OneFinger: stampAction(1.0, 1.0); break;
    case Posture::TwoFingers: stampAction(5.0, 5.0); break;
    case Posture::Fist: stampAction(30.0, 30.0); break;
    case Posture::Hand: stampAction(WipeStamp, WipeStamp); break;
    default: break;
    }
    return 1;
}

int CanvasCompositeGL::eraseAt(double, double, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    if (group == InputGroup::PostureOnly) {
        stampAction(WipeStamp, _stepAmount);
        return 1;
    }
    if (group != InputGroup::Menu) {
        stampAction(-_stepAmount, -_stepAmount);
        return 1;
    }
    switch (p) {
    case Posture::OneFinger: stampAction(-2.0, -2.0); break;
    case Posture::TwoFingers: stampAction(-5.0, -5.0); break;
    case Posture::Fist: stampAction(-10.0, -10.0); break;
    case Posture::Hand: stampAction(WipeStamp, WipeStamp); break;
    default: break;   // the pen does not erase
    }
    return 1;
}

int CanvasCompositeGL::orientAt(double, double, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    std::optional<OrientationStyle> style;
    if (group == InputGroup::NunchukTouch) {
        style = nunchukC()   ? OrientationStyle::Circular
                : nunchukZ() ? OrientationStyle::Radial
                             : OrientationStyle::Follow;
    } else if (group == InputGroup::Pointing) {
        const double jx = _curNunchukData.joystickX;
        const double jy = _curNunchukData.joystickY;
        if (jx < -0.85 && std::abs(jy) < 0.4)
            style = OrientationStyle::Follow;
        else if (jx > -0.85 && jx < -0.4 && jy > -0.8 && jy < -0.4)
            style = OrientationStyle::Circular;
        else if (jx > -0.85 && jx < -0.4 && jy > 0.4 && jy < 0.8)
            style = OrientationStyle::Radial;
    } else if (group == InputGroup::PostureOnly) {
        style = OrientationStyle::Follow;
    } else if (p == Posture::Hand) {
        stampAction(WipeStamp, WipeStamp);
    } else if (p == Posture::Pen || p == Posture::OneFinger) {
        style = OrientationStyle::Follow;
    } else if (p == Posture::TwoFingers) {
        style = OrientationStyle::Circular;
    } else if (p == Posture::Fist) {
        style = OrientationStyle::Radial;
    }
    if (style == OrientationStyle::Follow)
        setOrientationStyleFollow();
    else if (style == OrientationStyle::Radial)
        setOrientationStyleRadial();
    else if (style == OrientationStyle::Circular)
        setOrientationStyleCircular();
    return 1;
}

int CanvasCompositeGL::moveAt(double, double, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    std::optional<MoveStyle> style;
    if (group == InputGroup::NunchukTouch) {
        style = nunchukC() ? MoveStyle::Repulsion : nunchukZ() ? MoveStyle::Attraction : MoveStyle::Follow;
    } else if (group == InputGroup::Pointing) {
        // The mirror of the orientation choice, on the joystick's right.
        const double jx = _curNunchukData.joystickX;
        const double jy = _curNunchukData.joystickY;
        if (jx > 0.85 && std::abs(jy) < 0.4)
            style = MoveStyle::Follow;
        else if (jx > 0.4 && jx < 0.85 && jy > -0.8 && jy < -0.4)
            style = MoveStyle::Attraction;
        else if (jx > 0.4 && jx < 0.85 && jy > 0.4 && jy < 0.8)
            style = MoveStyle::Repulsion;
    } else if (group == InputGroup::PostureOnly || p == Posture::Pen || p == Posture::OneFinger) {
        style = MoveStyle::Follow;
    } else if (p == Posture::TwoFingers) {
        style = MoveStyle::Attraction;
    } else if (p == Posture::Fist) {
        style = MoveStyle::Repulsion;
    } else if (p == Posture::Hand) {
        stampAction(WipeStamp, WipeStamp);
    }
    if (style)
        writeAction(ActionCode::Move, static_cast<int>(*style));
    return 1;
}

int CanvasCompositeGL::resizeAt(double x, double y, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    if (group == InputGroup::NunchukTouch) {
        writeAction(ActionCode::SizeDifference, nunchukC() ? _sizeStep : -_sizeStep);
        return 1;
    }
    if (group == InputGroup::Pointing) {
        // The joystick still held down (grow) or up (shrink) as it chose the mode.
        const double amount = _curNunchukData.joystickY > 0.0 ? -1.0 : 5.0;
        writeAction(ActionCode::SizeDifference, amount);
        if (ToolBrushLeafGL* brush = getToolBrush(0)) {
            int cellX = 0;
            int cellY = 0;
            deviceToCell(x, y, cellX, cellY);
            brush->writeSizeDifference(cellX, cellY, static_cast<float>(amount), true);
            _sizeDiffClear.requested = true;
        }
        return 1;
    }
    switch (p) {
    case Posture::Pen: writeAction(ActionCode::SizeDifference, 3.0); break;
    case Posture::OneFinger: writeAction(ActionCode::SizeDifference, 5.0); break;
    case Posture::TwoFingers: writeAction(ActionCode::SizeDifference, -1.0); break;
    case Posture::Fist: writeAction(ActionCode::SizeDifference, -2.0); break;
    case Posture::Hand: stampAction(WipeStamp, StrongWipe); break;
    default: break;
    }
    return 1;
}

int CanvasCompositeGL::colorAt(double, double, double, double, int posture)
{
    const InputGroup group = inputGroup(getInputCombination());
    const Posture p = handlerPosture(posture);
    const bool touchTable = group == InputGroup::Menu || group == InputGroup::PostureOnly;
    if (touchTable && p == Posture::Hand)
        stampAction(WipeStamp, StrongWipe);
    else if (!touchTable || (p >= Posture::Pen && p <= Posture::Fist)) {
        ControlTable::setAction(getControlTable(), ActionCode::Color);
        indicateAction(ActionCode::Color, 0.0);
    }
    return 1;
}

// ---- Wii Remote and Nunchuk ----

int CanvasCompositeGL::wiimoteEvent(const std::vector<int>& buttons, const WiiCommunicationData& data)
{
    _curWiiData = data;
    _wiiHistory[_wiiHistoryNext] = data;
    _wiiHistoryNext = (_wiiHistoryNext + 1) % _wiiHistory.size();
    _prevNunchukData = _curNunchukData;
    _curNunchukData = data.nunchuk();

    const InputGroup group = inputGroup(getInputCombination());
    if (group == InputGroup::Pointing)
        nunchukModeEvent(data);
    else if (group == InputGroup::NunchukTouch)
        modeCyclingEvent(buttons, data);
    return 0;
}

void CanvasCompositeGL::nunchukModeEvent(const WiiCommunicationData& data)
{
    const bool pointing = pressButtonHeld(data);
    if (_released && !pointing)
        parkToolBrush();
    nunchukGesture();
    if (pointing) {
        pointerPress(data, true);
    } else {
        // Every report without the press button idles the brush.
        pointerRelease();
        ControlTable::setAction(getControlTable(), ActionCode::Idle);
    }
    _simulatedPosture = Posture::None;
}

void CanvasCompositeGL::setToolBrushHint(int hint)
{
    if (ToolBrushLeafGL* brush = getToolBrush(0))
        brush->setHint(hint);
}

void CanvasCompositeGL::nunchukGesture()
{
    const NunchukCommunicationData& n = _curNunchukData;
    if (_nunchukIgnored) {
        endToolBrushAdjust();
        return;
    }
    if (n.c && n.z) {
        changeModeQuietly(InteractionMode::CreateErase);
        _modeChosenByNunchuk = true;
        setToolBrushHint(HintErase);
    } else if (n.c) {
        setToolBrushHint(HintStepSettings);
        if (_prevNunchukData.joystickX <= 0.8f && n.joystickX > 0.8f)
            stepTexture(1);
        else if (_prevNunchukData.joystickX >= -0.8f && n.joystickX < -0.8f)
            stepTexture(-1);
        if (std::abs(n.joystickY) > 0.8f) {
            adjustStepAmount(-0.3 * n.joystickY);
            if (CornerMenuGL* corner = cornerMenu())
                corner->setPreviewAmount(static_cast<int>(_stepAmount));
        }
    } else if (n.z) {
        adjustToolBrush(n.joystickY);
        return;
    } else {
        joystickModeChoice();
    }
    endToolBrushAdjust();
}

void CanvasCompositeGL::joystickModeChoice()
{
    const double x = _curNunchukData.joystickX;
    const double y = _curNunchukData.joystickY;
    // Below -0.4, within +-0.4 and above 0.4 in y.
    const auto third = [y](int below, int within, int above) { return y < -0.4 ? below : y > 0.4 ? above : within; };
    InteractionMode mode = InteractionMode::CreateErase;
    int hint = HintNone;
    if (std::abs(x) < 0.4 && std::abs(y) > 0.8) {
        mode = InteractionMode::Size;
        hint = y < -0.8 ? HintGrow : HintShrink;
    } else if (x > 0.4 && std::abs(y) < 0.8) {
        mode = InteractionMode::Move;
        hint = third(HintMoveAttract, HintMoveFollow, HintMoveRepel);
    } else if (x < -0.4 && std::abs(y) < 0.8) {
        mode = InteractionMode::Orient;
        hint = third(HintOrientCircular, HintOrientFollow, HintOrientRadial);
    }
    changeModeQuietly(mode);
    if (mode != InteractionMode::CreateErase)
        _modeChosenByNunchuk = true;
    setToolBrushHint(hint);
}

void CanvasCompositeGL::modeCyclingEvent(const std::vector<int>& buttons, const WiiCommunicationData& data)
{
    const bool steppingAmounts =
        nunchukZ() && (_curInteractionMode == InteractionMode::CreateErase || _curInteractionMode == InteractionMode::Size);
    if (!steppingAmounts && !_nunchukIgnored && std::abs(_curNunchukData.joystickY) > AdjustDeadZone)
        adjustToolBrush(_curNunchukData.joystickY);
    else
        endToolBrushAdjust();

    const int direction = hasButton(buttons, ModeForwardButton) ? 1 : hasButton(buttons, ModeBackwardButton) ? -1 : 0;
    if (direction != 0) {
        changeModeQuietly(cycledMode(_curInteractionMode, direction));
        std::cout << "_curInteractionMode = " << modeName(_curInteractionMode) << std::endl;
    }
    if (CornerMenuGL* corner = cornerMenu()) {
        if (hasButton(buttons, CornerMenuOpenButton))
            corner->show();
        else if (hasButton(buttons, CornerMenuCloseButton))
            corner->hide();
    }

    if (pressButtonHeld(data))
        pointerPress(data, false);
    else
        pointerRelease();
}

void CanvasCompositeGL::adjustToolBrush(double joystickY)
{
    ToolBrushLeafGL* brush = getToolBrush(0);
    if (brush == nullptr)
        return;
    brush->adjust(AdjustScale * joystickY * _adjustFactor);
    brush->show();
    brush->setHint(HintAdjust);
    _adjusting = true;
}

void CanvasCompositeGL::endToolBrushAdjust()
{
    if (!_adjusting)
        return;
    _adjusting = false;
    if (ToolBrushLeafGL* brush = getToolBrush(0)) {
        brush->endAdjust();
        if (brush->getHint() == HintAdjust)
            brush->setHint(HintNone);
    }
}

void CanvasCompositeGL::pointerPress(const WiiCommunicationData& data, bool nunchukModes)
{
    const double x = data.pointerX;
    const double y = data.pointerY;
    constexpr double Size = 10.0;
    writeBrushPosition(x, y);
    if (ToolBrushLeafGL* brush = getToolBrush(0); brush != nullptr && !brush->isShown())
        brush->show();
    if (_curInteractionMode != InteractionMode::CreateErase)
        runModeHandler(_curInteractionMode, x, y, Size, Size, Posture::Unknown);
    else if (nunchukModes)
        createEraseByNunchuk(x, y, Size, Size);
    else if (nunchukC())
        eraseAt(x, y, Size, Size, UnknownPosture);
    else
        createAt(x, y, Size, Size, UnknownPosture);
    // The held button is a contact: a Nunchuk mode gesture during it ends
    // painting like one during a touch.
    _pointing = true;
    _released = false;
}

void CanvasCompositeGL::pointerRelease()
{
    if (!_pointing)
        return;
    _pointing = false;
    _released = true;
    ControlTable::setAction(getControlTable(), ActionCode::Idle);
}

void CanvasCompositeGL::stepTexture(int direction)
{
    const std::size_t count = _stepTextureIds.size();
    if (count == 0)
        return;
    const std::size_t step = direction > 0 ? 1 : count - 1;
    _stepTextureIndex = (_stepTextureIndex + step) % count;
    setControlValue(ControlCells::ElementKindCell, static_cast<float>(ElementKind::Stroke));
    setControlValue(ControlCells::ElementImage, static_cast<float>(_stepTextureIndex));
    if (CornerMenuGL* corner = cornerMenu())
        corner->setPreviewTexture(_stepTextureIds[_stepTextureIndex]);
    if (ToolBrushLeafGL* brush = getToolBrush(0))
        brush->setElementTexture(_stepTextureIds[_stepTextureIndex]);
}

// ---- Menus ----

ContextMenuGL* CanvasCompositeGL::contextMenu() const
{
    return getController()->findFirstComponent<ContextMenuGL>();
}

CornerMenuGL* CanvasCompositeGL::cornerMenu() const
{
    return getController()->findFirstComponent<CornerMenuGL>();
}

void CanvasCompositeGL::extendLasso(ContextMenuGL& menu, double x, double y)
{
    if (!_drawingLasso) {
        _drawingLasso = true;
        _lassoCurve.clear();
    }
    // Points closer than this to the last one add nothing to the outline.
    constexpr double MinStep = 2.0;
    const std::vector<Point2D> points = _lassoCurve.getRawPoints();
    if (!points.empty() && std::abs(points.back().x() - x) < MinStep && std::abs(points.back().y() - y) < MinStep)
        return;
    _lassoCurve.addPoint(Point2D(x, y));
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    _lassoCurve.getRawBounds(minX, minY, maxX, maxY);
    menu.setLasso(_lassoCurve, minX, minY, maxX, maxY);
}

void CanvasCompositeGL::indicateMode(InteractionMode mode)
{
    switch (mode) {
    case InteractionMode::Create: indicateAction(ActionCode::CreateErase, 1.0); break;
    case InteractionMode::Erase: indicateAction(ActionCode::CreateErase, -1.0); break;
    case InteractionMode::Orient: indicateAction(ActionCode::Orientation, static_cast<double>(OrientationStyle::Follow)); break;
    case InteractionMode::Move: indicateAction(ActionCode::Move, static_cast<double>(MoveStyle::Follow)); break;
    case InteractionMode::Size: indicateAction(ActionCode::SizeDifference, 1.0); break;
    case InteractionMode::Color: indicateAction(ActionCode::Color, 0.0); break;
    default: break;   // the posture and Nunchuk modes show the action of the next press
    }
}

void CanvasCompositeGL::indicateAction(ActionCode code, double amount)
{
    CornerMenuGL* corner = cornerMenu();
    const int mode = CornerMenuGL::modeForAction(static_cast<int>(code), amount);
    if (corner != nullptr && mode != 0 && mode != corner->getMode())
        corner->setMode(mode);
}
