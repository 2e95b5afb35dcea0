// StrokeMenuGL: the small panel from which users choose what new primitives are
// made of: one of two built-in kinds or an element image of a grid (sketched
// images among them). The choice goes into the shared control table on apply.
#pragma once

#include "GLDisplayList.h"
#include "VisComponentGL.h"

#include <functional>
#include <vector>

// Layout in local pixels (origin bottom left), with B = the smaller side / 8:
// along the top, the apply button from 0.5 B to 1.5 B in from the left, the
// cancel button mirrored at the right, the two built-in kinds (points, tiles)
// as squares of side B beside the middle; below them the grid of element
// images, row after row from the top, filling the rest inset by 0.5 B. Grid
// item k is image texture k of the scene, so its index is the element image
// number the canvas's create stamp reads.
//
// Region map (HIT_BUFFER) ids: ApplyRegion, CancelRegion, the two kinds,
// GridRegion (ITEM_INDEX_BUFFER holds the item index there) and RestRegion.
class StrokeMenuGL : public VisComponentGL
{
public:
    enum Region : unsigned {
        ApplyRegion = 0,
        CancelRegion = 1,
        FirstKindRegion = 3,
        SecondKindRegion = 4,
        GridRegion = 5,
        RestRegion = 6,
        NoRegion = 0xffffffffu,   // a point off the menu
    };
    // _selection values besides 2 + item index.
    static constexpr int NoSelection = -1;
    static constexpr int FirstKind = 0;   // new primitives are points
    static constexpr int SecondKind = 1;  // new primitives are tiles
    static constexpr int FirstItem = 2;

    // Centre and size in screen pixels; opacity of the background (0 to 1);
    // the four texture ids (0: none). Built hidden, with the scene's image
    // textures as its grid.
    StrokeMenuGL(TabletopVis* scene, double x, double y, double width, double height, bool rnt, bool tossing,
                 double opacity, unsigned backgroundTexture, unsigned acceptTexture, unsigned cancelTexture,
                 unsigned sketchTexture);
    ~StrokeMenuGL() override;

    // Only the first call of a contact acts, by the region under the point.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // Ends the contact; returns the region id of its press (NoRegion off the menu).
    int releaseLocalBuffer(int x, int y, int device) override;
    // The whole rectangle takes contacts (region 0 is a button, not a hole).
    bool containsLocalPoint(double localX, double localY) const override;
    void specificRender() override;
    void createActiveBuffers() override;
    void initializePassiveBuffers() override;
    void renderInActiveBuffers() override;

    virtual void show();
    virtual void hide();
    // Hides the menu, re-reads the scene's image textures as the grid, remakes
    // the buffers and region map and the drawing.
    virtual void rebuild();
    virtual void rebuildSelectionFrame();

    // Where the shared control table lives (the canvas's).
    void setControlTableSource(std::function<BufferTemplate<float>*()> source) { _controlTable = std::move(source); }

    int getSelection() const { return _selection; }
    unsigned regionAt(double localX, double localY) const;
    std::size_t itemCount() const { return _itemTextures.size(); }
    int columns() const { return _columns; }
    // Centre of grid item k in local pixels.
    void itemCentre(std::size_t k, double& x, double& y) const;
    double buttonSize() const;
    double itemHalfSize() const { return _itemHalfSize; }

private:
    struct Square
    {
        double x, y, half;   // centre and half-size, local pixels
    };
    void layOut();
    Square applySquare() const;
    Square cancelSquare() const;
    Square kindSquare(int kind) const;
    Square itemSquare(std::size_t k) const;
    // The square the current selection outlines; false without one.
    bool selectedSquare(Square& square) const;
    void fillSquare(BufferTemplate<unsigned>& map, const Square& s, unsigned value) const;
    void applySelection();
    void compileDecoration() const;
    void compileSelectionFrame() const;

    int _selection = NoSelection;
    unsigned _hitRegion = NoRegion;
    bool _touched = false;
    int _columns = 1;
    double _itemHalfSize = 0.0;
    double _cellSize = 0.0;
    double _opacity;
    std::vector<unsigned> _itemTextures;
    unsigned _backgroundTexture, _acceptTexture, _cancelTexture, _sketchTexture;
    GLDisplayList _lists;   // 0: decoration, 1: selection frame
    bool _decorationDirty = true;
    bool _frameDirty = true;
    std::function<BufferTemplate<float>*()> _controlTable;
};
