// Property buffers: layout, clipping, fills, polygon fill rule, validation,
// memory size, images and raw dumps.
#include "BufferTemplate.h"
#include "FrameworkTestSupport.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

const support::Scratch scratch{"pictavo_buffers"};

// Non-zero winding number of point p, summed over the polygon's edges as
// signed upward/downward crossings of the ray to the right of p.
int windingNumber(const std::vector<Vector2d>& poly, Vector2d p)
{
    int winding = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Vector2d a = poly[i];
        const Vector2d b = poly[(i + 1) % poly.size()];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y && b.y > p.y && side > 0)
            ++winding;
        else if (a.y > p.y && b.y <= p.y && side < 0)
            --winding;
    }
    return winding;
}

// Fills the polygon with 7 and checks every cell against the winding of its
// centre; returns the filled grid.
std::unique_ptr<BufferTemplate<int>> filledLikeWinding(int width, int height, const std::vector<Vector2d>& poly)
{
    auto buffer = std::make_unique<BufferTemplate<int>>(width, height);
    buffer->fillComplexPolygonWithValue(poly.data(), static_cast<int>(poly.size()), 7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (buffer->getValue(x, y) != (windingNumber(poly, {x + 0.5, y + 0.5}) != 0 ? 7 : 0)) {
                ADD_FAILURE() << "cell " << x << ", " << y << " disagrees with the winding number";
                return buffer;
            }
    return buffer;
}

template <typename T>
int countValue(const BufferTemplate<T>& buffer, T value)
{
    return static_cast<int>(std::count(buffer.cells(), buffer.cells() + buffer.getCellCount(), value));
}

std::vector<unsigned char> rgba(const RGBAImage& image, int x, int y)
{
    return {image.at(x, y), image.at(x, y) + 4};
}

} // namespace

template <typename T>
class BufferCells : public ::testing::Test {};
using CellTypes = ::testing::Types<bool, int, unsigned, unsigned char, float, double>;
TYPED_TEST_SUITE(BufferCells, CellTypes);

TYPED_TEST(BufferCells, LayoutSizeClippedAccessAndEntireFills)
{
    using T = TypeParam;
    for (int dimension : {1, 2, 3}) {
        BufferTemplate<T> buffer(5, 4, dimension);
        EXPECT_EQ(buffer.getAllocatedMemorySizeInBytes(), 5u * 4u * dimension * sizeof(T));
        buffer.set3DValues(3, 2, T(1), T(1), T(1));
        const T* cell = buffer.cells() + (2 * 5 + 3) * dimension;
        for (int k = 0; k < dimension; ++k)
            EXPECT_EQ(cell[k], T(1)) << "value " << k << " of dimension " << dimension;

        // Writes outside change nothing; reads outside are neutral.
        for (auto [x, y] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 4}, {-100000, 100000}}) {
            buffer.setValue(x, y, T(1));
            buffer.set2DValues(x, y, T(1), T(1));
            T a = T(1), b = T(1), c = T(1);
            buffer.get3DValues(x, y, a, b, c);
            EXPECT_EQ(buffer.getValue(x, y), T());
            EXPECT_TRUE(a == T() && b == T() && c == T());
        }
        EXPECT_EQ(std::count(buffer.cells(), buffer.cells() + 20 * dimension, T(1)), dimension);
    }

    // Entire fills set every cell; a 2-value cell has no third value.
    BufferTemplate<T> one(7, 3), two(7, 3, 2), three(7, 3, 3);
    one.fillEntireBuffer(T(1));
    two.fillEntireBufferWith2DValue(T(1), T(0));
    three.fillEntireBufferWith3DValue(T(0), T(1), T(1));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            T a, b, c;
            EXPECT_EQ(one.getValue(x, y), T(1));
            two.get3DValues(x, y, a, b, c);
            EXPECT_TRUE(a == T(1) && b == T(0) && c == T());
            three.get3DValues(x, y, a, b, c);
            EXPECT_TRUE(a == T(0) && b == T(1) && c == T(1));
        }
}

TEST(Buffer, NarrowCellsEmptyGridsAndGrownGrids)
{
    BufferTemplate<float> direction(3, 3, 2);
    direction.setValue(1, 1, 0.5f);
    direction.set3DValues(2, 1, 1.f, 2.f, 3.f);
    float a = 0, b = 0, c = 9;
    direction.get3DValues(1, 1, a, b, c);
    EXPECT_TRUE(a == 0.5f && b == 0.5f && c == 0.f) << "a single value sets every value of the cell";
    EXPECT_EQ(direction.getValue(0, 2), 0.f) << "the third value did not spill into the next cell";

    BufferTemplate<double> empty(0, -3);
    EXPECT_EQ(empty.getBufferArray(), nullptr);
    empty.fillEntireBuffer(1.0);
    empty.fillRectWithValue(-5, -5, 5, 5, 1.0);
    EXPECT_EQ(empty.getAllocatedMemorySizeInBytes(), 0u);

    // A grown grid keeps the cells both sizes share.
    BufferTemplate<float> small(3, 2), grown(5, 4);
    small.fillEntireBuffer(2.f);
    grown.fillEntireBuffer(-1.f);
    ASSERT_TRUE(grown.copyOverlapFrom(small));
    EXPECT_EQ(grown.getValue(2, 1), 2.f);
    EXPECT_EQ(grown.getValue(3, 1), -1.f);
    EXPECT_EQ(grown.getValue(0, 2), -1.f);
    EXPECT_FALSE(grown.copyOverlapFrom(BufferTemplate<float>(3, 2, 2)));
}

