// StrokeMenuGL: layout, region map, touch and the choice written into the
// control table (drawing is in StrokeMenuRender.cpp).
#include "StrokeMenuGL.h"

#include "BufferTag.h"
#include "ControlTable.h"
#include "TabletopVis.h"

#include <algorithm>
#include <cmath>

StrokeMenuGL::StrokeMenuGL(TabletopVis* scene, double x, double y, double width, double height, bool rnt,
                           bool tossing, double opacity, unsigned backgroundTexture, unsigned acceptTexture,
                           unsigned cancelTexture, unsigned sketchTexture)
    : VisComponentGL(scene, x, y, rnt, tossing, width, height)
    , _opacity(opacity)
    , _backgroundTexture(backgroundTexture)
    , _acceptTexture(acceptTexture)
    , _cancelTexture(cancelTexture)
    , _sketchTexture(sketchTexture)
{
    rebuild();
}

StrokeMenuGL::~StrokeMenuGL()
{
    if (!getController()->hasGL())
        _lists.take();
}

// ---- Layout ----

double StrokeMenuGL::buttonSize() const { return std::min(getWidth(), getHeight()) / 8.0; }

void StrokeMenuGL::layOut()
{
    const double b = buttonSize();
    const double gridWidth = std::max(getWidth() - b, 1.0);
    const double gridHeight = std::max(getHeight() - 2.5 * b, 1.0);
    const double n = static_cast<double>(std::max<std::size_t>(_itemTextures.size(), 1));
    _columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(n * gridWidth / gridHeight))));
    const double rows = std::ceil(n / _columns);
    _cellSize = std::min(gridWidth / _columns, gridHeight / rows);
    _itemHalfSize = 0.42 * _cellSize;
}

StrokeMenuGL::Square StrokeMenuGL::applySquare() const
{
    const double b = buttonSize();
    return {b, getHeight() - b, 0.5 * b};
}

StrokeMenuGL::Square StrokeMenuGL::cancelSquare() const
{
    const double b = buttonSize();
    return {getWidth() - b, getHeight() - b, 0.5 * b};
}

StrokeMenuGL::Square StrokeMenuGL::kindSquare(int kind) const
{
    const double b = buttonSize();
    return {0.5 * getWidth() + (kind == FirstKind ? -0.75 : 0.75) * b, getHeight() - b, 0.5 * b};
}

void StrokeMenuGL::itemCentre(std::size_t k, double& x, double& y) const
{
    const double b = buttonSize();
    const auto row = static_cast<double>(k / static_cast<std::size_t>(_columns));
    const auto column = static_cast<double>(k % static_cast<std::size_t>(_columns));
    x = 0.5 * b + (column + 0.5) * _cellSize;
    y = getHeight() - 2.0 * b - (row + 0.5) * _cellSize;
}

StrokeMenuGL::Square StrokeMenuGL::itemSquare(std::size_t k) const
{
    Square s{0.0, 0.0, _itemHalfSize};
    itemCentre(k, s.x, s.y);
    return s;
}

bool StrokeMenuGL::selectedSquare(Square& square) const
{
    if (_selection == FirstKind || _selection == SecondKind) {
        square = kindSquare(_selection);
        return true;
    }
    const auto k = static_cast<std::size_t>(_selection - FirstItem);
    if (_selection < FirstItem || k >= _itemTextures.size())
        return false;
    square = itemSquare(k);
    return true;
}

// ---- Buffers ----

void StrokeMenuGL::initializePassiveBuffers() { registerPassiveBuffer(CONTROL_BUFFER); }

void StrokeMenuGL::createActiveBuffers()
{
    TabletopVis* scene = getController();
    setActiveBuffer(HIT_BUFFER, scene->createNewUIntImageBuffer(getBufferWidth(), getBufferHeight()));
    setActiveBuffer(ITEM_INDEX_BUFFER, scene->createNewUIntImageBuffer(getBufferWidth(), getBufferHeight()));
}

void StrokeMenuGL::fillSquare(BufferTemplate<unsigned>& map, const Square& s, unsigned value) const
{
    map.fillRectWithValue(getBufferXCoordinateFromLocal(s.x - s.half), getBufferYCoordinateFromLocal(s.y - s.half),
                          getBufferXCoordinateFromLocal(s.x + s.half) - 1,
                          getBufferYCoordinateFromLocal(s.y + s.half) - 1, value);
}

