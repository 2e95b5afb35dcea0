// Drop-off functions of a lens surround: parameters and the formulas that
// need more than one line.
#include "LensDropOffs.h"

#include <numbers>

namespace {
constexpr float kFiveSixthsFloat = 5.0f / 6.0f;   // 0.8333333134651184
constexpr double kFiveSixthsDouble = 5.0 / 6.0;   // 0.8333333333333334
constexpr float kLinearRippleLimit = 1.5f;
constexpr float kLinearRippleFrequency = 2.0943952f;   // 2π/3
constexpr float kGaussianCutoff = 2.0f;
} // namespace

double epsRipple::modulate(double f, double w) const
{
    const double m = 1.0 - amplitude * std::sin(w);
    return m < 0.0 ? 0.0 : f * m;
}

void epsLinear::setRippleAmplitude(float amplitude)
{
    _ripple.on = amplitude != 0.0f;
    _ripple.limit = kLinearRippleLimit;
    _ripple.limitSquared = kLinearRippleLimit * kLinearRippleLimit;
    _ripple.frequency = kLinearRippleFrequency;
    _ripple.amplitude = amplitude;
}

double epsLinear::at(float d) const
{
    const double f = 1.0 - d;
    if (_ripple.on && d <= _ripple.limit)
        return _ripple.modulate(f, double(d) * _ripple.frequency);
    return f;
}

float epsHemispheric::valueSquared(float s) const
{
    return s < 1.0f ? static_cast<float>(std::sqrt(1.0 - s)) : 0.0f;
}

void epsHyperbolic::setC(float c)
{
    const double p = (1.0 - std::sqrt(4.0 * c + 1.0)) / 2.0;
    _c = c;
    _p = static_cast<float>(p);
    _q = static_cast<float>(c / (p - 1.0));
}

double epsHyperbolic::at(float d) const
{
    // d - p is 0 only at d = 0 with c = 0 (then p = 0): the focus value.
    const double gap = double(d) - _p;
    return gap > 0.0 ? _c / gap + _q : 1.0;
}

double epsTrueLinear::at(float d) const
{
    const double t = (1.0 - d) * _k;
    return t / (d + t);
}

void epsGaussianDropOff::configure(float cutoff, float k, float base, float rippleLimit,
                                   float rippleAmplitude, double squaredRippleExponent)
{
    _cutoff = cutoff;
    _cutoffSquared = cutoff * cutoff;
    _k = k;
    _base = base;
    _inverseSpan = 1.0 / (1.0 - base);
    _ripple.on = rippleAmplitude != 0.0f;
    _ripple.limit = rippleLimit;
    _ripple.limitSquared = rippleLimit * rippleLimit;
    _ripple.frequency = static_cast<float>(std::numbers::pi / rippleLimit);
    _ripple.amplitude = rippleAmplitude;
    _squaredRippleExponent = squaredRippleExponent;
}

double epsGaussianDropOff::rippled(double f, double d, double exponent) const
{
    return _ripple.modulate(f, std::pow(d * _ripple.frequency, exponent));
}

float epsGaussianDropOff::value(float d) const
{
    if (!(d < _cutoff))
        return 0.0f;
    double f = (std::exp(_k * (double(d) * d)) - _base) * _inverseSpan;
    if (_ripple.on && d <= _ripple.limit)
        f = rippled(f, d, kFiveSixthsFloat);
    return static_cast<float>(f);
}

float epsGaussianDropOff::valueSquared(float s) const
{
    if (!(s < _cutoffSquared))
        return 0.0f;
    double f = (std::exp(_k * double(s)) - _base) * _inverseSpan;
    if (_ripple.on && s <= _ripple.limitSquared)
        f = rippled(f, std::sqrt(double(s)), _squaredRippleExponent);
    return static_cast<float>(f);
}

void epsGaussian::configure(float edgeValue, float rippleAmplitude)
{
    const double lnV = std::log(double(edgeValue));
    const float limit = static_cast<float>(std::sqrt(std::log(0.01) / lnV));
    epsGaussianDropOff::configure(kGaussianCutoff, static_cast<float>(lnV), 0.0f, limit,
                                  rippleAmplitude, kFiveSixthsFloat);
}

void epsDropGaussian::configure(float edgeValue, float rippleAmplitude)
{
    const double lnTenth = std::log(0.1);
    const float cutoff = static_cast<float>(std::sqrt(std::log(double(edgeValue)) / lnTenth));
    epsGaussianDropOff::configure(cutoff, static_cast<float>(lnTenth), edgeValue, cutoff,
                                  rippleAmplitude, kFiveSixthsDouble);
}
