// The main window: menus, keyboard shortcuts, information bar, full-screen
// modes, hardware texture settings and the two OSC sockets.
#include "QTPictavoApplication.h"

#include "OpenGLSupport.h"
#include "PaintingSaver.h"
#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "PaletteLeafGL.h"
#include "ContextMenuGL.h"
#include "PictavoVisGL.h"
#include "Posture.h"
#include "QtTouchInput.h"
#include "ReferenceImageLeafGL.h"
#include "QTPictavoWidgetGL.h"
#include "QTVelkConfiguration.h"
#include "StrokeMenuGL.h"
#include "WiiFeedbackMessage.h"
#include "WiiMessageEvaluator.h"
#include "WiiSendSocket.h"
#include "WindowGeometry.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QTabletEvent>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>
#include <QUdpSocket>

#include <array>
#include <iostream>

namespace {

// Window rectangle and flags saved on entering multi-monitor full screen.
QRect savedWindowRect;
Qt::WindowFlags savedWindowFlags;

enum class Place { File, Control, Demos, Hardware, Help, Window };

struct ActionEntry
{
    const char* text;
    const char* shortcut; // empty: none
    const char* tip;      // nullptr: no status tip
    Place place;
    bool separatorBefore;
    void (*invoke)(QTPictavoApplication&);
};

template <void (QTPictavoApplication::*Slot)()>
void onWindow(QTPictavoApplication& window)
{
    (window.*Slot)();
}

template <void (QTPictavoWidgetGL::*Slot)()>
void onWidget(QTPictavoApplication& window)
{
    (window.glWidget()->*Slot)();
}

using W = QTPictavoApplication;
using G = QTPictavoWidgetGL;

// Every command of the window, in the order they are created. File and
// Control entries stand in their menu and on the window; Demos, Hardware and
// Help entries only in their menu; the rest only on the window, where they
// work as keyboard shortcuts.
const std::array<ActionEntry, 64> actionTable{{
    {"&Quit", "Esc", "Quit the program", Place::File, false, [](W& w) { w.close(); }},
    {"&Load Color Reference Image", "Ctrl+R", "Load an image to color primitives", Place::File, false, onWindow<&W::loadColorReferenceImage>},
    {"&Save Painting...", "Ctrl+Shift+S", "Save the painting to a file", Place::File, true, onWindow<&W::savePainting>},
    {"&Open Painting...", "Ctrl+Shift+O", "Open a saved painting", Place::File, false, onWindow<&W::openPainting>},
    {"&Export Image...", "Ctrl+Shift+E", "Export the painting as a PNG image", Place::File, false, onWindow<&W::exportImage>},
    {"Restore &Autosave", "Ctrl+Shift+R", "Open the last autosaved painting", Place::File, false, onWindow<&W::restoreAutosave>},
    {"&Start/Stop", "Ctrl+S", "Toggle animation", Place::Control, false, onWidget<&G::toggleAnimating>},
    {"&Faster", "Ctrl+PgUp", "Animate faster", Place::Control, true, onWidget<&G::faster>},
    {"S&lower", "Ctrl+PgDown", "Animate slower", Place::Control, false, onWidget<&G::slower>},
    {"&Add objects", "Ctrl++", "Add objects", Place::Control, true, onWidget<&G::addObjects>},
    {"&Remove objects", "Ctrl+-", "Remove objects", Place::Control, false, onWidget<&G::removeObjects>},
    {"Toggle real &fullscreen", "Ctrl+F", "Toggle real fullscreen", Place::Control, true, onWindow<&W::toggleFullscreen>},
    {"Toggle &multi-monitor fullscreen", "Ctrl+N", "Toggle multi-monitor fullscreen", Place::Control, false, onWindow<&W::toggleMultiMonitorFullscreen>},
    {"Toggle information &bar", "Ctrl+B", nullptr, Place::Control, false, onWindow<&W::toggleStatusbars>},
    {"Toggle &cursor", "Ctrl+C", "Toggle cursor", Place::Control, true, onWidget<&G::toggleCursor>},
    {"Toggle &mouse tracking", "Ctrl+T", "Toggle mouse tracking", Place::Control, false, onWidget<&G::toggleMouseTracking>},
    {"Recreate main demo", "Ctrl+1", "Recreate main demo", Place::Demos, false, onWidget<&G::changeDemoToFirst>},
    {"Load Decorative Mosaic demo", "Ctrl+2", "Load Decorative Mosaic demo", Place::Demos, false, onWidget<&G::changeDemoToMosaic>},
    {"Load Pointillism demo", "Ctrl+3", "Load Pointillism demo", Place::Demos, false, onWidget<&G::changeDemoToPointillism>},
    {"&Mip Mapping", "", "Mip Mapping", Place::Hardware, false, onWindow<&W::mipMapping>},
    {"&Linear Filtering", "", "Linear Filtering", Place::Hardware, false, onWindow<&W::linearFiltering>},
    {"&Texture Compression", "", "Texture Compression", Place::Hardware, false, onWindow<&W::textureCompression>},
    {"&ARB Texture Compression", "", "ARB Texture Compression", Place::Hardware, false, onWindow<&W::arbTextureCompression>},
    {"&About", "", "About", Place::Help, false, onWindow<&W::about>},
    {"Show Stroke Build Canvas", "Alt+O", nullptr, Place::Window, false, onWindow<&W::openElementBuildCanvas>},
    {"Hide Stroke Build Canvas", "Shift+O", nullptr, Place::Window, false, onWindow<&W::closeElementBuildCanvas>},
    {"Toggle Movement Capability of Build Canvas", "Shift+N", nullptr, Place::Window, false, onWindow<&W::toggleElementBuildCanvasMovementWithoutExtend>},
    {"Enable Movement Capability of Build Canvas", "Alt+M", nullptr, Place::Window, false, onWindow<&W::enableElementBuildCanvasMovementWithoutExtend>},
    {"Disable Movement Capability of Build Canvas", "Shift+M", nullptr, Place::Window, false, onWindow<&W::disableElementBuildCanvasMovementWithoutExtend>},
    {"Draw Strokes as Lines on Build Canvas", "Alt+S", nullptr, Place::Window, false, onWindow<&W::canvasDrawSegmentAsStroke>},
    {"Draw Strokes as Points on Build Canvas", "Shift+S", nullptr, Place::Window, false, onWindow<&W::canvasDrawSegmentAsPoints>},
    {"Delete current Strokes on Build Canvas", "Alt+D", nullptr, Place::Window, false, onWindow<&W::canvasDeleteStrokes>},
    {"Use Strokes on Build Canvas as Rendering Element", "Alt+R", nullptr, Place::Window, false, onWindow<&W::canvasUseStrokesAsRenderingElements>},
    {"Toggle capability to erase strokes", "Alt+E", nullptr, Place::Window, false, onWindow<&W::canvasToggleEraseCapability>},
    {"Toggle &picking rendering", "Ctrl+P", nullptr, Place::Window, false, onWindow<&W::togglePickingRendering>},
    {"Show Context Menu", "Alt+C", nullptr, Place::Window, false, onWindow<&W::openContextMenu>},
    {"Hide Context Menu", "Shift+C", nullptr, Place::Window, false, onWindow<&W::closeContextMenu>},
    {"Show Palette", "Alt+P", nullptr, Place::Window, false, onWindow<&W::openPalette>},
    {"Hide Palette", "Shift+P", nullptr, Place::Window, false, onWindow<&W::closePalette>},
    {"Set Fake Posture to Pen", "Alt+1", nullptr, Place::Window, false, onWindow<&W::setPenFakePosture>},
    {"Set Fake Posture to One Finger", "Alt+2", nullptr, Place::Window, false, onWindow<&W::setOneFingerFakePosture>},
    {"Set Fake Posture to Two Fingers", "Alt+3", nullptr, Place::Window, false, onWindow<&W::setTwoFingersFakePosture>},
    {"Set Fake Posture to Fist", "Alt+4", nullptr, Place::Window, false, onWindow<&W::setFistFakePosture>},
    {"Set Fake Posture to Hand", "Alt+5", nullptr, Place::Window, false, onWindow<&W::setHandFakePosture>},
    {"Write Color Buffer to Image", "Ctrl+Alt+1", nullptr, Place::Window, false, onWindow<&W::createColorBufferImage>},
    {"Write Temporary Color Buffer to Image", "Ctrl+Alt+2", nullptr, Place::Window, false, onWindow<&W::createTempColorBufferImage>},
    {"Write Selection Buffer to Image", "Ctrl+Alt+4", nullptr, Place::Window, false, onWindow<&W::createSelectionBufferImage>},
    {"Write Dropoff Buffer to Image", "Ctrl+Alt+5", nullptr, Place::Window, false, onWindow<&W::createDropoffBufferImage>},
    {"Write depth Buffer to Image", "Ctrl+Alt+6", nullptr, Place::Window, false, onWindow<&W::createDepthBufferImage>},
    {"Write temp orient Buffer to Image", "Ctrl+Alt+7", nullptr, Place::Window, false, onWindow<&W::createOrientationBufferImage>},
    {"Write gradient Buffer to Image", "Ctrl+Alt+8", nullptr, Place::Window, false, onWindow<&W::createGradientBufferImage>},
    {"", "Ctrl+Alt+9", nullptr, Place::Window, false, onWindow<&W::createTargetAreaBufferImage>},
    {"", "Ctrl+F1", nullptr, Place::Window, false, onWindow<&W::switchToCreateMode>},
    {"", "Ctrl+F2", nullptr, Place::Window, false, onWindow<&W::switchToEraseMode>},
    {"", "Ctrl+F3", nullptr, Place::Window, false, onWindow<&W::switchToColorMode>},
    {"", "Ctrl+F4", nullptr, Place::Window, false, onWindow<&W::switchToSizeMode>},
    {"", "Ctrl+F5", nullptr, Place::Window, false, onWindow<&W::switchToMoveMode>},
    {"", "Ctrl+F6", nullptr, Place::Window, false, onWindow<&W::switchToOrientationMode>},
    {"", "Ctrl+F9", nullptr, Place::Window, false, onWindow<&W::setDTWIINCInputCombo>},
    {"", "Ctrl+F10", nullptr, Place::Window, false, onWindow<&W::setDTWIIInputCombo>},
    {"", "Ctrl+F11", nullptr, Place::Window, false, onWindow<&W::setDTWIIPointingNCModesInputCombo>},
    {"", "Alt+T", nullptr, Place::Window, false, onWindow<&W::switchIntoTaskMode>},
    {"", "Shift+T", nullptr, Place::Window, false, onWindow<&W::switchOutOfTaskMode>},
    {"", "Space", nullptr, Place::Window, false, onWidget<&G::startTask>},
}};

} // namespace

