// Tests of the lens's distance metrics and drop-off functions, and of the surround that
// picks among them: the ranges of its settings, the choice of function and of metric.
#include "LensDropOffs.h"
#include "LensMetrics.h"
#include "epsLens.h"
#include "epsLensSurround.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

TEST(LensMetrics, UnscaledNormsIgnoreSignsAndNeutralScalesChangeNothing)
{
    epsMetricSet set;
    const float expected[] = {7.0f, 5.0f, std::cbrt(91.0f), 4.0f};
    for (int type = 0; type < 4; ++type) {
        EXPECT_FLOAT_EQ(set.metric(type, false)->distance(3.0f, -4.0f), expected[type]) << type;
        EXPECT_FLOAT_EQ(set.metric(type, false)->distance(-3.0f, 4.0f), expected[type]) << type;
    }
    EXPECT_EQ(set.metric(4, false), nullptr);
    EXPECT_EQ(set.metric(-1, true), nullptr);

    EXPECT_TRUE(set.applyScales(kNeutralScales));
    EXPECT_FALSE(set.applyScales({1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f}));
    EXPECT_TRUE(set.applyScales({0.5f, 1.0f, 2.0f, 2.0f, 1.0f, 1.0f}));   // 0.5 × 2 = 1
    for (int type = 0; type < 4; ++type)
        for (float dx : {-2.5f, 0.0f, 1.5f})
            for (float dy : {-1.0f, 0.0f, 3.0f})
                EXPECT_FLOAT_EQ(set.metric(type, true)->distance(dx, dy),
                                set.metric(type, false)->distance(dx, dy))
                    << type << " " << dx << " " << dy;
}

TEST(LensMetrics, ScaledNormsPickTheFactorBySign)
{
    epsMetricSet set;
    // x: scale 2, negative side 3 → 2 and -6; y: positive side 0.5 → 0.5 and -1.
    EXPECT_FALSE(set.applyScales({2.0f, 1.0f, 1.0f, 3.0f, 0.5f, 1.0f}));
    EXPECT_FLOAT_EQ(set.metric(0, true)->distance(3.0f, -4.0f), 6.0f + 4.0f);
    EXPECT_FLOAT_EQ(set.metric(0, true)->distance(-3.0f, 4.0f), 18.0f + 2.0f);
    EXPECT_FLOAT_EQ(set.metric(1, true)->distance(3.0f, -4.0f), std::sqrt(52.0f));
    EXPECT_FLOAT_EQ(set.metric(2, true)->distance(0.0f, 4.0f), 2.0f);
    EXPECT_FLOAT_EQ(set.metric(3, true)->distance(-3.0f, 4.0f), 18.0f);
}

struct DropOffCase {
    std::string name;
    std::shared_ptr<epsDropOff> f;
    float atZero, atHalf, cutoff;
};

// A drop-off of type T after configure(T&).
template <class T, class Configure>
std::shared_ptr<epsDropOff> configured(Configure configure)
{
    auto f = std::make_shared<T>();
    configure(*f);
    return f;
}

