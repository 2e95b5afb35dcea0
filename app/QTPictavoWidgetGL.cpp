// The OpenGL drawing surface that fills the main window: frame loop, frame
// rate, statistics, mouse and touch input, animation and texture settings,
// and the task-mode overlay.
#include "QTPictavoWidgetGL.h"

#include "AllocationTuning.h"

#include "PictavoBuilderGL.h"
#include "CanvasCompositeGL.h"
#include "CornerMenuGL.h"
#include "DirectTouchLogger.h"
#include "FakeContactSize.h"
#include "FontLibrary.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "PictavoVisGL.h"
#include "QtTouchInput.h"
#include "ToolBrushLeafGL.h"
#include "TouchLogReplay.h"
#include "VelkConfiguration.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimer>
#include <QTouchEvent>
#include <GL/gl.h>

#include <cstdlib>
#include <ctime>
#include <utility>
#include <iostream>

namespace {

// Pixel size of the task-mode text.
constexpr unsigned MessageFontPixelSize = 36;

// One task record per configured task entry, in document order.
std::vector<TaskRecord> configuredTasks(const VelkConfiguration& config)
{
    std::vector<TaskRecord> tasks(config._taskNumber.size());
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        TaskRecord& t = tasks[i];
        t.number = config._taskNumber[i];
        t.inputDevice = config._taskInputDevice[i];
        t.type = config._taskType[i];
        t.elementsType = config._taskElementsType[i];
        t.elementsInitNumber = config._taskElementsInitNumber[i];
        t.startsSequence = config._taskStartsSequence[i] != 0;
        t.endsSequence = config._taskEndsSequence[i] != 0;
        t.blockNumber = config._taskBlockNumber[i];
        const VelkConfiguration::TargetAreaTable& areas = config._taskTargetAreas[i];
        t.targetStartX = areas.startX;
        t.targetStartY = areas.startY;
        t.targetEndX = areas.endX;
        t.targetEndY = areas.endY;
        t.targetDiameter = areas.diameter;
        t.numberOfTargetAreas = config._taskNumberOfTargetAreas[i];
        t.description = config._taskDescription[i];
        t.additionalDescription = config._taskAdditionalDescription[i];
        t.image = config._taskImage[i];
        t.additionalImage = config._taskAdditionalImage[i];
    }
    return tasks;
}

// The file of the task-mode text: the first configured font.
std::string messageFontFile(const VelkConfiguration& config)
{
    return config._fontFile.empty() ? std::string("fonts/arial.ttf") : config._fontFile.front();
}

// Mouse events made up from touches: the touches themselves already arrived.
bool isSynthesized(const QMouseEvent* event)
{
    return event->source() != Qt::MouseEventNotSynthesized;
}

} // namespace

QTPictavoWidgetGL::QTPictavoWidgetGL(const QSurfaceFormat& format, VelkConfiguration* config)
    : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate)
    , PictavoBuildDirector(config)
    , _timer(new QTimer(this))
    , _animating(config->_startupAnimation)
    , _taskRunner(_taskScene, static_cast<int>(config->_mainwindowWidth), static_cast<int>(config->_mainwindowHeight))
    , _tuio(_pointers, config->_smartboardResolutionWidth, config->_smartboardResolutionHeight)
{
    setFormat(format);
    // The frame loop is unpaced: every paint requests the next one. The
    // timer exists for callers that want to pace it and is never started.
    connect(_timer, &QTimer::timeout, this, qOverload<>(&QOpenGLWindow::update));
    // Pictures differ from run to run; PICTAVO_SEED fixes the random draws
    // (scripts that compare pictures).
    const QByteArray seed = qgetenv("PICTAVO_SEED");
    bool fixed = false;
    const unsigned value = seed.toUInt(&fixed);
    std::srand(fixed ? value : static_cast<unsigned>(std::time(nullptr)));
    _taskRunner.setTasks(configuredTasks(*config));
}

QTPictavoWidgetGL::~QTPictavoWidgetGL()
{
    // A task still running when the program quits keeps its logs.
    _taskRunner.setTaskMode(false);
    // Contacts still down are released into the scene while it exists.
    delete _touchLogPlayer;
    _touchLogPlayer = nullptr;
    _tuio.releaseAll();
    _pointers.releaseAll(TouchSource::QtTouch);
    // The task overlay's lists and the scene are freed in their context.
    if (context() != nullptr) {
        makeCurrent();
        _taskOverlay.release();
    }
    releaseScene();
    if (context() != nullptr && QOpenGLContext::currentContext() == context())
        doneCurrent();
}

