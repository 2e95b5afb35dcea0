// Pictograms and badges, and the palette's tool icons in their normal and
// active variants.
#include "icons.h"
#include "textures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace textures {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLine = 0.13;   // stroke width in glyph units (the box is -1..1)

QPen pen(const QColor& c, double width = kLine, Qt::PenCapStyle cap = Qt::RoundCap) {
  return QPen(c, width, Qt::SolidLine, cap, Qt::RoundJoin);
}

QPointF polar(QPointF centre, double radius, double degrees) {
  const double a = degrees * kPi / 180.0;
  return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

// Filled arrow head with its tip at `tip`, pointing along `dir` (any length).
void arrowHead(QPainter& p, QPointF tip, QPointF dir, const QColor& ink, double size = 0.3) {
  const double len = std::hypot(dir.x(), dir.y());
  const QPointF d = dir / len, n(-d.y(), d.x());
  const QPointF base = tip - d * size;
  const QPointF pts[3] = {tip, base + n * size * 0.62, base - n * size * 0.62};
  p.save();
  p.setPen(pen(ink, kLine * 0.5));
  p.setBrush(ink);
  p.drawPolygon(pts, 3);
  p.restore();
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& ink, double head = 0.3) {
  const QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  p.setPen(pen(ink));
  p.drawLine(from, to - d / len * head * 0.7);
  arrowHead(p, to, d, ink, head);
}

// An arc from `startDeg` sweeping `spanDeg` (counter-clockwise when positive)
// with a head at its end.
void arcArrow(QPainter& p, QPointF centre, double r, double startDeg, double spanDeg, const QColor& ink,
              double head = 0.3) {
  const double trim = (head * 0.7 / r) * 180.0 / kPi * (spanDeg > 0 ? 1 : -1);
  QPainterPath path;
  path.arcMoveTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), startDeg);
  path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), startDeg, spanDeg - trim);
  p.setPen(pen(ink));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  const double end = (startDeg + spanDeg) * kPi / 180.0;
  const double sense = spanDeg > 0 ? 1.0 : -1.0;
  arrowHead(p, polar(centre, r, startDeg + spanDeg), QPointF(-std::sin(end), -std::cos(end)) * sense, ink,
            head);
}

// A short oriented dash, the symbol of one stroke primitive.
void bar(QPainter& p, QPointF centre, double degrees, double length, const QColor& ink, double width = kLine) {
  const QPointF h = polar(QPointF(0, 0), length / 2, degrees);
  p.setPen(pen(ink, width));
  p.drawLine(centre - h, centre + h);
}

// A tapered brush mark from `a` to `b`, thick at `a`.
void brushMark(QPainter& p, QPointF a, QPointF b, double width, const QColor& ink) {
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  const QPointF n = QPointF(-d.y(), d.x()) / len * (width / 2);
  QPainterPath mark;
  mark.moveTo(a + n);
  mark.quadTo(a + d * 0.5 + n * 1.1, b);
  mark.quadTo(a + d * 0.5 - n * 1.1, a - n);
  mark.quadTo(a - d / len * width * 0.6, a + n);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(mark);
}

void sheet(QPainter& p, const QColor& ink, const QColor& ground) {
  QPainterPath page;
  page.moveTo(-0.55, -0.78);
  page.lineTo(0.25, -0.78);
  page.lineTo(0.55, -0.48);
  page.lineTo(0.55, 0.78);
  page.lineTo(-0.55, 0.78);
  page.closeSubpath();
  p.setPen(pen(ink));
  p.setBrush(ground.lighter(108));
  p.drawPath(page);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(0.25, -0.78), QPointF(0.25, -0.48), QPointF(0.55, -0.48)}));
}

void tick(QPainter& p, QPointF centre, double scale, const QColor& ink, double width) {
  p.setPen(pen(ink, width));
  p.drawPolyline(QPolygonF({centre + QPointF(-0.6, 0.0) * scale, centre + QPointF(-0.18, 0.42) * scale,
                            centre + QPointF(0.62, -0.45) * scale}));
}

