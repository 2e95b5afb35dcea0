// PaletteLeafGL: construction, buffers, the region-id map, press, drag and
// release, taking and dropping paint, publishing and fleeing the brush.
#include "PaletteLeafGL.h"

#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "ControlTable.h"
#include "PaintMap.h"
#include "PaletteLayout.h"
#include "TabletopVis.h"
#include "ToolBrushLeafGL.h"

#include <algorithm>
#include <cmath>

namespace L = PaletteLayout;
namespace CC = ControlCells;

namespace {

// Well colours in order black, brown, blue, red, yellow, white: display RGB, paint RYB.
struct Well
{
    Color display, paint;
};
const Well Wells[6] = {
    {{0, 0, 0}, {255, 255, 255}},     {{100, 64, 0}, {170, 170, 169}}, {{42, 95, 154}, {0, 0, 255}},
    {{255, 0, 0}, {255, 0, 0}},       {{255, 255, 0}, {0, 255, 0}},    {{255, 255, 255}, {0, 0, 0}},
};

Color displayOf(const Color& paint)
{
    Color c;
    c.convertRYBToRGB(paint.r, paint.g, paint.b);
    return c;
}

bool samePaint(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

} // namespace

PaletteLeafGL::PaletteLeafGL(TabletopVis* scene, double x, double y, double width, double, float opacity,
                             float brushTypeId, float defaultBrushSize, std::vector<unsigned> textures,
                             unsigned sectorCount)
    : BoundedContainerGL(scene, x, y, true, false, width, width, 0.0, 12, true), _sectorCount(sectorCount),
      _opacity(opacity), _brushTypeId(brushTypeId), _defaultBrushSize(defaultBrushSize),
      _textures(std::move(textures))
{
    PaletteLeafGL::initializePassiveBuffers();
    PaletteLeafGL::initialize();
    PaletteLeafGL::recreateActiveBuffers();
}

PaletteLeafGL::~PaletteLeafGL()
{
    for (ColorGradientGL* link : _links)
        delete link;
    for (ColorSwatchGL* swatch : _swatches)
        delete swatch;
}

// ---- Geometry ----

Vector2d PaletteLeafGL::frameFromTopLeft(double x, double y) const { return {x - getHalfWidth(), getHalfHeight() - y}; }
Vector2d PaletteLeafGL::topLeftFromFrame(const Vector2d& p) const { return {p.x + getHalfWidth(), getHalfHeight() - p.y}; }

Vector2d PaletteLeafGL::topLeftFromDevice(double x, double y) const
{
    double lx = 0.0, ly = 0.0;
    if (!getHitLocalCoordinates(x, y, lx, ly))
        return {OutsideLocal, OutsideLocal};
    return {lx, getHeight() - ly};
}

Vector2d PaletteLeafGL::cellOf(const Vector2d& p) const
{
    return {getBufferXFromLocal(p.x + getHalfWidth()), getBufferYFromLocal(p.y + getHalfHeight())};
}

Vector2d PaletteLeafGL::regionCentre(unsigned id) const
{
    if (id < L::FirstRegionId || id >= L::FirstRegionId + L::RegionCount)
        return {};
    return {_iconX[id - L::FirstRegionId], _iconY[id - L::FirstRegionId]};
}

unsigned PaletteLeafGL::regionAt(double x, double y) const
{
    const auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (map == nullptr || x <= OutsideLocal || y <= OutsideLocal)
        return 0;
    return map->getValue(getBufferXCoordinateFromLocal(x), getBufferYCoordinateFromLocal(getHeight() - y));
}

bool PaletteLeafGL::insideMixingRect(double x, double y) const
{
    const L::FractionRect& r = L::MixingRect;
    return x > r.x0 * getWidth() && x < r.x1 * getWidth() && y > r.y0 * getHeight() && y < r.y1 * getHeight();
}

float PaletteLeafGL::getIconOffset(unsigned region) const
{
    return region == L::SizeTool ? _offset12 : region == L::CreateErase ? _offset13 : 0.0f;
}

// ---- Neighbours ----

BufferTemplate<float>* PaletteLeafGL::controlTable() const { return getPassiveBufferAs<float>(CONTROL_BUFFER); }
CanvasCompositeGL* PaletteLeafGL::canvas() const { return dynamic_cast<CanvasCompositeGL*>(getParent()); }

ToolBrushLeafGL* PaletteLeafGL::toolBrush() const
{
    return getController() != nullptr ? getController()->findFirstComponent<ToolBrushLeafGL>() : nullptr;
}

void PaletteLeafGL::showToolBrush() const
{
    if (ToolBrushLeafGL* brush = toolBrush(); brush != nullptr && !brush->isShown())
        brush->show();
}

void PaletteLeafGL::hideToolBrush() const
{
    if (ToolBrushLeafGL* brush = toolBrush(); brush != nullptr && brush->isShown())
        brush->hide();
}

// ---- Set-up ----

void PaletteLeafGL::initialize()
{
    if (TabletopVis* scene = getController()) {
        const SceneColor border = scene->getBorderColor(), highlight = scene->getHighlightColor();
        _borderColor = {border.r, border.g, border.b, 1.0f};
        _highlightColor = {highlight.r, highlight.g, highlight.b, 1.0f};
        _borderWidth = static_cast<float>(scene->getContainerBorderWidth());
    }
    _toolEnabled = true;
    _iconSizeLarge = static_cast<float>(L::IconSizeLarge);
    _iconSizeSmall = static_cast<float>(L::IconSizeSmall);
    const double half = getHalfWidth();
    _wellRadius = static_cast<float>(L::WellRadius * half);
    _linkHalfWidth = static_cast<float>(0.05 * half);
    for (unsigned id = L::FirstRegionId; id < L::FirstRegionId + L::RegionCount; ++id) {
        const Vector2d c = L::centreOf(id);
        _iconX[id - L::FirstRegionId] = static_cast<float>(c.x * half);
        _iconY[id - L::FirstRegionId] = static_cast<float>(c.y * half);
    }
    buildOutlines();
    buildWells();
    _decorationsDirty = true;
}

void PaletteLeafGL::buildOutlines()
{
    const double half = getHalfWidth();
    auto build = [half](Spline& spline, std::vector<Vector2d> points) {
        spline.initializeAndSetParameters(points.size(), 3);
        for (Vector2d& p : points)
            p *= half;
        spline.controlPoints() = std::move(points);
        spline.buildOrRebuildSpline();
    };
    build(_paletteOutline, L::outlineControlPoints());
    build(_mixingOutline, L::mixingAreaControlPoints());
}

void PaletteLeafGL::buildWells()
{
    for (ColorGradientGL* link : _links)
        delete link;
    _links.clear();
    for (ColorSwatchGL* swatch : _swatches)
        delete swatch;
    _swatches.clear();
    for (unsigned k = 0; k < 6; ++k) {
        const Vector2d c = regionCentre(L::FirstWell + k);
        _swatches.push_back(new ColorSwatchGL(static_cast<float>(c.x), static_cast<float>(c.y), _wellRadius,
                                              Wells[k].display, Wells[k].paint));
    }
    const ColorSwatchGL& last = *_swatches.back();
    _indicator = std::make_unique<ColorIndicatorGL>(last.getX(), last.getY(),
                                                    static_cast<float>(0.02 * getHalfWidth()),
                                                    last.getDisplayColor());
}

void PaletteLeafGL::initializePassiveBuffers()
{
    for (int tag : {ERASE_BUFFER, SIZE_BUFFER, ORIENTATION_BUFFER, TEMP_COLOR_BUFFER, CONTROL_BUFFER,
                    DIRECTION_BUFFER, SPEED_BUFFER, DODGING_BUFFER})
        registerPassiveBuffer(tag);
}

void PaletteLeafGL::createActiveBuffers()
{
    TabletopVis* scene = getController();
    if (scene == nullptr)
        return;
    setActiveBuffer(HIT_BUFFER, scene->createNewUIntImageBuffer(getBufferWidth(), getBufferHeight()));
    setActiveBuffer(COLOR_BUFFER, scene->createNew3DUCharImageBuffer(getBufferWidth(), getBufferHeight()));
}

void PaletteLeafGL::renderInActiveBuffers()
{
    auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (map != nullptr) {
        map->fillEntireBuffer(L::None);
        auto fillSpline = [this, map](const Spline& spline, unsigned id) {
            std::vector<Vector2d> cells;
            for (const Vector2d& p : spline.splinePoints())
                cells.push_back(cellOf(p));
            map->fillComplexPolygonWithValue(cells.data(), static_cast<int>(cells.size()), id);
        };
        fillSpline(_paletteOutline, L::Elsewhere);
        const double half = getHalfWidth();
        auto fillBox = [this, map, half](unsigned id) {
            const L::Box b = L::boxOf(id, _iconSizeLarge, _iconSizeSmall, L::WellRadius);
            const Vector2d lo = cellOf({(b.cx - b.hx) * half, (b.cy - b.hy) * half});
            const Vector2d hi = cellOf({(b.cx + b.hx) * half, (b.cy + b.hy) * half});
            map->fillRectWithValue(static_cast<int>(std::floor(lo.x)), static_cast<int>(std::floor(lo.y)),
                                   static_cast<int>(std::floor(hi.x)), static_cast<int>(std::floor(hi.y)), id);
        };
        for (unsigned id : {L::ResizeHandle, L::ElementSelector, L::Reset, L::LayerSlider, L::ToolToggle,
                            L::LayerScreenshot, L::ClearMixingArea, L::MoveStyle, L::OrientationStyle, L::SizeTool,
                            L::CreateErase, L::BrushSize})
            fillBox(id);
        for (unsigned id = L::LastWell; id >= L::FirstWell; --id)
            fillBox(id);
        fillSpline(_mixingOutline, L::MixingArea);
    }
    if (auto* paint = getActiveBufferAs<unsigned char>(COLOR_BUFFER))
        PaintMap::clear(*paint);
}

// ---- Press, drag, release ----

int PaletteLeafGL::hitLocalBuffer(int x, int y, double width, double height, int device)
{
    const Vector2d p = topLeftFromDevice(x, y);
    const bool outside = p.x <= OutsideLocal || p.y <= OutsideLocal;
    if (!_pressed) {
        hideToolBrush();
        _pressed = true;
        _rimPress = false;
        if (getActiveBuffer(HIT_BUFFER) == nullptr || outside) {
            _hitRegion = 0;
            return 0;
        }
        _hitRegion = regionAt(p.x, p.y);
        _pressPoint = p;
        _lastPoint = p;
        pressRegion(p.x, p.y);
        ControlTable::set(controlTable(), CC::PressMark, 1.0f);
        if (_resizing) {
            // The handle lies inside the corner: sizes follow the contact in
            // proportion, so the handle stays under the finger.
            _resizeGrip = getWidth() / contactSpan(x, y);
            return 30;
        }
    }
    if (_rimPress)
        BoundedContainerGL::hitLocalBuffer(x, y, width, height, device);
    if (_resizing)
        resizeToContact(x, y);
    else if (!outside)
        drag(p.x, p.y);
    return _hitRegion == L::ClearMixingArea ? 3 : 30;
}

void PaletteLeafGL::pressRegion(double x, double y)
{
    BufferTemplate<float>* table = controlTable();
    switch (_hitRegion) {
    case L::ClearMixingArea:
        _interactionState = L::ClearMixingArea;
        break;
    case L::MoveStyle:
    case L::OrientationStyle:
        if (_toolEnabled)
            ControlTable::setAction(table, _hitRegion == L::MoveStyle ? ActionCode::Move : ActionCode::Orientation);
        _dragRegion = _hitRegion;
        break;
    case L::SizeTool:
        if (_toolEnabled) {
            ControlTable::setAction(table, ActionCode::Size);
            _offset12 = 0.0f;
        }
        _dragRegion = _interactionState = L::SizeTool;
        break;
    case L::CreateErase:
        if (_toolEnabled) {
            ControlTable::setAction(table, ActionCode::CreateErase);
            ControlTable::set(table, CC::PressMark, 1.0f);
            ControlTable::set(table, CC::PaintPickMark, 1.0f);
            _offset13 = 0.0f;
        } else {
            // Without the tool the icon switches between creating and idling.
            ControlTable::setAction(table, ControlTable::action(table) == ActionCode::CreateErase ? ActionCode::Idle
                                                                                                 : ActionCode::CreateErase);
        }
        _dragRegion = L::CreateErase;
        break;
    case L::BrushSize:
        showToolBrush();
        _dragRegion = L::BrushSize;
        break;
    case L::ToolToggle:
        _dragRegion = L::ToolToggle;
        break;
    case L::LayerSlider:
        ControlTable::set(table, CC::HighlightSwitch, 1.0f);
        _sliderValue = ControlTable::get(table, CC::HighlightType);
        _dragRegion = _interactionState = L::LayerSlider;
        break;
    case L::Reset:
        _dragRegion = _interactionState = L::Reset;
        break;
    case L::LayerScreenshot:
        _interactionState = L::LayerScreenshot;
        break;
    case L::ElementSelector:
        _dragRegion = L::ElementSelector;
        _offset13 = 0.0f;
        break;
    case L::ResizeHandle:
        _resizing = true;
        break;
    case L::MixingArea:
        takeMixedPaint(x, y);
        break;
    case L::Elsewhere:
        // The wood: the rim moves and turns the palette; the press reads as
        // the clear button's result without arming it.
        _rimPress = true;
        _hitRegion = L::ClearMixingArea;
        break;
    default:
        if (_hitRegion >= L::FirstWell && _hitRegion <= L::LastWell)
            takeWellPaint(_hitRegion - L::FirstWell);
        break;
    }
}

void PaletteLeafGL::pickPaint(const Color& paint)
{
    _currentColor = paint;
    BufferTemplate<float>* table = controlTable();
    ControlTable::setAction(table, ActionCode::Color);
    ControlTable::set(table, CC::PressMark, 1.0f);
    ControlTable::set(table, CC::PaintPickMark, 1.0f);
}

void PaletteLeafGL::takeWellPaint(unsigned well)
{
    showToolBrush();
    const ColorSwatchGL& swatch = *_swatches[well];
    pickPaint(swatch.getPaintColor());
    _selectedWell = well;
    _indicator->setPositionAndColor(swatch.getX(), swatch.getY(), swatch.getDisplayColor());
}

void PaletteLeafGL::takeMixedPaint(double x, double y)
{
    showToolBrush();
    const auto* map = getActiveBufferAs<unsigned char>(COLOR_BUFFER);
    if (map == nullptr)
        return;
    unsigned char r = 0, g = 0, b = 0;
    map->get3DValues(getBufferXCoordinateFromLocal(x), getBufferYCoordinateFromLocal(getHeight() - y), r, g, b);
    if (PaintMap::isEmpty(r, g, b)) {
        _hitRegion = L::ClearMixingArea;
        return;
    }
    const Color paint(r, g, b);
    pickPaint(paint);
    const Vector2d p = frameFromTopLeft(x, y);
    _indicator->setPositionAndColor(p.x, p.y, displayOf(paint));
    if (const unsigned found = findMixedSwatch(paint); found != 0) {
        // The taken swatch goes last so it is drawn on top while it moves.
        std::swap(_swatches[found], _swatches.back());
        _movingSwatch = static_cast<unsigned>(_swatches.size() - 1);
    }
}

unsigned PaletteLeafGL::findMixedSwatch(const Color& paint) const
{
    for (std::size_t i = 6; i < _swatches.size(); ++i)
        if (samePaint(_swatches[i]->getPaintColor(), paint))
            return static_cast<unsigned>(i);
    return 0;
}

void PaletteLeafGL::drag(double x, double y)
{
    if (_dragRegion != 0) {
        _lastPoint = {x, y};
        const int sample = static_cast<int>(y);
        if (_hasDragSample) {
            // Upward movement counts positive.
            const int rise = _previousDragValue - sample;
            BufferTemplate<float>* table = controlTable();
            switch (_dragRegion) {
            case L::SizeTool:
            case L::CreateErase:
                setIconOffset(_dragRegion, y);
                break;
            case L::BrushSize: {
                const float size = ControlTable::get(table, CC::BrushSize) + static_cast<float>(rise);
                if (size > MinimumBrushSize)
                    ControlTable::set(table, CC::BrushSize, size);
                break;
            }
            case L::LayerSlider: {
                const float value = _sliderValue + OffsetScale * static_cast<float>(rise);
                if (value > 0.0f && value < static_cast<float>(_layerCount + 2))
                    _sliderValue = value;
                break;
            }
            default:
                break;
            }
        }
        _previousDragValue = sample;
        _hasDragSample = true;
    }
    if (_movingSwatch != 0 && _selectedWell == NoWell && insideMixingRect(x, y))
        moveSwatchTo(_movingSwatch, frameFromTopLeft(x, y));
}

void PaletteLeafGL::setIconOffset(unsigned region, double y)
{
    // Above the icon's centre is positive: the size tool grows, the
    // create/erase icon creates; below shrinks or erases.
    const Vector2d icon = topLeftFromFrame(regionCentre(region));
    const float offset = static_cast<float>((icon.y - y) * OffsetScale);
    if (region == L::SizeTool) {
        _offset12 = offset;
    } else {
        _offset13 = offset;
        if (_toolEnabled)
            ControlTable::set(controlTable(), CC::CreateEraseAmount, offset);
    }
}

void PaletteLeafGL::moveSwatchTo(unsigned index, const Vector2d& p)
{
    ColorSwatchGL& swatch = *_swatches[index];
    for (ColorGradientGL* link : _links)
        if (link->getX2() == swatch.getX() && link->getY2() == swatch.getY())
            link->setEnd2(static_cast<float>(p.x), static_cast<float>(p.y));
    swatch.setPosition(static_cast<float>(p.x), static_cast<float>(p.y));
}

int PaletteLeafGL::releaseLocalBuffer(int x, int y, int device)
{
    hideToolBrush();
    if (_rimPress) {
        BoundedContainerGL::releaseLocalBuffer(x, y, device);
        _rimPress = false;
    }
    if (_resizing) {
        recreateActiveBuffers();
        _resizing = false;
        _pressed = false;
        _interactionState = 0;
    }
    if (!_pressed) {
        _hitRegion = 0;
        return 0;
    }
    _pressed = false;
    const Vector2d p = topLeftFromDevice(x, y);
    dropPaint(p.x, p.y);
    evaluateGesture(p.x, p.y);
    _lastPoint = {};
    _selectedWell = NoWell;
    _dragRegion = 0;
    _movingSwatch = 0;
    _previousDragValue = 0;
    _hasDragSample = false;
    return static_cast<int>(_hitRegion);
}

// ---- Paint ----

void PaletteLeafGL::dropPaint(double x, double y)
{
    if (x <= OutsideLocal || y <= OutsideLocal || regionAt(x, y) != L::MixingArea)
        return;
    const Vector2d at = frameFromTopLeft(x, y);
    if (_movingSwatch != 0 && _selectedWell == NoWell) {
        if (insideMixingRect(x, y)) {
            moveSwatchTo(_movingSwatch, at);
            const ColorSwatchGL& moved = *_swatches[_movingSwatch];
            _indicator->setPositionAndColor(moved.getX(), moved.getY(), moved.getDisplayColor());
            clearMixingArea();
        }
        return;
    }
    if (_selectedWell == NoWell)
        return;
    const auto* map = getActiveBufferAs<unsigned char>(COLOR_BUFFER);
    if (map == nullptr)
        return;
    // Look for a mixed paint under the drop: columns left to right, each
    // from the top down; the first column holding one decides.
    const double r = _wellRadius;
    const int x0 = getBufferXCoordinateFromLocal(x - r), x1 = getBufferXCoordinateFromLocal(x + r);
    const double ly = getHeight() - y;
    const int top = getBufferYCoordinateFromLocal(ly + r), bottom = getBufferYCoordinateFromLocal(ly - r);
    unsigned found = 0;
    for (int cx = x0; cx <= x1 && found == 0; ++cx)
        for (int cy = top; cy >= bottom; --cy) {
            unsigned char cr = 0, cg = 0, cb = 0;
            map->get3DValues(cx, cy, cr, cg, cb);
            if (!map->isInside(cx, cy) || PaintMap::isEmpty(cr, cg, cb))
                continue;
            if (const unsigned match = findMixedSwatch(Color(cr, cg, cb)); match != 0)
                found = match;
        }
    const ColorSwatchGL& well = *_swatches[_selectedWell];
    if (found != 0) {
        ColorSwatchGL& target = *_swatches[found];
        const Color mixed = Color::mixColors(well.getPaintColor(), target.getPaintColor());
        const Color shown = displayOf(mixed);
        target.setPaintColor(mixed);
        target.setDisplayColor(shown);
        _currentColor = mixed;
        _links.push_back(new ColorGradientGL(well.getX(), well.getY(), target.getX(), target.getY(), _linkHalfWidth,
                                             well.getDisplayColor(), well.getPaintColor(), shown, mixed));
        for (ColorGradientGL* link : _links)
            if (link->getX2() == target.getX() && link->getY2() == target.getY()) {
                link->setDisplayColor2(shown);
                link->setPaintColor2(mixed);
                link->rebuildDisplayList();
            }
    } else {
        _currentColor = well.getPaintColor();
        addMixedPaint(at, _selectedWell);
    }
    clearMixingArea();
    _indicator->setPositionAndColor(at.x, at.y, displayOf(_currentColor));
}

void PaletteLeafGL::addMixedPaint(const Vector2d& at, unsigned well)
{
    const ColorSwatchGL& source = *_swatches[well];
    const float ax = static_cast<float>(at.x), ay = static_cast<float>(at.y);
    _swatches.push_back(new ColorSwatchGL(ax, ay, _wellRadius, source.getDisplayColor(), source.getPaintColor()));
    _links.push_back(new ColorGradientGL(source.getX(), source.getY(), ax, ay, _linkHalfWidth,
                                         source.getDisplayColor(), source.getPaintColor(), source.getDisplayColor(),
                                         source.getPaintColor()));
}

void PaletteLeafGL::removeMixedPaints()
{
    // Wells stay; mixed paints and every link go.
    for (ColorGradientGL* link : _links)
        delete link;
    _links.clear();
    while (_swatches.size() > 6) {
        delete _swatches.back();
        _swatches.pop_back();
    }
}

void PaletteLeafGL::addSwatch(float x, float y, float radius, const Color& displayColor, const Color& paintColor)
{
    _swatches.push_back(new ColorSwatchGL(x, y, radius, displayColor, paintColor));
}

void PaletteLeafGL::addLink(float x1, float y1, float x2, float y2, float halfWidth, const Color& displayColor1,
                            const Color& paintColor1, const Color& displayColor2, const Color& paintColor2)
{
    _links.push_back(
        new ColorGradientGL(x1, y1, x2, y2, halfWidth, displayColor1, paintColor1, displayColor2, paintColor2));
}

void PaletteLeafGL::clearMixingArea()
{
    auto* map = getActiveBufferAs<unsigned char>(COLOR_BUFFER);
    if (map == nullptr)
        return;
    PaintMap::clear(*map);
    // Paint is only ever read inside the mixing area: draw nothing beyond it.
    const L::FractionRect& r = L::MixingRect;
    const PaintMap::Clip clip{getBufferXCoordinateFromLocal(r.x0 * getWidth()),
                              getBufferYCoordinateFromLocal((1.0 - r.y1) * getHeight()),
                              getBufferXCoordinateFromLocal(r.x1 * getWidth()),
                              getBufferYCoordinateFromLocal((1.0 - r.y0) * getHeight())};
    const double cellsPerPixel = getBufferXFromLocal(1.0) - getBufferXFromLocal(0.0);
    for (const ColorGradientGL* link : _links)
        PaintMap::drawBand(*map, cellOf({link->getX1(), link->getY1()}), cellOf({link->getX2(), link->getY2()}),
                           link->getHalfWidth() * cellsPerPixel, link->getPaintColor1(), link->getPaintColor2(), clip);
    for (std::size_t i = 6; i < _swatches.size(); ++i) {
        const ColorSwatchGL& s = *_swatches[i];
        PaintMap::drawDisc(*map, cellOf({s.getX(), s.getY()}), s.getRadius() * cellsPerPixel, s.getPaintColor(),
                           clip);
    }
}

void PaletteLeafGL::deleteSwatchesAndLinks()
{
    for (ColorGradientGL* link : _links)
        delete link;
    _links.clear();
    for (ColorSwatchGL* swatch : _swatches)
        delete swatch;
    _swatches.clear();
    clearMixingArea();
}

// ---- Every frame ----

void PaletteLeafGL::renderIntoBuffers()
{
    BufferTemplate<float>* table = controlTable();
    if (table == nullptr)
        return;
    ControlTable::set(table, CC::PrimitiveType, static_cast<float>(_currentLayer));
    ControlTable::set(table, CC::HighlightType, std::trunc(_sliderValue));
    // The brushes write these cells into colorBuffer, which holds display
    // colours: the paint goes out as its display colour.
    const Color shown = displayOf(_currentColor);
    ControlTable::set(table, CC::PaintRed, shown.r);
    ControlTable::set(table, CC::PaintGreen, shown.g);
    ControlTable::set(table, CC::PaintBlue, shown.b);
}

void PaletteLeafGL::animateMyself(double dt)
{
    BoundedContainerGL::animateMyself(dt);
    CanvasCompositeGL* surface = canvas();
    const BufferTemplate<float>* table = controlTable();
    TabletopVis* scene = getController();
    if (surface == nullptr || table == nullptr || scene == nullptr || surface->isReleased())
        return;
    // The brush position is a canvas cell: bring it to device pixels.
    double bx = 0.0, by = 0.0;
    surface->getDeviceCoordinates(surface->getLocalXFromBuffer(ControlTable::get(table, CC::BrushX)),
                                  surface->getLocalYFromBuffer(ControlTable::get(table, CC::BrushY)), bx, by);
    const Vector2d d{getXPos() - bx, getYPos() - by};
    const double reach = getHalfWidth() + 0.5 * ControlTable::get(table, CC::BrushSize);
    const bool onScreen = getXPos() > 0.0 && getXPos() < scene->getScreenWidth() && getYPos() > 0.0
                       && getYPos() < scene->getScreenHeight();
    if (d.squaredLength() < reach * reach && onScreen && d.squaredLength() > 0.0) {
        const Vector2d step = d.normalized() * FleeStep;
        moveBy(step.x, step.y);
    }
}

// ---- Move, turn, resize ----

bool PaletteLeafGL::checkPositionForRNT(double x, double y) const
{
    const double dx = x - getXPos(), dy = y - getYPos();
    const TabletopVis* scene = getController();
    const double factor = scene != nullptr ? scene->getQuaterSquaredRNTFactor() : 0.0;
    return dx * dx + dy * dy > factor * getSmallestSquareSurface();
}

double PaletteLeafGL::contactSpan(double x, double y) const
{
    double width = 0.0, height = 0.0;
    computeInteractiveResizeCenter(x, y, width, height);
    return std::max(width, height);
}

void PaletteLeafGL::interactiveResizeCenter(double x, double y)
{
    double width = 0.0, height = 0.0;
    computeInteractiveResizeCenter(x, y, width, height);
    if (isCurrentlyMagnified()) {
        width /= getCurrentScaleFactor();
        height /= getCurrentScaleFactor();
    }
    setUnscaledSize(width, height);
    setSize(width, width);
}

void PaletteLeafGL::resizeToContact(double x, double y)
{
    // Mixed paints and links do not survive a resize: wells are rebuilt at
    // their places for the new size.
    const double side = std::max(MinimumInteractiveSize, contactSpan(x, y) * _resizeGrip);
    setUnscaledSize(side / getCurrentScaleFactor(), side / getCurrentScaleFactor());
    setSize(side, side);
    _wellRadius = static_cast<float>(L::WellRadius * getHalfWidth());
    _linkHalfWidth = static_cast<float>(0.05 * getHalfWidth());
    buildOrRebuildSplinesFromControlPoints();
    recomputeSizeAndRelocateSplines();
    buildOrRebuildRenderDisplayLists();
    initialize();
}