QTPictavoApplication::QTPictavoApplication(QTVelkConfiguration* config)
    : QMainWindow(nullptr)
    , _config(config)
    , _chooseImageFile([this] {
          // Qt's own dialog: the same on every desktop, and typed into by
          // the end-to-end tests under a bare X server.
          return QFileDialog::getOpenFileName(this, QStringLiteral("Open File"), QDir::currentPath(), QString(),
                                              nullptr, QFileDialog::DontUseNativeDialog);
      })
{
    // Wii Remote data arrives as OSC datagrams on the receive socket; binds are
    // not checked: a socket that did not bind delivers nothing.
    _receiveSocket = new QUdpSocket(this);
    _receiveSocket->bind(QHostAddress::LocalHost, static_cast<quint16>(_config->_oscReceivePort));
    connect(_receiveSocket, &QUdpSocket::readyRead, this, &QTPictavoApplication::readPendingDatagrams);
    // The second socket shares the bridge's port so that the bridge,
    // started before or after the program, receives what is sent there.
    _sendSocket = new QUdpSocket(this);
    WiiSendSocket::bind(*_sendSocket, static_cast<quint16>(_config->_oscSendPort),
                        static_cast<quint16>(_config->_oscReceivePort));

    const QSurfaceFormat format = OpenGLSupport::requestedFormat(_config->_graphicsVsync);
    const std::optional<QSurfaceFormat> granted = OpenGLSupport::probe(format);
    if (granted && granted->depthBufferSize() > 0)
        std::cout << "Depth Buffer enabled.\nDepth Buffer Size: " << granted->depthBufferSize() << std::endl;
    else
        std::cout << "Depth Buffer disabled." << std::endl;

    _glWidget = new QTPictavoWidgetGL(format, _config);
    QWidget* container = QWidget::createWindowContainer(_glWidget, this);
    container->setFocusPolicy(Qt::StrongFocus);
    container->setMinimumSize(1, 1);
    setCentralWidget(container);

    // Wii Remotes follow the direct-touch users as devices; their pointer
    // is kept within the configured window size.
    const WiiInputSettings wii{_config->_userdataWiis, _config->_userdataNumber,
                               static_cast<float>(_config->_mainwindowWidth),
                               static_cast<float>(_config->_mainwindowHeight), _config->_wiiJoystickSpeedFactor};
    _wiiInput = std::make_unique<WiiMessageEvaluator>(wii, _glWidget->wiiTarget(), std::cout);
    _glWidget->setBorderMessageSender([this](bool left) { sendLeftBorderRegion(left); });

    // TUIO touch input: datagrams go to the surface's receiver. Created
    // after the OSC sockets, which keep their places among the children.
    if (_config->_tuioEnabled) {
        _tuioSource = new TuioUdpSource(_glWidget->tuioReceiver(), this);
        _tuioSource->listen(static_cast<quint16>(_config->_tuioPort));
    }

    createStatusBar();
    connect(_glWidget, &QTPictavoWidgetGL::fpsChanged, this, &QTPictavoApplication::setFps);
    connect(_glWidget, &QTPictavoWidgetGL::objectNumber, this, &QTPictavoApplication::setObjectNumber);
    connect(_glWidget, &QTPictavoWidgetGL::bufferSize, this, &QTPictavoApplication::setBufferSize);
    connect(_glWidget, &QTPictavoWidgetGL::allocatedMemorySize, this, &QTPictavoApplication::setMemorySize);
    connect(_glWidget, &QTPictavoWidgetGL::userNumber, this, &QTPictavoApplication::setUserNumber);

    createActionsAndMenus();
    startAutosave();

    connect(this, &QTPictavoApplication::toggleMipMapping, _glWidget, &QTPictavoWidgetGL::toggleMipMapping);
    connect(this, &QTPictavoApplication::toggleLinearFiltering, _glWidget, &QTPictavoWidgetGL::toggleLinearFiltering);
    connect(this, &QTPictavoApplication::toggleTextureCompression, _glWidget, &QTPictavoWidgetGL::toggleTextureCompression);
    connect(this, &QTPictavoApplication::toggleARBTextureCompression, _glWidget, &QTPictavoWidgetGL::toggleARBTextureCompression);
    connect(_glWidget, &QTPictavoWidgetGL::notifyMipMapping, this, &QTPictavoApplication::notifyMipMapping);
    connect(_glWidget, &QTPictavoWidgetGL::notifyLinearFiltering, this, &QTPictavoApplication::notifyLinearFiltering);
    connect(_glWidget, &QTPictavoWidgetGL::notifyTextureCompression, this, &QTPictavoApplication::notifyTextureCompression);
    connect(_glWidget, &QTPictavoWidgetGL::notifyARBTextureCompression, this, &QTPictavoApplication::notifyARBTextureCompression);
}

