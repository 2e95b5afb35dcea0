// Tests of the configuration reader: start-up defaults, value parsing, single and list keys,
// texture sets, target areas and damaged files.
#include "QTVelkConfiguration.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Config = VelkConfiguration;

QTVelkConfiguration readXml(const QByteArray& xml)
{
    QByteArray data(xml);
    QBuffer buffer(&data);
    return QTVelkConfiguration(buffer);
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

TEST(Configuration, MissingEmptyAndBareFilesGiveStartupDefaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = dir.filePath("empty.xml");
    const QString bare = dir.filePath("bare.xml");
    ASSERT_TRUE(writeFile(empty, ""));
    ASSERT_TRUE(writeFile(bare, "<?xml version=\"1.0\"?><config/>"));

    for (const QString& path : {dir.filePath("missing.xml"), empty, bare}) {
        SCOPED_TRACE(path.toStdString());
        const QTVelkConfiguration c(path);
        EXPECT_EQ(c._mainwindowWidth, 700u);
        EXPECT_TRUE(c._mainwindowFullscreen);
        EXPECT_EQ(c._oscSendPort, 7001u);
        // List keys stay empty, except images, which get one default entry.
        EXPECT_TRUE(c._texturesSource.empty() && c._strokesNumber.empty() && c._canvasSurfaceBorder.empty()
                    && c._contextmenuTextures.empty() && c._paletteXpos.empty() && c._taskTargetAreas.empty());
        EXPECT_EQ(c._imagesNumber, std::vector<unsigned>{0});
        EXPECT_EQ(c._imagesWidth, std::vector<double>{100.0});
        EXPECT_EQ(c._imagesHeight, std::vector<double>{100.0});
    }
}

TEST(Configuration, FlagsAreUnsignedIntegersTrueWhenNotZero)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <mainwindow fullscreen="yes" fullscreen_real="2"/>
        <graphics vsync="7" mipmapping="0" linear-filering="-1" arb-texture-compression=" 1 "/>
        <tuio enabled="0" port="4000"/>
        <touchreplay enabled="1" file="logs/directTouch/task3.txt"/>
        <painting autosave_seconds="15"/>
    </c>)");
    EXPECT_FALSE(c._mainwindowFullscreen);
    EXPECT_TRUE(c._mainwindowFullscreenReal);
    EXPECT_TRUE(c._graphicsVsync);
    EXPECT_FALSE(c._graphicsMipmapping);
    EXPECT_FALSE(c._graphicsLinearFilering);
    EXPECT_TRUE(c._graphicsTexureCompression);
    EXPECT_TRUE(c._graphicsArbTextureCompression);
    EXPECT_FALSE(c._tuioEnabled);
    EXPECT_EQ(c._tuioPort, 4000u);
    EXPECT_TRUE(c._touchreplayEnabled);
    EXPECT_EQ(c._touchreplayFile, "logs/directTouch/task3.txt");
    EXPECT_EQ(c._paintingAutosaveSeconds, 15u);
    EXPECT_FALSE(readXml("<touchreplay file=\"x\"/>")._touchreplayEnabled) << "replay is off unless enabled";
}

TEST(Configuration, TouchExtendRendersOnlyForExactlyOne)
{
    const std::pair<const char*, bool> cases[] = {
        {R"(<touchextend render="1"/>)", true},
        {R"(<touchextend render=" 1 "/>)", true},
        {R"(<touchextend render="2"/>)", false},
        {R"(<c><touchextend render="1"/><touchextend/></c>)", false},
        {R"(<c><touchextend render="1"/><touchextend render=""/></c>)", false},
        {R"(<c><touchextend render="1"/><other/></c>)", true},
    };
    for (const auto& [xml, expected] : cases)
        EXPECT_EQ(readXml(xml)._touchextendRender, expected) << xml;
}

TEST(Configuration, JoystickSpeedFactorIsNeverZeroOrNegative)
{
    const std::pair<const char*, float> cases[] = {
        {R"(<wii joystick_speed_factor="-3"/>)", 1.0f},
        {R"(<wii joystick_speed_factor="0"/>)", 1.0f},
        {R"(<wii joystick_speed_factor="fast"/>)", 1.0f},
        {R"(<wii joystick_speed_factor=" 2.5 "/>)", 2.5f},
        {R"(<c><wii joystick_speed_factor="4"/><wii joystick_speed_factor=""/></c>)", 4.0f},
        {R"(<wii use_joystick_for_pointing="1"/>)", 10.0f},
    };
    for (const auto& [xml, expected] : cases)
        EXPECT_EQ(readXml(xml)._wiiJoystickSpeedFactor, expected) << xml;
}

