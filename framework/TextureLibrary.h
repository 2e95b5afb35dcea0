// TextureLibrary: loads image files into GL textures, keeps the list of image
// textures that strokes wear, and frees every texture it made in one place.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ImageIO.h"
#include "TextureSettings.h"

// Every texture is a square power-of-two texture whose side is the smallest
// power of two at least as large as the image's longer side. The image is
// placed unscaled in the lower-left corner; the rest is transparent black.
// The "used rectangle" of a texture is the image's own pixel rectangle inside
// that square, in texels: [0, width] x [0, height]. Texture coordinates of the
// image are the used rectangle divided by getTextureSizeAt.
//
// Headless (useGL false): images are decoded and registered, ids are assigned
// from a counter, nothing is uploaded and no GL function is called.
class TextureLibrary
{
public:
    explicit TextureLibrary(bool useGL);      // false: headless — images are decoded and registered, ids assigned, nothing uploaded
    ~TextureLibrary();                        // frees its GL textures; with useGL the context must be current

    TextureLibrary(const TextureLibrary&) = delete;
    TextureLibrary& operator=(const TextureLibrary&) = delete;

    void setSettings(const TextureSettings& s);
    const TextureSettings& settings() const;

    // Called with a newly created texture bound, before its pixels are
    // uploaded, to set its parameters; the default applies settings()
    // (filters, clamp to edge). Mip levels are built by the upload itself
    // when settings().mipMapping is on. An empty hook restores the default.
    void setParameterHook(std::function<void()> hook);
    void applyDefaultParameters() const;      // what the default hook does, callable from an override

    // Loads an image file as a texture; imageTexture also appends it to the
    // image-texture list. 0 when the file cannot be read (one line
    // "TextureLibrary: cannot read <path>" on stdout).
    unsigned loadTexture(const std::string& path, bool imageTexture);
    // Registers an image made at run time (sketched strokes) as an image
    // texture; returns its index in the list. An empty or malformed image still
    // takes an index (id 0, size 0), so indices stay in step with callers.
    std::size_t addImageTexture(const RGBAImage& image);

    std::size_t imageTextureCount() const;
    unsigned getImageTextureIDAt(std::size_t i) const;   // out of range: 0
    // Used rectangle of image texture i in texels; out of range: 0.
    float getTextureMinXAt(std::size_t i) const;
    float getTextureMaxXAt(std::size_t i) const;
    float getTextureMinYAt(std::size_t i) const;
    float getTextureMaxYAt(std::size_t i) const;
    unsigned getTextureSizeAt(std::size_t i) const;      // side of the square power-of-two texture the image was placed in; out of range: 0

    // Number of textures made (files and run-time images) since the last release.
    std::size_t textureCount() const;

    // Frees every GL texture now (context current) and empties the image-texture
    // list, so no stale id is handed out afterwards; idempotent.
    void release();

    // The internal format a texture is stored in: GL_RGBA8 without
    // compression; with textureCompression, GL_COMPRESSED_RGBA_ARB when
    // arbTextureCompression is set or S3TC is missing, else S3TC DXT5; either
    // only when the context has the extension (hasArb: GL_ARB_texture_compression,
    // hasS3tc: GL_EXT_texture_compression_s3tc).
    static int chooseInternalFormat(const TextureSettings& s, bool hasArb, bool hasS3tc);

    // Smallest power of two >= n (1 for n <= 1).
    static unsigned powerOfTwoAtLeast(unsigned n);
    // The image copied unscaled into the lower-left corner of a transparent
    // side x side square (side must be at least the image's width and height).
    static RGBAImage padToSquare(const RGBAImage& image, unsigned side);

private:
    struct ImageEntry
    {
        unsigned id = 0;
        unsigned width = 0;   // used rectangle is [0, width] x [0, height]
        unsigned height = 0;
        unsigned size = 0;
    };

    // Pads and uploads the image (headless: only assigns an id) and describes
    // the result; entry.id is 0 when GL gives no texture name.
    ImageEntry createTexture(const RGBAImage& image);
    const ImageEntry* entryAt(std::size_t i) const;
    void upload(const RGBAImage& square) const;

    bool _useGL;
    TextureSettings _settings;
    std::function<void()> _parameterHook;
    std::vector<unsigned> _textures;   // every texture name this library owns
    std::vector<ImageEntry> _imageTextures;
    unsigned _nextHeadlessId = 1;
    int _maxTextureSize = 0;   // read from the context on the first upload
    bool _hasArbCompression = false;
    bool _hasS3tcCompression = false;
};
