// Saved paintings without a display: the stroke demo of the shipped
// configuration, changed, saved, read back and put into a fresh scene; a
// save that fails half way; files that are not readable paintings.
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "PaintingFile.h"
#include "PaintingScene.h"
#include "PaletteLeafGL.h"
#include "PictavoBuildDirector.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "PointLeafGL.h"
#include "PrimitiveLeafGL.h"
#include "QTVelkConfiguration.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

class Painting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(_dir.isValid());
        _previous = QDir::currentPath();
        const char* runDir = std::getenv("PICTAVO_RUN_DIR");
        ASSERT_NE(runDir, nullptr);
        ASSERT_TRUE(QDir::setCurrent(runDir));
        _config = std::make_unique<QTVelkConfiguration>(QStringLiteral("config.xml"));
        _director = std::make_unique<PictavoBuildDirector>(_config.get());
    }
    void TearDown() override
    {
        for (auto& [builder, vis] : _scenes)
            builder->setVis(nullptr);
        _scenes.clear();
        QDir::setCurrent(_previous);
    }

    // A headless stroke demo on a small screen.
    PictavoVisGL& build()
    {
        auto builder = std::make_unique<PictavoBuilderGL>();
        builder->buildVis(1, 350, 262, 512, 384);
        std::unique_ptr<PictavoVisGL> vis(builder->getPictavoVis());
        vis->initializeRenderer();
        _director->constructFirstDemo(*builder);
        PictavoVisGL& result = *vis;
        _scenes.emplace_back(std::move(builder), std::move(vis));
        return result;
    }

    std::string path(const char* name) const { return _dir.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir _dir;
    QString _previous;
    std::unique_ptr<QTVelkConfiguration> _config;
    std::unique_ptr<PictavoBuildDirector> _director;
    std::vector<std::pair<std::unique_ptr<PictavoBuilderGL>, std::unique_ptr<PictavoVisGL>>> _scenes;
};

// Primitives of every kind and values off their defaults, a mixed paint,
// a sketched image worn by a stroke and buffers with their own cells.
void paint(PictavoVisGL& vis)
{
    CanvasCompositeGL& canvas = *vis.findCanvas();
    GeoStrokeBuildCanvasCompositeGL& panel = *vis.findBuildCanvas();
    RGBAImage sketch{4, 4, std::vector<unsigned char>(64, 0)};
    sketch.pixels[5] = 200;
    const int sketchIndex = panel.addElementImage(sketch);
    ASSERT_GE(sketchIndex, 0);
    vis.createPointLeaf(22, 22, 40, 50, 0)->setShapeIndex(7);
    vis.createTileLeaf(20, 20, 60, 70, 33.0, true, 1);
    vis.createGeoStrokeLeaf(40, 14, 80, 90, 12.5, 9, 3);
    vis.createStrokeLeaf(48, 16, 100, 110, 75.0, vis.getImageTextureIDAt(std::size_t(sketchIndex)), 0.0f, 0.5f, 0.0f,
                         0.25f, true, 0);
    int n = 0;
    for (const auto& [id, child] : canvas.getChildren())
        if (auto* p = dynamic_cast<PrimitiveLeafGL*>(child)) {
            p->setLife(200 - n % 150);
            p->setColor(static_cast<unsigned char>(n), 100, static_cast<unsigned char>(255 - n % 256));
            p->setRotation(n * 1.5);
            ++n;
        }
    PaletteLeafGL& palette = *vis.findPalette();
    palette.addMixedPaint({-20.0, -30.0}, 2);
    palette.addMixedPaint({-10.0, -60.0}, 4);
    BufferTemplate<float>& size = *canvas.getActiveBufferAs<float>(SIZE_BUFFER);
    for (int y = 0; y < size.getHeight(); ++y)
        for (int x = 0; x < size.getWidth(); ++x)
            size.setValue(x, y, static_cast<float>(x * 0.5 + y));
}

std::size_t primitiveCount(const CanvasCompositeGL& canvas)
{
    std::size_t n = 0;
    for (const auto& entry : canvas.getChildren())
        n += dynamic_cast<const PrimitiveLeafGL*>(entry.second) != nullptr ? 1 : 0;
    return n;
}

} // namespace

