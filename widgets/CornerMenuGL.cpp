// CornerMenuGL: the icon table of the indicator modes, the mapping from
// tool actions to modes, amounts and the hand-over of touches. No GL here.
#include "CornerMenuGL.h"

#include "AmountDisplay.h"
#include "CanvasCompositeGL.h"
#include "ControlTable.h"
#include "TabletopVis.h"

#include <algorithm>
#include <iostream>

CornerMenuGL::CornerMenuGL(TabletopVis* scene, double x, double y, double width, double height, double opacity,
                           bool rotateAndTranslate, bool tossing, const std::vector<unsigned>& textures)
    : VisComponentGL(scene, x, y, rotateAndTranslate, tossing, width, height)
    , _opacity(opacity)
{
    for (std::size_t i = 0; i < textures.size() && i < _textures.size(); ++i)
        _textures[i] = textures[i];
    // A corner position from a configuration made for a larger screen keeps
    // the whole panel on this one.
    const double sw = scene->getScreenWidth();
    const double sh = scene->getScreenHeight();
    setPos(std::max(0.5 * width, std::min(x, sw - 0.5 * width)), std::max(0.5 * height, std::min(y, sh - 0.5 * height)));
    loadFont();
    rebuildLists();
}

CornerMenuGL::~CornerMenuGL() = default;

unsigned CornerMenuGL::getTexture(int index) const
{
    return index >= 0 && index < TextureCount ? _textures[static_cast<std::size_t>(index)] : 0u;
}

CornerMenuGL::IconSet CornerMenuGL::iconsFor(int mode)
{
    // Neutral places show their style's first icon unlit; the modifying
    // actions share the dummy icon in place A.
    const Icon orientNeutral{TexOrientFollow, false};
    const Icon moveNeutral{TexMoveFollow, false};
    const Icon sizeNeutral{TexResizeBigger, false};
    const Icon modify{TexDummy, true};
    switch (mode) {
    case ModeCreate: return {Icon{TexCreate, true}, orientNeutral, moveNeutral, sizeNeutral};
    case ModeErase: return {Icon{TexErase, true}, orientNeutral, moveNeutral, sizeNeutral};
    case ModeOrientFollow: return {modify, Icon{TexOrientFollow, true}, moveNeutral, sizeNeutral};
    case ModeOrientCircular: return {modify, Icon{TexOrientCircular, true}, moveNeutral, sizeNeutral};
    case ModeOrientRadial: return {modify, Icon{TexOrientRadial, true}, moveNeutral, sizeNeutral};
    case ModeMoveFollow: return {modify, orientNeutral, Icon{TexMoveFollow, true}, sizeNeutral};
    case ModeMoveAttraction: return {modify, orientNeutral, Icon{TexMoveAttraction, true}, sizeNeutral};
    case ModeMoveRepulsion: return {modify, orientNeutral, Icon{TexMoveRepulsion, true}, sizeNeutral};
    case ModeResizeBigger: return {modify, orientNeutral, moveNeutral, Icon{TexResizeBigger, true}};
    case ModeResizeSmaller: return {modify, orientNeutral, moveNeutral, Icon{TexResizeSmaller, true}};
    default: return {};   // ModeNone and unknown modes: no icons
    }
}

int CornerMenuGL::modeForAction(int code, double amount)
{
    switch (static_cast<ActionCode>(code)) {
    case ActionCode::CreateErase:
        return amount > 0.0 ? ModeCreate : amount < 0.0 ? ModeErase : 0;
    case ActionCode::Orientation:
        switch (static_cast<OrientationStyle>(static_cast<int>(amount))) {
        case OrientationStyle::Follow: return ModeOrientFollow;
        case OrientationStyle::Circular: return ModeOrientCircular;
        case OrientationStyle::Radial: return ModeOrientRadial;
        default: return 0;
        }
    case ActionCode::Move:
        switch (static_cast<MoveStyle>(static_cast<int>(amount))) {
        case MoveStyle::Follow:
        case MoveStyle::FollowAlternate: return ModeMoveFollow;
        case MoveStyle::Attraction: return ModeMoveAttraction;
        case MoveStyle::Repulsion:
        case MoveStyle::Scatter: return ModeMoveRepulsion;
        }
        return 0;
    case ActionCode::Size:
    case ActionCode::SizeDifference:
        return amount > 0.0 ? ModeResizeBigger : amount < 0.0 ? ModeResizeSmaller : 0;
    case ActionCode::Color: return ModeNone;
    default: return 0;
    }
}

void CornerMenuGL::setMode(int mode)
{
    _mode = mode;
    rebuildLists();
    auto* display = dynamic_cast<AmountDisplay*>(getController());
    if (display == nullptr)
        return;
    const bool stepModes = mode == ModeCreate || mode == ModeErase;
    const bool sizeModes = mode == ModeResizeBigger || mode == ModeResizeSmaller;
    if (_attachedCanvas != nullptr && (stepModes || sizeModes)) {
        _amount = stepModes ? _attachedCanvas->getStepAmount() : _attachedCanvas->getSizeStep();
        display->setAmount(_amount);
    }
    if (isActiveForRendering())
        display->setAmountShown(stepModes || sizeModes);
}

void CornerMenuGL::setPreviewTexture(unsigned textureId)
{
    _previewTexture = textureId;
    rebuildLists();
}

void CornerMenuGL::setPreviewAmount(int amount)
{
    _previewSize = 2 * amount;
    rebuildLists();
}

void CornerMenuGL::setAmount(int amount)
{
    _amount = amount;
    if (auto* display = dynamic_cast<AmountDisplay*>(getController()))
        display->setAmount(amount);
}

void CornerMenuGL::attachCanvas(CanvasCompositeGL* canvas)
{
    _attachedCanvas = canvas;
    if (canvas == nullptr)
        return;
    // Start from the canvas's current element texture and step amount.
    const std::vector<unsigned>& ids = canvas->getStepTextureIds();
    if (canvas->getStepTextureIndex() < ids.size())
        _previewTexture = ids[canvas->getStepTextureIndex()];
    setPreviewAmount(canvas->getStepAmount());
}

void CornerMenuGL::show()
{
    activateForRendering();
    getController()->moveComponentToRenderFront(this);
}

void CornerMenuGL::hide() { deactivateForRendering(); }

void CornerMenuGL::loadFont()
{
    _font = getController()->getFont("arial32");
    if (_font == nullptr)
        std::cout << "WARNING: CornerMenuGL: font arial32 could not be found. Did you load it? " << std::endl;
}

int CornerMenuGL::hitLocalBuffer(int, int, double, double, int device)
{
    if (_attachedCanvas != nullptr)
        getController()->setLastComponent(device, _attachedCanvas);
    return 1;
}

int CornerMenuGL::releaseLocalBuffer(int, int, int)
{
    _selectedItem = NoItem;
    return _selectedItem;
}
