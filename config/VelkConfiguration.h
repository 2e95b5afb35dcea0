// VelkConfiguration: every setting of a run, as read from the XML configuration file.
// Plain data: consumers read the public members; nothing writes them once the reader is done.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <vector>

// Naming. A single key element.attribute is the member _elementAttribute, both parts in lower
// camel case (mainwindow.fullscreen_real -> _mainwindowFullscreenReal). A repeated element used by
// the program keeps one std::vector per attribute under the same scheme (_paletteXpos); entry i of
// every list of an element belongs to its i-th occurrence in the file, so they all have the same
// length. Repeated elements that are only stored share a few layouts and are kept as one struct of
// lists each (_sizeLens.ratio), after the keys the program uses.
//
// Texts are owned std::string values holding the attribute text as UTF-8; c_str() gives the
// zero-terminated bytes that C APIs (image and font loaders) take.
class VelkConfiguration {
public:
    // xpos/ypos default of stored-only elements whose positions are unsigned: -1, i.e. placement
    // left to whoever would use them.
    static constexpr unsigned kUnplaced = std::numeric_limits<unsigned>::max();

    // Positions within one texture set of _cornermenuTextures.
    struct CornerMenuTexture {
        enum : std::size_t {
            Background, Dummy, Create, Erase, OrientFollow, OrientCircular, OrientRadial,
            MoveFollow, MoveAttraction, MoveRepulsion, ResizeBigger, ResizeSmaller, Count
        };
    };
    // Positions within one texture set of _ringmenuTextures.
    struct RingMenuTexture {
        enum : std::size_t {
            Create, Erase, OrientFollow, OrientCircular, OrientRadial, MoveFollow, MoveAttraction,
            MoveRepulsion, ResizeBigger, ResizeSmaller, ChangeDiameter, ChangePrimitive, Count
        };
    };
    // Positions within one texture set of _strokemenuTextures.
    struct StrokeMenuTexture {
        enum : std::size_t { Background, Accept, Cancel, Sketch, Count };
    };
    // Positions within one texture set of _paletteTextures.
    struct PaletteTexture {
        enum : std::size_t {
            StrokeMode, StrokeModeActive, Save, SaveActive, EmptyCanvas, EmptyCanvasActive,
            Layer, LayerActive, Diameter, DiameterActive, CreateErase, CreateEraseActive,
            Size, SizeActive, Orientation, OrientationActive, Gravitate, GravitateActive,
            Orbit, OrbitActive, Random, RandomActive, Attraction, AttractionActive,
            Repulsion, RepulsionActive, DirectionFollow, DirectionFollowActive,
            DirectionRandom, DirectionRandomActive, ClearMixingArea, ClearMixingAreaActive,
            OrientationStyle, DirectionStyle, Mode, EmptyCanvasApply, PrimitiveType,
            PrimitiveStroke, PrimitiveTile, PrimitivePoint, Palette, Count
        };
    };

    // The four target areas of one task: column k holds target area k + 1.
    struct TargetAreaTable {
        std::array<int, 4> startX{}, startY{}, endX{}, endY{}, diameter{};
    };

