// Reading and writing image files. The only place that talks to DevIL.
#pragma once

#include "RGBAImage.h"

#include <optional>
#include <string>

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
