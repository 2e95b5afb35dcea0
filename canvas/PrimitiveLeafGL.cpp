// PrimitiveLeafGL: the common animation step, buffer cells, type filter,
// picking rule and study logging of the rendering primitives.
#include "PrimitiveLeafGL.h"

#include "BufferTag.h"
#include "CanvasBufferTable.h"
#include "CanvasCompositeGL.h"
#include "CellFrame.h"
#include "Kinematics.h"
#include "PrimitiveLogger.h"
#include "TabletopVis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double DegreesPerRadian = 57.29577951308232;
constexpr double RadiansPerDegree = 0.017453292519943295;
// Direction vectors are pixels per unit of dt, scaled by this.
constexpr double MoveFactor = 2.5;
// Turn differences below this (degrees) are left alone; larger ones are
// closed by this fraction per frame.
constexpr double TurnThreshold = 1.0;
constexpr double TurnFraction = 0.2;

} // namespace

PrimitiveLeafGL::PrimitiveLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing,
                                 double width, double height, double targetAngle, int type)
    : VisComponentGL(scene, x, y, rotateAndTranslate, tossing, width, height, 0.0)
    , _logger(&PrimitiveLogger::instance())
    , _primitiveType(type)
    , _targetAngle(targetAngle)
{
    rotate(0.0);
}

PrimitiveLeafGL::~PrimitiveLeafGL()
{
    if (_storeSlot.store != nullptr)
        _storeSlot.store->remove(this);
}

bool PrimitiveLeafGL::isResizingReal() const { return false; }
bool PrimitiveLeafGL::isAnimatingDirection() const { return true; }
bool PrimitiveLeafGL::isAnimatingOrienation() const { return true; }
bool PrimitiveLeafGL::isAnimatingAbsoluteSize() const { return true; }
bool PrimitiveLeafGL::isAnimatingRelativeSize() const { return true; }
int PrimitiveLeafGL::getPrimitiveType() const { return _primitiveType; }
void PrimitiveLeafGL::specificRender() {}
void PrimitiveLeafGL::specificRenderForPicking() {}
void PrimitiveLeafGL::appendToBatch(PrimitiveBatch&) {}

void PrimitiveLeafGL::initializePassiveBuffers()
{
    for (int tag : {CONTROL_BUFFER, SIZE_BUFFER, ORIENTATION_BUFFER, COLOR_BUFFER, ERASE_BUFFER, DIRECTION_BUFFER,
                    SIZE_ABS_DIFF_BUFFER, DROPOFF_BUFFER, SELECTION_BUFFER, CONTEXT_SELECTION_BUFFER,
                    TEMP_ORIENTATION_BUFFER, TARGET_AREA_BUFFER, STROKE_MASK_BUFFER})
        registerPassiveBuffer(tag);
}

bool PrimitiveLeafGL::containsLocalPoint(double localX, double localY) const
{
    return acceptsContacts() && VisComponentGL::containsLocalPoint(localX, localY);
}

// ---- Helpers ----

CanvasCompositeGL* PrimitiveLeafGL::canvas() const { return dynamic_cast<CanvasCompositeGL*>(getParent()); }

bool PrimitiveLeafGL::acceptsContacts() const
{
    const CanvasCompositeGL* surface = canvas();
    return surface != nullptr && !surface->isTrackingTouches() && isCurrentType();
}

bool PrimitiveLeafGL::bufferCell(int& bx, int& by) const
{
    const VisComponent* parent = getParent();
    if (parent == nullptr)
        return false;
    const CellFrame frame(*parent);
    double lx = 0.0;
    double ly = 0.0;
    frame.local(getXPos(), getYPos(), lx, ly);
    frame.cell(lx, ly, bx, by);
    return true;
}

void PrimitiveLeafGL::prefetchForAnimation() const
{
    int bx = 0;
    int by = 0;
    if (isCurrentType() && bufferCell(bx, by))
        prefetchCells(bx, by);
}

