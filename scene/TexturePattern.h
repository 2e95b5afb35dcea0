// File names of a texture set: a printf-style pattern with one integer.
#pragma once

#include <optional>
#include <string>

namespace TexturePattern {

// True when the pattern holds exactly one integer conversion (%d, %i or %u,
// optionally with flags and a width below 100 such as %03d) and no other conversion
// apart from "%%". Anything else could read arguments that are not there.
bool isValid(const std::string& pattern);

// The pattern with its conversion replaced by `number`; nothing when the
// pattern is not valid.
std::optional<std::string> format(const std::string& pattern, int number);

} // namespace TexturePattern
