// Tests of the lens surround: settings and their ranges, the choice of the
// drop-off function and of the metric.
#include "epsLens.h"
#include "epsLensSurround.h"

#include <gtest/gtest.h>

#include <cmath>
#include <typeinfo>
#include <vector>

namespace {

// The dynamic type of a drop-off or metric.
template <class T>
const std::type_info& typeOf(const T& object)
{
    return typeid(object);
}

using Setter = void (epsLensSurround::*)(float);
using Getter = float (epsLensSurround::*)() const;

struct RangeCase {
    const char* name;
    Setter set;
    Getter get;
    float initial;
    std::vector<float> ignored;
    std::vector<float> accepted;
};

TEST(LensSurround, SettingsStartAtTheirInitialValuesAndKeepTheirRanges)
{
    const float e = 2.7182819843292236f;
    const std::vector<RangeCase> cases = {
        {"width", &epsLensSurround::setWidth, &epsLensSurround::getWidth, 100.0f, {}, {-5.0f, 0.0f, 40.0f}},
        {"second scale", &epsLensSurround::setSecondScale, &epsLensSurround::getSecondScale, 1.0f, {}, {-1.0f, 3.0f}},
        {"x scale", &epsLensSurround::setXScale, &epsLensSurround::getXScale, -1.0f, {-2.0f, -0.5f}, {0.0f, 2.0f, -1.0f}},
        {"y scale", &epsLensSurround::setYScale, &epsLensSurround::getYScale, -1.0f, {-2.0f}, {0.0f, -1.0f}},
        {"x+ factor", &epsLensSurround::setXPositiveFactor, &epsLensSurround::getXPositiveFactor, -1.0f, {-2.0f}, {0.0f, -1.0f}},
        {"x- factor", &epsLensSurround::setXNegativeFactor, &epsLensSurround::getXNegativeFactor, -1.0f, {-2.0f}, {0.0f, -1.0f}},
        {"y+ factor", &epsLensSurround::setYPositiveFactor, &epsLensSurround::getYPositiveFactor, -1.0f, {-2.0f}, {0.0f, -1.0f}},
        {"y- factor", &epsLensSurround::setYNegativeFactor, &epsLensSurround::getYNegativeFactor, -1.0f, {-2.0f}, {0.0f, -1.0f}},
        {"start angle", &epsLensSurround::setStartAngle, &epsLensSurround::getStartAngle, 0.0f, {}, {-90.0f, 720.0f}},
        {"end angle", &epsLensSurround::setEndAngle, &epsLensSurround::getEndAngle, 360.0f, {}, {45.0f}},
        {"gaussian ripple", &epsLensSurround::setGaussianRippleAmplitude, &epsLensSurround::getGaussianRippleAmplitude, 0.0f, {-0.1f, 1.01f}, {1.0f, 0.0f, 0.3f}},
        {"linear ripple", &epsLensSurround::setLinearRippleAmplitude, &epsLensSurround::getLinearRippleAmplitude, 0.0f, {-0.1f}, {0.0f, 5.0f}},
        {"hyperbolic c", &epsLensSurround::setHyperbolicC, &epsLensSurround::getHyperbolicC, 1.0f, {-1.0f}, {0.0f, 3.0f}},
        {"power exponent", &epsLensSurround::setPowerExponent, &epsLensSurround::getPowerExponent, e, {0.0f, -1.0f}, {0.5f, 700.0f}},
        {"gaussian edge", &epsLensSurround::setGaussianEdgeValue, &epsLensSurround::getGaussianEdgeValue, 0.1f, {0.6f, 0.0f, -0.1f, NAN}, {0.5f, 0.01f}},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        epsLensSurround s;
        EXPECT_EQ((s.*c.get)(), c.initial);
        float current = c.initial;
        for (float v : c.accepted) {
            (s.*c.set)(v);
            EXPECT_EQ((s.*c.get)(), v);
            current = v;
        }
        for (float v : c.ignored) {
            (s.*c.set)(v);
            EXPECT_EQ((s.*c.get)(), current) << v;
        }
    }
}

TEST(LensSurround, DropOffTypeSelectsTheFunctionAndTheReach)
{
    epsLensSurround s;
    EXPECT_EQ(s.getDropOffType(), 2);
    EXPECT_EQ(s.getMetricType(), 4);
    const std::vector<const std::type_info*> types = {
        &typeid(epsManhattan), &typeid(epsLinear), &typeid(epsGaussian),
        &typeid(epsHemispheric), &typeid(epsCosine), &typeid(epsDropGaussian),
        &typeid(epsPower), &typeid(epsHyperbolic), &typeid(epsTrueLinear)};
    const float reaches[] = {0.0f, 1.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    for (int type = 0; type <= 8; ++type) {
        s.setDropOffType(type);
        EXPECT_EQ(typeOf(s.dropOff()), *types[type]) << type;
        EXPECT_EQ(s.reach(), reaches[type]) << type;
    }
    s.setDropOffType(3);
    s.setDropOffType(9);   // stored, function kept
    EXPECT_EQ(s.getDropOffType(), 9);
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsHemispheric));
    EXPECT_EQ(s.reach(), 1.0f);
    s.setDropOffType(5);
    s.setGaussianEdgeValue(0.01f);   // the drop-Gaussian's cutoff, and with it the reach
    EXPECT_FLOAT_EQ(s.reach(), std::sqrt(2.0f));
}

