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
    PrimitiveParams params;
    params.x = r.x;
    params.y = r.y;
    params.width = r.width;
    params.height = r.height;
    params.type = r.type;
    params.rotation = r.rotation;
    params.color = std::array<unsigned char, 3>{r.color[0], r.color[1], r.color[2]};
    params.life = r.life;
    switch (r.kind) {
    case RecordKind::Point:
        params.kind = PrimitiveKind::Point;
        break;
    case RecordKind::Stroke:
        params.kind = PrimitiveKind::Stroke;
        params.angle = r.targetAngle;
        params.textures = {textureId, textureId, textureId};
        std::tie(params.s0, params.s1, params.t0, params.t1) = std::tuple(r.s0, r.s1, r.t0, r.t1);
        params.bumpMapping = r.flag;
        break;
    case RecordKind::Tile:
        params.kind = PrimitiveKind::Tile;
        params.angle = r.targetAngle;
        params.dodging = r.flag;
        break;
    case RecordKind::StrokeShape:
        params.kind = PrimitiveKind::GeoStroke;
        params.auxiliary = {static_cast<unsigned>(r.aux0), static_cast<unsigned>(r.aux1)};
        params.segments = r.shape;
        break;
    }
    auto* p = dynamic_cast<PrimitiveLeafGL*>(canvas.makePrimitive(params));
    // initialize (run when the scene takes it) picks a point's shape; the
    // saved one wins.
    if (auto* point = dynamic_cast<PointLeafGL*>(p))
        point->setShapeIndex(r.shape);
    return p;
}

} // namespace PrimitiveMaker
