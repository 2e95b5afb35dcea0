// Task cards for study mode: an illustration of the goal beside a title and a
// short instruction, drawn with the label font.
#include "icons.h"
#include "textures.h"

#include <QFont>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <vector>

namespace textures {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCardWidth = 512, kCardHeight = 256;
const QRectF kScene(22, 28, 200, 200);   // illustration area of every card

// Colours of the target areas the program draws over the canvas in task mode.
const QColor kTargetFill(0, 255, 0, 51), kTargetRim(255, 128, 0, 178);

QImage tinted(const QImage& source, const QColor& colour) {
  QImage image = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = line[x];
      line[x] = qRgba(qRed(c) * colour.red() / 255, qGreen(c) * colour.green() / 255,
                      qBlue(c) * colour.blue() / 255, qAlpha(c));
    }
  }
  return image;
}

// Small painted strokes for the illustrations, drawn from the real element
// images so the cards show what the canvas shows.
class StrokeStamps {
public:
  StrokeStamps() {
    const QColor colours[4] = {QColor(46, 84, 160), QColor(196, 52, 38), QColor(226, 168, 30), QColor(70, 130, 70)};
    for (const QColor& c : colours)
      for (int v = 1; v <= 3; ++v)
        _stamps.push_back(tinted(strokeElementImage(0, v), c));
  }
  // A stroke of 34 x 14 pixels centred at `at`, turned by `degrees`.
  void draw(QPainter& p, QPointF at, double degrees, int pick) const {
    p.save();
    p.translate(at);
    p.rotate(degrees);
    p.drawImage(QRectF(-17, -7, 34, 14), _stamps[static_cast<std::size_t>(pick) % _stamps.size()]);
    p.restore();
  }

private:
  std::vector<QImage> _stamps;
};

// Decides each stroke's angle from its position (relative to the scene
// centre); a negative result leaves the stroke out.
using Layout = std::function<double(QPointF offset, double randomAngle)>;

void strokeField(QPainter& p, const StrokeStamps& stamps, int count, std::uint64_t seed, const Layout& layout) {
  Rng rng(seed);
  const QPointF c = kScene.center();
  for (int i = 0; i < count; ++i) {
    const QPointF at(rng.range(kScene.left() + 8, kScene.right() - 8), rng.range(kScene.top() + 6, kScene.bottom() - 6));
    const double angle = layout(at - c, rng.range(0, 360));
    const int pick = int(rng.next() % 12u);
    if (angle >= 0.0)
      stamps.draw(p, at, angle, pick);
  }
}

void target(QPainter& p, const QPainterPath& area) {
  p.setBrush(kTargetFill);
  p.setPen(QPen(kTargetRim, 4.0));
  p.drawPath(area);
}

QPainterPath disc(double r) {
  QPainterPath path;
  path.addEllipse(kScene.center(), r, r);
  return path;
}

double degreesOf(QPointF v) { return std::atan2(v.y(), v.x()) * 180.0 / kPi + 360.0; }
double lengthOf(QPointF v) { return std::hypot(v.x(), v.y()); }

struct Card {
  const char* file;
  const char* title;
  const char* text;
  std::function<void(QPainter&, const StrokeStamps&)> illustrate;
};

QImage card(const Card& c, const StrokeStamps& stamps, const QString& family) {
  QImage image(kCardWidth, kCardHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(QPen(QColor(118, 92, 66), 3.0));
  p.setBrush(QColor(252, 248, 238));
  p.drawRoundedRect(QRectF(2, 2, kCardWidth - 4, kCardHeight - 4), 18, 18);

  p.setPen(QPen(QColor(150, 130, 105), 1.5));
  p.setBrush(QColor(241, 233, 216));
  p.drawRoundedRect(kScene, 10, 10);
  p.save();
  QPainterPath clip;
  clip.addRoundedRect(kScene, 10, 10);
  p.setClipPath(clip);
  c.illustrate(p, stamps);
  p.restore();

  QFont title(family);
  title.setPixelSize(32);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(70, 48, 30));
  p.drawText(QRectF(240, 24, 252, 44), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(c.title));
  p.setPen(QPen(QColor(234, 116, 26), 3.0));
  p.drawLine(QPointF(242, 74), QPointF(330, 74));
  QFont body(family);
  body.setPixelSize(21);
  p.setFont(body);
  p.setPen(QColor(48, 40, 34));
  p.drawText(QRectF(242, 86, 252, 146), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QString::fromUtf8(c.text));
  p.end();
  return image;
}

}  // namespace

