// Tests of the lens: linking with a surround, view geometry, body shapes,
// the surface and the ray casting behind magnificationAt, and the profiles.
#include "LensProfile.h"
#include "epsLens.h"
#include "epsLensSurround.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A lens with its surround, focus at the origin.
struct LensPair {
    epsLens lens;
    epsLensSurround surround;

    LensPair(int dropOffType, float size, float width, float m, int shape = epsEnums::ShapeRound)
    {
        lens.setLensShape(shape);
        lens.setLensSize(size);
        lens.setMagnification(m);
        surround.setWidth(width);
        surround.setDropOffType(dropOffType);
        lens.setSurround(&surround);
    }
};

TEST(Lens, SurroundIsLinkedOnce)
{
    epsLens lens;
    epsLens other;
    epsLensSurround surround;
    EXPECT_FALSE(lens.setSurround(nullptr));
    EXPECT_TRUE(lens.setSurround(&surround));
    EXPECT_EQ(surround.owner(), &lens);
    EXPECT_FALSE(other.setSurround(&surround));
    epsLensSurround second;
    EXPECT_FALSE(lens.setSurround(&second));
    EXPECT_EQ(second.owner(), nullptr);
    epsLensSurround reusable;
    {
        epsLens shortLived;
        EXPECT_TRUE(shortLived.setSurround(&reusable));
    }
    EXPECT_EQ(reusable.owner(), nullptr);   // a dying lens lets its surround go
    auto dying = std::make_unique<epsLensSurround>();
    EXPECT_TRUE(other.setSurround(dying.get()));
    dying.reset();   // and a dying surround unlinks itself
    EXPECT_EQ(other.getSurround(), nullptr);
    EXPECT_EQ(other.magnificationAt({50.0f, 0.0f}), 1.0f);
}

TEST(Lens, ViewGeometry)
{
    epsLens lens;
    lens.setMagnification(4.0f);
    EXPECT_FLOAT_EQ(lens.getViewDistance(), 1000.0f);
    EXPECT_FLOAT_EQ(lens.getFocusHeight(), 750.0f);
    lens.setBaseHeight(100.0f);
    EXPECT_FLOAT_EQ(lens.getFocusHeight(), 675.0f);
    lens.setBaseHeight(1000.0f);   // the eye would sit on the base plane
    lens.setViewpoint({0.0f, 0.0f, 50.0f});
    lens.setMagnification(0.5f);
    lens.setMagnification(INFINITY);
    EXPECT_EQ(lens.getBaseHeight(), 100.0f);
    EXPECT_EQ(lens.getViewpoint().z, 1000.0f);
    EXPECT_EQ(lens.getMagnification(), 4.0f);
    lens.setViewpoint({5.0f, 6.0f, 500.0f});
    lens.setFocus({10.0f, 20.0f});   // the eye keeps its offset
    EXPECT_EQ(lens.getViewpoint().x, 15.0f);
    EXPECT_EQ(lens.getViewpoint().y, 26.0f);
    EXPECT_FLOAT_EQ(lens.getViewDistance(), 400.0f);
}

TEST(Lens, BodyShapes)
{
    epsLens lens;
    lens.setLensSize(10.0f);
    const epsPoint corner = {9.0f, 9.0f};
    const epsPoint side = {9.0f, 0.0f};
    lens.setLensShape(epsEnums::ShapeRectangle);
    EXPECT_EQ(lens.magnificationAt(corner), 2.0f);
    lens.setLensShape(epsEnums::ShapeEllipse);
    EXPECT_EQ(lens.surfaceHeightAt(corner), 0.0f);
    lens.setLensShape(epsEnums::ShapeDiamond);
    EXPECT_EQ(lens.surfaceHeightAt({4.0f, -4.0f}), lens.getFocusHeight());
    EXPECT_EQ(lens.surfaceHeightAt({6.0f, -6.0f}), 0.0f);
    lens.setScaleValue(epsEnums::ScaleX, 2.0f);   // shapes 0..4 narrow along x
    lens.setLensShape(epsEnums::ShapeEllipse);
    EXPECT_EQ(lens.surfaceHeightAt(side), 0.0f);
    EXPECT_EQ(lens.surfaceHeightAt({0.0f, 9.0f}), lens.getFocusHeight());
    lens.setLensShape(epsEnums::ShapeOfMetricType);
    lens.setMetricType(epsEnums::MetricLInfinity);
    EXPECT_EQ(lens.surfaceHeightAt({4.0f, 9.0f}), lens.getFocusHeight());
    lens.setLensShape(epsEnums::ShapeRound);   // the round lens ignores the scale values
    EXPECT_EQ(lens.surfaceHeightAt(side), lens.getFocusHeight());
    lens.setLensShape(6);
    EXPECT_EQ(lens.getLensShape(), epsEnums::ShapeRound);
}

