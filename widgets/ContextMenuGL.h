// ContextMenuGL: the cross-shaped menu shown where the canvas was last
// touched. Four labelled squares round a closing centre act on the lasso the
// canvas hands over: "Create" (top), "Modify" (right), "Erase" (bottom),
// "Colour" (left). Logic here is GL-free; drawing is in ContextMenuRender.cpp.
#pragma once

#include "Curve2D.h"
#include "GLDisplayList.h"
#include "VisComponentGL.h"

class CanvasCompositeGL;
class FTFont;

class ContextMenuGL : public VisComponentGL
{
public:
    // Items of the hit buffer (HIT_BUFFER, one item number per cell).
    enum Item
    {
        ItemCreate = 0,
        ItemModify = 1,
        ItemErase = 2,
        ItemColour = 3,
        ItemClose = 4,
        ItemNone = 5
    };
    static constexpr double DefaultItemOffset = 100.0;
    static constexpr double DefaultItemHalfSize = 50.0;

    // Centre (x, y) in device pixels, size in pixels; textureId is the
    // menu's first configured texture (drawn on the squares). Hidden until
    // setUp has run and show is called.
    ContextMenuGL(TabletopVis* scene, double x, double y, double width, double height, double opacity,
                  bool rotateAndTranslate, bool tossing, unsigned textureId);
    ~ContextMenuGL() override;

    // ---- Framework overrides ----
    // A press (and every move of it): only the first report of a contact
    // counts. Picks the item under it from the hit buffer and acts on it;
    // always returns 1.
    int hitLocalBuffer(int x, int y, double width, double height, int device) override;
    // Ends the press and returns the item it chose, or ItemNone without one.
    int releaseLocalBuffer(int x, int y, int device) override;
    void createActiveBuffers() override;
    // Fills the hit buffer: ItemNone everywhere, then the five squares.
    void renderInActiveBuffers() override;
    void render() override;
    void specificRender() override;

    // ---- Own operations ----
    // Activates for rendering and moves to the render front.
    virtual void show();
    // Deactivates when active; the lasso is dropped, on the canvas too.
    virtual void hide();
    virtual bool isShown() const { return isActiveForRendering(); }
    // Moves the centre to (x, y) (device pixels), kept so that the whole
    // menu stays on the screen.
    virtual void placeAt(double x, double y);
    // The lasso the next item acts on (device pixels) and its bounding box.
    virtual void setLasso(const Curve2D& curve, int minX, int minY, int maxX, int maxY);
    // Font, hidden, buffers and hit map, display lists.
    virtual void setUp();
    // Looks up "arial32"; without it prints a warning and labels are not drawn.
    virtual void loadFont();
    virtual double leftEdge(double x) const { return x - 0.5 * getWidth(); }
    virtual double rightEdge(double x) const { return x + 0.5 * getWidth(); }
    virtual void buildDisplayLists();
    virtual void drawFrame();
    virtual void renderItems();
    virtual void renderLabels();
    virtual void renderLasso();

    // The item whose square holds menu point (mx, my) (origin at the menu
    // centre), ItemNone elsewhere.
    static int itemAt(double mx, double my, double offset, double halfSize);
    // The square item's centre in menu coordinates.
    static void itemCentre(int item, double offset, double& cx, double& cy);

    int getSelectedItem() const { return _selectedItem; }
    bool isPressed() const { return _pressed; }
    const Curve2D& getLasso() const { return _lassoCurve; }
    bool hasFont() const { return _font != nullptr; }
    double getItemOffset() const { return _itemOffset; }
    double getItemHalfSize() const { return _itemHalfSize; }

private:
    // The canvas the items act on: the parent when it is a canvas, else the
    // scene's first canvas; null without one.
    CanvasCompositeGL* findCanvas() const;
    void choose(int item);

    double _itemOffset = DefaultItemOffset;
    double _itemHalfSize = DefaultItemHalfSize;
    int _selectedItem = ItemNone;
    bool _pressed = false;
    Curve2D _lassoCurve;
    int _lassoBounds[4] = {0, 0, 0, 0};
    unsigned _textureId;
    double _opacity;
    FTFont* _font = nullptr;
    GLDisplayList _centreList;
    GLDisplayList _itemList;
};
