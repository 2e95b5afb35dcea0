// OpenGL availability check and the surface format the program asks for.
#pragma once

#include <QSurfaceFormat>
#include <optional>

namespace OpenGLSupport {

// The format of the drawing surface: RGBA with alpha, a 32-bit depth buffer
// request, a compatibility profile (display lists, lighting, fixed function)
// and an unpaced swap unless vertical sync is asked for.
QSurfaceFormat requestedFormat(bool vsync);

// Creates a throw-away context with `format` and returns the format the
// platform granted, or nothing when no OpenGL context can be made.
// Needs a QGuiApplication.
std::optional<QSurfaceFormat> probe(const QSurfaceFormat& format);

} // namespace OpenGLSupport
