// PointLeafGL: a point dab, one of 16 shared elliptic fan shapes, drawn in
// a flat colour. The speedBuffer picks its shape, tempColorBuffer paints it.
#pragma once

#include "PrimitiveLeafGL.h"

// The 16 shapes are unit-sized (PrimitiveShapes::pointShapes) and drawn
// scaled by the point's half width, so they follow size changes. Their
// display lists are the scene's (PrimitiveShapeCache), made at the first
// draw.
class PointLeafGL : public PrimitiveLeafGL
{
public:
    PointLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                double height, int type);
    ~PointLeafGL() override;

    // Shape from speedBuffer and colour from tempColorBuffer, then the
    // common step.
    void animateMyself(double dt) override;
    void step(const PrimitiveFrame& frame, double dt);
    void specificRender() override;
    void specificRenderForPicking() override;
    // The first live point of the scene takes shape 0, later ones a random
    // shape.
    void initialize() override;
    void initializePassiveBuffers() override;
    void appendToBatch(PrimitiveBatch& batch) override;

    int getShapeIndex() const { return _shapeIndex; }
    // Switches to shape index (clamped to 0 .. 15).
    void setShapeIndex(int index);
    // The colour drawn: the own colour, each byte halved when dimmed by
    // highlighting.
    Color drawColor() const;

private:
    int _shapeIndex = 0;
};
