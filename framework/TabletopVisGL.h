// TabletopVisGL: the scene drawn with OpenGL 1.x — render order, picking
// view, touch indicators and the renderer's 2-D state.
#pragma once

#include "TabletopVis.h"

#include <memory>

class FontLibrary;
class TextureLibrary;

// Owns one TextureLibrary and one FontLibrary. Constructed while a GL context
// is current, the scene draws and makes GL textures and fonts; constructed
// without one it is headless: it never draws, decodes and numbers textures
// without uploading them, and opens fonts without rendering them (logic
// tests use that). Destroy a GL scene with its context current: components
// go first (their display lists), then the fonts, then the textures.
class TabletopVisGL : public TabletopVis
{
public:
    TabletopVisGL(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                  unsigned screenHeight);
    ~TabletopVisGL() override;

    // Textures and fonts from the owned libraries; texture loads use the
    // scene's current texture settings.
    unsigned loadTexture(const std::string& path, bool imageTexture) override;
    std::size_t addImageTexture(const RGBAImage& image) override;
    std::size_t getImageTextureCount() const override;
    unsigned getImageTextureIDAt(std::size_t i) const override;
    float getTextureMinXAt(std::size_t i) const override;
    float getTextureMaxXAt(std::size_t i) const override;
    float getTextureMinYAt(std::size_t i) const override;
    float getTextureMaxYAt(std::size_t i) const override;
    unsigned getTextureSizeAt(std::size_t i) const override;
    bool loadFont(const std::string& file, unsigned size) override;
    FTFont* getFont(const std::string& name) const override;
    TextureLibrary& getTextureLibrary() { return *_textures; }
    FontLibrary& getFontLibrary() { return *_fonts; }
    // Applies the texture library's default filters to the bound texture.
    void determineTextureParameters() override;

    // Blending with source alpha, no depth test, no lighting, smooth shading,
    // normalised normals, modulated textures; fastest hints with hardware
    // optimisation. Light set-up is left to the visualization. Headless: nothing.
    void initializeRenderer() override;

    // Whether a GL context is current in this thread.
    static bool hasCurrentContext();

protected:
    // The render list back to front (or the picking view), then the touch
    // indicators of the first `users` users. Does not clear the frame buffer.
    void drawScene(unsigned users) override;
    virtual void drawTouchIndicators(unsigned users);
    // Flat id colours of every active component, composites' children included.
    virtual void drawPickingView(const ComponentList& list);

private:
    std::unique_ptr<TextureLibrary> _textures;
    std::unique_ptr<FontLibrary> _fonts;
};
