// The OpenGL drawing surface that fills the main window: frame loop, frame
// rate, statistics, mouse input, animation and texture settings.
#pragma once

#include "FrameRateAverage.h"
#include "PictavoBuildDirector.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>

#include <memory>
#include <vector>

class PictavoBuilderGL;
class QTimer;
class TabletopVis;
class VelkConfiguration;

// A QOpenGLWindow rather than a QOpenGLWidget: the widget variant draws into
// a framebuffer object and composes it with the window, which caps an empty
// frame loop at about a fifth of the rate a native GL window reaches here
// (bench_frameloop measures both). The main window embeds it with
// QWidget::createWindowContainer.
//
// The widget is the build director: it owns the builder and keeps the newest
// scene, which it deletes (with its context current) when a demo replaces it.
class QTPictavoWidgetGL : public QOpenGLWindow, public PictavoBuildDirector
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

private:
    // Makes a new scene from the configuration and the widget's flags and
    // size; the builder keeps it until the demo is constructed.
    void setUpScene();
    // After a demo is built: the canvas takes every user's touches, the
    // first tool brush is drawn.
    void configureScene();
    // Demo 0 strokes, 1 mosaic, 2 pointillism, 3 stroke shapes.
    void constructDemo(int demo);
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
    std::vector<int> _lastTouchX;
    std::vector<int> _lastTouchY;
    double _boardToScreenX = 1.0;
    double _boardToScreenY = 1.0;
    double _touchAreaFactor = 1.0;

    friend class WidgetTest;
};
