// PaintingExport: the scene drawn off-screen at a multiple of its screen
// size, as a picture or a PNG file.
#pragma once

#include "RGBAImage.h"

#include <string>

class TabletopVis;

namespace PaintingExport {

// Draws the scene into a framebuffer of scale times its screen size (the
// projection spans the screen, so everything scales) and reads it back,
// rows from the bottom up, alpha 255. Needs the scene's context current;
// the bound framebuffer, viewport and matrices are restored. Empty when no
// framebuffer of that size can be made.
RGBAImage render(TabletopVis& scene, unsigned users, int scale);

// render, then the picture as a PNG file. Returns "" or one line saying why not.
std::string exportPng(TabletopVis& scene, unsigned users, int scale, const std::string& path);

} // namespace PaintingExport
