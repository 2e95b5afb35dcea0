// CanvasCompositeGL: what the context menu's "Modify" and "Create" do inside
// the lasso. Both act on the canvas buffers and primitives the way a brush
// held over the whole lasso would, limited to the cells inside it.
#include "CanvasCompositeGL.h"

#include "BufferTag.h"
#include "Random.h"
#include "ToolBrushLeafGL.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;
// The growth per frame of the Size mode when no contact has chosen one yet
// (a finger's).
constexpr float DefaultGrowth = 5.0f;
// A move vector is held this many frames; at the usual speed that carries a
// primitive about 100 pixels.
constexpr int MoveFrames = 60;
// The create amount of a canvas that has not been given one (cell
// CreateEraseAmount at start-up), and the create stamp's density factor.
constexpr float DefaultCreateAmount = 5.0f;
constexpr double CreateDensity = 1e-5;
// A size difference is held this many frames: a finger's 5 grows by 20.
constexpr int SizeFrames = 4;
// Scatter turns each cell's outward vector by up to this (radians).
constexpr float ScatterAngle = static_cast<float>(Pi / 6.0);

} // namespace

std::unique_ptr<BufferTemplate<bool>> CanvasCompositeGL::lassoMask(double& centreX, double& centreY) const
{
    const AbstractBuffer* grid = getActiveBuffer(ERASE_BUFFER);
    const std::vector<Vector2d> cells = lassoCells();
    if (grid == nullptr || cells.size() < 3)
        return nullptr;
    auto inside = std::make_unique<BufferTemplate<bool>>(grid->getWidth(), grid->getHeight());
    inside->fillComplexPolygonWithValue(cells.data(), static_cast<int>(cells.size()), true);
    centreX = centreY = 0.0;
    for (const Vector2d& c : cells) {
        centreX += c.x;
        centreY += c.y;
    }
    centreX /= static_cast<double>(cells.size());
    centreY /= static_cast<double>(cells.size());
    return inside;
}

bool CanvasCompositeGL::modifyInsideCurve()
{
    double cx = 0.0;
    double cy = 0.0;
    std::unique_ptr<BufferTemplate<bool>> inside = lassoMask(cx, cy);
    if (!inside)
        return false;
    // Vector fields: f(unit vector from the lasso's centre) per inside cell.
    const auto writeField = [&](int tag, auto field) {
        auto* buffer = getActiveBufferAs<float>(tag);
        if (buffer == nullptr)
            return false;
        for (int y = 0; y < inside->getHeight(); ++y)
            for (int x = 0; x < inside->getWidth(); ++x) {
                if (!inside->getValue(x, y))
                    continue;
                const double dx = x + 0.5 - cx;
                const double dy = y + 0.5 - cy;
                const double length = std::hypot(dx, dy);
                const float ux = length > 0.0 ? static_cast<float>(dx / length) : 0.0f;
                const float uy = length > 0.0 ? static_cast<float>(dy / length) : 0.0f;
                float vx = 0.0f;
                float vy = 0.0f;
                field(ux, uy, vx, vy);
                buffer->set2DValues(x, y, vx, vy);
            }
        return true;
    };
    const auto around = [](float ux, float uy, float& vx, float& vy) { vx = -uy, vy = ux; };

    switch (_curInteractionMode) {
    case InteractionMode::Size: {
        auto* diffs = getActiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER);
        if (diffs == nullptr)
            return false;
        float amount = getControlValue(ControlCells::SizeDifferenceAmount);
        if (amount == 0.0f)
            amount = DefaultGrowth;
        for (int y = 0; y < inside->getHeight(); ++y)
            for (int x = 0; x < inside->getWidth(); ++x)
                if (inside->getValue(x, y))
                    diffs->setValue(x, y, amount);
        _lassoSizeFrames = SizeFrames + 1;
        return true;
    }
    case InteractionMode::Orient: {
        const auto style =
            static_cast<OrientationStyle>(static_cast<int>(getControlValue(ControlCells::OrientationStyleCell)));
        const bool written = writeField(TEMP_ORIENTATION_BUFFER, [&](float ux, float uy, float& vx, float& vy) {
            if (style == OrientationStyle::Radial) {
                vx = ux;
                vy = uy;
            } else if (style == OrientationStyle::Random) {
                vx = 0.0f;
                vy = randomValue() % 2 == 0 ? 1.0f : -1.0f;
            } else {
                around(ux, uy, vx, vy);
            }
        });
        if (written)
            markOrientationPending();
        return written;
    }
    case InteractionMode::Move: {
        const auto style = static_cast<MoveStyle>(static_cast<int>(getControlValue(ControlCells::MoveStyleCell)));
        const bool written = writeField(DIRECTION_BUFFER, [&](float ux, float uy, float& vx, float& vy) {
            if (style == MoveStyle::Attraction) {
                vx = -ux;
                vy = -uy;
            } else if (style == MoveStyle::Repulsion) {
                vx = ux;
                vy = uy;
            } else if (style == MoveStyle::Scatter) {
                const float turn = static_cast<float>(randomUnit() * 2.0 - 1.0) * ScatterAngle;
                vx = std::cos(turn) * ux - std::sin(turn) * uy;
                vy = std::sin(turn) * ux + std::cos(turn) * uy;
            } else {
                around(ux, uy, vx, vy);
            }
        });
        if (written)
            _lassoMoveFrames = MoveFrames + 1;
        return written;
    }
    case InteractionMode::Color:
        colourInsideCurve();
        return true;
    default:
        return false;
    }
}