TEST(LensSurround, PowerFamilyPicksTheCheaperEqualFunction)
{
    epsLensSurround s;
    s.setPowerExponent(2.0f);   // not type 6 yet: nothing changes
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsGaussian));
    s.setDropOffType(6);
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsParabolic));
    epsPower power;
    for (float exponent : {2.0f, 1.0f}) {
        s.setPowerExponent(exponent);
        power.setExponent(exponent);
        for (float d = 0.0f; d <= 1.1f; d += 0.05f)
            EXPECT_FLOAT_EQ(s.dropOff().value(d), power.value(d)) << exponent << " " << d;
    }
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsLinear));
    s.setLinearRippleAmplitude(0.5f);   // type 6 with exponent 1 is the rippled linear
    EXPECT_LT(s.dropOff().value(0.5f), 0.5f);
    s.setPowerExponent(500.0f);
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsPower));
    s.setPowerExponent(600.0f);
    for (float d : {0.0f, 0.001f, 0.5f})
        EXPECT_EQ(s.dropOff().value(d), 0.0f);
    s.setPowerExponent(2.0f);
    EXPECT_EQ(typeOf(s.dropOff()), typeid(epsParabolic));
}

TEST(LensSurround, DerivedParametersFollowTheirSettings)
{
    epsLensSurround s;
    s.setGaussianEdgeValue(0.5f);
    EXPECT_FLOAT_EQ(s.dropOff().value(1.0f), 0.5f);
    s.setDropOffType(7);
    s.setHyperbolicC(2.0f);
    EXPECT_NEAR(s.dropOff().value(0.5f), 2.0 / (0.5 + 1.0) - 2.0 / 2.0, 1e-6);   // p = -1, q = -1
    s.setDropOffType(8);
    epsLens lens;
    lens.setMagnification(3.0f);
    lens.setSurround(&s);
    EXPECT_FLOAT_EQ(s.dropOff().value(0.5f), 1.5f / 2.0f);   // t = 1.5
    lens.setMagnification(1.0f);
    EXPECT_FLOAT_EQ(s.dropOff().value(0.5f), 0.5f);
}

TEST(LensSurround, MetricSelectionNeedsAnOwner)
{
    epsLensSurround s;
    s.setMetricType(3);
    EXPECT_FLOAT_EQ(s.metric().distance(3.0f, 4.0f), 5.0f);
    EXPECT_FALSE(s.usesSquaredDistance());
    epsLens lens;
    lens.setSurround(&s);
    EXPECT_FLOAT_EQ(s.metric().distance(3.0f, 4.0f), 4.0f);
}

TEST(LensSurround, MetricSelectionResolvesInheritedValues)
{
    epsLensSurround s;
    epsLens lens;
    lens.setSurround(&s);
    EXPECT_TRUE(s.usesSquaredDistance());   // type 4 → the lens's L2, scales all 1
    lens.setMetricType(3);
    EXPECT_FALSE(s.usesSquaredDistance());
    EXPECT_FLOAT_EQ(s.metric().distance(3.0f, -4.0f), 4.0f);
    lens.setScaleValue(epsEnums::ScaleX, 2.0f);   // inherited while -1
    EXPECT_FLOAT_EQ(s.metric().distance(-3.0f, 1.0f), 6.0f);
    s.setXScale(1.0f);   // all six resolve to 1 again
    s.setMetricType(1);
    EXPECT_TRUE(s.usesSquaredDistance());
    EXPECT_EQ(typeOf(s.metric()), typeid(epsSimpleLTwo));
    s.setYNegativeFactor(3.0f);
    EXPECT_FALSE(s.usesSquaredDistance());
    EXPECT_FLOAT_EQ(s.metric().distance(0.0f, -1.0f), 3.0f);
    EXPECT_FLOAT_EQ(s.metric().distance(0.0f, 1.0f), 1.0f);
    s.setMetricType(7);   // stored; the metric stays
    EXPECT_EQ(s.getMetricType(), 7);
    EXPECT_FLOAT_EQ(s.metric().distance(0.0f, -1.0f), 3.0f);
}

} // namespace
