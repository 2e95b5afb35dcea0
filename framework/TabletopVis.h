// TabletopVis: the scene. Owns its components, runs the frame (buffers, then
// animation, then drawing), delivers device input by picking, makes property
// buffers and keeps the scene settings, textures and fonts.
#pragma once

#include "BufferTemplate.h"
#include "ComponentList.h"
#include "TextureSettings.h"
#include "VisComponent.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <map>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

class FTFont;
struct WiiCommunicationData;

// A colour of the scene settings, channels 0 to 1.
struct SceneColor
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// Coordinates handed in and out are device pixels, origin bottom left (see
// VisComponent for local coordinates and buffer cells).
//
// Headless: this class never draws, has no textures or fonts and links no GL;
// TabletopVisGL owns the resource libraries and draws when it was
// constructed while a GL context was current.
//
// Ownership and destruction: the scene owns every component given to
// addComponent and deletes them in its destructor, newest first (a GL scene
// then frees its fonts and textures). Components never delete each other. A GL scene must be
// destroyed with its context current (the widget makes it current first).
class TabletopVis
{
public:
    // users: input users (direct-touch users plus Wii Remotes), each with its
    // own contact. bufferWidth x bufferHeight: the global buffer size, which a
    // component covering the screen given here receives (cells per pixel =
    // buffer size / screen size, fixed for the scene's life).
    TabletopVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                unsigned screenHeight);
    virtual ~TabletopVis();

    TabletopVis(const TabletopVis&) = delete;
    TabletopVis& operator=(const TabletopVis&) = delete;

    bool hasGL() const { return _useGL; }

    // The scene's one object of type T, shared by its components (caches
    // of display lists their drawing builds), made at the first request.
    // Destroyed with the scene after every component, in a GL scene with
    // its context current; T must not call GL before something draws.
    template <typename T>
    T& sharedResource()
    {
        std::shared_ptr<void>& slot = _sharedResources[std::type_index(typeid(T))];
        if (!slot)
            slot = std::make_shared<T>();
        return *static_cast<T*>(slot.get());
    }

    // ---- Components ----
    // Takes ownership; intoRenderList also puts it at the front of the render
    // list (drawn last, picked first). False, and not taken, when it was made
    // for another scene or is already here.
    bool addComponent(VisComponent* component, bool intoRenderList);
    // Detaches the component (parent's removeChild, its children's removal,
    // render list, input references) and deletes it. Inside a frame (or a
    // Wii delivery) it is detached at once and deleted when the frame ends,
    // so no loop meets a dead component. Components of other scenes are
    // ignored.
    void deleteComponent(VisComponent* component);
    // Takes it out of the render list that holds it (the scene's or its
    // parent's local list); it stays owned and is neither drawn nor picked.
    void removeComponentFromRenderList(VisComponent* component);
    // To the front of its render list: the parent's local list when the parent
    // manages one, else the scene's (where it is inserted if absent).
    void moveComponentToRenderFront(VisComponent* component);
    // While on, the frame's passes (renderIntoBuffers, animateMyself,
    // doConstantAnimations) leave the component out: its parent runs those
    // steps for it (the canvas steps its primitives in one loop per kind).
    // Cleared when the component leaves the scene. False (nothing set) for
    // a component the scene does not own.
    bool setSteppedByParent(VisComponent* component, bool on);
    unsigned countComponents() const;
    // All components in creation order. May hold null slots (deleted
    // components); skip them. Compacted between frames.
    const ComponentList& getComponents() const { return _components; }
    // The first component of class T, walking from the beginning; null if none.
    template <typename T>
    T* findFirstComponent() const;
    // The scene's top-level drawing order, back first.
    const ComponentList& getRenderList() const { return _renderList; }

    // ---- Frame ----
    // One frame: renderIntoBuffers on every component, then animateMyself(dt)
    // on every component (and doConstantAnimations while animating), then the
    // motion of grabbed and tossed components, then drawing in render order.
    // dt = speed x frame seconds, the frame seconds being the time since the
    // previous frame (1/60 s for the first), capped at MaxFrameSeconds; at
    // speed 40 and 60 frames per second dt is about 0.67. users: input users
    // whose touch indicators are drawn. Returns the rate of this frame in
    // frames per second (from the uncapped time).
    double render(unsigned users, double speed);
    // Draws the scene as a frame's last step does, with no update, animation
    // or motion (off-screen pictures of the current state).
    void drawFrame(unsigned users) { drawScene(users); }
    // Replaces the measured frame time by a fixed one (seconds); 0 measures
    // again. For tests and replays.
    void setFixedFrameTime(double seconds) { _fixedFrameSeconds = seconds; }
    bool isInFrame() const { return _inFrame; }
    std::uint64_t getFrameNumber() const { return _frameNumber; }
    void setAnimating(bool on) { _animating = on; }
    bool isAnimating() const { return _animating; }
    static constexpr double MaxFrameSeconds = 0.1;

    // ---- Input ----
    // A contact of user `device` at device pixel (x, y); value is the input's
    // own value (pressure, button), kept as getContactValue. devicePress picks
    // the front-most component at the point, remembers it as the user's last
    // component, brings it to the front unless its render order is static,
    // and calls its hitLocalBuffer(x, y, bound width, bound height, device).
    // deviceMove calls hitLocalBuffer on the user's last component (without a
    // contact down and without a last component it picks one: hovering and
    // joystick pointing); deviceRelease calls its releaseLocalBuffer(x, y,
    // device). The last component stays until the next press (or
    // setLastComponent). Devices outside 0 .. users - 1 are ignored.
    void devicePress(int x, int y, int value, int device);
    void deviceMove(int x, int y, int value, int device);
    void deviceRelease(int x, int y, int value, int device);
    // Front to back over the render list: active, pickable components only,
    // each by its rotated rectangle and containsLocalPoint; a composite's
    // local render list is searched before the composite itself (also when
    // the composite itself is not pickable). Null when nothing is hit.
    VisComponent* pickComponent(double x, double y) const;
    void setLastComponent(int user, VisComponent* component);
    VisComponent* getLastComponent(int user) const;
    bool isContactDown(int user) const;
    int getContactValue(int user) const;
    // One Wii Remote report for every active top-level component (scene
    // render list, front first): pressed holds the WIIMOTE_BUTTON codes newly
    // pressed. users: the direct-touch users (the Remote's device follows them).
    void wiimoteEvent(unsigned users, const std::vector<int>& pressed, const WiiCommunicationData& record);

    // ---- Touch indicators and contact sizes ----
    // Contact size reported by the input for a user, in the input's units;
    // handed to hitLocalBuffer as width and height.
    void setTouchBoundWidth(int user, double width);
    void setTouchBoundHeight(int user, double height);
    double getTouchBoundWidth(int user) const;
    double getTouchBoundHeight(int user) const;
    // A user's indicator: an ellipse of this size in pixels at the user's last
    // point, drawn while both sides are above 0.
    void resizeTouchIndicator(int user, double width, double height);
    double getTouchIndicatorWidth(int user) const;
    double getTouchIndicatorHeight(int user) const;
    // With extend, a pressed contact is also drawn with its reported size
    // times the extend factors (input units to pixels).
    void renderAllTouchIndicatorWithExtend(bool on) { _indicatorsWithExtend = on; }
    bool isRenderingTouchIndicatorWithExtend() const { return _indicatorsWithExtend; }
    void setScaleFactorExtendWidth(double factor) { _extendWidth = factor; }
    void setScaleFactorExtendHeight(double factor) { _extendHeight = factor; }
    double getScaleFactorExtendWidth() const { return _extendWidth; }
    double getScaleFactorExtendHeight() const { return _extendHeight; }
    // Draws each pickable component in a flat colour of its id instead of the
    // picture (a debug view of what picking sees).
    void setPickingRendering(bool on) { _pickingRendering = on; }
    bool isPickingRendering() const { return _pickingRendering; }

    // ---- Sizes ----
    // A change calls rebuildGraphicRepresentation on every component.
    void setScreensize(unsigned width, unsigned height);
    unsigned getScreenWidth() const { return _screenWidth; }
    unsigned getScreenHeight() const { return _screenHeight; }
    unsigned getBufferWidth() const { return _bufferWidth; }
    unsigned getBufferHeight() const { return _bufferHeight; }
    double getCellsPerPixelX() const { return _cellsPerPixelX; }
    double getCellsPerPixelY() const { return _cellsPerPixelY; }
    unsigned getNumberOfUsers() const { return static_cast<unsigned>(_userStates.size()); }

    // ---- Property buffers ----
    // New zero-filled grids, owned by the caller (usually handed straight to
    // VisComponent::setActiveBuffer). The scene counts their memory for as
    // long as they live, even beyond the scene.
    std::unique_ptr<BufferTemplate<bool>> createNewBoolImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<int>> createNewIntImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<unsigned int>> createNewUnsignedIntImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<unsigned int>> createNewUIntImageBuffer(int width, int height)
    {
        return createNewUnsignedIntImageBuffer(width, height);
    }
    std::unique_ptr<BufferTemplate<float>> createNewFloatImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<float>> createNew2DFloatVectorImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<double>> createNewDoubleImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<double>> createNew2DDoubleVectorImageBuffer(int width, int height);
    std::unique_ptr<BufferTemplate<unsigned char>> createNew3DUCharImageBuffer(int width, int height);
    // Memory held by live buffers made here, in KiB (rounded to the nearest);
    // the window shows it divided by 1024, in MB.
    unsigned long getAllocatedMemorySize() const;
    // True once after any buffer made here was made or freed.
    bool bufferMemoryChanged();
    // Timing of a block of work: push starts a clock, pop returns the seconds
    // since the matching push (0 without one). Pairs nest.
    void pushTimeState();
    double popTimeState();

    // ---- Textures and fonts ----
    // This scene holds none: loads fail (0, false) and lookups answer as for
    // an empty library. TabletopVisGL owns a TextureLibrary and a FontLibrary
    // and answers with them (see TextureLibrary for the texture geometry).
    virtual unsigned loadTexture(const std::string& path, bool imageTexture);
    virtual std::size_t addImageTexture(const RGBAImage& image);
    virtual std::size_t getImageTextureCount() const;
    virtual unsigned getImageTextureIDAt(std::size_t i) const;
    virtual float getTextureMinXAt(std::size_t i) const;
    virtual float getTextureMaxXAt(std::size_t i) const;
    virtual float getTextureMinYAt(std::size_t i) const;
    virtual float getTextureMaxYAt(std::size_t i) const;
    virtual unsigned getTextureSizeAt(std::size_t i) const;
    virtual bool loadFont(const std::string& file, unsigned size);
    virtual FTFont* getFont(const std::string& name) const;

    // ---- Texture and display settings ----
    // The four texture settings apply to textures loaded afterwards.
    void enableMipMapping(bool on);
    void enableLinearFiltering(bool on);
    void enableTextureCompression(bool on);
    void enableARBTextureCompression(bool on);
    bool isMipMapping() const;
    bool isLinearFiltering() const;
    bool isTextureCompression() const;
    bool isARBTextureCompression() const;
    // Fast rather than nice GL hints, applied by initializeRenderer.
    void enableHardwareOptimization(bool on) { _hardwareOptimization = on; }
    bool isHardwareOptimization() const { return _hardwareOptimization; }
    // Kept for the surface that owns the context: swap interval is a property
    // of its format, chosen before the context is made.
    void enableVSync(bool on) { _vsync = on; }
    bool isVSync() const { return _vsync; }
    // GL state for 2-D drawing (TabletopVisGL); nothing here.
    virtual void initializeRenderer();
    // The texture library's parameter hook, called with each new texture
    // bound (TabletopVisGL: applies the library's default filters).
    virtual void determineTextureParameters();
    const TextureSettings& getTextureSettings() const { return _textureSettings; }

    // ---- Container and colour settings ----
    // Stored for containers that size themselves; the engine does not use it.
    void setInitialMaxCurrentWidth(double width) { _initialMaxCurrentWidth = width; }
    double getInitialMaxCurrentWidth() const { return _initialMaxCurrentWidth; }
    void setContainerBorderWidth(double width) { _containerBorderWidth = width; }
    double getContainerBorderWidth() const { return _containerBorderWidth; }
    // Alpha of a container's inside (0 to 1).
    void setContainerOpacity(double opacity) { _containerOpacity = opacity; }
    double getContainerOpacity() const { return _containerOpacity; }
    // Refinement levels of containers' inside and outline splines.
    void setContainerControlPointSteps(unsigned inside, unsigned outside);
    unsigned getContainerInsideSteps() const { return _insideSteps; }
    unsigned getContainerOutsideSteps() const { return _outsideSteps; }
    void setInsideColor(float r, float g, float b) { _insideColor = {r, g, b}; }
    void setBorderColor(float r, float g, float b) { _borderColor = {r, g, b}; }
    void setHighlightColor(float r, float g, float b) { _highlightColor = {r, g, b}; }
    SceneColor getInsideColor() const { return _insideColor; }
    SceneColor getBorderColor() const { return _borderColor; }
    SceneColor getHighlightColor() const { return _highlightColor; }

    // ---- Motion parameters ----
    // Tossing: a released object keeps its velocity (pixels per frame),
    // multiplied each frame by friction (or by its parent's SLOWDOWN_BUFFER
    // cell under it, when the parent has one), and stops once its speed is
    // below cutoff (pixels per frame).
    void setTossingParameters(double friction, double cutoff);
    double getTossingFriction() const { return _tossingFriction; }
    double getTossingCutoff() const { return _tossingCutoff; }
    // The per-frame velocity factor of a tossed object away from borders:
    // the friction. Slowdown buffers hold it and ramp it to 0 at the border.
    double getTossingSlowdownFactor() const { return _tossingFriction; }
    // Rotate-and-translate: factor is the radius of the central translate-only
    // disc as a fraction of half the smaller side (0: every contact turns,
    // 1: only contacts beyond the inscribed circle turn); circleTime is the
    // shortest time in seconds for a full turn (turns asked faster are
    // spread over frames; 0: no limit).
    void setRNTParameters(double factor, double circleTime);
    double getRNTFactor() const { return _rntFactor; }
    double getRNTCircleTime() const { return _rntCircleTime; }
    // factor^2 / 4: a point whose squared distance from a component's centre
    // exceeds this times getSmallestSquareSurface() lies outside the disc.
    double getQuaterSquaredRNTFactor() const { return 0.25 * _rntFactor * _rntFactor; }

