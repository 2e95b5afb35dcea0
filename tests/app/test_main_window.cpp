// The main window in-process under Xvfb: the command table, the information
// bar, the full-screen and bar rules, the hardware links, the one-time note,
// the running frame loop, demo changes and the touch and Wii sources.
#include "../input/TouchTestSupport.h"
#include "CanvasCompositeGL.h"
#include "PictavoBuilderGL.h"
#include "PictavoVisGL.h"
#include "QTPictavoApplication.h"
#include "QTPictavoWidgetGL.h"
#include "QTVelkConfiguration.h"
#include "QtTouchInput.h"
#include "ToolBrushLeafGL.h"
#include "TouchLogReplay.h"
#include "VisComponentGL.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabletEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QWindow>
#include <GL/gl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

constexpr quint16 ReceivePort = 47310;
constexpr quint16 SendPort = 47311;
constexpr quint16 TuioPort = 47312;

// Writes a 640 x 480 windowed configuration with the test's OSC ports.
QString writeConfig(const QTemporaryDir& dir, const QString& extra)
{
    const QString path = dir.filePath("config.xml");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral("<config><mainwindow width=\"640\" height=\"480\" fullscreen=\"0\"/>"
                                  "<osc receive_port=\"%1\" send_port=\"%2\"/>%3</config>")
                       .arg(ReceivePort).arg(SendPort).arg(extra).toUtf8());
    return path;
}

// The window's command with that shortcut; null if there is none.
QAction* commandOn(const QWidget& window, const QString& shortcut)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->shortcut() == QKeySequence(shortcut))
            return action;
    return nullptr;
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(_dir.isValid());
        _config = std::make_unique<QTVelkConfiguration>(
            writeConfig(_dir, QStringLiteral("<tuio enabled=\"1\" port=\"%1\"/><canvas_surface/>").arg(TuioPort)));
        _window = std::make_unique<QTPictavoApplication>(_config.get());
        _window->resize(640, 480);
    }

    bool show()
    {
        _window->show();
        return QTest::qWaitForWindowExposed(_window.get());
    }

    // Shows the window and waits for the scene; null if it never stands.
    QTPictavoWidgetGL* showScene()
    {
        QTPictavoWidgetGL* widget = _window->glWidget();
        if (!show() || !QTest::qWaitFor([widget] { return widget->getVis() != nullptr; }, 10000))
            return nullptr;
        return widget;
    }

    QAction* actionFor(const QString& shortcut) const { return commandOn(*_window, shortcut); }

    QAction* actionNamed(const QString& text) const
    {
        for (QAction* action : _window->findChildren<QAction*>())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    QStringList barTexts() const
    {
        QStringList list;
        for (QLabel* label : _window->statusBar()->findChildren<QLabel*>())
            list << label->text();
        return list;
    }

    bool barsVisible() const
    {
        return !_window->menuBar()->isHidden() && !_window->statusBar()->isHidden();
    }

    // Closes every modal box that opens while `body` runs and counts them.
    template <typename F>
    int countModalBoxes(F body)
    {
        int count = 0;
        QTimer closer;
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [&count] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++count;
                modal->close();
            }
        });
        closer.start();
        body();
        return count;
    }

    QTemporaryDir _dir;
    std::unique_ptr<QTVelkConfiguration> _config;
    std::unique_ptr<QTPictavoApplication> _window;
};

// Covers the screen and records the device points it is handed.
class RecordingComponent : public VisComponentGL
{
public:
    RecordingComponent(TabletopVis* scene, double width, double height)
        : VisComponentGL(scene, width / 2, height / 2, false, false, width, height)
    {
    }
    int hitLocalBuffer(int x, int y, double, double, int) override
    {
        hits.push_back({x, y});
        return 1;
    }
    int releaseLocalBuffer(int x, int y, int) override
    {
        releases.push_back({x, y});
        return 1;
    }
    std::vector<QPoint> hits;
    std::vector<QPoint> releases;
};

RecordingComponent* coverScene(QTPictavoWidgetGL* widget)
{
    auto* recorder = new RecordingComponent(widget->getVis(), widget->width(), widget->height());
    widget->getVis()->addComponent(recorder, true);
    return recorder;
}

