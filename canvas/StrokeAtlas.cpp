// StrokeAtlas: copying stroke images (all their levels) into atlas cells.
#include "StrokeAtlas.h"

#include <GL/gl.h>

#include <vector>

namespace {

bool isMipmapFilter(GLint filter)
{
    return filter != GL_NEAREST && filter != GL_LINEAR;
}

} // namespace

StrokeAtlas::~StrokeAtlas()
{
    if (_texture != 0)
        glDeleteTextures(1, &_texture);
}

const StrokeAtlas::Place* StrokeAtlas::placeOf(unsigned image)
{
    auto found = _places.find(image);
    if (found == _places.end())
        found = _places.emplace(image, copyIn(image)).first;
    return found->second ? &*found->second : nullptr;
}

void StrokeAtlas::create(int minFilter, int magFilter)
{
    _minFilter = minFilter;
    _magFilter = magFilter;
    _levels = 1;
    if (isMipmapFilter(minFilter))
        for (int side = Cell; side > 1; side /= 2)
            ++_levels;
    glGenTextures(1, &_texture);
    glBindTexture(GL_TEXTURE_2D, _texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, _levels - 1);
    // Cells are cleared as images arrive (copyIn).
    for (int level = 0; level < _levels; ++level)
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, Side >> level, Side >> level, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
}

std::optional<StrokeAtlas::Place> StrokeAtlas::copyIn(unsigned image)
{
    if (image == 0 || _used >= Cells || !glIsTexture(image))
        return std::nullopt;
    glBindTexture(GL_TEXTURE_2D, image);
    GLint width = 0, height = 0, minFilter = 0, magFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    // The first source level that fits a cell.
    int shift = 0;
    while ((width >> shift) > Cell || (height >> shift) > Cell)
        ++shift;
    GLint present = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, shift, GL_TEXTURE_WIDTH, &present);
    if (present != (width >> shift))
        return std::nullopt;
    if (_texture == 0)
        create(minFilter, magFilter);
    else if (minFilter != _minFilter || magFilter != _magFilter)
        return std::nullopt;
    const int x = (_used % (Side / Cell)) * Cell;
    const int y = (_used / (Side / Cell)) * Cell;
    ++_used;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    std::vector<unsigned char> pixels;
    for (int level = 0; level < _levels; ++level) {
        const int cell = Cell >> level;
        // Transparent where the image leaves part of the cell.
        pixels.assign(static_cast<std::size_t>(cell) * cell * 4, 0);
        glBindTexture(GL_TEXTURE_2D, _texture);
        glTexSubImage2D(GL_TEXTURE_2D, level, x >> level, y >> level, cell, cell, GL_RGBA, GL_UNSIGNED_BYTE,
                        pixels.data());
        GLint w = 0, h = 0;
        glBindTexture(GL_TEXTURE_2D, image);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, shift + level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, shift + level, GL_TEXTURE_HEIGHT, &h);
        if (w <= 0 || h <= 0 || w > cell || h > cell)
            continue;
        pixels.resize(static_cast<std::size_t>(w) * h * 4);
        glGetTexImage(GL_TEXTURE_2D, shift + level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, _texture);
        glTexSubImage2D(GL_TEXTURE_2D, level, x >> level, y >> level, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    glPopClientAttrib();
    const float side = static_cast<float>(Side);
    return Place{x / side, y / side, static_cast<float>(width >> shift) / side,
                 static_cast<float>(height >> shift) / side};
}