protected:
    // useGL: the subclass draws and makes GL resources.
    TabletopVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                unsigned screenHeight, bool useGL);
    // Deletes every component, newest first; idempotent. The destructor calls
    // it; a subclass whose resources components may still use calls it first.
    void destroyComponents();
    // Destroys the shared resources; the destructor calls it after
    // destroyComponents.
    void clearSharedResources() { _sharedResources.clear(); }
    // Draws the frame (render list back to front, touch indicators); called
    // by render() after the motion step. Nothing here.
    virtual void drawScene(unsigned users);

    struct UserState
    {
        VisComponent* last = nullptr;
        int x = 0;
        int y = 0;
        int value = 0;
        bool down = false;
        double boundWidth = 0.0;
        double boundHeight = 0.0;
        double indicatorWidth = 0.0;
        double indicatorHeight = 0.0;
    };
    const UserState* userState(int user) const;
    UserState* userState(int user);
    // The user's state with its latest point and value; null for an unknown user.
    UserState* updateUser(int x, int y, int value, int device);

private:
    friend class VisComponent;

    // A dying component: drop every reference the scene holds to it.
    void forgetComponent(VisComponent* component);
    // Components that need motion frames (grabbed or tossed).
    void trackMotion(VisComponent* component);
    void advanceMotion(double frameSeconds);
    double measureFrameSeconds();
    // Between begin and end (nested), deleteComponent detaches at once and
    // frees when the outermost end comes: frames and Wii deliveries walk
    // component lists meanwhile.
    void beginDeferringDeletions() { ++_deferDepth; }
    void endDeferringDeletions();
    void detach(VisComponent* component);
    void deliverContact(VisComponent* component, const UserState& state, int device);
    double userField(int user, double UserState::*field) const;
    void setUserField(int user, double UserState::*field, double value);

    bool _useGL;
    unsigned _bufferWidth, _bufferHeight;
    unsigned _screenWidth, _screenHeight;
    double _cellsPerPixelX, _cellsPerPixelY;

    ComponentList _components{ComponentList::Role::Ownership};
    ComponentList _renderList{ComponentList::Role::Render};
    std::vector<VisComponent*> _graveyard;   // deleted while deferring
    unsigned _deferDepth = 0;
    std::vector<VisComponent*> _moving;
    std::vector<UserState> _userStates;
    bool _tearingDown = false;
    std::map<std::type_index, std::shared_ptr<void>> _sharedResources;

    bool _inFrame = false;
    bool _animating = false;
    std::uint64_t _frameNumber = 0;
    double _fixedFrameSeconds = 0.0;
    bool _hasLastFrameTime = false;
    std::chrono::steady_clock::time_point _lastFrameTime;

    bool _pickingRendering = false;
    bool _indicatorsWithExtend = false;
    double _extendWidth = 1.0, _extendHeight = 1.0;

    struct MemoryLedger
    {
        std::int64_t bytes = 0;
        bool changed = false;
    };
    std::shared_ptr<MemoryLedger> _ledger;
    std::vector<std::chrono::steady_clock::time_point> _timeStates;

    TextureSettings _textureSettings;
    bool _hardwareOptimization = false;
    bool _vsync = false;

    double _initialMaxCurrentWidth = 100.0;
    double _containerBorderWidth = 15.0;
    double _containerOpacity = 0.75;
    unsigned _insideSteps = 3, _outsideSteps = 3;
    SceneColor _insideColor{0.16f, 0.12f, 0.24f};
    SceneColor _borderColor{0.2f, 0.5f, 0.9f};
    SceneColor _highlightColor{0.8f, 0.0f, 0.0f};

    double _tossingFriction = 0.98;
    double _tossingCutoff = 0.15;
    double _rntFactor = 0.5;
    double _rntCircleTime = 2.0;

    template <typename T>
    std::unique_ptr<BufferTemplate<T>> makeBuffer(int width, int height, int dimension);
    void setTextureFlag(bool TextureSettings::*flag, bool on);
};

template <typename T>
T* TabletopVis::findFirstComponent() const
{
    for (std::size_t i = 0; i < _components.slotCount(); ++i)
        if (auto* found = dynamic_cast<T*>(_components[i]))
            return found;
    return nullptr;
}