QTPictavoApplication::~QTPictavoApplication()
{
    autosaveAtExit();
    if (_multiMonitorFullscreen)
        toggleMultiMonitorFullscreen();
    // The TUIO listener feeds the surface's receiver: it goes first.
    delete _tuioSource;
    // The container owns the GL window and goes with the window's children.
}

void QTPictavoApplication::createStatusBar()
{
    const std::array<std::pair<const char*, QLabel**>, 6> fields{{
        {"Object #:", &_objectNumberLabel},
        {" |   Buffer Size:", &_bufferWidthLabel},
        {"x", &_bufferHeightLabel},
        {" |   Buffer Memory (MB):", &_memoryLabel},
        {" |   Users:", &_userNumberLabel},
        {" |   fps:", &_fpsLabel},
    }};
    for (const auto& [caption, value] : fields) {
        statusBar()->addWidget(new QLabel(QString::fromUtf8(caption), this), 0);
        *value = new QLabel(QStringLiteral("0"), this);
        statusBar()->addWidget(*value, 0);
    }
}

void QTPictavoApplication::createActionsAndMenus()
{
    _fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    // No mnemonics on Control and Demos: Alt+C and Alt+D are window-wide
    // commands ("Show Context Menu", "Delete current Strokes on Build Canvas"),
    // and Qt fires neither of two commands that share a key.
    _controlMenu = menuBar()->addMenu(QStringLiteral("Control"));
    _demosMenu = menuBar()->addMenu(QStringLiteral("Demos"));
    _hardwareMenu = menuBar()->addMenu(QStringLiteral("&Hardware"));
    _helpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    const std::array<QMenu*, 5> menus{_fileMenu, _controlMenu, _demosMenu, _hardwareMenu, _helpMenu};

    QAction** hardwareActions[] = {&_mipMappingAction, &_linearFilteringAction,
                                   &_textureCompressionAction, &_arbTextureCompressionAction};
    QAction*** nextHardwareAction = hardwareActions;

    for (const ActionEntry& entry : actionTable) {
        auto* action = new QAction(QString::fromUtf8(entry.text), this);
        if (*entry.shortcut) {
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        if (entry.tip)
            action->setStatusTip(QString::fromUtf8(entry.tip));
        const auto invoke = entry.invoke;
        connect(action, &QAction::triggered, this, [this, invoke] { invoke(*this); });

        if (entry.place == Place::Window || entry.place == Place::File || entry.place == Place::Control)
            addAction(action);
        if (entry.place != Place::Window) {
            QMenu* menu = menus[static_cast<std::size_t>(entry.place)];
            if (entry.separatorBefore)
                menu->addSeparator();
            menu->addAction(action);
        }
        if (entry.place == Place::Hardware) {
            action->setCheckable(true);
            **nextHardwareAction++ = action;
        }
    }
    createPenTrayActions();
    createStrokeMenuActions();
}

void QTPictavoApplication::createPenTrayActions()
{
    // Without a board's pen tray: two keys take the pen and put the tools
    // back, and a stylus coming near the surface or leaving it does the same
    // (tablet proximity events reach the application object).
    const std::pair<const char*, const char*> keys[] = {{"Take the Pen from the Tray", "F7"},
                                                        {"Put the Tools back in the Tray", "F8"}};
    for (const auto& [text, shortcut] : keys) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        const bool take = &text == &keys[0].first;
        connect(action, &QAction::triggered, this, [this, take] { take ? _glWidget->OnPen() : _glWidget->OnNoTool(); });
        addAction(action);
    }
    qApp->installEventFilter(this);
}

