// VisComponent: every element of a scene — geometry, parent and children,
// property buffers, input defaults and the framework's virtual operations.
// Logic only: nothing here calls GL; VisComponentGL adds the drawing.
#pragma once

#include "BufferTemplate.h"
#include "ComponentList.h"
#include "Vector2d.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class AbstractBuffer;
class TabletopVis;
struct WiiCommunicationData;

// Coordinate systems (all in pixels unless said otherwise):
// - Device coordinates: the screen, origin at the bottom left, y up. A
//   component's position (getXPos, getYPos) is its centre in device
//   coordinates, also for children of a composite.
// - Local coordinates: the component's own unrotated rectangle, origin at its
//   bottom-left corner, x along its width, y along its height, in device
//   pixels: (0, 0) to (getWidth, getHeight). getLocalCoordinates and
//   getDeviceCoordinates convert between device and local.
// - Buffer cells: the grid of the component's property buffers. The grid
//   covers the rectangle plus the overflow margin on every side at the
//   scene's buffer resolution (cells per pixel = global buffer size / screen
//   size given to the scene). A component covering the whole screen thus has
//   the global buffer size; a margin of m pixels adds m cells per pixel-scale
//   on each side. getBufferXCoordinateFromLocal / ...YCoordinateFromLocal turn
//   local coordinates into cell indices (may lie outside the grid).
// Rotation is in degrees, counter-clockwise positive; 0 keeps the local axes
// parallel to the device axes.
class VisComponent
{
public:
    using ChildMap = std::map<unsigned long, VisComponent*>;

    // The scene must outlive the component; the component is not added to
    // the scene here (the scene's addComponent does that and takes
    // ownership). rotateAndTranslate and tossing allow the built-in
    // one-contact move and turn and the tossing after release.
    VisComponent(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                 double height, double angle = 0.0);
    // A component at the origin that neither moves nor tosses by touch.
    VisComponent(TabletopVis* scene, double width, double height);

    VisComponent(const VisComponent&) = delete;
    VisComponent& operator=(const VisComponent&) = delete;

    // ---- The framework's virtual operations, in the framework's order ----

