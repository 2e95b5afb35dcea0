// ToolBrushLeafGL: construction, the lens profile, the frame (clears, move,
// footprint, dispatch on the action code), the create stamp and the public
// operations. The per-cell stamp loops are in ToolBrushStamps.cpp, the
// indicator in ToolBrushIndicator.cpp.
#include "ToolBrushLeafGL.h"

#include "BufferTag.h"
#include "LensProfile.h"
#include "Random.h"
#include "SurfaceCompositeGL.h"
#include "TabletopVis.h"
#include "epsLens.h"
#include "epsLensSurround.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <tuple>

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double CreateDensity = 0.00001;     // primitives per amount and square pixel of D x D
constexpr float DefaultSpawnDiameter = 200.0f;
constexpr double StrokeSize = 64.0;
constexpr double TileSize = 32.0;
constexpr double PointSize = 32.0;
constexpr int SpawnStartRange = 256;
constexpr int LastNumberedImage = 60;          // element images up to this have 9 variants each
constexpr double FarCell = 10000.0;            // footprints reaching this far are not written
constexpr float LensMagnification = 2.0f;
constexpr int LensShapeRound = 5;
constexpr int SurroundGaussian = 2;

} // namespace

ToolBrushLeafGL::ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId,
                                 int owner)
    : VisComponentGL(scene, x, y, false, false, width, height, 0.0)
    , _typeId(typeId)
    , _owner(owner)
    , _surround(std::make_unique<epsLensSurround>())
    , _lens(std::make_unique<epsLens>())
{
    setPickable(false);
    _lens->setLensShape(LensShapeRound);
    _lens->setMagnification(LensMagnification);
    _surround->setDropOffType(SurroundGaussian);
    _lens->setSurround(_surround.get());

    initializePassiveBuffers();
    rebuildSpawnOffsets();
    createActiveBuffers();
    renderInActiveBuffers();
    for (float& n : _noise)
        n = static_cast<float>(randomValue()) / 32767.0f * 2.0f - 1.0f;
    if (scene->getImageTextureCount() > 0)
        _textureId = scene->getImageTextureIDAt(0);
    _lastX = static_cast<float>(x);
    _lastY = static_cast<float>(y);
}

ToolBrushLeafGL::~ToolBrushLeafGL()
{
    // A headless scene has no context to free display lists in.
    if (!getController()->hasGL())
        _indicator.take();
}

// ---- Buffers and profile ----

void ToolBrushLeafGL::initializePassiveBuffers()
{
    for (int tag : {SPEED_BUFFER, SIZE_BUFFER, SIZE_ABS_DIFF_BUFFER, DIRECTION_BUFFER, TEMP_ORIENTATION_BUFFER,
                    GRADIENT_ORIENTATION_BUFFER, COLOR_BUFFER, TEMP_COLOR_BUFFER, ERASE_BUFFER, CONTROL_BUFFER,
                    DROPOFF_BUFFER, SELECTION_BUFFER})
        registerPassiveBuffer(tag);
}

void ToolBrushLeafGL::createActiveBuffers()
{
    TabletopVis* scene = getController();
    const int w = getBufferWidth();
    const int h = getBufferHeight();
    setActiveBuffer(DROPOFF_BUFFER, scene->createNewFloatImageBuffer(w, h));
    setActiveBuffer(STAMP_MASK_BUFFER, scene->createNewFloatImageBuffer(w, h));
    setActiveBuffer(MOVE_FIELD_0_BUFFER, scene->createNew2DFloatVectorImageBuffer(w, h));
    setActiveBuffer(MOVE_FIELD_1_BUFFER, scene->createNew2DFloatVectorImageBuffer(w, h));
    setActiveBuffer(MOVE_FIELD_2_BUFFER, scene->createNew2DFloatVectorImageBuffer(w, h));
    _profileWidth = w;
    _profileHeight = h;
}

void ToolBrushLeafGL::renderInActiveBuffers()
{
    auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    if (profile == nullptr)
        return;
    const int w = profile->getWidth();
    const int h = profile->getHeight();
    // The lens lives in brush cells. Cell (x, y) is sampled at the point
    // (x, y); a focus half a cell short of the middle samples cell centres,
    // so the profile is symmetric about the brush centre.
    const float r = 0.5f * static_cast<float>(std::max(w, h));
    _lens->setLensSize((1.0f - _surroundFraction) * r);
    _surround->setWidth(_surroundFraction * r);
    _lens->setFocus({0.5f * static_cast<float>(w) - 0.5f, 0.5f * static_cast<float>(h) - 0.5f});
    sampleLensProfile(*_lens, profile->cells(), w, h);
    buildMaskAndFields();
}

