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

} // namespace PrimitiveFactory
