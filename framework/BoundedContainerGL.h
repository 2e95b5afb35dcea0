// BoundedContainerGL: a container with a smooth outline (rounded or
// rectangular), drawn as an inside fill and a border band, picked by its
// outline; the base of tool panels such as the palette.
#pragma once

#include "GLDisplayList.h"
#include "Spline.h"
#include "VisComponentGL.h"

// Two splines, both centred on the component's centre in pixels: the
// outline (refined by the scene's outside control-point steps) and the inside
// (the outline shape shrunk by the scene's container border width, refined by
// the inside steps). Children are nested (map, buffers) but stay in the
// scene's render list. Display lists are rebuilt at the next draw after a
// change, so changes may come from input handlers without a current context.
class BoundedContainerGL : public VisComponentGL
{
public:
    // rounded: an ellipse through numberOfControlPoints (at least 3) control
    // points; otherwise the exact rectangle.
    BoundedContainerGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                       double height, double angle = 0.0, unsigned numberOfControlPoints = 8, bool rounded = true);

    int addChild(VisComponent* child) override;
    int removeChild(VisComponent* child) override;
    VisComponent* getComposite() override;
    // Also recomputes the splines.
    void setSize(double width, double height) override;
    // renderInside, then renderOutline.
    void specificRender() override;
    void specificRenderForPicking() override;
    // A region map (active HIT_BUFFER) decides as in VisComponent; without
    // one, points inside the outline are taken.
    bool containsLocalPoint(double localX, double localY) const override;

    // ---- Own virtual operations ----
    // Places the control points of both splines for the current size and
    // builds them; then buildOrRebuildRenderDisplayLists.
    virtual void buildOrRebuildSplinesFromControlPoints();
    // After a size change: the splines follow the new size.
    virtual void recomputeSizeAndRelocateSplines();
    // Marks the display lists for rebuilding at the next draw.
    virtual void buildOrRebuildRenderDisplayLists();
    // The inside in the scene's inside colour at the container opacity.
    virtual void renderInside();
    // The border band in the border colour (highlight colour while grabbed).
    virtual void renderOutline();
    // The outline filled, in the current colour.
    virtual void renderOutlineForPicking();

    const Spline& getOutlineSpline() const { return _outline; }
    const Spline& getInsideSpline() const { return _inside; }
    bool isRounded() const { return _rounded; }

private:
    void placeControlPoints(Spline& spline, double halfWidth, double halfHeight, unsigned level) const;
    void compileLists();

    unsigned _numberOfControlPoints;
    bool _rounded;
    Spline _outline;
    Spline _inside;
    GLDisplayList _lists;   // 0: inside fill, 1: border band
    bool _listsDirty = true;
};