void PrimitiveLeafGL::prefetchCells(int bx, int by) const
{
    // The cells of one primitive lie in many buffers far apart; asking for
    // all of them at once lets their cache misses overlap instead of
    // queueing one behind the other through the steps below.
    struct Cell
    {
        int tag;
        std::size_t bytes;   // of one cell
    };
    static constexpr auto Cells = [] {
        constexpr auto count = static_cast<std::size_t>(std::count_if(
            CanvasBuffers::Table.begin(), CanvasBuffers::Table.end(), [](const auto& b) { return b.prefetched; }));
        std::array<Cell, count> cells{};
        std::size_t i = 0;
        for (const CanvasBuffers::BufferRow& b : CanvasBuffers::Table)
            if (b.prefetched)
                cells[i++] = {b.tag, CanvasBuffers::cellBytes(b.cell)};
        return cells;
    }();
    for (const Cell& c : Cells) {
        const AbstractBuffer* buffer = getPassiveBuffer(c.tag);
        if (buffer == nullptr || !buffer->isInside(bx, by))
            continue;
        const std::size_t cell = static_cast<std::size_t>(by) * static_cast<std::size_t>(buffer->getWidth())
                               + static_cast<std::size_t>(bx);
        __builtin_prefetch(static_cast<const char*>(buffer->getBufferArray()) + cell * c.bytes);
    }
}

bool PrimitiveLeafGL::controlValue(ControlCell cell, float& value) const
{
    const BufferTemplate<float>* control = getPassiveBufferAs<float>(CONTROL_BUFFER);
    if (control == nullptr)
        return false;
    value = ControlTable::get(control, cell);
    return true;
}

bool PrimitiveLeafGL::isCurrentType() const
{
    float type = 0.0f;
    return controlValue(ControlCells::PrimitiveType, type) && static_cast<int>(type) == _primitiveType;
}

bool PrimitiveLeafGL::isHighlightDimmed() const
{
    float on = 0.0f;
    float type = 0.0f;
    return controlValue(ControlCells::HighlightSwitch, on) && static_cast<int>(on) != 0
        && controlValue(ControlCells::HighlightType, type) && static_cast<int>(type) != _primitiveType;
}

bool PrimitiveLeafGL::pastHiddenFrames()
{
    if (_drawCalls < HiddenFrames) {
        ++_drawCalls;
        return false;
    }
    return true;
}

void PrimitiveLeafGL::takeTemporaryColor(const BufferTemplate<unsigned char>* temp, int bx, int by)
{
    if (temp == nullptr)
        return;
    unsigned char r = 0, g = 0, b = 0;
    temp->get3DValues(bx, by, r, g, b);
    if (r != 127)
        _color.setRGB(r, g, b);
}

PrimitiveShapes::Placement PrimitiveLeafGL::placement(double scaleX, double scaleY) const
{
    return {getXPos(), getYPos(), getRotationCos(), getRotationSin(), scaleX, scaleY};
}

void PrimitiveLeafGL::setAuxiliaryValues(float a, float b)
{
    _auxiliary[0] = a;
    _auxiliary[1] = b;
}

// ---- Logging ----

void PrimitiveLeafGL::logState()
{
    if (_logger->isRecording())
        addLogRecord(_queuedForDeletion);
}

void PrimitiveLeafGL::addLogRecord(bool erased)
{
    bool inTarget = false;
    int bx = 0;
    int by = 0;
    if (const BufferTemplate<bool>* target = getPassiveBufferAs<bool>(TARGET_AREA_BUFFER);
        target != nullptr && bufferCell(bx, by))
        inTarget = target->getValue(bx, by);
    _logger->addEntry(static_cast<int>(getId()), static_cast<int>(getXPos()), static_cast<int>(getYPos()),
                      static_cast<int>(getWidth()), static_cast<int>(getHeight()),
                      static_cast<float>(getRotation()), inTarget, erased);
}

// ---- The common animation step ----

namespace {

template <typename T>
const BufferTemplate<T>* passive(const VisComponent& c, int tag)
{
    return c.getPassiveBufferAs<T>(tag);
}

template <typename T>
const BufferTemplate<T>* active(const VisComponent& c, int tag)
{
    return c.getActiveBufferAs<T>(tag);
}

template <typename Get>
PrimitiveFrame resolveFrame(const Get& get)
{
    PrimitiveFrame f;
    if (const BufferTemplate<float>* control = get(float{}, CONTROL_BUFFER)) {
        f.hasControl = true;
        f.currentType = static_cast<int>(ControlTable::get(control, ControlCells::PrimitiveType));
    }
    f.erase = get(float{}, ERASE_BUFFER);
    f.color = get((unsigned char){}, COLOR_BUFFER);
    f.hasDropoff = get(float{}, DROPOFF_BUFFER) != nullptr;
    f.contextSelection = get(bool{}, CONTEXT_SELECTION_BUFFER);
    f.direction = get(float{}, DIRECTION_BUFFER);
    f.tempOrientation = get(float{}, TEMP_ORIENTATION_BUFFER);
    f.size = get(float{}, SIZE_BUFFER);
    f.sizeDiff = get(float{}, SIZE_ABS_DIFF_BUFFER);
    f.speed = get(int{}, SPEED_BUFFER);
    f.tempColor = get((unsigned char){}, TEMP_COLOR_BUFFER);
    f.dodging = get(float{}, DODGING_BUFFER);
    return f;
}

} // namespace