TEST(Buffer, RectanglesAreInclusiveAndClipped)
{
    BufferTemplate<int> hit(10, 8);
    hit.fillRectWithValue(-3, 6, 2, 20, 4);   // runs off the left and top edges
    hit.fillRectWithValue(8, 0, 9, 1, 5);
    hit.fillRectWithValue(5, 5, 4, 6, 9);     // empty
    EXPECT_EQ(countValue(hit, 4), 3 * 2);
    EXPECT_EQ(hit.getValue(2, 6), 4);
    EXPECT_EQ(hit.getValue(3, 6), 0);
    EXPECT_EQ(countValue(hit, 5), 4);
    EXPECT_EQ(countValue(hit, 9), 0);
}

TEST(Buffer, QuadsSampleCellCentresAndSharedEdgesNeitherOverlapNorGap)
{
    // Axis-aligned with corners on cell borders (exactly the 3 x 2 cells
    // between), turned by 45 and by 30 degrees; corners in either sense.
    const std::vector<Vector2d> axisAligned{{2, 1}, {5, 1}, {5, 3}, {2, 3}};
    EXPECT_EQ(countValue(*filledLikeWinding(24, 24, axisAligned), 7), 3 * 2);
    for (std::vector<Vector2d> q : {axisAligned, {{10.2, 4.1}, {16.2, 10.1}, {10.2, 16.1}, {4.2, 10.1}},
                                    {{3.13, 5.07}, {15.25, 12.07}, {11.25, 19.0}, {-0.87, 12.0}}})
        for (int sense = 0; sense < 2; ++sense, std::reverse(q.begin(), q.end())) {
            const auto polygon = filledLikeWinding(24, 24, q);
            BufferTemplate<int> quad(24, 24);
            quad.fillQuadWithValue(q[0], q[1], q[2], q[3], 7);
            EXPECT_TRUE(std::equal(quad.cells(), quad.cells() + 24 * 24, polygon->cells())) << q[0].x << " " << sense;
        }

    // A 2 x 2 split of a square whose inner edges run through cell centres.
    const double xs[] = {1, 5.5, 11};
    BufferTemplate<int> sum(12, 12);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            BufferTemplate<int> one(12, 12);
            one.fillQuadWithValue({xs[i], xs[j]}, {xs[i + 1], xs[j]}, {xs[i + 1], xs[j + 1]}, {xs[i], xs[j + 1]}, 1);
            std::transform(sum.cells(), sum.cells() + 144, one.cells(), sum.cells(), std::plus<>());
        }
    EXPECT_EQ(countValue(sum, 1), 10 * 10);
    EXPECT_EQ(countValue(sum, 2), 0);
}

TEST(Buffer, PolygonsUseNonZeroWindingAndAreClippedAtTheGrid)
{
    // Concave U: the notch stays empty.
    filledLikeWinding(20, 20, {{2.3, 2.2}, {17.1, 2.2}, {17.1, 15.7}, {12.4, 15.7},
                               {12.4, 7.3}, {7.2, 7.3}, {7.2, 15.7}, {2.3, 15.7}});
    // Pentagram: the centre pentagon is wound twice and filled.
    EXPECT_EQ(filledLikeWinding(20, 20, {{10.1, 18.3}, {4.7, 1.9}, {18.6, 12.1}, {1.4, 12.1}, {15.3, 1.9}})
                  ->getValue(10, 9), 7);
    // Bow tie: both lobes, opposite senses.
    filledLikeWinding(20, 20, {{1.3, 1.2}, {18.4, 17.9}, {18.4, 1.2}, {1.3, 17.9}});
    // A hole wound against the outline stays empty.
    const auto ring = filledLikeWinding(20, 20, {{1.1, 1.2}, {18.7, 1.2}, {18.7, 18.3}, {1.1, 18.3},
                                                               {1.1, 1.2}, {6.1, 6.2}, {6.1, 13.4}, {13.6, 13.4},
                                                               {13.6, 6.2}, {6.1, 6.2}});
    EXPECT_EQ(ring->getValue(9, 9), 0);
    EXPECT_EQ(ring->getValue(3, 9), 7);

    // A triangle reaching past all four edges, one huge one, and nothing at
    // all for one far outside, one with a NaN corner or too few points.
    filledLikeWinding(16, 9, {{-20.3, -5.1}, {40.2, 4.3}, {3.7, 30.9}});
    filledLikeWinding(16, 9, {{-1e12, -7.3}, {1e12, -7.3}, {0.3, 1e12}});
    BufferTemplate<float> erase(16, 9);
    const Vector2d outside[3] = {{100, 100}, {120, 100}, {110, 130}};
    erase.fillComplexPolygonWithValue(outside, 3, 1.f);
    const Vector2d broken[3] = {{1, 1}, {std::nan(""), 5}, {8, 1}};
    erase.fillComplexPolygonWithValue(broken, 3, 1.f);
    erase.fillComplexPolygonWithValue(outside, 2, 1.f);
    EXPECT_EQ(countValue(erase, 1.f), 0);
}