// Resident memory of this process in MiB.
double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The window of a configuration file, shown; `standing` once its scene stands.
struct ShownWindow
{
    explicit ShownWindow(const QString& path) : config(path), window(&config)
    {
        window.resize(640, 480);
        window.show();
        standing = QTest::qWaitForWindowExposed(&window)
                && QTest::qWaitFor([this] { return widget->getVis() != nullptr; }, 20000);
    }
    PictavoVisGL* vis() const { return dynamic_cast<PictavoVisGL*>(widget->getVis()); }

    QTVelkConfiguration config;
    QTPictavoApplication window;
    QTPictavoWidgetGL* widget = window.glWidget();
    bool standing = false;
};

// Runs in the build's run directory and goes back to the previous one.
struct InRunDirectory
{
    InRunDirectory() { QDir::setCurrent(QString::fromLocal8Bit(qgetenv("PICTAVO_RUN_DIR"))); }
    ~InRunDirectory() { QDir::setCurrent(previous); }
    const QString previous = QDir::currentPath();
};

} // namespace

// An ambiguous or window-local key would fire nothing. The commands' own
// slots are cut off first: they quit, open dialogs and rebuild scenes.
TEST_F(MainWindowTest, EveryShortcutFiresItsCommand)
{
    ASSERT_TRUE(show());
    _window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(_window.get()));
    QList<QAction*> commands;
    for (QAction* action : _window->findChildren<QAction*>())
        if (!action->shortcut().isEmpty() && !action->menu())
            commands << action;
    EXPECT_EQ(commands.size(), 63)
        << "the 55 commands, the four painting commands, the two pen-tray keys and the two stroke-menu keys";
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QAction* action : commands) {
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        spies.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));
    }
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QTest::keySequence(_window->glWidget(), commands[i]->shortcut());
        for (qsizetype j = 0; j < commands.size(); ++j) {
            const int expected = j <= i ? 1 : 0;
            EXPECT_EQ(spies[static_cast<std::size_t>(j)]->count(), expected)
                << commands[i]->shortcut().toString().toStdString() << " fired "
                << commands[j]->text().toStdString();
        }
    }
}

TEST_F(MainWindowTest, InformationBarShowsCaptionsAndValues)
{
    EXPECT_EQ(barTexts(), (QStringList{"Object #:", "0", " |   Buffer Size:", "0", "x", "0",
                                       " |   Buffer Memory (MB):", "0", " |   Users:", "0", " |   fps:", "0"}));
    _window->setMemorySize(3 * 1024 / 2);
    _window->setBufferSize(700, 525);
    _window->setObjectNumber(3000);
    _window->setUserNumber(2);
    _window->setFps(412.5f);
    EXPECT_EQ(barTexts(), (QStringList{"Object #:", "3000", " |   Buffer Size:", "700", "x", "525",
                                       " |   Buffer Memory (MB):", "1.5", " |   Users:", "2", " |   fps:", "412.5"}));
}

