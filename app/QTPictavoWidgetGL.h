// The OpenGL drawing surface that fills the main window: frame loop, frame
// rate, statistics, mouse and touch input, animation and texture settings,
// and the task-mode overlay.
#pragma once

#include "BoardPointers.h"
#include "BoardTouchHandler.h"
#include "Demo.h"
#include "FrameRateAverage.h"
#include "PictavoBuildDirector.h"
#include "Posture.h"
#include "TaskOverlayGL.h"
#include "TaskRunner.h"
#include "TouchPointTracker.h"
#include "TouchSink.h"
#include "TuioReceiver.h"
#include "WiiJoystickPointer.h"
#include "WiiMessageEvaluator.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>

#include <functional>
#include <memory>
#include <array>
#include <vector>

class PictavoBuilderGL;
class QTimer;
class TabletopVis;
class TouchLogPlayer;
class ToolBrushLeafGL;
class VelkConfiguration;

// A QOpenGLWindow rather than a QOpenGLWidget: the widget variant draws into
// a framebuffer object and composes it with the window, which caps an empty
// frame loop at about a fifth of the rate a native GL window reaches here
// (bench_frameloop measures both). The main window embeds it with
// QWidget::createWindowContainer.
//
// The widget is the build director: it owns the builder and the newest scene
// (from the moment the builder makes it), which goes only through
// releaseScene, with the context current: when a demo replaces it and when
// the widget is destroyed.
//
// It is also the board's event handler (TouchSink): the touch sources -
// touch events on this surface, TUIO datagrams handed in by the main window
// and the replay of a touch log - report board contacts through the shared
// board pointers to OnXYDown, OnXYMove, OnXYUp and OnDViTRawWidthHeight,
// which reach the scene as device input of users 0 and 1.
class QTPictavoWidgetGL : public QOpenGLWindow, public PictavoBuildDirector, public TouchSink
{
    Q_OBJECT

public:
    // Which way the stroke build canvas switches in a frame, following the pen tray.
    enum class PenTrayChange { None, ShowBuildCanvas, HideBuildCanvas };

    // `config` is not owned and must outlive the widget.
    QTPictavoWidgetGL(const QSurfaceFormat& format, VelkConfiguration* config);
    ~QTPictavoWidgetGL() override;

    // Pen-tray notifications: a pen or the eraser was taken, or all tools
    // were put back. The next frame applies the change: while a tool is out
    // of the tray the live painting is frozen and the stroke build canvas is
    // shown; putting the tools back turns its sketch into the element image
    // of new primitives, hides it and resumes painting.
    void OnPen();
    void OnEraser();
    void OnNoTool();

    // Board callbacks, in board units (see TouchSink and BoardTouchHandler).
    void OnXYDown(int x, int y, int z, int id) override;
    void OnXYMove(int x, int y, int z, int id) override;
    void OnXYUp(int x, int y, int z, int id) override;
    void OnDViTRawWidthHeight(int width, int height, int id) override;

    // The TUIO frames of the main window's socket end up here.
    TuioReceiver& tuioReceiver() { return _tuio; }
    const BoardTouchHandler& boardTouch() const { return _boardTouch; }
    // The touch log being replayed ("touchreplay"), null when none is.
    TouchLogPlayer* touchLogPlayer() const { return _touchLogPlayer; }
    // While a fake posture (pen to hand) is set, mouse input reports a
    // contact size that the posture ranges classify as that posture.
    void setFakePosture(const FakePosture& posture) { _fakePosture = posture.posture; }
    Posture fakePosture() const { return _fakePosture; }
    // Study task mode (switched by the main window). Touch and Wii records
    // are logged only while a task runs.
    void setTaskMode(bool on);
    bool isTaskMode() const { return _taskRunner.isTaskMode(); }
    bool isTaskRunning() const { return _taskRunner.isTaskRunning(); }
    const TaskRunner& taskRunner() const { return _taskRunner; }
    const std::vector<std::array<unsigned, 2>>& taskTextures() const { return _taskTextures; }
    // The build canvas's sketch as the element image of new primitives
    // (with this surface's context current); nothing without a build canvas.
    void useBuildCanvasStrokes();

    bool isAnimating() const { return _animating; }
    double speed() const { return _speed; }
    bool isCursorVisible() const { return _cursorVisible; }
    bool isMouseTracking() const { return _mouseTracking; }
    bool isBuildCanvasShown() const { return _buildCanvasShown; }
    // Pointer position in widget pixels, origin bottom left.
    const float* pointerPos() const { return _pointerPos; }
    const unsigned char* paintColor() const { return _paintColor; }
    double paintRadius() const { return _paintRadius; }
    bool isMipMapping() const { return _mipMapping; }
    bool isLinearFiltering() const { return _linearFiltering; }
    bool isTextureCompression() const { return _textureCompression; }
    bool isARBTextureCompression() const { return _arbTextureCompression; }

