// PaletteLeafGL: the round paint palette on the canvas. Six wells, a mixing
// area where dropped paints form new swatches and mix, links that show what
// was mixed from what, a ring on the current paint, and control regions that
// set tool parameters by press, drag and flick. Every frame it publishes the
// current paint and layer into the canvas's control table.
//
// Input and state are GL-free (PaletteLeafGL.cpp, PaletteGestures.cpp); the
// drawing is in PaletteRender.cpp.
#pragma once

#include "BoundedContainerGL.h"
#include "Color.h"
#include "ColorGradientGL.h"
#include "ColorIndicatorGL.h"
#include "ColorSwatchGL.h"
#include "GLDisplayList.h"
#include "Spline.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class CanvasCompositeGL;
class ToolBrushLeafGL;

// Coordinates used below:
// - device: screen pixels, origin bottom left (what hitLocalBuffer receives);
// - palette frame: pixels from the palette's centre, y up (swatches, links,
//   the indicator and drawing);
// - top-left local: pixels from the palette's top-left corner, y down (press
//   points, gestures, dropPaint and evaluateGesture). A point off the palette
//   has both top-left local coordinates at -1.
class PaletteLeafGL : public BoundedContainerGL
{
public:
    static constexpr unsigned NoWell = 6;
    static constexpr float FleeStep = 4.0f;           // pixels a frame away from the brush
    static constexpr float MinimumBrushSize = 16.0f;  // the brush-size drag stays above this
    static constexpr float OffsetScale = 0.03f;       // icon offsets and slider per pixel
    // Positions of the texture ids handed to the constructor (the
    // configuration's palette texture set, in its order).
    enum Texture : unsigned
    {
        TexStrokeMode, TexStrokeModeActive, TexSave, TexSaveActive, TexEmptyCanvas, TexEmptyCanvasActive,
        TexLayer, TexLayerActive, TexDiameter, TexDiameterActive, TexCreateErase, TexCreateEraseActive,
        TexSize, TexSizeActive, TexOrientation, TexOrientationActive, TexGravitate, TexGravitateActive,
        TexOrbit, TexOrbitActive, TexRandom, TexRandomActive, TexAttraction, TexAttractionActive,
        TexRepulsion, TexRepulsionActive, TexDirectionFollow, TexDirectionFollowActive,
        TexDirectionRandom, TexDirectionRandomActive, TexClearMixingArea, TexClearMixingAreaActive,
        TexOrientationStyle, TexDirectionStyle, TexMode, TexEmptyCanvasApply, TexPrimitiveType,
        TexPrimitiveStroke, TexPrimitiveTile, TexPrimitivePoint, TexPalette, TextureCount
    };

    // A round palette of the given width (height is made equal) centred at
    // device (x, y). opacity scales the drawing's alpha; brushTypeId and
    // defaultBrushSize are the configured tool-brush values (the brush size
    // starts there); textures as listed in Texture (missing ones are 0);
    // the element selector offers sectorCount element images plus points
    // and tiles.
    PaletteLeafGL(TabletopVis* scene, double x, double y, double width, double height, float opacity,
                  float brushTypeId, float defaultBrushSize, std::vector<unsigned> textures,
                  unsigned sectorCount = 7);
    ~PaletteLeafGL() override;

