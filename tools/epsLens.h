// The lens: a surface raised above the base plane around a focus point and
// seen from a viewpoint above it; reports the magnification at each point.
#pragma once

#include "LensMetrics.h"
#include "epsEnums.h"
#include "epsRadialRayTable.h"

class epsLensSurround;

// The surface: a flat top at the focus height h_max = H - H/m over the lens
// body (points within the lens size in the body's metric), then the
// surround, whose height is h_max × F((c - size) / width) for surround
// metric distance c and drop-off F, then the base plane. The width is the
// surround's own inside its sector and width × second scale outside it.
// The lens does not own its surround (see epsLensSurround). Lengths are in
// the caller's units (the tool brush: buffer cells); heights are above the
// base plane. Queries are const and may run side by side; a setter (which
// rebuilds the ray table) must not run during a query.
class epsLens : public epsEnums {
public:
    epsLens();
    epsLens(const epsLens&) = delete;
    epsLens& operator=(const epsLens&) = delete;
    ~epsLens();

    // m ≥ 1 and finite; others are ignored. Initial 2.
    void setMagnification(float m);
    float getMagnification() const { return _magnification; }
    // Moves the lens; the viewpoint moves with it (keeps its offset).
    void setFocus(epsPoint focus);
    epsPoint getFocus() const { return _focus; }
    // 0..5 (epsEnums::LensShape); others are ignored. Initial 5 (round).
    void setLensShape(int shape);
    int getLensShape() const { return _lensShape; }
    // Radius of the flat top in the body's metric, ≥ 0 and finite. Initial 0.
    void setLensSize(float size);
    float getLensSize() const { return _lensSize; }
    // Links the surround once: refused (false) for null, for a surround that
    // already has an owner, and when this lens already has one.
    bool setSurround(epsLensSurround* surround);
    epsLensSurround* getSurround() const { return _surround; }

    // View geometry. The viewpoint must stay above the base plane; settings
    // that would put it on or below are ignored. Initial: straight above the
    // focus at height 1000, base plane at 0. Only an eye straight above the
    // focus guarantees m at the focus (it always looks onto the flat top).
    void setViewpoint(epsPoint3 viewpoint);
    epsPoint3 getViewpoint() const;
    void setBaseHeight(float height);
    float getBaseHeight() const { return _baseHeight; }
    float getViewDistance() const { return _viewDistance; }        // H
    float getFocusHeight() const { return _focusHeight; }          // h_max
    float getFocusHeightReciprocal() const { return _focusHeightReciprocal; }

    // The metric type a surround of type 4 takes: 0..3; initial 1 (L2).
    void setMetricType(int type);
    int getMetricType() const { return _metricType; }
    // The six scale values (≥ 0; initial 1) that stretch shapes 0..4 and
    // that surrounds inherit.
    void setScaleValue(ScaleValue which, float value);
    float getScaleValue(ScaleValue which) const { return _scales[which]; }
    const epsMetric& bodyMetric() const { return *_bodyMetric; }

    // Magnification at a base-plane point: 1.0 where neither the body nor the
    // surround covers it; otherwise H / (H - h) with h the height at which the
    // ray from the viewpoint through the point first meets the surface (m on
    // the flat top). source, if given, receives where the ray from the
    // viewpoint through that surface point meets the base plane.
    float magnificationAt(epsPoint point, epsPoint* source = nullptr) const;
    // Whether the lens body or the surround covers a base-plane point.
    bool covers(epsPoint point) const;
    // Height of the surface above the base plane right above a point.
    float surfaceHeightAt(epsPoint point) const;
    // True when the surface is round about the focus (shape 5, unscaled L2
    // surround, one width all round) and seen from straight above it.
    bool isRadiallySymmetric() const;

private:
    friend class epsLensSurround;

    void refresh();
    void surroundChanged();
    void surroundDestroyed();
    int sectorSide(float dx, float dy) const;
    float surfaceFactor(float dx, float dy) const;
    float radialMagnification(float dx, float dy) const;
    float obliqueMagnification(float dx, float dy) const;

    epsPoint _focus;
    float _magnification = 2.0f;
    epsPoint3 _eyeOffset = {0.0f, 0.0f, 1000.0f};   // x, y from the focus; z absolute
    float _baseHeight = 0.0f;
    float _viewDistance = 0.0f;
    float _focusHeight = 0.0f;
    float _focusHeightReciprocal = 0.0f;
    float _k = 0.0f;                                 // h_max / H = 1 - 1/m
    int _lensShape = ShapeRound;
    float _lensSize = 0.0f;
    float _lensSizeSquared = 0.0f;
    float _topRadius = 0.0f;                         // m × lens size
    float _topRadiusSquared = 0.0f;
    int _metricType = MetricLTwo;
    epsScaleValues _scales = kNeutralScales;
    epsMetricSet _metrics;
    const epsMetric* _bodyMetric = nullptr;
    epsLensSurround* _surround = nullptr;
    bool _roundSquared = false;
    bool _sectorLimited = false;
    float _sectorStart = 0.0f;
    float _sectorSpan = 360.0f;
    epsRadialRayTable _rays[2];                      // inside, outside the sector
};