void QTPictavoApplication::createStrokeMenuActions()
{
    // The stroke menu chooses what new primitives are made of; two keys open
    // and close it (its own apply and cancel buttons close it too).
    const std::pair<const char*, const char*> keys[] = {{"Show Stroke Menu", "Alt+K"},
                                                        {"Hide Stroke Menu", "Shift+K"}};
    for (const auto& [text, shortcut] : keys) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        const bool open = &text == &keys[0].first;
        connect(action, &QAction::triggered, this, [this, open] { open ? openStrokeMenu() : closeStrokeMenu(); });
        addAction(action);
    }
}

bool QTPictavoApplication::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::TabletEnterProximity) {
        const auto* tablet = static_cast<QTabletEvent*>(event);
        if (tablet->pointerType() == QPointingDevice::PointerType::Eraser)
            _glWidget->OnEraser();
        else
            _glWidget->OnPen();
    } else if (event->type() == QEvent::TabletLeaveProximity) {
        _glWidget->OnNoTool();
    }
    return QMainWindow::eventFilter(watched, event);
}

void QTPictavoApplication::about()
{
    QMessageBox::about(this, windowTitle(),
                       windowTitle() + QStringLiteral("\n\nVersion 1.2"));
}

void QTPictavoApplication::showHardwareMessage()
{
    if (!_hardwareNotePending)
        return;
    _hardwareNotePending = false;
    QMessageBox::information(this, QStringLiteral("Important Note"),
                             QStringLiteral("Changing hardware accelleration settings\n will be effective only after creating a new demo!Thank you."),
                             QMessageBox::Ok);
}

