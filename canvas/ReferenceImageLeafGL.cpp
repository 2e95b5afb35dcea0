// ReferenceImageLeafGL: loading, the hit buffer, press and resize, pressing
// the picture into colorBuffer and removing itself.
#include "ReferenceImageLeafGL.h"

#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "TabletopVis.h"

#include <GL/gl.h>

#include <cmath>
#include <iostream>

ReferenceImageLeafGL::ReferenceImageLeafGL(TabletopVis* scene, double x, double y, double width, double height,
                                           int furtherValue, const std::string& path)
    : AbstractImageGL(scene, x, y, width, height), _path(path), _furtherValue(furtherValue)
{
    setTossing(false);
    ReferenceImageLeafGL::initializePassiveBuffers();
    ReferenceImageLeafGL::initialize();
    recreateActiveBuffers();
}

ReferenceImageLeafGL::~ReferenceImageLeafGL()
{
    // Deleted by the canvas inside the frame, with the context current.
    if (_texture != 0)
        glDeleteTextures(1, &_texture);
}

void ReferenceImageLeafGL::initialize()
{
    _image = ImageIO::load(_path);
    if (!_image || _image->width <= 0 || _image->height <= 0) {
        std::cout << "Unable to load texture image " << _path << std::endl;
        _image.reset();
        return;
    }
    const float ratio = static_cast<float>(_image->height) / static_cast<float>(_image->width);
    setSize(getWidth(), getHeight() * ratio);
    _textureImage = ImageIO::scaled(*_image, TextureSide, TextureSide);
}

void ReferenceImageLeafGL::initializePassiveBuffers()
{
    for (int tag : {CONTROL_BUFFER, COLOR_BUFFER, TEMP_COLOR_BUFFER, ERASE_BUFFER})
        registerPassiveBuffer(tag);
}

void ReferenceImageLeafGL::createActiveBuffers()
{
    if (TabletopVis* scene = getController())
        setActiveBuffer(HIT_BUFFER, scene->createNewUIntImageBuffer(getBufferWidth(), getBufferHeight()));
}

void ReferenceImageLeafGL::renderInActiveBuffers()
{
    auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
    if (map == nullptr)
        return;
    const int w = map->getWidth(), h = map->getHeight();
    map->fillEntireBuffer(MoveRegion);
    map->fillRectWithValue(w - w / 8, 0, w - 1, h / 8 - 1, ResizeRegion);
}

int ReferenceImageLeafGL::hitLocalBuffer(int x, int y, double width, double height, int device)
{
    if (!_pressed) {
        const VisComponent* parent = getParent();
        if (parent == nullptr || parent->childrenShowInteractionHandles()) {
            _pressed = true;
            double lx = 0.0, ly = 0.0;
            getHitLocalCoordinates(x, y, lx, ly);
            const auto* map = getActiveBufferAs<unsigned>(HIT_BUFFER);
            _hitValue = lx <= OutsideLocal || ly <= OutsideLocal || map == nullptr
                          ? 0u
                          : map->getValue(getBufferXCoordinateFromLocal(lx), getBufferYCoordinateFromLocal(ly));
            _resizeDrag = _hitValue == ResizeRegion;
        }
    }
    if (_resizeDrag)
        interactiveResizeTopLeft(x, y);
    else if (_hitValue == MoveRegion)
        AbstractImageGL::hitLocalBuffer(x, y, width, height, device);
    return static_cast<int>(_hitValue);
}

int ReferenceImageLeafGL::releaseLocalBuffer(int x, int y, int device)
{
    AbstractImageGL::releaseLocalBuffer(x, y, device);
    if (!_pressed) {
        _hitValue = 0;
        return 0;
    }
    _pressed = false;
    if (_resizeDrag) {
        // The hit buffer follows the new size.
        _resizeDrag = false;
        recreateActiveBuffers();
    }
    return static_cast<int>(_hitValue);
}

void ReferenceImageLeafGL::renderIntoBuffers()
{
    if (!_applyRequested)
        return;
    auto* canvas = dynamic_cast<CanvasCompositeGL*>(getParent());
    auto* colors = getPassiveBufferAs<unsigned char>(COLOR_BUFFER);
    if (canvas != nullptr && colors != nullptr && _image) {
        // The picture's rectangle in canvas cells; the image is scaled to it
        // and written bottom row first, cells outside the grid skipped.
        double lx = 0.0, ly = 0.0;
        canvas->getLocalCoordinates(getXPos(), getYPos(), lx, ly);
        const double cellsX = canvas->getBufferXFromLocal(1.0) - canvas->getBufferXFromLocal(0.0);
        const double cellsY = canvas->getBufferYFromLocal(1.0) - canvas->getBufferYFromLocal(0.0);
        const int x0 = static_cast<int>(canvas->getBufferXFromLocal(lx - (getHalfWidth() - 0.5)));
        const int y0 = static_cast<int>(canvas->getBufferYFromLocal(ly - (getHalfHeight() - 0.5)));
        const int w = static_cast<int>(getWidth() * cellsX), h = static_cast<int>(getHeight() * cellsY);
        if (w > 0 && h > 0) {
            const RGBAImage picture = ImageIO::scaled(*_image, w, h);
            const int W = colors->getWidth(), H = colors->getHeight();
            const int i0 = std::max(0, -x0), i1 = std::min(w, W - x0);
            const int j0 = std::max(0, -y0), j1 = std::min(h, H - y0);
            for (int j = j0; j < j1; ++j) {
                unsigned char* row = colors->cells() + (static_cast<std::size_t>(y0 + j) * W + x0) * 3;
                for (int i = i0; i < i1; ++i) {
                    const unsigned char* pixel = picture.at(i, j);
                    row[3 * i] = pixel[0];
                    row[3 * i + 1] = pixel[1];
                    row[3 * i + 2] = pixel[2];
                }
            }
        }
    }
    _applyRequested = false;
    _applied = true;
}

void ReferenceImageLeafGL::animateMyself(double dt)
{
    if (_applied)
        if (auto* canvas = dynamic_cast<CanvasCompositeGL*>(getParent()))
            canvas->scheduleDeletion(this);
    AbstractImageGL::animateMyself(dt);
}

void ReferenceImageLeafGL::renderImage()
{
    if (_texture == 0 && !_textureImage.pixels.empty()) {
        glGenTextures(1, &_texture);
        glBindTexture(GL_TEXTURE_2D, _texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, TextureSide, TextureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     _textureImage.pixels.data());
        setTextureID(_texture);
    }
    glPushAttrib(GL_TEXTURE_BIT);
    if (_texture != 0) {
        glBindTexture(GL_TEXTURE_2D, _texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    renderBasic();
    glPopAttrib();
}
