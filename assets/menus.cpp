// Menu textures: the context-menu button, the corner-menu panel and action
// icons, the rings drawn round the tool brush and the stroke-menu panel.
#include "icons.h"
#include "textures.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace textures {
namespace {

constexpr double kPi = 3.14159265358979323846;

QImage blank(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A translucent dark rounded panel with a light edge; `header` > 0 adds a
// lighter band of that height along the top.
QImage panel(int size, double radius, double header) {
  QImage image = blank(size, size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(3, 3, size - 6, size - 6);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, QColor(52, 60, 72, 225));
  fill.setColorAt(1.0, QColor(28, 32, 40, 225));
  p.setBrush(fill);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(r, radius, radius);
  if (header > 0) {
    QPainterPath face;
    face.addRoundedRect(r, radius, radius);
    QPainterPath top;
    top.addRect(QRectF(0, 0, size, header));
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawPath(face.intersected(top));
    p.setPen(QPen(QColor(214, 222, 232, 120), 2.0));
    p.drawLine(QPointF(r.left() + 10, header), QPointF(r.right() - 10, header));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(214, 222, 232, 235), 3.0));
  p.drawRoundedRect(r, radius, radius);
  p.setPen(QPen(QColor(255, 255, 255, 45), 1.5));
  p.drawRoundedRect(r.adjusted(5, 5, -5, -5), radius - 4, radius - 4);
  return image;
}

// ---- Rings round the tool brush -------------------------------------------

constexpr int kRingSize = 256;
constexpr double kRingOuter = 124.0, kRingInner = 90.0;

// Draws `mark` at `count` places round the ring, the first at `offsetDeg`
// (counter-clockwise from the right); the painter's x axis points clockwise
// along the ring and its y axis towards the centre, one unit being one pixel.
// Turning the painter by 360 * index / count undoes the ring's turn.
using RingMark = std::function<void(QPainter&, int index)>;

QImage ring(const QColor& accent, int count, double offsetDeg, const RingMark& mark) {
  QImage image = blank(kRingSize, kRingSize);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(kRingSize / 2.0, kRingSize / 2.0);
  QPainterPath band;
  band.addEllipse(c, kRingOuter, kRingOuter);
  band.addEllipse(c, kRingInner, kRingInner);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(22, 24, 28, 120));
  p.drawPath(band);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(accent, 2.5));
  p.drawEllipse(c, kRingOuter - 1.5, kRingOuter - 1.5);
  p.drawEllipse(c, kRingInner + 1.0, kRingInner + 1.0);

  const double mid = 0.5 * (kRingOuter + kRingInner);
  for (int i = 0; i < count; ++i) {
    const double a = offsetDeg + 360.0 * i / count;
    const double rad = a * kPi / 180.0;
    p.save();
    p.translate(c + QPointF(mid * std::cos(rad), -mid * std::sin(rad)));
    p.rotate(90.0 - a);
    p.scale(1.45, 1.45);
    mark(p, i);
    p.restore();
  }
  return image;
}

QPen markPen(const QColor& c, double w = 3.2) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void chevron(QPainter& p, const QColor& c, bool inward, double y0 = 0.0) {
  const double s = inward ? 1.0 : -1.0;
  p.setPen(markPen(c));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(-6, y0 - 4 * s), QPointF(0, y0 + 3 * s), QPointF(6, y0 - 4 * s)}));
}

void radialArrow(QPainter& p, const QColor& c, bool inward) {
  const double s = inward ? 1.0 : -1.0;
  p.setPen(markPen(c));
  p.drawLine(QPointF(0, -9 * s), QPointF(0, 3 * s));
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  const QPointF head[3] = {{0, 10 * s}, {-6, 1 * s}, {6, 1 * s}};
  p.drawPolygon(head, 3);
}

