// GeoStrokeBuildCanvasCompositeGL: the panel on which users sketch new stroke
// shapes with a simulated pen, wipe them with the flat hand, and turn them into
// an element image that new canvas primitives wear.
#pragma once

#include "GLDisplayList.h"
#include "PostureDetector.h"
#include "RGBAImage.h"
#include "SketchEraser.h"
#include "SketchPen.h"
#include "Stroke2d.h"
#include "VisComponentGL.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QOpenGLFramebufferObject;

// Coordinates: strokes, touches and the pen are in screen pixels (origin
// bottom left); the strokes follow the panel when it moves. Logic (touch,
// pen, erase, region map, element image) makes no GL call; GL is confined to
// specificRender and the texture upload of the scene's library.
//
// Drawing: the strokes are drawn (as strips or points) into a layer of the
// panel's size once whenever they change; a frame draws that layer and the
// stroke being sketched, so many long sketches cost one textured quad.
//
// Region map (HIT_BUFFER): SketchRegion over the panel, MoveRegion over a
// right-hand strip 1/64 of the width wide, ResizeRegion over the square of
// 1/64 of width and height at the bottom-right corner. A press on the strip
// moves the panel while moving without touch extend is enabled (otherwise the
// strip does nothing); a press on the corner resizes it, top-left kept.
class GeoStrokeBuildCanvasCompositeGL : public VisComponentGL
{
public:
    enum Region : unsigned { Outside = 0, SketchRegion = 3, MoveRegion = 4, ResizeRegion = 8 };
    // Share of the width (and height) of the move strip and the resize corner.
    static constexpr double HandleFraction = 1.0 / 64.0;
    static constexpr double MinTouchSide = 10.0;

    // Centre and size in screen pixels; border: width of the drawn frame;
    // overflow: buffer margin round the panel. Starts hidden.
    GeoStrokeBuildCanvasCompositeGL(TabletopVis* scene, double x, double y, double width, double height,
                                    double angle, double border, double overflow);
    ~GeoStrokeBuildCanvasCompositeGL() override;

    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    int releaseLocalBuffer(int x, int y, int device) override;
    // The panel and its strokes move together.
    void moveBy(double dx, double dy) override;
    // animateStep while shown.
    void animateMyself(double dt) override;
    void specificRender() override;
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    void renderInActiveBuffers() override;

    // ---- Operations of the panel ----
    // Shown: hide; hidden: show. Returns whether it is shown afterwards.
    virtual bool toggleVisibility();
    // Activates it for rendering and brings it to the front.
    virtual void show();
    // Deactivates it and discards every stroke.
    virtual void hide();
    virtual bool toggleMoveWithoutExtend();
    virtual void enableMoveWithoutExtend();
    virtual void disableMoveWithoutExtend();
    // Flips the flag and returns its new value; the flat-hand eraser works either way.
    virtual bool toggleEraseCapability();
    virtual void drawSegmentsAsStroke();
    virtual void drawSegmentsAsPoints();
    // Draws the strokes into a 512 x 512 mip-mapped element image registered
    // with the scene's image textures, then selects it in the control table:
    // ElementKindCell := Stroke, ElementImage := its index. Returns the index,
    // or -1 without strokes (nothing written).
    virtual int useStrokesAsRenderingElements();
    // An element image made earlier (a painting read back from a file)
    // registered again as a new image texture, as the panel's own: returns
    // its index, or -1 when no texture could be made. Nothing is selected.
    int addElementImage(const RGBAImage& image);
    // The element images made here and their image-texture indices.
    struct ElementImage
    {
        std::size_t index;
        RGBAImage image;
    };
    const std::vector<ElementImage>& getElementImages() const { return _elementImages; }
    virtual void setSimulationParameters(float spring, float damping, float thicknessScale, float maxThickness,
                                         float minThickness, float mass, float initialSpeed);
    virtual void setThicknessRange(float minThickness, float maxThickness);
    // The contact-area bounds the posture detector classifies with.
    virtual void setPostureRanges(const PostureRanges& ranges);
    virtual void deleteStrokes();
    // Rebuilds the frame and handle drawing for the current size (GL only).
    virtual void rebuildDecoration();
    // One frame: the pen catches up with a resting finger while drawing, the
    // eraser follows the hand while erasing.
    virtual void animateStep();
    // A new empty stroke with the pen resting at (x, y).
    virtual void startStroke(double x, double y);
    // Release state: pen at rest, no drawing, erasing or previous touch.
    virtual void resetPen();
    // One pen sample towards (x, y) into the current stroke (see SketchPen).
    virtual float addPenSample(double x, double y, bool isLast);
    // The previous pen pixel (where the next control point goes) takes the
    // current one; touch handling and the frame call it after each sample.
    void keepPenUp() { _pen.keepUp(); }
    virtual float warmUpFactor() const;
    // Wipes the strokes under a hand moved from (x0, y0) to (x1, y1).
    virtual std::size_t eraseAlong(double x0, double y0, double x1, double y1);
    virtual std::unique_ptr<Stroke2d> makeStrokeFromRange(const Stroke2d& source, std::size_t first,
                                                          std::size_t end) const;