    // ---- Framework overrides ----
    // Resizes round the centre to the contact and stays round.
    void interactiveResizeCenter(double x, double y) override;
    // Only the rim moves and turns the palette.
    bool checkPositionForRNT(double x, double y) const override;
    VisComponent* getComposite() override { return nullptr; }
    // Press and drag at device (x, y): picks the region, takes paint, runs
    // drags and moves mixed paints. Returns 3 for the clear button, any
    // other cell of the palette and an empty mixing cell, else 30.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // Drops paint, evaluates the gesture, ends the press; returns the region
    // of the press (0 when none was tracked).
    int releaseLocalBuffer(int x, int y, int device) override;
    // Publishes the current layer, highlighted layer and paint colour.
    void renderIntoBuffers() override;
    double getXRelativeScalePos() const override { return 0.6; }
    double getYRelativeScalePos() const override { return 1.21; }
    double getOneOverX() const override { return 1.0 / 0.6; }
    double getOneOverY() const override { return 1.0 / 1.21; }
    // Flees a brush in use while the centre is on the screen.
    void animateMyself(double dt) override;
    // Sizes, outlines, wells and indicator for the current size.
    void initialize() override;
    // Region-id map (HIT_BUFFER) and paint map (COLOR_BUFFER).
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    void renderInActiveBuffers() override;
    void specificRender() override;
    void specificRenderForPicking() override;

    // ---- Own virtual operations ----
    // Deletes every swatch and link (wells included), then clearMixingArea.
    virtual void deleteSwatchesAndLinks();
    // Redraws the paint map: empty, then every link band, then every mixed
    // swatch's paint over its disc.
    virtual void clearMixingArea();
    // Reads the screen and writes it as "layerscreenshot<layer>.bmp"
    // (context current). Returns the file name, "" on failure.
    virtual std::string saveLayerImage();
    // A held well's paint let go at top-left local (x, y): mixes into the
    // mixed swatch there or makes a new one. A moved swatch is put down.
    virtual void dropPaint(double x, double y);
    // The flick or drag that ends at top-left local (x, y).
    virtual void evaluateGesture(double x, double y);
    // Leaves the next drawn frame to saveLayerImage: the palette draws
    // nothing in it, reads the screen instead and then shows again.
    virtual void hideForScreenshot();

    // A new mixed swatch of well's paint at palette-frame point at, linked
    // from the well; the paint map is not redrawn (clearMixingArea).
    void addMixedPaint(const Vector2d& at, unsigned well);
    // Mixed paints and links put back as they were (a painting read back
    // from a file): removeMixedPaints keeps the six wells; the two adders
    // append in the palette frame; clearMixingArea redraws the paint map.
    void removeMixedPaints();
    void addSwatch(float x, float y, float radius, const Color& displayColor, const Color& paintColor);
    void addLink(float x1, float y1, float x2, float y2, float halfWidth, const Color& displayColor1,
                 const Color& paintColor1, const Color& displayColor2, const Color& paintColor2);

