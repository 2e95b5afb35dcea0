// PictavoVisGL: lookups of this system's components and the factories that
// make them.
#include "PictavoVisGL.h"

#include "BufferTag.h"
#include "CanvasCompositeGL.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "ContextMenuGL.h"
#include "CornerMenuGL.h"
#include "GeoStrokeLeafGL.h"
#include "PaletteLeafGL.h"
#include "PointLeafGL.h"
#include "PrimitiveFactory.h"
#include "ReferenceImageLeafGL.h"
#include "StrokeLeafGL.h"
#include "StrokeMenuGL.h"
#include "TileLeafGL.h"
#include "ToolBrushLeafGL.h"


CanvasCompositeGL* PictavoVisGL::findCanvas() const { return findFirstComponent<CanvasCompositeGL>(); }
ToolBrushLeafGL* PictavoVisGL::findToolBrush() const { return findFirstComponent<ToolBrushLeafGL>(); }
PaletteLeafGL* PictavoVisGL::findPalette() const { return findFirstComponent<PaletteLeafGL>(); }
ReferenceImageLeafGL* PictavoVisGL::findReferenceImage() const
{
    return findFirstComponent<ReferenceImageLeafGL>();
}
GeoStrokeBuildCanvasCompositeGL* PictavoVisGL::findBuildCanvas() const
{
    return findFirstComponent<GeoStrokeBuildCanvasCompositeGL>();
}
StrokeMenuGL* PictavoVisGL::findStrokeMenu() const { return findFirstComponent<StrokeMenuGL>(); }

BufferTemplate<float>* PictavoVisGL::findControlTable() const
{
    CanvasCompositeGL* canvas = findCanvas();
    return canvas != nullptr ? canvas->getActiveBufferAs<float>(CONTROL_BUFFER) : nullptr;
}
ContextMenuGL* PictavoVisGL::findContextMenu() const { return findFirstComponent<ContextMenuGL>(); }
CornerMenuGL* PictavoVisGL::findCornerMenu() const { return findFirstComponent<CornerMenuGL>(); }

template <typename Primitive>
Primitive* PictavoVisGL::adoptPrimitive(Primitive* primitive)
{
    addComponent(primitive, true);
    if (CanvasCompositeGL* canvas = findCanvas())
        canvas->addChild(primitive);
    return primitive;
}

CanvasCompositeGL* PictavoVisGL::createCanvas(double x, double y, double width, double height, double angle,
                                              double border, double overflow, unsigned textureId,
                                              unsigned toolBrushes, int brushValue, int elementKind,
                                              float initialSize, int furtherValue)
{
    auto* canvas = new CanvasCompositeGL(this, x, y, width, height, angle, border, overflow, textureId, toolBrushes,
                                         brushValue, elementKind, initialSize, furtherValue);
    addComponent(canvas, true);
    canvas->setPostureRanges(getPostureRanges());
    // The canvas reads the scene's input combination on every press.
    canvas->setInputCombinationSource([this] { return getInputCombination(); });
    return canvas;
}

ToolBrushLeafGL* PictavoVisGL::createToolBrush(double x, double y, double width, double height, int typeId,
                                               int owner)
{
    auto* brush = new ToolBrushLeafGL(this, x, y, width, height, typeId, owner);
    addComponent(brush, true);
    return brush;
}

StrokeLeafGL* PictavoVisGL::createStrokeLeaf(double width, double height, double x, double y, double rotation,
                                             unsigned textureId, float s0, float s1, float t0, float t1,
                                             bool bumpMapping, int type)
{
    PrimitiveParams params = PrimitiveFactory::placed(PrimitiveKind::Stroke, x, y, width, height, rotation, type);
    params.textures = {textureId, textureId, textureId};
    params.s0 = s0;
    params.s1 = s1;
    params.t0 = t0;
    params.t1 = t1;
    params.bumpMapping = bumpMapping;
    return adoptPrimitive(static_cast<StrokeLeafGL*>(PrimitiveFactory::make(*this, params)));
}