void QTPictavoApplication::setFps(float fps) { _fpsLabel->setText(QString::number(static_cast<double>(fps))); }
void QTPictavoApplication::setObjectNumber(unsigned int number) { _objectNumberLabel->setText(QString::number(number)); }

void QTPictavoApplication::setBufferSize(unsigned int width, unsigned int height)
{
    _bufferWidthLabel->setText(QString::number(width));
    _bufferHeightLabel->setText(QString::number(height));
}

void QTPictavoApplication::setMemorySize(unsigned long kibibytes)
{
    _memoryLabel->setText(QString::number(static_cast<double>(kibibytes) / 1024.0));
}

void QTPictavoApplication::setUserNumber(unsigned int number) { _userNumberLabel->setText(QString::number(number)); }

void QTPictavoApplication::setBarsVisible(bool visible)
{
    menuBar()->setVisible(visible);
    statusBar()->setVisible(visible);
}

void QTPictavoApplication::toggleFullscreen()
{
    if (isFullScreen()) {
        setBarsVisible(true);
        showNormal();
        return;
    }
    if (_multiMonitorFullscreen)
        toggleMultiMonitorFullscreen();
    if (!_barsInFullscreen)
        setBarsVisible(false);
    showFullScreen();
}

void QTPictavoApplication::toggleMultiMonitorFullscreen()
{
    // The flags are changed on the native window rather than on the widget:
    // changing a visible widget's flags makes a new native window, which
    // comes up without keyboard focus.
    create();
    QWindow* handle = windowHandle();
    if (_multiMonitorFullscreen) {
        setBarsVisible(true);
        handle->setFlags(savedWindowFlags);
        setGeometry(savedWindowRect);
    } else {
        if (isFullScreen())
            showNormal();
        if (!_barsInFullscreen)
            setBarsVisible(false);
        savedWindowRect = geometry();
        savedWindowFlags = handle->flags();
        // Without a caption or sizing frame the frame is 0 thick, so the client
        // area is the virtual desktop inset by one pixel. Staying on top keeps
        // the desktop's panels and task bars behind the window.
        handle->setFlags(savedWindowFlags | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setGeometry(WindowGeometry::spanningRect(WindowGeometry::virtualDesktop(QGuiApplication::screens()), 0, 0));
    }
    _multiMonitorFullscreen = !_multiMonitorFullscreen;
}

void QTPictavoApplication::toggleStatusbars()
{
    if (_multiMonitorFullscreen || isFullScreen())
        setBarsVisible(!_barsInFullscreen);
    _barsInFullscreen = !_barsInFullscreen;
}

PictavoVisGL* QTPictavoApplication::pictavoVis() const
{
    return dynamic_cast<PictavoVisGL*>(_glWidget->getVis());
}

void QTPictavoApplication::togglePickingRendering()
{
    _pickingRendering = !_pickingRendering;
    if (PictavoVisGL* vis = pictavoVis())
        vis->setPickingRendering(_pickingRendering);
}

void QTPictavoApplication::choosePaintColor()
{
    const QColor color = QColorDialog::getColor(Qt::white, this);
    _glWidget->changePaintColor(static_cast<unsigned char>(color.red()),
                                static_cast<unsigned char>(color.green()),
                                static_cast<unsigned char>(color.blue()));
}

void QTPictavoApplication::toggleElementBuildCanvasVisibility()
{
    std::cout << "Opening new canvas for element creation." << std::endl;
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->toggleVisibility();
}

void QTPictavoApplication::openElementBuildCanvas()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->show();
}

