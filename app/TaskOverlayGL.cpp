// Target areas and the text line of task mode, in immediate-mode GL compiled
// into display lists.
#include "TaskOverlayGL.h"

#include "TaskRecord.h"

#include <FTGL/ftgl.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double AngleStep = 2.0 * std::numbers::pi / 50.0;

// Circle points around (cx, cy) from angle `from`: (cx + r sin a, cy + r cos a).
void circlePoints(double cx, double cy, double r, double from, int count)
{
    for (int k = 0; k < count; ++k) {
        const double a = from + k * AngleStep;
        glVertex2d(cx + r * std::sin(a), cy + r * std::cos(a));
    }
}

void fillColour() { glColor4f(0.0f, 1.0f, 0.0f, 0.2f); }
void rimColour() { glColor4f(1.0f, 0.5f, 0.0f, 0.7f); }

void drawSpot(double x, double y, double r)
{
    fillColour();
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(x, y);
    circlePoints(x, y, r, 0.0, 51);
    glEnd();
    rimColour();
    glBegin(GL_LINE_STRIP);
    circlePoints(x, y, r, 51 * AngleStep, 51);
    glEnd();
}

// A capsule of radius r: half circles of 26 points from startAngle around
// the start and from endAngle around the end, joined by the quad a, b, c, d
// whose sides a-d and b-c are its straight edges.
void drawCapsule(double sx, double sy, double ex, double ey, double r, double startAngle, double endAngle,
                 const double (&quad)[4][2])
{
    fillColour();
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(sx, sy);
    circlePoints(sx, sy, r, startAngle, 26);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(ex, ey);
    circlePoints(ex, ey, r, endAngle, 26);
    glEnd();
    glBegin(GL_QUADS);
    for (const auto& corner : quad)
        glVertex2d(corner[0], corner[1]);
    glEnd();

    rimColour();
    glBegin(GL_LINE_STRIP);
    circlePoints(sx, sy, r, startAngle, 26);
    glEnd();
    glBegin(GL_LINE_STRIP);
    circlePoints(ex, ey, r, endAngle, 26);
    glEnd();
    glBegin(GL_LINES);
    glVertex2dv(quad[0]);
    glVertex2dv(quad[3]);
    glVertex2dv(quad[1]);
    glVertex2dv(quad[2]);
    glEnd();
}

void drawArea(int sx, int sy, int ex, int ey, int diameter)
{
    const double r = static_cast<int>(0.5 * diameter);
    if (sx == ex && sy == ey) {
        drawSpot(sx, sy, r);
    } else if (sy == ey) {
        const double quad[4][2] = {{double(sx), sy - r}, {double(sx), sy + r}, {double(ex), ey + r}, {double(ex), ey - r}};
        drawCapsule(sx, sy, ex, ey, r, std::numbers::pi, 0.0, quad);
    } else if (sx == ex) {
        const double quad[4][2] = {{sx - r, double(sy)}, {sx + r, double(sy)}, {ex + r, double(ey)}, {ex - r, double(ey)}};
        drawCapsule(sx, sy, ex, ey, r, 0.5 * std::numbers::pi, 1.5 * std::numbers::pi, quad);
    }
    // A slanted target is not drawn.
}

} // namespace

void TaskOverlayGL::buildTaskTarget(int index, const TaskRecord& record)
{
    GLDisplayList lists;
    const int areas = std::min(record.numberOfTargetAreas, TaskRecord::MaxTargetAreas);
    if (areas <= 0 || !lists.generate(areas)) {
        _targets.erase(index);
        return;
    }
    for (int i = 0; i < areas; ++i) {
        lists.beginCompile(i);
        glPushAttrib(GL_LIGHTING_BIT | GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
        glShadeModel(GL_SMOOTH);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glLineWidth(5.0f);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        drawArea(record.targetStartX[i], record.targetStartY[i], record.targetEndX[i], record.targetEndY[i],
                 record.targetDiameter[i]);
        glPopMatrix();
        glPopAttrib();
        GLDisplayList::endCompile();
    }
    _targets[index] = std::move(lists);
}

void TaskOverlayGL::drawTarget(int index) const
{
    const auto found = _targets.find(index);
    if (found == _targets.end())
        return;
    for (GLsizei i = 0; i < found->second.count(); ++i)
        found->second.call(i);
}

void TaskOverlayGL::drawText(FTFont* font, const std::string& text, int windowWidth, int pixelSize)
{
    if (font == nullptr || text.empty())
        return;
    const int x = windowWidth / 2 - static_cast<int>(static_cast<double>(text.size()) * pixelSize * 0.25);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, 50.0, 0.0);
    font->Render(text.c_str());
    glPopMatrix();
    glPopAttrib();
}
