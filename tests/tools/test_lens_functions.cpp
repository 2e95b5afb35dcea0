// Tests of the lens's distance metrics and drop-off functions.
#include "LensDropOffs.h"
#include "LensMetrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(LensMetrics, UnscaledNormsIgnoreSigns)
{
    epsMetricSet set;
    const float expected[] = {7.0f, 5.0f, std::cbrt(91.0f), 4.0f};
    for (int type = 0; type < 4; ++type) {
        const epsMetric* m = set.metric(type, false);
        EXPECT_FLOAT_EQ(m->distance(3.0f, -4.0f), expected[type]) << type;
        EXPECT_FLOAT_EQ(m->distance(-3.0f, 4.0f), expected[type]) << type;
    }
    EXPECT_EQ(set.metric(4, false), nullptr);
    EXPECT_EQ(set.metric(-1, true), nullptr);
}

TEST(LensMetrics, ScaledNormsPickTheFactorBySign)
{
    epsMetricSet set;
    // x: scale 2, negative side 3 → 2 and -6; y: positive side 0.5 → 0.5 and -1.
    EXPECT_FALSE(set.applyScales({2.0f, 1.0f, 1.0f, 3.0f, 0.5f, 1.0f}));
    const epsMetric& lOne = *set.metric(0, true);
    const epsMetric& lTwo = *set.metric(1, true);
    const epsMetric& lInfinity = *set.metric(3, true);
    EXPECT_FLOAT_EQ(lOne.distance(3.0f, -4.0f), 6.0f + 4.0f);
    EXPECT_FLOAT_EQ(lOne.distance(-3.0f, 4.0f), 18.0f + 2.0f);
    EXPECT_FLOAT_EQ(lTwo.distance(3.0f, -4.0f), std::sqrt(52.0f));
    EXPECT_FLOAT_EQ(lInfinity.distance(-3.0f, 4.0f), 18.0f);
    EXPECT_FLOAT_EQ(set.metric(2, true)->distance(0.0f, 4.0f), 2.0f);
}

TEST(LensMetrics, NeutralScalesGiveTheUnscaledDistances)
{
    epsMetricSet set;
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

struct DropOffCase {
    std::string name;
    std::shared_ptr<epsDropOff> f;
    float atZero;
    float atHalf;
    float cutoff;
};

template <class T>
std::shared_ptr<epsDropOff> make(const std::function<void(T&)>& configure = {})
{
    auto f = std::make_shared<T>();
    if (configure)
        configure(*f);
    return f;
}

std::vector<DropOffCase> dropOffCases()
{
    const double e = 2.7182819843292236;
    const double rippledLinear = 0.5 * (1.0 - 0.5 * std::sin(0.5 * 2.0943952));
    const double gaussianLimit = std::sqrt(std::log(0.01) / std::log(0.1));
    const double rippledGaussian =
        std::pow(0.1, 0.25) * (1.0 - std::sin(std::pow(0.5 * M_PI / gaussianLimit, 5.0 / 6.0)));
    return {
        {"manhattan", make<epsManhattan>(), 0.0f, 0.0f, 1.0f},
        {"linear", make<epsLinear>(), 1.0f, 0.5f, 1.0f},
        {"linear rippled", make<epsLinear>([](epsLinear& f) { f.setRippleAmplitude(0.5f); }), 1.0f,
         float(rippledLinear), 1.0f},
        {"linear over-rippled", make<epsLinear>([](epsLinear& f) { f.setRippleAmplitude(3.0f); }),
         1.0f, 0.0f, 1.0f},
        {"gaussian", make<epsGaussian>(), 1.0f, float(std::pow(0.1, 0.25)), 2.0f},
        {"gaussian rippled", make<epsGaussian>([](epsGaussian& f) { f.configure(0.1f, 1.0f); }), 1.0f,
         float(rippledGaussian), 2.0f},
        {"hemispheric", make<epsHemispheric>(), 1.0f, std::sqrt(0.75f), 1.0f},
        {"cosine", make<epsCosine>(), 1.0f, float(std::cos(M_PI / 4)), 1.0f},
        {"drop gaussian", make<epsDropGaussian>(), 1.0f, float((std::pow(0.1, 0.25) - 0.1) / 0.9), 1.0f},
        {"power", make<epsPower>(), 1.0f, float(std::pow(0.5, e)), 1.0f},
        {"parabolic", make<epsParabolic>(), 1.0f, 0.25f, 1.0f},
        {"hyperbolic", make<epsHyperbolic>(), 1.0f, float(1.0 / (0.5 + 0.6180340) - 0.6180340), 1.0f},
        {"true linear", make<epsTrueLinear>([](epsTrueLinear& f) { f.setK(2.0f); }), 1.0f, 1.0f / 1.5f,
         1.0f},
    };
}

TEST(LensDropOffs, ValuesAtZeroHalfAndTheCutoff)
{
    for (const DropOffCase& c : dropOffCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.f->value(0.0f), c.atZero, 1e-6);
        EXPECT_NEAR(c.f->value(0.5f), c.atHalf, 1e-6);
        EXPECT_EQ(c.f->value(c.cutoff), 0.0f);
        EXPECT_EQ(c.f->value(c.cutoff + 0.5f), 0.0f);
        EXPECT_EQ(c.f->valueSquared(c.cutoff * c.cutoff), 0.0f);
    }
}