void QTPictavoWidgetGL::releaseScene()
{
    _vis = nullptr;
    if (_builder)
        _builder->setVis(nullptr);
    if (_scene && context() != nullptr)
        makeCurrent();
    _scene.reset();
    returnFreedMemory();
}

void QTPictavoWidgetGL::OnPen() { _toolPutBack = false; }
void QTPictavoWidgetGL::OnEraser() { _toolPutBack = false; }
void QTPictavoWidgetGL::OnNoTool() { _toolPutBack = true; }

void QTPictavoWidgetGL::OnXYDown(int x, int y, int z, int id) { _boardTouch.OnXYDown(x, y, z, id); }
void QTPictavoWidgetGL::OnXYMove(int x, int y, int z, int id) { _boardTouch.OnXYMove(x, y, z, id); }
void QTPictavoWidgetGL::OnXYUp(int x, int y, int z, int id) { _boardTouch.OnXYUp(x, y, z, id); }

void QTPictavoWidgetGL::OnDViTRawWidthHeight(int width, int height, int id)
{
    _boardTouch.OnDViTRawWidthHeight(width, height, id);
}

void QTPictavoWidgetGL::SceneTouchTarget::resizeTouchIndicator(int user, double width, double height)
{
    if (_widget._vis)
        _widget._vis->resizeTouchIndicator(user, width, height);
}

void QTPictavoWidgetGL::SceneTouchTarget::setTouchBoundWidth(int user, double width)
{
    if (_widget._vis)
        _widget._vis->setTouchBoundWidth(user, width);
}

void QTPictavoWidgetGL::SceneTouchTarget::setTouchBoundHeight(int user, double height)
{
    if (_widget._vis)
        _widget._vis->setTouchBoundHeight(user, height);
}

void QTPictavoWidgetGL::SceneTouchTarget::devicePress(int x, int y, int value, int device)
{
    if (_widget._vis)
        _widget._vis->devicePress(x, y, value, device);
}

void QTPictavoWidgetGL::SceneTouchTarget::deviceMove(int x, int y, int value, int device)
{
    if (_widget._vis)
        _widget._vis->deviceMove(x, y, value, device);
}

void QTPictavoWidgetGL::SceneTouchTarget::deviceRelease(int x, int y, int value, int device)
{
    if (_widget._vis)
        _widget._vis->deviceRelease(x, y, value, device);
}

void QTPictavoWidgetGL::SceneTouchTarget::logTouch(int event, int x, int y, int width, int height)
{
    if (_widget._taskRunner.isTaskRunning())
        DirectTouchLogger::instance().addEntry(event, x, y, width, height);
}

void QTPictavoWidgetGL::touchEvent(QTouchEvent* event)
{
    if (event->type() == QEvent::TouchCancel)
        _touchPoints.cancel();
    else
        _touchPoints.update(touchPoints(*event));
    // Accepted, so no mouse events are made up from the touches.
    event->accept();
}

void QTPictavoWidgetGL::updateBoardGeometry()
{
    _boardToScreenX = static_cast<double>(width()) / _config->_smartboardResolutionWidth;
    _boardToScreenY = static_cast<double>(height()) / _config->_smartboardResolutionHeight;
    _boardTouch.setGeometry({_config->_smartboardResolutionWidth, _config->_smartboardResolutionHeight, width(), height()});
    // The builder holds the newest scene, also while a demo change sets it up.
    if (TabletopVis* vis = _builder ? _builder->getVis() : _vis) {
        vis->setScaleFactorExtendWidth(_boardToScreenX);
        vis->setScaleFactorExtendHeight(_boardToScreenY);
    }
}

void QTPictavoWidgetGL::startTouchReplay()
{
    if (_touchLogPlayer || !_config->_touchreplayEnabled || _config->_touchreplayFile.empty())
        return;
    std::optional<std::vector<TouchLogEntry>> entries = loadTouchLog(_config->_touchreplayFile);
    if (!entries) {
        std::cout << "QTPictavoWidgetGL: cannot read the touch log " << _config->_touchreplayFile << std::endl;
        return;
    }
    auto replay = std::make_unique<TouchLogReplay>(std::move(*entries), _pointers, _boardTouch.geometry());
    _touchLogPlayer = new TouchLogPlayer(std::move(replay), this);
    _touchLogPlayer->start();
}

