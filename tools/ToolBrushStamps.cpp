// ToolBrushLeafGL: the per-cell loops that write the canvas buffers over the
// footprint, the clears that undo them, and the mask and vector fields built
// from the profile. Each loop runs over contiguous rows with selects instead
// of branches so that it vectorises; where two values per cell make a select
// awkward, inactive cells are blended with weight 0 (exact for the finite
// values these buffers hold).
#include "ToolBrushLeafGL.h"

#include "BufferTag.h"
#include "BufferTemplate.h"
#include "Random.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

constexpr float Threshold = static_cast<float>(ToolBrushLeafGL::ActiveThreshold);
constexpr float MinimumStampedSize = 4.0f;     // sizes never drop to this or below
constexpr unsigned char NeutralTemporaryColor = 127;
constexpr int FollowDistance = 10;             // cells the follow style needs per frame
constexpr int MaximumSpeed = 14;
constexpr float SpeedStep = 10.0f;             // cells per frame per speed step
constexpr float JitterAngle = 0.7853981633974483f;   // 45 degrees

// Row r of a footprint: the index of its first cell in the brush grid
// (width brushWidth) and in a canvas grid (width canvasWidth), in cells.
struct Rows
{
    const ToolBrushLeafGL::Footprint& f;
    int brushWidth;
    int canvasWidth;
    std::size_t brush(int r) const
    {
        return static_cast<std::size_t>(f.brushY + r) * static_cast<std::size_t>(brushWidth)
             + static_cast<std::size_t>(f.brushX);
    }
    std::size_t canvas(int r) const
    {
        return static_cast<std::size_t>(f.canvasY + r) * static_cast<std::size_t>(canvasWidth)
             + static_cast<std::size_t>(f.canvasX);
    }
};

// Whether a canvas grid holds the whole footprint (it was clipped to the
// parent's grid, which every canvas buffer but the control table shares).
bool fits(const AbstractBuffer* buffer, const ToolBrushLeafGL::Footprint& f)
{
    return buffer != nullptr && f.canvasX + f.width <= buffer->getWidth()
        && f.canvasY + f.height <= buffer->getHeight();
}

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

} // namespace

// ---- Written flags and clears ----

void ToolBrushLeafGL::markWritten(Target target, const Footprint& f)
{
    CellRect& r = _writtenCells[target];
    const CellRect now{f.canvasX, f.canvasY, f.canvasX + f.width - 1, f.canvasY + f.height - 1};
    if (r.empty())
        r = now;
    else
        r = {std::min(r.x0, now.x0), std::min(r.y0, now.y0), std::max(r.x1, now.x1), std::max(r.y1, now.y1)};
    _written[target] = true;
}

