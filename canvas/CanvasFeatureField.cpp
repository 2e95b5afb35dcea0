// CanvasCompositeGL, feature curve and task target: the distance field of the
// sketched feature curve (cones and wedges drawn into the GL depth buffer),
// its gradient and orientation field, and the target area of a study task.
#include "CanvasCompositeGL.h"

#include "BufferTag.h"
#include "TabletopVis.h"
#include "Vector2d.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <vector>

namespace {

constexpr double ConeAngleStep = 0.05235987755982988;   // 3 degrees
constexpr int ConeRimVertices = 121;                     // 0 .. 360 degrees inclusive
constexpr double ConeTipDepth = -1.0;                    // on the curve: depth about 0
constexpr double ConeRimDepth = -1000.0;                 // |ConeRadius| away: depth 1
// Smoothing passes and samples per pixel of path of the resampled curve.
constexpr int FeatureCurveSmoothing = 1;
constexpr double FeatureCurveDensity = 0.03;
// Depth from which a cell counts as too far from the curve to follow it.
constexpr double FarDepth = 0.75;
constexpr double Pi = 3.141592653589793;
constexpr int TargetArcSegments = 25;   // per half circle of a target capsule

Vector2d toVector(const Point2D& p) { return {p.getX(), p.getY()}; }

// Running minimum and maximum of the two components of a vector field.
struct Extent
{
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(double x, double y)
    {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    void print(const char* what) const
    {
        std::cout << "max" << what << "XVal: " << maxX << " min" << what << "XVal " << minX << " max" << what
                  << "YVal: " << maxY << " min" << what << "YVal " << minY << std::endl;
    }
};

// Outline of the capsule of radius r round the segment a-b (a circle when
// a = b), counter-clockwise, in the coordinates of a and b.
std::vector<Vector2d> capsuleOutline(const Vector2d& a, const Vector2d& b, double r)
{
    const Vector2d d = b - a;
    const double heading = std::atan2(d.y, d.x);
    std::vector<Vector2d> outline;
    outline.reserve(2 * (TargetArcSegments + 1));
    for (int end = 0; end < 2; ++end) {
        const Vector2d& centre = end == 0 ? b : a;
        const double first = heading - 0.5 * Pi + end * Pi;
        for (int i = 0; i <= TargetArcSegments; ++i) {
            const double angle = first + Pi * i / TargetArcSegments;
            outline.push_back(centre + r * Vector2d(std::cos(angle), std::sin(angle)));
        }
    }
    return outline;
}

// Sets every cell whose centre lies within r pixels of the segment a-b (cell
// coordinates of the segment's end cells); cellsX, cellsY: cells per pixel.
void fillCapsule(BufferTemplate<bool>& buffer, Vector2d a, Vector2d b, double r, double cellsX, double cellsY)
{
    a += Vector2d(0.5, 0.5);
    b += Vector2d(0.5, 0.5);
    const Vector2d segment((b.x - a.x) / cellsX, (b.y - a.y) / cellsY);
    const double segmentSquared = segment.squaredLength();
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - r * cellsX)) - 1);
    const int x1 = std::min(buffer.getWidth() - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + r * cellsX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - r * cellsY)) - 1);
    const int y1 = std::min(buffer.getHeight() - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + r * cellsY)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const Vector2d p((x + 0.5 - a.x) / cellsX, (y + 0.5 - a.y) / cellsY);
            const double t = segmentSquared > 0.0 ? std::clamp(p.dot(segment) / segmentSquared, 0.0, 1.0) : 0.0;
            if ((p - t * segment).squaredLength() <= r * r)
                buffer.setValue(x, y, true);
        }
}

} // namespace

// ---- Debug drawing of the curves (device pixels: call in the scene's frame) ----