void QTPictavoWidgetGL::reportFakeContactSize()
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (vis == nullptr || _fakePosture < Posture::Pen || _fakePosture > Posture::Hand)
        return;
    const double side = fakeContactSide(vis->getPostureRanges(), _fakePosture);
    vis->setTouchBoundWidth(0, side);
    vis->setTouchBoundHeight(0, side);
}

void QTPictavoWidgetGL::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    _builder = std::make_unique<PictavoBuilderGL>();
    _mipMapping = _config->_graphicsMipmapping;
    _linearFiltering = _config->_graphicsLinearFilering;
    _textureCompression = _config->_graphicsTexureCompression;
    _arbTextureCompression = _config->_graphicsArbTextureCompression;

    setUpScene();
    _builder->getVis()->enableMipMapping(_config->_graphicsMipmapping);
    const std::optional<Demo> demo = demoOf(_config->_startupDemoType);
    if (!demo)
        std::cout << "QTPictavoWidgetGL: there is no demo " << _config->_startupDemoType
                  << "; building the stroke demo." << std::endl;
    constructDemo(demo.value_or(Demo::Strokes));
    _vis = _scene.get();
    _vis->renderAllTouchIndicatorWithExtend(_config->_touchextendRender);
    configureScene();
    emitStatistics();
    _frameClock.start();
    startTouchReplay();
}

void QTPictavoWidgetGL::setUpScene()
{
    _trimAfterFrame = true;
    const unsigned users = _config->_userdataNumber + _config->_userdataWiis;
    _builder->buildVis(users, _config->_globalbuffersWidth, _config->_globalbuffersHeight,
                       static_cast<unsigned>(width()), static_cast<unsigned>(height()));
    _scene.reset(_builder->getVis());
    TabletopVis* vis = _scene.get();
    vis->setInitialMaxCurrentWidth(_config->_containersettingsInitialMaxWidth);
    vis->setContainerBorderWidth(_config->_containersettingsBorderWidth);
    vis->setContainerOpacity(_config->_containersettingsOpacity);
    vis->setContainerControlPointSteps(_config->_containersettingsInsideCPSteps,
                                       _config->_containersettingsOutsideCPSteps);
    vis->setTossingParameters(_config->_tossingFriction, _config->_tossingCutoff);
    vis->setRNTParameters(_config->_rntFactor, _config->_rntCircleTime);
    vis->setInsideColor(_config->_insideColorR, _config->_insideColorG, _config->_insideColorB);
    vis->setBorderColor(_config->_borderColorR, _config->_borderColorG, _config->_borderColorB);
    vis->setHighlightColor(_config->_highlightColorR, _config->_highlightColorG, _config->_highlightColorB);
    vis->enableHardwareOptimization(true);
    vis->enableMipMapping(_mipMapping);
    vis->enableLinearFiltering(_linearFiltering);
    vis->enableTextureCompression(_textureCompression);
    vis->enableARBTextureCompression(_arbTextureCompression);
    vis->initializeRenderer();
    vis->enableVSync(_config->_graphicsVsync);
    vis->setAnimating(_animating);

    updateBoardGeometry();

    // Posture ranges are configured as physical areas; contacts arrive in
    // board units, so the ranges are scaled by board units per physical area.
    _touchAreaFactor = (static_cast<double>(_config->_smartboardResolutionWidth) * _config->_smartboardResolutionHeight)
                       / (_config->_smartboardPhysicalWidth * _config->_smartboardPhysicalHeight);
    if (auto* pictavo = dynamic_cast<PictavoVisGL*>(vis)) {
        const double f = _touchAreaFactor;
        pictavo->setPenRange(_config->_inputareaPenMin * f, _config->_inputareaPenMax * f);
        pictavo->setOneFingerRange(_config->_inputareaSingleFingerMin * f, _config->_inputareaSingleFingerMax * f);
        pictavo->setTwoFingersRange(_config->_inputareaTwoFingerMin * f, _config->_inputareaTwoFingerMax * f);
        pictavo->setFistRange(_config->_inputareaFistMin * f, _config->_inputareaFistMax * f);
        pictavo->setHandRange(_config->_inputareaHandMin * f, _config->_inputareaHandMax * f);
    }

    _pointerPos[0] = 0.5f * static_cast<float>(width());
    _pointerPos[1] = 0.5f * static_cast<float>(height());
}