    // ---- Wiring ----
    // Where the shared control table lives (the canvas's); null source or
    // table: element images are made but not selected.
    void setControlTableSource(std::function<BufferTemplate<float>*()> source) { _controlTable = std::move(source); }
    // Told the image-texture index of each element image made here.
    void setElementImageListener(std::function<void(std::size_t)> listener) { _onElementImage = std::move(listener); }

    // ---- State, for the widget and tests ----
    const SketchEraser::Strokes& getStrokes() const { return _strokes; }
    const SketchPen& pen() const { return _pen; }
    // Region under local (x, y); Outside for a point off the panel.
    unsigned regionAt(double localX, double localY) const;
    SketchPanel panel() const { return {getXPos(), getYPos(), getWidth(), getHeight()}; }
    bool isDrawing() const { return _drawing; }
    bool isErasing() const { return _erasing; }
    bool isMoving() const { return _moving; }
    bool isResizing() const { return _resizing; }
    bool isMoveWithoutExtend() const { return _moveWithoutExtend; }
    bool isDrawingAsStroke() const { return _drawAsStroke; }
    bool isDrawingAsPoints() const { return _drawAsPoints; }
    double touchWidth() const { return _touchSize[0]; }
    double touchHeight() const { return _touchSize[1]; }

protected:
    // GL drawing of the strokes (specificRender picks one by the draw flags).
    // Strokes [first, end) of the list, all when end is past it.
    virtual void drawStrokesAsPoints(std::size_t first = 0, std::size_t end = SIZE_MAX) const;
    virtual void drawStrokesAsStrokes(std::size_t first = 0, std::size_t end = SIZE_MAX) const;

private:
    void actOnPosture(Posture posture);
    void startFromBufferedSamples();
    void eraseBufferedSamples();
    void renderDecorationBackground() const;
    void renderDecorationHandles() const;
    // The strokes that do not change while a contact sketches (all but the
    // one being drawn) were changed: the layer is drawn again.
    void strokesChanged() { ++_strokesVersion; }
    std::size_t settledStrokeCount() const { return _drawing ? _strokes.size() - 1 : _strokes.size(); }
    // Draws strokes [first, end) in the chosen style.
    void drawStrokes(std::size_t first, std::size_t end) const;
    void updateLayer();
    void freeLayer();

    SketchEraser::Strokes _strokes;
    std::vector<ControlPoint2D> _pendingControlPoints;
    SketchPen _pen;
    PostureDetector _postureDetector{PostureRanges{}};
    double _border;

    bool _moveWithoutExtend = false;
    bool _drawAsStroke = true;
    bool _drawAsPoints = false;
    bool _drawing = false;
    bool _erasing = false;
    bool _eraseCapability = true;
    bool _strokeStarted = false;
    bool _eraseStarted = false;
    bool _moving = false;
    bool _resizing = false;
    bool _touched = false;
    bool _canUseDrawRangeElements = false;
    unsigned _pressRegion = Outside;

    double _lastTouch[2] = {-1.0, -1.0};
    double _previousTouch[2] = {-1.0, -1.0};   // of the previous hit call, for moving
    double _eraseFrom[2] = {-1.0, -1.0};       // where the eraser was at the previous frame
    double _touchSize[2] = {MinTouchSide, MinTouchSide};

    GLDisplayList _decoration;   // 0: background and frame, 1: handles
    mutable std::vector<float> _pointRun;   // drawing scratch of drawStrokesAsPoints
    // Frees the layer while a context is current (GeoStrokeBuildCanvasRender.cpp).
    struct LayerDeleter
    {
        void operator()(QOpenGLFramebufferObject* layer) const;
    };
    std::unique_ptr<QOpenGLFramebufferObject, LayerDeleter> _layer;   // the settled strokes, panel-sized
    std::uint64_t _strokesVersion = 0;
    std::uint64_t _layerVersion = UINT64_MAX;
    std::size_t _layerStrokes = 0;   // settled strokes the layer holds
    std::function<BufferTemplate<float>*()> _controlTable;
    std::function<void(std::size_t)> _onElementImage;
    std::vector<ElementImage> _elementImages;
};