    // Leaves its lists, its parent and its children; frees its active
    // buffers. Never deletes other components.
    virtual ~VisComponent();
    // Moves the centre by (dx, dy) device pixels.
    virtual void moveBy(double dx, double dy);
    // Scales each child's offset from this centre (in this component's
    // frame) by the factors and tells the child (childrenResizeAndRelocate).
    // Not called by the engine; composites call it after resizing.
    virtual void resizeAndRelocateChildren(double factorX, double factorY);
    // A child's part of its parent's resize; the base keeps its size.
    virtual void childrenResizeAndRelocate(double factorX, double factorY);
    virtual void setWidth(double width);
    virtual void setHeight(double height);
    virtual void setSquareSize(double side);
    // Current (scaled) size; the unscaled size follows as size / scale factor.
    virtual void setSize(double width, double height);
    // Resizes about the centre so that the contact at device (x, y) lies on
    // a corner (computeInteractiveResizeCenter).
    virtual void interactiveResizeCenter(double x, double y);
    // Resizes keeping the top-left corner in place, putting the bottom-right
    // corner at the contact at device (x, y).
    virtual void interactiveResizeTopLeft(double x, double y);
    virtual bool isResizingReal() const;          // true: resizing changes the size, not a scale
    // Turns by degrees (relative, counter-clockwise positive).
    virtual void rotate(double degrees);
    virtual bool hasOrientation() const;          // true: touch may turn it
    // Whether a press at device (x, y) may start rotate-and-translate; true.
    virtual bool checkPositionForRNT(double x, double y) const;
    virtual void animationEnded();
    // Called when the component enters (save) or leaves (restore) a
    // composite; the base only keeps the flag.
    virtual void saveImportantAttributes();
    virtual void restoreImportantAttributes();
    virtual bool isStoringImportantAttributes() const;
    // Children: 1 on success, 0 otherwise. The base accepts no children;
    // composites override (SurfaceCompositeGL, BoundedContainerGL).
    virtual int addChild(VisComponent* child);
    virtual int removeChild(VisComponent* child);
    // The component acting as composite (this for composites), or null.
    virtual VisComponent* getComposite();
    virtual bool allowNesting() const;            // true: may become a child
    virtual bool childrenShowInteractionHandles() const;   // true
    // A contact at device pixel (x, y): called on the press and again on
    // every move of the same contact, on the component the contact started
    // on (TabletopVis keeps it per user). width and height are the contact's
    // size as the input reported it (setTouchBoundWidth/Height; 0 when
    // unknown), device the user index. The base runs rotate-and-translate
    // when allowed: returns 1 when it moved the component, else 0.
    virtual int hitLocalBuffer(int x, int y, double width, double height, int device);
    // The contact of `device` ended at device (x, y). The base ends
    // rotate-and-translate and starts tossing when allowed; returns 0.
    virtual int releaseLocalBuffer(int x, int y, int device);
    virtual void setParent(VisComponent* parent);
    // Drawing (VisComponentGL): the base draws nothing.
    virtual void render();
    virtual void renderForPicking();
    // Once per frame, before any animateMyself: write into buffers.
    virtual void renderIntoBuffers();
    // The buffers behind this component's passive tags went away: forget the
    // pointers (the registrations stay until connectBuffers links them again).
    virtual void invalidatePassiveBuffers();
    // true: a press does not bring the component to the render front.
    virtual bool hasStaticRenderOrder() const;
    // true: the component draws its children from its local render list and
    // picking descends into that list.
    virtual bool compositeManagesLocalRenderList() const;
    virtual bool isResizing() const;
    // After a screen size change (TabletopVis::setScreensize).
    virtual void rebuildGraphicRepresentation();
    // Whether the component follows direction, orientation, absolute and
    // relative size values of buffers; false.
    virtual bool isAnimatingDirection() const;
    virtual bool isAnimatingOrienation() const;
    virtual bool isAnimatingAbsoluteSize() const;
    virtual bool isAnimatingRelativeSize() const;
    // Relative position of the scale handle and its inverses; 1.
    virtual double getXRelativeScalePos() const;
    virtual double getYRelativeScalePos() const;
    virtual double getOneOverX() const;
    virtual double getOneOverY() const;
    // One Wii Remote report: the codes of buttons newly pressed and the
    // record (WiiCommunicationData::WIIMOTE_BUTTON codes). Returns 0.
    virtual int wiimoteEvent(const std::vector<int>& buttons, const WiiCommunicationData& data);
    // Once per frame after every renderIntoBuffers; dt = speed x frame
    // seconds (TabletopVis::render). The base advances the size easing.
    virtual void animateMyself(double dt);
    // Called a few components before this one's animateMyself: start
    // loading (prefetch) what the animation will read. Nothing here.
    virtual void prefetchForAnimation() const {}
    // Once per frame after animateMyself, only while the scene is animating.
    virtual void doConstantAnimations(double dt);
    // Drawing hooks inside the component's transformation (VisComponentGL).
    virtual void specificRender();
    virtual void specificRenderForPicking();
    virtual void pickingPreparation();
    virtual void initialize();
    virtual void doCommonTransformations();
    // Buffer hooks: make the active buffers, register the passive tags.
    virtual void createActiveBuffers();
    virtual void initializePassiveBuffers();
    // Frees the active buffers, then createActiveBuffers and
    // renderInActiveBuffers, then connectBuffers for every child.
    virtual void recreateActiveBuffers();
    virtual void renderInGlobalBuffers();
    virtual void renderInActiveBuffers();

    // ---- The engine's own virtual operation ----

    // Picking: whether the component takes a point of its rectangle (local
    // coordinates). The base declines cells whose region map (active
    // HIT_BUFFER, unsigned cells) holds 0 and takes every other point.
    virtual bool containsLocalPoint(double localX, double localY) const;

