// The main window's painting commands: save, open, export, autosave and
// its restore.
#include "QTPictavoApplication.h"

#include "AllocationTuning.h"
#include "PaintingExport.h"
#include "PaintingFile.h"
#include "PaintingSaver.h"
#include "PaintingScene.h"
#include "PictavoVisGL.h"
#include "QTPictavoWidgetGL.h"
#include "QTVelkConfiguration.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

const QString PaintingFilter = QStringLiteral("Paintings (*.pictavo)");
const QStringList ExportFilters{QStringLiteral("PNG image, window size (*.png)"),
                                QStringLiteral("PNG image, twice the window size (*.png)"),
                                QStringLiteral("PNG image, four times the window size (*.png)")};

QString scriptFile() { return qEnvironmentVariable("PICTAVO_PAINTING_FILE"); }

} // namespace

QString QTPictavoApplication::choosePaintingFile(bool saving)
{
    if (const QString file = scriptFile(); !file.isEmpty())
        return file;
    // Qt's own dialog, as for the reference image: the same everywhere.
    const auto options = QFileDialog::DontUseNativeDialog;
    if (!saving)
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open Painting"), QDir::currentPath(),
                                            PaintingFilter, nullptr, options);
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save Painting"), QDir::currentPath(),
                                                PaintingFilter, nullptr, options);
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pictavo");
    return file;
}

void QTPictavoApplication::reportPaintingFailure(const std::string& message)
{
    _paintingMessage = message;
    std::cerr << message << std::endl;
    QMessageBox::warning(this, QStringLiteral("Painting"), QString::fromStdString(message));
}

std::string QTPictavoApplication::savePaintingTo(const std::string& path)
{
    PictavoVisGL* vis = pictavoVis();
    if (vis == nullptr)
        return _paintingMessage = "QTPictavoApplication: there is no painting to save yet";
    const PaintingFile::Result result = PaintingFile::save(path, PaintingScene::capture(*vis));
    // The snapshot copied every canvas buffer (tens of MiB); hand its pages back.
    returnFreedMemory();
    _paintingMessage = result.message;
    if (result)
        std::cout << "QTPictavoApplication: painting saved to " << path << std::endl;
    return _paintingMessage;
}

std::string QTPictavoApplication::openPaintingFrom(const std::string& path)
{
    PictavoVisGL* vis = pictavoVis();
    if (vis == nullptr)
        return _paintingMessage = "QTPictavoApplication: there is no scene to open a painting in yet";
    PaintingData data;
    if (const PaintingFile::Result result = PaintingFile::load(path, data); !result)
        return _paintingMessage = result.message;
    // Sketched images become textures and primitives may make lists.
    _glWidget->makeCurrent();
    _paintingMessage = PaintingScene::restore(*vis, data);
    if (_paintingMessage.empty()) {
        std::cout << "QTPictavoApplication: opened " << path << " (" << data.primitives.size() << " primitives)"
                  << std::endl;
        _glWidget->reportStatisticsAfterNextFrame();
    }
    return _paintingMessage;
}

std::string QTPictavoApplication::exportImageTo(const std::string& path, int scale)
{
    PictavoVisGL* vis = pictavoVis();
    if (vis == nullptr)
        return _paintingMessage = "QTPictavoApplication: there is no painting to export yet";
    _glWidget->makeCurrent();
    _paintingMessage =
        PaintingExport::exportPng(*vis, _config->_userdataNumber + _config->_userdataWiis, scale, path);
    if (_paintingMessage.empty())
        std::cout << "QTPictavoApplication: image exported to " << path << std::endl;
    return _paintingMessage;
}

void QTPictavoApplication::savePainting()
{
    const QString file = choosePaintingFile(true);
    if (!file.isEmpty())
        if (const std::string message = savePaintingTo(file.toStdString()); !message.empty())
            reportPaintingFailure(message);
}

void QTPictavoApplication::openPainting()
{
    const QString file = choosePaintingFile(false);
    if (!file.isEmpty())
        if (const std::string message = openPaintingFrom(file.toStdString()); !message.empty())
            reportPaintingFailure(message);
}