TEST_F(MainWindowTest, FullScreenModesExcludeEachOtherAndRestoreTheWindow)
{
    ASSERT_TRUE(show());
    const QSize windowed = _window->geometry().size();

    _window->toggleMultiMonitorFullscreen();
    EXPECT_TRUE(_window->isMultiMonitorFullscreen());
    EXPECT_FALSE(barsVisible());
    EXPECT_TRUE(_window->windowHandle()->flags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(_window->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(_window->geometry(), QGuiApplication::primaryScreen()->virtualGeometry().adjusted(1, 1, -1, -1));

    // Each mode leaves the other.
    _window->toggleFullscreen();
    EXPECT_FALSE(_window->isMultiMonitorFullscreen());
    EXPECT_TRUE(_window->isFullScreen());
    EXPECT_FALSE(_window->windowHandle()->flags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(barsVisible());
    _window->toggleMultiMonitorFullscreen();
    EXPECT_FALSE(_window->isFullScreen());
    EXPECT_TRUE(_window->isMultiMonitorFullscreen());

    _window->toggleMultiMonitorFullscreen();
    EXPECT_FALSE(_window->isMultiMonitorFullscreen());
    EXPECT_TRUE(barsVisible());
    QTest::qWait(50);
    EXPECT_EQ(_window->geometry().size(), windowed);
}

TEST_F(MainWindowTest, BarsRuleDecidesTheNextFullScreenOnlyInWindowedMode)
{
    ASSERT_TRUE(show());
    _window->toggleStatusbars();
    EXPECT_TRUE(barsVisible());
    EXPECT_TRUE(_window->barsInFullscreen());

    _window->toggleFullscreen();
    EXPECT_TRUE(barsVisible()) << "bars kept in full screen";
    _window->toggleStatusbars();
    EXPECT_FALSE(barsVisible());
    _window->toggleStatusbars();
    _window->toggleFullscreen();
    EXPECT_TRUE(barsVisible());

    _window->toggleStatusbars(); // windowed: now hide them in the next full screen
    EXPECT_FALSE(_window->barsInFullscreen());
    _window->toggleMultiMonitorFullscreen();
    EXPECT_FALSE(barsVisible());
    _window->toggleMultiMonitorFullscreen();
}

TEST_F(MainWindowTest, HardwareSettingsAreLinkedAndTheNoteShowsOnce)
{
    QAction* mip = actionNamed("&Mip Mapping");
    QAction* linear = actionNamed("&Linear Filtering");
    QAction* compression = actionNamed("&Texture Compression");
    QAction* arb = actionNamed("&ARB Texture Compression");

    EXPECT_EQ(countModalBoxes([&] { linear->trigger(); }), 1);
    EXPECT_TRUE(mip->isChecked()) << "linear filtering on switches mip mapping on";
    EXPECT_TRUE(_window->glWidget()->isLinearFiltering()) << "the widget is told";

    const int notes = countModalBoxes([&] {
        mip->trigger();
        arb->trigger();
    });
    EXPECT_EQ(notes, 0) << "the note appears only once";
    EXPECT_FALSE(linear->isChecked()) << "mip mapping off switches linear filtering off";
    EXPECT_TRUE(compression->isChecked()) << "ARB compression on switches compression on";
    EXPECT_TRUE(_window->glWidget()->isARBTextureCompression());
    compression->trigger();
    EXPECT_FALSE(_window->isARBTextureCompression());

    // Reports from the widget apply the links without a note or a signal back.
    bool signalled = false;
    QObject::connect(_window.get(), &QTPictavoApplication::toggleMipMapping, [&] { signalled = true; });
    _window->notifyLinearFiltering(true);
    EXPECT_TRUE(mip->isChecked());
    EXPECT_FALSE(signalled);
}

TEST_F(MainWindowTest, PenTraySwitchesTheBuildCanvasOncePerFrame)
{
    ASSERT_TRUE(show());
    QTPictavoWidgetGL* widget = _window->glWidget();
    const auto shownAfterFrames = [widget] {
        const quint64 start = widget->frameCount();
        EXPECT_TRUE(QTest::qWaitFor([&] { return widget->frameCount() > start + 2; }, 5000));
        return widget->isBuildCanvasShown();
    };
    widget->OnPen();
    widget->OnNoTool(); // put back before any frame saw it
    EXPECT_FALSE(shownAfterFrames());
    widget->OnPen();
    EXPECT_TRUE(shownAfterFrames());
    widget->OnNoTool();
    EXPECT_FALSE(shownAfterFrames());
    widget->OnEraser();
    EXPECT_TRUE(shownAfterFrames());
    EXPECT_GT(barTexts().value(11).toDouble(), 0.0) << "the running loop reports its rate";

    // A stylus near the surface takes the pen; leaving puts it back.
    const auto proximity = [](QEvent::Type type) {
        QTabletEvent event(type, QPointingDevice::primaryPointingDevice(), QPointF(), QPointF(), 0, 0, 0, 0, 0,
                           0, Qt::KeyboardModifiers(), Qt::NoButton, Qt::NoButton);
        QCoreApplication::sendEvent(qApp, &event);
    };
    proximity(QEvent::TabletLeaveProximity);
    EXPECT_FALSE(shownAfterFrames());
    proximity(QEvent::TabletEnterProximity);
    EXPECT_TRUE(shownAfterFrames());
}

TEST_F(MainWindowTest, AnimationCommandsChangeSpeedAndState)
{
    QTPictavoWidgetGL* widget = _window->glWidget();
    EXPECT_FALSE(widget->isAnimating()); // startup.animation defaults to off
    actionFor("Ctrl+S")->trigger();
    EXPECT_TRUE(widget->isAnimating());
    actionFor("Ctrl+PgUp")->trigger();
    actionFor("Ctrl+PgUp")->trigger();
    EXPECT_DOUBLE_EQ(widget->speed(), 250.0);
    actionFor("Ctrl+PgDown")->trigger();
    actionFor("Ctrl+PgDown")->trigger();
    EXPECT_NEAR(widget->speed(), 40.0, 1e-9);
}

TEST_F(MainWindowTest, SceneIsBuiltAndSceneCommandsReachIt)
{
    QTPictavoWidgetGL* widget = showScene();
    ASSERT_NE(widget, nullptr);
    auto* vis = dynamic_cast<PictavoVisGL*>(widget->getVis());
    ASSERT_NE(vis, nullptr);
    EXPECT_TRUE(vis->hasGL());
    EXPECT_NE(vis->getColorLookUpTable(), nullptr);
    const QStringList labels = barTexts();
    EXPECT_EQ(labels.value(3) + "x" + labels.value(5), "700x525");
    EXPECT_EQ(labels.value(9), "1");
    // A buffer of 2 MiB made by the scene reaches the bar as 2 MB.
    const double megabytes = labels.value(7).toDouble();
    auto buffer = vis->createNewFloatImageBuffer(1024, 512);
    EXPECT_TRUE(QTest::qWaitFor([&] { return barTexts().value(7).toDouble() == megabytes + 2.0; }, 5000))
        << barTexts().value(7).toStdString();

    const unsigned before = vis->countComponents();
    actionFor("Ctrl++")->trigger();
    actionFor("Ctrl++")->trigger();
    EXPECT_EQ(vis->countComponents(), before + 200);
    EXPECT_EQ(barTexts().value(1), QString::number(before + 200));
    actionFor("Ctrl+-")->trigger();
    EXPECT_EQ(vis->countComponents(), before + 100);

    // The keys that switch the canvas's mode and the input combination.
    ASSERT_NE(vis->findCanvas(), nullptr);
    const std::pair<const char*, InteractionMode> modes[] = {
        {"Ctrl+F1", InteractionMode::Create}, {"Ctrl+F2", InteractionMode::Erase}, {"Ctrl+F3", InteractionMode::Color},
        {"Ctrl+F4", InteractionMode::Size},   {"Ctrl+F5", InteractionMode::Move},  {"Ctrl+F6", InteractionMode::Orient}};
    for (const auto& [key, mode] : modes) {
        actionFor(key)->trigger();
        EXPECT_EQ(vis->findCanvas()->getInteractionMode(), mode) << key;
    }
    const std::pair<const char*, int> combinations[] = {{"Ctrl+F9", 5}, {"Ctrl+F10", 0}, {"Ctrl+F11", 6}};
    for (const auto& [key, combination] : combinations) {
        actionFor(key)->trigger();
        EXPECT_EQ(vis->getInputCombination(), combination) << key;
    }
    actionFor("Ctrl+P")->trigger();
    EXPECT_TRUE(vis->isPickingRendering());
}

// A touch log named by the configuration plays in real time once the scene
// stands and reaches the scene at the recorded pixels.
TEST(TouchReplay, ConfiguredLogPlaysAtItsPaceIntoTheScene)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath("task1.txt");
    QFile logFile(log);
    ASSERT_TRUE(logFile.open(QIODevice::WriteOnly));
    // The first contact plays the moment the player starts, possibly before
    // the recorder covers the scene; the one checked starts a second later.
    logFile.write("time since start of task \t touch event \t pos x \t pos y \t touchWidth \t touchHeight \n"
                  "1.0\t0\t300\t300\t10\t10\t\n"
                  "1.1\t1\t300\t300\t10\t10\t\n"
                  "2.0\t0\t100\t200\t10\t10\t\n"
                  "2.4\t2\t110\t205\t10\t10\t\n"
                  "2.8\t1\t120\t210\t10\t10\t\n");
    logFile.close();
    ShownWindow w(writeConfig(
        dir, QStringLiteral("<tuio enabled=\"0\"/><touchreplay enabled=\"1\" file=\"%1\"/>").arg(log)));
    EXPECT_EQ(w.window.tuioSource(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&w] { return w.widget->touchLogPlayer() != nullptr; }, 10000));
    QElapsedTimer clock;
    clock.start();
    RecordingComponent* recorder = coverScene(w.widget);
    TouchLogPlayer* player = w.widget->touchLogPlayer();
    ASSERT_TRUE(QTest::qWaitFor([player] { return !player->isPlaying(); }, 5000));
    EXPECT_GE(clock.elapsed(), 1700) << "the last entry is due 1.8 s after the first";
    EXPECT_EQ(player->replay().played(), 5u);
    ASSERT_FALSE(recorder->releases.empty());
    EXPECT_EQ(recorder->releases.back(), QPoint(120, 210));
}

// Each scene holds the 48 MiB colour table and its textures; replacing the
// scene must free them, so switching demos again and again keeps memory flat.
TEST(DemoChange, ReplacedScenesAreFreed)
{
    InRunDirectory here;
    ShownWindow w(QStringLiteral("config.xml"));
    ASSERT_TRUE(w.standing);
    QTPictavoWidgetGL* widget = w.widget;

    // Every scene's brush draws the configured ring menu round its hints.
    const auto ringMenuLoaded = [&w] {
        const std::vector<unsigned>& textures = w.vis()->findToolBrush()->getRingMenuTextures();
        return textures.size() == 12 && std::find(textures.begin(), textures.end(), 0u) == textures.end();
    };
    EXPECT_TRUE(ringMenuLoaded());

    // Task mode is switched on the canvas and on the surface, and a new
    // demo's canvas takes it over.
    ASSERT_NE(w.vis()->findCanvas(), nullptr);
    commandOn(w.window, "Alt+T")->trigger();
    EXPECT_TRUE(w.vis()->findCanvas()->isTaskMode() && widget->isTaskMode());
    widget->changeDemoToMosaic();
    EXPECT_TRUE(w.vis()->findCanvas()->isTaskMode());
    commandOn(w.window, "Shift+T")->trigger();
    EXPECT_FALSE(w.vis()->findCanvas()->isTaskMode() || widget->isTaskMode());
    EXPECT_TRUE(ringMenuLoaded());
    EXPECT_EQ(widget->getBuilder()->getVis(), widget->getVis());
    widget->changeDemo(7); // no such demo: the scene stays
    EXPECT_EQ(widget->getBuilder()->getVis(), widget->getVis());

    // Texture names alive in the surface's context.
    const auto liveTextures = [widget] {
        widget->makeCurrent();
        int live = 0;
        for (GLuint name = 1; name < 4096; ++name)
            live += glIsTexture(name) ? 1 : 0;
        return live;
    };
    // Measured on a drawn scene: components make some textures at their
    // first frame (the sketch panel's layer, font glyph sheets).
    widget->changeDemoToPointillism();
    QTest::qWait(20);
    const double settled = residentMiB();
    const int textures = liveTextures();
    for (int i = 0; i < 6; ++i) {
        widget->changeDemo(i % 3);
        QTest::qWait(20);
    }
    EXPECT_LT(residentMiB() - settled, 40.0) << "six demo changes must not keep six scenes";
    EXPECT_EQ(liveTextures(), textures) << "each scene frees its textures in the surface's context";
}

// The joystick of a configured Remote moves the surface's pointer and drives
// a contact only beyond steps of 2 pixels. (The border messages to the
// bridge are checked end to end.)
TEST(WiiRemote, JoystickMovesPointerAndContact)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ShownWindow w(writeConfig(
        dir, QStringLiteral("<tuio enabled=\"0\"/><userdata number=\"1\" wiis=\"1\"/><wii joystick_speed_factor=\"100\"/>")));
    ASSERT_TRUE(w.standing);
    QTPictavoWidgetGL* widget = w.widget;
    w.vis()->setInputCombination(0);
    RecordingComponent* recorder = coverScene(widget);

    QUdpSocket remote;
    const auto send = [&remote, widget](float jx, float jy) {
        const float x = widget->pointerPos()[0];
        const float y = widget->pointerPos()[1];
        const osctest::Bytes bytes = osctest::wiiState({.nunchuk = true, .jx = jx, .jy = jy});
        remote.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), QHostAddress::LocalHost, ReceivePort);
        return QTest::qWaitFor([=] { return widget->pointerPos()[0] != x || widget->pointerPos()[1] != y; }, 3000);
    };
    const float x0 = widget->pointerPos()[0];
    const float y0 = widget->pointerPos()[1];
    ASSERT_TRUE(send(0.015f, -0.025f));   // step (1, -2): the pointer moves, no contact
    EXPECT_EQ(widget->pointerPos()[0], x0 + 1.0f);
    EXPECT_EQ(widget->pointerPos()[1], y0 + 2.0f);
    EXPECT_TRUE(recorder->hits.empty());
    ASSERT_TRUE(send(0.035f, 0.0f));      // step (3, 0): a device move at the pointer
    EXPECT_EQ(widget->pointerPos()[0], x0 + 4.0f);
    ASSERT_EQ(recorder->hits.size(), 1u);
    EXPECT_EQ(recorder->hits[0], QPoint(static_cast<int>(x0 + 4.0f), static_cast<int>(y0 + 2.0f)));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