void QTPictavoWidgetGL::constructDemo(Demo demo)
{
    switch (demo) {
    case Demo::Strokes: constructFirstDemo(*_builder); break;
    case Demo::Mosaic: constructMosaicDemo(*_builder); break;
    case Demo::Pointillism: constructPointillismDemo(*_builder); break;
    case Demo::StrokeShapes: constructGeoStrokeDemo(*_builder); break;
    }
}

void QTPictavoWidgetGL::resizeGL(int w, int h)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, w, 0.0, h, -1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    if (_vis)
        _vis->setScreensize(static_cast<unsigned>(w), static_cast<unsigned>(h));
    // The board spans the surface at every size, not only the size at set-up.
    updateBoardGeometry();
}

void QTPictavoWidgetGL::paintGL()
{
    switchBuildCanvas(applyPenTray());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const double measured = measureFrameRate();
    const double rate = _vis ? _vis->render(_config->_userdataNumber + _config->_userdataWiis, _speed) : measured;
    ++_frameCount;
    emit fpsChanged(_frameRate.add(rate));
    drawTaskOverlay();
    glPopMatrix();
    // Building a scene and its first frame (texture uploads, display lists,
    // the driver's first vertex buffers) free temporaries between the
    // scene's blocks: up to 45 MiB of pages that stay resident unless the
    // heap is trimmed once more. Later frames free nothing of that size.
    if (std::exchange(_trimAfterFrame, false))
        returnFreedMemory();
    update();
    if (_vis && (_vis->bufferMemoryChanged() || std::exchange(_statisticsPending, false)))
        emitStatistics();
}

QTPictavoWidgetGL::PenTrayChange QTPictavoWidgetGL::applyPenTray()
{
    PenTrayChange change = PenTrayChange::None;
    if (!_toolPutBack && !_buildCanvasShown)
        change = PenTrayChange::ShowBuildCanvas;
    else if (_toolPutBack && _buildCanvasShown)
        change = PenTrayChange::HideBuildCanvas;
    _buildCanvasShown = !_toolPutBack;
    return change;
}

void QTPictavoWidgetGL::switchBuildCanvas(PenTrayChange change)
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (change == PenTrayChange::None || vis == nullptr)
        return;
    const bool show = change == PenTrayChange::ShowBuildCanvas;
    if (CanvasCompositeGL* canvas = vis->findCanvas()) {
        canvas->setTrackingTouches(!show);
        canvas->setLivePainting(!show);
    }
    GeoStrokeBuildCanvasCompositeGL* panel = vis->findBuildCanvas();
    if (panel == nullptr)
        return;
    if (show) {
        panel->show();
    } else {
        panel->useStrokesAsRenderingElements();
        panel->hide();
    }
}

void QTPictavoWidgetGL::useBuildCanvasStrokes()
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    GeoStrokeBuildCanvasCompositeGL* panel = vis != nullptr ? vis->findBuildCanvas() : nullptr;
    if (panel == nullptr)
        return;
    makeCurrent();
    panel->useStrokesAsRenderingElements();
}

