// File names of a texture set: the pattern is parsed here, and only a
// rebuilt single integer conversion ever reaches snprintf.
#include "TexturePattern.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace TexturePattern {

namespace {

// Reads decimal digits at i; false when the value exceeds MaxWidth.
bool readNumber(const std::string& s, std::size_t& i, std::string& out)
{
    const std::size_t start = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    out = s.substr(start, i - start);
    return out.size() <= 4 && (out.empty() || std::stoi(out) <= MaxWidth);
}

std::string formatOne(const std::string& conversion, int number)
{
    const int length = std::snprintf(nullptr, 0, conversion.c_str(), number);
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), conversion.c_str(), number);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

} // namespace

std::optional<std::string> format(const std::string& pattern, int number)
{
    std::string out;
    bool converted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        ++i;
        if (pattern[i] == '%') {
            out += '%';
            continue;
        }
        std::string conversion = "%";
        while (i < pattern.size() && std::strchr("-+ 0#", pattern[i]) != nullptr)
            conversion += pattern[i++];
        std::string digits;
        if (!readNumber(pattern, i, digits))
            return std::nullopt;
        conversion += digits;
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            if (!readNumber(pattern, i, digits))
                return std::nullopt;
            conversion += '.' + digits;
        }
        if (converted || i >= pattern.size() || std::strchr("diuoxX", pattern[i]) == nullptr)
            return std::nullopt;
        conversion += pattern[i];
        out += formatOne(conversion, number);
        converted = true;
    }
    return out;
}

bool isValid(const std::string& pattern) { return format(pattern, 0).has_value(); }

} // namespace TexturePattern
