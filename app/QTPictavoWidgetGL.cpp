// The OpenGL drawing surface that fills the main window: frame loop, frame
// rate, statistics, mouse input, animation and texture settings.
#include "QTPictavoWidgetGL.h"

#include "VelkConfiguration.h"

#include <QMouseEvent>
#include <QTimer>
#include <GL/gl.h>

#include <cstdlib>
#include <ctime>

QTPictavoWidgetGL::QTPictavoWidgetGL(const QSurfaceFormat& format, VelkConfiguration* config)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate)
    , _config(config)
    , _timer(new QTimer(this))
    , _animating(config->_startupAnimation)
{
    setFormat(format);
    // The frame loop is unpaced: every paint requests the next one. The
    // timer exists for callers that want to pace it and is never started.
    connect(_timer, &QTimer::timeout, this, qOverload<>(&QOpenGLWindow::update));
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

QTPictavoWidgetGL::~QTPictavoWidgetGL() = default;

void QTPictavoWidgetGL::OnPen() { _toolPutBack = false; }
void QTPictavoWidgetGL::OnEraser() { _toolPutBack = false; }
void QTPictavoWidgetGL::OnNoTool() { _toolPutBack = true; }

void QTPictavoWidgetGL::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    _mipMapping = _config->_graphicsMipmapping;
    _linearFiltering = _config->_graphicsLinearFilering;
    _textureCompression = _config->_graphicsTexureCompression;
    _arbTextureCompression = _config->_graphicsArbTextureCompression;
    _pointerPos[0] = 0.5f * static_cast<float>(width());
    _pointerPos[1] = 0.5f * static_cast<float>(height());
    emitStatistics();
    _frameClock.start();
}

void QTPictavoWidgetGL::resizeGL(int w, int h)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, w, 0.0, h, -1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
}

void QTPictavoWidgetGL::paintGL()
{
    applyPenTray();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    ++_frameCount;
    emit fpsChanged(_frameRate.add(measureFrameRate()));
    update();
}

QTPictavoWidgetGL::PenTrayChange QTPictavoWidgetGL::applyPenTray()
{
    PenTrayChange change = PenTrayChange::None;
    if (_toolPutBack && !_buildCanvasShown)
        change = PenTrayChange::ShowBuildCanvas;
    else if (!_toolPutBack && _buildCanvasShown)
        change = PenTrayChange::HideBuildCanvas;
    _buildCanvasShown = _toolPutBack;
    return change;
}

double QTPictavoWidgetGL::measureFrameRate()
{
    const qint64 ns = _frameClock.nsecsElapsed();
    _frameClock.restart();
    return ns > 0 ? 1e9 / static_cast<double>(ns) : 0.0;
}

void QTPictavoWidgetGL::storePointer(const QMouseEvent* event)
{
    const QPointF p = event->position();
    _pointerPos[0] = static_cast<float>(p.x());
    _pointerPos[1] = static_cast<float>(height() - p.y());
    _previousPointerPos[0] = _pointerPos[0];
    _previousPointerPos[1] = _pointerPos[1];
}

void QTPictavoWidgetGL::mousePressEvent(QMouseEvent* event)
{
    storePointer(event);
}

void QTPictavoWidgetGL::mouseMoveEvent(QMouseEvent* event)
{
    // A native window reports every move; without mouse tracking only drags count.
    if (!_mouseTracking && event->buttons() == Qt::NoButton)
        return;
    storePointer(event);
}

void QTPictavoWidgetGL::mouseReleaseEvent(QMouseEvent*)
{
}

void QTPictavoWidgetGL::emitStatistics()
{
    emit bufferSize(0, 0);
    emit objectNumber(0);
    emit allocatedMemorySize(0);
    emit userNumber(_config->_userdataNumber + _config->_userdataWiis);
    emit notifyMipMapping(_mipMapping);
    emit notifyLinearFiltering(_linearFiltering);
    emit notifyTextureCompression(_textureCompression);
    emit notifyARBTextureCompression(_arbTextureCompression);
}

void QTPictavoWidgetGL::changePaintColor(unsigned char r, unsigned char g, unsigned char b)
{
    _paintColor[0] = r;
    _paintColor[1] = g;
    _paintColor[2] = b;
}

void QTPictavoWidgetGL::changePaintRadius(float radius) { _paintRadius = radius; }

void QTPictavoWidgetGL::changeDemo(int)
{
    // No builder exists yet, so no scene can be constructed.
    emitStatistics();
}

void QTPictavoWidgetGL::changeDemoToFirst() { changeDemo(0); }
void QTPictavoWidgetGL::changeDemoToMosaic() { changeDemo(1); }
void QTPictavoWidgetGL::changeDemoToPointillism() { changeDemo(2); }

void QTPictavoWidgetGL::addObjects() { emitStatistics(); }
void QTPictavoWidgetGL::removeObjects() { emitStatistics(); }

void QTPictavoWidgetGL::toggleAnimating()
{
    _animating = !_animating;
    if (_animating)
        update();
}

void QTPictavoWidgetGL::startAnimating()
{
    _animating = true;
    update();
}

void QTPictavoWidgetGL::stopAnimating() { _animating = false; }

void QTPictavoWidgetGL::faster() { _speed *= 2.5; }
void QTPictavoWidgetGL::slower() { _speed *= 0.4; }

void QTPictavoWidgetGL::toggleMouseTracking() { _mouseTracking = !_mouseTracking; }

void QTPictavoWidgetGL::toggleCursor()
{
    _cursorVisible = !_cursorVisible;
    setCursor(_cursorVisible ? Qt::ArrowCursor : Qt::BlankCursor);
}

void QTPictavoWidgetGL::toggleMipMapping(bool on) { _mipMapping = on; }
void QTPictavoWidgetGL::toggleLinearFiltering(bool on) { _linearFiltering = on; }
void QTPictavoWidgetGL::toggleTextureCompression(bool on) { _textureCompression = on; }
void QTPictavoWidgetGL::toggleARBTextureCompression(bool on) { _arbTextureCompression = on; }

void QTPictavoWidgetGL::startTask()
{
    // Study tasks are configured but the task runner is not part of the program yet.
}
