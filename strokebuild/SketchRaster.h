// SketchRaster: turns sketched strokes into a square RGBA element image (white
// shape, alpha coverage) that new primitives wear. GL-free.
#pragma once

#include "ImageIO.h"
#include "Stroke2d.h"

#include <memory>
#include <vector>

namespace SketchRaster {

// The image side the build canvas uses.
inline constexpr int ImageSide = 512;

// Draws the strokes into a side x side image, bottom row first. The bounding box
// of everything drawn is scaled uniformly to fill the image (centred, a small
// margin kept), so a small sketch still gives a full-size element. asStrips
// draws the outline strips of strokes with more than six points; otherwise
// every control point is a disc of its radius. Edges are smoothed by 2 x 2
// samples per pixel. An image with nothing to draw is fully transparent.
RGBAImage render(const std::vector<std::unique_ptr<Stroke2d>>& strokes, bool asStrips, int side = ImageSide);

} // namespace SketchRaster
