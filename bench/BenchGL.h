// Offscreen OpenGL for the GL benchmarks: a compatibility context current on
// an offscreen surface, drawing into a framebuffer of the screen's size with
// the GL surface's projection (origin bottom left, near -1, far 1000).
#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <cstdio>

class BenchGL
{
public:
    // Makes the context current and binds a width x height colour
    // framebuffer; false (with a line naming the program) without GL.
    bool begin(const char* program, int width, int height)
    {
        QSurfaceFormat format;
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setVersion(2, 1);
        _surface.setFormat(format);
        _surface.create();
        _context.setFormat(format);
        if (!_context.create() || !_context.makeCurrent(&_surface)) {
            std::fprintf(stderr, "%s: no OpenGL context\n", program);
            return false;
        }
        QOpenGLFunctions* f = _context.functions();
        f->glGenRenderbuffers(1, &_colour);
        f->glBindRenderbuffer(GL_RENDERBUFFER, _colour);
        f->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        f->glGenFramebuffers(1, &_framebuffer);
        f->glBindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
        f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, _colour);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, width, 0.0, height, -1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        return true;
    }
    QOpenGLContext& context() { return _context; }
    // Frees the framebuffer and releases the context.
    void end()
    {
        QOpenGLFunctions* f = _context.functions();
        f->glBindFramebuffer(GL_FRAMEBUFFER, _context.defaultFramebufferObject());
        f->glDeleteFramebuffers(1, &_framebuffer);
        f->glDeleteRenderbuffers(1, &_colour);
        _context.doneCurrent();
    }

private:
    QOffscreenSurface _surface;
    QOpenGLContext _context;
    GLuint _colour = 0;
    GLuint _framebuffer = 0;
};
