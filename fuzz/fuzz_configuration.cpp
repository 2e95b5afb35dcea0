// Fuzz target: arbitrary bytes as a configuration file, read through the reader's device path.
#include "QTVelkConfiguration.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    const QTVelkConfiguration config(buffer);
    // Whatever the input, the image list is never empty and lists of one element stay parallel.
    if (config._imagesWidth.empty() || config._imagesNumber.size() != config._imagesWidth.size()
        || config._paletteXpos.size() != config._paletteTextures.size()
        || config._taskNumber.size() != config._taskTargetAreas.size())
        __builtin_trap();
    return 0;
}
