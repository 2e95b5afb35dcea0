// RGBAImage: a plain picture in memory, shared by buffer dumps, textures and
// image files; no library behind it.
#pragma once

#include <cstddef>
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
