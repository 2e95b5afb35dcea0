// GeoStrokeBuildCanvasCompositeGL: touch handling, pen, eraser, region map and
// element images of the sketching panel (drawing is in GeoStrokeBuildCanvasRender.cpp).
#include "GeoStrokeBuildCanvasCompositeGL.h"

#include "BufferTag.h"
#include "ControlTable.h"
#include "Posture.h"
#include "SketchRaster.h"
#include "TabletopVis.h"

#include <algorithm>
#include <iostream>

namespace {

// Pen feel of the four drawing postures, in setSimulationParameters order.
struct PostureFeel
{
    float spring, damping, thicknessScale, maxThickness, minThickness, mass, initialSpeed;
};
constexpr PostureFeel PenFeel{0.05f, 0.88f, 2.0f, 15.0f, 5.0f, 0.5f, 0.065f};
constexpr PostureFeel OneFingerFeel{0.05f, 0.8f, 2.0f, 30.0f, 10.0f, 1.0f, 0.065f};
constexpr PostureFeel TwoFingersFeel{0.05f, 0.8f, 2.0f, 50.0f, 20.0f, 2.0f, 0.065f};
constexpr PostureFeel FistFeel{0.05f, 0.8f, 2.0f, 80.0f, 35.0f, 2.0f, 0.065f};

unsigned asBoard(double v) { return v > 0.0 ? static_cast<unsigned>(v) : 0u; }

} // namespace

GeoStrokeBuildCanvasCompositeGL::GeoStrokeBuildCanvasCompositeGL(TabletopVis* scene, double x, double y,
                                                                 double width, double height, double angle,
                                                                 double border, double overflow)
    : VisComponentGL(scene, x, y, false, false, width, height, angle)
    , _border(border)
{
    setBufferMargin(std::max(0.0, overflow));
    deactivateForRendering();
    // glDrawRangeElements is core from OpenGL 1.2 on; every context we make has it.
    _canUseDrawRangeElements = scene->hasGL();
    initializePassiveBuffers();
    createActiveBuffers();
    renderInActiveBuffers();
}

GeoStrokeBuildCanvasCompositeGL::~GeoStrokeBuildCanvasCompositeGL()
{
    // A headless scene has no context to free display lists in.
    if (!getController()->hasGL())
        _decoration.take();
    freeLayer();
}

// ---- Buffers and regions ----

void GeoStrokeBuildCanvasCompositeGL::initializePassiveBuffers()
{
    registerPassiveBuffer(CONTROL_BUFFER);
    registerPassiveBuffer(ERASE_BUFFER);
}

void GeoStrokeBuildCanvasCompositeGL::createActiveBuffers()
{
    TabletopVis* scene = getController();
    setActiveBuffer(COLOR_BUFFER, scene->createNew3DUCharImageBuffer(getBufferWidth(), getBufferHeight()));
    setActiveBuffer(HIT_BUFFER, scene->createNewUIntImageBuffer(getBufferWidth(), getBufferHeight()));
}

void GeoStrokeBuildCanvasCompositeGL::renderInActiveBuffers()
{
    auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (map == nullptr)
        return;
    map->fillEntireBuffer(SketchRegion);
    const int right = map->getWidth() - 1;
    const int stripLeft = getBufferXCoordinateFromLocal(getWidth() * (1.0 - HandleFraction));
    map->fillRectWithValue(stripLeft, 0, right, map->getHeight() - 1, MoveRegion);
    map->fillRectWithValue(stripLeft, 0, right, getBufferYCoordinateFromLocal(getHeight() * HandleFraction),
                           ResizeRegion);
}

unsigned GeoStrokeBuildCanvasCompositeGL::regionAt(double localX, double localY) const
{
    if (localX <= OutsideLocal || localY <= OutsideLocal)
        return Outside;
    const auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (map == nullptr)
        return Outside;
    return map->getValue(getBufferXCoordinateFromLocal(localX), getBufferYCoordinateFromLocal(localY));
}

// ---- Touch ----

int GeoStrokeBuildCanvasCompositeGL::hitLocalBuffer(int x, int y, double width, double height, int)
{
    _lastTouch[0] = x;
    _lastTouch[1] = y;
    _touchSize[0] = std::max(width, MinTouchSide);
    _touchSize[1] = std::max(height, MinTouchSide);
    double lx = 0.0, ly = 0.0;
    getHitLocalCoordinates(x, y, lx, ly);
    _postureDetector.addSample(asBoard(x), asBoard(y), asBoard(width), asBoard(height));

    const unsigned region = regionAt(lx, ly);
    if (!_touched) {
        _touched = true;
        _pressRegion = region;
        _moving = region == MoveRegion && _moveWithoutExtend;
        _resizing = region == ResizeRegion;
    } else if (_pressRegion == SketchRegion && region == SketchRegion) {
        actOnPosture(_postureDetector.getPosture());
    }

    if (_moving && _previousTouch[0] >= 0.0)
        moveBy(x - _previousTouch[0], y - _previousTouch[1]);
    if (_resizing) {
        interactiveResizeTopLeft(x, y);
        rebuildDecoration();
    }
    _previousTouch[0] = x;
    _previousTouch[1] = y;
    return 1;
}