// What is saved reads back the same, and a fresh scene that opens it holds
// the same primitives field by field, the same buffers, mixed paints, links
// and sketched images; the scene's own primitives are gone after a frame.
TEST_F(Painting, SavedPaintingOpensIntoAFreshSceneFieldByField)
{
    PictavoVisGL& first = build();
    paint(first);
    const PaintingData saved = PaintingScene::capture(first);
    ASSERT_GT(saved.primitives.size(), 3000u);
    ASSERT_EQ(saved.swatches.size(), 2u);
    ASSERT_EQ(saved.links.size(), 2u);
    ASSERT_EQ(saved.sketches.size(), 1u);
    ASSERT_EQ(saved.primitives.back().texture, saved.sketches[0].index) << "the stroke wears the sketch";

    ASSERT_TRUE(PaintingFile::save(path("a.pictavo"), saved)) << "save";
    PaintingData read;
    const PaintingFile::Result loaded = PaintingFile::load(path("a.pictavo"), read);
    ASSERT_TRUE(loaded) << loaded.message;
    EXPECT_EQ(read, saved);

    PictavoVisGL& second = build();
    CanvasCompositeGL& canvas = *second.findCanvas();
    EXPECT_EQ(PaintingScene::restore(second, read), "");
    canvas.renderIntoBuffers();   // the deletion queue
    EXPECT_EQ(primitiveCount(canvas), saved.primitives.size());
    const PaintingData reopened = PaintingScene::capture(second);
    ASSERT_EQ(reopened.primitives.size(), saved.primitives.size());
    for (std::size_t i = 0; i < saved.primitives.size(); ++i)
        ASSERT_EQ(reopened.primitives[i], saved.primitives[i]) << "primitive " << i;
    EXPECT_EQ(reopened.buffers, saved.buffers);
    EXPECT_EQ(reopened.swatches, saved.swatches);
    EXPECT_EQ(reopened.links, saved.links);
    EXPECT_EQ(reopened.sketches, saved.sketches);
}

// A save that fails half way through the primitives leaves the previous
// file as it was and no temporary file behind.
TEST_F(Painting, InterruptedSaveKeepsThePreviousFile)
{
    PictavoVisGL& vis = build();
    const PaintingData before = PaintingScene::capture(vis);
    ASSERT_TRUE(PaintingFile::save(path("p.pictavo"), before));
    paint(vis);
    const PaintingData after = PaintingScene::capture(vis);
    const std::size_t half = after.primitives.size() / 2;
    const PaintingFile::Result failed = PaintingFile::save(
        path("p.pictavo"), after, [half](const char* table, std::size_t rows) {
            return std::string(table) == "primitives" && rows == half;
        });
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.message.find("PaintingFile: cannot save"), std::string::npos) << failed.message;
    EXPECT_FALSE(std::filesystem::exists(path("p.pictavo.tmp")));
    PaintingData read;
    ASSERT_TRUE(PaintingFile::load(path("p.pictavo"), read));
    EXPECT_EQ(read, before);
}

namespace {

void writeBytes(const std::string& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readBytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void sql(const std::string& file, const char* statements)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

// Each kind of bad file gives its own one-line message and leaves what the
// caller holds untouched.
TEST_F(Painting, BadFilesGiveTheirMessageAndChangeNothing)
{
    PictavoVisGL& vis = build();
    paint(vis);
    ASSERT_TRUE(PaintingFile::save(path("good.pictavo"), PaintingScene::capture(vis)));
    const std::string good = readBytes(path("good.pictavo"));

    writeBytes(path("truncated.pictavo"), good.substr(0, good.size() / 2));
    std::string corrupt = good;
    for (std::size_t i = corrupt.size() / 2; i < corrupt.size() / 2 + 64; ++i)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    writeBytes(path("corrupt.pictavo"), corrupt);
    sql(path("foreign.pictavo"), "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('hello');");
    writeBytes(path("newer.pictavo"), good);
    sql(path("newer.pictavo"), "PRAGMA user_version = 2;");
    writeBytes(path("text.pictavo"), "a shopping list\n");

    const std::pair<const char*, const char*> cases[] = {
        {"truncated.pictavo", "is cut off"},
        {"corrupt.pictavo", "is damaged"},
        {"foreign.pictavo", "a database of another program"},
        {"newer.pictavo", "newer version of the program (format 2; this one reads up to 1)"},
        {"text.pictavo", "is not a painting"},
        {"missing.pictavo", "cannot be read"},
    };
    PaintingData held;
    held.screenWidth = 7;
    held.primitives.resize(3);
    const PaintingData untouched = held;
    for (const auto& [file, says] : cases) {
        const PaintingFile::Result result = PaintingFile::load(path(file), held);
        EXPECT_FALSE(result) << file;
        EXPECT_EQ(result.message.rfind("PaintingFile: " + path(file), 0), 0u) << result.message;
        EXPECT_NE(result.message.find(says), std::string::npos) << result.message;
        EXPECT_EQ(result.message.find('\n'), std::string::npos) << "one line";
        EXPECT_EQ(held, untouched) << file;
    }
}
