// Scene construction without a display: texture sets, the director's order,
// random placement and the palettes.
#include "CanvasCompositeGL.h"
#include "PaletteLeafGL.h"
#include "PictavoBuildDirector.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "PrimitivePlacement.h"
#include "QTVelkConfiguration.h"
#include "TexturePattern.h"

#include "ImageIO.h"
#include "Random.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// A run directory with n small textures t1.png ... tn.png of different widths.
class SceneConstruction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(_dir.isValid());
        QDir().mkpath(_dir.filePath("textures"));
        for (int i = 1; i <= 4; ++i) {
            RGBAImage image{8 * i, 8, std::vector<unsigned char>(static_cast<std::size_t>(8 * i * 8 * 4), 200)};
            ASSERT_TRUE(ImageIO::save(_dir.filePath(QStringLiteral("textures/t%1.png").arg(i)).toStdString(), image));
        }
        _previous = QDir::currentPath();
        QDir::setCurrent(_dir.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(_previous);
        _builder.setVis(nullptr);
        _vis.reset();
    }

    PictavoVisGL& buildVis()
    {
        _builder.buildVis(2, 70, 50, 700, 500);
        _vis.reset(_builder.getPictavoVis());
        return *_vis;
    }

    static std::unique_ptr<QTVelkConfiguration> configuration(const char* xml)
    {
        QByteArray bytes(xml);
        QBuffer buffer(&bytes);
        return std::make_unique<QTVelkConfiguration>(buffer);
    }

    QTemporaryDir _dir;
    QString _previous;
    PictavoBuilderGL _builder;
    std::unique_ptr<PictavoVisGL> _vis;
};

} // namespace

TEST_F(SceneConstruction, LongOrUnsafePatternsLoadNothingButCount)
{
    PictavoVisGL& vis = buildVis();
    const std::string long45(45, 'a');
    testing::internal::CaptureStdout();
    _builder.buildTextures(2, long45);
    _builder.buildTextures(2, "textures/t%s.png");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Loading"), std::string::npos);
    EXPECT_NE(out.find("PictavoBuilderGL:"), std::string::npos);
    EXPECT_EQ(vis.getImageTextureCount(), 0u);
    EXPECT_EQ(_builder.getTextureSetCount(), 2u);

    // 44 characters is still a pattern.
    std::string long44 = "textures/t%d.png";
    long44.insert(0, 44 - long44.size(), '.');
    long44.replace(0, 2, "./");
    EXPECT_EQ(long44.size(), 44u);
    testing::internal::CaptureStdout();
    _builder.buildTextures(1, long44);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Loading 1 textures"), std::string::npos);
}

TEST(TexturePattern, FormatsAtMostOneIntegerAndRefusesWhatReadsMissingArguments)
{
    EXPECT_EQ(TexturePattern::format("t%d.png", 7), "t7.png");
    EXPECT_EQ(TexturePattern::format("t%03d.png", 7), "t007.png");
    EXPECT_EQ(TexturePattern::format("t%-3i|.png", 10), "t10 |.png");
    EXPECT_EQ(TexturePattern::format("t%.2X.png", 10), "t0A.png");
    EXPECT_EQ(TexturePattern::format("100%%_%u.png", 2), "100%_2.png");
    EXPECT_EQ(TexturePattern::format("plain.png", 5), "plain.png");
    EXPECT_EQ(TexturePattern::format("trailing%", 5), "trailing%");
    EXPECT_EQ(TexturePattern::format("t%4096d", 1)->size(), 4097u);
    for (const char* refused :
         {"%d_%d.png", "%s.png", "%n.png", "%p", "%*d.png", "%ld.png", "%4097d", "%.99999d", "%f.png"})
        EXPECT_FALSE(TexturePattern::isValid(refused)) << refused;
}