double QTPictavoWidgetGL::measureFrameRate()
{
    const qint64 ns = _frameClock.nsecsElapsed();
    _frameClock.restart();
    _lastFrameSeconds = static_cast<double>(ns) * 1e-9;
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

void QTPictavoWidgetGL::forwardMouse(const QMouseEvent* event, void (TabletopVis::*deliver)(int, int, int, int))
{
    if (!_vis)
        return;
    // Device coordinates have their origin at the bottom left; the mouse is
    // user 0 with value 0 and no contact size of its own.
    const QPoint p = event->position().toPoint();
    _vis->resizeTouchIndicator(0, 0.0, 0.0);
    reportFakeContactSize();
    (_vis->*deliver)(p.x(), height() - 1 - p.y(), 0, 0);
}

void QTPictavoWidgetGL::mousePressEvent(QMouseEvent* event)
{
    if (isSynthesized(event))
        return;
    forwardMouse(event, &TabletopVis::devicePress);
    storePointer(event);
}

void QTPictavoWidgetGL::mouseMoveEvent(QMouseEvent* event)
{
    // A native window reports every move; without mouse tracking only drags count.
    if (isSynthesized(event) || (!_mouseTracking && event->buttons() == Qt::NoButton))
        return;
    forwardMouse(event, &TabletopVis::deviceMove);
    storePointer(event);
}

void QTPictavoWidgetGL::mouseReleaseEvent(QMouseEvent* event)
{
    if (isSynthesized(event))
        return;
    forwardMouse(event, &TabletopVis::deviceRelease);
}

void QTPictavoWidgetGL::emitStatistics()
{
    if (_vis) {
        emit bufferSize(_vis->getBufferWidth(), _vis->getBufferHeight());
        emit objectNumber(_vis->countComponents());
        emit allocatedMemorySize(_vis->getAllocatedMemorySize());
        emit userNumber(_vis->getNumberOfUsers());
        readTextureSettings();
    }
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

void QTPictavoWidgetGL::changeDemo(int demo)
{
    const std::optional<Demo> chosen = demoOf(demo);
    if (!_builder || !chosen) {
        emitStatistics();
        return;
    }
    // The old scene goes first, in its context, so two scenes never coexist.
    releaseScene();
    makeCurrent();
    setUpScene();
    constructDemo(*chosen);
    _vis = _scene.get();
    configureScene();
    emitStatistics();
}

void QTPictavoWidgetGL::configureScene()
{
    auto* vis = dynamic_cast<PictavoVisGL*>(_vis);
    if (vis == nullptr)
        return;
    if (CanvasCompositeGL* canvas = vis->findCanvas()) {
        // Touches that start on no other component reach the canvas.
        for (unsigned user = 0; user < _config->_userdataNumber; ++user)
            vis->setLastComponent(static_cast<int>(user), canvas);
    }
    if (CanvasCompositeGL* canvas = vis->findCanvas()) {
        canvas->setTaskList(&_taskRunner.tasks());
        // A demo change keeps the study's task mode on the new canvas.
        canvas->setTaskMode(_taskRunner.isTaskMode());
    }
    if (!_taskRunner.tasks().empty())
        vis->loadFont(messageFontFile(*_config), MessageFontPixelSize);
    // Each task's two cards, loaded into the scene, which frees them with it.
    _taskTextures.clear();
    for (const TaskRecord& task : _taskRunner.tasks())
        _taskTextures.push_back({vis->loadTexture(task.image, false), vis->loadTexture(task.additionalImage, false)});
    if (GeoStrokeBuildCanvasCompositeGL* panel = vis->findBuildCanvas()) {
        const VelkConfiguration& c = *_config;
        panel->setSimulationParameters(static_cast<float>(c._strokesimK), static_cast<float>(c._strokesimDamping),
                                       static_cast<float>(c._strokesimDuctus), static_cast<float>(c._strokesimMaxTh),
                                       static_cast<float>(c._strokesimMinTh), static_cast<float>(c._strokesimMass),
                                       static_cast<float>(c._strokesimVhInit));
    }
    if (ToolBrushLeafGL* brush = vis->findToolBrush()) {
        if (!brush->isActiveForRendering()) {
            brush->activateForRendering();
            vis->moveComponentToRenderFront(brush);
        }
        // The hints round the brush show the first configured ring menu.
        if (!_config->_ringmenuTextures.empty()) {
            std::vector<unsigned> textures;
            for (const std::string& path : _config->_ringmenuTextures.front())
                textures.push_back(vis->loadTexture(path, false));
            brush->setRingMenu(textures, _config->_ringmenuWidth.front(), _config->_ringmenuHeight.front(),
                               _config->_ringmenuOpacity.front());
        }
    }
    if (CornerMenuGL* corner = vis->findCornerMenu()) {
        corner->show();
        corner->attachCanvas(vis->findCanvas());
    }
}

void QTPictavoWidgetGL::changeDemoToFirst() { changeDemo(static_cast<int>(Demo::Strokes)); }
void QTPictavoWidgetGL::changeDemoToMosaic() { changeDemo(static_cast<int>(Demo::Mosaic)); }
void QTPictavoWidgetGL::changeDemoToPointillism() { changeDemo(static_cast<int>(Demo::Pointillism)); }

void QTPictavoWidgetGL::addObjects()
{
    if (_builder && _vis) {
        makeCurrent();
        _builder->buildImages(_config->_objectAddAndRemoveNumberPerStep, _config->_imagesWidth.front(),
                              _config->_imagesHeight.front());
    }
    emitStatistics();
}

void QTPictavoWidgetGL::removeObjects()
{
    if (_builder && _vis) {
        makeCurrent();
        for (unsigned i = 0; i < _config->_objectAddAndRemoveNumberPerStep; ++i)
            _builder->deleteLastImageComponent();
    }
    emitStatistics();
}

void QTPictavoWidgetGL::toggleAnimating()
{
    _animating = !_animating;
    if (_vis)
        _vis->setAnimating(_animating);
    if (_animating)
        update();
}

void QTPictavoWidgetGL::startAnimating()
{
    _animating = true;
    if (_vis)
        _vis->setAnimating(true);
    update();
}

void QTPictavoWidgetGL::stopAnimating()
{
    _animating = false;
    if (_vis)
        _vis->setAnimating(false);
}

void QTPictavoWidgetGL::faster() { _speed *= 2.5; }
void QTPictavoWidgetGL::slower() { _speed *= 0.4; }

void QTPictavoWidgetGL::toggleMouseTracking() { _mouseTracking = !_mouseTracking; }

void QTPictavoWidgetGL::toggleCursor()
{
    _cursorVisible = !_cursorVisible;
    setCursor(_cursorVisible ? Qt::ArrowCursor : Qt::BlankCursor);
}

// The settings take effect when the next scene is set up; the scene's answer
// is read back so the widget keeps what the next scene will use.
void QTPictavoWidgetGL::applyTextureSetting(void (TabletopVis::*enable)(bool), bool& flag, bool on)
{
    if (!_vis) {
        flag = on;
        return;
    }
    (_vis->*enable)(on);
    readTextureSettings();
}

void QTPictavoWidgetGL::readTextureSettings()
{
    _mipMapping = _vis->isMipMapping();
    _linearFiltering = _vis->isLinearFiltering();
    _textureCompression = _vis->isTextureCompression();
    _arbTextureCompression = _vis->isARBTextureCompression();
}

void QTPictavoWidgetGL::toggleMipMapping(bool on)
{
    applyTextureSetting(&TabletopVis::enableMipMapping, _mipMapping, on);
}

void QTPictavoWidgetGL::toggleLinearFiltering(bool on)
{
    applyTextureSetting(&TabletopVis::enableLinearFiltering, _linearFiltering, on);
}

void QTPictavoWidgetGL::toggleTextureCompression(bool on)
{
    applyTextureSetting(&TabletopVis::enableTextureCompression, _textureCompression, on);
}

void QTPictavoWidgetGL::toggleARBTextureCompression(bool on)
{
    applyTextureSetting(&TabletopVis::enableARBTextureCompression, _arbTextureCompression, on);
}

void QTPictavoWidgetGL::setTaskMode(bool on)
{
    makeCurrent();
    _taskRunner.setTaskMode(on);
}

void QTPictavoWidgetGL::startTask()
{
    // Setting a task up compiles its target lists.
    makeCurrent();
    _taskRunner.startTask();
}

void QTPictavoWidgetGL::drawTaskOverlay()
{
    if (!_taskRunner.isTaskMode() || _vis == nullptr)
        return;
    const int windowWidth = static_cast<int>(_config->_mainwindowWidth);
    FTFont* font = _vis->getFont(FontLibrary::fontName(messageFontFile(*_config), MessageFontPixelSize));
    TaskOverlayGL::drawText(font, _taskRunner.overlayText(), windowWidth, MessageFontPixelSize);
    if (_taskRunner.showsTarget())
        _taskOverlay.drawTarget(_taskRunner.currentIndex());
}

bool QTPictavoWidgetGL::TaskScene::hasCornerMenu() const
{
    const auto* vis = dynamic_cast<const PictavoVisGL*>(_widget._vis);
    return vis != nullptr && vis->findCornerMenu() != nullptr;
}

void QTPictavoWidgetGL::TaskScene::setUpCanvasTask(int index)
{
    if (auto* vis = dynamic_cast<PictavoVisGL*>(_widget._vis))
        if (CanvasCompositeGL* canvas = vis->findCanvas())
            canvas->setUpTask(index);
}

void QTPictavoWidgetGL::TaskScene::endCanvasTask()
{
    if (auto* vis = dynamic_cast<PictavoVisGL*>(_widget._vis))
        if (CanvasCompositeGL* canvas = vis->findCanvas())
            canvas->endTask();
}

void QTPictavoWidgetGL::TaskScene::buildTaskTarget(int index, const TaskRecord& record)
{
    if (_widget._vis != nullptr && _widget._vis->hasGL())
        _widget._taskOverlay.buildTaskTarget(index, record);
}
