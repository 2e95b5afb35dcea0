// The builder of this system's scenes: makes a PictavoVisGL and loads the
// texture sets of the configuration.
#include "PictavoBuilderGL.h"

#include "PictavoVisGL.h"
#include "TexturePattern.h"

#include <iostream>

void PictavoBuilderGL::buildVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                                unsigned screenHeight)
{
    setVis(new PictavoVisGL(users, bufferWidth, bufferHeight, screenWidth, screenHeight));
}

void PictavoBuilderGL::buildTextures(unsigned count, const std::string& pattern)
{
    ++_textureSetCount;
    TabletopVis* vis = getVis();
    if (!vis || pattern.size() >= 45)
        return;
    if (!TexturePattern::isValid(pattern)) {
        std::cout << "PictavoBuilderGL: texture pattern needs one integer conversion such as %d: " << pattern
                  << std::endl;
        return;
    }
    std::cout << "\nLoading " << count << " textures, please wait." << std::endl;
    for (unsigned i = 1; i <= count; ++i)
        vis->loadTexture(*TexturePattern::format(pattern, static_cast<int>(i)), true);
}

PictavoVisGL* PictavoBuilderGL::getPictavoVis() const
{
    return dynamic_cast<PictavoVisGL*>(getVis());
}
