// CanvasCompositeGL: the painting surface. Owns the canvas property buffers
// that tool brushes, menus and the reference image write and every primitive
// reads; holds the primitives, palettes and tool brushes as children; runs
// the deferred clears and the deletion queue once per frame; computes the
// feature-curve distance field; dumps buffers and takes screenshots; turns
// touches, postures and Wii input into tool actions (CanvasInteraction.cpp).
#pragma once

#include "BrushCanvas.h"
#include "ControlTable.h"
#include "Curve2D.h"
#include "GLDisplayList.h"
#include "GLTexture.h"
#include "InteractionMode.h"
#include "PostureDetector.h"
#include "SurfaceCompositeGL.h"
#include "TaskRecord.h"
#include "WiiCommunicationData.h"

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ContextMenuGL;
class CornerMenuGL;
namespace CanvasBuffers {
enum class Group;
struct BufferRow;
} // namespace CanvasBuffers
class PaletteLeafGL;
class PrimitiveBatch;
class PrimitiveLeafGL;
class PrimitiveStore;
class ToolBrushLeafGL;

// Canvas buffers are grids of the canvas's buffer size (getBufferWidth x
// getBufferHeight) except controlBuffer, a 10 x 10 table. Cell (x, y) of
// every grid is the buffer cell of the canvas (VisComponent's conversions).
// controlBuffer cells are addressed by their names (ControlTable.h).
class CanvasCompositeGL : public SurfaceCompositeGL, public BrushCanvas
{
public:
    static constexpr int SlowdownRings = 150;
    static constexpr float SlowdownStep = 0.006666666828095913f;
    // Radius of the distance cone: depth 1 is reached this far from the curve.
    static constexpr double ConeRadius = -87.15574274765818;
    static constexpr int ModeLabelCount = 6;
    static constexpr float ModeLabelAlphaStart = 0.1f;

    // Bounds of the amounts the Nunchuk adjusts.
    static constexpr double MinStepAmount = 2.0;
    static constexpr double MaxStepAmount = 30.0;
    static constexpr int MinSizeStep = 1;
    static constexpr int MaxSizeStep = 10;
    // Wii Remote buttons of the pointing input combinations (3 to 6): the
    // trigger presses at the pointer, plus and minus cycle the mode, one and
    // two open and close the corner menu.
    static constexpr int PressButton = WiiCommunicationData::BUTTON_B;
    static constexpr int ModeForwardButton = WiiCommunicationData::BUTTON_PLUS;
    static constexpr int ModeBackwardButton = WiiCommunicationData::BUTTON_MINUS;
    static constexpr int CornerMenuOpenButton = WiiCommunicationData::BUTTON_ONE;
    static constexpr int CornerMenuCloseButton = WiiCommunicationData::BUTTON_TWO;

    // scene, then the surface (centre x, y, width, height, angle, border,
    // overflow, background texture); toolBrushes brushes are made, each with
    // the two brush values (brushValue is the size scale, elementKind the kind
    // of element new primitives are made of, also the initial cell
    // ElementKindCell); initialSize is the initial primitive size; the last value is
    // kept for callers that need it.
    CanvasCompositeGL(TabletopVis* scene, double x, double y, double width, double height, double angle,
                      double border, double overflow, unsigned textureId, unsigned toolBrushes, int brushValue,
                      int elementKind, float initialSize, int furtherValue);
    ~CanvasCompositeGL() override;