void fourArrows(QPainter& p, bool inward, const QColor& ink) {
  for (int k = 0; k < 4; ++k) {
    const double a = 45.0 + 90.0 * k;
    const QPointF outer = polar(QPointF(0, 0), 0.92, a), inner = polar(QPointF(0, 0), 0.42, a);
    inward ? arrow(p, outer, inner, ink, 0.32) : arrow(p, inner, outer, ink, 0.32);
  }
}

void die(QPainter& p, QPointF centre, double half, double degrees, int pips, const QColor& ink,
         const QColor& ground) {
  p.save();
  p.translate(centre);
  p.rotate(degrees);
  p.setPen(pen(ink, kLine * 0.8));
  p.setBrush(ground.lighter(110));
  p.drawRoundedRect(QRectF(-half, -half, 2 * half, 2 * half), half * 0.3, half * 0.3);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  const double o = half * 0.5, r = half * 0.16;
  const QPointF spots5[5] = {{-o, -o}, {o, -o}, {0, 0}, {-o, o}, {o, o}};
  const QPointF spots3[3] = {{-o, -o}, {0, 0}, {o, o}};
  for (int i = 0; i < pips; ++i)
    p.drawEllipse(pips == 5 ? spots5[i] : spots3[i], r, r);
  p.restore();
}