void CanvasCompositeGL::renderInitialCurve()
{
    glPushAttrib(GL_LINE_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, 0xAAAA);
    glLineWidth(2.0f);
    glColor4f(1.0f, 0.2f, 0.2f, 1.0f);
    _initialCurve.renderCurveAsLine();
    glPopAttrib();
}

void CanvasCompositeGL::renderResampledCurve()
{
    glPushAttrib(GL_LINE_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_POINT_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(4, 0xF0F0);
    glLineWidth(2.0f);
    glColor4f(0.2f, 0.2f, 1.0f, 1.0f);
    _resampledCurve.renderCurveAsLine();
    glPointSize(5.0f);
    _resampledCurve.renderCurveAsPoints();
    glPopAttrib();
}

// ---- Distance field ----

void CanvasCompositeGL::compileConeList()
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex3d(0.0, 0.0, ConeTipDepth);
    for (int i = 0; i < ConeRimVertices; ++i) {
        const double a = i * ConeAngleStep;
        glVertex3d(ConeRadius * std::sin(a), ConeRadius * std::cos(a), ConeRimDepth);
    }
    glEnd();
}

void CanvasCompositeGL::renderFeatureCurveDepth()
{
    const std::vector<Point2D> points = _resampledCurve.getCurvePoints();
    for (const Point2D& p : points) {
        glPushMatrix();
        glTranslated(p.getX(), p.getY(), 0.0);
        _coneList.call();
        glPopMatrix();
    }
    // Between the cones, a roof of two slopes over every segment.
    glBegin(GL_QUADS);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Vector2d a = toVector(points[i - 1]);
        const Vector2d b = toVector(points[i]);
        const Vector2d side = ConeRadius * (b - a).normalized().perp();
        for (const double sign : {1.0, -1.0}) {
            const Vector2d sa = a + sign * side;
            const Vector2d sb = b + sign * side;
            glVertex3d(a.x, a.y, ConeTipDepth);
            glVertex3d(b.x, b.y, ConeTipDepth);
            glVertex3d(sb.x, sb.y, ConeRimDepth);
            glVertex3d(sa.x, sa.y, ConeRimDepth);
        }
    }
    glEnd();
}

void CanvasCompositeGL::resampleFeatureCurve()
{
    _resampledCurve = _initialCurve;
    _resampledCurve.process(FeatureCurveSmoothing, FeatureCurveDensity);
    const std::size_t resampled = _resampledCurve.numCurvePoints();
    std::cout << "number of points in initial curve: " << _initialCurve.numRawPoints()
              << " in resampled curve: " << resampled << std::endl;
    if (resampled > 2) {
        computeDepthField();
        computeGradientOrientation();
    }
    _featureCurvePending = false;
}

