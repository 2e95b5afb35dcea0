// ContextMenuGL's drawing: the five squares with their labels, the frame,
// and the lasso line on the canvas.
#include "ContextMenuGL.h"

#include "TabletopVis.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>

#include <array>

namespace {

constexpr std::array<const char*, 4> Labels = {"Create", "Modify", "Erase", "Colour"};
// Rotation of each outer square's texture: top, right, bottom, left.
constexpr std::array<float, 4> ItemTurn = {0.0f, -90.0f, 180.0f, 90.0f};

void unitSquare()
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

} // namespace

void ContextMenuGL::buildDisplayLists()
{
    if (!getController()->hasGL())
        return;
    // Squares of half side 1, scaled to the item size when called.
    if (_itemList.generate(1)) {
        _itemList.beginCompile();
        glColor4f(0.93f, 0.9f, 0.84f, static_cast<float>(_opacity));
        unitSquare();
        GLDisplayList::endCompile();
    }
    if (_centreList.generate(1)) {
        _centreList.beginCompile();
        glColor4f(0.75f, 0.68f, 0.6f, static_cast<float>(_opacity));
        unitSquare();
        GLDisplayList::endCompile();
    }
}

void ContextMenuGL::render()
{
    renderLasso();
    VisComponentGL::render();
}

void ContextMenuGL::specificRender()
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    renderItems();
    drawFrame();
    renderLabels();
    glPopAttrib();
}

void ContextMenuGL::renderItems()
{
    const float h = static_cast<float>(_itemHalfSize);
    if (_textureId != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, _textureId);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    for (int item = ItemCreate; item <= ItemClose; ++item) {
        double cx = 0.0;
        double cy = 0.0;
        itemCentre(item, _itemOffset, cx, cy);
        glPushMatrix();
        glTranslated(cx, cy, 0.0);
        glScalef(h, h, 1.0f);
        if (item == ItemClose) {
            _centreList.call();
        } else {
            glRotatef(ItemTurn[static_cast<std::size_t>(item)], 0.0f, 0.0f, 1.0f);
            _itemList.call();
        }
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
}

void ContextMenuGL::drawFrame()
{
    // Outline of each square, so the cross reads on any picture.
    const float h = static_cast<float>(_itemHalfSize);
    glColor4f(0.25f, 0.2f, 0.15f, 1.0f);
    glLineWidth(2.0f);
    for (int item = ItemCreate; item <= ItemClose; ++item) {
        double cx = 0.0;
        double cy = 0.0;
        itemCentre(item, _itemOffset, cx, cy);
        glBegin(GL_LINE_LOOP);
        glVertex2d(cx - h, cy - h);
        glVertex2d(cx + h, cy - h);
        glVertex2d(cx + h, cy + h);
        glVertex2d(cx - h, cy + h);
        glEnd();
    }
}

void ContextMenuGL::renderLabels()
{
    if (_font == nullptr)
        return;
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.15f, 0.12f, 0.1f, 1.0f);
    for (int item = ItemCreate; item <= ItemColour; ++item) {
        const char* text = Labels[static_cast<std::size_t>(item)];
        const FTBBox box = _font->BBox(text);
        const FTPoint mid = (box.Lower() + box.Upper()) * 0.5;
        double cx = 0.0;
        double cy = 0.0;
        itemCentre(item, _itemOffset, cx, cy);
        glPushMatrix();
        // Labels a little wider than a square are scaled down to fit.
        const double width = box.Upper().X() - box.Lower().X();
        const double scale = width > 1.8 * _itemHalfSize ? 1.8 * _itemHalfSize / width : 1.0;
        glTranslated(cx, cy, 0.0);
        glScaled(scale, scale, 1.0);
        glTranslated(-mid.X(), -mid.Y(), 0.0);
        _font->Render(text);
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
}

void ContextMenuGL::renderLasso()
{
    if (_lassoCurve.numRawPoints() < 2)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glLineWidth(3.0f);
    glColor4f(0.85f, 0.1f, 0.1f, 1.0f);
    glBegin(GL_LINE_LOOP);
    for (const Point2D& p : _lassoCurve.getRawPoints())
        glVertex2d(p.x(), p.y());
    glEnd();
    glPopAttrib();
}
