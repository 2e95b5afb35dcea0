// TabletopVisBuilder: makes a scene and its parts from plain arguments and
// keeps the current scene for the director.
#pragma once

#include <string>
#include <vector>

class TabletopVis;

// The builder never owns a scene: whoever keeps it (the GL widget) deletes
// it, with its GL context current. setVis(nullptr) detaches the builder
// before a new scene is built.
class TabletopVisBuilder
{
public:
    TabletopVisBuilder() = default;
    virtual ~TabletopVisBuilder() = default;

    TabletopVisBuilder(const TabletopVisBuilder&) = delete;
    TabletopVisBuilder& operator=(const TabletopVisBuilder&) = delete;

    TabletopVis* getVis() const { return _vis; }
    // Also forgets the pictures made by buildImages for the old scene.
    void setVis(TabletopVis* vis);

    // ---- Builder operations, in slot order; each does nothing without a scene ----
    // A headless TabletopVis with these arguments becomes the scene.
    virtual void buildVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                          unsigned screenHeight);
    // Loads count image textures named by the printf pattern with 1 .. count.
    virtual void buildTextures(unsigned count, const std::string& pattern);
    // number BasicImageGL pictures of width x height at random places and
    // angles on the screen, each wearing a random image texture of the scene
    // (grey when it has none); they move, turn and toss by touch.
    virtual void buildImages(unsigned number, double width, double height);
    // Deletes the newest remaining picture made by buildImages.
    virtual void deleteLastImageComponent();
    virtual void buildFont(const std::string& file, unsigned size);
    // Components this engine does not provide; their builders build nothing.
    virtual void buildDestroyer() {}
    virtual void buildStorageBinCreator() {}
    virtual void buildStickyBoardCreator() {}
    virtual void buildStickyNoteCreator() {}
    virtual void buildPoolCurrentCreator() {}
    virtual void buildBeltCurrentCreator() {}
    virtual void buildLensCreator() {}
    virtual void buildContainers() {}
    virtual void buildStorageBins() {}
    virtual void buildInterfaceCurrents() {}
    virtual void buildControlSurface() {}
    virtual void buildPoolSurface() {}
    virtual void buildTypingDevice() {}
    virtual void buildMemoryContainer() {}
    virtual void buildDocument() {}
    virtual void buildHockeySurface() {}
    virtual void buildHockeyPaddles() {}
    virtual void buildHockeyPucks() {}

protected:
    // Scene construction used by buildVis; TabletopVisBuilderGL makes a GL scene.
    virtual TabletopVis* makeVis(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                                 unsigned screenHeight);

private:
    TabletopVis* _vis = nullptr;
    std::vector<unsigned long> _imageIds;   // pictures of buildImages, oldest first
};