void ToolBrushLeafGL::setSize(double width, double height)
{
    const double oldWidth = getWidth();
    const double oldHeight = getHeight();
    VisComponentGL::setSize(width, height);
    if (getBufferWidth() != _profileWidth || getBufferHeight() != _profileHeight)
        recreateActiveBuffers();
    if (getWidth() != oldWidth || getHeight() != oldHeight)
        indicatorChanged();
}

void ToolBrushLeafGL::indicatorChanged()
{
    _indicatorDirty = true;
    // The offsets depend only on D; redrawing them for the same D (every
    // frame of a size easing) would change nothing but the sample.
    const float d = controlTable() != nullptr ? control(ControlCells::BrushSize) : DefaultSpawnDiameter;
    if (d != _spawnDiameter)
        rebuildSpawnOffsets();
}

void ToolBrushLeafGL::rebuildSpawnOffsets()
{
    const float d = controlTable() != nullptr ? control(ControlCells::BrushSize) : DefaultSpawnDiameter;
    _spawnDiameter = d;
    _spawnX.assign(SpawnCount, 0.0f);
    _spawnY.assign(SpawnCount, 0.0f);
    // Rejection sampling never ends for an empty disc.
    if (!(d > 0.0f) || !std::isfinite(d))
        return;
    const float half = 0.5f * d;
    for (int kept = 0; kept < SpawnCount;) {
        const float ox = static_cast<float>(randomValue()) / 32767.0f * d - half;
        const float oy = static_cast<float>(randomValue()) / 32767.0f * d - half;
        if (ox * ox + oy * oy < half * half) {
            _spawnX[static_cast<std::size_t>(kept)] = ox;
            _spawnY[static_cast<std::size_t>(kept)] = oy;
            ++kept;
        }
    }
}

// ---- Coordinates ----

bool ToolBrushLeafGL::deviceToCanvasCell(double x, double y, double& cellX, double& cellY) const
{
    const VisComponent* parent = getParent();
    if (parent == nullptr)
        return false;
    double lx = 0.0;
    double ly = 0.0;
    parent->getLocalCoordinates(x, y, lx, ly);
    cellX = parent->getBufferXFromLocal(lx);
    cellY = parent->getBufferYFromLocal(ly);
    return true;
}

void ToolBrushLeafGL::canvasCellToDevice(double cellX, double cellY, double& x, double& y) const
{
    const VisComponent* parent = getParent();
    if (parent == nullptr) {
        x = cellX;
        y = cellY;
        return;
    }
    // The cell's centre.
    parent->getDeviceCoordinates(parent->getLocalXFromBuffer(cellX + 0.5), parent->getLocalYFromBuffer(cellY + 0.5),
                                 x, y);
}

BufferTemplate<float>* ToolBrushLeafGL::controlTable() const
{
    return getPassiveBufferAs<float>(CONTROL_BUFFER);
}

float ToolBrushLeafGL::control(ControlCell cell) const
{
    return ControlTable::get(controlTable(), cell);
}

ToolBrushLeafGL::Footprint ToolBrushLeafGL::footprintAt(double x, double y) const
{
    double cellX = 0.0;
    double cellY = 0.0;
    if (!deviceToCanvasCell(x, y, cellX, cellY))
        return {};
    return footprintAtCell(cellX, cellY);
}

ToolBrushLeafGL::Footprint ToolBrushLeafGL::footprintAtCell(double cellX, double cellY) const
{
    const VisComponent* parent = getParent();
    if (parent == nullptr)
        return {};
    // The brush grid's left edge rounded to a cell boundary: brush cell i
    // then lies on canvas cell start + i.
    const double startX = std::floor(cellX - 0.5 * _profileWidth + 0.5);
    const double startY = std::floor(cellY - 0.5 * _profileHeight + 0.5);
    if (!(startX + _profileWidth < FarCell && startY + _profileHeight < FarCell) || !(startX > -FarCell)
        || !(startY > -FarCell))
        return {};
    const int sx = static_cast<int>(startX);
    const int sy = static_cast<int>(startY);
    const int x0 = std::max(sx, 0);
    const int y0 = std::max(sy, 0);
    const int x1 = std::min(sx + _profileWidth, parent->getBufferWidth());
    const int y1 = std::min(sy + _profileHeight, parent->getBufferHeight());
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x0 - sx, y0 - sy, x1 - x0, y1 - y0};
}

// ---- The frame ----

void ToolBrushLeafGL::renderIntoBuffers()
{
    runClears();
    followControlPosition();
    if (getActiveBuffer(DROPOFF_BUFFER) == nullptr) {
        std::cout << "activeBuffer NOT valid" << std::endl;
        return;
    }
    const Footprint f = footprintAt(getXPos(), getYPos());
    if (f.empty())
        return;
    writeSelection(f);
    stampAction(f);
}

