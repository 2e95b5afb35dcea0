// PrimitiveFactory: the one place that constructs rendering primitives, from
// a PrimitiveSpec (the builder's demos, the tool brush's create stamp, task
// layouts, saved paintings).
#pragma once

#include "BrushCanvas.h"

class PrimitiveLeafGL;
class TabletopVis;

namespace PrimitiveFactory {

// A new primitive of spec.kind for the scene, not yet added to the scene or
// a canvas (the caller does both), with the spec's restored fields applied.
// Makes no GL call: shared shapes are compiled when something draws.
PrimitiveLeafGL* make(TabletopVis& scene, const PrimitiveSpec& spec);

// A spec with the fields every kind has; the rest as PrimitiveSpec starts.
inline PrimitiveSpec placed(PrimitiveKind kind, double x, double y, double width, double height, double angle,
                            int type)
{
    PrimitiveSpec spec;
    spec.kind = kind;
    spec.x = x;
    spec.y = y;
    spec.width = width;
    spec.height = height;
    spec.angle = angle;
    spec.type = type;
    return spec;
}

} // namespace PrimitiveFactory