TEST(LensDropOffs, ValuesAtZeroHalfAndTheCutoffInBothForms)
{
    const double e = 2.7182819843292236;
    const double rippledLinear = 0.5 * (1.0 - 0.5 * std::sin(0.5 * 2.0943952));
    const double gaussianLimit = std::sqrt(std::log(0.01) / std::log(0.1));
    const double rippledGaussian =
        std::pow(0.1, 0.25) * (1.0 - std::sin(std::pow(0.5 * M_PI / gaussianLimit, 5.0 / 6.0)));
    const DropOffCase cases[] = {
        {"manhattan", std::make_shared<epsManhattan>(), 0.0f, 0.0f, 1.0f},
        {"linear", std::make_shared<epsLinear>(), 1.0f, 0.5f, 1.0f},
        {"linear rippled", configured<epsLinear>([](epsLinear& f) { f.setRippleAmplitude(0.5f); }), 1.0f,
         float(rippledLinear), 1.0f},
        {"linear over-rippled", configured<epsLinear>([](epsLinear& f) { f.setRippleAmplitude(3.0f); }),
         1.0f, 0.0f, 1.0f},
        {"gaussian", std::make_shared<epsGaussian>(), 1.0f, float(std::pow(0.1, 0.25)), 2.0f},
        {"gaussian rippled", configured<epsGaussian>([](epsGaussian& f) { f.configure(0.1f, 1.0f); }), 1.0f,
         float(rippledGaussian), 2.0f},
        {"hemispheric", std::make_shared<epsHemispheric>(), 1.0f, std::sqrt(0.75f), 1.0f},
        {"cosine", std::make_shared<epsCosine>(), 1.0f, float(std::cos(M_PI / 4)), 1.0f},
        {"drop gaussian", std::make_shared<epsDropGaussian>(), 1.0f, float((std::pow(0.1, 0.25) - 0.1) / 0.9), 1.0f},
        {"power", std::make_shared<epsPower>(), 1.0f, float(std::pow(0.5, e)), 1.0f},
        {"parabolic", std::make_shared<epsParabolic>(), 1.0f, 0.25f, 1.0f},
        {"hyperbolic", std::make_shared<epsHyperbolic>(), 1.0f, float(1.0 / (0.5 + 0.6180340) - 0.6180340), 1.0f},
        {"true linear", configured<epsTrueLinear>([](epsTrueLinear& f) { f.setK(2.0f); }), 1.0f, 1.0f / 1.5f,
         1.0f},
    };
    for (const DropOffCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.f->value(0.0f), c.atZero, 1e-6);
        EXPECT_NEAR(c.f->value(0.5f), c.atHalf, 1e-6);
        EXPECT_EQ(c.f->value(c.cutoff), 0.0f);
        EXPECT_EQ(c.f->value(c.cutoff + 0.5f), 0.0f);
        EXPECT_EQ(c.f->valueSquared(c.cutoff * c.cutoff), 0.0f);
        for (float d = 0.0f; d < c.cutoff + 0.25f; d += 0.01f)
            EXPECT_NEAR(c.f->valueSquared(d * d), c.f->value(d), 2e-6) << d;
    }
}

TEST(LensDropOffs, GaussianEdgeValueCutoffsAndRippleLimit)
{
    epsGaussian gaussian;
    EXPECT_FLOAT_EQ(gaussian.value(1.0f), 0.1f);
    EXPECT_GT(gaussian.value(1.99f), 0.0f);
    gaussian.configure(0.5f, 0.0f);
    EXPECT_FLOAT_EQ(gaussian.value(1.0f), 0.5f);
    gaussian.configure(0.5f, 1.0f);   // limit sqrt(ln 0.01 / ln 0.5) ≈ 2.58 lies past the cutoff
    EXPECT_NEAR(gaussian.ripple().limit, 2.577568, 1e-5);
    gaussian.configure(0.05f, 1.0f);   // limit ≈ 1.24: no ripple beyond it
    const float limit = gaussian.ripple().limit;
    const float beyond = limit + 0.01f;
    EXPECT_FLOAT_EQ(gaussian.value(beyond), float(std::pow(0.05, double(beyond) * beyond)));
    EXPECT_LT(gaussian.value(limit - 0.01f), float(std::pow(0.05, std::pow(limit - 0.01, 2.0))));

    epsDropGaussian drop;
    EXPECT_FLOAT_EQ(drop.cutoff(), 1.0f);
    drop.configure(0.01f, 0.0f);
    EXPECT_FLOAT_EQ(drop.cutoff(), std::sqrt(2.0f));
    EXPECT_NEAR(drop.value(std::nextafter(drop.cutoff(), 0.0f)), 0.0f, 1e-6);
    EXPECT_GT(drop.value(1.2f), 0.0f);
    EXPECT_FLOAT_EQ(drop.ripple().frequency, float(M_PI / std::sqrt(2.0)));
}