void drawInUnitBox(QPainter& p, Glyph glyph, const QColor& ink, const QColor& ground) {
  const QPointF o(0, 0);
  switch (glyph) {
    case Glyph::None:
      break;
    case Glyph::StrokeMode: {
      // A brush laying down a wavy stroke.
      QPainterPath trail;
      trail.moveTo(-0.85, 0.62);
      trail.cubicTo(-0.5, 0.2, -0.2, 0.95, 0.15, 0.45);
      p.setPen(pen(ink, 0.2));
      p.drawPath(trail);
      p.setPen(pen(ink, 0.16));
      p.drawLine(QPointF(0.35, 0.05), QPointF(0.85, -0.7));
      brushMark(p, QPointF(0.38, 0.02), QPointF(0.12, 0.42), 0.34, ink);
      break;
    }
    case Glyph::Save: {
      QPainterPath body;
      body.moveTo(-0.75, -0.75);
      body.lineTo(0.5, -0.75);
      body.lineTo(0.75, -0.5);
      body.lineTo(0.75, 0.75);
      body.lineTo(-0.75, 0.75);
      body.closeSubpath();
      p.setPen(pen(ink, 0.08));
      p.setBrush(ink);
      p.drawPath(body);
      p.setPen(Qt::NoPen);
      p.setBrush(ground);
      p.drawRect(QRectF(-0.42, -0.75, 0.8, 0.45));
      p.setBrush(ink);
      p.drawRect(QRectF(0.12, -0.68, 0.16, 0.31));
      p.setBrush(ground);
      p.drawRoundedRect(QRectF(-0.52, 0.08, 1.04, 0.6), 0.06, 0.06);
      p.setPen(pen(ink, 0.06));
      for (double y : {0.26, 0.42})
        p.drawLine(QPointF(-0.38, y), QPointF(0.38, y));
      break;
    }
    case Glyph::EmptyCanvas:
      sheet(p, ink, ground);
      break;
    case Glyph::EmptyCanvasApply:
      p.save();
      p.translate(-0.15, -0.05);
      p.scale(0.85, 0.85);
      sheet(p, ink, ground);
      p.restore();
      p.setPen(Qt::NoPen);
      p.setBrush(ground);
      p.drawEllipse(QPointF(0.45, 0.48), 0.48, 0.48);
      tick(p, QPointF(0.45, 0.48), 0.6, ink, 0.16);
      break;
    case Glyph::Layer:
      for (int k = 2; k >= 0; --k) {
        const double y = -0.45 + 0.42 * k;
        const QPointF pts[4] = {{0, y - 0.38}, {0.85, y}, {0, y + 0.38}, {-0.85, y}};
        p.setPen(pen(ink, 0.1));
        p.setBrush(k == 0 ? ink : ground);
        p.drawPolygon(pts, 4);
      }
      break;
    case Glyph::Diameter:
      p.setPen(pen(ink, 0.1));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(o, 0.8, 0.8);
      arrow(p, o, QPointF(0.7, 0), ink, 0.3);
      arrow(p, o, QPointF(-0.7, 0), ink, 0.3);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.09, 0.09);
      break;
    case Glyph::CreateErase:
      p.setPen(pen(ink, 0.17));
      p.drawLine(QPointF(-0.48, -0.8), QPointF(-0.48, -0.12));
      p.drawLine(QPointF(-0.82, -0.46), QPointF(-0.14, -0.46));
      p.drawLine(QPointF(0.14, 0.46), QPointF(0.82, 0.46));
      p.setPen(pen(ink, 0.08));
      p.drawLine(QPointF(0.55, -0.6), QPointF(-0.55, 0.6));
      break;
    case Glyph::Size:
      p.setPen(pen(ink, 0.1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(-0.8, -0.8, 1.6, 1.6));
      p.setBrush(ink);
      p.drawRect(QRectF(-0.8, 0.2, 0.6, 0.6));
      arrow(p, QPointF(-0.05, 0.05), QPointF(0.6, -0.6), ink, 0.32);
      break;
    case Glyph::Orientation:
      bar(p, o, 35, 0.9, ink, 0.2);
      arcArrow(p, o, 0.75, 110, 250, ink, 0.32);
      break;
    case Glyph::Gravitate: {
      // A path spiralling into a central mass.
      QPainterPath spiral;
      QPointF last, beforeLast;
      for (int i = 0; i <= 60; ++i) {
        const double turn = 2.3 * kPi * i / 60.0;
        const QPointF q = polar(o, 0.86 - 0.5 * i / 60.0, 150.0 - turn * 180.0 / kPi);
        i == 0 ? spiral.moveTo(q) : spiral.lineTo(q);
        beforeLast = last;
        last = q;
      }
      p.setPen(pen(ink, 0.12));
      p.drawPath(spiral);
      arrowHead(p, last + (last - beforeLast) * 2.0, last - beforeLast, ink, 0.3);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.2, 0.2);
      p.drawEllipse(polar(o, 0.86, 150.0), 0.13, 0.13);
      break;
    }
    case Glyph::Orbit: {
      p.save();
      p.rotate(-20);
      p.setPen(pen(ink, 0.09));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(o, 0.9, 0.45);
      arrowHead(p, QPointF(-0.3, 0.424), QPointF(1, 0.1), ink, 0.28);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(QPointF(0.6, -0.335), 0.14, 0.14);
      p.restore();
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.26, 0.26);
      break;
    }
    case Glyph::Random:
      die(p, QPointF(-0.28, -0.22), 0.48, -12, 5, ink, ground);
      die(p, QPointF(0.42, 0.45), 0.36, 18, 3, ink, ground);
      break;
    case Glyph::Attraction:
    case Glyph::Repulsion:
      fourArrows(p, glyph == Glyph::Attraction, ink);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.2, 0.2);
      break;
    case Glyph::DirectionFollow: {
      // Primitives trailing the path of the hand.
      QPainterPath path;
      path.moveTo(-0.2, 0.45);
      path.cubicTo(0.15, 0.55, 0.5, 0.3, 0.55, -0.35);
      p.setPen(pen(ink, 0.14));
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
      arrowHead(p, QPointF(0.58, -0.75), QPointF(0.05, -1), ink, 0.36);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(QPointF(-0.48, 0.52), 0.15, 0.15);
      p.drawEllipse(QPointF(-0.8, 0.62), 0.11, 0.11);
      break;
    }
    case Glyph::DirectionRandom: {
      const double spots[5][3] = {{-0.5, -0.45, 30}, {0.45, -0.5, 160}, {-0.05, 0.05, 290},
                                  {-0.55, 0.5, 200}, {0.5, 0.5, 60}};
      for (const auto& s : spots) {
        const QPointF c(s[0], s[1]), h = polar(o, 0.28, s[2]);
        arrow(p, c - h, c + h, ink, 0.22);
      }
      break;
    }
    case Glyph::ClearMixingArea: {
      QPainterPath puddle;
      puddle.moveTo(-0.8, 0.1);
      puddle.cubicTo(-0.9, -0.6, 0.1, -0.75, 0.5, -0.45);
      puddle.cubicTo(0.95, -0.2, 0.85, 0.5, 0.3, 0.55);
      puddle.cubicTo(-0.1, 0.75, -0.7, 0.7, -0.8, 0.1);
      QColor soft = ink;
      soft.setAlphaF(0.35);
      p.setPen(Qt::NoPen);
      p.setBrush(soft);
      p.drawPath(puddle);
      p.setPen(pen(ink, 0.2));
      p.drawLine(QPointF(-0.45, -0.45), QPointF(0.45, 0.45));
      p.drawLine(QPointF(0.45, -0.45), QPointF(-0.45, 0.45));
      break;
    }
    case Glyph::OrientRadial:
      for (int k = 0; k < 8; ++k)
        bar(p, polar(o, 0.62, 45.0 * k), 45.0 * k, 0.42, ink, 0.15);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.12, 0.12);
      break;
    case Glyph::OrientCircular:
      for (int k = 0; k < 6; ++k)
        bar(p, polar(o, 0.68, 60.0 * k + 30.0), 60.0 * k + 120.0, 0.34, ink, 0.16);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(o, 0.12, 0.12);
      break;
    case Glyph::OrientFollow:
      // Strokes lying along the direction of the hand.
      bar(p, QPointF(-0.42, -0.55), 0, 0.62, ink, 0.17);
      bar(p, QPointF(0.38, -0.55), 0, 0.62, ink, 0.17);
      bar(p, QPointF(0.0, -0.05), 0, 0.62, ink, 0.17);
      arrow(p, QPointF(-0.85, 0.55), QPointF(0.9, 0.55), ink, 0.34);
      break;
    case Glyph::DirectionStyle:
      for (int k = 0; k < 4; ++k)
        arrow(p, o, polar(o, 0.88, 90.0 * k), ink, 0.3);
      break;
    case Glyph::Mode:
      p.setPen(pen(ink, 0.1));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(-0.85, -0.42, 1.7, 0.84), 0.42, 0.42);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(QPointF(0.43, 0), 0.3, 0.3);
      p.setPen(pen(ink, 0.09));
      p.drawLine(QPointF(-0.5, -0.15), QPointF(-0.5, 0.15));
      break;
    case Glyph::PrimitiveType:
      brushMark(p, QPointF(-0.85, -0.25), QPointF(-0.05, -0.75), 0.32, ink);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawRect(QRectF(0.2, -0.6, 0.6, 0.6));
      p.drawEllipse(QPointF(-0.2, 0.5), 0.3, 0.3);
      break;
    case Glyph::PrimitiveStroke:
      brushMark(p, QPointF(-0.75, 0.55), QPointF(0.85, -0.55), 0.55, ink);
      break;
    case Glyph::PrimitiveTile:
      p.save();
      p.rotate(10);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
          p.drawRect(QRectF(i * 0.52 - 0.22, j * 0.52 - 0.22, 0.44, 0.44));
      p.restore();
      break;
    case Glyph::PrimitivePoint: {
      const double dots[7][3] = {{0, 0, 0.24},     {-0.55, -0.4, 0.17}, {0.5, -0.45, 0.2}, {-0.5, 0.45, 0.19},
                                 {0.55, 0.42, 0.15}, {0.05, -0.75, 0.12}, {0.05, 0.75, 0.13}};
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      for (const auto& d : dots)
        p.drawEllipse(QPointF(d[0], d[1]), d[2], d[2]);
      break;
    }
    case Glyph::Create:
      p.setPen(pen(ink, 0.26));
      p.drawLine(QPointF(0, -0.7), QPointF(0, 0.7));
      p.drawLine(QPointF(-0.7, 0), QPointF(0.7, 0));
      break;
    case Glyph::Erase: {
      p.save();
      p.rotate(-35);
      p.setPen(pen(ink, 0.09));
      p.setBrush(ground);
      p.drawRoundedRect(QRectF(-0.75, -0.35, 1.5, 0.7), 0.12, 0.12);
      p.setBrush(ink);
      p.drawRoundedRect(QRectF(-0.75, -0.35, 0.65, 0.7), 0.12, 0.12);
      p.restore();
      p.setPen(pen(ink, 0.08));
      p.drawLine(QPointF(-0.1, 0.82), QPointF(0.85, 0.82));
      break;
    }
    case Glyph::MoveFollow:
      p.setPen(pen(ink, 0.1));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(0.52, -0.4), 0.3, 0.3);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      for (int k = 0; k < 3; ++k)
        p.drawEllipse(QPointF(-0.7 + 0.35 * k, 0.62 - 0.32 * k), 0.1 + 0.02 * k, 0.1 + 0.02 * k);
      arrow(p, QPointF(-0.15, 0.2), QPointF(0.28, -0.18), ink, 0.26);
      break;
    case Glyph::ResizeBigger:
    case Glyph::ResizeSmaller: {
      const bool bigger = glyph == Glyph::ResizeBigger;
      p.setPen(pen(ink, 0.1));
      p.setBrush(bigger ? ink : ground);
      const double h = bigger ? 0.22 : 0.36;
      p.drawRect(QRectF(-h, -h, 2 * h, 2 * h));
      for (int k = 0; k < 4; ++k) {
        const double a = 45.0 + 90.0 * k;
        const QPointF near = polar(o, bigger ? 0.45 : 0.62, a), far = polar(o, 1.0, a);
        bigger ? arrow(p, near, far, ink, 0.28) : arrow(p, far, near, ink, 0.28);
      }
      break;
    }
    case Glyph::Tick:
      tick(p, o, 1.0, ink, 0.24);
      break;
    case Glyph::Cross:
      p.setPen(pen(ink, 0.24));
      p.drawLine(QPointF(-0.5, -0.5), QPointF(0.5, 0.5));
      p.drawLine(QPointF(0.5, -0.5), QPointF(-0.5, 0.5));
      break;
    case Glyph::Pencil: {
      QPainterPath squiggle;
      squiggle.moveTo(-0.9, 0.75);
      squiggle.cubicTo(-0.6, 0.3, -0.4, 1.0, -0.1, 0.6);
      p.setPen(pen(ink, 0.09));
      p.setBrush(Qt::NoBrush);
      p.drawPath(squiggle);
      p.save();
      p.translate(0.25, -0.1);
      p.rotate(-45);
      p.setPen(pen(ink, 0.08));
      p.setBrush(ground);
      p.drawRect(QRectF(-0.35, -0.2, 1.0, 0.4));
      p.setBrush(ink);
      p.drawRect(QRectF(0.65, -0.2, 0.22, 0.4));
      const QPointF tip[3] = {{-0.35, -0.2}, {-0.35, 0.2}, {-0.72, 0}};
      p.setBrush(ground.darker(115));
      p.drawPolygon(tip, 3);
      p.setBrush(ink);
      const QPointF lead[3] = {{-0.58, -0.075}, {-0.58, 0.075}, {-0.72, 0}};
      p.drawPolygon(lead, 3);
      p.restore();
      break;
    }
    case Glyph::WasteBasket: {
      const QPointF bin[4] = {{-0.55, -0.45}, {0.55, -0.45}, {0.42, 0.85}, {-0.42, 0.85}};
      p.setPen(pen(ink, 0.1));
      p.setBrush(ground);
      p.drawPolygon(bin, 4);
      p.drawLine(QPointF(-0.75, -0.6), QPointF(0.75, -0.6));
      p.drawLine(QPointF(-0.18, -0.78), QPointF(0.18, -0.78));
      for (double x : {-0.22, 0.0, 0.22})
        p.drawLine(QPointF(x, -0.25), QPointF(x * 0.85, 0.65));
      break;
    }
  }
}

