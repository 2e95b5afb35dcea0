// PaletteLeafGL: drawing (the wooden disc, links, paints, icons, the ring and
// the resize handle) and the layer screenshot. Runs with a context current.
#include "PaletteLeafGL.h"

#include "ImageIO.h"
#include "PaletteLayout.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <algorithm>
#include <iostream>
#include <string>

namespace L = PaletteLayout;

void PaletteLeafGL::compileDecorations()
{
    _decorationsDirty = false;
    if (!_decorations.generate(2))
        return;
    // 0: the disc without a texture, 1: the mixing area, lighter wood.
    _decorations.beginCompile(0);
    drawFan(_paletteOutline.splinePoints());
    GLDisplayList::endCompile();
    _decorations.beginCompile(1);
    const std::vector<Vector2d>& mix = _mixingOutline.splinePoints();
    glBegin(GL_POLYGON);
    for (const Vector2d& p : mix)
        glVertex2d(p.x, p.y);
    glEnd();
    GLDisplayList::endCompile();
}

unsigned PaletteLeafGL::iconTextureFor(unsigned region) const
{
    const bool active = _pressed && (_dragRegion == region || _interactionState == region);
    auto pair = [this, active](unsigned rest) { return texture(active ? rest + 1 : rest); };
    switch (region) {
    case L::ClearMixingArea: return pair(TexClearMixingArea);
    case L::MoveStyle: {
        static constexpr unsigned styles[4] = {TexAttraction, TexRepulsion, TexDirectionRandom, TexDirectionFollow};
        return pair(styles[std::clamp(_moveStyle, 0, 3)]);
    }
    case L::OrientationStyle: {
        static constexpr unsigned styles[4] = {TexGravitate, TexOrbit, TexRandom, TexOrientation};
        return pair(styles[std::clamp(_orientationStyle, 0, 3)]);
    }
    case L::SizeTool: return pair(TexSize);
    case L::CreateErase: return pair(TexCreateErase);
    case L::BrushSize: return pair(TexDiameter);
    case L::ToolToggle: return texture(TexMode);
    case L::LayerSlider: return pair(TexLayer);
    case L::Reset: return pair(TexEmptyCanvas);
    case L::LayerScreenshot: return pair(TexSave);
    case L::ElementSelector: return texture(TexPrimitiveType);
    default: return 0;
    }
}

void PaletteLeafGL::drawIcon(unsigned region, unsigned textureId, double sizeFactor) const
{
    if (textureId == 0)
        return;
    const Vector2d c = regionCentre(region);
    const double side = 2.0 * sizeFactor * getHalfWidth();
    glPushMatrix();
    glTranslated(c.x, c.y, 0.0);
    drawTexturedQuad(side, side, textureId);
    glPopMatrix();
}

void PaletteLeafGL::specificRender()
{
    if (_screenshotPending) {
        // Everything drawn so far is the picture without the palette.
        saveLayerImage();
        _screenshotPending = false;
        return;
    }
    if (_decorationsDirty)
        compileDecorations();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    if (const unsigned wood = texture(TexPalette); wood != 0) {
        glColor4f(1.0f, 1.0f, 1.0f, _opacity);
        drawTexturedQuad(getWidth(), getHeight(), wood);
    } else {
        glDisable(GL_TEXTURE_2D);
        glColor4f(0.78f, 0.58f, 0.36f, _opacity);
        _decorations.call(0);
        glColor4f(0.9f, 0.78f, 0.62f, _opacity);
        _decorations.call(1);
    }
    glDisable(GL_TEXTURE_2D);
    for (ColorGradientGL* link : _links)
        link->render();
    for (ColorSwatchGL* swatch : _swatches)
        swatch->render();
    glColor4f(1.0f, 1.0f, 1.0f, _toolEnabled ? 1.0f : 0.45f);
    for (unsigned id : {L::ClearMixingArea, L::MoveStyle, L::OrientationStyle, L::SizeTool, L::CreateErase})
        drawIcon(id, iconTextureFor(id), _iconSizeLarge);
    drawIcon(L::BrushSize, iconTextureFor(L::BrushSize), _iconSizeSmall);
    for (unsigned id : {L::ToolToggle, L::LayerSlider, L::Reset, L::LayerScreenshot, L::ElementSelector}) {
        const L::Box b = L::boxOf(id, _iconSizeLarge, _iconSizeSmall, L::WellRadius);
        drawIcon(id, iconTextureFor(id), std::max(b.hx, b.hy) > 0.2 ? 0.1 : std::min(b.hx, b.hy));
    }
    glDisable(GL_TEXTURE_2D);
    // The resize handle: a triangle in the corner, in the border colour.
    const L::Box h = L::boxOf(L::ResizeHandle, 0, 0, 0);
    const double half = getHalfWidth();
    const auto& rim = _resizing ? _highlightColor : _borderColor;
    glColor4f(rim[0], rim[1], rim[2], 1.0f);
    glBegin(GL_TRIANGLES);
    glVertex2d((h.cx + h.hx) * half, (h.cy - h.hy) * half);
    glVertex2d((h.cx + h.hx) * half, (h.cy + h.hy) * half);
    glVertex2d((h.cx - h.hx) * half, (h.cy - h.hy) * half);
    glEnd();
    if (_indicator)
        _indicator->render();
    glPopAttrib();
}

void PaletteLeafGL::specificRenderForPicking() { BoundedContainerGL::specificRenderForPicking(); }

std::string PaletteLeafGL::saveLayerImage()
{
    const TabletopVis* scene = getController();
    if (scene == nullptr)
        return {};
    RGBAImage image;
    image.width = static_cast<int>(scene->getScreenWidth());
    image.height = static_cast<int>(scene->getScreenHeight());
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        image.pixels[i] = 255;
    const std::string name = "layerscreenshot" + std::to_string(_currentLayer) + ".bmp";
    if (!ImageIO::save(name, image)) {
        std::cout << "PaletteLeafGL: could not write " << name << std::endl;
        return {};
    }
    return name;
}
