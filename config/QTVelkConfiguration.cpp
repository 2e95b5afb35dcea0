// QTVelkConfiguration: the stream-reader loop and the handlers of all configuration elements.
// Attribute parsing by type lives in ConfigurationAttributes.h.
#include "QTVelkConfiguration.h"

#include "ConfigurationAttributes.h"

#include <QFile>
#include <QIODevice>
#include <QXmlStreamReader>

#include <array>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

using namespace configattr;

namespace {

using Config = VelkConfiguration;

constexpr TextureAttribute kContextMenuTextures[] = {
    {"texture0", "textures/contextmenu/texture0.png"},
};

constexpr TextureAttribute kCornerMenuTextures[] = {
    {"backgroundTexture", "textures/contextmenu/background.png"},
    {"dummyTexture", "textures/contextmenu/dummy.png"},
    {"createTexture", "textures/contextmenu/create.png"},
    {"eraseTexture", "textures/contextmenu/erase.png"},
    {"orientFollowTexture", "textures/contextmenu/orient-follow.png"},
    {"orientCircularTexture", "textures/contextmenu/orient-circular.png"},
    {"orientRadialTexture", "textures/contextmenu/orient-radial.png"},
    {"moveFollowTexture", "textures/contextmenu/move-follow.png"},
    {"moveAttractionTexture", "textures/contextmenu/move-attraction.png"},
    {"moveRepulsionTexture", "textures/contextmenu/move-repulsion.png"},
    {"resizeBiggerTexture", "textures/contextmenu/resize-bigger.png"},
    {"resizeSmallerTexture", "textures/contextmenu/resize-smaller.png"},
};
static_assert(std::size(kCornerMenuTextures) == Config::CornerMenuTexture::Count);

constexpr TextureAttribute kRingMenuTextures[] = {
    {"createTexture", "textures/ringmenu/ring-menu-create.png"},
    {"eraseTexture", "textures/ringmenu/ring-menu-erase.png"},
    {"orientFollowTexture", "textures/ringmenu/ring-menu-orient-follow.png"},
    {"orientCircularTexture", "textures/ringmenu/ring-menu-orient-circular.png"},
    {"orientRadialTexture", "textures/ringmenu/ring-menu-orient-radial.png"},
    {"moveFollowTexture", "textures/ringmenu/ring-menu-move-follow.png"},
    {"moveAttractionTexture", "textures/ringmenu/ring-menu-move-attraction.png"},
    {"moveRepulsionTexture", "textures/ringmenu/ring-menu-move-repulsion.png"},
    {"resizeBiggerTexture", "textures/ringmenu/ring-menu-resize-bigger.png"},
    {"resizeSmallerTexture", "textures/ringmenu/ring-menu-resize-smaller.png"},
    {"changeDiameterTexture", "textures/ringmenu/ring-menu-change-diameter.png"},
    {"changePrimitiveTexture", "textures/ringmenu/ring-menu-change-primitive.png"},
};
static_assert(std::size(kRingMenuTextures) == Config::RingMenuTexture::Count);

constexpr TextureAttribute kStrokeMenuTextures[] = {
    {"backgroundTexture", "textures/strokemenu/background.png"},
    {"acceptTexture", "textures/strokemenu/accept.png"},
    {"cancelTexture", "textures/strokemenu/cancel.png"},
    {"sketchTexture", "textures/strokemenu/sketch.png"},
};
static_assert(std::size(kStrokeMenuTextures) == Config::StrokeMenuTexture::Count);

constexpr TextureAttribute kPaletteTextures[] = {
    {"texture_stroke_mode", "textures/stroke_mode.png"},
    {"texture_stroke_mode_active", "textures/stroke_mode_active.png"},
    {"texture_save", "textures/save.png"},
    {"texture_save_active", "textures/save_active.png"},
    {"texture_empty_canvas", "textures/empty_canvas.png"},
    {"texture_empty_canvas_active", "textures/empty_canvas_active.png"},
    {"texture_layer", "textures/layer.png"},
    {"texture_layer_active", "textures/layer_active.png"},
    {"texture_diameter", "textures/diameter.png"},
    {"texture_diameter_active", "textures/diameter_active.png"},
    {"texture_create_erase", "textures/create_erase.png"},
    {"texture_create_erase_active", "textures/create_erase_active.png"},
    {"texture_size", "textures/size_tool.png"},
    {"texture_size_active", "textures/size_tool_active.png"},
    {"texture_orientation", "textures/orientation_tool.png"},
    {"texture_orientation_active", "textures/orientation_tool_active.png"},
    {"texture_gravitate", "textures/gravitate.png"},
    {"texture_gravitate_active", "textures/gravitate_active.png"},
    {"texture_orbit", "textures/orbit.png"},
    {"texture_orbit_active", "textures/orbit_active.png"},
    {"texture_random", "textures/random.png"},
    {"texture_random_active", "textures/random_active.png"},
    {"texture_attraction", "textures/attraction.png"},
    {"texture_attraction_active", "textures/attraction_active.png"},
    {"texture_repulsion", "textures/repulsion.png"},
    {"texture_repulsion_active", "textures/repulsion_active.png"},
    {"texture_direction_follow", "textures/direction_follow.png"},
    {"texture_direction_follow_active", "textures/direction_follow_active.png"},
    {"texture_direction_random", "textures/direction_random.png"},
    {"texture_direction_random_active", "textures/direction_random_active.png"},
    {"texture_clear_mixing_area", "textures/clear_mixing_area.png"},
    {"texture_clear_mixing_area_active", "textures/clear_mixing_area_active.png"},
    {"texture_orientation_style", "textures/orientation_style.png"},
    {"texture_direction_style", "textures/direction_style.png"},
    {"texture_mode", "textures/mode.png"},
    {"texture_empty_canvas_apply", "textures/empty_canvas_apply.png"},
    {"texture_primitive_type", "textures/primitive_type.png"},
    {"texture_primitive_stroke", "textures/primitive_stroke.png"},
    {"texture_primitive_tile", "textures/primitive_tile.png"},
    {"texture_primitive_point", "textures/primitive_point.png"},
    {"texture_palette", "textures/palette.jpg"},
};
static_assert(std::size(kPaletteTextures) == Config::PaletteTexture::Count);

// r, g, b of the three scene colours.
void readColor(const Attributes& a, float& r, float& g, float& b)
{
    readSingle(a, "r", r);
    readSingle(a, "g", g);
    readSingle(a, "b", b);
}

// number, width and height, shared by the four primitive sets.
void appendPrimitiveSet(const Attributes& a, std::vector<unsigned>& number,
                        std::vector<double>& width, std::vector<double>& height)
{
    appendList(a, "number", 100u, number);
    appendList(a, "width", 100.0, width);
    appendList(a, "height", 100.0, height);
}

// Size in screen pixels and opacity, which every menu has.
void appendMenuSize(const Attributes& a, std::vector<unsigned>& width,
                    std::vector<unsigned>& height, std::vector<double>& opacity)
{
    appendList(a, "width", 200u, width);
    appendList(a, "height", 200u, height);
    appendListAs<float>(a, "opacity", 1.0, opacity);
}

// Position in screen pixels and the rotate-and-translate and tossing flags of a placed menu.
void appendMenuPlacement(const Attributes& a, std::vector<unsigned>& xpos,
                         std::vector<unsigned>& ypos, std::vector<bool>& rnt, bool rntDefault,
                         std::vector<bool>& tossing)
{
    appendList(a, "xpos", 500u, xpos);
    appendList(a, "ypos", 500u, ypos);
    appendList(a, "rnt", rntDefault, rnt);
    appendList(a, "tossing", false, tossing);
}

// All 20 target-area attributes of a task, whatever numberOfTargetAreas says; 500 when missing.
void appendTargetAreas(const Attributes& a, std::vector<Config::TargetAreaTable>& tables)
{
    using Table = Config::TargetAreaTable;
    static constexpr std::pair<const char*, std::array<int, 4> Table::*> kColumns[] = {
        {"StartX", &Table::startX}, {"StartY", &Table::startY}, {"EndX", &Table::endX},
        {"EndY", &Table::endY}, {"Diameter", &Table::diameter},
    };
    Table& table = tables.emplace_back();
    for (int area = 0; area < 4; ++area) {
        for (const auto& [field, column] : kColumns) {
            const QString name =
                QStringLiteral("targetArea%1%2").arg(area + 1).arg(QLatin1StringView(field));
            const QStringView text = a.value(name);
            (table.*column)[area] = text.isEmpty() ? 500 : parse<int>(text);
        }
    }
}

// One element the reader knows: its name and the handler that reads its attributes. Names are
// all distinct, so the order of the tables does not change which handler matches.
struct ElementHandler {
    const char* name;
    void (*read)(VelkConfiguration&, const Attributes&);
};

// The elements the program uses, and the additions tuio, touchreplay and painting.
constexpr ElementHandler kUsedElements[] = {
    {"startup", [](Config& c, const Attributes& a) {
        readSingle(a, "demo_type", c._startupDemoType);
        readSingle(a, "animation", c._startupAnimation);
    }},
    {"mainwindow", [](Config& c, const Attributes& a) {
        readSingle(a, "width", c._mainwindowWidth);
        readSingle(a, "height", c._mainwindowHeight);
        readSingle(a, "fullscreen", c._mainwindowFullscreen);
        readSingle(a, "fullscreen_real", c._mainwindowFullscreenReal);
    }},
    {"globalbuffers", [](Config& c, const Attributes& a) {
        readSingle(a, "width", c._globalbuffersWidth);
        readSingle(a, "height", c._globalbuffersHeight);
    }},
    {"userdata", [](Config& c, const Attributes& a) {
        readSingle(a, "number", c._userdataNumber);
        readSingle(a, "wiis", c._userdataWiis);
    }},
    {"wii", [](Config& c, const Attributes& a) {
        readSingle(a, "joystick_speed_factor", c._wiiJoystickSpeedFactor);
        // A factor of 0 or less (or NaN) would stop or reverse the joystick.
        if (!(c._wiiJoystickSpeedFactor > 0.0f))
            c._wiiJoystickSpeedFactor = 1.0f;
        readSingle(a, "use_joystick_for_pointing", c._wiiUseJoystickForPointing);
    }},
    {"touchextend", [](Config& c, const Attributes& a) {
        // True only for exactly 1; an element without the attribute switches it off.
        c._touchextendRender = parse<unsigned>(value(a, "render")) == 1;
    }},
    {"smartboard", [](Config& c, const Attributes& a) {
        readSingle(a, "physical_width", c._smartboardPhysicalWidth);
        readSingle(a, "physical_height", c._smartboardPhysicalHeight);
        readSingle(a, "resolution_width", c._smartboardResolutionWidth);
        readSingle(a, "resolution_height", c._smartboardResolutionHeight);
    }},
    {"inputarea", [](Config& c, const Attributes& a) {
        readSingle(a, "pen_min", c._inputareaPenMin);
        readSingle(a, "pen_max", c._inputareaPenMax);
        readSingle(a, "single_finger_min", c._inputareaSingleFingerMin);
        readSingle(a, "single_finger_max", c._inputareaSingleFingerMax);
        readSingle(a, "two_finger_min", c._inputareaTwoFingerMin);
        readSingle(a, "two_finger_max", c._inputareaTwoFingerMax);
        readSingle(a, "fist_min", c._inputareaFistMin);
        readSingle(a, "fist_max", c._inputareaFistMax);
        readSingle(a, "hand_min", c._inputareaHandMin);
        readSingle(a, "hand_max", c._inputareaHandMax);
    }},
    {"tossing", [](Config& c, const Attributes& a) {
        readSingle(a, "friction", c._tossingFriction);
        readSingle(a, "cutoff", c._tossingCutoff);
    }},
    {"rnt", [](Config& c, const Attributes& a) {
        readSingle(a, "factor", c._rntFactor);
        readSingle(a, "circle_time", c._rntCircleTime);
    }},
    {"graphics", [](Config& c, const Attributes& a) {
        readSingle(a, "vsync", c._graphicsVsync);
        readSingle(a, "mipmapping", c._graphicsMipmapping);
        readSingle(a, "linear-filering", c._graphicsLinearFilering);
        readSingle(a, "texure-compression", c._graphicsTexureCompression);
        readSingle(a, "arb-texture-compression", c._graphicsArbTextureCompression);
    }},
    {"object_add_and_remove", [](Config& c, const Attributes& a) {
        readSingle(a, "number_per_step", c._objectAddAndRemoveNumberPerStep);
    }},
    {"containersettings", [](Config& c, const Attributes& a) {
        readSingle(a, "initialMaxWidth", c._containersettingsInitialMaxWidth);
        readSingle(a, "borderWidth", c._containersettingsBorderWidth);
        readSingle(a, "opacity", c._containersettingsOpacity);
        readSingle(a, "insideCPSteps", c._containersettingsInsideCPSteps);
        readSingle(a, "outsideCPSteps", c._containersettingsOutsideCPSteps);
    }},
    {"inside_color", [](Config& c, const Attributes& a) {
        readColor(a, c._insideColorR, c._insideColorG, c._insideColorB);
    }},
    {"border_color", [](Config& c, const Attributes& a) {
        readColor(a, c._borderColorR, c._borderColorG, c._borderColorB);
    }},
    {"highlight_color", [](Config& c, const Attributes& a) {
        readColor(a, c._highlightColorR, c._highlightColorG, c._highlightColorB);
    }},
    {"textures", [](Config& c, const Attributes& a) {
        appendList(a, "number", 1u, c._texturesNumber);
        appendList(a, "source", "textures/waste_basket_small.png", c._texturesSource);
    }},
    {"images", [](Config& c, const Attributes& a) {
        appendList(a, "number", 100u, c._imagesNumber);
        appendList(a, "width", 100.0, c._imagesWidth);
        appendList(a, "height", 100.0, c._imagesHeight);
    }},
    {"strokes", [](Config& c, const Attributes& a) {
        appendPrimitiveSet(a, c._strokesNumber, c._strokesWidth, c._strokesHeight);
        appendList(a, "do_bump_mapping", false, c._strokesDoBumpMapping);
    }},
    {"tiles", [](Config& c, const Attributes& a) {
        appendPrimitiveSet(a, c._tilesNumber, c._tilesWidth, c._tilesHeight);
        appendList(a, "do_dodging", false, c._tilesDoDodging);
    }},
    {"points", [](Config& c, const Attributes& a) {
        appendPrimitiveSet(a, c._pointsNumber, c._pointsWidth, c._pointsHeight);
    }},
    {"geostrokes", [](Config& c, const Attributes& a) {
        appendPrimitiveSet(a, c._geostrokesNumber, c._geostrokesWidth, c._geostrokesHeight);
        appendListAs<double>(a, "num_segments", 32, c._geostrokesNumSegments);
    }},
    {"contextmenu", [](Config& c, const Attributes& a) {
        appendMenuSize(a, c._contextmenuWidth, c._contextmenuHeight, c._contextmenuOpacity);
        appendMenuPlacement(a, c._contextmenuXpos, c._contextmenuYpos, c._contextmenuRnt, true,
                            c._contextmenuTossing);
        appendTextureSet(a, kContextMenuTextures, c._contextmenuTextures);
    }},
    {"cornermenu", [](Config& c, const Attributes& a) {
        appendMenuSize(a, c._cornermenuWidth, c._cornermenuHeight, c._cornermenuOpacity);
        appendMenuPlacement(a, c._cornermenuXpos, c._cornermenuYpos, c._cornermenuRnt, false,
                            c._cornermenuTossing);
        appendTextureSet(a, kCornerMenuTextures, c._cornermenuTextures);
    }},
    {"ringmenu", [](Config& c, const Attributes& a) {
        appendMenuSize(a, c._ringmenuWidth, c._ringmenuHeight, c._ringmenuOpacity);
        appendTextureSet(a, kRingMenuTextures, c._ringmenuTextures);
    }},
    {"strokemenu", [](Config& c, const Attributes& a) {
        appendMenuSize(a, c._strokemenuWidth, c._strokemenuHeight, c._strokemenuOpacity);
        appendMenuPlacement(a, c._strokemenuXpos, c._strokemenuYpos, c._strokemenuRnt, false,
                            c._strokemenuTossing);
        appendTextureSet(a, kStrokeMenuTextures, c._strokemenuTextures);
    }},
    {"canvas_surface", [](Config& c, const Attributes& a) {
        appendList(a, "border", 10.0, c._canvasSurfaceBorder);
        appendList(a, "overflow", 50.0, c._canvasSurfaceOverflow);
        appendList(a, "number_of_toolbrushes", 1u, c._canvasSurfaceNumberOfToolbrushes);
        appendList(a, "initial_stroke_width", 10.0, c._canvasSurfaceInitialStrokeWidth);
        appendList(a, "texture", "textures/test.jpg", c._canvasSurfaceTexture);
    }},
    {"geostrokes_build_canvas_surface", [](Config& c, const Attributes& a) {
        appendList(a, "border", 10.0, c._geostrokesBuildCanvasSurfaceBorder);
        appendList(a, "overflow", 50.0, c._geostrokesBuildCanvasSurfaceOverflow);
    }},
    {"toolglass", [](Config& c, const Attributes& a) {
        readSingleAs<float>(a, "diameter_scale_speed", c._toolglassDiameterScaleSpeed);
    }},
    {"palette", [](Config& c, const Attributes& a) {
        appendList(a, "number", 1u, c._paletteNumber);
        appendList(a, "width", 500.0, c._paletteWidth);
        appendList(a, "height", 500.0, c._paletteHeight);
        appendList(a, "xpos", 300u, c._paletteXpos);
        appendList(a, "ypos", 300u, c._paletteYpos);
        appendList(a, "opacity", 1.0f, c._paletteOpacity);
        appendList(a, "toolbrush_type_id", 1.0f, c._paletteToolbrushTypeId);
        appendList(a, "default_toolbrush_size", 200.0f, c._paletteDefaultToolbrushSize);
        appendTextureSet(a, kPaletteTextures, c._paletteTextures);
    }},
    {"strokesim", [](Config& c, const Attributes& a) {
        // Unlike other single keys, an attribute this element omits goes back to its default.
        static const VelkConfiguration defaults;
        readOrReset(a, "k", defaults._strokesimK, c._strokesimK);
        readOrReset(a, "damping", defaults._strokesimDamping, c._strokesimDamping);
        readOrReset(a, "ductus", defaults._strokesimDuctus, c._strokesimDuctus);
        readOrReset(a, "max_th", defaults._strokesimMaxTh, c._strokesimMaxTh);
        readOrReset(a, "min_th", defaults._strokesimMinTh, c._strokesimMinTh);
        readOrReset(a, "mass", defaults._strokesimMass, c._strokesimMass);
        readOrReset(a, "vh_init", defaults._strokesimVhInit, c._strokesimVhInit);
    }},
    {"font", [](Config& c, const Attributes& a) {
        appendList(a, "file", "fonts/arial.ttf", c._fontFile);
        appendList(a, "size", 64u, c._fontSize);
    }},
    {"osc", [](Config& c, const Attributes& a) {
        readSingle(a, "receive_port", c._oscReceivePort);
        readSingle(a, "send_port", c._oscSendPort);
    }},
    {"task", [](Config& c, const Attributes& a) {
        appendList(a, "number", -1, c._taskNumber);
        appendList(a, "inputDevice", 0, c._taskInputDevice);
        appendList(a, "type", 0, c._taskType);
        appendList(a, "blockNumber", 0, c._taskBlockNumber);
        appendList(a, "elementsType", 3, c._taskElementsType);
        appendList(a, "elementsInitNumber", 0, c._taskElementsInitNumber);
        appendList(a, "startsSequence", 0, c._taskStartsSequence);
        appendList(a, "endsSequence", 0, c._taskEndsSequence);
        appendList(a, "description", "", c._taskDescription);
        appendList(a, "additionalDescription", "", c._taskAdditionalDescription);
        appendList(a, "image", "textures/tasks/defaultTask.png", c._taskImage);
        appendList(a, "additionalImage", "textures/tasks/defaultTaskAdditional.png",
                   c._taskAdditionalImage);
        appendList(a, "numberOfTargetAreas", 1, c._taskNumberOfTargetAreas);
        appendTargetAreas(a, c._taskTargetAreas);
    }},
    {"tuio", [](Config& c, const Attributes& a) {
        readSingle(a, "enabled", c._tuioEnabled);
        readSingle(a, "port", c._tuioPort);
    }},
    {"touchreplay", [](Config& c, const Attributes& a) {
        readSingle(a, "enabled", c._touchreplayEnabled);
        readSingle(a, "file", c._touchreplayFile);
    }},
    {"painting", [](Config& c, const Attributes& a) {
        readSingle(a, "autosave_seconds", c._paintingAutosaveSeconds);
    }},
};

// ---- Elements that are read and kept but drive nothing in the program ----------------------
// Several share a layout; each layout has one reader.

// Defaults of attributes the file format leaves open: the creators without a named texture use
// the one the other creators have, and hockey_paddles.number is 0 like the other object counts.
constexpr const char* kCreatorTexture = "textures/waste_basket_small.png";
constexpr unsigned kUnplaced = Config::kUnplaced;

// Unsigned xpos and ypos whose default leaves the placement to whoever uses them.
void appendUnplacedPosition(const Attributes& a, std::vector<unsigned>& xpos,
                            std::vector<unsigned>& ypos)
{
    appendList(a, "xpos", kUnplaced, xpos);
    appendList(a, "ypos", kUnplaced, ypos);
}

// Outline of the spline-bounded containers and currents.
void appendSplineOutline(const Attributes& a, std::vector<unsigned>& controlPoints,
                         std::vector<unsigned>& splineLevel, std::vector<bool>& rounded)
{
    appendList(a, "numberofcontrolpoints", 8u, controlPoints);
    appendList(a, "splinelevel", 4u, splineLevel);
    appendList(a, "rounded", true, rounded);
}

void appendPlacedTexture(const Attributes& a, Config::PlacedTextureLists& l, const char* texture)
{
    appendList(a, "width", 64u, l.width);
    appendList(a, "height", 64u, l.height);
    appendUnplacedPosition(a, l.xpos, l.ypos);
    appendList(a, "texture", texture, l.texture);
}

void appendColorScale(const Attributes& a, Config::ColorScaleLists& l, const char* texture,
                      const char* type)
{
    appendPlacedTexture(a, l, texture);
    appendList(a, "type", type, l.type);
}

// size: default width and height of what the creator makes.
void appendCreator(const Attributes& a, Config::CreatorLists& l, unsigned size)
{
    appendList(a, "creator_width", 64u, l.creatorWidth);
    appendList(a, "creator_height", 64u, l.creatorHeight);
    appendList(a, "width", size, l.width);
    appendList(a, "height", size, l.height);
    appendUnplacedPosition(a, l.xpos, l.ypos);
    appendList(a, "texture", kCreatorTexture, l.texture);
}

void appendCurrentCreator(const Attributes& a, Config::CurrentCreatorLists& l)
{
    appendCreator(a, l, 600);
    appendSplineOutline(a, l.numberofcontrolpoints, l.splinelevel, l.rounded);
}

// Shape of a lens: ratio of its flat centre and its magnification.
void appendLensOptics(const Attributes& a, std::vector<double>& ratio,
                      std::vector<double>& magnification)
{
    appendList(a, "ratio", 0.9, ratio);
    appendList(a, "magnification", 2.0, magnification);
}

void appendLensCreator(const Attributes& a, Config::LensCreatorLists& l)
{
    appendCreator(a, l, 200);
    appendLensOptics(a, l.ratio, l.magnification);
    appendList(a, "x_up", 0.0, l.xUp);
    appendList(a, "y_up", 1.0, l.yUp);
    appendList(a, "inorout", 1u, l.inorout);
    appendList(a, "type", "Size", l.type);
    appendList(a, "dropoff", "Gaussian", l.dropoff);
}

void appendInfovisContainer(const Attributes& a, Config::InfovisContainerLists& l)
{
    appendListAs<double>(a, "width", 500u, l.width);
    appendListAs<double>(a, "height", 500u, l.height);
    appendList(a, "xpos", 300u, l.xpos);
    appendList(a, "ypos", 300u, l.ypos);
    appendList(a, "transparency", 1.0, l.transparency);
    appendListAs<double>(a, "controlwidth", 50u, l.controlwidth);
    appendList(a, "compare", 0u, l.compare);
    appendList(a, "drawlabels", 1u, l.drawlabels);
    appendList(a, "data", "data/data.xml", l.data);
    appendList(a, "font", "arial64", l.font);
    appendList(a, "type", "sunburst", l.type);
    appendList(a, "datatype", "unknown", l.datatype);
}

void appendContainer(const Attributes& a, Config::ContainerLists& l)
{
    appendList(a, "number", 0u, l.number);
    appendList(a, "width", 600.0, l.width);
    appendList(a, "height", 600.0, l.height);
    appendUnplacedPosition(a, l.xpos, l.ypos);
    appendSplineOutline(a, l.numberofcontrolpoints, l.splinelevel, l.rounded);
    appendList(a, "insideboundaryflag", false, l.insideboundaryflag);
    appendList(a, "with_images", 1u, l.withImages);
}

void appendLens(const Attributes& a, Config::LensLists& l)
{
    appendList(a, "number", 0u, l.number);
    appendListAs<unsigned>(a, "width", 200.0, l.width);
    appendListAs<unsigned>(a, "height", 200.0, l.height);
    appendList(a, "xpos", -1, l.xpos);
    appendList(a, "ypos", -1, l.ypos);
    appendLensOptics(a, l.ratio, l.magnification);
    appendList(a, "dropoff", "Gaussian", l.dropoff);
    appendList(a, "isvisible", 1u, l.isvisible);
}

void appendSurface(const Attributes& a, Config::SurfaceLists& l)
{
    appendList(a, "border", 10.0, l.border);
    appendList(a, "overflow", 50.0, l.overflow);
}

void appendTypingDevice(const Attributes& a, Config::TypingDeviceLists& l)
{
    appendListAs<unsigned>(a, "width", 300.0, l.width);
    appendListAs<unsigned>(a, "height", 300.0, l.height);
    appendList(a, "xpos", 200.0, l.xpos);
    appendList(a, "ypos", 200.0, l.ypos);
    appendList(a, "arcWidth", 200.0, l.arcWidth);
    appendList(a, "font", "arial32", l.font);
}

void appendRotatedTypingDevice(const Attributes& a, Config::RotatedTypingDeviceLists& l)
{
    appendTypingDevice(a, l);
    appendList(a, "rotation", 0.0, l.rotation);
}

void appendArea(const Attributes& a, Config::AreaLists& l)
{
    appendList(a, "xpos", 200.0, l.xpos);
    appendList(a, "ypos", 200.0, l.ypos);
    appendList(a, "width", 400.0, l.width);
    appendList(a, "height", 400.0, l.height);
}

constexpr ElementHandler kStoredOnlyElements[] = {
    {"destroyer", [](Config& c, const Attributes& a) {
        appendPlacedTexture(a, c._destroyer, "textures/waste_basket_small.png");
    }},
    {"storage_bin_creator", [](Config& c, const Attributes& a) {
        appendCurrentCreator(a, c._storageBinCreator);
    }},
    {"sticky_board_creator", [](Config& c, const Attributes& a) {
        appendCreator(a, c._stickyBoardCreator, 600);
    }},
    {"sticky_note_creator", [](Config& c, const Attributes& a) {
        appendCreator(a, c._stickyNoteCreator, 400);
    }},
    {"pool_current_creator", [](Config& c, const Attributes& a) {
        appendCurrentCreator(a, c._poolCurrentCreator);
    }},
    {"belt_current_creator", [](Config& c, const Attributes& a) {
        appendCurrentCreator(a, c._beltCurrentCreator);
    }},
    {"lens_creator", [](Config& c, const Attributes& a) {
        appendLensCreator(a, c._lensCreator);
    }},
    {"colorscale", [](Config& c, const Attributes& a) {
        appendColorScale(a, c._colorscale, "textures/bty.png", "bty");
    }},
    {"representationchanger", [](Config& c, const Attributes& a) {
        appendColorScale(a, c._representationchanger, "textures/unknownDC.png", "unknown");
    }},
    {"infoviscontainer_texture", [](Config& c, const Attributes& a) {
        appendList(a, "texture", "", c._infoviscontainerTexture.texture);
        appendList(a, "label", "", c._infoviscontainerTexture.label);
    }},
    {"infoviscontainer", [](Config& c, const Attributes& a) {
        appendInfovisContainer(a, c._infoviscontainer);
    }},
    {"containers", [](Config& c, const Attributes& a) {
        appendContainer(a, c._containers);
    }},
    {"storage_bins", [](Config& c, const Attributes& a) {
        appendContainer(a, c._storageBins);
    }},
    {"interface_currents", [](Config& c, const Attributes& a) {
        appendContainer(a, c._interfaceCurrents);
    }},
    {"sizeLens", [](Config& c, const Attributes& a) {
        appendLens(a, c._sizeLens);
    }},
    {"directionLens", [](Config& c, const Attributes& a) {
        appendLens(a, c._directionLens);
        appendList(a, "inorout", 1u, c._directionLens.inorout);
    }},
    {"control_surface", [](Config& c, const Attributes& a) {
        appendSurface(a, c._controlSurface);
    }},
    {"pool_surface", [](Config& c, const Attributes& a) {
        appendSurface(a, c._poolSurface);
    }},
    {"typingDevice", [](Config& c, const Attributes& a) {
        appendTypingDevice(a, c._typingDevice);
    }},
    {"typingDeviceBalloon", [](Config& c, const Attributes& a) {
        appendRotatedTypingDevice(a, c._typingDeviceBalloon);
    }},
    {"typingDeviceCircle", [](Config& c, const Attributes& a) {
        appendRotatedTypingDevice(a, c._typingDeviceCircle);
    }},
    {"memory_container", [](Config& c, const Attributes& a) {
        Config::MemoryContainerLists& l = c._memoryContainer;
        appendList(a, "number", 1u, l.number);
        appendArea(a, l);
        appendList(a, "shape", "ELLIPSE", l.shape);
        appendList(a, "font", "arial32", l.font);
        appendList(a, "border", "T_SOLID", l.border);
        appendList(a, "type", "SOLID", l.type);
        appendList(a, "text", "Automatically generated text", l.text);
        appendList(a, "mergeNumber", 1.0, l.mergeNumber);
        appendList(a, "color", "BLUE", l.color);
    }},
    {"ground", [](Config& c, const Attributes& a) {
        appendSurface(a, c._ground);
    }},
    {"wordmap", [](Config& c, const Attributes& a) {
        appendArea(a, c._wordmap);
        appendList(a, "data", "data/data.xml", c._wordmap.data);
        appendList(a, "font", "arial64", c._wordmap.font);
        appendList(a, "datatype", "unknown", c._wordmap.datatype);
    }},
    {"treeprofile", [](Config& c, const Attributes& a) {
        appendArea(a, c._treeprofile);
        appendListAs<unsigned>(a, "numberOfRings", 1, c._treeprofile.numberOfRings);
    }},
    {"hockey_surface", [](Config& c, const Attributes& a) {
        appendSurface(a, c._hockeySurface);
        appendList(a, "friction", 0.99, c._hockeySurface.friction);
    }},
    {"hockey_paddles", [](Config& c, const Attributes& a) {
        appendList(a, "number", 0u, c._hockeyPaddles.number);
        appendListAs<float>(a, "size", 250.0, c._hockeyPaddles.size);
    }},
    {"hockey_pucks", [](Config& c, const Attributes& a) {
        Config::HockeyPuckLists& l = c._hockeyPucks;
        appendList(a, "number", 1u, l.number);
        appendListAs<float>(a, "size", 200.0, l.size);
        appendListAs<float>(a, "speed", 5.0, l.speed);
        appendListAs<float>(a, "max_speed", 150.0, l.maxSpeed);
    }},
    {"document", [](Config& c, const Attributes& a) {
        appendList(a, "file", "fonts/arial.ttf", c._document.file);
        appendList(a, "height", 64u, c._document.height);
        appendUnplacedPosition(a, c._document.xpos, c._document.ypos);
    }},
};

const ElementHandler* findIn(std::span<const ElementHandler> handlers, const QString& name)
{
    for (const ElementHandler& handler : handlers) {
        if (name == QLatin1StringView(handler.name))
            return &handler;
    }
    return nullptr;
}

} // namespace