TileLeafGL* PictavoVisGL::createTileLeaf(double width, double height, double x, double y, double rotation,
                                         bool dodging, int type)
{
    PrimitiveParams params = PrimitiveFactory::placed(PrimitiveKind::Tile, x, y, width, height, rotation, type);
    params.dodging = dodging;
    return adoptPrimitive(static_cast<TileLeafGL*>(PrimitiveFactory::make(*this, params)));
}

PointLeafGL* PictavoVisGL::createPointLeaf(double width, double height, double x, double y, int type)
{
    PrimitiveParams params = PrimitiveFactory::placed(PrimitiveKind::Point, x, y, width, height, 0.0, type);
    return adoptPrimitive(static_cast<PointLeafGL*>(PrimitiveFactory::make(*this, params)));
}

GeoStrokeLeafGL* PictavoVisGL::createGeoStrokeLeaf(double width, double height, double x, double y,
                                                   double rotation, int segments, int type)
{
    PrimitiveParams params = PrimitiveFactory::placed(PrimitiveKind::GeoStroke, x, y, width, height, rotation, type);
    params.segments = segments;
    return adoptPrimitive(static_cast<GeoStrokeLeafGL*>(PrimitiveFactory::make(*this, params)));
}

PaletteLeafGL* PictavoVisGL::createPalette(double width, double height, double x, double y, float opacity,
                                          float toolBrushTypeId, float defaultToolBrushSize,
                                          const std::vector<unsigned>& textures)
{
    auto* palette = adoptPrimitive(
        new PaletteLeafGL(this, x, y, width, height, opacity, toolBrushTypeId, defaultToolBrushSize, textures));
    palette->deactivateForRendering();
    return palette;
}

ReferenceImageLeafGL* PictavoVisGL::createReferenceImage(double width, double height, double x, double y,
                                                         const std::string& path)
{
    return adoptPrimitive(new ReferenceImageLeafGL(this, x, y, width, height, 0, path));
}

GeoStrokeBuildCanvasCompositeGL* PictavoVisGL::createStrokeBuildCanvas(double x, double y, double width,
                                                                       double height, double angle, double border,
                                                                       double overflow)
{
    auto* panel = new GeoStrokeBuildCanvasCompositeGL(this, x, y, width, height, angle, border, overflow);
    addComponent(panel, true);
    panel->setPostureRanges(getPostureRanges());
    // Looked up on use: the canvas remakes its buffers when it is rebuilt.
    panel->setControlTableSource([this] { return findControlTable(); });
    panel->setElementImageListener([this](std::size_t) {
        if (StrokeMenuGL* menu = findStrokeMenu())
            menu->rebuild();
    });
    return panel;
}

StrokeMenuGL* PictavoVisGL::createStrokeMenu(double width, double height, double x, double y, double opacity,
                                             bool rnt, bool tossing, unsigned backgroundTexture,
                                             unsigned acceptTexture, unsigned cancelTexture, unsigned sketchTexture)
{
    auto* menu = new StrokeMenuGL(this, x, y, width, height, rnt, tossing, opacity, backgroundTexture, acceptTexture,
                                  cancelTexture, sketchTexture);
    addComponent(menu, true);
    menu->setControlTableSource([this] { return findControlTable(); });
    return menu;
}

ContextMenuGL* PictavoVisGL::createContextMenu(double width, double height, double x, double y, double opacity,
                                              bool rotateAndTranslate, bool tossing, unsigned textureId)
{
    auto* menu = new ContextMenuGL(this, x, y, width, height, opacity, rotateAndTranslate, tossing, textureId);
    addComponent(menu, true);
    menu->setUp();
    return menu;
}

CornerMenuGL* PictavoVisGL::createCornerMenu(double width, double height, double x, double y, double opacity,
                                            bool rotateAndTranslate, bool tossing,
                                            const std::vector<unsigned>& textures)
{
    auto* menu = new CornerMenuGL(this, x, y, width, height, opacity, rotateAndTranslate, tossing, textures);
    addComponent(menu, true);
    return menu;
}
