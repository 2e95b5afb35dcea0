// The lens: view geometry, body shape and the ray casting behind
// magnificationAt.
#include "epsLens.h"

#include "epsLensSurround.h"

#include <algorithm>
#include <cfloat>
#include <numbers>

namespace {
constexpr int kObliqueSteps = 64;
constexpr int kObliqueMaxEvaluations = 40;
constexpr float kDegreesPerRadian = float(180.0 / std::numbers::pi);

// a mod 360 in [0, 360).
float wrapDegrees(float a)
{
    const float r = std::fmod(a, 360.0f);
    return r < 0.0f ? r + 360.0f : r;
}
} // namespace

epsLens::epsLens()
{
    refresh();
}

epsLens::~epsLens()
{
    if (_surround)
        _surround->setOwner(nullptr);
}

void epsLens::setMagnification(float m)
{
    if (m >= 1.0f && std::isfinite(m)) {
        _magnification = m;
        refresh();
    }
}

void epsLens::setFocus(epsPoint focus)
{
    _focus = focus;
}

void epsLens::setLensShape(int shape)
{
    if (shape >= ShapeDiamond && shape <= ShapeRound) {
        _lensShape = shape;
        refresh();
    }
}

void epsLens::setLensSize(float size)
{
    if (size >= 0.0f && std::isfinite(size)) {
        _lensSize = size;
        refresh();
    }
}

bool epsLens::setSurround(epsLensSurround* surround)
{
    if (!surround || surround->owner() || _surround)
        return false;
    _surround = surround;
    surround->setOwner(this);
    surroundChanged();
    return true;
}

void epsLens::setViewpoint(epsPoint3 viewpoint)
{
    if (viewpoint.z - _baseHeight > 0.0f && std::isfinite(viewpoint.z)) {
        _eyeOffset = {viewpoint.x - _focus.x, viewpoint.y - _focus.y, viewpoint.z};
        refresh();
    }
}

epsPoint3 epsLens::getViewpoint() const
{
    return {_focus.x + _eyeOffset.x, _focus.y + _eyeOffset.y, _eyeOffset.z};
}

void epsLens::setBaseHeight(float height)
{
    if (_eyeOffset.z - height > 0.0f) {
        _baseHeight = height;
        refresh();
    }
}

void epsLens::setMetricType(int type)
{
    if (type >= MetricLOne && type <= MetricLInfinity) {
        _metricType = type;
        refresh();
    }
}

void epsLens::setScaleValue(ScaleValue which, float value)
{
    if (value >= 0.0f) {
        _scales[which] = value;
        refresh();
    }
}

bool epsLens::isRadiallySymmetric() const
{
    return _roundSquared && !_sectorLimited && _eyeOffset.x == 0.0f && _eyeOffset.y == 0.0f;
}

// After a change of the magnification, view geometry, shape, size, metric
// type or scale values.
void epsLens::refresh()
{
    _viewDistance = _eyeOffset.z - _baseHeight;
    _focusHeight = _viewDistance - _viewDistance / _magnification;
    _focusHeightReciprocal = 1.0f / _focusHeight;
    _k = 1.0f - 1.0f / _magnification;
    _lensSizeSquared = _lensSize * _lensSize;
    _topRadius = _magnification * _lensSize;
    _topRadiusSquared = _topRadius * _topRadius;
    const bool unscaled = _metrics.applyScales(_scales);
    const int norm = _lensShape <= ShapeRectangle ? _lensShape : _metricType;
    _bodyMetric = _lensShape == ShapeRound ? _metrics.metric(MetricLTwo, false)
                                           : _metrics.metric(norm, !unscaled);
    if (_surround)
        _surround->ownerChanged();
    surroundChanged();
}

// After any change of the surround: sector and ray tables.
void epsLens::surroundChanged()
{
    const epsLensSurround* s = _surround;
    const float width = s ? s->getWidth() : 0.0f;
    const float secondScale = s ? s->getSecondScale() : 1.0f;
    _roundSquared = s && _lensShape == ShapeRound && s->usesSquaredDistance();
    _sectorLimited = s && secondScale != 1.0f && std::fabs(s->getEndAngle() - s->getStartAngle()) < 360.0f;
    _sectorStart = s ? wrapDegrees(s->getStartAngle()) : 0.0f;
    _sectorSpan = s ? wrapDegrees(s->getEndAngle() - s->getStartAngle()) : 360.0f;
    _rays[0].build(s, _lensSize, width, _k);
    _rays[1].build(_sectorLimited ? s : nullptr, _lensSize, width * secondScale, _k);
}