    // Layouts of the stored-only elements (one struct per layout, one list per attribute).
    struct PlacedTextureLists {
        std::vector<unsigned> width, height, xpos, ypos;
        std::vector<std::string> texture;
    };
    struct ColorScaleLists : PlacedTextureLists {
        std::vector<std::string> type;
    };
    struct CreatorLists {
        std::vector<unsigned> creatorWidth, creatorHeight, width, height, xpos, ypos;
        std::vector<std::string> texture;
    };
    struct CurrentCreatorLists : CreatorLists {
        std::vector<unsigned> numberofcontrolpoints, splinelevel;
        std::vector<bool> rounded;
    };
    struct LensCreatorLists : CreatorLists {
        std::vector<double> ratio, magnification, xUp, yUp;
        std::vector<unsigned> inorout;
        std::vector<std::string> type, dropoff;
    };
    struct InfovisTextureLists {
        std::vector<std::string> texture, label;
    };
    struct InfovisContainerLists {
        std::vector<unsigned> width, height, xpos, ypos, controlwidth, compare, drawlabels;
        std::vector<double> transparency;
        std::vector<std::string> data, font, type, datatype;
    };
    struct ContainerLists {
        std::vector<unsigned> number, xpos, ypos, numberofcontrolpoints, splinelevel, withImages;
        std::vector<double> width, height;
        std::vector<bool> insideboundaryflag, rounded;
    };
    struct LensLists {
        std::vector<unsigned> number, isvisible;
        std::vector<double> width, height, ratio, magnification;
        std::vector<int> xpos, ypos;
        std::vector<std::string> dropoff;
    };
    struct DirectionLensLists : LensLists {
        std::vector<unsigned> inorout;
    };
    struct SurfaceLists {
        std::vector<double> border, overflow;
    };
    struct HockeySurfaceLists : SurfaceLists {
        std::vector<double> friction;
    };
    struct TypingDeviceLists {
        std::vector<double> width, height, xpos, ypos, arcWidth;
        std::vector<std::string> font;
    };
    struct RotatedTypingDeviceLists : TypingDeviceLists {
        std::vector<double> rotation;
    };
    struct AreaLists {
        std::vector<double> xpos, ypos, width, height;
    };
    struct MemoryContainerLists : AreaLists {
        std::vector<unsigned> number;
        std::vector<double> mergeNumber;
        std::vector<std::string> shape, font, border, type, text, color;
    };
    struct WordmapLists : AreaLists {
        std::vector<std::string> data, font, datatype;
    };
    struct TreeprofileLists : AreaLists {
        std::vector<int> numberOfRings;
    };
    struct HockeyPaddleLists {
        std::vector<unsigned> number;
        std::vector<double> size;
    };
    struct HockeyPuckLists {
        std::vector<unsigned> number;
        std::vector<double> size, speed, maxSpeed;
    };
    struct DocumentLists {
        std::vector<std::string> file;
        std::vector<unsigned> height, xpos, ypos;
    };

    VelkConfiguration() = default;
    VelkConfiguration(const VelkConfiguration&) = default;
    VelkConfiguration& operator=(const VelkConfiguration&) = default;
    virtual ~VelkConfiguration();

    // ---- Single keys -------------------------------------------------------------------------
    // Defaults not fixed by the file format: demo 0 is the stroke demo; the inputarea bounds are
    // contact areas in square inches of the board (physical size below), ordered pen < one finger
    // < two fingers < fist < hand without gaps.

