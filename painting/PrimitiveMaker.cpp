// PrimitiveMaker: saved primitives back into a scene through the leaf
// classes' constructors.
#include "PrimitiveMaker.h"

#include "CanvasCompositeGL.h"
#include "GeoStrokeLeafGL.h"
#include "PictavoVisGL.h"
#include "PointLeafGL.h"
#include "StrokeLeafGL.h"
#include "TileLeafGL.h"

namespace PrimitiveMaker {

PrimitiveLeafGL* make(PictavoVisGL& scene, CanvasCompositeGL& canvas, const PrimitiveRecord& r, unsigned textureId)
{
    PrimitiveLeafGL* p = nullptr;
    switch (r.kind) {
    case PrimitiveKind::Point: {
        auto* point = new PointLeafGL(&scene, r.x, r.y, false, false, r.width, r.height, r.type);
        p = point;
        break;
    }
    case PrimitiveKind::Stroke:
        p = new StrokeLeafGL(&scene, r.x, r.y, r.s0, r.s1, r.t0, r.t1, false, false, r.width, r.height, r.targetAngle,
                             textureId, textureId, textureId, r.type, r.flag);
        break;
    case PrimitiveKind::Tile:
        p = new TileLeafGL(&scene, r.x, r.y, false, false, r.width, r.height, r.targetAngle, r.type, r.flag);
        break;
    case PrimitiveKind::StrokeShape:
        p = new GeoStrokeLeafGL(&scene, r.x, r.y, false, false, r.width, r.height, static_cast<unsigned>(r.aux0),
                                static_cast<unsigned>(r.aux1), r.type, r.shape);
        break;
    }
    scene.addComponent(p, true);
    canvas.addChild(p);
    // initialize (run by addComponent) picks a point's shape; the saved one wins.
    if (auto* point = dynamic_cast<PointLeafGL*>(p))
        point->setShapeIndex(r.shape);
    p->setRotation(r.rotation);
    p->setColor(r.color[0], r.color[1], r.color[2]);
    p->setLife(r.life);
    return p;
}

} // namespace PrimitiveMaker
