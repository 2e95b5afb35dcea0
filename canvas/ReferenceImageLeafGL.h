// ReferenceImageLeafGL: a photograph laid on the canvas to colour the
// painting from. It can be moved and resized; on request it is pressed into
// the canvas's colorBuffer (every primitive then takes the colour under it)
// and removes itself at the next frame.
#pragma once

#include "AbstractImageGL.h"
#include "ImageIO.h"

#include <optional>
#include <string>

class ReferenceImageLeafGL : public AbstractImageGL
{
public:
    // Region ids of the hit buffer: the picture moves, its resize corner
    // (the bottom-right eighth, where the engine draws the corner hint)
    // resizes it.
    static constexpr unsigned MoveRegion = 3;
    static constexpr unsigned ResizeRegion = 4;
    // Side of the texture the picture is drawn with.
    static constexpr int TextureSide = 512;

    // Centred at device (x, y), width x height pixels; the height then
    // follows the image's aspect ratio. furtherValue is kept for callers.
    // A file that does not load prints "Unable to load texture image <path>"
    // and gives a grey picture that writes nothing.
    ReferenceImageLeafGL(TabletopVis* scene, double x, double y, double width, double height, int furtherValue,
                         const std::string& path);
    ~ReferenceImageLeafGL() override;

    bool isResizingReal() const override { return false; }
    bool hasOrientation() const override { return false; }
    bool isAnimatingAbsoluteSize() const override { return true; }
    bool isAnimatingDirection() const override { return true; }
    bool isAnimatingRelativeSize() const override { return true; }
    bool isAnimatingOrienation() const override { return false; }
    // Press and drag at device (x, y): the region under the first press
    // (0 off the picture); the resize corner resizes, the rest moves.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // The region of the ended press, 0 when there was none.
    int releaseLocalBuffer(int x, int y, int device) override;
    // With the apply request: writes the picture into the canvas's colorBuffer.
    void renderIntoBuffers() override;
    // Once applied: asks the canvas to delete the picture.
    void animateMyself(double dt) override;
    // Loads the image and fits the height to its aspect ratio.
    void initialize() override;
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    void renderInActiveBuffers() override;
    // Nearest filtering, replace mode, the picture's texture.
    void renderImage() override;

    // The window's second "Load Color Reference Image".
    void requestApply() { _applyRequested = true; }
    bool isApplyRequested() const { return _applyRequested; }
    bool isApplied() const { return _applied; }
    bool isPressed() const { return _pressed; }
    bool isResizeDragging() const { return _resizeDrag; }
    bool isLoaded() const { return _image.has_value(); }
    const std::string& getPath() const { return _path; }
    int getFurtherValue() const { return _furtherValue; }

private:
    bool _pressed = false;
    bool _resizeDrag = false;
    bool _applyRequested = false;
    bool _applied = false;
    unsigned _hitValue = 0;
    std::string _path;
    int _furtherValue;
    std::optional<RGBAImage> _image;   // the file as loaded
    RGBAImage _textureImage;           // scaled to TextureSide, uploaded at the first draw
    unsigned _texture = 0;
};