    // ---- Wii Remotes (QTPictavoWidgetWii.cpp) ----
    // Device ids of the Remotes follow the direct-touch users; positions
    // are widget pixels, origin bottom left.
    // After every state message of a Remote with a Nunchuk: the joystick
    // step moves the pointer (and, beyond 2 pixels, a contact) in the
    // menu-driven input combinations 0 to 2; the others only hand the
    // record to the scene.
    void wiiJoystickEvent(int dx, int dy, int device, std::vector<int> pressed, const WiiCommunicationData& record,
                          bool zReleased);
    // A Remote button was pressed; (x, y) is the pointer's mean position.
    void wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed, const WiiCommunicationData& record);
    // The Remote's pointer reached the window's edge at (x, y).
    void wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed, const WiiCommunicationData& record);
    // Create and erase stamps of the first tool brush along the pointer's
    // path from its previous to its current position.
    void createObjectsAt(float amount);
    void eraseObjectsAt(float amount);
    // What the Wii message evaluation calls.
    WiiEventTarget& wiiTarget() { return _wiiTarget; }
    // Sends "/wiidata/leftBorderRegion" with its bool; the main window sets it.
    void setBorderMessageSender(std::function<void(bool)> sender) { _sendBorderMessage = std::move(sender); }
    bool isPointerInBorderZone() const { return _joystickPointer.inBorderZone(); }
    const float* previousPointerPos() const { return _previousPointerPos; }

    // Frames drawn since the surface was initialised.
    quint64 frameCount() const { return _frameCount; }
    // Seconds between the start of the last frame and the one before.
    double lastFrameSeconds() const { return _lastFrameSeconds; }
    // The information bar is told the scene's statistics after the next
    // frame (the scene changed outside a frame, e.g. a painting was opened).
    void reportStatisticsAfterNextFrame() { _statisticsPending = true; }

    // The current scene (a PictavoVisGL), null before initializeGL.
    TabletopVis* getVis() const { return _vis; }
    PictavoBuilderGL* getBuilder() const { return _builder.get(); }
    // Board-to-widget scale factors and the touch area factor of the scene set-up.
    double boardToScreenX() const { return _boardToScreenX; }
    double boardToScreenY() const { return _boardToScreenY; }
    double touchAreaFactor() const { return _touchAreaFactor; }

signals:
    void fpsChanged(const float fps);
    void objectNumber(const unsigned int number);
    void bufferSize(const unsigned int width, const unsigned int height);
    void allocatedMemorySize(const unsigned long kibibytes);
    void userNumber(const unsigned int number);
    void notifyMipMapping(bool on);
    void notifyLinearFiltering(bool on);
    void notifyTextureCompression(bool on);
    void notifyARBTextureCompression(bool on);

public slots:
    void changePaintColor(unsigned char r, unsigned char g, unsigned char b);
    void changePaintRadius(float radius);
    void changeDemo(int demo);
    void changeDemoToFirst();
    void changeDemoToMosaic();
    void changeDemoToPointillism();
    void addObjects();
    void removeObjects();
    void toggleAnimating();
    void startAnimating();
    void stopAnimating();
    void faster();
    void slower();
    void toggleMouseTracking();
    void toggleCursor();
    void toggleMipMapping(bool on);
    void toggleLinearFiltering(bool on);
    void toggleTextureCompression(bool on);
    void toggleARBTextureCompression(bool on);
    void startTask();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void touchEvent(QTouchEvent* event) override;

