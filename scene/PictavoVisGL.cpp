// The scene of this system: the engine's scene plus renderer set-up, the
// posture ranges, the input combination and the colour look-up table.
#include "PictavoVisGL.h"

#include <QOpenGLContext>

#include <iostream>
#include <sstream>
#include <string>

PictavoVisGL::PictavoVisGL(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                           unsigned screenHeight)
    : TabletopVisGL(users, bufferWidth, bufferHeight, screenWidth, screenHeight)
{
}

PictavoVisGL::~PictavoVisGL() = default;

void PictavoVisGL::determineTextureParameters()
{
    TabletopVisGL::determineTextureParameters();
    if (hasGL())
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void PictavoVisGL::initializeRenderer()
{
    TabletopVisGL::initializeRenderer();
    if (hasGL()) {
        findMultitexturing();
        // Light 0: white, directional, from the upper left and the front.
        const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
        const GLfloat position[] = {-1.0f, 1.0f, 2.0f, 0.0f};
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glEnable(GL_LIGHT0);
    }
    std::cout << "Generating Color Look-up Table..." << std::endl;
    _colorLookUpTable = std::make_unique<Color>();
    _colorLookUpTable->buildColorLookUpTable();
}

void PictavoVisGL::findMultitexturing()
{
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!extensions || !context)
        return;
    // One extension name per line, so that whole names are compared.
    std::istringstream names(extensions);
    bool multitexture = false;
    bool envCombine = false;
    for (std::string name; names >> name;) {
        multitexture = multitexture || name == "GL_ARB_multitexture";
        envCombine = envCombine || name == "GL_EXT_texture_env_combine";
    }
    if (!multitexture || !envCombine)
        return;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &_textureUnits);
    const auto resolve = [context](auto& pointer, const char* name) {
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(context->getProcAddress(name));
    };
    resolve(_multiTexCoord1f, "glMultiTexCoord1fARB");
    resolve(_multiTexCoord2f, "glMultiTexCoord2fARB");
    resolve(_multiTexCoord3f, "glMultiTexCoord3fARB");
    resolve(_multiTexCoord4f, "glMultiTexCoord4fARB");
    resolve(_activeTexture, "glActiveTextureARB");
    resolve(_clientActiveTexture, "glClientActiveTextureARB");
    std::cout << "Multitexturing enabled" << std::endl;
}

void PictavoVisGL::setPenRange(double min, double max) { setRange(_postureRanges.penMin, _postureRanges.penMax, min, max); }

void PictavoVisGL::setOneFingerRange(double min, double max)
{
    setRange(_postureRanges.oneFingerMin, _postureRanges.oneFingerMax, min, max);
}

void PictavoVisGL::setTwoFingersRange(double min, double max)
{
    setRange(_postureRanges.twoFingersMin, _postureRanges.twoFingersMax, min, max);
}

void PictavoVisGL::setFistRange(double min, double max) { setRange(_postureRanges.fistMin, _postureRanges.fistMax, min, max); }

void PictavoVisGL::setHandRange(double min, double max) { setRange(_postureRanges.handMin, _postureRanges.handMax, min, max); }

void PictavoVisGL::setRange(double& min, double& max, double newMin, double newMax)
{
    min = newMin;
    max = newMax;
}
