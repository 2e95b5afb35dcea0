// Attribute readers for the configuration reader's element handlers (internal to the reader).
// Each helper reads one attribute of a start tag by the type it has in the file.
#pragma once

#include "VelkConfiguration.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QXmlStreamAttributes>

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace configattr {

using Attributes = QXmlStreamAttributes;

// Value of an attribute looked up by qualified name; empty when it is missing.
inline QStringView value(const Attributes& attributes, const char* name)
{
    return attributes.value(QLatin1StringView(name));
}

// Parses an attribute value by its type in the file. Qt's conversions take decimal numbers and
// ignore surrounding white space; a value that does not parse gives 0, 0.0 or false.
// bool is a flag: an unsigned integer, true when it is not 0. std::string keeps the text as UTF-8.
template <typename T> T parse(QStringView text);

template <> inline unsigned parse<unsigned>(QStringView text)
{
    bool ok = false;
    const unsigned v = text.toUInt(&ok);
    return ok ? v : 0u;
}

template <> inline int parse<int>(QStringView text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : 0;
}

template <> inline double parse<double>(QStringView text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : 0.0;
}

template <> inline float parse<float>(QStringView text)
{
    bool ok = false;
    const float v = text.toFloat(&ok);
    return ok ? v : 0.0f;
}

template <> inline bool parse<bool>(QStringView text)
{
    return parse<unsigned>(text) != 0;
}

template <> inline std::string parse<std::string>(QStringView text)
{
    return text.toUtf8().toStdString();
}

// Converts a parsed value to the type it is stored in. A floating-point value stored in an
// integer truncates toward zero; values beyond the integer's range saturate and NaN gives 0, so
// that no file content leads to an undefined conversion.
template <typename Stored, typename Parsed> Stored store(Parsed v)
{
    if constexpr (std::is_integral_v<Stored> && std::is_floating_point_v<Parsed>) {
        constexpr double lowest = static_cast<double>(std::numeric_limits<Stored>::lowest());
        constexpr double highest = static_cast<double>(std::numeric_limits<Stored>::max());
        if (std::isnan(v))
            return 0;
        if (v <= lowest)
            return std::numeric_limits<Stored>::lowest();
        if (v >= highest)
            return std::numeric_limits<Stored>::max();
        return static_cast<Stored>(v);
    } else {
        return static_cast<Stored>(v);
    }
}

// Single key, parsed as Parsed: a missing or empty attribute leaves target unchanged.
template <typename Parsed, typename Stored>
void readSingleAs(const Attributes& attributes, const char* name, Stored& target)
{
    const QStringView text = value(attributes, name);
    if (!text.isEmpty())
        target = store<Stored>(parse<Parsed>(text));
}

// Single key parsed as the type it is stored in.
template <typename Stored>
void readSingle(const Attributes& attributes, const char* name, Stored& target)
{
    readSingleAs<Stored>(attributes, name, target);
}

// Single key that a missing or empty attribute resets to fallback instead of leaving unchanged.
template <typename Stored>
void readOrReset(const Attributes& attributes, const char* name,
                 std::type_identity_t<Stored> fallback, Stored& target)
{
    target = fallback;
    readSingle(attributes, name, target);
}

// List key, parsed as Parsed: appends the value, or fallback when the attribute is missing or empty.
template <typename Parsed, typename Stored>
void appendListAs(const Attributes& attributes, const char* name,
                  std::type_identity_t<Stored> fallback, std::vector<Stored>& list)
{
    const QStringView text = value(attributes, name);
    list.push_back(text.isEmpty() ? fallback : store<Stored>(parse<Parsed>(text)));
}

// List key parsed as the type it is stored in.
template <typename Stored>
void appendList(const Attributes& attributes, const char* name,
                std::type_identity_t<Stored> fallback, std::vector<Stored>& list)
{
    appendListAs<Stored>(attributes, name, std::move(fallback), list);
}

// One texture attribute of a menu or palette and the path used when it is missing.
struct TextureAttribute {
    const char* name;
    const char* defaultPath;
};

// Appends one texture set: one path per attribute, in the order of the given table.
inline void appendTextureSet(const Attributes& attributes, std::span<const TextureAttribute> set,
                             std::vector<std::vector<std::string>>& sets)
{
    std::vector<std::string>& paths = sets.emplace_back();
    paths.reserve(set.size());
    for (const TextureAttribute& texture : set)
        appendList(attributes, texture.name, texture.defaultPath, paths);
}

} // namespace configattr
