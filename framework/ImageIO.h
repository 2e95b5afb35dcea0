// Reading and writing image files. The only place that talks to DevIL.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Eight-bit RGBA pixels, rows from the bottom up as OpenGL stores textures
// and frame buffers.
struct RGBAImage
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels; // width * height * 4 bytes

    unsigned char* at(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
    const unsigned char* at(int x, int y) const { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

namespace ImageIO {

// Loads any format DevIL reads and converts it to RGBA. Nothing when the file
// is missing or cannot be decoded.
std::optional<RGBAImage> load(const std::string& path);

// Writes the image in the format its file extension names (png, bmp, jpg,
// ...), replacing an existing file. False when it cannot be written.
bool save(const std::string& path, const RGBAImage& image);

// Scales the image to width x height with DevIL's default filter.
RGBAImage scaled(const RGBAImage& image, int width, int height);

} // namespace ImageIO
