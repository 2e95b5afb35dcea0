// Property buffers written as image files: kept beside ImageIO so that the
// engine's buffers never pull in the image codec.
#include "AbstractBuffer.h"

#include "ImageIO.h"

bool AbstractBuffer::createImage(const std::string& path, double scale, double offset) const
{
    const RGBAImage image = toImage(scale, offset);
    if (image.pixels.empty())
        return false;
    return ImageIO::save(path.ends_with(".png") ? path : path + ".png", image);
}