void writeTaskImages(Output& out, const QString& fontFamily) {
  const StrokeStamps stamps;
  const QPointF centre = kScene.center();
  auto anyAngle = [](QPointF, double a) { return a; };

  const Card cards[] = {
      {"defaultTask", "Task", "Read the task at the top of the screen, then do it on the canvas. Press Z when you are done.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 70, 1, anyAngle);
         p.setBrush(QColor(255, 255, 255, 60));
         p.setPen(QPen(QColor(60, 60, 60, 200), 2.5, Qt::DashLine));
         p.drawEllipse(centre, 46, 46);
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(60, 60, 60, 200));
         p.drawEllipse(centre, 7, 7);
       }},
      {"defaultTaskAdditional", "Hint", "The panel in the corner shows the current action. Work as precisely as you can.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 50, 2, anyAngle);
         p.drawImage(QRectF(centre.x() - 84, centre.y() - 40, 80, 80), badgeIcon(Glyph::Create, Badge::Menu));
         p.drawImage(QRectF(centre.x() + 4, centre.y() - 40, 80, 80), badgeIcon(Glyph::OrientRadial, Badge::Menu));
       }},
      {"create", "Create", "Fill the green circle with new strokes.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 30, 3, [&](QPointF v, double a) { return lengthOf(v) > 66 ? a : -1.0; });
         target(p, disc(60));
         strokeField(p, s, 140, 4, [&](QPointF v, double a) { return lengthOf(v) < 52 ? a : -1.0; });
       }},
      {"orient_line", "Orient in a line", "Turn the strokes in the green area so that they run along it.",
       [&](QPainter& p, const StrokeStamps& s) {
         QPainterPath capsule;
         capsule.addRoundedRect(QRectF(centre.x() - 92, centre.y() - 30, 184, 60), 30, 30);
         auto inside = [&](QPointF v) { return std::abs(v.y()) < 26 && std::abs(v.x()) < 86; };
         strokeField(p, s, 110, 5, [&](QPointF v, double a) { return inside(v) ? -1.0 : a; });
         target(p, capsule);
         strokeField(p, s, 110, 5, [&](QPointF v, double a) { return inside(v) ? std::fmod(a, 14.0) - 7.0 + 360.0 : -1.0; });
       }},
      {"orient_circular", "Orient in a circle", "Turn the strokes in the green circle so that they run round its centre.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 110, 6, [&](QPointF v, double a) { return lengthOf(v) > 70 ? a : -1.0; });
         target(p, disc(74));
         strokeField(p, s, 110, 6, [&](QPointF v, double) { return lengthOf(v) <= 70 ? degreesOf(v) + 90.0 : -1.0; });
       }},
      {"orient_star", "Orient in a star", "Turn the strokes in the green circle so that they point away from its centre.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 110, 7, [&](QPointF v, double a) { return lengthOf(v) > 70 ? a : -1.0; });
         target(p, disc(74));
         strokeField(p, s, 110, 7, [&](QPointF v, double) { return lengthOf(v) <= 70 ? degreesOf(v) : -1.0; });
       }},
      {"repel", "Push outward", "Move every stroke out of the green circle.",
       [&](QPainter& p, const StrokeStamps& s) {
         strokeField(p, s, 90, 8, [&](QPointF v, double a) { return lengthOf(v) > 64 ? a : -1.0; });
         strokeField(p, s, 60, 9, [&](QPointF v, double) {
           return lengthOf(v) > 62 && lengthOf(v) < 82 ? degreesOf(v) + 90.0 : -1.0;
         });
         target(p, disc(58));
         for (int k = 0; k < 6; ++k) {
           const double a = k * 60.0 + 30.0;
           const QPointF dir(std::cos(a * kPi / 180.0), std::sin(a * kPi / 180.0));
           p.setPen(QPen(QColor(70, 48, 30, 210), 3.0, Qt::SolidLine, Qt::RoundCap));
           p.drawLine(centre + dir * 18, centre + dir * 44);
           const QPointF tip = centre + dir * 52, n(-dir.y(), dir.x());
           const QPointF head[3] = {tip, tip - dir * 10 + n * 6, tip - dir * 10 - n * 6};
           p.setPen(Qt::NoPen);
           p.setBrush(QColor(70, 48, 30, 210));
           p.drawPolygon(head, 3);
         }
       }},
  };
  for (const Card& c : cards)
    out.save(card(c, stamps, fontFamily),
             QStringLiteral("textures/tasks/") + QLatin1String(c.file) + QStringLiteral(".png"));
}

}  // namespace textures