    // ---- Framework overrides ----
    // A palette child joins the palette array (at most 3); children enter the
    // id map and the local render list and get the canvas buffers.
    int addChild(VisComponent* child) override;
    int removeChild(VisComponent* child) override;
    // A primitive made by PrimitiveFactory, added to the scene and to this
    // canvas (the brushes' create stamp, task layouts, the builder).
    VisComponent* makePrimitive(const PrimitiveParams& params) override;
    // The size easing, then one frame of every primitive child: the store
    // steps them (tiles' footprints first), the scene's passes skip them.
    void animateMyself(double dt) override;
    const PrimitiveStore& getPrimitiveStore() const { return *_store; }
    // Input entry points of the interaction modes (CanvasInteraction.cpp).
    // A press or move at device pixel (x, y) with the contact size in board
    // units: records the brush position, feeds the posture detector and runs
    // the handler the input combination and mode (or posture) choose.
    // Returns 1.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // The contact ended: parks or keeps the brush by input combination, sets
    // the idle action and resets the posture detector. Returns 1.
    int releaseLocalBuffer(int x, int y, int device) override;
    // Deferred work of the frame: dodging clear, erase validation, deletion
    // queue, temporary clears, task layout (see the .cpp for the order).
    void renderIntoBuffers() override;
    // Centres the canvas on the screen; grows the buffers when the scene's
    // buffer grid grew, keeping the cells of size, orientation, speed and
    // control.
    void rebuildGraphicRepresentation() override;
    // One Wii report: kept in the history; with the pointing combinations
    // (3 to 6) the Nunchuk chooses modes and amounts and the press button
    // presses at the pointer (pointerX, pointerY taken as device pixels).
    int wiimoteEvent(const std::vector<int>& buttons, const WiiCommunicationData& data) override;
    // Background (live) or the frozen picture, debug curves, pending feature
    // curve, and the children drawn in batches.
    void render() override;
    void specificRender() override;
    void createActiveBuffers() override;
    // A dark umber frame of the border width round the painting.
    void renderBorder() override;
    // The mode label over the children.
    void specificRenderAdditional() override;

    // ---- Own virtual operations ----
    virtual void noOperation();
    virtual void clearGradientOrientation();
    virtual void clearTempOrientation();
    virtual void clearSelection();
    virtual void clearEraseBuffer();
    virtual void clearSizeDiff();
    virtual void eraseInsideCurve();
    virtual void markSelectionDirty();
    virtual void markEraseDirty();
    virtual void markGradientOrientation();
    virtual void markOrientationPending();
    virtual void saveBuffers();
    virtual void loadBuffers();
    virtual void createBufferImage(int tag);
    virtual void markErasePending();
    virtual void scheduleDeletion(VisComponent* component);
    bool isTrackingTouches() const override;
    virtual void setTrackingTouches(bool on);
    virtual bool wasTouched() const;
    virtual void setInteractionMode(InteractionMode mode);
    virtual bool hasPrimitiveOfCurrentType() const;
    virtual float getDefaultPrimitiveSize() const;
    virtual void setObserverPointer(void* observer);
    virtual int getSizeStep() const;
    virtual int getStepAmount() const;
    virtual void setUpTask(int taskIndex);
    virtual void clearTargetArea();
    virtual bool isNunchukIgnored() const;
    virtual void setNunchukIgnored(bool on);
    virtual void setCompanionPointer(void* companion);
    virtual void prepareTaskTarget(const TaskRecord& record);
    virtual void fillTargetArea();
    virtual void createTaskPrimitives(const TaskRecord& record);
    virtual void compileModeLabels();
    virtual void createCanvasBuffers();
    // Press handlers of the interaction modes: (x, y) in device pixels,
    // contact width and height, posture (replaced by the simulated posture
    // unless that is 6). Each writes its tool action into controlBuffer and,
    // on the report that decided the contact's posture, first replays the
    // contact's first positions through the first brush. Return 1.
    virtual int orientAt(double x, double y, double width, double height, int posture);
    virtual int moveAt(double x, double y, double width, double height, int posture);
    virtual int resizeAt(double x, double y, double width, double height, int posture);
    virtual int colorAt(double x, double y, double width, double height, int posture);
    virtual int createAt(double x, double y, double width, double height, int posture);
    virtual int eraseAt(double x, double y, double width, double height, int posture);
    virtual int spareHandler1(double x, double y, double width, double height, int posture);
    // ActionCode::Orientation with the OrientationStyle Follow, Radial or
    // Circular.
    virtual void setOrientationStyleFollow();
    virtual void setOrientationStyleRadial();
    virtual void setOrientationStyleCircular();
    virtual int spareHandler2(double x, double y, double width, double height, int posture);
    virtual int spareHandler3(double x, double y, double width, double height, int posture);
    virtual int spareHandler4(double x, double y, double width, double height, int posture);
    virtual int spareHandler5(double x, double y, double width, double height, int posture);
    virtual void renderInitialCurve();
    virtual void renderResampledCurve();
    virtual void renderFeatureCurveDepth();
    virtual void printInteractionMode() const;
    virtual void compileConeList();
    virtual void drawTexturedQuad(unsigned textureId);
    virtual void computeDepthField();
    virtual void computeGradientOrientation();
    // Writes width x height RGBA pixels (bottom row first) as
    // "screenshot<n>.png" in the working directory; returns the file name
    // ("" on failure).
    virtual std::string saveScreenshot(const unsigned char* rgba, int width, int height);

