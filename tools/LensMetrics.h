// Distance metrics of the lens: four norms, each unscaled and scaled per
// direction, and the set of all eight that a lens or a surround owns.
#pragma once

#include <array>
#include <cmath>

// How far an offset (dx, dy) is from the origin. All arithmetic in float.
class epsMetric {
public:
    virtual ~epsMetric() = default;
    virtual float distance(float dx, float dy) const = 0;
};

// The four norms on non-negative components.
namespace epsNorm {
inline constexpr float kOneThird = 1.0f / 3.0f;   // 0.3333333432674408
inline float lOne(float a, float b) { return a + b; }
inline float lTwo(float a, float b) { return std::sqrt(a * a + b * b); }
inline float lThree(float a, float b) { return std::pow(a * a * a + b * b * b, kOneThird); }
inline float lInfinity(float a, float b) { return a > b ? a : b; }
} // namespace epsNorm

using epsNormFunction = float (*)(float, float);

// A norm of the absolute components.
template <epsNormFunction Norm>
class epsSimpleMetric : public epsMetric {
public:
    float distance(float dx, float dy) const override
    {
        return Norm(std::fabs(dx), std::fabs(dy));
    }
};

// Scales each component by a factor chosen by its sign. The negative-side
// factors are stored negated (≤ 0), so the scaled components are ≥ 0.
class epsScaledMetric : public epsMetric {
public:
    void setFactors(float xPositive, float xNegative, float yPositive, float yNegative);
    float xPositive() const { return _xPositive; }
    float xNegative() const { return _xNegative; }
    float yPositive() const { return _yPositive; }
    float yNegative() const { return _yNegative; }

protected:
    float scaledX(float dx) const { return dx * (dx > 0.0f ? _xPositive : _xNegative); }
    float scaledY(float dy) const { return dy * (dy > 0.0f ? _yPositive : _yNegative); }

private:
    float _xPositive = 1.0f;
    float _xNegative = -1.0f;
    float _yPositive = 1.0f;
    float _yNegative = -1.0f;
};

template <epsNormFunction Norm>
class epsScaledNormMetric : public epsScaledMetric {
public:
    float distance(float dx, float dy) const override
    {
        return Norm(scaledX(dx), scaledY(dy));
    }
};

class epsSimpleLOne final : public epsSimpleMetric<epsNorm::lOne> {};
class epsSimpleLTwo final : public epsSimpleMetric<epsNorm::lTwo> {};
class epsSimpleLThree final : public epsSimpleMetric<epsNorm::lThree> {};
class epsSimpleLInfinity final : public epsSimpleMetric<epsNorm::lInfinity> {};
class epsDistanceLOne final : public epsScaledNormMetric<epsNorm::lOne> {};
class epsDistanceLTwo final : public epsScaledNormMetric<epsNorm::lTwo> {};
class epsDistanceLThree final : public epsScaledNormMetric<epsNorm::lThree> {};
class epsDistanceLInfinity final : public epsScaledNormMetric<epsNorm::lInfinity> {};

// x scale, y scale, x-positive, x-negative, y-positive, y-negative factor
// (indexed by epsEnums::ScaleValue).
using epsScaleValues = std::array<float, 6>;
inline constexpr epsScaleValues kNeutralScales = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};

// One metric object of each of the eight. Owned by value; pointers returned
// by metric() stay valid for the set's lifetime.
class epsMetricSet {
public:
    // Writes the factors derived from the scale values into the four scaled
    // metrics: x-positive = x scale × x-positive factor, x-negative =
    // -(x scale × x-negative factor), likewise for y. Returns true when both
    // axes are unscaled (positive factor 1 and negative factor -1).
    bool applyScales(const epsScaleValues& scales);

    // The metric of a type 0..3 (epsEnums::MetricType), scaled or unscaled;
    // nullptr for other types.
    const epsMetric* metric(int type, bool scaled) const;

private:
    epsSimpleLOne _simpleLOne;
    epsSimpleLTwo _simpleLTwo;
    epsSimpleLThree _simpleLThree;
    epsSimpleLInfinity _simpleLInfinity;
    epsDistanceLOne _distanceLOne;
    epsDistanceLTwo _distanceLTwo;
    epsDistanceLThree _distanceLThree;
    epsDistanceLInfinity _distanceLInfinity;
};
