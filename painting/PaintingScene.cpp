// PaintingScene: the state of a painting between a scene and PaintingData.
#include "PaintingScene.h"

#include "CanvasBufferTable.h"
#include "CanvasCompositeGL.h"
#include "ComponentList.h"
#include "GeoStrokeBuildCanvasCompositeGL.h"
#include "GeoStrokeLeafGL.h"
#include "PaletteLeafGL.h"
#include "PictavoVisGL.h"
#include "PointLeafGL.h"
#include "PrimitiveMaker.h"
#include "StrokeLeafGL.h"
#include "StrokeMenuGL.h"
#include "TileLeafGL.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

namespace {

std::array<std::uint8_t, 3> bytesOf(const Color& c) { return {c.r, c.g, c.b}; }
Color colorOf(const std::array<std::uint8_t, 3>& c) { return Color(c[0], c[1], c[2]); }

int valueSizeOf(CanvasBuffers::CellType cell)
{
    return CanvasBuffers::withCellType(cell, [](auto value, int) { return static_cast<int>(sizeof(value)); });
}

PrimitiveRecord recordOf(const PrimitiveLeafGL& p, const std::unordered_map<unsigned, int>& textureIndex)
{
    PrimitiveRecord r;
    r.x = p.getXPos();
    r.y = p.getYPos();
    r.width = p.getWidth();
    r.height = p.getHeight();
    r.rotation = p.getRotation();
    r.targetAngle = p.getTargetAngle();
    r.color = bytesOf(p.getColor());
    r.type = p.getPrimitiveType();
    r.life = p.getLife();
    r.aux0 = p.getAuxiliaryValue(0);
    r.aux1 = p.getAuxiliaryValue(1);
    if (const auto* point = dynamic_cast<const PointLeafGL*>(&p)) {
        r.kind = RecordKind::Point;
        r.shape = point->getShapeIndex();
    } else if (const auto* stroke = dynamic_cast<const StrokeLeafGL*>(&p)) {
        r.kind = RecordKind::Stroke;
        const auto found = textureIndex.find(stroke->getTextureId(0));
        r.texture = found != textureIndex.end() ? found->second : -1;
        const StrokeTextureRect& rect = stroke->getTextureRect();
        r.s0 = rect.s0;
        r.s1 = rect.s1;
        r.t0 = rect.t0;
        r.t1 = rect.t1;
        r.flag = stroke->isBumpMapping();
    } else if (const auto* tile = dynamic_cast<const TileLeafGL*>(&p)) {
        r.kind = RecordKind::Tile;
        r.flag = tile->isDodging();
    } else if (const auto* shape = dynamic_cast<const GeoStrokeLeafGL*>(&p)) {
        r.kind = RecordKind::StrokeShape;
        r.shape = shape->getSegmentCount();
    }
    return r;
}

void captureBuffers(const CanvasCompositeGL& canvas, PaintingData& d)
{
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table) {
        const AbstractBuffer* buffer = canvas.getActiveBuffer(row.tag);
        if (buffer == nullptr)
            continue;
        const auto* cells = static_cast<const std::uint8_t*>(buffer->getBufferArray());
        BufferRecord b{row.tag, buffer->getWidth(), buffer->getHeight(), buffer->getDimension(),
                       valueSizeOf(row.cell), {}};
        if (cells != nullptr)
            b.cells.assign(cells, cells + buffer->getAllocatedMemorySizeInBytes());
        d.buffers.push_back(std::move(b));
    }
    // The file keeps buffers by tag.
    std::sort(d.buffers.begin(), d.buffers.end(), [](const BufferRecord& a, const BufferRecord& b) { return a.tag < b.tag; });
}

void capturePrimitives(const PictavoVisGL& scene, const CanvasCompositeGL& canvas, PaintingData& d)
{
    std::unordered_map<unsigned, int> textureIndex;
    for (std::size_t i = scene.getImageTextureCount(); i-- > 0;)
        textureIndex[scene.getImageTextureIDAt(i)] = static_cast<int>(i);
    const ComponentList* list = canvas.getLocalRenderList();
    if (list == nullptr)
        return;
    d.primitives.reserve(list->size());
    for (std::size_t i = 0; i < list->slotCount(); ++i)
        if (const auto* p = dynamic_cast<const PrimitiveLeafGL*>((*list)[i]); p != nullptr && !p->isQueuedForDeletion())
            d.primitives.push_back(recordOf(*p, textureIndex));
}

void capturePalette(const PaletteLeafGL& palette, PaintingData& d)
{
    const std::vector<ColorSwatchGL*>& swatches = palette.getSwatches();
    for (std::size_t i = 6; i < swatches.size(); ++i) {
        const ColorSwatchGL& s = *swatches[i];
        d.swatches.push_back({s.getX(), s.getY(), s.getRadius(), bytesOf(s.getDisplayColor()), bytesOf(s.getPaintColor())});
    }
    for (const ColorGradientGL* l : palette.getLinks())
        d.links.push_back({l->getX1(), l->getY1(), l->getX2(), l->getY2(), l->getHalfWidth(),
                           bytesOf(l->getDisplayColor1()), bytesOf(l->getPaintColor1()), bytesOf(l->getDisplayColor2()),
                           bytesOf(l->getPaintColor2())});
}

