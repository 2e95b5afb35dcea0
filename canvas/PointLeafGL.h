// PointLeafGL: a point dab, one of 16 shared elliptic fan shapes, drawn in
// a flat colour. The speedBuffer picks its shape, tempColorBuffer paints it.
#pragma once

#include "PrimitiveLeafGL.h"

// The 16 shapes are unit-sized (PrimitiveShapes::pointShapes) and drawn
// scaled by the point's half width, so they follow size changes. In a GL
// scene their render and picking display lists are shared by every point
// and freed with the last point of a GL scene.
class PointLeafGL : public PrimitiveLeafGL
{
public:
    PointLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                double height, int type);
    ~PointLeafGL() override;

    // Shape from speedBuffer and colour from tempColorBuffer, then the
    // common step.
    void animateMyself(double dt) override;
    void specificRender() override;
    void specificRenderForPicking() override;
    // The first point takes shape 0, later ones a random shape; a GL scene
    // builds the shared lists if there are none.
    void initialize() override;
    void initializePassiveBuffers() override;
    void appendToBatch(PrimitiveBatch& batch) override;

    int getShapeIndex() const { return _shapeIndex; }
    // Switches to shape index (clamped to 0 .. 15) and its shared lists.
    void setShapeIndex(int index);
    // The colour drawn: the own colour, each byte halved when dimmed by
    // highlighting.
    Color drawColor() const;

    // Points alive, whether the shared display lists exist, and the render
    // list of a shape (0 when there are none).
    static int getInstanceCount();
    static bool hasSharedShapeLists();
    static unsigned getSharedRenderList(int shape);

private:
    int _shapeIndex = 0;
    unsigned _renderList = 0;
    unsigned _pickingList = 0;
};