    // Layers are primitive types (controlBuffer (0,3)); each keeps its own
    // size, orientation, speed and colour fields in the raw buffer files.
    // addLayer saves the current layer's fields and makes `layer` current
    // with the fields as they are; switchToLayer saves them and loads the
    // fields `layer` saved (missing files leave the fields unchanged).
    void addLayer(unsigned layer);
    void switchToLayer(unsigned layer);

    // Live painting draws the strokes; a frozen canvas shows the picture it
    // had when it was frozen (read from the frame buffer) instead.
    void setLivePainting(bool live);
    bool isLivePainting() const { return _livePainting; }
    // Study task mode as the main window switches it (Alt+T / Shift+T).
    void setTaskMode(bool on) { _taskMode = on; }
    bool isTaskMode() const { return _taskMode; }
    // The frozen picture's texture; 0 while live or without GL.
    unsigned getFrozenTextureId() const { return _frozenTexture.id(); }

    // ---- controlBuffer ----
    // The table (null before the buffers exist) and its cells; 0 and no
    // write without it.
    BufferTemplate<float>* getControlTable() const;
    float getControlValue(ControlCell cell) const { return ControlTable::get(getControlTable(), cell); }
    void setControlValue(ControlCell cell, float value) { ControlTable::set(getControlTable(), cell, value); }
    int getCurrentPrimitiveType() const
    {
        return static_cast<int>(getControlValue(ControlCells::PrimitiveType));
    }

    // ---- State ----
    InteractionMode getInteractionMode() const { return _curInteractionMode; }
    bool isModeChanged() const { return _modeChanged; }
    float getLabelAlpha() const { return _labelAlpha; }
    unsigned getNumberOfToolBrushes() const { return static_cast<unsigned>(_toolBrushes.size()); }
    ToolBrushLeafGL* getToolBrush(unsigned i) const { return i < _toolBrushes.size() ? _toolBrushes[i] : nullptr; }
    unsigned getNumberOfPalettes() const { return _paletteCount; }
    PaletteLeafGL* getPalette(unsigned i) const { return i < _paletteCount ? _palettes[i].palette : nullptr; }
    std::size_t getDeletionQueueLength() const { return _deletionQueue.size(); }
    int getCanvasBufferWidth() const { return static_cast<int>(_bufferWidth); }
    int getCanvasBufferHeight() const { return static_cast<int>(_bufferHeight); }
    int getBrushValue() const { return _brushValue; }
    int getElementKind() const { return _elementKind; }
    PostureDetector& getPostureDetector() { return _postureDetector; }
    // The contact-area bounds the posture detector classifies with.
    void setPostureRanges(const PostureRanges& ranges) { _postureDetector = PostureDetector(ranges); }
    const std::vector<unsigned>& getStepTextureIds() const { return _stepTextureIds; }
    int getScreenshotCounter() const { return _screenshotCounter; }

    // Study tasks: the list the widget keeps (not owned; outlives the canvas)
    // and the index of the running task.
    void setTaskList(const std::vector<TaskRecord>* tasks) { _tasks = tasks; }
    int getCurrentTaskIndex() const { return _curTaskNr; }
    const TaskRecord& getCurrentTaskRecord() const { return _currentTask; }
    bool isLayoutPending() const { return _layoutPending; }
    // The end of a study task: each primitive's state goes into the primitive
    // log (while it records), then the target area is cleared.
    void endTask();
    // Draws the target areas of the current task (device pixels).
    void renderTaskTarget() const;

