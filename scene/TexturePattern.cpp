// File names of a texture set: a printf-style pattern with one integer.
#include "TexturePattern.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace TexturePattern {

bool isValid(const std::string& pattern)
{
    int conversions = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%')
            continue;
        ++i;
        if (i < pattern.size() && pattern[i] == '%')
            continue;
        while (i < pattern.size() && (pattern[i] == '-' || pattern[i] == '+' || pattern[i] == ' '
                                      || pattern[i] == '0' || pattern[i] == '#'))
            ++i;
        const std::size_t widthStart = i;
        while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])))
            ++i;
        if (i - widthStart > 2)
            return false; // a width beyond 99 makes no file name
        if (i >= pattern.size() || (pattern[i] != 'd' && pattern[i] != 'i' && pattern[i] != 'u'))
            return false;
        ++conversions;
    }
    return conversions == 1;
}

std::optional<std::string> format(const std::string& pattern, int number)
{
    if (!isValid(pattern))
        return std::nullopt;
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), number);
    if (length < 0)
        return std::nullopt;
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), pattern.c_str(), number);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

} // namespace TexturePattern
