// PaintingScene: takes a painting out of a scene and puts one back. Knows the
// canvas, its primitives, the palette and the sketch panel; reading and
// writing files is PaintingFile's.
#pragma once

#include "PaintingData.h"

#include <string>

class PictavoVisGL;

namespace PaintingScene {

// The painting the scene shows: the first canvas's size and buffers, its
// primitives (those not on their way out) in render order, the first
// palette's mixed paints and links and the sketch panel's element images.
// A scene without a canvas gives an empty painting.
PaintingData capture(const PictavoVisGL& scene);

// Replaces the scene's painting by data: the current primitives are queued
// for deletion (gone at the canvas's next frame), the buffers take the saved
// cells (the overlap when the grids differ), sketched images are registered
// again, and the palette's mixed paints and links are replaced. Returns ""
// or, when the scene cannot take the painting, one line saying why, and then
// nothing was changed.
std::string restore(PictavoVisGL& scene, const PaintingData& data);

} // namespace PaintingScene
