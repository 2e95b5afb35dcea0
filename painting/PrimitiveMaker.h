// PrimitiveMaker: the one place a saved painting's primitives are made.
#pragma once

#include "PaintingData.h"

class CanvasCompositeGL;
class PictavoVisGL;
class PrimitiveLeafGL;

namespace PrimitiveMaker {

// Makes the primitive the record describes in the scene, as a child of the
// canvas, with its position, size, rotation, colour, life and kind's own
// values; textureId is the GL texture of a stroke (the record holds its
// image-texture index). Returns it (owned by the scene).
PrimitiveLeafGL* make(PictavoVisGL& scene, CanvasCompositeGL& canvas, const PrimitiveRecord& record,
                      unsigned textureId);

} // namespace PrimitiveMaker
