// BasicImageGL: a textured rectangle.
#include "BasicImageGL.h"

#include "TabletopVis.h"

#include <GL/gl.h>

BasicImageGL::BasicImageGL(TabletopVis* scene, double x, double y, double width, double height, double angle,
                           unsigned textureId, bool rotateAndTranslate, bool tossing)
    : VisComponentGL(scene, x, y, rotateAndTranslate, tossing, width, height, angle)
    , _textureId(textureId)
{
}

void BasicImageGL::specificRender()
{
    renderBasic();
}

void BasicImageGL::renderBasic()
{
    if (_textureId == 0) {
        glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
        drawQuad(getWidth(), getHeight());
        return;
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawTexturedQuad(getWidth(), getHeight(), _textureId, _s0, _t0, _s1, _t1);
}

void BasicImageGL::setTextureCoordinates(float s0, float t0, float s1, float t1)
{
    _s0 = s0;
    _t0 = t0;
    _s1 = s1;
    _t1 = t1;
}

void BasicImageGL::useImageTexture(std::size_t i)
{
    const TabletopVis* scene = getController();
    if (scene == nullptr || i >= scene->getImageTextureCount())
        return;
    _textureId = scene->getImageTextureIDAt(i);
    const auto size = static_cast<float>(scene->getTextureSizeAt(i));
    if (size > 0.0f)
        setTextureCoordinates(scene->getTextureMinXAt(i) / size, scene->getTextureMinYAt(i) / size,
                              scene->getTextureMaxXAt(i) / size, scene->getTextureMaxYAt(i) / size);
}
