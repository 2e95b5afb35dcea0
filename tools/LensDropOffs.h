// Drop-off functions of a lens surround: how the lens surface falls with the
// normalized distance d (1 = the surround's width). Each has a plain and a
// squared form; results are rounded to float.
#pragma once

#include <cmath>

// value(d) for d ≥ 0; valueSquared(s) for s = d² ≥ 0. Both give the same
// function; the squared form spares the caller a square root.
class epsDropOff {
public:
    virtual ~epsDropOff() = default;
    virtual float value(float d) const = 0;
    virtual float valueSquared(float s) const = 0;
};

// The ripple of the linear and Gaussian drop-offs: within its limit the value
// is multiplied by 1 - amplitude × sin(w).
struct epsRipple {
    bool on = false;
    float limit = 0.0f;
    float limitSquared = 0.0f;
    float frequency = 0.0f;
    float amplitude = 0.0f;

    // f × (1 - amplitude × sin(w)); 0 when that factor is negative.
    double modulate(double f, double w) const;
};

// Shape shared by the drop-offs that end at d = 1: both forms cut off there
// and evaluate Curve::at(d) (a double) in between.
template <class Curve>
class epsUnitDropOff : public epsDropOff {
public:
    float value(float d) const override
    {
        return d < 1.0f ? static_cast<float>(curve().at(d)) : 0.0f;
    }
    float valueSquared(float s) const override
    {
        return s < 1.0f ? static_cast<float>(curve().at(std::sqrt(s))) : 0.0f;
    }

private:
    const Curve& curve() const { return static_cast<const Curve&>(*this); }
};

// 0 everywhere: a hard edge, no surround.
class epsManhattan final : public epsUnitDropOff<epsManhattan> {
public:
    double at(float) const { return 0.0; }
};

// 1 - d, optionally rippled (w = d × frequency, limit 1.5).
class epsLinear final : public epsUnitDropOff<epsLinear> {
public:
    epsLinear() { setRippleAmplitude(0.0f); }
    void setRippleAmplitude(float amplitude);
    const epsRipple& ripple() const { return _ripple; }
    double at(float d) const;

private:
    epsRipple _ripple;
};

// sqrt(1 - d²); the squared form takes sqrt(1 - s).
class epsHemispheric final : public epsUnitDropOff<epsHemispheric> {
public:
    float valueSquared(float s) const override;
    double at(float d) const { return std::sqrt(1.0 - double(d) * d); }
};

// cos(d × π/2).
class epsCosine final : public epsUnitDropOff<epsCosine> {
public:
    double at(float d) const { return std::cos(d * 1.5707963267948966); }
};

// c / (d - p) + q with p = (1 - sqrt(4c + 1)) / 2 and q = c / (p - 1):
// 1 at d = 0, 0 at d = 1. With c = 0 it is 1 at d = 0 and 0 beyond.
class epsHyperbolic final : public epsUnitDropOff<epsHyperbolic> {
public:
    epsHyperbolic() { setC(1.0f); }
    void setC(float c);   // c ≥ 0
    float c() const { return _c; }
    float p() const { return _p; }
    float q() const { return _q; }
    double at(float d) const;

private:
    float _c = 0.0f;
    float _p = 0.0f;
    float _q = 0.0f;
};

// (1 - d)^exponent.
class epsPower final : public epsUnitDropOff<epsPower> {
public:
    void setExponent(float exponent) { _exponent = exponent; }
    float exponent() const { return _exponent; }
    double at(float d) const { return std::pow(1.0 - d, double(_exponent)); }

private:
    float _exponent = 2.7182819843292236f;
};

// (1 - d)².
class epsParabolic final : public epsUnitDropOff<epsParabolic> {
public:
    double at(float d) const { return (1.0 - d) * (1.0 - d); }
};

// t / (d + t) with t = (1 - d) × k, k the owning lens's magnification (> 0).
class epsTrueLinear final : public epsUnitDropOff<epsTrueLinear> {
public:
    void setK(float k) { _k = k; }
    float k() const { return _k; }
    double at(float d) const;

private:
    float _k = 1.0f;
};

// Shape of the two Gaussians: (exp(k s) - base) / (1 - base) below the
// cutoff, rippled with w = (d × frequency)^(5/6) within the ripple limit.
class epsGaussianDropOff : public epsDropOff {
public:
    float value(float d) const override;
    float valueSquared(float s) const override;
    float cutoff() const { return _cutoff; }
    float k() const { return _k; }
    float base() const { return _base; }
    const epsRipple& ripple() const { return _ripple; }

protected:
    // squaredRippleExponent: the 5/6 that valueSquared uses for the ripple.
    void configure(float cutoff, float k, float base, float rippleLimit, float rippleAmplitude,
                   double squaredRippleExponent);

private:
    double rippled(double f, double d, double exponent) const;

    float _cutoff = 1.0f;
    float _cutoffSquared = 1.0f;
    float _k = 0.0f;
    float _base = 0.0f;
    double _inverseSpan = 1.0;    // 1 / (1 - base)
    epsRipple _ripple;
    double _squaredRippleExponent = 0.0;
};

// exp(k d²) = v^(d²) with k = ln v for d < 2: v at d = 1, 0 from d = 2 on.
class epsGaussian final : public epsGaussianDropOff {
public:
    epsGaussian() { configure(0.1f, 0.0f); }
    // v: the value at d = 1 (0 < v ≤ 0.5); amplitude: ripple, 0 = off.
    void configure(float edgeValue, float rippleAmplitude);
};

// exp(k d²) with k = ln 0.1, lowered and stretched to reach 0 exactly at
// c = sqrt(ln v / ln 0.1) (c = 1 for v = 0.1).
class epsDropGaussian final : public epsGaussianDropOff {
public:
    epsDropGaussian() { configure(0.1f, 0.0f); }
    void configure(float edgeValue, float rippleAmplitude);
};
