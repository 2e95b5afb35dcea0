// SketchPen: the simulated pen of the stroke build canvas and the outline it leaves.
#include "SketchPen.h"

#include "Vector2d.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double HalfPi = 1.5707963267948966;
// Thickness lost per unit of pen speed (panel sizes per sample).
constexpr float SpeedThinning = 700.0f;

// v clamped into [lo, hi]; the middle when the range is empty.
double clampInto(double v, double lo, double hi)
{
    return lo <= hi ? std::clamp(v, lo, hi) : 0.5 * (lo + hi);
}

Vector2d centreOf(const ControlPoint2D& cp) { return {cp.getX(), cp.getY()}; }

Vector2d vertexAt(const Stroke2d& stroke, std::size_t v)
{
    const auto& f = stroke.getVertices();
    return {f[2 * v], f[2 * v + 1]};
}

void addSides(Stroke2d& stroke, std::size_t i, const Vector2d& n)
{
    const double r = stroke.getControlPoints()[i].getRadius();
    stroke.addVertexAtControlPoint(i, n.x * r, n.y * r);
    stroke.addVertexAtControlPoint(i, -n.x * r, -n.y * r);
    stroke.addIndex(static_cast<std::uint32_t>(2 * i));
    stroke.addIndex(static_cast<std::uint32_t>(2 * i + 1));
}

// Unit direction from control point i to its first side vertex; zero when the
// vertex lies on the centre.
Vector2d sideDirection(const Stroke2d& stroke, std::size_t i)
{
    return (vertexAt(stroke, 2 * i) - centreOf(stroke.getControlPoints()[i])).normalized();
}

} // namespace

void SketchPen::setSimulationParameters(float spring, float damping, float thicknessScale, float maxThickness,
                                        float minThickness, float mass, float initialSpeed)
{
    _parameters = {spring, damping, thicknessScale, maxThickness, minThickness, mass, initialSpeed};
}

void SketchPen::setThicknessRange(float minThickness, float maxThickness)
{
    _parameters.minThickness = minThickness;
    _parameters.maxThickness = maxThickness;
}

void SketchPen::start(double x, double y, const SketchPanel& panel)
{
    _penVelocity[0] = _penVelocity[1] = 0.0f;
    _sampleCount = 0.0f;
    _warmUpSamples = WarmUpSamples;
    _targetPixel[0] = _penPixel[0] = _previousPenPixel[0] = static_cast<float>(x);
    _targetPixel[1] = _penPixel[1] = _previousPenPixel[1] = static_cast<float>(y);
    _penPos[0] = static_cast<float>(x / panel.width);
    _penPos[1] = static_cast<float>(y / panel.height);
}

float SketchPen::addSample(Stroke2d& stroke, double x, double y, bool isLast, bool outline, const SketchPanel& panel)
{
    const double hw = 0.5 * panel.width;
    const double hh = 0.5 * panel.height;
    x = clampInto(x, panel.centreX - hw, panel.centreX + hw);
    y = clampInto(y, panel.centreY - hh, panel.centreY + hh);
    _targetPixel[0] = static_cast<float>(x);
    _targetPixel[1] = static_cast<float>(y);

    const Parameters& p = _parameters;
    const float ax = -p.spring * static_cast<float>((_penPixel[0] - x) / panel.width) / p.mass;
    const float ay = -p.spring * static_cast<float>((_penPixel[1] - y) / panel.height) / p.mass;
    _penVelocity[0] = (_penVelocity[0] + ax) * p.damping;
    _penVelocity[1] = (_penVelocity[1] + ay) * p.damping;
    _penPos[0] += _penVelocity[0];
    _penPos[1] += _penVelocity[1];
    // The pen's tip stays inside the panel by half the widest line.
    const double inset = 0.5 * p.maxThickness;
    _penPixel[0] = static_cast<float>(
        clampInto(_penPos[0] * panel.width, panel.centreX - hw + inset, panel.centreX + hw - inset));
    _penPixel[1] = static_cast<float>(
        clampInto(_penPos[1] * panel.height, panel.centreY - hh + inset, panel.centreY + hh - inset));
    _penPos[0] = static_cast<float>(_penPixel[0] / panel.width);
    _penPos[1] = static_cast<float>(_penPixel[1] / panel.height);

    _sampleCount += 1.0f;
    const float f = warmUpFactor();
    const float speed = std::hypot(_penVelocity[0], _penVelocity[1]);
    const float t = p.thicknessScale * (f * p.initialSpeed + (1.0f - f) * speed);
    const float width = std::max(p.minThickness, p.maxThickness - SpeedThinning * std::min(t, p.maxThickness));

    if (isLast) {
        taperEnd(stroke);
        return width;
    }
    if (stroke.getNumControlPoints() >= MaxControlPoints)
        return width;
    const auto tag = static_cast<std::int32_t>(stroke.getNumControlPoints());
    stroke.addControlPoint(ControlPoint2D(tag, _previousPenPixel[0], _previousPenPixel[1], 0.5 * width, 1.0));
    if (outline)
        extendOutline(stroke);
    return width;
}

float SketchPen::warmUpFactor() const
{
    if (_sampleCount > _warmUpSamples)
        return 0.0f;
    return 1.0f - static_cast<float>(std::sin(_sampleCount * HalfPi / _warmUpSamples));
}

void SketchPen::keepUp()
{
    _previousPenPixel[0] = _penPixel[0];
    _previousPenPixel[1] = _penPixel[1];
}

void SketchPen::reset()
{
    const Parameters kept = _parameters;
    *this = SketchPen();
    _parameters = kept;
}

void SketchPen::extendOutline(Stroke2d& stroke)
{
    const auto& cps = stroke.getControlPoints();
    const std::size_t n = cps.size();
    std::size_t i = stroke.getVertexFloatCount() / 4;   // points that have their sides
    if (n < 2 || i >= n)
        return;
    if (i < 2) {
        const Vector2d d = (centreOf(cps[1]) - centreOf(cps[0])).normalized();
        addSides(stroke, 0, d.perp());
        addSides(stroke, 1, d.perp());
        i = 2;
    }
    for (; i < n; ++i) {
        const Vector2d a = centreOf(cps[i - 2]);
        const Vector2d b = centreOf(cps[i - 1]);
        const Vector2d c = centreOf(cps[i]);
        const Vector2d bisector = (b - a).normalized() + (c - b).normalized();
        const Vector2d previous = sideDirection(stroke, i - 1);
        Vector2d side = bisector.squaredLength() > 1e-12 ? bisector.normalized().perp() : previous;
        if (side.dot(previous) <= 0.0 && previous.squaredLength() > 0.0)
            side = -side;
        addSides(stroke, i, side);
    }
}

void SketchPen::taperEnd(Stroke2d& stroke)
{
    const std::size_t n = stroke.getNumControlPoints();
    if (n <= static_cast<std::size_t>(TaperCount))
        return;
    for (int k = TaperCount; k >= 0; --k) {
        const ControlPoint2D& cp = stroke.getControlPoints()[n - static_cast<std::size_t>(k) - 1];
        const double factor = 1.0 - (TaperCount - k) * (1.0 / 6.0 - 0.01);
        stroke.setControlPointRadius(static_cast<std::size_t>(cp.getTag()), cp.getRadius() * factor);
    }
}
