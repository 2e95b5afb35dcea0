// ToolBrushLeafGL: the invisible brush through which painting actions reach
// the canvas buffers. The canvas owns one per user as a child; each frame
// the brush moves to the position in controlBuffer row 6 and stamps its
// drop-off profile into the canvas buffers as the action code asks.
#pragma once

#include "GLDisplayList.h"
#include "VisComponentGL.h"

#include <array>
#include <memory>
#include <vector>

class CanvasCompositeGL;
class epsLens;
class epsLensSurround;

// Coordinates: the brush's position is its centre in device pixels like
// every component; controlBuffer row 6 holds canvas buffer cells, turned
// into device pixels with the canvas's conversions. The brush's own buffers
// (drop-off profile 19, stamp mask 20, vector fields 21 to 23) have the
// canvas's cells per pixel, so brush cell (i, j) of the footprint lies on
// canvas cell (start + i, start + j).
class ToolBrushLeafGL : public VisComponentGL
{
public:
    // Centre (x, y) and size in device pixels; typeId is the brush type,
    // owner the user the brush belongs to.
    ToolBrushLeafGL(TabletopVis* scene, double x, double y, double width, double height, int typeId, int owner);
    ~ToolBrushLeafGL() override;

    // ---- Framework overrides ----
    using VisComponentGL::setSize;
    // A new size rebuilds the profile, mask and vector fields.
    void setSize(double width, double height) override;
    // The frame's writer: delayed clears, move to controlBuffer row 6,
    // footprint, selection, the action code's stamp.
    void renderIntoBuffers() override;
    // Rebuilds the drop-off profile, stamp mask and vector fields.
    void renderInActiveBuffers() override;
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    // The indicator round the brush (ring-menu textures, hint).
    void specificRender() override;
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
    // Stamps at brush centre (x, y) in canvas cells; previous position for
    // the follow style; flag is kept as the written flag.
    virtual void writeOrientation(int x, int y, int previousX, int previousY, int style, bool flag);
    virtual void writeSizeDifference(int x, int y, float amount, bool flag);

    // ---- Operations of the canvas and the widget ----
    // Centre to device (x, y).
    void moveTo(double x, double y);
    // Activates for rendering and brings the brush to the front.
    void show();
    void hide();
    bool isShown() const { return isActiveForRendering(); }
    // Square brush of side size; animate eases towards it.
    void setSize(double size, bool animate);
    // What the indicator shows (0: nothing; other numbers name the action
    // the Wii gestures chose).
    void setHint(int hint);
    int getHint() const { return _hint; }
    // Wii size adjustment: grows (positive) or shrinks the brush while the
    // gesture lasts; endAdjust ends it.
    void adjust(double amount);
    void endAdjust();
    // A contact pressed on or left the canvas.
    void notifyPress();
    void notifyRelease();
    // The ring-menu textures drawn round the brush, their size and opacity.
    void setRingMenu(const std::vector<unsigned>& textures, double width, double height, double opacity);
    // Moves to device (x, y) and creates trunc(amount x pi x D x D x 1e-5)
    // primitives round it as the create stamp does (D: controlBuffer (0,2)).
    // Returns how many were made.
    int stampCreate(int amount, double x, double y);
    // Writes -amount x mask into eraseBuffer round device (x, y) now (the
    // replay of a contact's first positions); amount < 0.
    void stampErase(float amount, double x, double y);
    // While frozen the brush neither follows controlBuffer nor erases.
    void setFrozen(bool frozen) { _frozen = frozen; }
    bool isFrozen() const { return _frozen; }
    // The element image new strokes wear (the Wii texture step).
    void setElementTexture(unsigned textureId) { _textureId = textureId; }

    int getTypeId() const { return _typeId; }
    int getOwner() const { return _owner; }
    const std::vector<float>& getSpawnX() const { return _spawnX; }
    const std::vector<float>& getSpawnY() const { return _spawnY; }

    static constexpr double ActiveThreshold = 0.1;   // drop-off above this is "active"

private:
    int _typeId;
    int _owner;
    float _surroundFraction = 0.7f;
    std::unique_ptr<epsLens> _lens;
    std::unique_ptr<epsLensSurround> _surround;
    std::array<float, 1024> _noise{};
    std::vector<float> _spawnX;
    std::vector<float> _spawnY;
    float _lastX = 0.0f;
    float _lastY = 0.0f;
    bool _frozen = false;
    unsigned _textureId = 0;
    int _hint = 0;
    GLDisplayList _indicator;
};
