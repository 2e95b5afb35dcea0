// TextureLibrary: pads images to power-of-two squares, uploads them with the
// scene's filter and compression settings and frees them in release().
#include "TextureLibrary.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

bool hasExtension(std::string_view name)
{
    const auto* raw = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (raw == nullptr)
        return false;
    const std::string_view all(raw);
    for (std::size_t pos = all.find(name); pos != std::string_view::npos; pos = all.find(name, pos + 1)) {
        const bool startOk = pos == 0 || all[pos - 1] == ' ';
        const std::size_t end = pos + name.size();
        if (startOk && (end == all.size() || all[end] == ' '))
            return true;
    }
    return false;
}

} // namespace

TextureLibrary::TextureLibrary(bool useGL) : _useGL(useGL) {}

TextureLibrary::~TextureLibrary()
{
    release();
}

void TextureLibrary::setSettings(const TextureSettings& s)
{
    _settings = s;
}

const TextureSettings& TextureLibrary::settings() const
{
    return _settings;
}

void TextureLibrary::setParameterHook(std::function<void()> hook)
{
    _parameterHook = std::move(hook);
}

void TextureLibrary::applyDefaultParameters() const
{
    if (!_useGL)
        return;
    const bool linear = _settings.linearFiltering;
    GLint minFilter = linear ? GL_LINEAR : GL_NEAREST;
    if (_settings.mipMapping)
        minFilter = linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
    // The padding round an image is transparent; clamping keeps the opposite
    // edge from bleeding in when a full-size image is filtered at its border.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

int TextureLibrary::chooseInternalFormat(const TextureSettings& s, bool hasArb, bool hasS3tc)
{
    if (!s.textureCompression)
        return GL_RGBA8;
    if (hasS3tc && !s.arbTextureCompression)
        return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    if (hasArb)
        return GL_COMPRESSED_RGBA_ARB;
    return GL_RGBA8;
}

unsigned TextureLibrary::powerOfTwoAtLeast(unsigned n)
{
    unsigned side = 1;
    while (side < n && side < (1u << 31))
        side <<= 1;
    return side;
}

RGBAImage TextureLibrary::padToSquare(const RGBAImage& image, unsigned side)
{
    RGBAImage square;
    square.width = static_cast<int>(side);
    square.height = static_cast<int>(side);
    square.pixels.assign(static_cast<std::size_t>(side) * side * 4, 0);
    const int width = std::min(image.width, square.width);
    const int height = std::min(image.height, square.height);
    for (int y = 0; y < height; ++y)
        std::memcpy(square.at(0, y), image.at(0, y), static_cast<std::size_t>(width) * 4);
    return square;
}

void TextureLibrary::upload(const RGBAImage& square) const
{
    const GLint format = chooseInternalFormat(_settings, _hasArbCompression, _hasS3tcCompression);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (_settings.mipMapping) {
        const GLint error = gluBuild2DMipmaps(GL_TEXTURE_2D, format, square.width, square.height, GL_RGBA,
                                              GL_UNSIGNED_BYTE, square.pixels.data());
        if (error == 0)
            return;
        std::cout << "TextureLibrary: cannot build mip maps ("
                  << reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(error))) << ")" << std::endl;
        // Level 0 alone with a filter that needs no other levels.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, _settings.linearFiltering ? GL_LINEAR : GL_NEAREST);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, format, square.width, square.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 square.pixels.data());
}

TextureLibrary::ImageEntry TextureLibrary::createTexture(const RGBAImage& image)
{
    ImageEntry entry{0, static_cast<unsigned>(image.width), static_cast<unsigned>(image.height), 0};
    entry.size = powerOfTwoAtLeast(std::max(entry.width, entry.height));
    if (!_useGL) {
        entry.id = _nextHeadlessId++;
        _textures.push_back(entry.id);
        return entry;
    }

    if (_maxTextureSize == 0) {
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &_maxTextureSize);
        _maxTextureSize = std::max(_maxTextureSize, 64);
        _hasArbCompression = hasExtension("GL_ARB_texture_compression");
        _hasS3tcCompression = hasExtension("GL_EXT_texture_compression_s3tc");
    }
    const RGBAImage* source = &image;
    RGBAImage shrunk;
    const auto maxSide = static_cast<unsigned>(_maxTextureSize);
    if (entry.size > maxSide) {
        // Too large for the hardware: shrink keeping the aspect so the longer
        // side fills the largest texture.
        const double factor = static_cast<double>(maxSide) / std::max(image.width, image.height);
        shrunk = ImageIO::scaled(image, std::max(1, static_cast<int>(image.width * factor)),
                                 std::max(1, static_cast<int>(image.height * factor)));
        source = &shrunk;
        entry = {0, static_cast<unsigned>(shrunk.width), static_cast<unsigned>(shrunk.height), maxSide};
    }

    GLuint id = 0;
    glGenTextures(1, &id);
    if (id == 0)
        return entry;
    glBindTexture(GL_TEXTURE_2D, id);
    if (_parameterHook)
        _parameterHook();
    else
        applyDefaultParameters();
    upload(padToSquare(*source, entry.size));
    _textures.push_back(id);
    entry.id = id;
    return entry;
}

unsigned TextureLibrary::loadTexture(const std::string& path, bool imageTexture)
{
    const auto image = ImageIO::load(path);
    if (!image || image->width <= 0 || image->height <= 0) {
        std::cout << "TextureLibrary: cannot read " << path << std::endl;
        return 0;
    }
    const ImageEntry entry = createTexture(*image);
    if (entry.id != 0 && imageTexture)
        _imageTextures.push_back(entry);
    return entry.id;
}

std::size_t TextureLibrary::addImageTexture(const RGBAImage& image)
{
    const bool valid = image.width > 0 && image.height > 0
                       && image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 4;
    _imageTextures.push_back(valid ? createTexture(image) : ImageEntry{});
    return _imageTextures.size() - 1;
}

std::size_t TextureLibrary::imageTextureCount() const
{
    return _imageTextures.size();
}

const TextureLibrary::ImageEntry* TextureLibrary::entryAt(std::size_t i) const
{
    return i < _imageTextures.size() ? &_imageTextures[i] : nullptr;
}

unsigned TextureLibrary::getImageTextureIDAt(std::size_t i) const
{
    const ImageEntry* entry = entryAt(i);
    return entry != nullptr ? entry->id : 0;
}

float TextureLibrary::getTextureMinXAt(std::size_t) const
{
    return 0.0f;
}

float TextureLibrary::getTextureMaxXAt(std::size_t i) const
{
    const ImageEntry* entry = entryAt(i);
    return entry != nullptr ? static_cast<float>(entry->width) : 0.0f;
}

float TextureLibrary::getTextureMinYAt(std::size_t) const
{
    return 0.0f;
}

float TextureLibrary::getTextureMaxYAt(std::size_t i) const
{
    const ImageEntry* entry = entryAt(i);
    return entry != nullptr ? static_cast<float>(entry->height) : 0.0f;
}

unsigned TextureLibrary::getTextureSizeAt(std::size_t i) const
{
    const ImageEntry* entry = entryAt(i);
    return entry != nullptr ? entry->size : 0;
}

std::size_t TextureLibrary::textureCount() const
{
    return _textures.size();
}

void TextureLibrary::release()
{
    if (_useGL && !_textures.empty())
        glDeleteTextures(static_cast<GLsizei>(_textures.size()), _textures.data());
    _textures.clear();
    _imageTextures.clear();
}
