// The builder of this system's scenes: makes a PictavoVisGL and loads the
// texture sets of the configuration.
#pragma once

#include "TabletopVisBuilderGL.h"

#include <string>
#include <vector>

class PictavoVisGL;

class PictavoBuilderGL : public TabletopVisBuilderGL
{
public:
    PictavoBuilderGL() = default;

    // Makes a PictavoVisGL with these arguments the builder's scene; the
    // caller keeps it (the builder never owns a scene).
    void buildVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                  unsigned screenHeight) override;
    // Counts the set; a pattern of 45 characters or more loads nothing.
    // Otherwise prints the loading message and loads files 1 to count as
    // image textures. A pattern without exactly one integer conversion is
    // refused with a message, since formatting it could read past the number.
    void buildTextures(unsigned count, const std::string& pattern) override;

    // Loads the background texture and makes the canvas: the size of the
    // screen, centred on it, with the configured values (brushValue is the
    // smaller window side, elementKind the demo type).
    virtual void buildCanvas(double border, double overflow, const std::string& texture, unsigned toolBrushes,
                             int brushValue, float initialSize, int elementKind);
    // The sketching panel: a square of side screen height - 30 at the screen centre.
    virtual void buildStrokeBuildCanvas(double border, double overflow);
    // Load the menu's texture set, then make it (centre x, y; size in pixels).
    virtual void buildContextMenu(double width, double height, double x, double y, double opacity,
                                  bool rotateAndTranslate, bool tossing, const std::vector<std::string>& textures);
    virtual void buildCornerMenu(double width, double height, double x, double y, double opacity,
                                 bool rotateAndTranslate, bool tossing, const std::vector<std::string>& textures);
    // Loads the texture set (background, accept, cancel, sketch; missing
    // entries load nothing) and makes the stroke menu centred at (x, y).
    virtual void buildStrokeMenu(double width, double height, double x, double y, double opacity, bool rnt,
                                 bool tossing, const std::vector<std::string>& textures);
    // number primitives at random places (PrimitivePlacement), type 0.
    virtual void buildStrokes(double width, double height, unsigned number, bool bumpMapping);
    virtual void buildTiles(double width, double height, unsigned number, bool dodging);
    virtual void buildPoints(double width, double height, unsigned number);
    virtual void buildGeoStrokes(double width, double height, unsigned number, int segments);
    // Loads the palette's textures (configuration order) and makes one
    // palette of that size centred at device (x, y), hidden until shown.
    virtual void buildPalette(double width, double height, double x, double y, float opacity,
                              float toolBrushTypeId, float defaultToolBrushSize,
                              const std::vector<std::string>& textures);

    // The scene as this system's scene; null before buildVis or for a
    // scene of another kind.
    PictavoVisGL* getPictavoVis() const;
    // Texture sets asked for so far, loaded or not.
    unsigned getTextureSetCount() const { return _textureSetCount; }

private:
    // The ids of the texture files, loaded as plain textures (0 for a file
    // that could not be loaded).
    std::vector<unsigned> loadTextureSet(const std::vector<std::string>& paths);

    unsigned _textureSetCount = 0;
};