TEST(LensDropOffs, SquaredFormAgreesWithThePlainForm)
{
    for (const DropOffCase& c : dropOffCases()) {
        SCOPED_TRACE(c.name);
        for (float d = 0.0f; d < c.cutoff + 0.25f; d += 0.01f)
            EXPECT_NEAR(c.f->valueSquared(d * d), c.f->value(d), 2e-6) << d;
    }
}

TEST(LensDropOffs, GaussianEdgeValueAndCutoffs)
{
    epsGaussian gaussian;
    EXPECT_FLOAT_EQ(gaussian.value(1.0f), 0.1f);
    EXPECT_GT(gaussian.value(1.99f), 0.0f);
    gaussian.configure(0.5f, 0.0f);
    EXPECT_FLOAT_EQ(gaussian.value(1.0f), 0.5f);
    EXPECT_FLOAT_EQ(gaussian.k(), std::log(0.5f));

    epsDropGaussian drop;
    EXPECT_FLOAT_EQ(drop.cutoff(), 1.0f);
    drop.configure(0.01f, 0.0f);
    EXPECT_FLOAT_EQ(drop.cutoff(), std::sqrt(2.0f));
    EXPECT_NEAR(drop.value(std::nextafter(drop.cutoff(), 0.0f)), 0.0f, 1e-6);
    EXPECT_GT(drop.value(1.2f), 0.0f);
    EXPECT_FLOAT_EQ(drop.ripple().frequency, float(M_PI / std::sqrt(2.0)));
}

TEST(LensDropOffs, GaussianRippleStopsAtItsLimit)
{
    epsGaussian gaussian;
    gaussian.configure(0.5f, 1.0f);   // limit sqrt(ln 0.01 / ln 0.5) ≈ 2.58 lies past the cutoff
    EXPECT_NEAR(gaussian.ripple().limit, 2.577568, 1e-5);
    gaussian.configure(0.05f, 1.0f);   // limit ≈ 1.24
    const float limit = gaussian.ripple().limit;
    const float beyond = limit + 0.01f;
    EXPECT_FLOAT_EQ(gaussian.value(beyond), float(std::pow(0.05, double(beyond) * beyond)));
    EXPECT_LT(gaussian.value(limit - 0.01f), float(std::pow(0.05, std::pow(limit - 0.01, 2.0))));
}

TEST(LensDropOffs, HyperbolicParameters)
{
    epsHyperbolic h;
    EXPECT_NEAR(h.p(), -0.618034f, 1e-6);
    EXPECT_NEAR(h.q(), -0.618034f, 1e-6);
    EXPECT_NEAR(h.value(std::nextafter(1.0f, 0.0f)), 0.0f, 1e-6);
    h.setC(0.0f);   // the limit: a spike at the focus
    EXPECT_EQ(h.value(0.0f), 1.0f);
    EXPECT_EQ(h.value(0.25f), 0.0f);
}

} // namespace