TEST(LensDropOffs, HyperbolicReachesZeroAtOneAndIsASpikeWithoutC)
{
    epsHyperbolic h;
    EXPECT_NEAR(h.value(std::nextafter(1.0f, 0.0f)), 0.0f, 1e-6);
    h.setC(0.0f);
    EXPECT_EQ(h.value(0.0f), 1.0f);
    EXPECT_EQ(h.value(0.25f), 0.0f);
}

// The dynamic type of a drop-off or metric.
template <class T>
const std::type_info& typeOf(const T& object)
{
    return typeid(object);
}

using S = epsLensSurround;

TEST(LensSurround, RangedSettingsIgnoreValuesOutsideTheirRange)
{
    struct RangeCase {
        const char* name;
        void (S::*set)(float);
        float (S::*get)() const;
        std::vector<float> accepted;
        std::vector<float> ignored;   // each leaves the last accepted value
    };
    const std::vector<RangeCase> cases = {
        {"x scale", &S::setXScale, &S::getXScale, {0.0f, 2.0f, -1.0f}, {-2.0f, -0.5f}},
        {"y scale", &S::setYScale, &S::getYScale, {0.0f, -1.0f}, {-2.0f}},
        {"x+ factor", &S::setXPositiveFactor, &S::getXPositiveFactor, {0.0f, -1.0f}, {-2.0f}},
        {"x- factor", &S::setXNegativeFactor, &S::getXNegativeFactor, {0.0f, -1.0f}, {-2.0f}},
        {"y+ factor", &S::setYPositiveFactor, &S::getYPositiveFactor, {0.0f, -1.0f}, {-2.0f}},
        {"y- factor", &S::setYNegativeFactor, &S::getYNegativeFactor, {0.0f, -1.0f}, {-2.0f}},
        {"gaussian ripple", &S::setGaussianRippleAmplitude, &S::getGaussianRippleAmplitude, {1.0f, 0.0f, 0.3f}, {-0.1f, 1.01f}},
        {"linear ripple", &S::setLinearRippleAmplitude, &S::getLinearRippleAmplitude, {0.0f, 5.0f}, {-0.1f}},
        {"hyperbolic c", &S::setHyperbolicC, &S::getHyperbolicC, {0.0f, 3.0f}, {-1.0f}},
        {"power exponent", &S::setPowerExponent, &S::getPowerExponent, {0.5f, 700.0f}, {0.0f, -1.0f}},
        {"gaussian edge", &S::setGaussianEdgeValue, &S::getGaussianEdgeValue, {0.5f, 0.01f}, {0.6f, 0.0f, -0.1f, NAN}},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        S s;
        for (float v : c.accepted) {
            (s.*c.set)(v);
            EXPECT_EQ((s.*c.get)(), v);
        }
        for (float v : c.ignored) {
            (s.*c.set)(v);
            EXPECT_EQ((s.*c.get)(), c.accepted.back()) << v;
        }
    }
}

TEST(LensSurround, DropOffTypeSelectsTheFunctionAndTheReach)
{
    epsLensSurround s;
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

TEST(LensSurround, MetricSelectionNeedsAnOwnerAndResolvesInheritedValues)
{
    epsLensSurround s;
    s.setMetricType(3);   // no owner yet: unscaled L2
    EXPECT_FLOAT_EQ(s.metric().distance(3.0f, 4.0f), 5.0f);
    EXPECT_FALSE(s.usesSquaredDistance());
    epsLens lens;
    lens.setSurround(&s);
    EXPECT_FLOAT_EQ(s.metric().distance(3.0f, 4.0f), 4.0f);
    s.setMetricType(4);
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
    EXPECT_FLOAT_EQ(s.metric().distance(0.0f, -1.0f), 3.0f);
}

} // namespace