TEST(Lens, SurfaceFallsWithTheDropOffOfTheDistanceBeyondTheTop)
{
    for (int metric : {epsEnums::MetricLTwo, epsEnums::MetricLOne}) {
        for (int type : {1, 2, 3, 5, 7}) {
            LensPair p(type, 20.0f, 50.0f, 3.0f);
            p.surround.setMetricType(metric);
            const float top = p.lens.getFocusHeight();
            SCOPED_TRACE(testing::Message() << "metric " << metric << " type " << type);
            EXPECT_EQ(p.lens.surfaceHeightAt({0.0f, -20.0f}), top);
            for (float d : {0.0f, 0.3f, 0.9f, 1.5f}) {
                const float dropOff = d < p.surround.reach() ? p.surround.dropOff().value(d) : 0.0f;
                // Surround distance c: along x for L2, on the diagonal (c/2, c/2) for L1.
                const float c = 20.0f + 50.0f * d;
                const epsPoint at = metric == epsEnums::MetricLTwo ? epsPoint{c, 0.0f} : epsPoint{c / 2, c / 2};
                EXPECT_NEAR(p.lens.surfaceHeightAt(at), top * dropOff, 1e-3 * top) << d;
            }
        }
    }
}

TEST(Lens, SectorNarrowsTheSurroundOutsideIt)
{
    LensPair p(epsEnums::DropOffLinear, 10.0f, 40.0f, 2.0f);
    p.surround.setStartAngle(0.0f);
    p.surround.setEndAngle(90.0f);
    p.surround.setSecondScale(0.5f);
    const float top = p.lens.getFocusHeight();
    EXPECT_NEAR(p.lens.surfaceHeightAt({20.0f, 0.0f}), 0.75f * top, 1e-3);   // d = 10/40
    EXPECT_NEAR(p.lens.surfaceHeightAt({0.0f, 20.0f}), 0.75f * top, 1e-3);
    EXPECT_NEAR(p.lens.surfaceHeightAt({-20.0f, 0.0f}), 0.5f * top, 1e-3);   // d = 10/20
    EXPECT_EQ(p.lens.magnificationAt({0.0f, -31.0f}), 1.0f);
    EXPECT_GT(p.lens.magnificationAt({0.0f, 31.0f}), 1.0f);
}

TEST(Lens, MagnificationIsMOnTheTopAndOneOutside)
{
    for (int shape = 0; shape <= 5; ++shape)
        for (int type = 0; type <= 8; ++type) {
            LensPair p(type, 15.0f, 30.0f, 2.5f, shape);
            SCOPED_TRACE(testing::Message() << "shape " << shape << " type " << type);
            EXPECT_EQ(p.lens.magnificationAt({0.0f, 0.0f}), 2.5f);
            // The flat top appears m times its size, where the lens covers that.
            EXPECT_EQ(p.lens.magnificationAt({0.0f, 2.4f * 15.0f}), type == 0 ? 1.0f : 2.5f);
            const float outside = 15.0f + p.surround.reach() * 30.0f + 0.01f;
            EXPECT_EQ(p.lens.magnificationAt({outside, 0.0f}), 1.0f);
        }
    epsLens bare;
    bare.setLensSize(5.0f);
    EXPECT_EQ(bare.magnificationAt({4.0f, 0.0f}), 2.0f);
    EXPECT_EQ(bare.magnificationAt({11.0f, 0.0f}), 1.0f);
}

// Checks one ray: it stays above the surface down to where magnificationAt
// says it meets it, and is at or below the surface just after.
void expectFirstHit(const epsLens& lens, epsPoint point)
{
    epsPoint source;
    const float m = lens.magnificationAt(point, &source);
    EXPECT_NEAR(source.x, point.x, 1e-3);
    EXPECT_NEAR(source.y, point.y, 1e-3);
    if (!lens.covers(point)) {
        EXPECT_EQ(m, 1.0f);
        return;
    }
    const epsPoint3 eye = lens.getViewpoint();
    const float distance = lens.getViewDistance();
    const auto surfaceAt = [&](float lambda) {
        return lens.surfaceHeightAt({eye.x + lambda * (point.x - eye.x), eye.y + lambda * (point.y - eye.y)});
    };
    const float hit = 1.0f / m;
    const float tolerance = 2e-4f * distance;
    ASSERT_GE(m, 1.0f);
    if (m > 1.0f) {
        EXPECT_GE(surfaceAt(hit * (1.0f + 1e-5f)), distance * (1.0f - hit) - tolerance) << "no hit";
    }
    for (int i = 0; i < 400; ++i) {
        const float lambda = hit * i / 400.0f;
        EXPECT_GT(distance * (1.0f - lambda) + tolerance, surfaceAt(lambda))
            << "earlier hit at " << lambda << " before " << hit;
    }
}