struct BadgeColours {
  QColor top, bottom, rim, ink, glow;
};

BadgeColours coloursOf(Badge badge) {
  switch (badge) {
    case Badge::Normal: return {QColor(252, 247, 235), QColor(226, 214, 192), QColor(118, 92, 66), QColor(62, 46, 36), {}};
    case Badge::Active:
      return {QColor(255, 190, 84), QColor(234, 116, 26), QColor(150, 64, 8), Qt::white, QColor(255, 226, 120)};
    case Badge::Menu: return {QColor(238, 244, 252), QColor(196, 212, 232), QColor(58, 78, 108), QColor(32, 52, 82), {}};
    case Badge::Empty: return {QColor(235, 235, 235, 140), QColor(205, 205, 205, 140), QColor(130, 130, 130, 200), {}, {}};
    case Badge::Accept: return {QColor(120, 214, 120), QColor(40, 150, 60), QColor(20, 90, 30), Qt::white, {}};
    case Badge::Cancel: return {QColor(244, 120, 104), QColor(200, 44, 36), QColor(120, 20, 14), Qt::white, {}};
  }
  return {};
}

}  // namespace

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink, const QColor& ground) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(box.center());
  p.scale(box.width() / 2.0, box.height() / 2.0);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::NoBrush);
  drawInUnitBox(p, glyph, ink, ground);
  p.restore();
}

