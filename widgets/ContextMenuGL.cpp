// ContextMenuGL: placement, hit map, press and release, and the lasso
// actions. No GL here.
#include "ContextMenuGL.h"

#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "TabletopVis.h"

#include <algorithm>
#include <cmath>
#include <iostream>

ContextMenuGL::ContextMenuGL(TabletopVis* scene, double x, double y, double width, double height, double opacity,
                             bool rotateAndTranslate, bool tossing, unsigned textureId)
    : VisComponentGL(scene, x, y, rotateAndTranslate, tossing, width, height)
    , _textureId(textureId)
    , _opacity(opacity)
{
    deactivateForRendering();
}

ContextMenuGL::~ContextMenuGL() = default;

// ---- Geometry ----

int ContextMenuGL::itemAt(double mx, double my, double o, double h)
{
    const auto within = [h](double v, double centre) { return v >= centre - h && v <= centre + h; };
    if (within(mx, 0.0) && within(my, 0.0))
        return ItemClose;
    if (within(mx, 0.0) && within(my, o))
        return ItemCreate;
    if (within(mx, o) && within(my, 0.0))
        return ItemModify;
    if (within(mx, 0.0) && within(my, -o))
        return ItemErase;
    if (within(mx, -o) && within(my, 0.0))
        return ItemColour;
    return ItemNone;
}

void ContextMenuGL::itemCentre(int item, double o, double& cx, double& cy)
{
    static constexpr double Dx[5] = {0.0, 1.0, 0.0, -1.0, 0.0};
    static constexpr double Dy[5] = {1.0, 0.0, -1.0, 0.0, 0.0};
    const int i = std::clamp(item, 0, static_cast<int>(ItemClose));
    cx = Dx[i] * o;
    cy = Dy[i] * o;
}

void ContextMenuGL::placeAt(double x, double y)
{
    const double halfW = 0.5 * getWidth();
    const double halfH = 0.5 * getHeight();
    const TabletopVis* scene = getController();
    // A menu wider than the screen keeps its left (bottom) edge on it.
    const double cx = std::max(halfW, std::min(x, scene->getScreenWidth() - halfW));
    const double cy = std::max(halfH, std::min(y, scene->getScreenHeight() - halfH));
    setPos(cx, cy);
}

// ---- Buffers ----

void ContextMenuGL::createActiveBuffers()
{
    setActiveBuffer(HIT_BUFFER, getController()->createNewUnsignedIntImageBuffer(getBufferWidth(), getBufferHeight()));
}

void ContextMenuGL::renderInActiveBuffers()
{
    auto* hits = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (hits == nullptr)
        return;
    const double halfW = 0.5 * getWidth();
    const double halfH = 0.5 * getHeight();
    for (int cy = 0; cy < hits->getHeight(); ++cy) {
        const double my = getLocalYFromBuffer(cy + 0.5) - halfH;
        for (int cx = 0; cx < hits->getWidth(); ++cx) {
            const double mx = getLocalXFromBuffer(cx + 0.5) - halfW;
            hits->setValue(cx, cy, static_cast<unsigned>(itemAt(mx, my, _itemOffset, _itemHalfSize)));
        }
    }
}

// ---- Show, hide, set-up ----

void ContextMenuGL::show()
{
    activateForRendering();
    getController()->moveComponentToRenderFront(this);
}

void ContextMenuGL::hide()
{
    if (!isActiveForRendering())
        return;
    deactivateForRendering();
    _lassoCurve.clear();
    if (CanvasCompositeGL* canvas = findCanvas())
        canvas->getLassoCurve().clear();
}

void ContextMenuGL::setLasso(const Curve2D& curve, int minX, int minY, int maxX, int maxY)
{
    _lassoCurve = curve;
    _lassoBounds[0] = minX;
    _lassoBounds[1] = minY;
    _lassoBounds[2] = maxX;
    _lassoBounds[3] = maxY;
}

void ContextMenuGL::setUp()
{
    loadFont();
    hide();
    recreateActiveBuffers();
    buildDisplayLists();
}

void ContextMenuGL::loadFont()
{
    _font = getController()->getFont("arial32");
    if (_font == nullptr)
        std::cout << "WARNING: ContextMenuGL: font arial32 could not be found. Did you load it? " << std::endl;
}

CanvasCompositeGL* ContextMenuGL::findCanvas() const
{
    if (auto* canvas = dynamic_cast<CanvasCompositeGL*>(getParent()))
        return canvas;
    return getController()->findFirstComponent<CanvasCompositeGL>();
}

// ---- Input ----

int ContextMenuGL::hitLocalBuffer(int x, int y, double, double, int)
{
    double lx = 0.0;
    double ly = 0.0;
    getHitLocalCoordinates(x, y, lx, ly);
    if (_pressed)
        return 1;
    _pressed = true;
    if (lx <= OutsideLocal || ly <= OutsideLocal)
        return 1;
    const auto* hits = getActiveBufferAs<unsigned>(HIT_BUFFER);
    _selectedItem = hits != nullptr ? static_cast<int>(hits->getValue(getBufferXCoordinateFromLocal(lx),
                                                                      getBufferYCoordinateFromLocal(ly)))
                                    : ItemNone;
    choose(_selectedItem);
    return 1;
}

void ContextMenuGL::choose(int item)
{
    if (item == ItemClose) {
        hide();
        return;
    }
    // Every item acts on a lasso of three points or more; with a shorter one
    // (or an action that has no meaning there) the menu stays open.
    CanvasCompositeGL* canvas = findCanvas();
    if (canvas == nullptr || _lassoCurve.numRawPoints() < 3)
        return;
    switch (item) {
    case ItemErase:
        canvas->eraseInsideCurve();
        canvas->markSelectionDirty();
        canvas->markEraseDirty();
        break;
    case ItemColour:
        canvas->colourInsideCurve();
        break;
    case ItemModify:
        if (!canvas->modifyInsideCurve())
            return;
        break;
    case ItemCreate:
        if (canvas->createInsideCurve() == 0)
            return;
        break;
    default:
        return;
    }
    hide();
}

int ContextMenuGL::releaseLocalBuffer(int, int, int)
{
    if (!_pressed)
        _selectedItem = ItemNone;
    _pressed = false;
    return _selectedItem;
}
