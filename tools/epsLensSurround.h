// The surround of a lens: where and how the lens surface falls back to the
// base plane (a distance metric combined with a drop-off function).
#pragma once

#include "LensDropOffs.h"
#include "LensMetrics.h"
#include "epsEnums.h"

class epsLens;

// Settings marked "inherit" take the owning lens's value while they are -1.
// A surround belongs to at most one lens (epsLens::setSurround); neither
// owns the other, and whichever is destroyed first unlinks the pair. Every
// change is passed on to the owning lens at once.
class epsLensSurround : public epsEnums {
public:
    epsLensSurround();
    epsLensSurround(const epsLensSurround&) = delete;
    epsLensSurround& operator=(const epsLensSurround&) = delete;
    virtual ~epsLensSurround();

    // Any number is stored; 0..8 select the function (epsEnums::DropOffType),
    // others leave the current one in place. Initial 2 (Gaussian).
    virtual void setDropOffType(int type);
    virtual int getDropOffType() const;
    // Lens units; 0 or less: no surround. Initial 100.
    virtual void setWidth(float width);
    virtual float getWidth() const;
    // Width multiplier outside the sector between the start and end angles.
    // Initial 1.
    virtual void setSecondScale(float scale);
    virtual float getSecondScale() const;
    // Any number is stored; 0..3 select a norm, 4 takes the lens's metric
    // type, others leave the current metric in place. Initial 4.
    virtual void setMetricType(int type);
    virtual int getMetricType() const;
    // Scale values: ≥ 0, or -1 to inherit; others are ignored. Initial -1.
    virtual void setXScale(float value);
    virtual float getXScale() const;
    virtual void setYScale(float value);
    virtual float getYScale() const;
    virtual void setXPositiveFactor(float value);
    virtual float getXPositiveFactor() const;
    virtual void setXNegativeFactor(float value);
    virtual float getXNegativeFactor() const;
    virtual void setYPositiveFactor(float value);
    virtual float getYPositiveFactor() const;
    virtual void setYNegativeFactor(float value);
    virtual float getYNegativeFactor() const;
    // Degrees counterclockwise from +x; the sector runs from start to end.
    // Initial 0 and 360 (all round).
    virtual void setStartAngle(float degrees);
    virtual float getStartAngle() const;
    virtual void setEndAngle(float degrees);
    virtual float getEndAngle() const;
    // 0..1 inclusive; initial 0 (off).
    virtual void setGaussianRippleAmplitude(float amplitude);
    virtual float getGaussianRippleAmplitude() const;
    // ≥ 0; initial 0 (off).
    virtual void setLinearRippleAmplitude(float amplitude);
    virtual float getLinearRippleAmplitude() const;
    // ≥ 0; initial 1.
    virtual void setHyperbolicC(float c);
    virtual float getHyperbolicC() const;
    // > 0; initial e. Re-selects the power family while type 6 is set.
    virtual void setPowerExponent(float exponent);
    virtual float getPowerExponent() const;
    // The Gaussian's value at d = 1: 0 < v ≤ 0.5; initial 0.1.
    virtual void setGaussianEdgeValue(float value);
    virtual float getGaussianEdgeValue() const;
    // How far the drop-off extends, in widths: 0 for type 0, 2 for type 2,
    // the cutoff c for type 5, 1 otherwise.
    virtual float reach() const;

    // The metric in use: until a lens owns the surround, unscaled L2.
    const epsMetric& metric() const { return *_metric; }
    const epsDropOff& dropOff() const { return *_dropOff; }
    // True exactly when the metric is unscaled L2: the lens may then work
    // with squared distances and call valueSquared.
    bool usesSquaredDistance() const { return _squaredDistance; }
    // Drop-off at normalized distance d ≥ 0, 0 from the reach on; the squared
    // form when usesSquaredDistance().
    float factorAt(float d) const
    {
        if (!(d < _reach))
            return 0.0f;
        return _squaredDistance ? _dropOff->valueSquared(d * d) : _dropOff->value(d);
    }
    epsLens* owner() const { return _owner; }
    // The scale values with the inherited ones resolved (own values without
    // an owner).
    epsScaleValues resolvedScales() const;

private:
    friend class epsLens;

    void setScaleValue(ScaleValue which, float value);
    void selectDropOff();
    void selectPowerFamily();
    void selectMetric();
    void store(float& slot, float value);   // stores, then changed()
    void changed();
    // Called by the lens: attach (lens) or detach (nullptr), and refresh
    // what depends on the lens (metric, true-linear k) without calling back.
    void setOwner(epsLens* lens);
    void ownerChanged();

    epsLens* _owner = nullptr;
    int _dropOffType = DropOffGaussian;
    float _width = 100.0f;
    float _secondScale = 1.0f;
    int _metricType = MetricOfLens;
    epsScaleValues _scales = {-1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f};
    float _startAngle = 0.0f;
    float _endAngle = 360.0f;
    float _gaussianRippleAmplitude = 0.0f;
    float _linearRippleAmplitude = 0.0f;
    float _hyperbolicC = 1.0f;
    float _powerExponent = 2.7182819843292236f;
    float _gaussianEdgeValue = 0.1f;

    epsMetricSet _metrics;
    const epsMetric* _metric = nullptr;
    bool _squaredDistance = false;

    epsManhattan _manhattan;
    epsLinear _linear;
    epsGaussian _gaussian;
    epsHemispheric _hemispheric;
    epsCosine _cosine;
    epsDropGaussian _dropGaussian;
    epsPower _power;
    epsHyperbolic _hyperbolic;
    epsTrueLinear _trueLinear;
    epsParabolic _parabolic;
    const epsDropOff* _dropOff = nullptr;
    float _reach = 2.0f;
};