void GeoStrokeBuildCanvasCompositeGL::actOnPosture(Posture posture)
{
    const PostureFeel* feel = nullptr;
    switch (posture) {
    case Posture::Pen: feel = &PenFeel; break;
    case Posture::OneFinger: feel = &OneFingerFeel; break;
    case Posture::TwoFingers: feel = &TwoFingersFeel; break;
    case Posture::Fist:
        setThicknessRange(60.0f, 180.0f);
        feel = &FistFeel;
        break;
    case Posture::Hand:
        _strokeStarted = false;
        _erasing = true;
        if (!_eraseStarted) {
            _eraseStarted = true;
            eraseBufferedSamples();
            _eraseFrom[0] = _lastTouch[0];
            _eraseFrom[1] = _lastTouch[1];
        }
        return;
    default: return;
    }
    setSimulationParameters(feel->spring, feel->damping, feel->thicknessScale, feel->maxThickness,
                            feel->minThickness, feel->mass, feel->initialSpeed);
    if (!_strokeStarted) {
        startFromBufferedSamples();
    } else {
        addPenSample(_lastTouch[0], _lastTouch[1], false);
        keepPenUp();
    }
    _drawing = true;
}

void GeoStrokeBuildCanvasCompositeGL::startFromBufferedSamples()
{
    const auto buffered = [this](unsigned slot) {
        return _postureDetector.getSampleX(slot) != PostureDetector::EmptySample;
    };
    if (buffered(0))
        startStroke(_postureDetector.getSampleX(0), _postureDetector.getSampleY(0));
    else
        startStroke(_lastTouch[0], _lastTouch[1]);
    for (unsigned slot = 1; slot < PostureDetector::SampleCount && buffered(slot); ++slot) {
        addPenSample(_postureDetector.getSampleX(slot), _postureDetector.getSampleY(slot), false);
        keepPenUp();
    }
    _strokeStarted = true;
}

void GeoStrokeBuildCanvasCompositeGL::eraseBufferedSamples()
{
    for (unsigned slot = 1; slot < PostureDetector::SampleCount; ++slot) {
        const double x = _postureDetector.getSampleX(slot);
        if (x == PostureDetector::EmptySample)
            break;
        eraseAlong(_postureDetector.getSampleX(slot - 1), _postureDetector.getSampleY(slot - 1), x,
                   _postureDetector.getSampleY(slot));
    }
}

int GeoStrokeBuildCanvasCompositeGL::releaseLocalBuffer(int, int, int)
{
    _moving = false;
    if (_resizing) {
        recreateActiveBuffers();
        rebuildDecoration();
        _resizing = false;
    }
    _touched = false;
    if (_drawing) {
        if (_strokeStarted)
            addPenSample(_lastTouch[0], _lastTouch[1], true);
        _drawing = false;
        strokesChanged();
    }
    resetPen();
    return 0;
}

void GeoStrokeBuildCanvasCompositeGL::resetPen()
{
    _pen.reset();
    _drawing = false;
    _eraseStarted = false;
    _erasing = false;
    _strokeStarted = false;
    _pressRegion = Outside;
    _lastTouch[0] = _lastTouch[1] = -1.0;
    _previousTouch[0] = _previousTouch[1] = -1.0;
    _eraseFrom[0] = _eraseFrom[1] = -1.0;
    _postureDetector.reset();
}

void GeoStrokeBuildCanvasCompositeGL::moveBy(double dx, double dy)
{
    VisComponentGL::moveBy(dx, dy);
    for (auto& stroke : _strokes)
        stroke->translate(dx, dy);
}

// ---- Frame ----

void GeoStrokeBuildCanvasCompositeGL::animateMyself(double dt)
{
    VisComponentGL::animateMyself(dt);
    if (isActiveForRendering())
        animateStep();
}

void GeoStrokeBuildCanvasCompositeGL::animateStep()
{
    if (_drawing && _strokeStarted && _lastTouch[0] >= 0.0)
        addPenSample(_lastTouch[0], _lastTouch[1], false);
    if (_erasing && _lastTouch[0] >= 0.0) {
        if (_eraseFrom[0] >= 0.0)
            eraseAlong(_eraseFrom[0], _eraseFrom[1], _lastTouch[0], _lastTouch[1]);
        _eraseFrom[0] = _lastTouch[0];
        _eraseFrom[1] = _lastTouch[1];
    }
    keepPenUp();
}

// ---- Pen and strokes ----

void GeoStrokeBuildCanvasCompositeGL::startStroke(double x, double y)
{
    _pen.start(x, y, panel());
    _strokes.push_back(std::make_unique<Stroke2d>());
    strokesChanged();
}

float GeoStrokeBuildCanvasCompositeGL::addPenSample(double x, double y, bool isLast)
{
    if (_strokes.empty())
        return 0.0f;
    if (!_drawing)   // the stroke is not drawn live: the layer shows it
        strokesChanged();
    return _pen.addSample(*_strokes.back(), x, y, isLast, _drawAsStroke, panel());
}