QTVelkConfiguration::QTVelkConfiguration(const QString& fileName)
{
    QFile file(fileName);
    read(file);
}

QTVelkConfiguration::QTVelkConfiguration(QIODevice& device)
{
    read(device);
}

void QTVelkConfiguration::read(QIODevice& device)
{
    if (device.isOpen() || device.open(QIODevice::ReadOnly)) {
        QXmlStreamReader xml(&device);
        // atEnd() turns true at the end of the document and at the first error alike; everything
        // read before an error stays.
        while (!xml.atEnd()) {
            switch (xml.readNext()) {
            case QXmlStreamReader::StartDocument:
                startDocument();
                break;
            case QXmlStreamReader::StartElement:
                startElement(xml.namespaceUri().toString(), xml.name().toString(),
                             xml.qualifiedName().toString(), xml.attributes());
                break;
            case QXmlStreamReader::EndElement:
                endElement(xml.namespaceUri().toString(), xml.name().toString(),
                           xml.qualifiedName().toString());
                break;
            case QXmlStreamReader::Characters:
                characters(xml.text().toString());
                break;
            default:
                break;
            }
        }
    }
    // Image creation always needs one size to work with.
    if (_imagesWidth.empty()) {
        _imagesNumber.push_back(0);
        _imagesWidth.push_back(100.0);
        _imagesHeight.push_back(100.0);
    }
}

bool QTVelkConfiguration::startDocument()
{
    return true;
}

bool QTVelkConfiguration::startElement(const QString&, const QString&, const QString& qName,
                                       const QXmlStreamAttributes& attributes)
{
    const ElementHandler* handler = findIn(kUsedElements, qName);
    if (!handler)
        handler = findIn(kStoredOnlyElements, qName);
    if (handler)
        handler->read(*this, attributes);
    return true;
}

bool QTVelkConfiguration::endElement(const QString&, const QString&, const QString&)
{
    return true;
}

bool QTVelkConfiguration::characters(const QString&)
{
    return true;
}