TEST(Configuration, LaterElementsOverwriteSingleKeysOnlyWithNonEmptyAttributesButStrokesimResets)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <mainwindow width="800" height="600" fullscreen="0"/>
        <mainwindow width="1024"/>
        <mainwindow width="" height="tall"/>
        <inside_color g="0.5"/>
        <strokesim k="0.3" damping="0.9" mass="4" vh_init="7"/>
        <strokesim damping="0.1" mass=""/>
    </c>)");
    EXPECT_EQ(c._mainwindowWidth, 1024u);
    EXPECT_EQ(c._mainwindowHeight, 0u);
    EXPECT_FALSE(c._mainwindowFullscreen);
    EXPECT_EQ(c._insideColorR, 0.16f);
    EXPECT_EQ(c._insideColorG, 0.5f);
    // Strokesim resets the attributes it omits.
    EXPECT_EQ(c._strokesimK, 0.05);
    EXPECT_EQ(c._strokesimDamping, 0.1);
    EXPECT_EQ(c._strokesimMass, 1.0);
    EXPECT_EQ(c._strokesimVhInit, 0.05);
    EXPECT_EQ(c._strokesimMaxTh, 62.0);
}

TEST(Configuration, ValuesParseByTheirTypeAndConvertToTheStoredType)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <mainwindow width="-3" height=" 480 "/>
        <osc receive_port="3.7" send_port="+9000"/>
        <smartboard physical_width="1e2"/>
        <task number="-7" type="2.0"/>
        <infoviscontainer width="499.9" height="-2.5" controlwidth="1e12"/>
        <geostrokes num_segments="12.9"/><geostrokes num_segments="-12.9"/>
        <geostrokes num_segments="nan"/>
        <contextmenu opacity="0.1"/>
        <sizeLens width="2.5" height="300"/>
        <treeprofile numberOfRings="-1"/>
    </c>)");
    // uint
    EXPECT_EQ(c._mainwindowWidth, 0u);
    EXPECT_EQ(c._mainwindowHeight, 480u);
    EXPECT_EQ(c._oscReceivePort, 0u);
    EXPECT_EQ(c._oscSendPort, 9000u);
    // double, int
    EXPECT_EQ(c._smartboardPhysicalWidth, 100.0);
    EXPECT_EQ(c._taskNumber, std::vector<int>{-7});
    EXPECT_EQ(c._taskType, std::vector<int>{0});
    // double stored as an integer: toward zero, saturated at the integer's range
    EXPECT_EQ(c._infoviscontainer.width, std::vector<unsigned>{499});
    EXPECT_EQ(c._infoviscontainer.height, std::vector<unsigned>{0});
    EXPECT_EQ(c._infoviscontainer.controlwidth,
              std::vector<unsigned>{std::numeric_limits<unsigned>::max()});
    EXPECT_EQ(c._geostrokesNumSegments, (std::vector<int>{12, -12, 0}));
    // float stored as double keeps float precision
    EXPECT_EQ(c._contextmenuOpacity, std::vector<double>{static_cast<double>(0.1f)});
    // uint stored as double or int: decimals and negatives do not parse
    EXPECT_EQ(c._sizeLens.width, std::vector<double>{0.0});
    EXPECT_EQ(c._sizeLens.height, std::vector<double>{300.0});
    EXPECT_EQ(c._treeprofile.numberOfRings, std::vector<int>{0});
}

TEST(Configuration, ListKeysAppendOneEntryPerOccurrenceWithDefaultsForMissingAttributes)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <palette xpos="10" opacity="0.5" texture_palette="mine.jpg"/>
        <palette ypos="20" xpos=""/>
        <images width="30"/><images number="5"/>
    </c>)");
    EXPECT_EQ(c._paletteXpos, (std::vector<unsigned>{10, 300}));
    EXPECT_EQ(c._paletteYpos, (std::vector<unsigned>{300, 20}));
    EXPECT_EQ(c._paletteOpacity, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(c._paletteNumber.size(), 2u);
    EXPECT_EQ(c._paletteDefaultToolbrushSize, (std::vector<float>{200.0f, 200.0f}));

    using Texture = Config::PaletteTexture;
    ASSERT_EQ(c._paletteTextures.size(), 2u);
    ASSERT_EQ(c._paletteTextures[1].size(), std::size_t{Texture::Count});
    EXPECT_EQ(c._paletteTextures[0][Texture::Palette], "mine.jpg");
    EXPECT_EQ(c._paletteTextures[1][Texture::Palette], "textures/palette.jpg");
    EXPECT_EQ(c._paletteTextures[1][Texture::StrokeMode], "textures/stroke_mode.png");
    EXPECT_EQ(c._paletteTextures[1][Texture::SizeActive], "textures/size_tool_active.png");

    // Images from the file replace the default entry.
    EXPECT_EQ(c._imagesNumber, (std::vector<unsigned>{100, 5}));
    EXPECT_EQ(c._imagesWidth, (std::vector<double>{30.0, 100.0}));
}

