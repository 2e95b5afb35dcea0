// PrimitiveFactory: the one place that constructs rendering primitives, from
// a PrimitiveParams (the builder's demos, the tool brush's create stamp, task
// layouts, saved paintings).
#pragma once

#include "BrushCanvas.h"

class PrimitiveLeafGL;
class TabletopVis;

namespace PrimitiveFactory {

// A new primitive of params.kind for the scene, not yet added to the scene or
// a canvas (the caller does both), with the parameters' restored fields applied.
// Makes no GL call: shared shapes are compiled when something draws.
PrimitiveLeafGL* make(TabletopVis& scene, const PrimitiveParams& params);

// Parameters with the fields every kind has; the rest as PrimitiveParams starts.
inline PrimitiveParams placed(PrimitiveKind kind, double x, double y, double width, double height, double angle,
                            int type)
{
    PrimitiveParams params;
    params.kind = kind;
    params.x = x;
    params.y = y;
    params.width = width;
    params.height = height;
    params.angle = angle;
    params.type = type;
    return params;
}

} // namespace PrimitiveFactory
