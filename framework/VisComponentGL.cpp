// VisComponentGL: common transformation, picking colours and quads.
#include "VisComponentGL.h"

#include "ComponentList.h"

#include <GL/gl.h>

void VisComponentGL::render()
{
    glPushMatrix();
    doCommonTransformations();
    specificRender();
    glPopMatrix();
}

void VisComponentGL::renderForPicking()
{
    unsigned char rgb[3];
    pickingColor(getId(), rgb);
    glPushMatrix();
    doCommonTransformations();
    glColor3ub(rgb[0], rgb[1], rgb[2]);
    pickingPreparation();
    specificRenderForPicking();
    glPopMatrix();
}

void VisComponentGL::specificRenderForPicking()
{
    drawQuad(getWidth(), getHeight());
}

void VisComponentGL::doCommonTransformations()
{
    glTranslated(getXPos(), getYPos(), 0.0);
    glRotated(getRotation(), 0.0, 0.0, 1.0);
}

void VisComponentGL::pickingColor(unsigned long id, unsigned char rgb[3])
{
    // Neighbouring ids get clearly different colours.
    const unsigned long mixed = (id * 2654435761ul) ^ (id << 7);
    rgb[0] = static_cast<unsigned char>(mixed & 0xff);
    rgb[1] = static_cast<unsigned char>((mixed >> 8) & 0xff);
    rgb[2] = static_cast<unsigned char>((mixed >> 16) & 0xff);
}

void VisComponentGL::renderActive(const ComponentList& list)
{
    for (std::size_t i = 0; i < list.slotCount(); ++i)
        if (VisComponent* c = list[i]; c != nullptr && c->isActiveForRendering())
            c->render();
}

void VisComponentGL::drawQuad(double width, double height)
{
    const double hw = 0.5 * width;
    const double hh = 0.5 * height;
    glBegin(GL_QUADS);
    glVertex2d(-hw, -hh);
    glVertex2d(hw, -hh);
    glVertex2d(hw, hh);
    glVertex2d(-hw, hh);
    glEnd();
}

void VisComponentGL::drawTexturedQuad(double width, double height, unsigned texture, float s0, float t0, float s1,
                                      float t1)
{
    const double hw = 0.5 * width;
    const double hh = 0.5 * height;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2d(-hw, -hh);
    glTexCoord2f(s1, t0);
    glVertex2d(hw, -hh);
    glTexCoord2f(s1, t1);
    glVertex2d(hw, hh);
    glTexCoord2f(s0, t1);
    glVertex2d(-hw, hh);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void VisComponentGL::drawSquare(double x, double y, double half, unsigned texture)
{
    if (texture != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(x - half, y - half);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2d(x + half, y - half);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2d(x + half, y + half);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2d(x - half, y + half);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void VisComponentGL::drawFan(const std::vector<Vector2d>& points)
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(0.0, 0.0);
    for (const Vector2d& p : points)
        glVertex2d(p.x, p.y);
    if (!points.empty())
        glVertex2d(points.front().x, points.front().y);
    glEnd();
}