TEST_F(SceneConstruction, DirectorBuildsTexturesThenFontsInDocumentOrder)
{
    QFile::copy("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", _dir.filePath("arial.ttf"));
    const auto config = configuration(
        "<c><textures number='2' source='textures/t%d.png'/><font file='arial.ttf' size='32'/>"
        "<textures number='1' source='textures/t%d.png'/><font file='arial.ttf' size='72'/></c>");
    PictavoBuildDirector director(config.get());

    // Without a scene nothing is built.
    director.constructFirstDemo(_builder);
    EXPECT_EQ(_builder.getTextureSetCount(), 0u);

    PictavoVisGL& vis = buildVis();
    testing::internal::CaptureStdout();
    director.constructFirstDemo(_builder);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_LT(out.find("Loading 2 textures"), out.find("Loading 1 textures"));
    EXPECT_EQ(vis.getImageTextureCount(), 3u);
    // t1 is 8 wide and t2 16: each file of the pattern in turn.
    EXPECT_FLOAT_EQ(vis.getTextureMaxXAt(1), 16.0f);
    EXPECT_FLOAT_EQ(vis.getTextureMaxXAt(2), 8.0f);
    EXPECT_NE(vis.getFont("arial32"), nullptr);
    EXPECT_NE(vis.getFont("arial72"), nullptr);
    EXPECT_EQ(_builder.getTextureSetCount(), 2u);
}

TEST(PrimitivePlacement, FormulasUseOneRandomValueEachInOrder)
{
    std::srand(11);
    const int r1 = randomValue();
    const int r2 = randomValue();
    const int r3 = randomValue();
    const int r4 = randomValue();

    std::srand(11);
    const PrimitivePlacement stroke = Placement::stroke(1024, 768);
    EXPECT_EQ(stroke.imageIndex, static_cast<int>(r1 * 9.0 / 32767.0));
    EXPECT_DOUBLE_EQ(stroke.rotation, r2 * 360.0 / 32767.0);
    EXPECT_DOUBLE_EQ(stroke.x, r3 * 1023.0 / 32767.0);
    EXPECT_DOUBLE_EQ(stroke.y, r4 * 808.0 / 32767.0);

    std::srand(11);
    const PrimitivePlacement tile = Placement::tile(1024, 768);
    EXPECT_DOUBLE_EQ(tile.rotation, r1 * 360.0 / 32767.0);
    EXPECT_DOUBLE_EQ(tile.y, r3 * 768.0 / 32767.0);

    std::srand(11);
    const PrimitivePlacement point = Placement::point(1024, 768);
    EXPECT_DOUBLE_EQ(point.x, r1 * 1023.0 / 32767.0);
    EXPECT_DOUBLE_EQ(point.y, r2 * 808.0 / 32767.0);
    EXPECT_DOUBLE_EQ(point.rotation, 0.0);
}

TEST_F(SceneConstruction, EveryDemoEndsWithItsPalettesAndFindPaletteGivesTheFirst)
{
    const auto config = configuration(
        "<c><canvas_surface/><palette xpos='10' width='200' height='200'/><palette width='300' height='300'/></c>");
    PictavoBuildDirector director(config.get());
    using Construct = void (PictavoBuildDirector::*)(PictavoBuilderGL&);
    for (Construct demo : {&PictavoBuildDirector::constructFirstDemo, &PictavoBuildDirector::constructMosaicDemo,
                           &PictavoBuildDirector::constructPointillismDemo,
                           &PictavoBuildDirector::constructGeoStrokeDemo}) {
        PictavoVisGL& vis = buildVis();
        (director.*demo)(_builder);
        CanvasCompositeGL* canvas = vis.findCanvas();
        ASSERT_NE(canvas, nullptr);
        ASSERT_EQ(canvas->getNumberOfPalettes(), 2u);
        PaletteLeafGL* first = vis.findPalette();
        EXPECT_EQ(first, canvas->getPalette(0));
        EXPECT_EQ(first->getXPos(), 10.0);
        EXPECT_EQ(first->getWidth(), 200.0);
        EXPECT_EQ(canvas->getPalette(1)->getWidth(), 300.0);
        // Hidden until the window shows it.
        EXPECT_FALSE(first->isActiveForRendering());
        _builder.setVis(nullptr);
        _vis.reset();
    }
}
