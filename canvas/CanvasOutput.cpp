// CanvasCompositeGL, output and overlays: raw buffer dumps, buffer images,
// screenshots, the frozen picture shown while live painting is off, and the
// mode labels that flash after a mode change.
#include "CanvasCompositeGL.h"

#include "BufferTag.h"
#include "CanvasBufferTable.h"
#include "ImageIO.h"
#include "TabletopVis.h"

#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Mode labels in list order, and the list of each interaction mode (-1: none).
constexpr std::array<const char*, CanvasCompositeGL::ModeLabelCount> ModeLabels{
    "Erase Mode", "Create Mode", "Color Mode", "Size Mode", "Orientation Mode", "Move Mode"};
constexpr std::array<int, 9> LabelOfMode{1, 0, -1, 4, 5, 3, 2, -1, -1};
constexpr const char* LabelGlyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-+_=/.,<>?;:1234567890";
constexpr float LabelGrey = 0.3f;
constexpr float LabelAlphaStart = 0.1f;
constexpr float LabelAlphaRise = 0.03f;
constexpr float LabelAlphaFall = 0.2f;

int labelOfMode(InteractionMode mode)
{
    const auto i = static_cast<std::size_t>(mode);
    return i < LabelOfMode.size() ? LabelOfMode[i] : -1;
}

// Frees the frozen picture's list and texture (both made together); without
// GL there is nothing to free and the owners are only emptied.
void releaseFrozen(GLDisplayList& list, GLTexture& texture, bool gl)
{
    if (gl) {
        list.release();
        texture.release();
    } else {
        list.take();
        texture.take();
    }
}

} // namespace

// ---- Raw dumps and images of buffers ----

void CanvasCompositeGL::saveBuffers()
{
    const std::string prefix = "buffers/" + std::to_string(getCurrentPrimitiveType());
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table)
        if (const AbstractBuffer* buffer = getActiveBuffer(row.tag); buffer != nullptr && row.rawFile != nullptr)
            buffer->saveRaw(prefix + row.rawFile);   // an unwritable file is skipped
}

void CanvasCompositeGL::loadBuffers()
{
    const std::string prefix = "buffers/" + std::to_string(getCurrentPrimitiveType());
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table)
        if (AbstractBuffer* buffer = getActiveBuffer(row.tag); buffer != nullptr && row.rawFile != nullptr)
            buffer->loadRaw(prefix + row.rawFile);   // a missing file leaves the cells
}

void CanvasCompositeGL::createBufferImage(int tag)
{
    const CanvasBuffers::BufferRow* row = CanvasBuffers::find(tag);
    if (row == nullptr || row->image.name == nullptr)
        return;
    if (const AbstractBuffer* buffer = getActiveBuffer(tag))
        buffer->createImage(row->image.name, row->image.scale, row->image.offset);
}

