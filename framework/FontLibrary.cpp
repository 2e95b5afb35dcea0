// FontLibrary: FTGL texture fonts by name; opening needs no GL context,
// freeing does once a font has rendered.
#include "FontLibrary.h"

#include <FTGL/ftgl.h>

#include <filesystem>
#include <iostream>

void FontLibrary::Deleter::operator()(FTFont* font) const
{
    delete font;
}

FontLibrary::FontLibrary(bool useGL) : _useGL(useGL) {}

FontLibrary::~FontLibrary()
{
    release();
}

std::string FontLibrary::fontName(const std::string& file, unsigned size)
{
    return std::filesystem::path(file).stem().string() + std::to_string(size);
}

bool FontLibrary::loadFont(const std::string& file, unsigned size)
{
    const std::string name = fontName(file, size);
    if (_fonts.count(name) != 0)
        return true;
    std::unique_ptr<FTFont, Deleter> font(new FTTextureFont(file.c_str()));
    // FaceSize only sets up FreeType here; glyph textures come with the first render.
    if (font->Error() != 0 || size == 0 || !font->FaceSize(size)) {
        std::cout << "FontLibrary: cannot open font " << file << " at size " << size << std::endl;
        return false;
    }
    _fonts.emplace(name, std::move(font));
    return true;
}

FTFont* FontLibrary::getFont(const std::string& name) const
{
    const auto found = _fonts.find(name);
    return found != _fonts.end() ? found->second.get() : nullptr;
}

std::vector<std::string> FontLibrary::names() const
{
    std::vector<std::string> result;
    result.reserve(_fonts.size());
    for (const auto& entry : _fonts)
        result.push_back(entry.first);
    return result;
}

void FontLibrary::release()
{
    _fonts.clear();
}
