// ToolBrushLeafGL: the invisible brush through which painting actions reach
// the canvas buffers. The canvas owns one per user as a child; each frame
// the brush moves to the position in the control table (BrushX, BrushY) and
// stamps its drop-off profile into the canvas buffers as the action code asks.
#pragma once

#include "BrushCanvas.h"
#include "ControlTable.h"
#include "GLDisplayList.h"
#include "VisComponentGL.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class epsLens;
class epsLensSurround;

// Coordinates: the brush's position is its centre in device pixels like
// every component; the control table's BrushX, BrushY hold canvas buffer
// cells, turned into device pixels with the canvas's conversions. The
// brush's own buffers have the canvas's cells per pixel, so brush cell
// (i, j) of the footprint lies on canvas cell (start + i, start + j).
//
// Own buffers, built from the lens whenever the size in cells changes:
// - DROPOFF_BUFFER: magnification - 1 of the lens (1 on the flat top,
//   falling to 0);
// - STAMP_MASK_BUFFER: 1 where the profile is above ActiveThreshold, else
//   0, so an erase reaches exactly the cells the other actions call active;
// - MOVE_FIELD_0/1/2_BUFFER: vectors of length d (the profile value)
//   pointing towards the focus (MoveStyle::Attraction), away from it
//   (Repulsion), and away from it turned by a random angle of up to 45
//   degrees either way (Scatter); (0, 0) where the profile is not active.
class ToolBrushLeafGL : public VisComponentGL
{
public:
    // The brush's cells on the canvas grid for one position, clipped to the
    // grid: canvas cells canvasX .. canvasX + width - 1 (likewise y) lie
    // under brush cells brushX .. brushX + width - 1. Empty (width or height
    // 0) when the brush lies off the grid or at 10000 cells or more.
    struct Footprint
    {
        int canvasX = 0;
        int canvasY = 0;
        int brushX = 0;
        int brushY = 0;
        int width = 0;
        int height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
    };

    // Centre (x, y) and size in device pixels; typeId is the brush type,
    // owner the user the brush belongs to.
    ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId, int owner);
    ~ToolBrushLeafGL() override;

    // ---- Framework overrides ----
    using VisComponentGL::setSize;
    // A new size in cells rebuilds the profile, mask and vector fields; any
    // new size rebuilds the indicator and the spawn offsets.
    void setSize(double width, double height) override;
    // The frame's writer: delayed clears, move to BrushX, BrushY,
    // footprint, selection, the action code's stamp.
    void renderIntoBuffers() override;
    // Rebuilds the drop-off profile, stamp mask and vector fields.
    void renderInActiveBuffers() override;
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    // The indicator round the brush (ring-menu textures, hint).
    void specificRender() override;
    // Size easing, the Wii size adjustment and the hint's fading.
    void animateMyself(double dt) override;

    // ---- Own virtual operations ----
    // Each resets the canvas cells under the brush that its buffer's last
    // write touched, when that write happened; otherwise nothing.
    virtual void clearErase();
    virtual void clearDirection();
    virtual void clearSizeDifference();
    virtual void clearTemporaryColor();
    virtual void clearSelection();
    virtual void clearDropoff();
    virtual void clearGradientOrientation();
    virtual void clearTemporaryOrientation();
    // Stamps at brush centre (x, y) in canvas cells (the brush centred on
    // that cell); previous position for the follow style; flag is kept as
    // the written flag (false: the next frame does not clear the stamp).
    virtual void writeOrientation(int x, int y, int previousX, int previousY, int style, bool flag);
    virtual void writeSizeDifference(int x, int y, float amount, bool flag);

    // ---- Operations of the canvas and the widget ----
    // Centre to device (x, y).
    void moveTo(double x, double y);
    // Activates for rendering and brings the brush to the front.
    void show();
    void hide();
    bool isShown() const { return isActiveForRendering(); }
    // Square brush of side size (at least MinimumSize); animate eases
    // towards it.
    void setSize(double size, bool animate);
    // What the indicator shows (0: nothing; other numbers name the action
    // the Wii gestures chose).
    void setHint(int hint);
    int getHint() const { return _hint; }
    // Wii size adjustment: from the next frame on the brush grows (positive)
    // or shrinks by amount pixels per frame, within MinimumSize ..
    // MaximumSize, until endAdjust.
    void adjust(double amount);
    void endAdjust();
    bool isAdjusting() const { return _adjustRate != 0.0; }
    // A contact pressed on or left the canvas.
    void notifyPress();
    void notifyRelease();
    // The ring-menu textures drawn round the brush, their size and opacity.
    void setRingMenu(const std::vector<unsigned>& textures, double width, double height, double opacity);
    const std::vector<unsigned>& getRingMenuTextures() const { return _ringTextures; }
    // Moves to device (x, y) and creates trunc(amount x pi x D x D x 1e-5)
    // primitives round it as the create stamp does (D: cell BrushSize).
    // Returns how many were made.
    int stampCreate(int amount, double x, double y);
    // One primitive of the current element kind right at device (x, y), as
    // the create stamp would make it (a stroke only on the screen). Returns
    // whether one was made.
    bool createPrimitiveAt(double x, double y);
    // Writes -amount x mask into eraseBuffer round device (x, y) now (the
    // replay of a contact's first positions); amount < 0.
    void stampErase(float amount, double x, double y);
    // While frozen the brush neither follows controlBuffer nor erases.
    void setFrozen(bool frozen) { _frozen = frozen; }
    bool isFrozen() const { return _frozen; }
    // The canvas the brush stamps into, as its parent sets it on adoption
    // (null: the brush follows no contact and creates nothing).
    void setCanvas(BrushCanvas* canvas) { _canvas = canvas; }
    BrushCanvas* getCanvas() const { return _canvas; }
    // The element image new strokes wear (the Wii texture step).
    void setElementTexture(unsigned textureId) { _textureId = textureId; }
    unsigned getElementTexture() const { return _textureId; }

    // The footprint with the brush centred at device (x, y), or at the
    // continuous canvas buffer coordinates (cellX, cellY) (cell c spans
    // c .. c + 1). Empty without a parent.
    Footprint footprintAt(double x, double y) const;
    Footprint footprintAtCell(double cellX, double cellY) const;

    int getTypeId() const { return _typeId; }
    int getOwner() const { return _owner; }
    const std::vector<float>& getSpawnX() const { return _spawnX; }
    const std::vector<float>& getSpawnY() const { return _spawnY; }

    static constexpr double ActiveThreshold = 0.1;   // drop-off above this is "active"
    static constexpr int SpawnCount = 4096;
    static constexpr int NoiseCount = 1024;
    static constexpr double MinimumSize = 10.0;
    static constexpr double MaximumSize = 1000.0;

