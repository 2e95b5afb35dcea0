// File names of a texture set: a printf-style pattern with at most one
// integer conversion, formatted without handing the pattern to printf.
#pragma once

#include <optional>
#include <string>

namespace TexturePattern {

// The pattern with `number` in place of its conversion. Accepted: text with
// "%%" for a percent sign, and at most one integer conversion (d, i, u, o,
// x or X) with flags, width and precision, such as "%03d" or "%.2x"; a
// pattern without a conversion names the same file for every number, and a
// '%' that ends the pattern stands for itself. Nothing for a pattern that
// would read an argument that is not there (a second conversion, '*' width,
// a string or pointer conversion, "%n", a length modifier) or whose width or
// precision is longer than any file name (over MaxWidth).
std::optional<std::string> format(const std::string& pattern, int number);

bool isValid(const std::string& pattern);

inline constexpr int MaxWidth = 4096;

} // namespace TexturePattern