private:
    // The scene and the touch log as the board callbacks see them.
    class SceneTouchTarget : public BoardTouchTarget
    {
    public:
        explicit SceneTouchTarget(QTPictavoWidgetGL& widget) : _widget(widget) {}
        void resizeTouchIndicator(int user, double width, double height) override;
        void setTouchBoundWidth(int user, double width) override;
        void setTouchBoundHeight(int user, double height) override;
        void devicePress(int x, int y, int value, int device) override;
        void deviceMove(int x, int y, int value, int device) override;
        void deviceRelease(int x, int y, int value, int device) override;
        void logTouch(int event, int x, int y, int width, int height) override;

    private:
        QTPictavoWidgetGL& _widget;
    };

    // The surface as the Wii message evaluation sees it.
    class WiiSurfaceTarget : public WiiEventTarget
    {
    public:
        explicit WiiSurfaceTarget(QTPictavoWidgetGL& widget) : _widget(widget) {}
        bool isReady() const override;
        void setNunchukIgnored(bool ignored) override;
        void wiiJoystickEvent(int dx, int dy, int device, const std::vector<int>& pressed,
                              const WiiCommunicationData& record, bool zReleased) override;
        void wiiButtonEvent(float x, float y, int device, const std::vector<int>& pressed,
                            const WiiCommunicationData& record) override;
        void wiiBorderEvent(float x, float y, int device, const std::vector<int>& pressed,
                            const WiiCommunicationData& record) override;
        void createObjectsAt(float amount) override;
        void eraseObjectsAt(float amount) override;

    private:
        QTPictavoWidgetGL& _widget;
    };

    // Task mode's view of the scene: the corner menu, the canvas and the
    // target lists of the overlay (made with the surface's context current).
    class TaskScene : public TaskRunner::Scene
    {
    public:
        explicit TaskScene(QTPictavoWidgetGL& widget) : _widget(widget) {}
        bool hasCornerMenu() const override;
        void setUpCanvasTask(int index) override;
        void endCanvasTask() override;
        void buildTaskTarget(int index, const TaskRecord& record) override;

    private:
        QTPictavoWidgetGL& _widget;
    };

    // The first tool brush after a joystick step: hidden while the build
    // canvas is open, shown otherwise.
    void wiiToolBrushReaction();
    // Whether the Remote points with its press button held; then its
    // contact indicator shows.
    bool wiiPointingCheck(int device, const std::vector<int>& pressed, const WiiCommunicationData& record);
    // Drawn after the scene: the text of the task state and the running
    // task's target.
    void drawTaskOverlay();

    // Board resolution and surface size for the board callbacks and the
    // touch-extend factors of the scene.
    void updateBoardGeometry();
    // Starts the configured touch log replay once the first scene stands.
    void startTouchReplay();
    // The fake posture's contact size as the mouse's (user 0) bound size.
    void reportFakeContactSize();
    // Makes a new scene from the configuration and the widget's flags and
    // size; the builder keeps it until the demo is constructed.
    void setUpScene();
    // After a demo is built: the canvas takes every user's touches, the
    // first tool brush is drawn.
    void configureScene();
    void constructDemo(Demo demo);
    // Step 2 of a frame: follows the pen tray once per frame, so putting the
    // tools back and taking one again within a frame changes nothing.
    PenTrayChange applyPenTray();
    // Freezes the canvas and shows the build canvas, or the reverse.
    void switchBuildCanvas(PenTrayChange change);
    // Rate of the frame that just ended, from the time since the previous one.
    double measureFrameRate();
    void storePointer(const QMouseEvent* event);
    // Hands a mouse event to the scene as a device call of user 0.
    void forwardMouse(const QMouseEvent* event, void (TabletopVis::*deliver)(int, int, int, int));
    void emitStatistics();
    void applyTextureSetting(void (TabletopVis::*enable)(bool), bool& flag, bool on);
    void readTextureSettings();

    // Deletes the scene, if any, after making the context current (a GL scene
    // frees its textures, fonts and display lists in it); the context stays
    // current. The only place a scene is deleted.
    void releaseScene();

    std::unique_ptr<PictavoBuilderGL> _builder;
    std::unique_ptr<TabletopVis> _scene;
    TabletopVis* _vis = nullptr;   // _scene once its demo is built: input and frames go there
    QTimer* _timer;
    bool _animating;
    double _speed = 40.0;
    bool _mouseTracking = false;
    bool _cursorVisible = true;
    bool _mipMapping = false;
    bool _linearFiltering = false;
    bool _textureCompression = false;
    bool _arbTextureCompression = false;
    FrameRateAverage _frameRate;
    QElapsedTimer _frameClock;
    quint64 _frameCount = 0;
    double _lastFrameSeconds = 0.0;
    bool _statisticsPending = false;
    bool _trimAfterFrame = false;   // a new scene: trim the heap after its first frame
    float _pointerPos[2] = {0.0f, 0.0f};
    float _previousPointerPos[2] = {0.0f, 0.0f};
    unsigned char _paintColor[3] = {0, 0, 0};
    double _paintRadius = 10.0;
    bool _toolPutBack = true;   // the tools start in the tray
    bool _buildCanvasShown = false;
    double _boardToScreenX = 1.0;
    double _boardToScreenY = 1.0;
    double _touchAreaFactor = 1.0;
    Posture _fakePosture = Posture::None;
    // Study task mode: the sequence and its state, and what it draws.
    TaskScene _taskScene{*this};
    TaskRunner _taskRunner;
    TaskOverlayGL _taskOverlay;
    // Texture ids of each task's image and additional image (0: not loaded).
    std::vector<std::array<unsigned, 2>> _taskTextures;

    // Touch input, in dependency order: sources report to the pointers,
    // the pointers to this widget, the widget to the handler, the handler
    // to the scene through the target.
    SceneTouchTarget _touchTarget{*this};
    BoardTouchHandler _boardTouch{_touchTarget};
    BoardPointers _pointers{*this};
    TuioReceiver _tuio;
    TouchPointTracker _touchPoints{_pointers, _boardTouch.geometry()};
    TouchLogPlayer* _touchLogPlayer = nullptr;

    WiiSurfaceTarget _wiiTarget{*this};
    WiiJoystickPointer _joystickPointer;
    std::function<void(bool)> _sendBorderMessage;

    friend class WidgetTest;
};
