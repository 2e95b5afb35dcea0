// Pictograms shared by the palette, the menus and the task images, and the
// round badge that most icons sit on.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace textures {

enum class Glyph {
  None,
  StrokeMode,
  Save,
  EmptyCanvas,
  EmptyCanvasApply,
  Layer,
  Diameter,
  CreateErase,
  Size,
  Orientation,
  Gravitate,
  Orbit,
  Random,
  Attraction,
  Repulsion,
  DirectionFollow,
  DirectionRandom,
  ClearMixingArea,
  OrientRadial,
  OrientCircular,
  OrientFollow,
  DirectionStyle,
  Mode,
  PrimitiveType,
  PrimitiveStroke,
  PrimitiveTile,
  PrimitivePoint,
  Create,
  Erase,
  MoveFollow,
  ResizeBigger,
  ResizeSmaller,
  Tick,
  Cross,
  Pencil,
  WasteBasket,
};

// Draws `glyph` inside `box` in `ink`; `ground` fills cut-outs and the insides
// of outlined shapes, so pass the colour the glyph sits on.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink, const QColor& ground);

enum class Badge {
  Normal,    // cream disc, dark ink: a palette tool at rest
  Active,    // orange disc with a glowing rim, white ink: the tool in use
  Menu,      // cool blue-grey disc: corner-menu actions
  Empty,     // faint dashed disc without a glyph: a neutral place holder
  Accept,    // green disc, white ink
  Cancel,    // red disc, white ink
};

// A square icon of `size` pixels: a round badge with the glyph on it, fully
// transparent at the corners.
QImage badgeIcon(Glyph glyph, Badge badge, int size = 128);

}  // namespace textures
