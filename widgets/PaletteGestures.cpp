// PaletteLeafGL: what a release does — flicks on the control regions, the
// element selector's sectors, the layer slider's commit and the reset.
#include "PaletteLeafGL.h"

#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "ControlTable.h"
#include "PaletteLayout.h"
#include "ToolBrushLeafGL.h"

#include <cmath>
#include <cstdlib>

namespace L = PaletteLayout;
namespace CC = ControlCells;

void PaletteLeafGL::evaluateGesture(double x, double y)
{
    BufferTemplate<float>* table = controlTable();
    if (x > OutsideLocal && y > OutsideLocal)
        ControlTable::set(table, CC::HighlightSwitch, 0.0f);
    // Top-left frame: dy > 0 is a drag downwards.
    const double dx = _lastPoint.x - _pressPoint.x, dy = _lastPoint.y - _pressPoint.y;
    const double threshold = getHalfWidth() * _iconSizeLarge;
    if (_dragRegion != 0 && dx * dx + dy * dy > threshold * threshold)
        flick(dx, dy);
    switch (_interactionState) {
    case L::ClearMixingArea:
        removeMixedPaints();
        clearMixingArea();
        break;
    case L::SizeTool:
        ControlTable::setAction(table, ActionCode::SizeDifference);
        ControlTable::set(table, CC::SizeDifferenceAmount, _offset12);
        break;
    case L::LayerSlider:
        _currentLayer = static_cast<unsigned>(_sliderValue);
        if (CanvasCompositeGL* surface = canvas()) {
            if (_currentLayer > _layerCount) {
                ++_layerCount;
                surface->addLayer(_currentLayer);
            } else {
                surface->switchToLayer(_currentLayer);
            }
        } else if (_currentLayer > _layerCount) {
            ++_layerCount;
        }
        break;
    case L::LayerScreenshot:
        // The layer's buffers and its picture without the palette.
        if (CanvasCompositeGL* surface = canvas())
            surface->saveBuffers();
        hideForScreenshot();
        break;
    default:
        break;
    }
    ControlTable::set(table, CC::PressMark, 0.0f);
    ControlTable::set(table, CC::PaintPickMark, 0.0f);
    _interactionState = 0;
}

void PaletteLeafGL::flick(double dx, double dy)
{
    BufferTemplate<float>* table = controlTable();
    switch (_dragRegion) {
    case L::MoveStyle:
        // Right-down 3 (follow), right-up 2 (scatter), left-down 1
        // (repulsion), left-up 0 (attraction).
        _moveStyle = dx >= 0 ? (dy >= 0 ? 3 : 2) : (dy >= 0 ? 1 : 0);
        ControlTable::set(table, CC::MoveStyleCell, static_cast<float>(_moveStyle));
        break;
    case L::OrientationStyle:
        // Right-down 3 (follow), right-up 2 (random), left-down 0 (radial),
        // left-up 1 (circular).
        _orientationStyle = dx >= 0 ? (dy >= 0 ? 3 : 2) : (dy >= 0 ? 0 : 1);
        ControlTable::set(table, CC::OrientationStyleCell, static_cast<float>(_orientationStyle));
        break;
    case L::BrushSize:
        if (ToolBrushLeafGL* brush = toolBrush())
            brush->setSize(ControlTable::get(table, CC::BrushSize), false);
        break;
    case L::ToolToggle:
        // Up switches the tool off (touches then move primitives), down on.
        _toolEnabled = dy > 0;
        if (CanvasCompositeGL* surface = canvas())
            surface->setTrackingTouches(_toolEnabled);
        break;
    case L::Reset:
        if (dy <= 0)
            ControlTable::set(table, CC::HighlightSwitch, 1.0f);
        else
            resetCanvas();
        break;
    case L::ElementSelector:
        elementSelectorFlick(dx, dy);
        break;
    default:
        break;
    }
}

void PaletteLeafGL::elementSelectorFlick(double dx, double dy)
{
    BufferTemplate<float>* table = controlTable();
    // Degrees from the right, clockwise on the screen (dy < 0 is upwards).
    double angle = std::acos(dx / std::sqrt(dx * dx + dy * dy)) * 57.295827908797776;
    if (dy < 0)
        angle = 360.0 - angle;
    const int sector = static_cast<int>(360 / (_sectorCount + 2));
    for (unsigned k = 0; k < _sectorCount + 2; ++k) {
        if (!(angle > k * sector && angle <= (k + 1) * sector))
            continue;
        if (k == 0) {
            ControlTable::set(table, CC::ElementKindCell, static_cast<float>(ElementKind::Point));
        } else if (k == 1) {
            ControlTable::set(table, CC::ElementKindCell, static_cast<float>(ElementKind::Tile));
        } else {
            ControlTable::set(table, CC::ElementKindCell, static_cast<float>(ElementKind::Stroke));
            ControlTable::set(table, CC::ElementImage, static_cast<float>(k - 2));
        }
        break;
    }
    ControlTable::setAction(table, ActionCode::CreateErase);
}

void PaletteLeafGL::resetCanvas()
{
    CanvasCompositeGL* surface = canvas();
    if (_currentLayer != 0 && surface != nullptr && !surface->hasPrimitiveOfCurrentType())
        --_currentLayer;
    if (auto* erase = getPassiveBufferAs<float>(ERASE_BUFFER)) {
        erase->fillEntireBuffer(1.0f);
        erase->invalidate();
    }
    if (auto* direction = getPassiveBufferAs<float>(DIRECTION_BUFFER))
        direction->fillEntireBufferWith2DValue(0.0f, 0.0f);
    if (auto* dodging = getPassiveBufferAs<float>(DODGING_BUFFER))
        dodging->fillEntireBuffer(0.0f);
    if (auto* speed = getPassiveBufferAs<int>(SPEED_BUFFER))
        speed->fillEntireBuffer(0);
    if (auto* size = getPassiveBufferAs<float>(SIZE_BUFFER); size != nullptr && surface != nullptr)
        size->fillEntireBuffer(surface->getDefaultPrimitiveSize());
    if (auto* orientation = getPassiveBufferAs<float>(ORIENTATION_BUFFER)) {
        // A random unit vector per cell.
        for (int y = 0; y < orientation->getHeight(); ++y)
            for (int x = 0; x < orientation->getWidth(); ++x) {
                const double u = 2.0 * (std::rand() / 32767.0) - 1.0, v = 2.0 * (std::rand() / 32767.0) - 1.0;
                Vector2d d = Vector2d(u, v);
                if (d.squaredLength() == 0.0)
                    d = {1.0, 0.0};
                d.normalize();
                orientation->set2DValues(x, y, static_cast<float>(d.x), static_cast<float>(d.y));
            }
    }
}

void PaletteLeafGL::hideForScreenshot() { _screenshotPending = true; }
