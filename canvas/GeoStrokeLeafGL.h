// GeoStrokeLeafGL: a stroke shape: a centre line with a half width per
// point, drawn as one translucent yellow quad strip between its outlines.
// Stroke shapes do not follow the canvas buffers.
#pragma once

#include "GLDisplayList.h"
#include "PrimitiveLeafGL.h"

#include <vector>

// The outline is in pixels of the shape's own frame: the centre line starts
// at the shape's position and is not scaled by its size. Each shape
// compiles its own render and picking list at its first draw after a
// change of its line, freed with it (GL scenes are destroyed with their
// context current).
class GeoStrokeLeafGL : public PrimitiveLeafGL
{
public:
    // valueA, valueB: kept as the base's auxiliary values. segments: points
    // of the centre line, 1 .. 32 (any other count gives 32).
    GeoStrokeLeafGL(TabletopVis* scene, double x, double y, bool rotateAndTranslate, bool tossing, double width,
                    double height, unsigned valueA, unsigned valueB, int type, int segments);

    void animateMyself(double dt) override;   // nothing: shapes stand still
    void prefetchForAnimation() const override {}
    void specificRender() override;
    void specificRenderForPicking() override;
    // The default centre line (PrimitiveShapes::defaultOutline) and its
    // outlines.
    void initialize() override;
    void initializePassiveBuffers() override;
    void appendToBatch(PrimitiveBatch& batch) override;

    // Compiles the render and picking lists (quad strips through the
    // outline pairs). GL: called by the drawing when the line changed.
    virtual void compileShapeLists();

    int getSegmentCount() const { return _segments; }
    const PrimitiveShapes::Outline& getOutline() const { return _outline; }
    // Replaces the centre line and half widths (same length) and
    // recomputes the outlines; the lists follow at the next draw.
    void setCentreLine(std::vector<PrimitiveShapes::Point2f> centre, std::vector<double> halfWidths);

    static constexpr float FillColor[4] = {1.0f, 1.0f, 0.0f, 0.6f};

private:
    void drawStrip() const;

    int _segments;
    PrimitiveShapes::Outline _outline;
    GLDisplayList _lists;   // render, picking
    bool _listsStale = true;
};