void StrokeMenuGL::renderInActiveBuffers()
{
    auto* regions = getActiveBufferAs<unsigned>(HIT_BUFFER);
    auto* items = getActiveBufferAs<unsigned>(ITEM_INDEX_BUFFER);
    if (regions == nullptr || items == nullptr)
        return;
    regions->fillEntireBuffer(RestRegion);
    items->fillEntireBuffer(0);
    fillSquare(*regions, applySquare(), ApplyRegion);
    fillSquare(*regions, cancelSquare(), CancelRegion);
    fillSquare(*regions, kindSquare(FirstKind), FirstKindRegion);
    fillSquare(*regions, kindSquare(SecondKind), SecondKindRegion);
    for (std::size_t k = 0; k < _itemTextures.size(); ++k) {
        fillSquare(*regions, itemSquare(k), GridRegion);
        fillSquare(*items, itemSquare(k), static_cast<unsigned>(k));
    }
}

unsigned StrokeMenuGL::regionAt(double localX, double localY) const
{
    const auto* regions = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (regions == nullptr || localX <= OutsideLocal || localY <= OutsideLocal)
        return NoRegion;
    return regions->getValue(getBufferXCoordinateFromLocal(localX), getBufferYCoordinateFromLocal(localY));
}

bool StrokeMenuGL::containsLocalPoint(double, double) const { return true; }

// ---- Touch ----

int StrokeMenuGL::hitLocalBuffer(int x, int y, double, double, int)
{
    if (_touched)
        return 1;
    _touched = true;
    double lx = 0.0, ly = 0.0;
    getHitLocalCoordinates(x, y, lx, ly);
    _hitRegion = regionAt(lx, ly);
    switch (_hitRegion) {
    case ApplyRegion:
        applySelection();
        _selection = NoSelection;
        hide();
        break;
    case CancelRegion:
        _selection = NoSelection;
        hide();
        break;
    case FirstKindRegion:
    case SecondKindRegion:
        _selection = _hitRegion == FirstKindRegion ? FirstKind : SecondKind;
        rebuildSelectionFrame();
        break;
    case GridRegion: {
        const auto* items = getActiveBufferAs<unsigned>(ITEM_INDEX_BUFFER);
        _selection = FirstItem + static_cast<int>(items->getValue(getBufferXCoordinateFromLocal(lx),
                                                                  getBufferYCoordinateFromLocal(ly)));
        rebuildSelectionFrame();
        break;
    }
    default: break;
    }
    return 1;
}

int StrokeMenuGL::releaseLocalBuffer(int, int, int)
{
    _touched = false;
    return static_cast<int>(_hitRegion);
}

void StrokeMenuGL::applySelection()
{
    BufferTemplate<float>* table = _controlTable ? _controlTable() : nullptr;
    const auto kind = [table](ElementKind k) {
        ControlTable::set(table, ControlCells::ElementKindCell, static_cast<float>(static_cast<int>(k)));
    };
    if (_selection == FirstKind) {
        kind(ElementKind::Point);
    } else if (_selection == SecondKind) {
        kind(ElementKind::Tile);
    } else if (_selection >= FirstItem) {
        kind(ElementKind::Stroke);
        ControlTable::set(table, ControlCells::ElementImage, static_cast<float>(_selection - FirstItem));
    }
}

// ---- Operations ----

void StrokeMenuGL::show()
{
    activateForRendering();
    getController()->moveComponentToRenderFront(this);
}

void StrokeMenuGL::hide() { deactivateForRendering(); }

void StrokeMenuGL::rebuild()
{
    hide();
    TabletopVis* scene = getController();
    _itemTextures.clear();
    for (std::size_t i = 0; i < scene->getImageTextureCount(); ++i)
        _itemTextures.push_back(scene->getImageTextureIDAt(i));
    layOut();
    initializePassiveBuffers();
    recreateActiveBuffers();
    _decorationDirty = true;
    _frameDirty = true;
}

void StrokeMenuGL::rebuildSelectionFrame() { _frameDirty = true; }