    // The feature curve the mosaic layout follows: points in device pixels;
    // the curve is resampled and its distance field computed in the next
    // drawn frame.
    Curve2D& getInitialCurve() { return _initialCurve; }
    // The lasso eraseInsideCurve fills (device pixels). While the context
    // menu is shown a contact on the canvas draws it instead of painting;
    // it is handed to the menu as it grows.
    Curve2D& getLassoCurve() { return _lassoCurve; }
    // The amount a value of eraseBuffer must reach for one frame of it to
    // remove a fresh primitive.
    static constexpr float LassoEraseMark = 210.0f;
    // Paints colorBuffer inside the lasso with the paint colour (the
    // controlBuffer paint cells); primitives there take it in the next frame.
    void colourInsideCurve();
    // Applies the current interaction mode inside the lasso as a brush held
    // over all of it would, with the style or amount the mode last wrote:
    // Size grows (or shrinks) by the size-difference amount (5 when none)
    // in each of four frames; Orient turns primitives radially from the
    // lasso's centre, round it (Circular, Follow) or at random up or down;
    // Move holds vectors towards, away from or round the centre for a
    // second; Color paints as colourInsideCurve. False, with nothing done,
    // in the other modes or for a lasso of fewer than three points.
    bool modifyInsideCurve();
    // Fills the lasso with new primitives of the current element kind, made
    // by the first brush as its create stamp makes them and as densely as a
    // stamp of the current create amount (5 when it is not positive), at
    // random points inside. Returns how many were made (0 without a brush
    // or with a lasso of fewer than three points).
    int createInsideCurve();
    const Curve2D& getResampledCurve() const { return _resampledCurve; }
    void setFeatureCurvePending(bool pending) { _featureCurvePending = pending; }
    bool isFeatureCurvePending() const { return _featureCurvePending; }
    void setDebugCurvesShown(bool initial, bool resampled);
    bool isGradientOrientationSet() const { return _gradientOrientationSet; }
    // Copies a depth image (width x height floats, bottom row first, one per
    // screen pixel) into depthBuffer at the overflow offset, the rest 1.0.
    void storeDepthImage(const float* depth, int width, int height);

    // A device point as a canvas buffer cell.
    void deviceToCell(double x, double y, int& cellX, int& cellY) const;

    // ---- Interaction state (CanvasInteraction.cpp) ----
    // Where the input combination (0 to 7) comes from: the scene holds it
    // and hands in a reader. Without one the canvas acts as combination 7.
    void setInputCombinationSource(std::function<int()> source);
    int getInputCombination() const;
    // The main window's fake posture: pen to hand win over the posture
    // detector and bring the contact size of that posture (used when the
    // input reports none); None lets the detector decide.
    void setSimulatedPosture(Posture posture);
    Posture getSimulatedPosture() const { return _simulatedPosture; }
    double getSimulatedContactWidth() const { return _simulatedWidth; }
    double getSimulatedContactHeight() const { return _simulatedHeight; }
    // The posture the last handler ran with, and the last posture the
    // posture-only combination (7) acted on.
    Posture getCurrentPosture() const { return _curPosture; }
    Posture getPreviousPosture() const { return _prevPosture; }
    // getStepAmount without truncation.
    double getExactStepAmount() const { return _stepAmount; }
    bool isModeChosenByNunchuk() const { return _modeChosenByNunchuk; }
    bool isReleased() const { return _released; }
    // Scales the Nunchuk's brush adjustment (joystick y to adjust amount).
    void setAdjustFactor(double factor) { _adjustFactor = factor; }
    double getAdjustFactor() const { return _adjustFactor; }
    std::size_t getStepTextureIndex() const { return _stepTextureIndex; }
    const WiiCommunicationData& getCurrentWiiData() const { return _curWiiData; }
    // The Wii report `age` events back (0: the latest); the history holds 50.
    const WiiCommunicationData& getWiiHistory(std::size_t age) const;

private:
    // One deferred clear: the request and its one-frame delay.
    struct DeferredClear
    {
        bool requested = false;
        bool delayed = false;
    };
    // Runs `clear` one frame after the request: the first frame only arms
    // the delay. Returns whether the clear ran.
    bool stepDeferredClear(DeferredClear& state, void (CanvasCompositeGL::*clear)());
    // Fills the buffer of tag with value and ends the request, when requested.
    template <typename T>
    void clearRequested(DeferredClear& state, int tag, T value);
    void createToolBrushes(unsigned count);
    // The buffers of one group of CanvasBufferTable.h, in table order; one
    // buffer made, stored and filled as its entry says.
    void createBufferGroup(CanvasBuffers::Group group);
    void createBuffer(const CanvasBuffers::BufferRow& row);
    void fillConstant(const CanvasBuffers::BufferRow& row);
    void drainDeletionQueue();
    void fillInitialControlTable();
    void fillRandomOrientations();
    void fillSlowdownField();
    void drawModeLabel();
    void stepLabelAlpha();
    void drawChildren();
    void freezePicture();
    void resampleFeatureCurve();
    // One list per target area of the current task (device pixels; an
    // unused area's list is empty); nothing without GL.
    void compileTargetAreas(GLDisplayList& lists) const;
    static PaletteLeafGL* asPalette(VisComponent* child);
    // Each primitive child's state into the primitive log (study tasks).
    void logPrimitives();