std::string CanvasCompositeGL::saveScreenshot(const unsigned char* rgba, int width, int height)
{
    if (rgba == nullptr || width <= 0 || height <= 0)
        return "";
    RGBAImage image{width, height, {}};
    image.pixels.assign(rgba, rgba + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const std::string name = "screenshot" + std::to_string(_screenshotCounter) + ".png";
    if (!ImageIO::save(name, image))
        return "";
    ++_screenshotCounter;
    return name;
}

// ---- Live painting and the frozen picture ----

void CanvasCompositeGL::setLivePainting(bool live)
{
    if (auto* mask = getActiveBufferAs<bool>(STROKE_MASK_BUFFER))
        mask->fillEntireBuffer(live);
    if (live) {
        const TabletopVis* scene = getController();
        releaseFrozen(_frozenList, _frozenTexture, scene != nullptr && scene->hasGL());
    } else {
        freezePicture();
    }
    _livePainting = live;
}

void CanvasCompositeGL::freezePicture()
{
    const TabletopVis* scene = getController();
    if (scene == nullptr || !scene->hasGL())
        return;
    releaseFrozen(_frozenList, _frozenTexture, true);
    const int width = static_cast<int>(std::lround(getWidth()));
    const int height = static_cast<int>(std::lround(getHeight()));
    if (width <= 0 || height <= 0)
        return;
    const int left = static_cast<int>(std::lround(getXPos() - getHalfWidth()));
    const int bottom = static_cast<int>(std::lround(getYPos() - getHalfHeight()));

    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glReadPixels(left, bottom, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // The picture stands for the whole canvas: blended strokes may have left
    // the frame buffer's alpha below 1, which would let the frozen quad show
    // through.
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;

    glPushAttrib(GL_TEXTURE_BIT);
    _frozenTexture.generate();
    glBindTexture(GL_TEXTURE_2D, _frozenTexture.id());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (scene->isMipMapping()) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        const GLint result =
            gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        if (result == GLU_INVALID_ENUM || result == GLU_INVALID_VALUE)
            std::cout << "mipmap generation error" << std::endl;
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    glPopAttrib();
    glPopClientAttrib();

    if (_frozenList.generate(1)) {
        _frozenList.beginCompile();
        drawTexturedQuad(_frozenTexture.id());
        GLDisplayList::endCompile();
    }
}

void CanvasCompositeGL::drawTexturedQuad(unsigned textureId)
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    VisComponentGL::drawTexturedQuad(getWidth(), getHeight(), textureId);
}

// ---- Mode labels ----

void CanvasCompositeGL::compileModeLabels()
{
    const TabletopVis* scene = getController();
    FTFont* font = scene != nullptr ? scene->getFont("arial72") : nullptr;
    if (font == nullptr) {
        std::cout << "WARNING: CanvasCompositeGL: font arial72 could not be found. Did you load it? " << std::endl;
        return;
    }
    if (!scene->hasGL())
        return;
    // Glyph textures are made when a glyph is first measured or drawn; make
    // them now, since texture uploads inside a list being compiled would be
    // recorded instead of done.
    font->Advance(LabelGlyphs);
    std::array<FTBBox, ModeLabelCount> boxes;
    for (std::size_t i = 0; i < ModeLabels.size(); ++i)
        boxes[i] = font->BBox(ModeLabels[i]);
    if (!_modeLabels.generate(ModeLabelCount))
        return;
    for (std::size_t i = 0; i < ModeLabels.size(); ++i) {
        const FTPoint centre = (boxes[i].Lower() + boxes[i].Upper()) * 0.5;
        _modeLabels.beginCompile(static_cast<GLsizei>(i));
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glPushMatrix();
        glTranslated(-centre.X(), -centre.Y(), 0.0);
        font->Render(ModeLabels[i]);
        glPopMatrix();
        glPopAttrib();
        GLDisplayList::endCompile();
    }
}

void CanvasCompositeGL::drawModeLabel()
{
    const int label = labelOfMode(_curInteractionMode);
    if (!_modeChanged || label < 0)
        return;
    glPushAttrib(GL_CURRENT_BIT);
    glColor4f(LabelGrey, LabelGrey, LabelGrey, _labelAlpha);
    _modeLabels.call(label);
    glPopAttrib();
}

void CanvasCompositeGL::stepLabelAlpha()
{
    if (!_modeChanged)
        return;
    if (labelOfMode(_curInteractionMode) < 0) {
        // Also ends a label still fading from an earlier change.
        _labelAlpha = LabelAlphaStart;
        _labelFading = false;
        _modeChanged = false;
        return;
    }
    if (!_labelFading) {
        _labelAlpha += LabelAlphaRise;
        if (_labelAlpha >= 1.0f) {
            _labelAlpha = 1.0f;
            _labelFading = true;
        }
        return;
    }
    _labelAlpha -= LabelAlphaFall;
    // Five falling steps from 1 end at 0 up to float rounding.
    if (_labelAlpha <= 1e-6f) {
        _labelAlpha = LabelAlphaStart;
        _labelFading = false;
        _modeChanged = false;
    }
}

void CanvasCompositeGL::printInteractionMode() const
{
    std::cout << "InteractionMode: " << static_cast<int>(_curInteractionMode) << std::endl;
}
