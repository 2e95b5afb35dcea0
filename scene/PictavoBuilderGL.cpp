// The builder of this system's scenes: makes a PictavoVisGL and loads the
// texture sets of the configuration.
#include "PictavoBuilderGL.h"

#include "PictavoVisGL.h"
#include "PrimitivePlacement.h"
#include "TexturePattern.h"

#include <algorithm>
#include <iostream>

void PictavoBuilderGL::buildVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                                unsigned screenHeight)
{
    setVis(new PictavoVisGL(users, bufferWidth, bufferHeight, screenWidth, screenHeight));
}

void PictavoBuilderGL::buildTextures(unsigned count, const std::string& pattern)
{
    ++_textureSetCount;
    TabletopVis* vis = getVis();
    if (!vis || pattern.size() >= 45)
        return;
    if (!TexturePattern::isValid(pattern)) {
        std::cout << "PictavoBuilderGL: texture pattern would read a number that is not there: " << pattern
                  << std::endl;
        return;
    }
    std::cout << "\nLoading " << count << " textures, please wait." << std::endl;
    for (unsigned i = 1; i <= count; ++i)
        vis->loadTexture(*TexturePattern::format(pattern, static_cast<int>(i)), true);
}

PictavoVisGL* PictavoBuilderGL::getPictavoVis() const
{
    return dynamic_cast<PictavoVisGL*>(getVis());
}

void PictavoBuilderGL::buildCanvas(double border, double overflow, const std::string& texture,
                                   unsigned toolBrushes, int brushValue, float initialSize, int elementKind)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    const unsigned textureId = vis->loadTexture(texture, false);
    const double w = vis->getScreenWidth();
    const double h = vis->getScreenHeight();
    vis->createCanvas(0.5 * w, 0.5 * h, w, h, 0.0, border, overflow, textureId, toolBrushes, brushValue,
                      elementKind, initialSize, 0);
}

std::vector<unsigned> PictavoBuilderGL::loadTextureSet(const std::vector<std::string>& paths)
{
    std::vector<unsigned> ids;
    ids.reserve(paths.size());
    for (const std::string& path : paths)
        ids.push_back(getVis()->loadTexture(path, false));
    return ids;
}

void PictavoBuilderGL::buildStrokeBuildCanvas(double border, double overflow)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    const double side = std::max(1.0, static_cast<double>(vis->getScreenHeight()) - 30.0);
    vis->createStrokeBuildCanvas(0.5 * vis->getScreenWidth(), 0.5 * vis->getScreenHeight(), side, side, 0.0, border,
                                 overflow);
}

void PictavoBuilderGL::buildContextMenu(double width, double height, double x, double y, double opacity,
                                        bool rotateAndTranslate, bool tossing,
                                        const std::vector<std::string>& textures)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    const std::vector<unsigned> ids = loadTextureSet(textures);
    vis->createContextMenu(width, height, x, y, opacity, rotateAndTranslate, tossing, ids.empty() ? 0u : ids[0]);
}

void PictavoBuilderGL::buildCornerMenu(double width, double height, double x, double y, double opacity,
                                       bool rotateAndTranslate, bool tossing,
                                       const std::vector<std::string>& textures)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    vis->createCornerMenu(width, height, x, y, opacity, rotateAndTranslate, tossing, loadTextureSet(textures));
}

void PictavoBuilderGL::buildStrokeMenu(double width, double height, double x, double y, double opacity, bool rnt,
                                       bool tossing, const std::vector<std::string>& textures)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    unsigned ids[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && i < textures.size(); ++i)
        ids[i] = vis->loadTexture(textures[i], false);
    vis->createStrokeMenu(width, height, x, y, opacity, rnt, tossing, ids[0], ids[1], ids[2], ids[3]);
}

void PictavoBuilderGL::buildStrokes(double width, double height, unsigned number, bool bumpMapping)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    const std::size_t images = vis->getImageTextureCount();
    if (images == 0) {
        std::cout << "PictavoBuilderGL: no image textures loaded, no strokes built" << std::endl;
        return;
    }
    for (unsigned n = 0; n < number; ++n) {
        const PrimitivePlacement p = Placement::stroke(vis->getScreenWidth(), vis->getScreenHeight());
        // With fewer than ten images the index wraps round the ones there are.
        const std::size_t i = static_cast<std::size_t>(p.imageIndex) % images;
        const float size = static_cast<float>(std::max(1u, vis->getTextureSizeAt(i)));
        vis->createStrokeLeaf(width, height, p.x, p.y, p.rotation, vis->getImageTextureIDAt(i),
                              vis->getTextureMinXAt(i) / size, vis->getTextureMaxXAt(i) / size,
                              vis->getTextureMinYAt(i) / size, vis->getTextureMaxYAt(i) / size, bumpMapping, 0);
    }
}

void PictavoBuilderGL::buildTiles(double width, double height, unsigned number, bool dodging)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    for (unsigned n = 0; n < number; ++n) {
        const PrimitivePlacement p = Placement::tile(vis->getScreenWidth(), vis->getScreenHeight());
        vis->createTileLeaf(width, height, p.x, p.y, p.rotation, dodging, 0);
    }
}

void PictavoBuilderGL::buildPoints(double width, double height, unsigned number)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    for (unsigned n = 0; n < number; ++n) {
        const PrimitivePlacement p = Placement::point(vis->getScreenWidth(), vis->getScreenHeight());
        vis->createPointLeaf(width, height, p.x, p.y, 0);
    }
}

void PictavoBuilderGL::buildGeoStrokes(double width, double height, unsigned number, int segments)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    for (unsigned n = 0; n < number; ++n) {
        const PrimitivePlacement p = Placement::geoStroke(vis->getScreenWidth(), vis->getScreenHeight());
        vis->createGeoStrokeLeaf(width, height, p.x, p.y, p.rotation, segments, 0);
    }
}

void PictavoBuilderGL::buildPalette(double width, double height, double x, double y, float opacity,
                                   float toolBrushTypeId, float defaultToolBrushSize,
                                   const std::vector<std::string>& textures)
{
    PictavoVisGL* vis = getPictavoVis();
    if (!vis)
        return;
    std::vector<unsigned> ids;
    for (const std::string& texture : textures)
        ids.push_back(vis->loadTexture(texture, false));
    vis->createPalette(width, height, x, y, opacity, toolBrushTypeId, defaultToolBrushSize, ids);
}