float GeoStrokeBuildCanvasCompositeGL::warmUpFactor() const { return _pen.warmUpFactor(); }

std::size_t GeoStrokeBuildCanvasCompositeGL::eraseAlong(double x0, double y0, double x1, double y1)
{
    // The hand wipes a band as wide as the larger side of its contact.
    const double radius = 0.5 * std::max(_touchSize[0], _touchSize[1]);
    const std::size_t changed = SketchEraser::eraseAlong(_strokes, x0, y0, x1, y1, radius);
    if (changed > 0)
        strokesChanged();
    return changed;
}

std::unique_ptr<Stroke2d> GeoStrokeBuildCanvasCompositeGL::makeStrokeFromRange(const Stroke2d& source,
                                                                               std::size_t first,
                                                                               std::size_t end) const
{
    return SketchEraser::makeStrokeFromRange(source, first, end);
}

void GeoStrokeBuildCanvasCompositeGL::setSimulationParameters(float spring, float damping, float thicknessScale,
                                                              float maxThickness, float minThickness, float mass,
                                                              float initialSpeed)
{
    _pen.setSimulationParameters(spring, damping, thicknessScale, maxThickness, minThickness, mass, initialSpeed);
}

void GeoStrokeBuildCanvasCompositeGL::setThicknessRange(float minThickness, float maxThickness)
{
    _pen.setThicknessRange(minThickness, maxThickness);
}

void GeoStrokeBuildCanvasCompositeGL::setPostureRanges(const PostureRanges& ranges)
{
    _postureDetector = PostureDetector(ranges);
}

void GeoStrokeBuildCanvasCompositeGL::deleteStrokes()
{
    _strokes.clear();
    _pendingControlPoints.clear();
    strokesChanged();
}

// ---- Commands ----

bool GeoStrokeBuildCanvasCompositeGL::toggleVisibility()
{
    if (isActiveForRendering())
        hide();
    else
        show();
    return isActiveForRendering();
}

void GeoStrokeBuildCanvasCompositeGL::show()
{
    activateForRendering();
    getController()->moveComponentToRenderFront(this);
}

void GeoStrokeBuildCanvasCompositeGL::hide()
{
    deactivateForRendering();
    deleteStrokes();
}

bool GeoStrokeBuildCanvasCompositeGL::toggleMoveWithoutExtend()
{
    _moveWithoutExtend = !_moveWithoutExtend;
    return _moveWithoutExtend;
}

void GeoStrokeBuildCanvasCompositeGL::enableMoveWithoutExtend() { _moveWithoutExtend = true; }
void GeoStrokeBuildCanvasCompositeGL::disableMoveWithoutExtend() { _moveWithoutExtend = false; }

bool GeoStrokeBuildCanvasCompositeGL::toggleEraseCapability()
{
    _eraseCapability = !_eraseCapability;
    return _eraseCapability;
}

void GeoStrokeBuildCanvasCompositeGL::drawSegmentsAsStroke()
{
    _drawAsStroke = true;
    _drawAsPoints = false;
    strokesChanged();
    // Strokes sketched while drawing points have no outline yet.
    for (auto& stroke : _strokes)
        SketchPen::extendOutline(*stroke);
}

void GeoStrokeBuildCanvasCompositeGL::drawSegmentsAsPoints()
{
    _drawAsStroke = false;
    _drawAsPoints = true;
    strokesChanged();
}

int GeoStrokeBuildCanvasCompositeGL::addElementImage(const RGBAImage& image)
{
    TabletopVis* scene = getController();
    const bool mipMapping = scene->isMipMapping();
    scene->enableMipMapping(true);
    const std::size_t index = scene->addImageTexture(image);
    scene->enableMipMapping(mipMapping);
    if (scene->getImageTextureIDAt(index) == 0)
        return -1;
    _elementImages.push_back({index, image});
    return static_cast<int>(index);
}

int GeoStrokeBuildCanvasCompositeGL::useStrokesAsRenderingElements()
{
    if (_strokes.empty())
        return -1;
    // The image shows what the panel shows; strokes too short for a strip
    // still count as dots when no stroke has one.
    const bool anyStrip = std::any_of(_strokes.begin(), _strokes.end(), [](const auto& s) {
        return s->getNumControlPoints() >= SketchPen::MinStripPoints && s->getIndexCount() >= 3;
    });
    const bool asStrips = (_drawAsStroke || !_drawAsPoints) && anyStrip;
    const int made = addElementImage(SketchRaster::render(_strokes, asStrips));
    if (made < 0) {
        std::cout << "can't generate mipmap texture" << std::endl;
        return -1;
    }
    const std::size_t index = static_cast<std::size_t>(made);

    BufferTemplate<float>* table = _controlTable ? _controlTable() : nullptr;
    ControlTable::set(table, ControlCells::ElementKindCell, static_cast<float>(static_cast<int>(ElementKind::Stroke)));
    ControlTable::set(table, ControlCells::ElementImage, static_cast<float>(index));
    if (_onElementImage)
        _onElementImage(index);
    return static_cast<int>(index);
}
