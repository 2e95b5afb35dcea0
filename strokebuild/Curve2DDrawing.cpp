// Curve2D's debug drawing: the only GL of the stroke geometry, built into its
// own small library (pictavo_strokebuild_gl) so the geometry links no GL.
#include "Curve2D.h"

#include <GL/gl.h>

namespace {

void drawPoints(const std::vector<Point2D>& points, GLenum mode)
{
    glBegin(mode);
    for (const Point2D& p : points)
        glVertex2d(p.getX(), p.getY());
    glEnd();
}

} // namespace

void Curve2D::renderCurveAsLine() const { drawPoints(_curvePoints, GL_LINE_STRIP); }
void Curve2D::renderRawAsLine() const { drawPoints(_rawPoints, GL_LINE_STRIP); }
void Curve2D::renderCurveAsPoints() const { drawPoints(_curvePoints, GL_POINTS); }
void Curve2D::renderRawAsPoints() const { drawPoints(_rawPoints, GL_POINTS); }