void QTPictavoApplication::closeElementBuildCanvas()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->hide();
}

void QTPictavoApplication::toggleElementBuildCanvasMovementWithoutExtend()
{
    std::cout << "Toggling ability for moving build canvas without touch extend." << std::endl;
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->toggleMoveWithoutExtend();
}

void QTPictavoApplication::enableElementBuildCanvasMovementWithoutExtend()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->enableMoveWithoutExtend();
}

void QTPictavoApplication::disableElementBuildCanvasMovementWithoutExtend()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->disableMoveWithoutExtend();
}

void QTPictavoApplication::canvasDrawSegmentAsStroke()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->drawSegmentsAsStroke();
}

void QTPictavoApplication::canvasDrawSegmentAsPoints()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->drawSegmentsAsPoints();
}

void QTPictavoApplication::canvasDeleteStrokes()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->deleteStrokes();
}

void QTPictavoApplication::canvasUseStrokesAsRenderingElements()
{
    // The element image becomes a GL texture: the surface's context must be current.
    _glWidget->useBuildCanvasStrokes();
}

void QTPictavoApplication::canvasToggleEraseCapability()
{
    if (GeoStrokeBuildCanvasCompositeGL* panel = buildCanvas())
        panel->toggleEraseCapability();
}

void QTPictavoApplication::openStrokeMenu()
{
    if (StrokeMenuGL* menu = strokeMenu())
        menu->show();
}

void QTPictavoApplication::closeStrokeMenu()
{
    if (StrokeMenuGL* menu = strokeMenu())
        menu->hide();
}

void QTPictavoApplication::openContextMenu()
{
    if (PictavoVisGL* vis = pictavoVis(); vis != nullptr && vis->findContextMenu() != nullptr)
        vis->findContextMenu()->show();
}

void QTPictavoApplication::closeContextMenu()
{
    if (PictavoVisGL* vis = pictavoVis(); vis != nullptr && vis->findContextMenu() != nullptr)
        vis->findContextMenu()->hide();
}

void QTPictavoApplication::openPalette()
{
    PictavoVisGL* vis = pictavoVis();
    if (PaletteLeafGL* palette = vis != nullptr ? vis->findPalette() : nullptr) {
        palette->activateForRendering();
        vis->moveComponentToRenderFront(palette);
    }
}

void QTPictavoApplication::closePalette()
{
    PictavoVisGL* vis = pictavoVis();
    if (PaletteLeafGL* palette = vis != nullptr ? vis->findPalette() : nullptr)
        palette->deactivateForRendering();
}