TEST(Configuration, MenuTextureSetsFollowAttributeOrderWithDefaultsInPlace)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <strokemenu acceptTexture="a.png" sketchTexture="" rnt="1"/>
        <cornermenu createTexture="c.png"/>
        <contextmenu/><contextmenu rnt="0" texture0="t.png"/>
        <ringmenu changePrimitiveTexture="p.png"/>
    </c>)");
    ASSERT_EQ(c._strokemenuTextures.size(), 1u);
    EXPECT_EQ(c._strokemenuTextures[0],
              (Strings{"textures/strokemenu/background.png", "a.png",
                       "textures/strokemenu/cancel.png", "textures/strokemenu/sketch.png"}));
    EXPECT_EQ(c._strokemenuRnt, std::vector<bool>{true});

    ASSERT_EQ(c._cornermenuTextures.size(), 1u);
    EXPECT_EQ(c._cornermenuTextures[0][Config::CornerMenuTexture::Create], "c.png");
    EXPECT_EQ(c._cornermenuRnt, std::vector<bool>{false});

    EXPECT_EQ(c._contextmenuTextures,
              (std::vector<Strings>{{"textures/contextmenu/texture0.png"}, {"t.png"}}));
    EXPECT_EQ(c._contextmenuRnt, (std::vector<bool>{true, false}));
    EXPECT_EQ(c._contextmenuXpos, (std::vector<unsigned>{500, 500}));

    ASSERT_EQ(c._ringmenuTextures.size(), 1u);
    EXPECT_EQ(c._ringmenuTextures[0][Config::RingMenuTexture::ChangePrimitive], "p.png");
}

TEST(Configuration, TaskTargetAreasAreReadWhateverTheirNumberAndNestingIsIrrelevant)
{
    const QTVelkConfiguration c = readXml(R"(<study><tasks>
        <task targetArea2EndX="40"/>
        <group><task numberOfTargetAreas="1" targetArea1StartY="7" targetArea4Diameter="9"
              targetArea3EndY="x" description="a &amp; b"/></group>
    </tasks></study>)");
    // startX, startY, endX, endY and diameter of each task, areas 1 to 4.
    using Areas = std::array<int, 4>;
    const auto columns = [](const Config::TargetAreaTable& t) {
        return std::vector<Areas>{t.startX, t.startY, t.endX, t.endY, t.diameter};
    };
    const Areas missing{500, 500, 500, 500};
    ASSERT_EQ(c._taskTargetAreas.size(), 2u);
    EXPECT_EQ(columns(c._taskTargetAreas[0]),
              (std::vector<Areas>{missing, missing, {500, 40, 500, 500}, missing, missing}));
    EXPECT_EQ(columns(c._taskTargetAreas[1]),
              (std::vector<Areas>{missing, {7, 500, 500, 500}, missing, {500, 500, 0, 500}, {500, 500, 500, 9}}));

    EXPECT_EQ(c._taskNumberOfTargetAreas, (std::vector<int>{1, 1}));
    EXPECT_EQ(c._taskNumber, (std::vector<int>{-1, -1}));
    EXPECT_EQ(c._taskDescription, (Strings{"", "a & b"}));
}

TEST(Configuration, BrokenFilesKeepWhatWasReadBeforeTheError)
{
    const QTVelkConfiguration mismatched = readXml(R"(<config>
        <mainwindow width="800"/><palette xpos="1"/></wrong>
        <userdata number="3"/><palette/></config>)");
    EXPECT_EQ(mismatched._mainwindowWidth, 800u);
    EXPECT_EQ(mismatched._paletteXpos, std::vector<unsigned>{1});
    EXPECT_EQ(mismatched._userdataNumber, 1u);
    EXPECT_EQ(mismatched._imagesNumber, std::vector<unsigned>{0});

    const QTVelkConfiguration truncated =
        readXml(R"(<config><osc receive_port="9000"/><osc send_port="9)");
    EXPECT_EQ(truncated._oscReceivePort, 9000u);
    EXPECT_EQ(truncated._oscSendPort, 7001u);

    const QTVelkConfiguration garbage = readXml(R"(not xml <mainwindow width="800"/>)");
    EXPECT_EQ(garbage._mainwindowWidth, 700u);
}

TEST(Configuration, UnknownAndDifferentlyCasedNamesAreIgnored)
{
    const QTVelkConfiguration c = readXml(R"(<c>
        <MainWindow width="1"/>
        <mainwindow Width="2" colour="red" height="600"/>
        <Mystery><userdata number="4"/></Mystery>
        <Palette/>
    </c>)");
    EXPECT_EQ(c._mainwindowWidth, 700u);
    EXPECT_EQ(c._mainwindowHeight, 600u);
    EXPECT_EQ(c._userdataNumber, 4u);
    EXPECT_TRUE(c._paletteXpos.empty());
}

TEST(Configuration, FileTextsAreStoredAsUtf8)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("config.xml");
    ASSERT_TRUE(writeFile(path, "<c><textures number=\"3\" source=\"textures/t\xc3\xbcte%d.png\"/>"
                                "<font file=\"fonts/a.ttf\"/></c>"));
    const QTVelkConfiguration c(path);
    EXPECT_EQ(c._texturesNumber, std::vector<unsigned>{3});
    EXPECT_EQ(c._texturesSource, Strings{"textures/t\xc3\xbcte%d.png"});
    EXPECT_EQ(c._fontFile, Strings{"fonts/a.ttf"});
    EXPECT_EQ(c._fontSize, std::vector<unsigned>{64});
}

} // namespace