    // ---- State (for the canvas, the window and tests) ----
    const std::vector<ColorSwatchGL*>& getSwatches() const { return _swatches; }
    const std::vector<ColorGradientGL*>& getLinks() const { return _links; }
    const ColorIndicatorGL* getIndicator() const { return _indicator.get(); }
    Color getCurrentColor() const { return _currentColor; }
    unsigned getSelectedWell() const { return _selectedWell; }
    unsigned getMovingSwatch() const { return _movingSwatch; }
    unsigned getHitRegion() const { return _hitRegion; }
    unsigned getDragRegion() const { return _dragRegion; }
    unsigned getInteractionState() const { return _interactionState; }
    bool isPressed() const { return _pressed; }
    bool isResizingHandle() const { return _resizing; }
    bool isToolEnabled() const { return _toolEnabled; }
    unsigned getSectorCount() const { return _sectorCount; }
    unsigned getCurrentLayer() const { return _currentLayer; }
    unsigned getLayerCount() const { return _layerCount; }
    float getSliderValue() const { return _sliderValue; }
    float getWellRadius() const { return _wellRadius; }
    float getLinkHalfWidth() const { return _linkHalfWidth; }
    float getIconOffset(unsigned region) const;
    int getMoveStyle() const { return _moveStyle; }
    int getOrientationStyle() const { return _orientationStyle; }
    bool isScreenshotPending() const { return _screenshotPending; }
    float getBrushTypeId() const { return _brushTypeId; }
    float getDefaultBrushSize() const { return _defaultBrushSize; }
    // Centre of region id (3 .. 20) in the palette frame, pixels.
    Vector2d regionCentre(unsigned id) const;
    // The region id at top-left local (x, y), 0 off the map.
    unsigned regionAt(double x, double y) const;
    // Palette frame <-> top-left local.
    Vector2d frameFromTopLeft(double x, double y) const;
    Vector2d topLeftFromFrame(const Vector2d& p) const;
    // Device -> top-left local; both -1 off the palette.
    Vector2d topLeftFromDevice(double x, double y) const;

private:
    BufferTemplate<float>* controlTable() const;
    CanvasCompositeGL* canvas() const;
    ToolBrushLeafGL* toolBrush() const;
    void showToolBrush() const;
    void hideToolBrush() const;
    // Buffer coordinates (fractional cells) of a palette-frame point.
    Vector2d cellOf(const Vector2d& p) const;
    // The press at top-left local (x, y) on region _hitRegion.
    void pressRegion(double x, double y);
    void takeWellPaint(unsigned well);
    void takeMixedPaint(double x, double y);
    void pickPaint(const Color& paint);
    void drag(double x, double y);
    void moveSwatchTo(unsigned index, const Vector2d& p);
    bool insideMixingRect(double x, double y) const;
    unsigned findMixedSwatch(const Color& paint) const;
    // Side of the square whose corner lies at device (x, y), centre kept.
    double contactSpan(double x, double y) const;
    void resizeToContact(double x, double y);
    void buildWells();
    void buildOutlines();
    void flick(double dx, double dy);
    void elementSelectorFlick(double dx, double dy);
    void resetCanvas();
    void endInteractionState();
    void setIconOffset(unsigned region, double y);
    // Drawing helpers (PaletteRender.cpp).
    void compileDecorations();
    void drawIcon(unsigned region, unsigned texture, double sizeFactor) const;
    unsigned iconTextureFor(unsigned region) const;
    unsigned texture(unsigned which) const { return which < _textures.size() ? _textures[which] : 0u; }

    std::vector<ColorSwatchGL*> _swatches;
    std::vector<ColorGradientGL*> _links;
    std::unique_ptr<ColorIndicatorGL> _indicator;
    Color _currentColor{100, 100, 100};
    unsigned _sectorCount;
    unsigned _selectedWell = NoWell;
    unsigned _movingSwatch = 0;
    unsigned _hitRegion = 0;
    unsigned _dragRegion = 0;
    unsigned _interactionState = 0;
    bool _pressed = false;
    bool _resizing = false;
    Vector2d _pressPoint;
    Vector2d _lastPoint;
    int _previousDragValue = 0;
    bool _hasDragSample = false;
    bool _rimPress = false;   // the press moves and turns the palette
    double _resizeGrip = 1.0; // palette side / contact span at the handle's press
    bool _toolEnabled = true;
    float _wellRadius = 0.0f;
    float _linkHalfWidth = 0.0f;
    float _iconSizeLarge = 0.1f;
    float _iconSizeSmall = 0.07f;
    std::array<float, 18> _iconX{};
    std::array<float, 18> _iconY{};
    std::array<float, 4> _borderColor{};
    std::array<float, 4> _highlightColor{};
    float _borderWidth = 0.0f;
    unsigned _currentLayer = 0;
    unsigned _layerCount = 0;
    float _sliderValue = 0.0f;
    float _offset12 = 0.0f;
    float _offset13 = 0.0f;
    int _moveStyle = 0;
    int _orientationStyle = 3;
    bool _screenshotPending = false;
    float _opacity;
    float _brushTypeId;
    float _defaultBrushSize;
    std::vector<unsigned> _textures;
    Spline _paletteOutline;
    Spline _mixingOutline;
    GLDisplayList _decorations;   // 0: palette disc, 1: mixing area rim
    bool _decorationsDirty = true;
};
