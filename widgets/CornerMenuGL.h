// CornerMenuGL: the panel in a corner of the table that shows the canvas's
// current tool action (icons in four places), a preview of the current
// primitive texture and the current amount. A touch on it passes to the
// canvas. Logic is GL-free; drawing is in CornerMenuRender.cpp.
#pragma once

#include "GLDisplayList.h"
#include "VisComponentGL.h"

#include <array>
#include <vector>

class CanvasCompositeGL;
class FTFont;

class CornerMenuGL : public VisComponentGL
{
public:
    // Positions in the texture list.
    enum Texture
    {
        TexBackground,
        TexDummy,
        TexCreate,
        TexErase,
        TexOrientFollow,
        TexOrientCircular,
        TexOrientRadial,
        TexMoveFollow,
        TexMoveAttraction,
        TexMoveRepulsion,
        TexResizeBigger,
        TexResizeSmaller,
        TextureCount
    };
    // Indicator modes.
    enum Mode
    {
        ModeCreate = 1,
        ModeErase = 2,
        ModeNone = 3,
        ModeOrientFollow = 4,
        ModeOrientCircular = 5,
        ModeOrientRadial = 6,
        ModeMoveFollow = 7,
        ModeMoveAttraction = 8,
        ModeMoveRepulsion = 9,
        ModeResizeBigger = 10,
        ModeResizeSmaller = 11
    };
    // What every lift reports: the menu never keeps a press of its own.
    static constexpr int NoItem = 17;

    // One icon: a texture of the list, lit (the current choice) or neutral.
    struct Icon
    {
        int texture = -1;   // -1: nothing drawn in this place
        bool lit = false;
    };
    // Icons of the four places A (action), B (orientation), C (move),
    // D (size); every place empty for modes without icons.
    using IconSet = std::array<Icon, 4>;
    static IconSet iconsFor(int mode);
    // Places relative to the menu centre, as fractions of the half width
    // and half height.
    static constexpr std::array<double, 8> Places = {-0.65, 0.7, -0.45, 0.15, 0.0, -0.35, 0.65, -0.63};
    // The mode showing a tool action: code and amount as the canvas writes
    // them into its control table; 0 for actions that change nothing shown.
    static int modeForAction(int code, double amount);

    // Centre (x, y) and size in pixels; textures in the order of Texture
    // (missing ones are 0, no texture).
    CornerMenuGL(TabletopVis* scene, double x, double y, double width, double height, double opacity,
                 bool rotateAndTranslate, bool tossing, const std::vector<unsigned>& textures);
    ~CornerMenuGL() override;

    // ---- Framework overrides ----
    // Hands the contact to the attached canvas (its last component), so a
    // touch that starts here paints; returns 1.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // Returns NoItem.
    int releaseLocalBuffer(int x, int y, int device) override;
    void specificRender() override;

    // ---- Own operations ----
    // Shows mode; with a scene that displays amounts, reads the amount the
    // mode concerns from the attached canvas (step amount for create and
    // erase, size step for growing and shrinking) and, while the menu is
    // active, shows the amount for those modes and hides it for the others.
    virtual void setMode(int mode);
    virtual void setPreviewTexture(unsigned textureId);
    // The preview square's size follows the amount: 2 x amount.
    virtual void setPreviewAmount(int amount);
    // Stores the amount and hands it to the scene's amount display.
    virtual void setAmount(int amount);
    // The canvas touches pass to and amounts are read from; not owned.
    virtual void attachCanvas(CanvasCompositeGL* canvas);
    virtual void hide();
    virtual void show();
    // Looks up "arial32"; without it prints a warning and draws no amount.
    virtual void loadFont();
    virtual void rebuildLists();

    int getMode() const { return _mode; }
    int getSelectedItem() const { return _selectedItem; }
    int getAmount() const { return _amount; }
    int getPreviewSize() const { return _previewSize; }
    unsigned getPreviewTexture() const { return _previewTexture; }
    unsigned getTexture(int index) const;
    CanvasCompositeGL* getAttachedCanvas() const { return _attachedCanvas; }
    double getOpacity() const { return _opacity; }
    bool hasFont() const { return _font != nullptr; }

private:
    void compileIcons();
    void compilePreview();
    void compileBackground();
    void drawIcon(const Icon& icon, int place) const;
    void drawAmount() const;

    std::array<unsigned, TextureCount> _textures{};
    int _mode = ModeCreate;
    int _selectedItem = NoItem;
    CanvasCompositeGL* _attachedCanvas = nullptr;
    unsigned _previewTexture = 0;
    int _previewSize = 10;
    int _amount = 5;
    double _opacity;
    FTFont* _font = nullptr;
    std::array<float, 4> _colour = {0.6f, 0.6f, 0.6f, 1.0f};
    GLDisplayList _backgroundList;
    GLDisplayList _iconList;
    GLDisplayList _previewLists;   // coloured and grey
};