QImage badgeIcon(Glyph glyph, Badge badge, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const BadgeColours c = coloursOf(badge);
  const double s = size / 128.0;
  const QPointF centre(size / 2.0, size / 2.0);
  const double r = 52.0 * s;

  p.setPen(Qt::NoPen);
  if (badge == Badge::Active) {
    QRadialGradient glow(centre, r + 10.0 * s);
    glow.setColorAt(0.8, c.glow);
    glow.setColorAt(1.0, QColor(c.glow.red(), c.glow.green(), c.glow.blue(), 0));
    p.setBrush(glow);
    p.drawEllipse(centre, r + 10.0 * s, r + 10.0 * s);
  } else if (badge != Badge::Empty) {
    QRadialGradient shadow(centre + QPointF(2, 3) * s, r + 6.0 * s);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(2, 3) * s, r + 6.0 * s, r + 6.0 * s);
  }

  QLinearGradient fill(centre - QPointF(0, r), centre + QPointF(0, r));
  fill.setColorAt(0.0, c.top);
  fill.setColorAt(1.0, c.bottom);
  p.setBrush(fill);
  QPen rim(c.rim, (badge == Badge::Active ? 4.5 : 3.0) * s);
  if (badge == Badge::Empty)
    rim.setStyle(Qt::DashLine);
  p.setPen(rim);
  p.drawEllipse(centre, r, r);
  if (badge == Badge::Active) {
    p.setPen(QPen(QColor(255, 255, 255, 170), 2.0 * s));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r - 5.0 * s, r - 5.0 * s);
  }

  const double g = r * 0.62;
  drawGlyph(p, glyph, QRectF(centre.x() - g, centre.y() - g, 2 * g, 2 * g), c.ink, c.bottom);
  p.end();
  return image;
}