CanvasCompositeGL* QTPictavoApplication::canvas() const
{
    PictavoVisGL* vis = pictavoVis();
    return vis != nullptr ? vis->findCanvas() : nullptr;
}

GeoStrokeBuildCanvasCompositeGL* QTPictavoApplication::buildCanvas() const
{
    PictavoVisGL* vis = pictavoVis();
    return vis != nullptr ? vis->findBuildCanvas() : nullptr;
}

StrokeMenuGL* QTPictavoApplication::strokeMenu() const
{
    PictavoVisGL* vis = pictavoVis();
    return vis != nullptr ? vis->findStrokeMenu() : nullptr;
}

void QTPictavoApplication::setCanvasInteractionMode(InteractionMode mode)
{
    if (CanvasCompositeGL* c = canvas())
        c->setInteractionMode(mode);
}

void QTPictavoApplication::createCanvasBufferImage(int tag)
{
    if (CanvasCompositeGL* c = canvas())
        c->createBufferImage(tag);
}

void QTPictavoApplication::setCanvasFakePosture(const FakePosture& posture)
{
    if (CanvasCompositeGL* c = canvas())
        c->setSimulatedPosture(posture.posture);
    // The surface gives the mouse the posture's contact size, so components
    // that ask their own posture detector (and a canvas of a later demo)
    // come to the same posture.
    _glWidget->setFakePosture(posture);
}
void QTPictavoApplication::setInputCombination(int combination)
{
    if (PictavoVisGL* vis = pictavoVis())
        vis->setInputCombination(combination);
}
void QTPictavoApplication::setTaskMode(bool on)
{
    if (PictavoVisGL* vis = pictavoVis(); vis != nullptr && vis->findCanvas() != nullptr)
        vis->findCanvas()->setTaskMode(on);
    _glWidget->setTaskMode(on);
}

void QTPictavoApplication::setPenFakePosture() { setCanvasFakePosture(fakePosture(Posture::Pen)); }
void QTPictavoApplication::setOneFingerFakePosture() { setCanvasFakePosture(fakePosture(Posture::OneFinger)); }
void QTPictavoApplication::setTwoFingersFakePosture() { setCanvasFakePosture(fakePosture(Posture::TwoFingers)); }
void QTPictavoApplication::setFistFakePosture() { setCanvasFakePosture(fakePosture(Posture::Fist)); }
void QTPictavoApplication::setHandFakePosture() { setCanvasFakePosture(fakePosture(Posture::Hand)); }

void QTPictavoApplication::createTargetAreaBufferImage() { createCanvasBufferImage(TARGET_AREA_BUFFER); }
void QTPictavoApplication::createPrimColorBufferImage() { createCanvasBufferImage(PRIM_COLOR_BUFFER); }
void QTPictavoApplication::createTempColorBufferImage() { createCanvasBufferImage(TEMP_COLOR_BUFFER); }
void QTPictavoApplication::createColorBufferImage() { createCanvasBufferImage(COLOR_BUFFER); }
void QTPictavoApplication::createSelectionBufferImage() { createCanvasBufferImage(SELECTION_BUFFER); }
void QTPictavoApplication::createDropoffBufferImage() { createCanvasBufferImage(DROPOFF_BUFFER); }
void QTPictavoApplication::createOrientationBufferImage() { createCanvasBufferImage(TEMP_ORIENTATION_BUFFER); }
void QTPictavoApplication::createGradientBufferImage() { createCanvasBufferImage(GRADIENT_BUFFER); }
void QTPictavoApplication::createDepthBufferImage() { createCanvasBufferImage(DEPTH_BUFFER); }

void QTPictavoApplication::switchToCreateMode() { setCanvasInteractionMode(InteractionMode::Create); }
void QTPictavoApplication::switchToEraseMode() { setCanvasInteractionMode(InteractionMode::Erase); }
void QTPictavoApplication::switchToOrientationMode() { setCanvasInteractionMode(InteractionMode::Orient); }
void QTPictavoApplication::switchToMoveMode() { setCanvasInteractionMode(InteractionMode::Move); }
void QTPictavoApplication::switchToSizeMode() { setCanvasInteractionMode(InteractionMode::Size); }
void QTPictavoApplication::switchToColorMode() { setCanvasInteractionMode(InteractionMode::Color); }

void QTPictavoApplication::setDTWIIInputCombo() { setInputCombination(0); }
void QTPictavoApplication::setDTWIINCInputCombo() { setInputCombination(5); }
void QTPictavoApplication::setDTWIIPointingNCModesInputCombo() { setInputCombination(6); }

