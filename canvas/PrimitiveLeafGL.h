// PrimitiveLeafGL: the base of the rendering primitives (point dabs, strokes,
// tiles, stroke shapes). Each frame a primitive reads the canvas buffers at
// its own position and follows them: it erases itself, takes colours,
// moves, turns and resizes. Drawing is the leaves' business.
#pragma once

#include "Color.h"
#include "ControlTable.h"
#include "PrimitiveShapes.h"
#include "PrimitiveStore.h"
#include "VisComponentGL.h"

#include <limits>

class CanvasCompositeGL;
class PrimitiveBatch;
class PrimitiveLogger;

// The buffers and the current primitive type one frame of animation reads,
// resolved once: from a primitive's own passive buffers (animateMyself) or,
// for all the primitives of a canvas at once, from the canvas's buffers.
// Null pointers stand for missing buffers.
struct PrimitiveFrame
{
    bool hasControl = false;
    int currentType = 0;   // controlBuffer PrimitiveType, truncated
    const BufferTemplate<float>* erase = nullptr;
    const BufferTemplate<unsigned char>* color = nullptr;
    bool hasDropoff = false;
    const BufferTemplate<bool>* contextSelection = nullptr;
    const BufferTemplate<float>* direction = nullptr;
    const BufferTemplate<float>* tempOrientation = nullptr;
    const BufferTemplate<float>* size = nullptr;
    const BufferTemplate<float>* sizeDiff = nullptr;
    const BufferTemplate<int>* speed = nullptr;                // points
    const BufferTemplate<unsigned char>* tempColor = nullptr;  // points, tiles
    const BufferTemplate<float>* dodging = nullptr;            // tiles

    // The frame as a component's passive buffers give it.
    static PrimitiveFrame fromPassive(const VisComponent& component);
    // The frame as a component's active buffers give it (a canvas).
    static PrimitiveFrame fromActive(const VisComponent& component);
};

// Buffer cells: every buffer read and write of a primitive uses the parent's
// buffer cell under the primitive's centre. The centre is taken into the
// parent's local coordinates, clamped to the parent's rectangle and turned
// into a cell with the parent's conversions (bufferCell). Canvas buffers are
// coarser than the screen (700 x 525 cells for 1024 x 768 pixels), so a
// device pixel is never used as a cell.
//
// Primitive types: the control table's cell PrimitiveType names the type
// being worked on. Only primitives of that type animate and take contacts;
// the others stand still whatever the buffers hold.
class PrimitiveLeafGL : public VisComponentGL
{
public:
    // targetAngle: the angle (degrees) the primitive turns towards while a
    // tempOrientationBuffer is present; the primitive starts at rotation 0.
    // type: the primitive type (see above).
    PrimitiveLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                    double height, double targetAngle, int type);
    // Leaves its canvas's store: a scene tearing down deletes children
    // without asking their parent to remove them.
    ~PrimitiveLeafGL() override;

    // ---- Framework overrides ----
    bool isResizingReal() const override;
    // The common animation step: type filter, erase, colour, context
    // selection, then (on a top-level parent and not tossed) move, turn and
    // absolute size, relative size, and the size easing.
    void animateMyself(double dt) override;
    void specificRender() override;
    void specificRenderForPicking() override;
    void initializePassiveBuffers() override;
    bool isAnimatingDirection() const override;
    bool isAnimatingOrienation() const override;
    bool isAnimatingAbsoluteSize() const override;
    bool isAnimatingRelativeSize() const override;
    // Starts loading the cells of the canvas buffers this primitive reads.
    void prefetchForAnimation() const override;
    // No contact unless the parent is a canvas that is not tracking touches
    // and this primitive is of the current type.
    bool containsLocalPoint(double localX, double localY) const override;

    // The common step with the frame's buffers resolved (animateMyself
    // resolves them from the passive buffers). The canvas's store calls
    // the kinds' step(frame, dt) directly where a primitive must change.
    void stepCommon(const PrimitiveFrame& frame, double dt);
    bool isCurrentType(const PrimitiveFrame& frame) const
    {
        return frame.hasControl && frame.currentType == _primitiveType;
    }

    // ---- Own virtual operations ----
    virtual int getPrimitiveType() const;
    // Appends what specificRender would draw (same first frames, colours and
    // masks) to the batch, in device coordinates. The base appends nothing.
    virtual void appendToBatch(PrimitiveBatch& batch);

    // ---- State ----
    const Color& getColor() const { return _color; }
    void setColor(unsigned char r, unsigned char g, unsigned char b)
    {
        _color.setRGB(r, g, b);
        markStale();
    }
    bool isContextSelected() const { return _contextSelected; }
    // Set when a buffer asked the primitive to move, turn or resize.
    bool hasChanged() const { return _changed; }
    void setChanged(bool changed)
    {
        _changed = changed;
        markStale();
    }
    // Life counter: 210 when fresh, lowered by erasing; at 10 or less the
    // primitive asks its canvas to delete it and the counter stays at 1.
    int getLife() const { return _life; }
    // Sets the life counter (a primitive brought back from a saved
    // painting); the deletion rule applies from the next frame.
    void setLife(int life)
    {
        _life = life;
        markStale();
    }
    bool isQueuedForDeletion() const { return _queuedForDeletion; }
    double getTargetAngle() const { return _targetAngle; }
    // Two values kept for the code that made the primitive (stroke shapes
    // keep the two values they were made with); 0 otherwise.
    float getAuxiliaryValue(int i) const { return _auxiliary[i == 0 ? 0 : 1]; }

    // While a study task is recorded: one record of the current state
    // (position, size, rotation, whether it lies in the target area, whether
    // it is queued for deletion). The canvas calls it at the end of a task.
    void logState();

    static constexpr int FreshLife = 210;
    static constexpr int HiddenFrames = 3;     // drawing calls that draw nothing
    static constexpr double MinRelativeSize = 5.0;
    static constexpr double MaxRelativeSize = 250.0;
    // At this life or less a primitive is queued for deletion.
    static constexpr int EraseQueueLife = 10;
    // Orientation vectors this short carry no direction.
    static constexpr double MinOrientationSquared = 1e-05;