void QTPictavoApplication::restoreAutosave()
{
    // The previous run's last autosave first (what a crash left), once;
    // after that this run's own.
    const bool previous = !_previousAutosaveRestored && QFileInfo::exists(QString::fromLatin1(PreviousAutosaveFile));
    if (const std::string message = openPaintingFrom(previous ? PreviousAutosaveFile : AutosaveFile); !message.empty())
        reportPaintingFailure(message);
    else if (previous)
        _previousAutosaveRestored = true;
}

void QTPictavoApplication::exportImage()
{
    QString file = qEnvironmentVariable("PICTAVO_EXPORT_FILE");
    int scale = 1;
    if (!file.isEmpty()) {
        scale = qEnvironmentVariableIntValue("PICTAVO_EXPORT_SCALE");
    } else {
        QString filter = ExportFilters.front();
        file = QFileDialog::getSaveFileName(this, QStringLiteral("Export Image"), QDir::currentPath(),
                                            ExportFilters.join(QStringLiteral(";;")), &filter,
                                            QFileDialog::DontUseNativeDialog);
        scale = 1 << std::max<qsizetype>(0, ExportFilters.indexOf(filter));
        if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".png");
    }
    if (scale != 2 && scale != 4)
        scale = 1;
    if (!file.isEmpty())
        if (const std::string message = exportImageTo(file.toStdString(), scale); !message.empty())
            reportPaintingFailure(message);
}

// ---- Autosave ----

void QTPictavoApplication::startAutosave()
{
    _autosaver = std::make_unique<PaintingSaver>();
    // This run's autosaves must not replace what the previous run left
    // before it can be restored.
    if (QFileInfo::exists(QString::fromLatin1(AutosaveFile)))
        std::rename(AutosaveFile, PreviousAutosaveFile);
    connect(_glWidget, &QTPictavoWidgetGL::fpsChanged, this, [this] { watchAutosave(); });
    if (_config->_paintingAutosaveSeconds == 0)
        return;
    _autosaveTimer = new QTimer(this);
    _autosaveTimer->setInterval(static_cast<int>(std::min(_config->_paintingAutosaveSeconds, 86400u) * 1000u));
    connect(_autosaveTimer, &QTimer::timeout, this, &QTPictavoApplication::autosave);
    _autosaveTimer->start();
}

void QTPictavoApplication::autosave()
{
    PictavoVisGL* vis = pictavoVis();
    if (vis == nullptr || _autosaver->isRunning())
        return;
    PaintingData data = PaintingScene::capture(*vis);
    _autosavedPrimitives = data.primitives.size();
    _worstAutosaveFrame = 0.0;
    _autosaver->start(AutosaveFile, std::move(data));
}

void QTPictavoApplication::watchAutosave()
{
    if (_autosaver->isRunning()) {
        _worstAutosaveFrame = std::max(_worstAutosaveFrame, _glWidget->lastFrameSeconds());
        return;
    }
    PaintingFile::Result result;
    if (!_autosaver->takeResult(result)) {
        _worstOtherFrame = std::max(_worstOtherFrame, _glWidget->lastFrameSeconds());
        return;
    }
    // Taking the result freed the snapshot, a copy of every canvas buffer
    // (tens of MiB); without this its pages would stay resident as free heap.
    returnFreedMemory();
    // The frame that ends the save counts too.
    _worstAutosaveFrame = std::max(_worstAutosaveFrame, _glWidget->lastFrameSeconds());
    if (result)
        std::cout << "QTPictavoApplication: autosaved " << _autosavedPrimitives << " primitives; worst frame "
                  << 1000.0 * _worstAutosaveFrame << " ms (between autosaves: " << 1000.0 * _worstOtherFrame
                  << " ms)" << std::endl;
    else
        std::cerr << result.message << std::endl;
    _worstOtherFrame = 0.0;
}

void QTPictavoApplication::autosaveAtExit()
{
    if (!_autosaver)
        return;
    _autosaver->wait();
    PaintingFile::Result ignored;
    _autosaver->takeResult(ignored);
    if (PictavoVisGL* vis = pictavoVis()) {
        const PaintingFile::Result result = PaintingFile::save(AutosaveFile, PaintingScene::capture(*vis));
        if (!result)
            std::cerr << result.message << std::endl;
    }
}
