// PrimitiveMaker: saved primitives back into a canvas through its
// primitive factory.
#include "PrimitiveMaker.h"

#include "CanvasCompositeGL.h"
#include "PictavoVisGL.h"
#include "PointLeafGL.h"

#include <array>
#include <tuple>

namespace PrimitiveMaker {

PrimitiveLeafGL* make(PictavoVisGL&, CanvasCompositeGL& canvas, const PrimitiveRecord& r, unsigned textureId)
{
    PrimitiveSpec spec;
    spec.x = r.x;
    spec.y = r.y;
    spec.width = r.width;
    spec.height = r.height;
    spec.type = r.type;
    spec.rotation = r.rotation;
    spec.color = std::array<unsigned char, 3>{r.color[0], r.color[1], r.color[2]};
    spec.life = r.life;
    switch (r.kind) {
    case RecordKind::Point:
        spec.kind = PrimitiveKind::Point;
        break;
    case RecordKind::Stroke:
        spec.kind = PrimitiveKind::Stroke;
        spec.angle = r.targetAngle;
        spec.textures = {textureId, textureId, textureId};
        std::tie(spec.s0, spec.s1, spec.t0, spec.t1) = std::tuple(r.s0, r.s1, r.t0, r.t1);
        spec.bumpMapping = r.flag;
        break;
    case RecordKind::Tile:
        spec.kind = PrimitiveKind::Tile;
        spec.angle = r.targetAngle;
        spec.dodging = r.flag;
        break;
    case RecordKind::StrokeShape:
        spec.kind = PrimitiveKind::GeoStroke;
        spec.auxiliary = {static_cast<unsigned>(r.aux0), static_cast<unsigned>(r.aux1)};
        spec.segments = r.shape;
        break;
    }
    auto* p = dynamic_cast<PrimitiveLeafGL*>(canvas.makePrimitive(spec));
    // initialize (run when the scene takes it) picks a point's shape; the
    // saved one wins.
    if (auto* point = dynamic_cast<PointLeafGL*>(p))
        point->setShapeIndex(r.shape);
    return p;
}

} // namespace PrimitiveMaker
