// FontLibrary: opens TrueType files as FTGL texture fonts under names such as
// "arial72" and frees them in one place.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class FTFont;

// Fonts are FTTextureFont objects. Opening a font needs only FreeType, so a
// headless library (useGL false) still opens fonts and answers lookups; it
// must never be asked to render. Glyph textures are made lazily by FTGL on
// the first render, so with useGL the fonts must be freed (release or the
// destructor) while the context that rendered them is current.
class FontLibrary
{
public:
    explicit FontLibrary(bool useGL);
    ~FontLibrary();

    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // Opens file at the given pixel size and registers it as "<base name
    // without extension><size>" (fonts/arial.ttf at 72 is "arial72"). A font
    // already registered under that name is kept and true returned. A file
    // that cannot be opened prints one line and returns false.
    bool loadFont(const std::string& file, unsigned size);

    // The font registered under name; nullptr when none is. The library keeps
    // ownership.
    FTFont* getFont(const std::string& name) const;

    // Registered names in sorted order.
    std::vector<std::string> names() const;

    bool usesGL() const { return _useGL; }

    // The name a font file at a size is registered under.
    static std::string fontName(const std::string& file, unsigned size);

    // Frees every font (and its glyph textures) now; idempotent.
    void release();

private:
    struct Deleter
    {
        void operator()(FTFont* font) const;
    };

    bool _useGL;
    std::map<std::string, std::unique_ptr<FTFont, Deleter>> _fonts;
};