void writeRings(Output& out) {
  const QColor create(110, 214, 110), erase(255, 106, 90), orient(98, 176, 255), move(186, 146, 255),
      resize(255, 176, 58), diameter(63, 208, 192), primitive(255, 216, 74);
  const QString dir = QStringLiteral("textures/ringmenu/ring-menu-");
  auto save = [&](const QImage& image, const char* name) { out.save(image, dir + QLatin1String(name) + ".png"); };

  save(ring(create, 8, 90, [&](QPainter& p, int) {
         p.setPen(markPen(create, 3.6));
         p.drawLine(QPointF(-7, 0), QPointF(7, 0));
         p.drawLine(QPointF(0, -7), QPointF(0, 7));
       }), "create");
  save(ring(erase, 8, 90, [&](QPainter& p, int) {
         p.setPen(markPen(erase, 3.6));
         p.drawLine(QPointF(-5.5, -5.5), QPointF(5.5, 5.5));
         p.drawLine(QPointF(5.5, -5.5), QPointF(-5.5, 5.5));
       }), "erase");
  // Orientation: short dashes, all one way, along the ring, or across it.
  save(ring(orient, 12, 90, [&](QPainter& p, int i) {
         p.setPen(markPen(orient, 3.6));
         p.rotate(i * 30.0);   // every dash lies the same way
         p.drawLine(QPointF(-8, 0), QPointF(8, 0));
       }), "orient-follow");
  save(ring(orient, 12, 90, [&](QPainter& p, int) {
         p.setPen(markPen(orient, 3.6));
         p.drawLine(QPointF(-8, 0), QPointF(8, 0));
       }), "orient-circular");
  save(ring(orient, 12, 90, [&](QPainter& p, int) {
         p.setPen(markPen(orient, 3.6));
         p.drawLine(QPointF(0, -9), QPointF(0, 9));
       }), "orient-radial");
  save(ring(move, 8, 90, [&](QPainter& p, int i) {
         p.rotate(i * 45.0 - 90.0);   // every arrow points to the right
         radialArrow(p, move, true);
       }), "move-follow");
  save(ring(move, 8, 90, [&](QPainter& p, int) { radialArrow(p, move, true); }), "move-attraction");
  save(ring(move, 8, 90, [&](QPainter& p, int) { radialArrow(p, move, false); }), "move-repulsion");
  save(ring(resize, 8, 90, [&](QPainter& p, int) {
         chevron(p, resize, false, -3);
         chevron(p, resize, false, 4);
       }), "resize-bigger");
  save(ring(resize, 8, 90, [&](QPainter& p, int) {
         chevron(p, resize, true, -4);
         chevron(p, resize, true, 3);
       }), "resize-smaller");
  save(ring(diameter, 4, 45, [&](QPainter& p, int) {
         radialArrow(p, diameter, false);
         p.translate(0, 2);
         p.rotate(180);
         radialArrow(p, diameter, false);
       }), "change-diameter");
  save(ring(primitive, 6, 90, [&](QPainter& p, int i) {
         p.setPen(Qt::NoPen);
         p.setBrush(primitive);
         if (i % 3 == 0) {
           drawGlyph(p, Glyph::PrimitiveStroke, QRectF(-10, -10, 20, 20), primitive, Qt::transparent);
         } else if (i % 3 == 1) {
           p.drawRect(QRectF(-6, -6, 12, 12));
         } else {
           p.drawEllipse(QPointF(0, 0), 6.5, 6.5);
         }
       }), "change-primitive");
}

// ---- Panels and icons -------------------------------------------------------

void writeContextAndCornerMenus(Output& out) {
  // One button face for the context menu's five squares; the program writes
  // the label over it, so it stays plain.
  out.save(panel(128, 16, 0), QStringLiteral("textures/contextmenu/texture0.png"));
  out.save(panel(256, 28, 0), QStringLiteral("textures/contextmenu/background.png"));
  out.save(badgeIcon(Glyph::None, Badge::Empty), QStringLiteral("textures/contextmenu/dummy.png"));
  const struct {
    const char* file;
    Glyph glyph;
  } actions[] = {
      {"create", Glyph::Create},
      {"erase", Glyph::Erase},
      {"orient-follow", Glyph::OrientFollow},
      {"orient-circular", Glyph::OrientCircular},
      {"orient-radial", Glyph::OrientRadial},
      {"move-follow", Glyph::MoveFollow},
      {"move-attraction", Glyph::Attraction},
      {"move-repulsion", Glyph::Repulsion},
      {"resize-bigger", Glyph::ResizeBigger},
      {"resize-smaller", Glyph::ResizeSmaller},
  };
  for (const auto& a : actions)
    out.save(badgeIcon(a.glyph, Badge::Menu),
             QStringLiteral("textures/contextmenu/") + QLatin1String(a.file) + QStringLiteral(".png"));
}

void writeStrokeMenu(Output& out) {
  out.save(panel(512, 36, 80), QStringLiteral("textures/strokemenu/background.png"));
  out.save(badgeIcon(Glyph::Tick, Badge::Accept), QStringLiteral("textures/strokemenu/accept.png"));
  out.save(badgeIcon(Glyph::Cross, Badge::Cancel), QStringLiteral("textures/strokemenu/cancel.png"));
  out.save(badgeIcon(Glyph::Pencil, Badge::Menu), QStringLiteral("textures/strokemenu/sketch.png"));
}

}  // namespace

void writeMenus(Output& out) {
  writeContextAndCornerMenus(out);
  writeRings(out);
  writeStrokeMenu(out);
}

}  // namespace textures