PrimitiveFrame PrimitiveFrame::fromPassive(const VisComponent& c)
{
    return resolveFrame([&c](auto cell, int tag) { return passive<decltype(cell)>(c, tag); });
}

PrimitiveFrame PrimitiveFrame::fromActive(const VisComponent& c)
{
    return resolveFrame([&c](auto cell, int tag) { return active<decltype(cell)>(c, tag); });
}

void PrimitiveLeafGL::animateMyself(double dt) { stepCommon(PrimitiveFrame::fromPassive(*this), dt); }

void PrimitiveLeafGL::stepCommon(const PrimitiveFrame& frame, double dt)
{
    if (!_startLogged && _logger->isRecording()) {
        addLogRecord(false);
        _startLogged = true;
    }
    if (!isCurrentType(frame))
        return;
    int bx = 0;
    int by = 0;
    const bool onParent = bufferCell(bx, by);
    if (onParent) {
        followErase(frame, bx, by);
        followColor(frame, bx, by);
        followContextSelection(frame, bx, by);
    }
    double tw = 0.0;
    double th = 0.0;
    startTargets(tw, th);
    const bool followsBuffers = onParent && !isBeingTossed();
    if (followsBuffers && getParent()->getParent() == nullptr) {
        followDirection(frame, bx, by, dt);
        followOrientation(frame, bx, by);
        followAbsoluteSize(frame, bx, by, tw, th);
    }
    if (followsBuffers)
        followRelativeSize(frame, bx, by, tw, th);
    applySize(tw, th);
    stepEasing();
}

void PrimitiveLeafGL::followErase(const PrimitiveFrame& f, int bx, int by)
{
    const BufferTemplate<float>* erase = f.erase;
    if (erase == nullptr)
        return;
    _life -= static_cast<int>(2.0f * erase->getValue(bx, by));
    if (_life > EraseQueueLife)
        return;
    // Queued again every frame until the canvas has deleted it.
    if (CanvasCompositeGL* surface = canvas())
        surface->scheduleDeletion(this);
    _life = 1;
    if (!_queuedForDeletion && _logger->isRecording())
        addLogRecord(true);
    _queuedForDeletion = true;
}

void PrimitiveLeafGL::followColor(const PrimitiveFrame& f, int bx, int by)
{
    // Colours are taken only while a brush's drop-off weights exist.
    const BufferTemplate<unsigned char>* colors = f.color;
    if (colors == nullptr || !f.hasDropoff)
        return;
    unsigned char c[3] = {0, 0, 0};
    colors->get3DValues(bx, by, c[0], c[1], c[2]);
    if (std::equal(c, c + 3, _lastBufferColor))
        return;
    std::copy(c, c + 3, _lastBufferColor);
    _color.setRGB(c[0], c[1], c[2]);
}

void PrimitiveLeafGL::followContextSelection(const PrimitiveFrame& f, int bx, int by)
{
    if (const BufferTemplate<bool>* selection = f.contextSelection)
        _contextSelected = selection->getValue(bx, by);
}

void PrimitiveLeafGL::startTargets(double& tw, double& th)
{
    const double k = isCurrentlyMagnified() ? getCurrentScaleFactor() : 1.0;
    tw = getWidth() / k;
    th = getHeight() / k;
    if (!hasPendingSizeTarget())
        return;
    tw = getTargetWidth();
    th = getTargetHeight();
    if (getSizeProgress() >= 1.0)
        setPendingSizeTarget(false);
}

