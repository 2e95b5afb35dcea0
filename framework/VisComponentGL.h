// VisComponentGL: a component that draws itself with OpenGL 1.x: the common
// transformation, the picking view and small drawing helpers.
#pragma once

#include "Vector2d.h"

#include <vector>

#include "VisComponent.h"

class ComponentList;

// Drawing happens only inside TabletopVisGL's frame, with the context
// current. specificRender and specificRenderForPicking draw in the
// component's frame: origin at its centre, x along its width, units pixels
// (local coordinates minus half the size).
class VisComponentGL : public VisComponent
{
public:
    using VisComponent::VisComponent;

    // Push, doCommonTransformations, specificRender, pop.
    void render() override;
    // Push, doCommonTransformations, the id's flat colour, pickingPreparation,
    // specificRenderForPicking, pop.
    void renderForPicking() override;
    // The component's rectangle.
    void specificRenderForPicking() override;
    // Translate to the centre, rotate by the rotation.
    void doCommonTransformations() override;

    // The flat colour standing for a component id in the picking view.
    static void pickingColor(unsigned long id, unsigned char rgb[3]);
    // render() on every active component of the list, back to front.
    static void renderActive(const ComponentList& list);

    // A square of half side `half` centred on (x, y), textured with the whole
    // texture, untextured for id 0; texturing is off afterwards.
    static void drawSquare(double x, double y, double half, unsigned texture);
    // A fan from the origin round the closed outline `points`.
    static void drawFan(const std::vector<Vector2d>& points);

protected:
    // A width x height rectangle centred on the origin; with a texture id,
    // textured with coordinates (s0, t0) at the bottom left to (s1, t1).
    static void drawQuad(double width, double height);
    static void drawTexturedQuad(double width, double height, unsigned texture, float s0 = 0.0f, float t0 = 0.0f,
                                 float s1 = 1.0f, float t1 = 1.0f);
};
