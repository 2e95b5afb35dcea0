// StrokeMenuGL: drawing of the background, buttons, kinds, element grid and
// selection frame (GL only; called inside the scene's frame).
#include "StrokeMenuGL.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr double Pi = 3.141592653589793;

// The points kind: a few dabs; the tiles kind: a small mosaic.
void drawKindIcon(int kind, double x, double y, double half)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.2f, 0.2f, 0.25f, 1.0f);
    VisComponentGL::drawSquare(x, y, half, 0);
    if (kind == StrokeMenuGL::FirstKind) {
        glColor4f(0.95f, 0.8f, 0.3f, 1.0f);
        for (int i = 0; i < 5; ++i) {
            const double a = 2.0 * Pi * i / 5.0;
            const double cx = x + 0.45 * half * std::cos(a), cy = y + 0.45 * half * std::sin(a);
            glBegin(GL_TRIANGLE_FAN);
            glVertex2d(cx, cy);
            for (int j = 0; j <= 12; ++j)
                glVertex2d(cx + 0.18 * half * std::cos(2.0 * Pi * j / 12.0),
                           cy + 0.18 * half * std::sin(2.0 * Pi * j / 12.0));
            glEnd();
        }
    } else {
        for (int i = 0; i < 4; ++i) {
            glColor4f(0.3f + 0.15f * static_cast<float>(i), 0.5f, 0.8f - 0.1f * static_cast<float>(i), 1.0f);
            VisComponentGL::drawSquare(x + ((i & 1) ? 0.4 : -0.4) * half, y + ((i & 2) ? 0.4 : -0.4) * half, 0.33 * half, 0);
        }
    }
}

} // namespace

void StrokeMenuGL::compileDecoration() const
{
    const double hw = getHalfWidth(), hh = getHalfHeight();
    const auto at = [hw, hh](const Square& s, unsigned texture) { VisComponentGL::drawSquare(s.x - hw, s.y - hh, s.half, texture); };
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (_backgroundTexture != 0)
        glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(_opacity));
    else
        glColor4f(0.15f, 0.15f, 0.18f, static_cast<float>(_opacity));
    if (_backgroundTexture != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, _backgroundTexture);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(-hw, -hh);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2d(hw, -hh);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2d(hw, hh);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2d(-hw, hh);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    at(applySquare(), _acceptTexture);
    at(cancelSquare(), _cancelTexture);
    for (int kind : {FirstKind, SecondKind}) {
        const Square s = kindSquare(kind);
        drawKindIcon(kind, s.x - hw, s.y - hh, s.half);
    }
    for (std::size_t k = 0; k < _itemTextures.size(); ++k) {
        glColor4f(0.9f, 0.9f, 0.9f, 0.35f);
        const Square s = itemSquare(k);
        VisComponentGL::drawSquare(s.x - hw, s.y - hh, s.half, 0);
        glColor4f(0.1f, 0.1f, 0.1f, 1.0f);
        at(s, _itemTextures[k] != 0 ? _itemTextures[k] : _sketchTexture);
    }
    glPopAttrib();
}

void StrokeMenuGL::compileSelectionFrame() const
{
    Square s{};
    if (!selectedSquare(s))
        return;
    const double x = s.x - getHalfWidth(), y = s.y - getHalfHeight(), h = s.half + 3.0;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(5.0f);
    glColor4f(1.0f, 0.5f, 0.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2d(x - h, y - h);
    glVertex2d(x + h, y - h);
    glVertex2d(x + h, y + h);
    glVertex2d(x - h, y + h);
    glEnd();
    glPopAttrib();
}

void StrokeMenuGL::specificRender()
{
    if (_lists.empty() && !_lists.generate(2))
        return;
    if (_decorationDirty) {
        _lists.beginCompile(0);
        compileDecoration();
        GLDisplayList::endCompile();
        _decorationDirty = false;
    }
    if (_frameDirty) {
        _lists.beginCompile(1);
        compileSelectionFrame();
        GLDisplayList::endCompile();
        _frameDirty = false;
    }
    _lists.call(0);
    _lists.call(1);
}