    // startup: demo built at start (0 strokes, 1 tiles, 2 points, 3 sketched stroke shapes).
    unsigned _startupDemoType = 0;
    bool _startupAnimation = false;
    // mainwindow: size in pixels (also the reference image size) and full-screen mode.
    unsigned _mainwindowWidth = 700;
    unsigned _mainwindowHeight = 525;
    bool _mainwindowFullscreen = true;
    bool _mainwindowFullscreenReal = false;
    // globalbuffers: size of the scene's global buffers.
    unsigned _globalbuffersWidth = 700;
    unsigned _globalbuffersHeight = 525;
    // userdata: direct-touch users and Wii Remotes.
    unsigned _userdataNumber = 1;
    unsigned _userdataWiis = 0;
    // wii: joystick speed (never 0 or less) and pointing mode.
    float _wiiJoystickSpeedFactor = 10.0f;
    bool _wiiUseJoystickForPointing = false;
    // touchextend: draw touch indicators with their extent.
    bool _touchextendRender = false;
    // smartboard: physical size in inches and coordinate resolution.
    double _smartboardPhysicalWidth = 57.5;
    double _smartboardPhysicalHeight = 43.3;
    unsigned _smartboardResolutionWidth = 4000;
    unsigned _smartboardResolutionHeight = 4000;
    // inputarea: contact-area bounds of each posture, square inches.
    double _inputareaPenMin = 0.0;
    double _inputareaPenMax = 0.05;
    double _inputareaSingleFingerMin = 0.05;
    double _inputareaSingleFingerMax = 0.6;
    double _inputareaTwoFingerMin = 0.6;
    double _inputareaTwoFingerMax = 1.5;
    double _inputareaFistMin = 1.5;
    double _inputareaFistMax = 6.0;
    double _inputareaHandMin = 6.0;
    double _inputareaHandMax = 100.0;
    // tossing: scene tossing parameters.
    double _tossingFriction = 0.98;
    double _tossingCutoff = 0.15;
    // rnt: scene rotate-and-translate parameters.
    double _rntFactor = 0.5;
    double _rntCircleTime = 2.0;
    // graphics: texture and swap settings (attribute names linear-filering, texure-compression).
    bool _graphicsVsync = false;
    bool _graphicsMipmapping = true;
    bool _graphicsLinearFilering = true;
    bool _graphicsTexureCompression = true;
    bool _graphicsArbTextureCompression = false;
    // object_add_and_remove: primitives per add or remove command.
    unsigned _objectAddAndRemoveNumberPerStep = 100;
    // containersettings: the scene's container settings.
    double _containersettingsInitialMaxWidth = 100.0;
    double _containersettingsBorderWidth = 15.0;
    double _containersettingsOpacity = 0.75;
    unsigned _containersettingsInsideCPSteps = 3;
    unsigned _containersettingsOutsideCPSteps = 3;
    // inside_color, border_color, highlight_color: scene colours, 0 to 1.
    float _insideColorR = 0.16f, _insideColorG = 0.12f, _insideColorB = 0.24f;
    float _borderColorR = 0.2f, _borderColorG = 0.5f, _borderColorB = 0.9f;
    float _highlightColorR = 0.8f, _highlightColorG = 0.0f, _highlightColorB = 0.0f;
    // toolglass: tool brush diameter scaling speed.
    double _toolglassDiameterScaleSpeed = 100.0;
    // strokesim: stroke simulation; an element that omits an attribute resets it to this default.
    double _strokesimK = 0.05;
    double _strokesimDamping = 0.58;
    double _strokesimDuctus = 2.0;
    double _strokesimMaxTh = 62.0;
    double _strokesimMinTh = 1.0;
    double _strokesimMass = 1.0;
    double _strokesimVhInit = 0.05;
    // osc: local UDP ports (16-bit) of the OSC receive socket and of the second socket.
    unsigned _oscReceivePort = 7000;
    unsigned _oscSendPort = 7001;
    // tuio: TUIO touch input over UDP.
    bool _tuioEnabled = true;
    unsigned _tuioPort = 3333;
    // touchreplay: a touch log (as the study writes them) played back as touch input at start.
    bool _touchreplayEnabled = false;
    std::string _touchreplayFile;
    // painting: seconds between autosaves of the painting into the run directory (0: none).
    unsigned _paintingAutosaveSeconds = 60;

    // ---- Repeated elements used by the program ------------------------------------------------