void writePaletteIcons(Output& out) {
  struct Tool {
    const char* file;
    Glyph glyph;
    bool hasActive;
  };
  // File names are those the palette entry of the configuration uses.
  const Tool tools[] = {
      {"stroke_mode", Glyph::StrokeMode, true},
      {"save", Glyph::Save, true},
      {"empty_canvas", Glyph::EmptyCanvas, true},
      {"layer", Glyph::Layer, true},
      {"diameter", Glyph::Diameter, true},
      {"create_erase", Glyph::CreateErase, true},
      {"size_tool", Glyph::Size, true},
      {"orientation_tool", Glyph::Orientation, true},
      {"gravitate", Glyph::Gravitate, true},
      {"orbit", Glyph::Orbit, true},
      {"random", Glyph::Random, true},
      {"attraction", Glyph::Attraction, true},
      {"repulsion", Glyph::Repulsion, true},
      {"direction_follow", Glyph::DirectionFollow, true},
      {"direction_random", Glyph::DirectionRandom, true},
      {"clear_mixing_area", Glyph::ClearMixingArea, true},
      {"orientation_style", Glyph::OrientRadial, false},
      {"direction_style", Glyph::DirectionStyle, false},
      {"mode", Glyph::Mode, false},
      {"empty_canvas_apply", Glyph::EmptyCanvasApply, false},
      {"primitive_type", Glyph::PrimitiveType, false},
      {"primitive_stroke", Glyph::PrimitiveStroke, false},
      {"primitive_tile", Glyph::PrimitiveTile, false},
      {"primitive_point", Glyph::PrimitivePoint, false},
  };
  for (const Tool& t : tools) {
    const QString base = QStringLiteral("textures/") + QLatin1String(t.file);
    out.save(badgeIcon(t.glyph, Badge::Normal), base + QStringLiteral(".png"));
    if (t.hasActive)
      out.save(badgeIcon(t.glyph, Badge::Active), base + QStringLiteral("_active.png"));
  }
  // Default texture of several unused configuration elements.
  out.save(badgeIcon(Glyph::WasteBasket, Badge::Normal, 64), QStringLiteral("textures/waste_basket_small.png"));
}

}  // namespace textures
