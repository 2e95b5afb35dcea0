// TabletopVisBuilder: scene creation, texture sets, pictures and fonts.
#include "TabletopVisBuilder.h"

#include "BasicImageGL.h"
#include "TabletopVis.h"

#include <cstdio>
#include <cstdlib>

namespace {

double randomFraction()
{
    return static_cast<double>(std::rand()) / RAND_MAX;
}

} // namespace

void TabletopVisBuilder::setVis(TabletopVis* vis)
{
    if (vis != _vis)
        _imageIds.clear();
    _vis = vis;
}

TabletopVis* TabletopVisBuilder::makeVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight,
                                         unsigned screenWidth, unsigned screenHeight)
{
    return new TabletopVis(users, bufferWidth, bufferHeight, screenWidth, screenHeight);
}

void TabletopVisBuilder::buildVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                                  unsigned screenHeight)
{
    setVis(makeVis(users, bufferWidth, bufferHeight, screenWidth, screenHeight));
}

void TabletopVisBuilder::buildTextures(unsigned count, const std::string& pattern)
{
    if (_vis == nullptr)
        return;
    for (unsigned i = 1; i <= count; ++i) {
        char name[1024];
        std::snprintf(name, sizeof name, pattern.c_str(), i);
        _vis->loadTexture(name, true);
    }
}

void TabletopVisBuilder::buildImages(unsigned number, double width, double height)
{
    if (_vis == nullptr)
        return;
    const std::size_t textures = _vis->getImageTextureCount();
    for (unsigned n = 0; n < number; ++n) {
        const double x = randomFraction() * _vis->getScreenWidth();
        const double y = randomFraction() * _vis->getScreenHeight();
        auto* image = new BasicImageGL(_vis, x, y, width, height, randomFraction() * 360.0);
        if (textures > 0)
            image->useImageTexture(static_cast<std::size_t>(std::rand()) % textures);
        _vis->addComponent(image, true);
        _imageIds.push_back(image->getId());
    }
}

void TabletopVisBuilder::deleteLastImageComponent()
{
    if (_vis == nullptr)
        return;
    const ComponentList& components = _vis->getComponents();
    while (!_imageIds.empty()) {
        const unsigned long id = _imageIds.back();
        _imageIds.pop_back();
        // Pictures are usually the newest components: search from the end.
        for (std::size_t i = components.slotCount(); i-- > 0;)
            if (VisComponent* c = components[i]; c != nullptr && c->getId() == id) {
                _vis->deleteComponent(c);
                return;
            }
    }
}

void TabletopVisBuilder::buildFont(const std::string& file, unsigned size)
{
    if (_vis != nullptr)
        _vis->loadFont(file, size);
}