void QTPictavoApplication::switchIntoTaskMode() { setTaskMode(true); }
void QTPictavoApplication::switchOutOfTaskMode() { setTaskMode(false); }

void QTPictavoApplication::loadColorReferenceImage()
{
    // Alternates between placing a picture and pressing it into the canvas
    // (the picture then removes itself).
    PictavoVisGL* vis = pictavoVis();
    if (!_referenceImageLoaded) {
        // An empty name is not refused.
        _referenceImagePath = _chooseImageFile().toStdString();
        const double w = _config->_mainwindowWidth, h = _config->_mainwindowHeight;
        _referenceImage = vis != nullptr ? vis->createReferenceImage(w, h, 0.5 * w, 0.5 * h, _referenceImagePath)
                                         : nullptr;
        if (_referenceImage != nullptr)
            _referenceImage->setSize(w, h);
        _referenceImageLoaded = true;
    } else {
        // The picture belongs to the scene it was made in: a demo switch
        // since then has deleted it.
        if (vis != nullptr && _referenceImage != nullptr && vis->findReferenceImage() == _referenceImage)
            _referenceImage->requestApply();
        _referenceImage = nullptr;
        _referenceImageLoaded = false;
    }
}

bool& QTPictavoApplication::hardwareFlag(HardwareSetting setting)
{
    switch (setting) {
    case MipMapping: return _mipMapping;
    case LinearFiltering: return _linearFiltering;
    case TextureCompression: return _textureCompression;
    case ARBTextureCompression: break;
    }
    return _arbTextureCompression;
}

QAction* QTPictavoApplication::hardwareAction(HardwareSetting setting) const
{
    switch (setting) {
    case MipMapping: return _mipMappingAction;
    case LinearFiltering: return _linearFilteringAction;
    case TextureCompression: return _textureCompressionAction;
    case ARBTextureCompression: break;
    }
    return _arbTextureCompressionAction;
}

void QTPictavoApplication::setHardwareSetting(HardwareSetting setting, bool on)
{
    const auto apply = [this](HardwareSetting s, bool value) {
        hardwareFlag(s) = value;
        hardwareAction(s)->setChecked(value);
    };
    apply(setting, on);
    const bool isBase = setting == MipMapping || setting == TextureCompression;
    const auto partner = static_cast<HardwareSetting>(setting ^ 1);
    if (isBase && !on)
        apply(partner, false);
    else if (!isBase && on)
        apply(partner, true);
}

void QTPictavoApplication::toggleHardwareSetting(HardwareSetting setting)
{
    const bool on = !hardwareFlag(setting);
    setHardwareSetting(setting, on);
    switch (setting) {
    case MipMapping: emit toggleMipMapping(on); break;
    case LinearFiltering: emit toggleLinearFiltering(on); break;
    case TextureCompression: emit toggleTextureCompression(on); break;
    case ARBTextureCompression: emit toggleARBTextureCompression(on); break;
    }
    showHardwareMessage();
}

void QTPictavoApplication::mipMapping() { toggleHardwareSetting(MipMapping); }
void QTPictavoApplication::linearFiltering() { toggleHardwareSetting(LinearFiltering); }
void QTPictavoApplication::textureCompression() { toggleHardwareSetting(TextureCompression); }
void QTPictavoApplication::arbTextureCompression() { toggleHardwareSetting(ARBTextureCompression); }

void QTPictavoApplication::notifyMipMapping(bool on) { setHardwareSetting(MipMapping, on); }
void QTPictavoApplication::notifyLinearFiltering(bool on) { setHardwareSetting(LinearFiltering, on); }
void QTPictavoApplication::notifyTextureCompression(bool on) { setHardwareSetting(TextureCompression, on); }
void QTPictavoApplication::notifyARBTextureCompression(bool on) { setHardwareSetting(ARBTextureCompression, on); }

void QTPictavoApplication::readPendingDatagrams()
{
    // Every pending datagram is read so the socket never backs up; without
    // configured Remotes the evaluation drops them unread.
    while (_receiveSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = _receiveSocket->receiveDatagram();
        const QByteArray bytes = datagram.data();
        _wiiInput->evaluateDatagram(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
}

void QTPictavoApplication::sendLeftBorderRegion(bool left)
{
    const std::vector<char> packet = WiiFeedbackMessage::leftBorderRegion(left);
    _sendSocket->writeDatagram(packet.data(), static_cast<qint64>(packet.size()), QHostAddress::LocalHost,
                               static_cast<quint16>(_config->_oscSendPort));
}