int CanvasCompositeGL::createInsideCurve()
{
    double cx = 0.0;
    double cy = 0.0;
    ToolBrushLeafGL* brush = getToolBrush(0);
    std::unique_ptr<BufferTemplate<bool>> inside = lassoMask(cx, cy);
    if (brush == nullptr || !inside)
        return 0;
    std::vector<std::pair<int, int>> cells;
    for (int y = 0; y < inside->getHeight(); ++y)
        for (int x = 0; x < inside->getWidth(); ++x)
            if (inside->getValue(x, y))
                cells.emplace_back(x, y);
    // As dense as a create stamp of the current amount: trunc(pi D^2 a 1e-5)
    // primitives over a disc of area pi D^2 / 4.
    float amount = getControlValue(ControlCells::CreateEraseAmount);
    if (!(amount > 0.0f))
        amount = DefaultCreateAmount;
    const double pixelsPerCell = getWidth() / std::max(1.0, getBufferXFromLocal(getWidth()) - getBufferXFromLocal(0.0));
    const double area = static_cast<double>(cells.size()) * pixelsPerCell * pixelsPerCell;
    const int count = static_cast<int>(4.0 * amount * CreateDensity * area);
    int made = 0;
    for (int i = 0; i < count && !cells.empty(); ++i) {
        // A random point of a random inside cell, in device pixels.
        const auto [cellX, cellY] = cells[static_cast<std::size_t>(std::rand()) % cells.size()];
        double x = 0.0;
        double y = 0.0;
        getDeviceCoordinates(getLocalXFromBuffer(cellX + randomUnit()), getLocalYFromBuffer(cellY + randomUnit()), x,
                             y);
        made += brush->createPrimitiveAt(x, y) ? 1 : 0;
    }
    return made;
}

void CanvasCompositeGL::stepLassoHolds()
{
    // A count of n lets n frames of primitive updates see the values; the
    // frame after them starts with the clear.
    const auto step = [](int& frames, auto clear) {
        if (frames == 1)
            clear();
        if (frames > 0)
            --frames;
    };
    step(_lassoMoveFrames, [this] {
        if (auto* directions = getActiveBufferAs<float>(DIRECTION_BUFFER))
            directions->fillEntireBufferWith2DValue(0.0f, 0.0f);
    });
    step(_lassoSizeFrames, [this] {
        if (auto* diffs = getActiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER))
            diffs->fillEntireBuffer(0.0f);
    });
}