void epsLens::surroundDestroyed()
{
    _surround = nullptr;
    surroundChanged();
}

// 0 inside the surround's sector (or when the sector does not matter), 1
// outside it.
int epsLens::sectorSide(float dx, float dy) const
{
    if (!_sectorLimited)
        return 0;
    const float angle = std::atan2(dy, dx) * kDegreesPerRadian;
    return wrapDegrees(angle - _sectorStart) <= _sectorSpan ? 0 : 1;
}

// Surface height over h_max at offset (dx, dy) from the focus, or -1 where
// neither the body nor the surround covers the point.
float epsLens::surfaceFactor(float dx, float dy) const
{
    if (_bodyMetric->distance(dx, dy) <= _lensSize)
        return 1.0f;
    if (!_surround)
        return -1.0f;
    const epsRadialRayTable& rays = _rays[sectorSide(dx, dy)];
    const float c = _surround->metric().distance(dx, dy);
    if (!(c < rays.outer()))
        return -1.0f;
    return _surround->factorAt(std::max(c - _lensSize, 0.0f) * rays.inverseWidth());
}

bool epsLens::covers(epsPoint point) const
{
    return surfaceFactor(point.x - _focus.x, point.y - _focus.y) >= 0.0f;
}

float epsLens::surfaceHeightAt(epsPoint point) const
{
    return _focusHeight * std::max(surfaceFactor(point.x - _focus.x, point.y - _focus.y), 0.0f);
}

float epsLens::magnificationAt(epsPoint point, epsPoint* source) const
{
    const float dx = point.x - _focus.x;
    const float dy = point.y - _focus.y;
    const bool straightAbove = _eyeOffset.x == 0.0f && _eyeOffset.y == 0.0f;
    const float m = straightAbove ? radialMagnification(dx, dy) : obliqueMagnification(dx, dy);
    if (source) {
        // S lies the fraction 1/m of the way from the eye down to the point.
        const epsPoint3 eye = getViewpoint();
        const float h = _viewDistance * (1.0f - 1.0f / m);
        const epsPoint3 s = {eye.x + (point.x - eye.x) / m, eye.y + (point.y - eye.y) / m, h};
        const float t = _viewDistance / (_viewDistance - s.z);
        *source = {eye.x - t * (eye.x - s.x), eye.y - t * (eye.y - s.y)};
    }
    return m;
}

// Eye straight above the focus: closed forms outside and for the flat top,
// the ray table in between.
float epsLens::radialMagnification(float dx, float dy) const
{
    const epsRadialRayTable& rays = _rays[sectorSide(dx, dy)];
    float c;
    if (_roundSquared) {
        const float r2 = dx * dx + dy * dy;
        if (!(r2 < rays.outerSquared()) && r2 > _lensSizeSquared)
            return 1.0f;
        if (r2 <= _topRadiusSquared)
            return _magnification;
        c = std::sqrt(r2);
    } else {
        const float a = _bodyMetric->distance(dx, dy);
        c = _surround ? _surround->metric().distance(dx, dy) : INFINITY;
        if (!(c < rays.outer()) && a > _lensSize)
            return 1.0f;
        if (a <= _topRadius)
            return _magnification;
    }
    return rays.magnification(c);
}

// Any eye: march down the ray from where it reaches h_max, then refine the
// first step at which it is at or below the surface.
float epsLens::obliqueMagnification(float dx, float dy) const
{
    if (surfaceFactor(dx, dy) < 0.0f)
        return 1.0f;
    const float ex = _eyeOffset.x;
    const float ey = _eyeOffset.y;
    const auto gap = [this, ex, ey, dx, dy](float lambda) {
        const float f = surfaceFactor(ex + lambda * (dx - ex), ey + lambda * (dy - ey));
        return _k * std::max(f, 0.0f) - (1.0f - lambda);
    };
    const float top = 1.0f / _magnification;
    float lo = top;
    float gapLo = gap(lo);
    if (gapLo >= 0.0f)
        return _magnification;
    const float step = (1.0f - top) / kObliqueSteps;
    for (int i = 1; i <= kObliqueSteps; ++i) {
        const float hi = i == kObliqueSteps ? 1.0f : top + i * step;
        const float gapHi = gap(hi);
        if (gapHi >= 0.0f)
            return 1.0f / epsRefineCrossing(gap, lo, gapLo, hi, gapHi, 4.0f * FLT_EPSILON,
                                            kObliqueMaxEvaluations);
        lo = hi;
        gapLo = gapHi;
    }
    return 1.0f;
}