    // ---- Identity, scene, family ----
    unsigned long getId() const { return _id; }
    TabletopVis* getController() const { return _scene; }
    VisComponent* getParent() const { return _parent; }
    const ChildMap& getChildren() const;
    // The list this composite draws its children from (front last); null for
    // components that have none.
    ComponentList* getLocalRenderList() const;

    // ---- Geometry ----
    double getXPos() const { return _position[0]; }
    double getYPos() const { return _position[1]; }
    void setPos(double x, double y)
    {
        _position[0] = x;
        _position[1] = y;
        geometryChanged();
    }
    double getWidth() const { return _width; }
    double getHeight() const { return _height; }
    double getHalfWidth() const { return 0.5 * _width; }
    double getHalfHeight() const { return 0.5 * _height; }
    double getRotation() const { return _rotation; }
    void setRotation(double degrees);
    // Cosine and sine of the rotation, kept with it.
    double getRotationCos() const { return _cos; }
    double getRotationSin() const { return _sin; }
    // Extra cells round the rectangle, in pixels (SurfaceCompositeGL's overflow).
    double getBufferMargin() const { return _bufferMargin; }
    // The square of the smaller side.
    double getSmallestSquareSurface() const;
    // Size without the magnification: size = unscaled size x scale factor.
    double getUnscaledWidth() const { return _unscaledWidth; }
    double getUnscaledHeight() const { return _unscaledHeight; }
    void setUnscaledSize(double width, double height);
    bool isCurrentlyMagnified() const { return _scaleFactor != 1.0; }
    double getCurrentScaleFactor() const { return _scaleFactor; }
    // Sets the magnification and the size to unscaled size x factor.
    void setCurrentScaleFactor(double factor);
    // The size for which device (x, y) lies on a corner, the centre kept;
    // each side at least MinimumInteractiveSize.
    void computeInteractiveResizeCenter(double x, double y, double& width, double& height) const;
    static constexpr double MinimumInteractiveSize = 20.0;

    // Device -> local. Returns whether the point lies inside the rectangle
    // (0 <= local < size); the coordinates are computed either way.
    bool getLocalCoordinates(double deviceX, double deviceY, double& localX, double& localY) const;
    // Device -> local for hit handling: a point outside the rectangle gives
    // both coordinates OutsideLocal (-1), so "a local coordinate <= -1" means
    // outside whichever side the point lies on. Returns whether it is inside.
    static constexpr double OutsideLocal = -1.0;
    bool getHitLocalCoordinates(double deviceX, double deviceY, double& localX, double& localY) const;
    // Local -> device.
    void getDeviceCoordinates(double localX, double localY, double& deviceX, double& deviceY) const;
    // Local -> buffer cell: floor((local + overflow) x cells per pixel).
    int getBufferXCoordinateFromLocal(double localX) const;
    int getBufferYCoordinateFromLocal(double localY) const;
    // The same in fractional cells (not floored), and back to local.
    double getBufferXFromLocal(double localX) const;
    double getBufferYFromLocal(double localY) const;
    double getLocalXFromBuffer(double cellX) const;
    double getLocalYFromBuffer(double cellY) const;
    // Size of the component's buffer grid in cells (at least 1 x 1).
    int getBufferWidth() const;
    int getBufferHeight() const;

    // ---- Size easing (used by animateMyself) ----
    // Starts easing towards a target size: progress 0, target pending,
    // animationEnded() once progress reaches 1.
    void animateToSize(double width, double height);
    double getSizeProgress() const { return _sizeProgress; }   // 0 .. 1; 1 when idle
    void setSizeProgress(double p) { _sizeProgress = p; geometryChanged(); }
    bool hasPendingSizeTarget() const { return _sizeTargetPending; }
    void setPendingSizeTarget(bool pending) { _sizeTargetPending = pending; geometryChanged(); }
    bool isSizeAnimationEnding() const { return _sizeAnimationEnding; }
    void setSizeAnimationEnding(bool ending) { _sizeAnimationEnding = ending; geometryChanged(); }
    double getTargetWidth() const { return _targetWidth; }
    double getTargetHeight() const { return _targetHeight; }
    static constexpr double SizeProgressStep = 0.02;   // per frame

