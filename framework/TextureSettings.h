// TextureSettings: how a scene's textures are filtered and stored; a value
// the GL-free scene keeps and the texture library applies.
#pragma once

// How new textures are filtered and stored. Compression takes effect only when
// the context offers GL_ARB_texture_compression.
struct TextureSettings
{
    bool mipMapping = true;
    bool linearFiltering = true;
    bool textureCompression = false;
    bool arbTextureCompression = false;
};
