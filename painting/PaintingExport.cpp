// PaintingExport: off-screen drawing through a framebuffer object.
#include "PaintingExport.h"

#include "ImageIO.h"
#include "TabletopVis.h"

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <GL/gl.h>

namespace PaintingExport {

RGBAImage render(TabletopVis& scene, unsigned users, int scale)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    const int w = static_cast<int>(scene.getScreenWidth()), h = static_cast<int>(scene.getScreenHeight());
    if (context == nullptr || scale < 1 || w <= 0 || h <= 0)
        return {};
    const int width = w * scale, height = h * scale;
    GLint previous = 0;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glGetIntegerv(GL_VIEWPORT, viewport);
    RGBAImage image;
    {
        QOpenGLFramebufferObject target(width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
        if (!target.isValid() || !target.bind())
            return {};
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, w, 0.0, h, -1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.drawFrame(users);
        image = {width, height, std::vector<unsigned char>(std::size_t(width) * std::size_t(height) * 4)};
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
        glPopClientAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        context->functions()->glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    // Blended strokes leave the alpha below 1; the picture is opaque paper.
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        image.pixels[i] = 255;
    return image;
}

std::string exportPng(TabletopVis& scene, unsigned users, int scale, const std::string& path)
{
    const RGBAImage image = render(scene, users, scale);
    if (image.pixels.empty())
        return "PaintingExport: no off-screen picture of " + std::to_string(scale) + " times the window size";
    if (!ImageIO::save(path, image))
        return "PaintingExport: cannot write " + path;
    return "";
}

} // namespace PaintingExport