    // ---- Rendering activity ----
    void activateForRendering() { _activeForRendering = true; }
    void deactivateForRendering() { _activeForRendering = false; }
    bool isActiveForRendering() const { return _activeForRendering; }
    // A component that is drawn but never takes contacts (a tool brush that
    // follows the finger) is not pickable; picking looks past it. Components
    // that decline only sometimes override containsLocalPoint instead.
    void setPickable(bool on) { _pickable = on; }
    bool isPickable() const { return _pickable; }

    // ---- Rotate-and-translate and tossing ----
    bool allowsRotateAndTranslate() const { return _rotateAndTranslate; }
    void setRotateAndTranslate(bool on) { _rotateAndTranslate = on; }
    bool allowsTossing() const { return _tossing; }
    void setTossing(bool on) { _tossing = on; }
    // A contact holds it for rotate-and-translate.
    bool isGrabbed() const { return _motion && _motion->device >= 0; }
    bool isBeingTossed() const { return _motion && _motion->tossing; }
    Vector2d getTossVelocity() const { return _motion ? _motion->velocity : Vector2d(); }
    // The steps of the built-in behaviour, for overrides of hitLocalBuffer
    // and releaseLocalBuffer that keep it. grab: the contact of device takes
    // the component at device (x, y) (stops tossing). drag: the touched point
    // follows the contact; the turn it asks is applied by the frame.
    // release: the contact lets go; tossing starts when allowed and fast enough.
    void grabForRotateAndTranslate(int device, double x, double y);
    void dragForRotateAndTranslate(double x, double y);
    void releaseRotateAndTranslate();
    // One frame of motion (the scene calls it for grabbed and tossed
    // components): applies the pending turn, estimates the velocity, tosses.
    // Returns whether the component still needs frames.
    bool advanceMotion(double frameSeconds);

    // ---- Property buffers ----
    // Active buffers are owned, one per BUFFERTAG (1 .. 32). Children linked
    // to a replaced buffer are linked to its successor; links to a removed
    // buffer are cleared.
    AbstractBuffer* getActiveBuffer(int tag) const;
    void setActiveBuffer(int tag, std::unique_ptr<AbstractBuffer> buffer);
    void setActiveBuffer(int tag, AbstractBuffer* buffer);   // takes ownership
    void removeActiveBuffers();
    // Passive buffers are borrowed: registerPassiveBuffer names a tag the
    // component wants (initializePassiveBuffers does that); the parent's
    // connectBuffers(child) links each wanted tag to the parent's active
    // buffer of that tag, disconnectBuffers(child) unlinks them.
    // setPassiveBuffer links a tag to any buffer directly.
    AbstractBuffer* getPassiveBuffer(int tag) const;
    void registerPassiveBuffer(int tag);
    void setPassiveBuffer(int tag, AbstractBuffer* buffer);
    void connectBuffers(VisComponent* child);
    void disconnectBuffers(VisComponent* child);
    // Typed access; the cell type must be the tag's (the tag table fixes it).
    template <typename T>
    BufferTemplate<T>* getActiveBufferAs(int tag) const { return typed<T>(getActiveBuffer(tag)); }
    template <typename T>
    BufferTemplate<T>* getPassiveBufferAs(int tag) const { return typed<T>(getPassiveBuffer(tag)); }

