// The OpenGL drawing surface that fills the main window: frame loop, frame
// rate, statistics, mouse and touch input, animation and texture settings.
#pragma once

#include "BoardPointers.h"
#include "BoardTouchHandler.h"
#include "Demo.h"
#include "FrameRateAverage.h"
#include "PictavoBuildDirector.h"
#include "Posture.h"
#include "TouchPointTracker.h"
#include "TouchSink.h"
#include "TuioReceiver.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>

#include <memory>
#include <vector>

class PictavoBuilderGL;
class QTimer;
class TabletopVis;
class TouchLogPlayer;
class VelkConfiguration;

// A QOpenGLWindow rather than a QOpenGLWidget: the widget variant draws into
// a framebuffer object and composes it with the window, which caps an empty
// frame loop at about a fifth of the rate a native GL window reaches here
// (bench_frameloop measures both). The main window embeds it with
// QWidget::createWindowContainer.
//
// The widget is the build director: it owns the builder and keeps the newest
// scene, which it deletes (with its context current) when a demo replaces it.
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
    // were put back. The next frame applies the change.
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
    // Touch events are logged while a study task runs.
    bool isTaskRunning() const { return _taskRunning; }

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

    // Frames drawn since the surface was initialised.
    quint64 frameCount() const { return _frameCount; }

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
    void allocatedMemorySize(const unsigned long bytes);
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
    // Rate of the frame that just ended, from the time since the previous one.
    double measureFrameRate();
    void storePointer(const QMouseEvent* event);
    // Hands a mouse event to the scene as a device call of user 0.
    void forwardMouse(const QMouseEvent* event, void (TabletopVis::*deliver)(int, int, int, int));
    void emitStatistics();
    void applyTextureSetting(void (TabletopVis::*enable)(bool), bool& flag, bool on);
    void readTextureSettings();

    std::unique_ptr<PictavoBuilderGL> _builder;
    TabletopVis* _vis = nullptr;
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
    float _pointerPos[2] = {0.0f, 0.0f};
    float _previousPointerPos[2] = {0.0f, 0.0f};
    unsigned char _paintColor[3] = {0, 0, 0};
    double _paintRadius = 10.0;
    bool _toolPutBack = false;
    bool _buildCanvasShown = false;
    double _boardToScreenX = 1.0;
    double _boardToScreenY = 1.0;
    double _touchAreaFactor = 1.0;
    Posture _fakePosture = Posture::None;
    // Set by task mode while a study task runs.
    bool _taskRunning = false;

    // Touch input, in dependency order: sources report to the pointers,
    // the pointers to this widget, the widget to the handler, the handler
    // to the scene through the target.
    SceneTouchTarget _touchTarget{*this};
    BoardTouchHandler _boardTouch{_touchTarget};
    BoardPointers _pointers{*this};
    TuioReceiver _tuio;
    TouchPointTracker _touchPoints{_pointers, _boardTouch.geometry()};
    TouchLogPlayer* _touchLogPlayer = nullptr;

    friend class WidgetTest;
};
