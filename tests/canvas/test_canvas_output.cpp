// The canvas's outputs and derived fields without a display: raw buffer files,
// images, depth placement, gradient/orientation and the target area.
#include "BufferTag.h"
#include "CanvasBufferTable.h"
#include "CanvasCompositeGL.h"
#include "CanvasTestSupport.h"
#include "FrameworkTestSupport.h"
#include "TabletopVisGL.h"

#include <filesystem>
#include <memory>
#include <set>
#include <tuple>

using namespace support;
namespace fs = std::filesystem;

namespace {

// A 200 x 150 screen at one cell per pixel; the canvas covers it with a 10 px
// overflow, so its grid is 220 x 170 and device pixel (x, y) is cell (x + 10, y + 10).
constexpr unsigned Screen = 200, ScreenH = 150;
constexpr int Overflow = 10, GridW = 220, GridH = 170;

// A headless canvas in an empty working folder of its own (outputs go to
// relative paths).
class CanvasOutput : public testing::Test
{
protected:
    void SetUp() override
    {
        _previous = fs::current_path();
        const fs::path folder = fs::temp_directory_path() / "pictavo_canvas_output"
                              / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    void TearDown() override { fs::current_path(_previous); }

    CanvasCompositeGL& makeCanvas()
    {
        canvas = canvastest::addScreenCanvas(scene, {0.0, Overflow, 1, 2, 16.0f});
        return *canvas;
    }
    template <typename T>
    BufferTemplate<T>& buffer(int tag) { return *canvas->getActiveBufferAs<T>(tag); }
    template <typename F>
    void setDepth(F f)   // every depth cell to f(x, y)
    {
        for (int y = 0; y < GridH; ++y)
            for (int x = 0; x < GridW; ++x)
                buffer<double>(DEPTH_BUFFER).setValue(x, y, f(x, y));
    }

    TabletopVisGL scene{1, Screen, ScreenH, Screen, ScreenH};
    CanvasCompositeGL* canvas = nullptr;
    fs::path _previous;
};

} // namespace

TEST_F(CanvasOutput, RawFilesRoundTripUnderThePrimitiveTypeNumberAndMissingOnesAreSkipped)
{
    CanvasCompositeGL& c = makeCanvas();
    auto mark = [&](int v) {
        buffer<float>(ORIENTATION_BUFFER).set2DValues(5, 6, -0.75f, 0.25f + v);
        buffer<int>(SPEED_BUFFER).setValue(7, 8, 9 + v);
        buffer<unsigned char>(TEMP_COLOR_BUFFER).set3DValues(11, 12, 1, 2, static_cast<unsigned char>(3 + v));
    };
    auto expectMarked = [&](int v) {
        float unused = 0, orientation = 0;
        buffer<float>(ORIENTATION_BUFFER).get2DValues(5, 6, unused, orientation);
        unsigned char r = 0, g = 0, b = 0;
        buffer<unsigned char>(TEMP_COLOR_BUFFER).get3DValues(11, 12, r, g, b);
        EXPECT_EQ(orientation, 0.25f + v);
        EXPECT_EQ(buffer<int>(SPEED_BUFFER).getValue(7, 8), 9 + v);
        EXPECT_EQ(b, 3 + v);
    };

    mark(0);
    c.saveBuffers();   // no "buffers" folder: nothing written, nothing thrown
    EXPECT_TRUE(fs::is_empty(fs::current_path()));

    fs::create_directory("buffers");
    c.setControlValue(ControlCells::PrimitiveType, 3.7f);   // the prefix is the integer part
    c.saveBuffers();
    EXPECT_EQ(fs::file_size("buffers/3orientationBuffer.dat"),
              c.getActiveBuffer(ORIENTATION_BUFFER)->getAllocatedMemorySizeInBytes());
    mark(1);
    c.loadBuffers();
    expectMarked(0);

    mark(1);
    c.setControlValue(ControlCells::PrimitiveType, 1.0f);   // no files under this number
    c.loadBuffers();
    expectMarked(1);
}

TEST_F(CanvasOutput, EveryTableBufferIsMadeAsListedAndDumpsAndImagesGoToTheListedNamesOnly)
{
    using namespace CanvasBuffers;
    CanvasCompositeGL& c = makeCanvas();
    std::set<std::string> dumps, images;
    for (const BufferRow& row : Table) {
        const AbstractBuffer* b = c.getActiveBuffer(row.tag);
        ASSERT_NE(b, nullptr) << "tag " << row.tag;
        const bool control = row.grid == Grid::Control;
        EXPECT_EQ(b->getWidth(), control ? ControlTable::Size : GridW) << "tag " << row.tag;
        EXPECT_EQ(b->getHeight(), control ? ControlTable::Size : GridH) << "tag " << row.tag;
        withCellType(row.cell, [&](auto value, int dimension) {
            using T = decltype(value);
            const auto* typed = dynamic_cast<const BufferTemplate<T>*>(b);
            ASSERT_NE(typed, nullptr) << "tag " << row.tag;
            ASSERT_EQ(b->getDimension(), dimension) << "tag " << row.tag;
            if (row.fill != Fill::Zero && row.fill != Fill::Constant && row.fill != Fill::InitialSize)
                return;   // filled from the canvas's state: tested with their writers
            for (auto [x, y] : {std::pair{0, 0}, {GridW / 2, GridH / 3}, {GridW - 1, GridH - 1}})
                for (int i = 0; i < dimension; ++i) {
                    const double expected = row.fill == Fill::Zero       ? 0.0
                                          : row.fill == Fill::Constant ? row.value[static_cast<std::size_t>(i)]
                                                                        : 16.0;
                    const T cell = typed->cells()[(static_cast<std::size_t>(y) * GridW + x) * dimension + i];
                    EXPECT_EQ(cell, static_cast<T>(expected)) << "tag " << row.tag << " at " << x << "," << y;
                }
        });
        if (row.rawFile != nullptr)
            dumps.insert(std::string("7") + row.rawFile);
        if (row.image.name != nullptr)
            images.insert(std::string(row.image.name) + ".png");
    }
    for (int tag = 0; tag <= 40; ++tag)
        EXPECT_TRUE(find(tag) != nullptr || c.getActiveBuffer(tag) == nullptr) << "tag " << tag;

    const auto filesIn = [](const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                names.insert(entry.path().filename().string());
        return names;
    };
    fs::create_directory("buffers");
    c.setControlValue(ControlCells::PrimitiveType, 7.0f);
    c.saveBuffers();
    EXPECT_EQ(filesIn("buffers"), dumps);
    for (int tag = 0; tag <= 40; ++tag)
        c.createBufferImage(tag);
    EXPECT_EQ(filesIn("."), images);
}

// A buffer image holds the buffer's cells (how each tag's cells map to
// pixels is the buffer's own test); the names are the table's.
TEST_F(CanvasOutput, BufferImagesHoldTheCellsAndScreenshotsAreNumberedPictures)
{
    CanvasCompositeGL& c = makeCanvas();
    buffer<unsigned char>(COLOR_BUFFER).set3DValues(5, 6, 10, 200, 30);
    c.createBufferImage(COLOR_BUFFER);
    const auto colour = ImageIO::load("colorBuffer.png");
    ASSERT_TRUE(colour.has_value() && colour->width == GridW);
    const unsigned char* p = colour->at(5, 6);
    EXPECT_EQ((std::array<int, 3>{p[0], p[1], p[2]}), (std::array<int, 3>{10, 200, 30}));

    // A listed tag whose buffer is gone writes nothing.
    c.setActiveBuffer(DEPTH_BUFFER, std::unique_ptr<AbstractBuffer>());
    c.createBufferImage(DEPTH_BUFFER);
    EXPECT_FALSE(fs::exists("depthBuffer.png"));

    const RGBAImage picture = gradientImage(8, 4, 30);
    EXPECT_EQ(c.saveScreenshot(picture.pixels.data(), 8, 4), "screenshot0.png");
    EXPECT_EQ(c.saveScreenshot(picture.pixels.data(), 8, 4), "screenshot1.png");
    EXPECT_EQ(c.saveScreenshot(nullptr, 8, 4), "");
    const auto image = ImageIO::load("screenshot1.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->pixels, picture.pixels) << "row 0 stays the bottom row";
}

TEST_F(CanvasOutput, ADepthImageLandsAtTheOverflowOffsetAndTheRestIsFar)
{
    CanvasCompositeGL& c = makeCanvas();
    std::vector<float> image(Screen * ScreenH);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<float>(i) / image.size();
    c.storeDepthImage(image.data(), Screen, ScreenH);
    const BufferTemplate<double>& depth = buffer<double>(DEPTH_BUFFER);
    for (auto [x, y] : {std::pair{0, 0}, {17, 123}, {199, 149}})
        EXPECT_EQ(depth.getValue(x + Overflow, y + Overflow), image[y * Screen + x]) << x << ", " << y;
    for (auto [x, y] : {std::pair{9, 50}, {50, 9}, {219, 169}})
        EXPECT_EQ(depth.getValue(x, y), 1.0) << "margin cell " << x << ", " << y;
    std::vector<float> large(400 * 300, 0.25f);   // cut at the grid's edge
    c.storeDepthImage(large.data(), 400, 300);
    EXPECT_EQ(std::pair(depth.getValue(219, 169), depth.getValue(9, 9)), std::pair(0.25, 1.0));
}

TEST_F(CanvasOutput, GradientAndOrientationFollowTheDepthField)
{
    CanvasCompositeGL& c = makeCanvas();
    BufferTemplate<double>& gradient = buffer<double>(GRADIENT_BUFFER);
    BufferTemplate<float>& orientation = buffer<float>(GRADIENT_ORIENTATION_BUFFER);
    struct Case { double base, dx, dy, angle; };   // depth = base + dx x + dy y; angle in degrees
    const Case cases[] = {
        {0.3, -0.002, 0.001, -26.56505117707799},   // atan, not atan2
        {0.0, 0.0, 0.003, 90.0},
        {0.5, 0.0, 0.0, 0.0},   // flat: 0, not NaN
    };
    for (const Case& k : cases) {
        setDepth([&](int x, int y) { return k.base + k.dx * x + k.dy * y; });
        gradient.fillEntireBufferWith2DValue(5.0, 5.0);
        orientation.fillEntireBufferWith2DValue(5.0f, 5.0f);
        c.computeGradientOrientation();
        double gx = 0, gy = 0;
        float angle = 0, valid = 0;
        gradient.get2DValues(20, 30, gx, gy);
        orientation.get2DValues(20, 30, angle, valid);
        EXPECT_NEAR(gx, k.dx, 1e-12);
        EXPECT_NEAR(angle, k.angle, 1e-4) << k.dx << ", " << k.dy;
        EXPECT_EQ(valid, 1.0f);
        // The outermost ring has no central difference: cleared in the
        // gradient, left alone in the orientation field.
        for (auto [x, y] : {std::pair{0, 30}, {219, 30}, {20, 169}}) {
            gradient.get2DValues(x, y, gx, gy);
            orientation.get2DValues(x, y, angle, valid);
            EXPECT_EQ(std::tuple(gx, gy, angle), std::tuple(0.0, 0.0, 5.0f)) << x << ", " << y;
        }
    }
    EXPECT_TRUE(c.isGradientOrientationSet());

    // A step of 0.5 at x = 100: far cells (depth 0.75 and more) get (1, 0);
    // the extremes are printed one line per field.
    setDepth([](int x, int) { return x < 100 ? 0.0 : x < 150 ? 0.5 : 0.75; });
    testing::internal::CaptureStdout();
    c.computeGradientOrientation();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "maxGradientXVal: 0.25 minGradientXVal 0 maxGradientYVal: 0 minGradientYVal 0\n"
              "maxOrientationXVal: 1 minOrientationXVal 0 maxOrientationYVal: 1 minOrientationYVal 0\n");
    float angle = 0, valid = 0;
    orientation.get2DValues(150, 50, angle, valid);
    EXPECT_EQ(std::pair(angle, valid), std::pair(1.0f, 0.0f));
}

TEST_F(CanvasOutput, TheTargetAreaIsTheCapsuleOfEveryUsedArea)
{
    CanvasCompositeGL& c = makeCanvas();
    // Area 1: radius 10 round (50, 60) - (120, 60); area 2: a spot of radius
    // 5 at (160, 120); areas 3 and 4 have no diameter and are not used.
    TaskRecord record;
    record.targetStartX = {50, 160, 0, 0};
    record.targetStartY = {60, 120, 0, 0};
    record.targetEndX = {120, 160, 0, 0};
    record.targetEndY = {60, 120, 0, 0};
    record.targetDiameter = {21, 10, 0, 0};
    c.prepareTaskTarget(record);
    c.fillTargetArea();

    const BufferTemplate<bool>& area = buffer<bool>(TARGET_AREA_BUFFER);
    auto inside = [&](int x, int y) { return area.getValue(x + Overflow, y + Overflow); };
    for (auto [x, y] : {std::pair{85, 69}, {120, 51}, {40, 60}, {130, 60}, {160, 125}})
        EXPECT_TRUE(inside(x, y)) << x << ", " << y;
    for (auto [x, y] : {std::pair{85, 72}, {38, 60}, {132, 60}, {128, 68}, {160, 127}, {0, 0}})
        EXPECT_FALSE(inside(x, y)) << x << ", " << y;
}
