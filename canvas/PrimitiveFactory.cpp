// PrimitiveFactory: constructing each kind of primitive from its parameters.
#include "PrimitiveFactory.h"

#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "StrokeLeafGL.h"
#include "TileLeafGL.h"

namespace PrimitiveFactory {

namespace {

PrimitiveLeafGL* construct(TabletopVis& scene, const PrimitiveParams& s)
{
    switch (s.kind) {
    case PrimitiveKind::Point:
        return new PointLeafGL(&scene, s.x, s.y, false, false, s.width, s.height, s.type);
    case PrimitiveKind::Stroke:
        return new StrokeLeafGL(&scene, s.x, s.y, s.s0, s.s1, s.t0, s.t1, false, false, s.width, s.height, s.angle,
                                s.textures[0], s.textures[1], s.textures[2], s.type, s.bumpMapping);
    case PrimitiveKind::Tile:
        return new TileLeafGL(&scene, s.x, s.y, false, false, s.width, s.height, s.angle, s.type, s.dodging);
    case PrimitiveKind::GeoStroke: {
        auto* shape = new GeoStrokeLeafGL(&scene, s.x, s.y, false, false, s.width, s.height, s.auxiliary[0],
                                          s.auxiliary[1], s.type, s.segments);
        shape->rotate(s.angle);
        return shape;
    }
    }
    return nullptr;
}

} // namespace

PrimitiveLeafGL* make(TabletopVis& scene, const PrimitiveParams& params)
{
    PrimitiveLeafGL* primitive = construct(scene, params);
    if (primitive == nullptr)
        return nullptr;
    if (params.rotation)
        primitive->setRotation(*params.rotation);
    if (params.color)
        primitive->setColor((*params.color)[0], (*params.color)[1], (*params.color)[2]);
    if (params.life)
        primitive->setLife(*params.life);
    return primitive;
}

} // namespace PrimitiveFactory