private:
    // The canvas buffers the brush writes, in the order of the clears.
    enum Target
    {
        TargetErase,
        TargetDirection,
        TargetSizeDifference,
        TargetTemporaryColor,
        TargetSelection,
        TargetDropoff,
        TargetGradientOrientation,
        TargetTemporaryOrientation,
        TargetCount
    };
    // Canvas cells x0 .. x1, y0 .. y1 (inclusive); empty when x1 < x0.
    struct CellRect
    {
        int x0 = 0;
        int y0 = 0;
        int x1 = -1;
        int y1 = -1;
        bool empty() const { return x1 < x0 || y1 < y0; }
    };

    // ---- Frame steps (ToolBrushLeafGL.cpp) ----
    void runClears();
    void followControlPosition();
    void stampAction(const Footprint& f);
    // The canvas's conversions: device point <-> continuous canvas buffer
    // coordinates (cell c spans c .. c + 1).
    bool deviceToCanvasCell(double x, double y, double& cellX, double& cellY) const;
    void canvasCellToDevice(double cellX, double cellY, double& x, double& y) const;
    // The canvas's control table (null without a parent) and its cells.
    BufferTemplate<float>* controlTable() const;
    float control(ControlCell cell) const;
    void rebuildSpawnOffsets();
    void indicatorChanged();
    // The create stamp: count primitives round device (x, y); single puts
    // a lone stroke right at (x, y). Returns how many were made.
    int createPrimitives(int count, bool single, double x, double y);
    // What the create stamp makes of the current element kind at device
    // (px, py); nothing for an unknown kind or a stroke off the screen.
    std::optional<PrimitiveParams> paramsAt(double px, double py) const;

    // ---- Stamps (ToolBrushStamps.cpp) ----
    void markWritten(Target target, const Footprint& f);
    void clearTarget(Target target);
    void writeSelection(const Footprint& f);
    void stampSize(const Footprint& f, float amount);
    void stampColor(const Footprint& f);
    void stampEraseMask(const Footprint& f, float amount);
    bool stampMove(const Footprint& f, MoveStyle style);
    void stampOrientation(const Footprint& f, OrientationStyle style, float moveX, float moveY);
    void buildMaskAndFields();

    int _typeId;
    int _owner;
    BrushCanvas* _canvas = nullptr;
    float _surroundFraction = 0.7f;
    std::unique_ptr<epsLensSurround> _surround;
    std::unique_ptr<epsLens> _lens;
    std::array<float, NoiseCount> _noise{};
    std::vector<float> _spawnX;
    std::vector<float> _spawnY;
    float _spawnDiameter = 0.0f;     // D the offsets were drawn for
    float _lastX = 0.0f;
    float _lastY = 0.0f;
    std::array<bool, TargetCount> _written{};
    std::array<CellRect, TargetCount> _writtenCells{};   // bounding box of the writes since the clear
    bool _eraseDelay = false;
    bool _selectionDelay = false;
    bool _frozen = false;
    unsigned _textureId = 0;
    int _profileWidth = 0;           // cells of the buffers last built
    int _profileHeight = 0;

    // ---- Indicator (ToolBrushIndicator.cpp) ----
    void compileIndicator();
    int ringTextureForHint() const;
    int _hint = 0;
    float _hintHoldFrames = 60.0f;   // frames a hint stays fully visible
    float _hintFadeFrames = 30.0f;   // frames it then takes to fade out
    int _outlineWidth = 5;           // pixels of the outline ring
    float _hintAge = 0.0f;           // frames since the hint was set or pressed
    bool _pressed = false;
    double _adjustRate = 0.0;
    std::vector<unsigned> _ringTextures;
    double _ringWidth = 200.0;
    double _ringHeight = 200.0;
    double _ringOpacity = 1.0;
    bool _indicatorDirty = true;
    GLDisplayList _indicator;
};
