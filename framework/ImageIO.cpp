// Reading and writing image files. The only place that talks to DevIL.
#include "ImageIO.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <mutex>

namespace {

void initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ilInit();
        iluInit();
        // Rows bottom-up, as OpenGL wants them, whatever the file stores.
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
        ilEnable(IL_FILE_OVERWRITE);
    });
}

// A DevIL image name bound for the lifetime of the object.
class BoundImage
{
public:
    BoundImage()
    {
        initialize();
        ilGenImages(1, &_name);
        ilBindImage(_name);
    }
    ~BoundImage() { ilDeleteImages(1, &_name); }
    BoundImage(const BoundImage&) = delete;
    BoundImage& operator=(const BoundImage&) = delete;

    bool set(const RGBAImage& image)
    {
        return ilTexImage(static_cast<ILuint>(image.width), static_cast<ILuint>(image.height), 1, 4, IL_RGBA,
                          IL_UNSIGNED_BYTE, const_cast<unsigned char*>(image.pixels.data())) == IL_TRUE;
    }

    RGBAImage get() const
    {
        RGBAImage image;
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
        ilCopyPixels(0, 0, 0, static_cast<ILuint>(image.width), static_cast<ILuint>(image.height), 1, IL_RGBA,
                     IL_UNSIGNED_BYTE, image.pixels.data());
        return image;
    }

private:
    ILuint _name = 0;
};

} // namespace

namespace ImageIO {

std::optional<RGBAImage> load(const std::string& path)
{
    BoundImage bound;
    if (ilLoadImage(path.c_str()) != IL_TRUE)
        return std::nullopt;
    RGBAImage image = bound.get();
    if (image.width <= 0 || image.height <= 0)
        return std::nullopt;
    return image;
}

bool save(const std::string& path, const RGBAImage& image)
{
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        return false;
    BoundImage bound;
    return bound.set(image) && ilSaveImage(path.c_str()) == IL_TRUE;
}

RGBAImage scaled(const RGBAImage& image, int width, int height)
{
    BoundImage bound;
    if (!bound.set(image) || width <= 0 || height <= 0)
        return image;
    iluScale(static_cast<ILuint>(width), static_cast<ILuint>(height), 1);
    return bound.get();
}

} // namespace ImageIO