TEST(Buffer, ValidationCycle)
{
    BufferTemplate<float> erase(2, 2);
    erase.startValidating();
    EXPECT_TRUE(erase.isValid()) << "only an invalid buffer starts validating";
    erase.invalidate();
    erase.finishValidating();
    EXPECT_TRUE(erase.isInvalid()) << "no skipping the validating step";
    erase.startValidating();
    EXPECT_TRUE(erase.isValidating());
    erase.invalidate();
    EXPECT_TRUE(erase.isInvalid()) << "a new mark during validation restarts the cycle";
    erase.startValidating();
    erase.finishValidating();
    EXPECT_TRUE(erase.isValid());
}

TEST(Buffer, ImagesAreUprightAndScaled)
{
    BufferTemplate<float> depth(3, 2);
    depth.setValue(0, 0, 0.5f);   // bottom left
    depth.setValue(2, 1, 2.0f);   // top right, clamped
    depth.setValue(1, 0, -1.0f);
    ASSERT_TRUE(depth.createImage(scratch("depthBuffer"), 255, 0));
    auto image = ImageIO::load(scratch("depthBuffer.png"));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    // Rows of RGBAImage run bottom-up: (0, 0) is the bottom-left pixel.
    EXPECT_EQ(rgba(*image, 0, 0), (std::vector<unsigned char>{127, 127, 127, 255}));
    EXPECT_EQ(image->at(2, 1)[1], 255);
    EXPECT_EQ(image->at(1, 0)[0], 0);
    EXPECT_EQ(image->at(0, 1)[0], 0);

    BufferTemplate<double> gradient(2, 2, 2);
    gradient.set2DValues(1, 0, -1.0, 0.5);
    ASSERT_TRUE(gradient.createImage(scratch("gradient.png"), 127, 128));
    image = ImageIO::load(scratch("gradient.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(rgba(*image, 1, 0), (std::vector<unsigned char>{1, 191, 0, 255}));

    BufferTemplate<unsigned char> colour(2, 2, 3);
    colour.set3DValues(0, 1, 120, 100, 40);
    ASSERT_TRUE(colour.createImage(scratch("colorBuffer "), 1, 0));
    image = ImageIO::load(scratch("colorBuffer .png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(rgba(*image, 0, 1), (std::vector<unsigned char>{120, 100, 40, 255}));
    EXPECT_FALSE(colour.createImage("/nonexistent-dir/colour", 1, 0));
    EXPECT_FALSE(BufferTemplate<bool>(0, 0).createImage(scratch("empty"), 255, 0));
}

TEST(Buffer, RawFilesRoundTrip)
{
    BufferTemplate<float> orientation(6, 4, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            orientation.set2DValues(x, y, x * 0.25f, -y * 1.5f);
    const std::string path = scratch("orientationBuffer.dat");
    ASSERT_TRUE(orientation.saveRaw(path));
    EXPECT_EQ(std::filesystem::file_size(path), orientation.getAllocatedMemorySizeInBytes());
    BufferTemplate<float> loaded(6, 4, 2);
    ASSERT_TRUE(loaded.loadRaw(path));
    EXPECT_TRUE(std::equal(loaded.cells(), loaded.cells() + 48, orientation.cells()));

    // A file too short for the grid is refused and the cells stay as they were.
    BufferTemplate<float> bigger(7, 4, 2);
    bigger.fillEntireBuffer(3.f);
    EXPECT_FALSE(bigger.loadRaw(path));
    EXPECT_EQ(bigger.getValue(0, 0), 3.f);
    EXPECT_FALSE(bigger.loadRaw(scratch("missing.dat")));
    EXPECT_FALSE(orientation.saveRaw("/nonexistent-dir/x.dat"));

    // Arbitrary bytes load into a bool grid as true and false.
    const std::string bytes = scratch("selection.dat");
    std::ofstream(bytes, std::ios::binary) << std::string("\x00\x02\xff\x01", 4);
    BufferTemplate<bool> selection(2, 2);
    ASSERT_TRUE(selection.loadRaw(bytes));
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(selection.getBufferArray());
    EXPECT_EQ(std::vector<unsigned char>(raw, raw + 4), (std::vector<unsigned char>{0, 1, 1, 1}));
}