TEST(Lens, RayCastingFindsTheFirstHit)
{
    struct Config {
        int type, shape, metric;
        float size, width, m;
        epsPoint3 eye;
        float ripple = 0.5f;
        float edge = 0.1f;
    };
    const epsPoint3 above = {0.0f, 0.0f, 1000.0f};
    const std::vector<Config> configs = {
        {2, 5, 4, 30.0f, 70.0f, 2.0f, above},                // the brush
        {2, 5, 4, 25.0f, 50.0f, 4.0f, above, 0.0f, 0.05f},   // some rays graze a fold
        {3, 5, 4, 0.0f, 50.0f, 4.0f, above},                 // a vertical rim
        {1, 5, 4, 25.0f, 50.0f, 4.0f, above, 0.5f},
        {5, 1, 3, 20.0f, 60.0f, 4.0f, above},
        {1, 0, 0, 10.0f, 50.0f, 3.0f, above},
        {7, 3, 2, 15.0f, 40.0f, 6.0f, above},
        {6, 5, 1, 0.0f, 80.0f, 2.0f, above},
        {8, 4, 1, 25.0f, 30.0f, 5.0f, above},
        {0, 5, 4, 25.0f, 30.0f, 5.0f, above},
        {2, 5, 4, 30.0f, 70.0f, 2.0f, {40.0f, -30.0f, 600.0f}},
        {3, 2, 1, 30.0f, 30.0f, 3.0f, {-20.0f, 10.0f, 300.0f}},
    };
    for (const Config& c : configs) {
        LensPair p(c.type, c.size, c.width, c.m, c.shape);
        p.surround.setMetricType(c.metric);
        p.surround.setGaussianRippleAmplitude(c.ripple);
        p.surround.setLinearRippleAmplitude(c.ripple);
        p.surround.setGaussianEdgeValue(c.edge);
        p.lens.setFocus({100.0f, 50.0f});
        p.lens.setViewpoint({100.0f + c.eye.x, 50.0f + c.eye.y, c.eye.z});
        for (float angle : {0.0f, 0.7f, 2.0f, 4.0f})
            for (float r = 0.0f; r < c.size + 2.2f * c.width; r += 3.7f) {
                SCOPED_TRACE(testing::Message() << "type " << c.type << " shape " << c.shape
                                                << " angle " << angle << " r " << r);
                expectFirstHit(p.lens, {100.0f + r * std::cos(angle), 50.0f + r * std::sin(angle)});
            }
    }
}

TEST(Lens, BrushProfileFallsMonotonicallyFromOne)
{
    const int size = 120;   // the tool brush's lens: radius 60, top 0.3 × 60, Gaussian 0.7 × 60
    LensPair brush(epsEnums::DropOffGaussian, 18.0f, 42.0f, 2.0f);
    brush.lens.setFocus({size / 2.0f, size / 2.0f});
    std::vector<float> profile(size * size);
    sampleLensProfile(brush.lens, profile.data(), size, size);
    EXPECT_EQ(profile[60 * size + 60], 1.0f);
    for (float angle : {0.0f, 0.5f, 1.3f, 2.9f}) {
        float previous = 1.0f;
        for (float r = 0.0f; r < 85.0f; r += 0.25f) {
            const float m = brush.lens.magnificationAt({60.0f + r * std::cos(angle), 60.0f + r * std::sin(angle)});
            EXPECT_LE(m - 1.0f, previous) << angle << " " << r;
            EXPECT_GE(m, 1.0f);
            previous = m - 1.0f;
        }
    }
    EXPECT_GT(profile[60 * size + 119], 0.0f);   // the Gaussian reaches past the brush edge
}

TEST(Lens, DirectProfileIsTheSurfaceRightAboveEachCell)
{
    for (int type : {epsEnums::DropOffGaussian, epsEnums::DropOffManhattan, epsEnums::DropOffCosine}) {
        const int width = 70;
        const int height = 50;
        LensPair p(type, 10.0f, 20.0f, 3.0f);
        p.lens.setFocus({30.5f, 24.0f});
        ASSERT_TRUE(p.lens.isRadiallySymmetric());
        std::vector<float> profile(width * height);
        sampleDirectProfile(p.lens, profile.data(), width, height);
        const float distance = p.lens.getViewDistance();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float h = p.lens.surfaceHeightAt({float(x), float(y)});
                EXPECT_NEAR(profile[y * width + x], distance / (distance - h) - 1.0f, 2e-4)
                    << type << " " << x << " " << y;
            }
        EXPECT_FLOAT_EQ(profile[24 * width + 30], 2.0f);
    }
}

} // namespace