// Copies the cells both grids have, row by row.
void restoreBuffer(AbstractBuffer& buffer, const BufferRecord& b)
{
    auto* cells = static_cast<std::uint8_t*>(buffer.getBufferArray());
    if (cells == nullptr)
        return;
    const std::size_t cellBytes = std::size_t(b.dimension) * std::size_t(b.valueSize);
    const int rows = std::min(buffer.getHeight(), b.height);
    const std::size_t rowBytes = std::size_t(std::min(buffer.getWidth(), b.width)) * cellBytes;
    for (int y = 0; y < rows; ++y)
        std::memcpy(cells + std::size_t(y) * std::size_t(buffer.getWidth()) * cellBytes,
                    b.cells.data() + std::size_t(y) * std::size_t(b.width) * cellBytes, rowBytes);
}

// Every saved buffer the canvas has must have the canvas's cell layout.
std::string checkBuffers(const CanvasCompositeGL& canvas, const PaintingData& d)
{
    for (const BufferRecord& b : d.buffers) {
        const CanvasBuffers::BufferRow* row = CanvasBuffers::find(b.tag);
        const AbstractBuffer* buffer = canvas.getActiveBuffer(b.tag);
        if (row == nullptr || buffer == nullptr)
            continue;
        if (b.dimension != buffer->getDimension() || b.valueSize != valueSizeOf(row->cell))
            return "PaintingScene: buffer " + std::to_string(b.tag) + " has another cell layout";
    }
    return "";
}

// Registers the sketched images again; old image-texture index -> new one.
std::map<int, int> restoreSketches(PictavoVisGL& scene, const PaintingData& d)
{
    std::map<int, int> indices;
    GeoStrokeBuildCanvasCompositeGL* panel = scene.findBuildCanvas();
    for (const SketchRecord& k : d.sketches)
        indices[k.index] = panel != nullptr ? panel->addElementImage({k.width, k.height, k.rgba}) : -1;
    if (StrokeMenuGL* menu = scene.findStrokeMenu(); menu != nullptr && !d.sketches.empty())
        menu->rebuild();
    return indices;
}

int mappedIndex(const std::map<int, int>& indices, int index)
{
    const auto found = indices.find(index);
    return found != indices.end() ? found->second : index;
}

void restorePalette(PaletteLeafGL& palette, const PaintingData& d)
{
    palette.removeMixedPaints();
    for (const SwatchRecord& s : d.swatches)
        palette.addSwatch(s.x, s.y, s.radius, colorOf(s.display), colorOf(s.paint));
    for (const LinkRecord& l : d.links)
        palette.addLink(l.x1, l.y1, l.x2, l.y2, l.halfWidth, colorOf(l.display1), colorOf(l.paint1),
                        colorOf(l.display2), colorOf(l.paint2));
    palette.clearMixingArea();
}

} // namespace

namespace PaintingScene {

PaintingData capture(const PictavoVisGL& scene)
{
    PaintingData d;
    d.screenWidth = static_cast<int>(scene.getScreenWidth());
    d.screenHeight = static_cast<int>(scene.getScreenHeight());
    const CanvasCompositeGL* canvas = scene.findCanvas();
    if (canvas == nullptr)
        return d;
    d.bufferWidth = canvas->getCanvasBufferWidth();
    d.bufferHeight = canvas->getCanvasBufferHeight();
    captureBuffers(*canvas, d);
    capturePrimitives(scene, *canvas, d);
    if (const PaletteLeafGL* palette = scene.findPalette())
        capturePalette(*palette, d);
    if (const GeoStrokeBuildCanvasCompositeGL* panel = scene.findBuildCanvas())
        for (const auto& image : panel->getElementImages())
            d.sketches.push_back({static_cast<int>(image.index), image.image.width, image.image.height,
                                  image.image.pixels});
    return d;
}

std::string restore(PictavoVisGL& scene, const PaintingData& d)
{
    CanvasCompositeGL* canvas = scene.findCanvas();
    if (canvas == nullptr)
        return "PaintingScene: the scene has no canvas";
    if (std::string problem = checkBuffers(*canvas, d); !problem.empty())
        return problem;

    if (const ComponentList* list = canvas->getLocalRenderList())
        for (std::size_t i = 0; i < list->slotCount(); ++i)
            if (auto* p = dynamic_cast<PrimitiveLeafGL*>((*list)[i]))
                canvas->scheduleDeletion(p);

    for (const BufferRecord& b : d.buffers)
        if (AbstractBuffer* buffer = CanvasBuffers::find(b.tag) ? canvas->getActiveBuffer(b.tag) : nullptr)
            restoreBuffer(*buffer, b);

    const std::map<int, int> indices = restoreSketches(scene, d);
    const float image = canvas->getControlValue(ControlCells::ElementImage);
    canvas->setControlValue(ControlCells::ElementImage,
                            static_cast<float>(mappedIndex(indices, static_cast<int>(image))));

    for (const PrimitiveRecord& r : d.primitives) {
        const int index = r.kind == RecordKind::Stroke ? mappedIndex(indices, r.texture) : -1;
        const unsigned texture = index >= 0 ? scene.getImageTextureIDAt(static_cast<std::size_t>(index)) : 0u;
        PrimitiveMaker::make(scene, *canvas, r, texture);
    }
    if (PaletteLeafGL* palette = scene.findPalette())
        restorePalette(*palette, d);
    return "";
}

} // namespace PaintingScene
