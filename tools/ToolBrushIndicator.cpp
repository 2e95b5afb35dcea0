// ToolBrushLeafGL: the indicator drawn round the brush (its outline and the
// ring-menu picture of the current hint), the hint's timing and the Wii
// size adjustment. GL calls happen only in specificRender.
#include "ToolBrushLeafGL.h"

#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int OutlineSegments = 72;
constexpr double RingGrowth = 1.3;        // the ring picture encloses the brush by this factor
constexpr double ElementPreviewShare = 0.4;
constexpr int HintElementStep = 13;       // the hint that previews the element image

// Ring-menu picture of each hint (index into the texture set, -1: none).
// The set's order: create, erase, orient follow, circular, radial, move
// follow, attraction, repulsion, resize bigger, smaller, change diameter,
// change primitive.
constexpr std::array<int, 14> HintPictures{-1, 1, 0, 2, 3, 4, 5, 6, 7, 8, 9, -1, 10, 11};

} // namespace

int ToolBrushLeafGL::ringTextureForHint() const
{
    if (_hint < 0 || _hint >= static_cast<int>(HintPictures.size()))
        return -1;
    const int index = HintPictures[static_cast<std::size_t>(_hint)];
    return index < static_cast<int>(_ringTextures.size()) ? index : -1;
}

void ToolBrushLeafGL::setHint(int hint)
{
    if (hint != _hint)
        _hintAge = 0.0f;
    _hint = hint;
}

void ToolBrushLeafGL::notifyPress()
{
    _pressed = true;
    _hintAge = 0.0f;
}

void ToolBrushLeafGL::notifyRelease() { _pressed = false; }

void ToolBrushLeafGL::adjust(double amount) { _adjustRate = amount; }

void ToolBrushLeafGL::endAdjust() { _adjustRate = 0.0; }

void ToolBrushLeafGL::setRingMenu(const std::vector<unsigned>& textures, double width, double height, double opacity)
{
    _ringTextures = textures;
    _ringWidth = width;
    _ringHeight = height;
    _ringOpacity = std::clamp(opacity, 0.0, 1.0);
    indicatorChanged();
}

void ToolBrushLeafGL::animateMyself(double dt)
{
    VisComponentGL::animateMyself(dt);
    if (_adjustRate != 0.0) {
        const double side = std::clamp(getWidth() + _adjustRate, MinimumSize, MaximumSize);
        setSize(side, side);
    }
    if (!_pressed)
        _hintAge += 1.0f;
}

void ToolBrushLeafGL::compileIndicator()
{
    if (_indicator.empty() && !_indicator.generate(1))
        return;
    const double radius = 0.5 * getWidth();
    _indicator.beginCompile();
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < OutlineSegments; ++i) {
        const double a = 2.0 * 3.141592653589793 * i / OutlineSegments;
        glVertex2d(radius * std::cos(a), radius * std::sin(a));
    }
    glEnd();
    GLDisplayList::endCompile();
    _indicatorDirty = false;
}

void ToolBrushLeafGL::specificRender()
{
    if (_indicatorDirty)
        compileIndicator();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(static_cast<float>(_outlineWidth));
    glColor4f(1.0f, 1.0f, 1.0f, _pressed ? 0.7f : 0.35f);
    _indicator.call();

    // The hint: fully shown while pressed and for a while after it was set,
    // then fading out.
    const float fade = std::clamp(1.0f - (_hintAge - _hintHoldFrames) / _hintFadeFrames, 0.0f, 1.0f);
    const int picture = ringTextureForHint();
    if (picture >= 0 && fade > 0.0f) {
        const double side = std::max({_ringWidth, _ringHeight, RingGrowth * getWidth()});
        glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(_ringOpacity) * fade);
        drawTexturedQuad(side * _ringWidth / std::max(_ringWidth, _ringHeight),
                         side * _ringHeight / std::max(_ringWidth, _ringHeight),
                         _ringTextures[static_cast<std::size_t>(picture)]);
        if (_hint == HintElementStep && _textureId != 0) {
            const double preview = ElementPreviewShare * getWidth();
            drawTexturedQuad(preview, preview, _textureId);
        }
    }
    glPopAttrib();
}