    static constexpr int MaxBufferTag = 32;

protected:
    // Composites call this in their constructor: it gives the component its
    // children map and local render list.
    void enableChildren();
    ChildMap& childMap();
    // The common body of a composite's addChild: refuses (0) without a
    // composite, for a child that does not allow nesting, for this and for a
    // child already here; takes the child from its old parent (removeChild);
    // sets the parent, saveImportantAttributes, enters the child map; with
    // intoLocalList moves the child from the scene's render list to the front
    // of the local one; connectBuffers. 1 on success.
    int adoptChild(VisComponent* child, bool intoLocalList);
    // The common body of removeChild: 0 when the child is not in the map;
    // restoreImportantAttributes, clears the parent, leaves the map and the
    // local list, goes to the front of the scene's render list,
    // disconnectBuffers. 1 on success.
    int releaseChild(VisComponent* child);
    // Called after every change of position, size, unscaled size, scale
    // factor, rotation or size easing, whichever way it came; nothing here.
    // Lets an owner that keeps a copy of that state (a canvas's primitive
    // store) know the copy is stale.
    virtual void geometryChanged() {}
    // Extra cells round the rectangle, in pixels (SurfaceCompositeGL's overflow).
    void setBufferMargin(double pixels) { _bufferMargin = pixels; }
    // From now on the position (x then y) lives at `storage`, which the
    // caller keeps alive, or in the component again for nullptr. The
    // current position is copied over, unless `copy` is false because the
    // caller has moved its array and `storage` holds the position already.
    // An owner that runs many components' frames (a canvas's primitive
    // store) keeps their positions in one array and moves them there
    // without touching the components.
    void keepPositionAt(double* storage, bool copy = true);

private:
    friend class ComponentList;
    friend class TabletopVis;

    struct ListLink
    {
        ComponentList* list = nullptr;
        std::size_t index = 0;
    };
    struct Family
    {
        ChildMap children;
        ComponentList localRenderList{ComponentList::Role::Render};
    };
    struct Motion
    {
        int device = -1;          // grabbing contact, -1 when free
        Vector2d touch;           // last contact point (device)
        Vector2d frameDisplacement;
        Vector2d velocity;        // pixels per frame
        double pendingTurn = 0.0;
        bool tossing = false;
    };
    using ActiveBuffers = std::array<std::unique_ptr<AbstractBuffer>, MaxBufferTag + 1>;

    template <typename T>
    static BufferTemplate<T>* typed(AbstractBuffer* buffer)
    {
        assert(buffer == nullptr || dynamic_cast<BufferTemplate<T>*>(buffer) != nullptr);
        return static_cast<BufferTemplate<T>*>(buffer);
    }
    static bool validTag(int tag) { return tag >= 1 && tag <= MaxBufferTag; }
    ListLink& linkFor(ComponentList::Role role);
    const ListLink& linkFor(ComponentList::Role role) const;
    Motion& motion();
    // Index of a wanted tag's pointer in _passive (tag must be wanted).
    std::size_t passiveIndex(int tag) const;
    bool wantsPassive(int tag) const { return validTag(tag) && ((_passiveWanted >> (tag - 1)) & 1u) != 0; }
    void dropPassiveLinks();
    // Children linked to `old` (their passive buffer of tag) take `replacement`.
    void relinkChildren(int tag, const AbstractBuffer* old, AbstractBuffer* replacement);
    // Children lose every link into these buffers.
    void unlinkChildrenFrom(const ActiveBuffers& buffers);
    void stepSizeEasing();
    double cellsPerPixelX() const;
    double cellsPerPixelY() const;

    TabletopVis* _scene;
    VisComponent* _parent = nullptr;
    unsigned long _id;
    double _ownPosition[2];
    double* _position = _ownPosition;   // x, y: _ownPosition or an owner's array
    double _width, _height;
    double _unscaledWidth, _unscaledHeight;
    double _rotation = 0.0;
    double _cos = 1.0, _sin = 0.0;   // of the rotation, kept with it
    double _scaleFactor = 1.0;
    double _bufferMargin = 0.0;
    double _sizeProgress = 1.0;
    double _targetWidth = 0.0, _targetHeight = 0.0;
    bool _sizeTargetPending = false;
    bool _sizeAnimationEnding = false;
    bool _rotateAndTranslate;
    bool _tossing;
    bool _activeForRendering = true;
    bool _pickable = true;
    bool _storingImportantAttributes = false;
    std::uint32_t _passiveWanted = 0;      // bit tag-1 set: tag registered
    std::unique_ptr<AbstractBuffer*[]> _passive;   // one pointer per wanted tag, in tag order
    std::unique_ptr<ActiveBuffers> _active;
    std::unique_ptr<Family> _family;
    std::unique_ptr<Motion> _motion;
    ListLink _ownerLink;
    ListLink _renderLink;
};