    // ---- Interaction (CanvasInteraction.cpp) ----
    // A mode change chosen by posture, Nunchuk or Wii button: no label.
    void changeModeQuietly(InteractionMode mode);
    // The posture a handler acts on (the simulated one unless None); kept as
    // the current posture.
    Posture handlerPosture(int posture);
    // The report just fed to the detector decided the contact's posture.
    bool contactJustDecided() const;
    // Stamps the contact's first positions with the first brush: create
    // for a positive amount, erase for a negative one.
    void replayContactStart(double amount);
    // Replays when the posture was just decided (and none is simulated),
    // then writes ActionCode::CreateErase with the amount.
    void stampAction(double replayAmount, double amount);
    // The action code and its amount.
    void writeAction(ActionCode code, double amount);
    // Nunchuk buttons as the handlers see them: Z never held while the
    // Nunchuk is ignored; C always as reported.
    bool nunchukC() const;
    bool nunchukZ() const;
    void writeBrushPosition(double x, double y);
    void parkToolBrush();
    void setToolBrushSize(double size);
    void setToolBrushHint(int hint);
    // Every brush to the render front, told of the press and active.
    void pressToolBrushes();
    void bringPalettesToFront();
    void adjustStepAmount(double delta);
    void adjustSizeStep(double joystick);
    // The handler of mode 0, 1, 3, 4, 5 or 6; other modes do nothing.
    void runModeHandler(InteractionMode mode, double x, double y, double width, double height, Posture posture);
    // The dispatch of a press by input combination group.
    void pressByNunchukPosture(double x, double y, double width, double height, Posture posture);
    void pressByNunchukMode(double x, double y, double width, double height);
    void pressByPosture(double x, double y, double width, double height, Posture posture);
    // Mode 2 with the Nunchuk choosing modes (combination 6).
    void createEraseByNunchuk(double x, double y, double width, double height);
    // The Wii parts of wiimoteEvent.
    void nunchukModeEvent(const WiiCommunicationData& data);
    void nunchukGesture();
    void joystickModeChoice();
    void modeCyclingEvent(const std::vector<int>& buttons, const WiiCommunicationData& data);
    void adjustToolBrush(double joystickY);
    void endToolBrushAdjust();
    void pointerPress(const WiiCommunicationData& data, bool nunchukModes);
    void pointerRelease();
    void stepTexture(int direction);
    // ---- Menus (CanvasInteraction.cpp) ----
    ContextMenuGL* contextMenu() const;
    // The lasso's points as canvas buffer cells.
    std::vector<Vector2d> lassoCells() const;
    // The cells inside the lasso on the canvas grid and the lasso's centre
    // (cells); null for a lasso of fewer than three points.
    std::unique_ptr<BufferTemplate<bool>> lassoMask(double& centreX, double& centreY) const;
    // Counts down the lasso's move vectors and size differences and clears
    // each at its end.
    void stepLassoHolds();
    CornerMenuGL* cornerMenu() const;
    // Extends the lasso by device (x, y) and hands it to the menu; the first
    // report of a contact starts a new lasso.
    void extendLasso(ContextMenuGL& menu, double x, double y);
    // The corner menu shows the action just written (code and amount).
    void indicateAction(ActionCode code, double amount);
    // The corner menu shows the action a mode starts with (that of one
    // finger), so a mode switch shows before the first touch.
    void indicateMode(InteractionMode mode);