void CanvasCompositeGL::computeDepthField()
{
    TabletopVis* scene = getController();
    if (scene == nullptr || !scene->hasGL())
        return;
    const int width = static_cast<int>(scene->getScreenWidth());
    const int height = static_cast<int>(scene->getScreenHeight());
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    // The curve is in device pixels; only depth is written.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    renderFeatureCurveDepth();

    std::vector<float> depth(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    storeDepthImage(depth.data(), width, height);

    glClear(GL_DEPTH_BUFFER_BIT);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

void CanvasCompositeGL::storeDepthImage(const float* depth, int width, int height)
{
    auto* field = getActiveBufferAs<double>(DEPTH_BUFFER);
    if (field == nullptr)
        return;
    field->fillEntireBuffer(1.0);
    if (depth == nullptr)
        return;
    const int offset = static_cast<int>(getOverflowSize());
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            field->setValue(offset + c, offset + r, depth[static_cast<std::size_t>(r) * width + c]);
}

void CanvasCompositeGL::computeGradientOrientation()
{
    const auto* depth = getActiveBufferAs<double>(DEPTH_BUFFER);
    auto* gradient = getActiveBufferAs<double>(GRADIENT_BUFFER);
    auto* orientation = getActiveBufferAs<float>(GRADIENT_ORIENTATION_BUFFER);
    if (depth == nullptr || gradient == nullptr || orientation == nullptr)
        return;
    const int w = depth->getWidth();
    const int h = depth->getHeight();

    gradient->fillEntireBufferWith2DValue(0.0, 0.0);
    Extent gradientExtent;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const double gx = (depth->getValue(x + 1, y) - depth->getValue(x - 1, y)) * 0.5;
            const double gy = (depth->getValue(x, y + 1) - depth->getValue(x, y - 1)) * 0.5;
            gradient->set2DValues(x, y, gx, gy);
            gradientExtent.add(gx, gy);
        }
    gradientExtent.print("Gradient");

    Extent orientationExtent;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            double angle = 1.0;
            double valid = 0.0;
            if (depth->getValue(x, y) < FarDepth) {
                double gx = 0.0;
                double gy = 0.0;
                gradient->get2DValues(x, y, gx, gy);
                // A flat cell (on the curve's ridge) has no direction: 0 degrees
                // rather than the NaN of 0 / 0.
                angle = gx == 0.0 && gy == 0.0 ? 0.0 : std::atan(gy / gx) * 180.0 / Pi;
                valid = 1.0;
            }
            orientation->set2DValues(x, y, static_cast<float>(angle), static_cast<float>(valid));
            orientationExtent.add(angle, valid);
        }
    orientationExtent.print("Orientation");
    _gradientOrientationSet = true;
}

// ---- Study task target ----

void CanvasCompositeGL::prepareTaskTarget(const TaskRecord& record)
{
    _currentTask = record;
    compileTargetAreas(_targetAreaLists);
}

void CanvasCompositeGL::compileTargetAreas(GLDisplayList& lists) const
{
    lists.release();
    const TabletopVis* scene = getController();
    if (scene == nullptr || !scene->hasGL() || !lists.generate(TaskRecord::MaxTargetAreas))
        return;
    for (int i = 0; i < TaskRecord::MaxTargetAreas; ++i) {
        lists.beginCompile(i);
        const int diameter = _currentTask.targetDiameter[i];
        if (diameter > 0) {
            const std::vector<Vector2d> outline = capsuleOutline(
                Vector2d(_currentTask.targetStartX[i], _currentTask.targetStartY[i]),
                Vector2d(_currentTask.targetEndX[i], _currentTask.targetEndY[i]), diameter / 2);
            glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_DEPTH_TEST);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glLoadIdentity();
            glColor4f(0.0f, 1.0f, 0.0f, 0.2f);
            glBegin(GL_POLYGON);
            for (const Vector2d& p : outline)
                glVertex2d(p.x, p.y);
            glEnd();
            glLineWidth(5.0f);
            glColor4f(1.0f, 0.5f, 0.0f, 0.7f);
            glBegin(GL_LINE_LOOP);
            for (const Vector2d& p : outline)
                glVertex2d(p.x, p.y);
            glEnd();
            glPopMatrix();
            glPopAttrib();
        }
        GLDisplayList::endCompile();
    }
}

void CanvasCompositeGL::fillTargetArea()
{
    auto* target = getActiveBufferAs<bool>(TARGET_AREA_BUFFER);
    const TabletopVis* scene = getController();
    if (target == nullptr || scene == nullptr)
        return;
    for (int i = 0; i < TaskRecord::MaxTargetAreas; ++i) {
        const int diameter = _currentTask.targetDiameter[i];
        if (diameter <= 0)
            continue;
        int ax = 0, ay = 0, bx = 0, by = 0;
        deviceToCell(_currentTask.targetStartX[i], _currentTask.targetStartY[i], ax, ay);
        deviceToCell(_currentTask.targetEndX[i], _currentTask.targetEndY[i], bx, by);
        fillCapsule(*target, Vector2d(ax, ay), Vector2d(bx, by), diameter / 2, scene->getCellsPerPixelX(),
                    scene->getCellsPerPixelY());
    }
}
