// Entry point: reads the configuration, checks for OpenGL, opens the main window.
#include "AllocationTuning.h"
#include "OpenGLSupport.h"
#include "QTPictavoApplication.h"
#include "QTPictavoWidgetGL.h"
#include "QTVelkConfiguration.h"
#include "StartupOptions.h"
#include "TabletopVis.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    StartupOptions::unthrottleUpdates();
    keepLargeAllocationsInHeap();
    QApplication application(argc, argv);

    // Lives until the window is gone; nothing writes it after parsing.
    auto* config = new QTVelkConfiguration(StartupOptions::configurationPath(argc, argv));

    if (!OpenGLSupport::probe(OpenGLSupport::requestedFormat(config->_graphicsVsync))) {
        qWarning("This system has no OpenGL support. Exiting.");
        delete config;
        return -1;
    }

    auto* window = new QTPictavoApplication(config);
    window->resize(static_cast<int>(config->_mainwindowWidth), static_cast<int>(config->_mainwindowHeight));
    window->setWindowTitle(QStringLiteral("Velk Tabletop Framework Demo Application"));
    if (config->_mainwindowFullscreen) {
        if (config->_mainwindowFullscreenReal)
            window->toggleFullscreen();
        else
            window->toggleMultiMonitorFullscreen();
    }
    window->show();
    window->activateWindow(); // keyboard shortcuts work at once, with or without a window manager
    const int result = application.exec();
    // The scene's final statistics, for the console and for scripted sessions.
    if (const TabletopVis* vis = window->glWidget()->getVis())
        std::cout << "Components: " << vis->countComponents() << std::endl;
    delete window;
    delete config;
    return result;
}