void PrimitiveLeafGL::followDirection(const PrimitiveFrame& f, int bx, int by, double dt)
{
    const BufferTemplate<float>* directions = f.direction;
    if (!isAnimatingDirection() || directions == nullptr)
        return;
    float dx = 0.0f;
    float dy = 0.0f;
    directions->get2DValues(bx, by, dx, dy);
    if (dx == 0.0f && dy == 0.0f)
        return;
    _changed = true;
    // The vector is taken in the primitive's own frame.
    const double r = getRotation() * RadiansPerDegree;
    const float moveX = static_cast<float>(dt * (std::cos(r) * dx - std::sin(r) * dy));
    const float moveY = static_cast<float>(dt * (std::cos(r) * dy + std::sin(r) * dx));
    moveBy(MoveFactor * moveX, MoveFactor * moveY);
}

void PrimitiveLeafGL::followOrientation(const PrimitiveFrame& f, int bx, int by)
{
    const BufferTemplate<float>* orientations = f.tempOrientation;
    if (!isAnimatingOrienation() || orientations == nullptr)
        return;
    float ox = 0.0f;
    float oy = 0.0f;
    orientations->get2DValues(bx, by, ox, oy);
    const double squared = static_cast<double>(ox) * ox + static_cast<double>(oy) * oy;
    if (squared > MinOrientationSquared) {
        // Degrees from straight up, negative towards +x. Brushes write unit
        // vectors; normalising keeps acos in its domain for any other.
        const double up = std::clamp(oy / std::sqrt(squared), -1.0, 1.0);
        _targetAngle = -std::acos(up) * std::copysign(DegreesPerRadian, static_cast<double>(ox));
        _targetSource[0] = ox;
        _targetSource[1] = oy;
        if (_targetAngle != _previousTargetAngle)
            _changed = true;
        _previousTargetAngle = _targetAngle;
    }
    // Without a new vector the primitive keeps turning towards the last target.
    if (const double d = turnLeft(); d != 0.0)
        rotate(TurnFraction * d);
}

bool PrimitiveLeafGL::turnAtRest() const
{
    const double d = turnLeft();
    return d == 0.0 || Kinematics::normalizeAngle(getRotation() + TurnFraction * d) == getRotation();
}

double PrimitiveLeafGL::turnLeft() const
{
    double d = _targetAngle - getRotation();
    if (d < TurnThreshold && d > -TurnThreshold)
        return 0.0;
    while (d > 180.0)
        d -= 360.0;
    while (d < -180.0)
        d += 360.0;
    // A whole turn away (d was +-360) is no turn: rotating by 0 would
    // change nothing but cost a sine and cosine every frame.
    return d;
}

void PrimitiveLeafGL::followAbsoluteSize(const PrimitiveFrame& f, int bx, int by, double& tw, double& th)
{
    const BufferTemplate<float>* sizes = f.size;
    if (!isAnimatingAbsoluteSize() || sizes == nullptr)
        return;
    const double s = sizes->getValue(bx, by);
    if (s == getWidth())
        return;
    tw = th = s;
    _changed = true;
}

void PrimitiveLeafGL::followRelativeSize(const PrimitiveFrame& f, int bx, int by, double& tw, double& th) const
{
    const BufferTemplate<float>* diffs = f.sizeDiff;
    if (diffs == nullptr || !isAnimatingRelativeSize())
        return;
    // Replaces any absolute target, also with a difference of 0.
    const double d = diffs->getValue(bx, by);
    tw = std::clamp(getWidth() + d, MinRelativeSize, MaxRelativeSize);
    th = std::clamp(getHeight() + d, MinRelativeSize, MaxRelativeSize);
}

void PrimitiveLeafGL::applySize(double tw, double th)
{
    const double k = isCurrentlyMagnified() ? getCurrentScaleFactor() : 1.0;
    const double w0 = getWidth() / k;
    const double h0 = getHeight() / k;
    const double p = getSizeProgress();
    const double w = (tw - w0) * p + w0;
    const double h = (th - h0) * p + h0;
    setUnscaledSize(w, h);
    setSize(w * k, h * k);
}

void PrimitiveLeafGL::stepEasing()
{
    double p = getSizeProgress();
    if (p < 1.0) {
        p += SizeProgressStep;
        // Fifty steps of 0.02 end exactly at 1 despite rounding.
        if (p > 1.0 - 1e-9)
            p = 1.0;
        setSizeProgress(p);
    }
    if (isSizeAnimationEnding() && p == 1.0) {
        setSizeAnimationEnding(false);
        animationEnded();
    }
}