void ToolBrushLeafGL::runClears()
{
    // Erase and selection stay one more frame: the first frame after the
    // write arms the delay, the next one clears.
    if (_written[TargetErase]) {
        if (_eraseDelay) {
            clearErase();
            _eraseDelay = false;
        } else {
            _eraseDelay = true;
        }
    }
    if (_written[TargetSelection]) {
        if (_selectionDelay) {
            clearSelection();
            _selectionDelay = false;
        } else {
            _selectionDelay = true;
        }
    }
    if (_written[TargetTemporaryColor])
        clearTemporaryColor();
    if (_written[TargetGradientOrientation])
        clearGradientOrientation();
    if (_written[TargetTemporaryOrientation])
        clearTemporaryOrientation();
    if (_written[TargetDirection])
        clearDirection();
    clearDropoff();
    clearSizeDifference();
}

void ToolBrushLeafGL::followControlPosition()
{
    if (_canvas == nullptr || !_canvas->isTrackingTouches())
        return;
    _lastX = static_cast<float>(getXPos());
    _lastY = static_cast<float>(getYPos());
    if (_frozen || controlTable() == nullptr)
        return;
    double x = 0.0;
    double y = 0.0;
    canvasCellToDevice(control(ControlCells::BrushX), control(ControlCells::BrushY), x, y);
    setPos(x, y);
}

void ToolBrushLeafGL::stampAction(const Footprint& f)
{
    using namespace ControlCells;
    const ActionCode code = ControlTable::action(controlTable());
    switch (code) {
    case ActionCode::Size:
        stampSize(f, control(SizeAmount));
        break;
    case ActionCode::Orientation:
    case ActionCode::SizeDifference: {
        // The writers take the centre and the previous centre as cells.
        double x = 0.0;
        double y = 0.0;
        double px = 0.0;
        double py = 0.0;
        deviceToCanvasCell(getXPos(), getYPos(), x, y);
        deviceToCanvasCell(_lastX, _lastY, px, py);
        const int cx = static_cast<int>(std::floor(x));
        const int cy = static_cast<int>(std::floor(y));
        if (code == ActionCode::Orientation)
            writeOrientation(cx, cy, static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)),
                             static_cast<int>(std::lround(control(OrientationStyleCell))), true);
        else
            writeSizeDifference(cx, cy, control(SizeDifferenceAmount), true);
        break;
    }
    case ActionCode::Color:
        stampColor(f);
        break;
    case ActionCode::CreateErase: {
        const float amount = control(CreateEraseAmount);
        if (amount < 0.0f) {
            if (!_frozen)
                stampEraseMask(f, amount);
        } else if (amount > 0.0f) {
            const double d = control(BrushSize);
            const int n = amount == 1.0f
                            ? 1
                            : std::max(1, static_cast<int>(Pi * d * d * amount * CreateDensity));
            createPrimitives(n, n == 1, getXPos(), getYPos());
        }
        break;
    }
    case ActionCode::Move:
        if (getPassiveBuffer(DIRECTION_BUFFER) == nullptr) {
            std::cout << "parentDirectionBuffer does not exist!" << std::endl;
            return;
        }
        if (stampMove(f, static_cast<MoveStyle>(static_cast<int>(control(MoveStyleCell)))))
            markWritten(TargetDirection, f);
        break;
    default:
        break;
    }
}

void ToolBrushLeafGL::writeOrientation(int x, int y, int previousX, int previousY, int style, bool flag)
{
    if (_frozen)
        return;
    if (getPassiveBuffer(TEMP_ORIENTATION_BUFFER) == nullptr) {
        std::cout << "parentOrientationBuffer does not exist!" << std::endl;
        return;
    }
    const Footprint f = footprintAtCell(x + 0.5, y + 0.5);
    const auto orientation = static_cast<OrientationStyle>(style);
    if (f.empty() || orientation < OrientationStyle::Radial || orientation > OrientationStyle::Follow)
        return;
    const int moveX = x - previousX;
    const int moveY = y - previousY;
    if (orientation == OrientationStyle::Follow && std::abs(moveX) <= 10 && std::abs(moveY) <= 10)
        return;
    stampOrientation(f, orientation, static_cast<float>(moveX), static_cast<float>(moveY));
    if (flag) {
        markWritten(TargetTemporaryOrientation, f);
    } else {
        _written[TargetTemporaryOrientation] = false;
        _writtenCells[TargetTemporaryOrientation] = {};
    }
}

// ---- The create stamp ----

