// CornerMenuGL's drawing: background, the icons of the current mode, the
// preview of the primitive texture and the amount the scene shows.
#include "CornerMenuGL.h"

#include "AmountDisplay.h"
#include "TabletopVis.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>

#include <algorithm>
#include <string>

void CornerMenuGL::rebuildLists()
{
    if (!getController()->hasGL())
        return;
    compileBackground();
    compileIcons();
    compilePreview();
}

void CornerMenuGL::compileBackground()
{
    if (!_backgroundList.generate(1))
        return;
    _backgroundList.beginCompile();
    glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(std::min(1.0, _opacity)));
    drawSquare(0.0, 0.0, 0.5 * std::max(getWidth(), getHeight()), _textures[TexBackground]);
    GLDisplayList::endCompile();
}

void CornerMenuGL::drawIcon(const Icon& icon, int place) const
{
    if (icon.texture < 0)
        return;
    const double x = Places[static_cast<std::size_t>(2 * place)] * getHalfWidth();
    const double y = Places[static_cast<std::size_t>(2 * place + 1)] * getHalfHeight();
    const double half = 0.28 * std::min(getHalfWidth(), getHalfHeight());
    if (icon.lit)
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    else
        glColor4f(_colour[0], _colour[1], _colour[2], 0.35f);
    drawSquare(x, y, half, _textures[static_cast<std::size_t>(icon.texture)]);
}

void CornerMenuGL::compileIcons()
{
    if (!_iconList.generate(1))
        return;
    _iconList.beginCompile();
    const IconSet icons = iconsFor(_mode);
    for (int place = 0; place < 4; ++place)
        drawIcon(icons[static_cast<std::size_t>(place)], place);
    GLDisplayList::endCompile();
}

void CornerMenuGL::compilePreview()
{
    if (!_previewLists.generate(2))
        return;
    // The preview sits in the free lower-left part of the panel, a grey
    // shadow under the coloured square.
    const double x = -0.45 * getHalfWidth();
    const double y = -0.6 * getHalfHeight();
    // Side previewSize / 2 in units of a 40th of the panel width, so the
    // amounts 2 to 30 span a readable range; never beyond the panel's corner.
    const double unit = getWidth() / 40.0;
    const double half = std::min(0.25 * _previewSize * unit, 0.35 * getHalfHeight());
    _previewLists.beginCompile(0);
    glColor4f(0.78f, 0.65f, 0.525f, 0.8f);
    drawSquare(x, y, half, _previewTexture);
    GLDisplayList::endCompile();
    _previewLists.beginCompile(1);
    glColor4f(0.6f, 0.6f, 0.6f, 0.5f);
    drawSquare(x + 3.0, y - 3.0, half, _previewTexture);
    GLDisplayList::endCompile();
}

void CornerMenuGL::specificRender()
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, _opacity >= 1.0 ? GL_REPLACE : GL_MODULATE);
    _backgroundList.call();
    // Icons carry their own colour and alpha.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    _iconList.call();
    if (iconsFor(_mode)[0].texture >= 0) {
        _previewLists.call(1);
        _previewLists.call(0);
        drawAmount();
    }
    glPopAttrib();
}

void CornerMenuGL::drawAmount() const
{
    const auto* display = dynamic_cast<const AmountDisplay*>(getController());
    if (_font == nullptr || display == nullptr || !display->isAmountShown())
        return;
    const std::string text = std::to_string(display->getAmount());
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.95f, 0.93f, 0.88f, 1.0f);
    glPushMatrix();
    glTranslated(0.05 * getHalfWidth(), -0.85 * getHalfHeight(), 0.0);
    _font->Render(text.c_str());
    glPopMatrix();
}
