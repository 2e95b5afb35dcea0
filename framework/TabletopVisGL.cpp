// TabletopVisGL: the texture and font libraries, drawing the frame, the
// picking view and touch indicators.
#include "TabletopVisGL.h"

#include "FontLibrary.h"
#include "TextureLibrary.h"
#include "VisComponentGL.h"

#include <GL/gl.h>
#include <QOpenGLContext>

#include <cmath>
#include <numbers>

namespace {

void ellipse(double x, double y, double width, double height)
{
    constexpr int Segments = 32;
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < Segments; ++i) {
        const double a = 2.0 * std::numbers::pi * i / Segments;
        glVertex2d(x + 0.5 * width * std::cos(a), y + 0.5 * height * std::sin(a));
    }
    glEnd();
}

} // namespace

TabletopVisGL::TabletopVisGL(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                             unsigned screenHeight)
    : TabletopVis(users, bufferWidth, bufferHeight, screenWidth, screenHeight, hasCurrentContext())
    , _textures(std::make_unique<TextureLibrary>(hasGL()))
    , _fonts(std::make_unique<FontLibrary>(hasGL()))
{
    // Dispatches to the most derived hook once construction is complete.
    if (hasGL())
        _textures->setParameterHook([this] { determineTextureParameters(); });
}

TabletopVisGL::~TabletopVisGL()
{
    // Components may still name textures and fonts while they go; shared
    // resources (their display lists) go after them, context still current.
    destroyComponents();
    clearSharedResources();
    _fonts.reset();
    _textures.reset();
}

// ---- Textures and fonts ----

unsigned TabletopVisGL::loadTexture(const std::string& path, bool imageTexture)
{
    _textures->setSettings(getTextureSettings());
    return _textures->loadTexture(path, imageTexture);
}

std::size_t TabletopVisGL::addImageTexture(const RGBAImage& image)
{
    _textures->setSettings(getTextureSettings());
    return _textures->addImageTexture(image);
}

std::size_t TabletopVisGL::getImageTextureCount() const { return _textures->imageTextureCount(); }
unsigned TabletopVisGL::getImageTextureIDAt(std::size_t i) const { return _textures->getImageTextureIDAt(i); }
float TabletopVisGL::getTextureMinXAt(std::size_t i) const { return _textures->getTextureMinXAt(i); }
float TabletopVisGL::getTextureMaxXAt(std::size_t i) const { return _textures->getTextureMaxXAt(i); }
float TabletopVisGL::getTextureMinYAt(std::size_t i) const { return _textures->getTextureMinYAt(i); }
float TabletopVisGL::getTextureMaxYAt(std::size_t i) const { return _textures->getTextureMaxYAt(i); }
unsigned TabletopVisGL::getTextureSizeAt(std::size_t i) const { return _textures->getTextureSizeAt(i); }
bool TabletopVisGL::loadFont(const std::string& file, unsigned size) { return _fonts->loadFont(file, size); }
FTFont* TabletopVisGL::getFont(const std::string& name) const { return _fonts->getFont(name); }

void TabletopVisGL::determineTextureParameters()
{
    _textures->applyDefaultParameters();
}

// ---- Drawing ----

bool TabletopVisGL::hasCurrentContext()
{
    return QOpenGLContext::currentContext() != nullptr;
}

void TabletopVisGL::initializeRenderer()
{
    if (!hasGL())
        return;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    const GLenum hint = isHardwareOptimization() ? GL_FASTEST : GL_NICEST;
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, hint);
    glHint(GL_POINT_SMOOTH_HINT, hint);
    glHint(GL_LINE_SMOOTH_HINT, hint);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void TabletopVisGL::drawScene(unsigned users)
{
    if (!hasGL())
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (isPickingRendering())
        drawPickingView(getRenderList());
    else
        VisComponentGL::renderActive(getRenderList());
    drawTouchIndicators(users);
    glPopMatrix();
}

void TabletopVisGL::drawPickingView(const ComponentList& list)
{
    for (std::size_t i = 0; i < list.slotCount(); ++i) {
        VisComponent* c = list[i];
        if (c == nullptr || !c->isActiveForRendering())
            continue;
        if (c->isPickable())
            c->renderForPicking();
        if (const ComponentList* local = c->getLocalRenderList(); local && c->compositeManagesLocalRenderList())
            drawPickingView(*local);
    }
}

void TabletopVisGL::drawTouchIndicators(unsigned users)
{
    const SceneColor c = getHighlightColor();
    glColor4f(c.r, c.g, c.b, 1.0f);
    for (unsigned u = 0; u < users; ++u) {
        const UserState* state = userState(static_cast<int>(u));
        if (state == nullptr)
            return;
        if (state->indicatorWidth > 0.0 && state->indicatorHeight > 0.0)
            ellipse(state->x, state->y, state->indicatorWidth, state->indicatorHeight);
        if (isRenderingTouchIndicatorWithExtend() && state->down && state->boundWidth > 0.0 && state->boundHeight > 0.0)
            ellipse(state->x, state->y, state->boundWidth * getScaleFactorExtendWidth(),
                    state->boundHeight * getScaleFactorExtendHeight());
    }
}
