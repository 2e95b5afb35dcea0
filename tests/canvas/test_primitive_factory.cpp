// Making primitives: the factory builds every kind from its parameters,
// restored fields included.
#include "CanvasTestSupport.h"
#include "GeoStrokeLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveFactory.h"
#include "StrokeLeafGL.h"
#include "TileLeafGL.h"

#include <gtest/gtest.h>

#include <memory>

TEST(PrimitiveFactory, MakesEveryKindFromItsSpecWithTheRestoredFields)
{
    TabletopVisGL scene(1, 700, 525, 1024, 768);
    PrimitiveParams params;
    params.x = 300;
    params.y = 200;
    params.width = 48;
    params.height = 16;
    params.angle = 30;
    params.type = 2;
    params.textures = {4, 5, 6};
    std::tie(params.s0, params.s1, params.t0, params.t1) = std::tuple(0.1f, 0.9f, 0.2f, 0.7f);
    params.dodging = true;
    params.segments = 5;
    params.auxiliary = {7, 8};
    params.rotation = 12.5;
    params.color = {{10, 20, 30}};
    params.life = 99;
    for (PrimitiveKind kind : {PrimitiveKind::Point, PrimitiveKind::Stroke, PrimitiveKind::Tile, PrimitiveKind::GeoStroke}) {
        params.kind = kind;
        std::unique_ptr<PrimitiveLeafGL> p(PrimitiveFactory::make(scene, params));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::tuple(p->getXPos(), p->getYPos(), p->getWidth(), p->getHeight()),
                  std::tuple(300.0, 200.0, 48.0, 16.0));
        EXPECT_EQ(std::tuple(p->getPrimitiveType(), p->getRotation(), p->getLife()), std::tuple(2, 12.5, 99));
        EXPECT_EQ(std::tuple(+p->getColor().r, +p->getColor().g, +p->getColor().b), std::tuple(10, 20, 30));
        if (auto* stroke = dynamic_cast<StrokeLeafGL*>(p.get())) {
            EXPECT_EQ(std::tuple(stroke->getTextureId(0), stroke->getTextureId(2), stroke->getTargetAngle()),
                      std::tuple(4u, 6u, 30.0));
            EXPECT_EQ(stroke->getTextureRect().s1, 0.9f);
        } else if (auto* tile = dynamic_cast<TileLeafGL*>(p.get())) {
            EXPECT_TRUE(tile->isDodging());
            EXPECT_EQ(tile->getTargetAngle(), 30.0);
        } else if (auto* shape = dynamic_cast<GeoStrokeLeafGL*>(p.get())) {
            EXPECT_EQ(std::tuple(shape->getSegmentCount(), shape->getAuxiliaryValue(1)), std::tuple(5, 8.0f));
        } else {
            EXPECT_NE(dynamic_cast<PointLeafGL*>(p.get()), nullptr);
        }
    }
}