void ToolBrushLeafGL::clearTarget(Target target)
{
    if (!_written[target])
        return;
    const CellRect r = _writtenCells[target];
    switch (target) {
    case TargetErase:
        if (auto* b = getPassiveBufferAs<float>(ERASE_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetDirection:
        if (auto* b = getPassiveBufferAs<float>(DIRECTION_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetSizeDifference:
        if (auto* b = getPassiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetTemporaryColor:
        // Back to the neutral grey: primitives ignore cells whose red is 127.
        if (auto* b = getPassiveBufferAs<unsigned char>(TEMP_COLOR_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, NeutralTemporaryColor);
        break;
    case TargetSelection:
        if (auto* b = getPassiveBufferAs<bool>(SELECTION_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, false);
        break;
    case TargetDropoff:
        if (auto* b = getPassiveBufferAs<float>(DROPOFF_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetGradientOrientation:
        if (auto* b = getPassiveBufferAs<float>(GRADIENT_ORIENTATION_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetTemporaryOrientation:
        if (auto* b = getPassiveBufferAs<float>(TEMP_ORIENTATION_BUFFER))
            b->fillRectWithValue(r.x0, r.y0, r.x1, r.y1, 0.0f);
        break;
    case TargetCount:
        break;
    }
    _written[target] = false;
    _writtenCells[target] = {};
}

void ToolBrushLeafGL::clearErase() { clearTarget(TargetErase); }
void ToolBrushLeafGL::clearDirection() { clearTarget(TargetDirection); }
void ToolBrushLeafGL::clearSizeDifference() { clearTarget(TargetSizeDifference); }
void ToolBrushLeafGL::clearTemporaryColor() { clearTarget(TargetTemporaryColor); }
void ToolBrushLeafGL::clearSelection() { clearTarget(TargetSelection); }
void ToolBrushLeafGL::clearDropoff() { clearTarget(TargetDropoff); }
void ToolBrushLeafGL::clearGradientOrientation() { clearTarget(TargetGradientOrientation); }
void ToolBrushLeafGL::clearTemporaryOrientation() { clearTarget(TargetTemporaryOrientation); }

// ---- Stamps ----

void ToolBrushLeafGL::writeSelection(const Footprint& f)
{
    auto* selection = getPassiveBufferAs<bool>(SELECTION_BUFFER);
    if (!fits(selection, f))
        return;
    const Rows rows{f, _profileWidth, selection->getWidth()};
    for (int r = 0; r < f.height; ++r) {
        bool* s = selection->cells() + rows.canvas(r);
        std::fill(s, s + f.width, true);
    }
    markWritten(TargetSelection, f);
}

void ToolBrushLeafGL::stampSize(const Footprint& f, float amount)
{
    auto* size = getPassiveBufferAs<float>(SIZE_BUFFER);
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    if (!fits(size, f))
        return;
    const Rows rows{f, _profileWidth, size->getWidth()};
    const int n = f.width;
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict d = profile->cells() + rows.brush(r);
        float* __restrict s = size->cells() + rows.canvas(r);
        for (int i = 0; i < n; ++i) {
            const float grown = d[i] * amount + s[i];
            const bool keep = (d[i] > Threshold) & (grown > MinimumStampedSize);
            s[i] = keep ? grown : s[i];
        }
    }
}

void ToolBrushLeafGL::stampColor(const Footprint& f)
{
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    const float paint[3] = {control(ControlCells::PaintRed), control(ControlCells::PaintGreen),
                            control(ControlCells::PaintBlue)};
    // Rows of paint and of the working colour, three values per cell, so
    // the per-cell loops run over plain contiguous channel values.
    const auto channels = 3 * static_cast<std::size_t>(f.width);
    std::vector<float> paintRow(channels);
    std::vector<unsigned char> tempRow(channels);
    for (std::size_t j = 0; j < channels; ++j) {
        paintRow[j] = paint[j % 3];
        tempRow[j] = toByte(paint[j % 3]);
    }
    auto* color = getPassiveBufferAs<unsigned char>(COLOR_BUFFER);
    if (fits(color, f)) {
        const Rows rows{f, _profileWidth, color->getWidth()};
        const int n = f.width;
        std::vector<float> weightRow(channels);
        for (int r = 0; r < f.height; ++r) {
            // Inactive cells have weight 0 and keep their colour.
            const float* __restrict d = profile->cells() + rows.brush(r);
            float* __restrict w = weightRow.data();
            for (int i = 0; i < n; ++i) {
                const float weight = std::min(d[i], 1.0f) * (d[i] > Threshold ? 1.0f : 0.0f);
                w[3 * i] = weight;
                w[3 * i + 1] = weight;
                w[3 * i + 2] = weight;
            }
            const float* __restrict p = paintRow.data();
            unsigned char* __restrict c = color->cells() + 3 * rows.canvas(r);
            for (std::size_t j = 0; j < channels; ++j)
                c[j] = static_cast<unsigned char>(static_cast<float>(c[j]) * (1.0f - w[j]) + p[j] * w[j] + 0.5f);
        }
    }
    // The working colour and the weights once per frame, over the footprint.
    if (_written[TargetTemporaryColor])
        return;
    if (auto* temp = getPassiveBufferAs<unsigned char>(TEMP_COLOR_BUFFER); fits(temp, f)) {
        const Rows rows{f, _profileWidth, temp->getWidth()};
        for (int r = 0; r < f.height; ++r)
            std::memcpy(temp->cells() + 3 * rows.canvas(r), tempRow.data(), channels);
        markWritten(TargetTemporaryColor, f);
    }
    if (auto* dropoff = getPassiveBufferAs<float>(DROPOFF_BUFFER); fits(dropoff, f)) {
        const Rows rows{f, _profileWidth, dropoff->getWidth()};
        for (int r = 0; r < f.height; ++r)
            std::memcpy(dropoff->cells() + rows.canvas(r), profile->cells() + rows.brush(r),
                        static_cast<std::size_t>(f.width) * sizeof(float));
        markWritten(TargetDropoff, f);
    }
}

void ToolBrushLeafGL::stampEraseMask(const Footprint& f, float amount)
{
    auto* erase = getPassiveBufferAs<float>(ERASE_BUFFER);
    const auto* mask = getActiveBufferAs<float>(STAMP_MASK_BUFFER);
    if (!fits(erase, f) || mask == nullptr)
        return;
    const float strength = -amount;
    const int n = f.width;
    const Rows rows{f, _profileWidth, erase->getWidth()};
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict m = mask->cells() + rows.brush(r);
        float* __restrict e = erase->cells() + rows.canvas(r);
        for (int i = 0; i < n; ++i)
            e[i] = strength * m[i];
    }
    // The canvas shows marks to one frame of primitives, then clears them.
    erase->invalidate();
    markWritten(TargetErase, f);
}

bool ToolBrushLeafGL::stampMove(const Footprint& f, MoveStyle style)
{
    auto* direction = getPassiveBufferAs<float>(DIRECTION_BUFFER);
    if (!fits(direction, f))
        return false;
    const Rows rows{f, _profileWidth, direction->getWidth()};
    if (style == MoveStyle::Attraction || style == MoveStyle::Repulsion || style == MoveStyle::Scatter) {
        static constexpr int Fields[] = {MOVE_FIELD_0_BUFFER, MOVE_FIELD_1_BUFFER, MOVE_FIELD_2_BUFFER};
        const auto* field = getActiveBufferAs<float>(Fields[static_cast<int>(style)]);
        if (field == nullptr)
            return false;
        for (int r = 0; r < f.height; ++r)
            std::memcpy(direction->cells() + 2 * rows.canvas(r), field->cells() + 2 * rows.brush(r),
                        2 * static_cast<std::size_t>(f.width) * sizeof(float));
        return true;
    }
    if (style != MoveStyle::Follow && style != MoveStyle::FollowAlternate)
        return false;
    // The brush's motion since the last frame as a unit vector (scaling by
    // the profile first does not change the direction).
    double x = 0.0, y = 0.0, px = 0.0, py = 0.0;
    deviceToCanvasCell(getXPos(), getYPos(), x, y);
    deviceToCanvasCell(_lastX, _lastY, px, py);
    const double length = std::hypot(x - px, y - py);
    const float ux = length > 0.0 ? static_cast<float>((x - px) / length) : 0.0f;
    const float uy = length > 0.0 ? static_cast<float>((y - py) / length) : 0.0f;
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    const int n = f.width;
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict d = profile->cells() + rows.brush(r);
        float* __restrict v = direction->cells() + 2 * rows.canvas(r);
        for (int i = 0; i < n; ++i) {
            const float m = d[i] > Threshold ? 1.0f : 0.0f;
            v[2 * i] = v[2 * i] * (1.0f - m) + ux * m;
            v[2 * i + 1] = v[2 * i + 1] * (1.0f - m) + uy * m;
        }
    }
    return true;
}

void ToolBrushLeafGL::stampOrientation(const Footprint& f, OrientationStyle style, float moveX, float moveY)
{
    auto* orientation = getPassiveBufferAs<float>(TEMP_ORIENTATION_BUFFER);
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    if (!fits(orientation, f) || profile == nullptr)
        return;
    const Rows rows{f, _profileWidth, orientation->getWidth()};
    // (u, v): -1 at the brush's left and bottom edges, steps of 2 / size.
    const float du = 2.0f / static_cast<float>(_profileWidth);
    const float dv = 2.0f / static_cast<float>(_profileHeight);
    const float moveLength = std::hypot(moveX, moveY);
    const float fx = moveLength > 0.0f ? moveX / moveLength : 0.0f;
    const float fy = moveLength > 0.0f ? moveY / moveLength : 0.0f;
    const int n = f.width;
    int noise = static_cast<int>(std::lround(static_cast<double>(randomValue()) / 32767.0 * 256.0));
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict d = profile->cells() + rows.brush(r);
        float* __restrict o = orientation->cells() + 2 * rows.canvas(r);
        const float v = -1.0f + static_cast<float>(f.brushY + r) * dv;
        const float u0 = -1.0f + static_cast<float>(f.brushX) * du;
        const float negativeInverseV = v != 0.0f ? -1.0f / v : 0.0f;   // slope 0 on the middle row
        const float flip = v > 0.0f ? -1.0f : 1.0f;
        switch (style) {
        case OrientationStyle::Radial:
            for (int i = 0; i < n; ++i) {
                const float u = u0 + static_cast<float>(i) * du;
                const float length = std::sqrt(u * u + v * v);
                const float inverse = (length > 0.0f ? 1.0f : 0.0f) / std::max(length, FLT_MIN);
                const float m = d[i] > Threshold ? 1.0f : 0.0f;
                o[2 * i] = o[2 * i] * (1.0f - m) + u * inverse * m;
                o[2 * i + 1] = o[2 * i + 1] * (1.0f - m) + v * inverse * m;
            }
            break;
        case OrientationStyle::Circular:
            // Tangents round the centre: (1, s) normalised with s = -u / v,
            // turned round above the centre.
            for (int i = 0; i < n; ++i) {
                const float u = u0 + static_cast<float>(i) * du;
                const float slope = u * negativeInverseV;
                const float scale = flip / std::sqrt(slope * slope + 1.0f);
                const float m = d[i] > Threshold ? 1.0f : 0.0f;
                o[2 * i] = o[2 * i] * (1.0f - m) + scale * m;
                o[2 * i + 1] = o[2 * i + 1] * (1.0f - m) + slope * scale * m;
            }
            break;
        case OrientationStyle::Random:
            // The noise index moves on only at active cells: a serial walk.
            for (int i = 0; i < n; ++i) {
                if (!(d[i] > Threshold))
                    continue;
                const float n = _noise[static_cast<std::size_t>(noise)];
                o[2 * i] = 0.0f;
                o[2 * i + 1] = static_cast<float>((n > 0.0f) - (n < 0.0f));
                noise = (noise + 3) % NoiseCount;
            }
            break;
        default:
            for (int i = 0; i < n; ++i) {
                const float m = d[i] > Threshold ? 1.0f : 0.0f;
                o[2 * i] = o[2 * i] * (1.0f - m) + fx * m;
                o[2 * i + 1] = o[2 * i + 1] * (1.0f - m) + fy * m;
            }
            break;
        }
    }
    if (style != OrientationStyle::Follow)
        return;
    // The follow style also sets the speed: one step per ten cells of motion.
    auto* speed = getPassiveBufferAs<int>(SPEED_BUFFER);
    if (!fits(speed, f))
        return;
    const int value = std::min(MaximumSpeed, static_cast<int>(moveLength / SpeedStep));
    const Rows speedRows{f, _profileWidth, speed->getWidth()};
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict d = profile->cells() + speedRows.brush(r);
        int* __restrict s = speed->cells() + speedRows.canvas(r);
        for (int i = 0; i < n; ++i) {
            const int old = s[i];
            s[i] = d[i] > Threshold ? value : old;
        }
    }
}

void ToolBrushLeafGL::writeSizeDifference(int x, int y, float amount, bool flag)
{
    auto* diff = getPassiveBufferAs<float>(SIZE_ABS_DIFF_BUFFER);
    if (diff == nullptr) {
        std::cout << "parentSizeDiffBuffer does not exist!" << std::endl;
        return;
    }
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    const Footprint f = footprintAtCell(x + 0.5, y + 0.5);
    if (f.empty() || !fits(diff, f) || profile == nullptr)
        return;
    const Rows rows{f, _profileWidth, diff->getWidth()};
    const int n = f.width;
    for (int r = 0; r < f.height; ++r) {
        const float* __restrict d = profile->cells() + rows.brush(r);
        float* __restrict s = diff->cells() + rows.canvas(r);
        for (int i = 0; i < n; ++i) {
            const float scaled = d[i] * amount;
            const float old = s[i];
            s[i] = d[i] > Threshold ? scaled : old;
        }
    }
    if (flag) {
        markWritten(TargetSizeDifference, f);
    } else {
        _written[TargetSizeDifference] = false;
        _writtenCells[TargetSizeDifference] = {};
    }
}

// ---- Mask and vector fields ----

void ToolBrushLeafGL::buildMaskAndFields()
{
    const auto* profile = getActiveBufferAs<float>(DROPOFF_BUFFER);
    auto* mask = getActiveBufferAs<float>(STAMP_MASK_BUFFER);
    auto* towards = getActiveBufferAs<float>(MOVE_FIELD_0_BUFFER);
    auto* away = getActiveBufferAs<float>(MOVE_FIELD_1_BUFFER);
    auto* scatter = getActiveBufferAs<float>(MOVE_FIELD_2_BUFFER);
    if (profile == nullptr || mask == nullptr || towards == nullptr || away == nullptr || scatter == nullptr)
        return;
    const int w = profile->getWidth();
    const int h = profile->getHeight();
    // Offsets from the focus, measured between cell centres.
    const float fx = 0.5f * static_cast<float>(w);
    const float fy = 0.5f * static_cast<float>(h);
    for (int y = 0; y < h; ++y) {
        const float dy = static_cast<float>(y) + 0.5f - fy;
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(w)
                                + static_cast<std::size_t>(x);
            const float d = profile->cells()[i];
            const float a = d > Threshold ? d : 0.0f;
            const float dx = static_cast<float>(x) + 0.5f - fx;
            const float length = std::sqrt(dx * dx + dy * dy);
            const float ux = length > 0.0f ? dx / length : 0.0f;
            const float uy = length > 0.0f ? dy / length : 0.0f;
            const float turn = (static_cast<float>(randomValue()) / 32767.0f * 2.0f - 1.0f) * JitterAngle;
            const float c = std::cos(turn);
            const float s = std::sin(turn);
            mask->cells()[i] = d > Threshold ? 1.0f : 0.0f;
            towards->cells()[2 * i] = -ux * a;
            towards->cells()[2 * i + 1] = -uy * a;
            away->cells()[2 * i] = ux * a;
            away->cells()[2 * i + 1] = uy * a;
            scatter->cells()[2 * i] = (c * ux - s * uy) * a;
            scatter->cells()[2 * i + 1] = (s * ux + c * uy) * a;
        }
    }
}
