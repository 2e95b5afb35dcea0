// OpenGL availability check and the surface format the program asks for.
#include "OpenGLSupport.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace OpenGLSupport {

QSurfaceFormat requestedFormat(bool vsync)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(32);
    format.setSwapInterval(vsync ? 1 : 0);
    return format;
}

std::optional<QSurfaceFormat> probe(const QSurfaceFormat& format)
{
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create())
        return std::nullopt;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return std::nullopt;
    const QSurfaceFormat granted = context.format();
    context.doneCurrent();
    return granted;
}

} // namespace OpenGLSupport
