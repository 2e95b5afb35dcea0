// Empty-scene frame rate of the GL surface the program uses (a native GL
// window embedded in the main window) against a QOpenGLWidget, which draws
// into a framebuffer object that Qt then composes. Prints `name value` lines.
#include "OpenGLSupport.h"
#include "QTPictavoApplication.h"
#include "QTPictavoWidgetGL.h"
#include "QTVelkConfiguration.h"
#include "StartupOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QMenuBar>
#include <QTest>

#include <GL/gl.h>
#include <cstdio>
#include <functional>

namespace {

constexpr int Width = 800;
constexpr int Height = 560;
constexpr int WarmUpMs = 700;
constexpr int MeasureMs = 3000;

// The same frame as the program's empty scene, drawn by a QOpenGLWidget.
class EmptyGLWidget : public QOpenGLWidget
{
public:
    quint64 frames = 0;

protected:
    void initializeGL() override { glClearColor(1.0f, 1.0f, 1.0f, 1.0f); }
    void paintGL() override
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ++frames;
        update();
    }
};

// Frames per second over MeasureMs after a warm-up, read through `frames`.
double measure(const std::function<quint64()>& frames)
{
    QTest::qWait(WarmUpMs);
    const quint64 start = frames();
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(MeasureMs);
    return static_cast<double>(frames() - start) * 1000.0 / static_cast<double>(clock.elapsed());
}

void report(const char* name, double value)
{
    std::printf("%s %.1f\n", name, value);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    StartupOptions::unthrottleUpdates();
    QApplication app(argc, argv);
    QTVelkConfiguration config(QStringLiteral("/nonexistent/config.xml")); // start-up defaults
    const QSurfaceFormat format = OpenGLSupport::requestedFormat(false);

    {
        auto* surface = new QTPictavoWidgetGL(format, &config);
        QWidget* container = QWidget::createWindowContainer(surface);
        container->resize(Width, Height);
        container->show();
        report("empty_fps_qopenglwindow", measure([surface] { return surface->frameCount(); }));
        delete container;
    }
    {
        EmptyGLWidget widget;
        widget.setFormat(format);
        widget.resize(Width, Height);
        widget.show();
        report("empty_fps_qopenglwidget", measure([&widget] { return widget.frames; }));
    }
    {
        // The whole main window: menus, information bar updated every frame.
        QTPictavoApplication window(&config);
        window.resize(Width, Height + window.menuBar()->sizeHint().height() + 22);
        window.show();
        report("empty_fps_main_window", measure([&window] { return window.glWidget()->frameCount(); }));
    }
    return 0;
}