int ToolBrushLeafGL::createPrimitives(int count, bool single, double x, double y)
{
    if (_canvas == nullptr)
        return 0;
    // New offsets when the brush size in the control table changed.
    if (control(ControlCells::BrushSize) != _spawnDiameter)
        rebuildSpawnOffsets();
    if (count <= 0)
        return 0;
    const int start = static_cast<int>(static_cast<double>(randomValue()) / 32767.0 * SpawnStartRange);
    int made = 0;
    for (int j = 0; j < count; ++j) {
        const auto s = static_cast<std::size_t>((start + j) % SpawnCount);
        const auto kind = static_cast<ElementKind>(static_cast<int>(control(ControlCells::ElementKindCell)));
        const bool exact = single && kind == ElementKind::Stroke;
        const std::optional<PrimitiveParams> params =
            paramsAt(exact ? x : x + _spawnX[s], exact ? y : y + _spawnY[s]);
        if (!params) {
            if (kind != ElementKind::Stroke)
                return made;   // no such kind: nothing more to make
            continue;          // a stroke off the screen
        }
        if (_canvas->makePrimitive(*params) != nullptr)
            ++made;
    }
    return made;
}

bool ToolBrushLeafGL::createPrimitiveAt(double x, double y)
{
    if (_canvas == nullptr)
        return false;
    const std::optional<PrimitiveParams> params = paramsAt(x, y);
    return params && _canvas->makePrimitive(*params) != nullptr;
}

std::optional<PrimitiveParams> ToolBrushLeafGL::paramsAt(double px, double py) const
{
    const TabletopVis* scene = getController();
    const auto kind = static_cast<ElementKind>(static_cast<int>(control(ControlCells::ElementKindCell)));
    PrimitiveParams params;
    params.x = px;
    params.y = py;
    if (kind == ElementKind::Stroke) {
        const int image = static_cast<int>(control(ControlCells::ElementImage));
        const int number = image <= LastNumberedImage
                             ? 9 * image + static_cast<int>(static_cast<double>(randomValue()) / 32767.0 * 8.0 + 1.0)
                             : image;
        if (!(px > 0.0 && px < scene->getScreenWidth() && py > 0.0 && py < scene->getScreenHeight()))
            return std::nullopt;
        const double rotation = randomValue() * 360.0 / 32767.0;
        // With fewer images the number wraps round the ones there are.
        const std::size_t images = scene->getImageTextureCount();
        unsigned texture = 0;
        float s0 = 0.0f, s1 = 1.0f, t0 = 0.0f, t1 = 1.0f;
        if (images > 0) {
            const std::size_t i = static_cast<std::size_t>(std::max(number, 0)) % images;
            const float size = static_cast<float>(std::max(1u, scene->getTextureSizeAt(i)));
            texture = scene->getImageTextureIDAt(i);
            s0 = scene->getTextureMinXAt(i) / size;
            s1 = scene->getTextureMaxXAt(i) / size;
            t0 = scene->getTextureMinYAt(i) / size;
            t1 = scene->getTextureMaxYAt(i) / size;
        }
        params.kind = PrimitiveKind::Stroke;
        params.width = params.height = StrokeSize;
        params.angle = rotation;
        params.textures = {texture, texture, texture};
        std::tie(params.s0, params.s1, params.t0, params.t1) = std::tuple(s0, s1, t0, t1);
    } else if (kind == ElementKind::Tile) {
        params.kind = PrimitiveKind::Tile;
        params.width = params.height = TileSize;
        params.angle = randomValue() * 360.0 / 32767.0;
    } else if (kind == ElementKind::Point) {
        params.kind = PrimitiveKind::Point;
        params.width = params.height = PointSize;
        params.type = static_cast<int>(control(ControlCells::PrimitiveType));
    } else {
        return std::nullopt;
    }
    return params;
}

// ---- Operations of the canvas and the widget ----

void ToolBrushLeafGL::moveTo(double x, double y) { setPos(x, y); }

void ToolBrushLeafGL::show()
{
    activateForRendering();
    getController()->moveComponentToRenderFront(this);
}

void ToolBrushLeafGL::hide() { deactivateForRendering(); }

void ToolBrushLeafGL::setSize(double size, bool animate)
{
    // The create stamp's diameter (cell BrushSize) is not the brush's side:
    // start-up and the palette's size drag set it.
    const double side = std::max(size, MinimumSize);
    if (animate)
        animateToSize(side, side);
    else
        setSize(side, side);
}

int ToolBrushLeafGL::stampCreate(int amount, double x, double y)
{
    moveTo(x, y);
    const double d = control(ControlCells::BrushSize);
    const int n = static_cast<int>(amount * Pi * d * d * CreateDensity);
    return createPrimitives(n, n == 1, x, y);
}

void ToolBrushLeafGL::stampErase(float amount, double x, double y)
{
    if (_frozen || !(amount < 0.0f) || getActiveBuffer(DROPOFF_BUFFER) == nullptr)
        return;
    const Footprint f = footprintAt(x, y);
    if (!f.empty())
        stampEraseMask(f, amount);
}