    // textures: numbered texture sets (printf-style source pattern).
    std::vector<unsigned> _texturesNumber;
    std::vector<std::string> _texturesSource;
    // font: font files and sizes.
    std::vector<std::string> _fontFile;
    std::vector<unsigned> _fontSize;
    // images: image primitives; never empty after reading.
    std::vector<unsigned> _imagesNumber;
    std::vector<double> _imagesWidth, _imagesHeight;
    // strokes, tiles, points, geostrokes: primitive sets of the demos.
    std::vector<unsigned> _strokesNumber;
    std::vector<double> _strokesWidth, _strokesHeight;
    std::vector<bool> _strokesDoBumpMapping;
    std::vector<unsigned> _tilesNumber;
    std::vector<double> _tilesWidth, _tilesHeight;
    std::vector<bool> _tilesDoDodging;
    std::vector<unsigned> _pointsNumber;
    std::vector<double> _pointsWidth, _pointsHeight;
    std::vector<unsigned> _geostrokesNumber;
    std::vector<double> _geostrokesWidth, _geostrokesHeight;
    std::vector<int> _geostrokesNumSegments;
    // canvas_surface: canvases.
    std::vector<double> _canvasSurfaceBorder, _canvasSurfaceOverflow;
    std::vector<unsigned> _canvasSurfaceNumberOfToolbrushes;
    std::vector<double> _canvasSurfaceInitialStrokeWidth;
    std::vector<std::string> _canvasSurfaceTexture;
    // geostrokes_build_canvas_surface: stroke build canvases.
    std::vector<double> _geostrokesBuildCanvasSurfaceBorder, _geostrokesBuildCanvasSurfaceOverflow;
    // contextmenu: placement in screen pixels, behaviour, one texture set (texture0) each.
    std::vector<unsigned> _contextmenuWidth, _contextmenuHeight, _contextmenuXpos, _contextmenuYpos;
    std::vector<double> _contextmenuOpacity;
    std::vector<bool> _contextmenuRnt, _contextmenuTossing;
    std::vector<std::vector<std::string>> _contextmenuTextures;
    // cornermenu: as contextmenu; texture sets indexed by CornerMenuTexture.
    std::vector<unsigned> _cornermenuWidth, _cornermenuHeight, _cornermenuXpos, _cornermenuYpos;
    std::vector<double> _cornermenuOpacity;
    std::vector<bool> _cornermenuRnt, _cornermenuTossing;
    std::vector<std::vector<std::string>> _cornermenuTextures;
    // ringmenu: size, opacity; texture sets indexed by RingMenuTexture.
    std::vector<unsigned> _ringmenuWidth, _ringmenuHeight;
    std::vector<double> _ringmenuOpacity;
    std::vector<std::vector<std::string>> _ringmenuTextures;
    // strokemenu: as contextmenu; texture sets indexed by StrokeMenuTexture.
    std::vector<unsigned> _strokemenuWidth, _strokemenuHeight, _strokemenuXpos, _strokemenuYpos;
    std::vector<double> _strokemenuOpacity;
    std::vector<bool> _strokemenuRnt, _strokemenuTossing;
    std::vector<std::vector<std::string>> _strokemenuTextures;
    // palette: one palette each; texture sets indexed by PaletteTexture.
    std::vector<unsigned> _paletteNumber;
    std::vector<double> _paletteWidth, _paletteHeight;
    std::vector<unsigned> _paletteXpos, _paletteYpos;
    std::vector<float> _paletteOpacity, _paletteToolbrushTypeId, _paletteDefaultToolbrushSize;
    std::vector<std::vector<std::string>> _paletteTextures;
    // task: study tasks in document order, each with its target-area table.
    std::vector<int> _taskNumber, _taskInputDevice, _taskType, _taskBlockNumber;
    std::vector<int> _taskElementsType, _taskElementsInitNumber;
    std::vector<int> _taskStartsSequence, _taskEndsSequence;
    std::vector<std::string> _taskDescription, _taskAdditionalDescription;
    std::vector<std::string> _taskImage, _taskAdditionalImage;
    std::vector<int> _taskNumberOfTargetAreas;
    std::vector<TargetAreaTable> _taskTargetAreas;

    // ---- Repeated elements that are only stored ---------------------------------------------
    PlacedTextureLists _destroyer;
    CurrentCreatorLists _storageBinCreator, _poolCurrentCreator, _beltCurrentCreator;
    CreatorLists _stickyBoardCreator, _stickyNoteCreator;
    LensCreatorLists _lensCreator;
    ColorScaleLists _colorscale, _representationchanger;
    InfovisTextureLists _infoviscontainerTexture;
    InfovisContainerLists _infoviscontainer;
    ContainerLists _containers, _storageBins, _interfaceCurrents;
    LensLists _sizeLens;
    DirectionLensLists _directionLens;
    SurfaceLists _controlSurface, _poolSurface, _ground;
    TypingDeviceLists _typingDevice;
    RotatedTypingDeviceLists _typingDeviceBalloon, _typingDeviceCircle;
    MemoryContainerLists _memoryContainer;
    WordmapLists _wordmap;
    TreeprofileLists _treeprofile;
    HockeySurfaceLists _hockeySurface;
    HockeyPaddleLists _hockeyPaddles;
    HockeyPuckLists _hockeyPucks;
    DocumentLists _document;
};