    std::unique_ptr<PrimitiveBatch> _batch;
    std::unique_ptr<PrimitiveStore> _store;
    std::vector<ToolBrushLeafGL*> _toolBrushes;
    // A palette child as the palette and as the component it is.
    struct PaletteEntry
    {
        PaletteLeafGL* palette = nullptr;
        VisComponent* component = nullptr;
    };
    std::array<PaletteEntry, 3> _palettes{};
    unsigned _paletteCount = 0;
    std::deque<VisComponent*> _deletionQueue;

    InteractionMode _curInteractionMode = InteractionMode::CreateErase;
    InteractionMode _secondMode = InteractionMode::CreateErase;
    bool _modeChanged = false;
    Posture _curPosture = Posture::None;
    Posture _prevPosture = Posture::None;
    Posture _simulatedPosture = Posture::None;
    double _simulatedWidth = 0.0;
    double _simulatedHeight = 0.0;
    std::function<int()> _inputCombinationSource;

    float _initialSize;
    int _brushValue;
    int _elementKind;
    int _furtherValue;
    double _stepAmount = 5.0;
    int _sizeStep = 2;
    float _labelAlpha = 0.1f;
    bool _labelFading = false;

    unsigned _bufferWidth = 0;
    unsigned _bufferHeight = 0;
    GLDisplayList _coneList;
    GLDisplayList _modeLabels;
    GLDisplayList _frozenList;
    GLDisplayList _targetAreaLists;   // one per target area of the current task
    GLTexture _frozenTexture;   // with _frozenList: both or neither
    bool _livePainting = true;
    bool _taskMode = false;

    Curve2D _initialCurve;
    Curve2D _resampledCurve;
    Curve2D _lassoCurve;
    bool _drawingLasso = false;   // the current contact draws the lasso
    bool _featureCurvePending = false;
    bool _showInitialCurve = false;
    bool _showResampledCurve = false;

    const std::vector<TaskRecord>* _tasks = nullptr;
    TaskRecord _currentTask;
    int _curTaskNr = 0;

    DeferredClear _selectionClear;
    DeferredClear _eraseClear;
    DeferredClear _sizeDiffClear;
    DeferredClear _tempOrientationClear;
    int _lassoMoveFrames = 0;   // frames the lasso's move vectors still hold
    int _lassoSizeFrames = 0;   // and its size differences
    bool _gradientOrientationSet = false;
    bool _layoutPending = false;
    bool _erasePending = false;

    bool _trackingTouches = true;
    bool _touched = true;
    bool _firstPressSeen = false;
    bool _released = true;
    bool _nunchukIgnored = false;
    bool _modeChosenByNunchuk = false;
    bool _pointing = false;    // the press button was held in the last Wii report
    bool _adjusting = false;   // a Nunchuk brush adjustment is running
    double _adjustFactor = 10.0;
    void* _observer = nullptr;
    void* _companion = nullptr;

    std::vector<unsigned> _stepTextureIds;
    std::size_t _stepTextureIndex = 0;
    int _screenshotCounter = 0;

    std::array<WiiCommunicationData, 50> _wiiHistory{};
    std::size_t _wiiHistoryNext = 0;
    WiiCommunicationData _curWiiData{};
    NunchukCommunicationData _curNunchukData{};
    NunchukCommunicationData _prevNunchukData{};

    PostureDetector _postureDetector{PostureRanges{}};
};