protected:
    // Counts one drawing call; false for the first HiddenFrames calls, so a
    // new primitive shows only once it has taken up its buffer values.
    bool pastHiddenFrames();
    // The parent's buffer cell under the centre; false without a parent.
    bool bufferCell(int& bx, int& by) const;
    // Starts loading the primitive's cell of every buffer it may read.
    void prefetchCells(int bx, int by) const;
    // A cell of the canvas's control table; false without the table.
    bool controlValue(ControlCell cell, float& value) const;
    // The control table exists and its cell PrimitiveType names this type.
    bool isCurrentType() const;
    // Highlighting is on (HighlightSwitch) and names another type (HighlightType).
    bool isHighlightDimmed() const;
    // The picking rule of containsLocalPoint, also used by the picking view.
    bool acceptsContacts() const;
    CanvasCompositeGL* canvas() const;
    // Takes the tempColorBuffer colour at the cell unless its red is the
    // neutral 127 (points and tiles).
    void takeTemporaryColor(const BufferTemplate<unsigned char>* temp, int bx, int by);
    // Shape coordinates scaled by (scaleX, scaleY) into device coordinates.
    PrimitiveShapes::Placement placement(double scaleX, double scaleY) const;
    void setAuxiliaryValues(float a, float b);
    // Tells the canvas's store that state its row keeps has changed.
    void geometryChanged() override { markStale(); }
    void markStale()
    {
        if (_storeSlot.kind >= 0)
            _storeSlot.store->markStale(_storeSlot.kind, _storeSlot.index);
    }

private:
    friend class PrimitiveStore;
    // The primitive's place in its canvas's store (PrimitiveStore).
    static constexpr int NotStored = -1;
    static constexpr int Pending = -2;
    struct StoreSlot
    {
        int kind = NotStored;
        std::size_t index = 0;
        PrimitiveStore* store = nullptr;
    };

    void followErase(const PrimitiveFrame& f, int bx, int by);
    void followColor(const PrimitiveFrame& f, int bx, int by);
    void followContextSelection(const PrimitiveFrame& f, int bx, int by);
    void startTargets(double& tw, double& th);
    void followDirection(const PrimitiveFrame& f, int bx, int by, double dt);
    void followOrientation(const PrimitiveFrame& f, int bx, int by);
    void followAbsoluteSize(const PrimitiveFrame& f, int bx, int by, double& tw, double& th);
    void followRelativeSize(const PrimitiveFrame& f, int bx, int by, double& tw, double& th) const;
    void applySize(double tw, double th);
    void stepEasing();
    // The turn (degrees) towards the target angle still to make, 0 when
    // the difference is below the threshold or a whole turn.
    double turnLeft() const;
    // Turning by a fraction of turnLeft would not change the rotation: no
    // turn is left, or what is left is below the rotation's precision.
    bool turnAtRest() const;
    void addLogRecord(bool erased);

    Color _color{65, 66, 67};
    unsigned char _lastBufferColor[3] = {0, 0, 0};
    bool _contextSelected = false;
    bool _changed = true;
    int _life = FreshLife;
    PrimitiveLogger* _logger;
    float _auxiliary[2] = {0.0f, 0.0f};
    bool _startLogged = false;
    bool _queuedForDeletion = false;
    int _primitiveType;
    double _targetAngle;
    double _previousTargetAngle = 0.0;
    // The orientation vector the target angle was last computed from.
    float _targetSource[2] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN()};
    int _drawCalls = 0;
    StoreSlot _storeSlot;
};
