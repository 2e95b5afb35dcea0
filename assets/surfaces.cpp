// Large surfaces: the tileable paper of the canvas and the round wooden palette
// with its six paint wells and mixing area.
#include "textures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace textures {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Sum of periodic octaves; `cell` is the lattice spacing in pixels of the
// first octave, halved for each further one. All periods divide `size`.
class Fbm {
public:
  Fbm(int size, int cell, int octaves, std::uint64_t seed) : _cell(cell) {
    for (int o = 0; o < octaves; ++o)
      _octaves.emplace_back(size / (cell >> o), seed + 7u * o);
  }
  double at(double x, double y) const {
    double sum = 0.0, weight = 0.5, total = 0.0, cell = _cell;
    for (const auto& n : _octaves) {
      sum += weight * n.at(x / cell, y / cell);
      total += weight;
      weight *= 0.5;
      cell *= 0.5;
    }
    return sum / total;
  }

private:
  int _cell;
  std::vector<PeriodicNoise> _octaves;
};

// Warm off-white paper: mottled tone, fine tooth lit from the top left and
// scattered fibres. Every component wraps, so the image tiles.
QImage paper() {
  constexpr int N = 512;
  const Fbm mottle(N, 128, 4, 11), tooth(N, 8, 3, 23);
  std::vector<float> fibres(N * N, 0.f);
  Rng rng(4242);

  auto deposit = [&](double x, double y, double r, double tone) {
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        const int px = int(std::floor(x)) + dx, py = int(std::floor(y)) + dy;
        const double d = std::hypot(px + 0.5 - x, py + 0.5 - y);
        const double c = clamp01(r + 0.5 - d);
        if (c <= 0.0)
          continue;
        float& cell = fibres[std::size_t((py % N + N) % N) * N + std::size_t((px % N + N) % N)];
        if (std::abs(tone * c) > std::abs(cell))
          cell = float(tone * c);
      }
  };
  for (int f = 0; f < 1100; ++f) {
    double x = rng.range(0, N), y = rng.range(0, N), angle = rng.range(0, 2 * kPi);
    const double length = rng.range(6, 46), bend = rng.range(-0.06, 0.06);
    const double radius = rng.range(0.35, 0.75);
    const double tone = rng.uniform() < 0.6 ? rng.range(0.015, 0.04) : -rng.range(0.015, 0.035);
    for (double s = 0; s < length; s += 0.5) {
      deposit(x, y, radius, tone * std::sin(kPi * (s + 0.5) / length));
      x += 0.5 * std::cos(angle), y += 0.5 * std::sin(angle), angle += bend * 0.5;
    }
  }
  for (int s = 0; s < 40; ++s)
    deposit(rng.range(0, N), rng.range(0, N), rng.range(0.4, 0.9), -rng.range(0.05, 0.1));

  QImage image(N, N, QImage::Format_RGB32);
  for (int y = 0; y < N; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < N; ++x) {
      const double relief = tooth.at(x - 1, y - 1) - tooth.at(x + 1, y + 1);
      const double l = 1.0 + 0.035 * (mottle.at(x, y) - 0.5) + 0.09 * relief +
                       fibres[std::size_t(y) * N + x];
      auto channel = [l](double base) { return int(std::lround(std::clamp(base * l, 0.0, 255.0))); };
      line[x] = qRgb(channel(244), channel(237), channel(222));
    }
  }
  return image;
}

// Well centres of the palette, in half-widths from the disc centre with y up:
// an arc on the right at radius 0.72, from 60 degrees down to -60 degrees in
// the order black, brown, blue, red, yellow, white.
constexpr double kWellRadius = 0.72;
constexpr double kWellAngleTop = 60.0, kWellAngleStep = 24.0;
const QColor kWellPaints[6] = {QColor(28, 28, 30),   QColor(110, 70, 20),   QColor(42, 95, 154),
                               QColor(214, 36, 30),  QColor(247, 214, 40),  QColor(246, 244, 238)};

QImage woodDisc(int size, double radius) {
  const Fbm warp(size, 128, 3, 31), streaks(size, 32, 3, 37);
  const double c = size / 2.0;
  QImage image(size, size, QImage::Format_ARGB32);
  const QColor light(224, 180, 124), dark(158, 105, 60);
  for (int y = 0; y < size; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c, d = std::hypot(dx, dy);
      const double alpha = clamp01(radius + 0.5 - d);
      if (alpha <= 0.0) {
        line[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      // Grain runs along x, bent by low-frequency warp; streaks are stretched noise.
      const double g = y + 0.12 * x + 60.0 * warp.at(x, y);
      const double rings = std::pow(0.5 + 0.5 * std::sin(g * 2.0 * kPi / 14.0), 4.0);
      const double streak = streaks.at(x * 0.12, y * 3.0);
      const double t = clamp01(0.28 * rings + 0.7 * (streak - 0.25) + 0.25 * (warp.at(y, x) - 0.5));
      // Varnish sheen from the top left and a rounded rim.
      const double sheen = 0.1 * (1.0 - std::min(1.0, std::hypot(x - 0.35 * size, y - 0.3 * size) / (0.8 * size)));
      const double rim = smoothstep(radius - 14.0, radius, d);
      const double facing = (-dx - dy) / (d * std::sqrt(2.0) + 1e-9);
      const double shade = 1.0 + sheen + rim * 0.22 * facing - 0.25 * smoothstep(radius - 3.0, radius, d);
      auto mix = [t, shade](int a, int b) { return int(std::clamp((a + (b - a) * t) * shade, 0.0, 255.0)); };
      line[x] = qRgba(mix(light.red(), dark.red()), mix(light.green(), dark.green()),
                      mix(light.blue(), dark.blue()), int(std::lround(alpha * 255)));
    }
  }
  return image;
}

// A glazed ceramic cup holding a dollop of paint.
void drawWell(QPainter& p, QPointF centre, double r, const QColor& paint) {
  p.setPen(Qt::NoPen);
  QRadialGradient shadow(centre + QPointF(2.5, 3.5), r * 1.25);
  shadow.setColorAt(0.75, QColor(40, 20, 5, 110));
  shadow.setColorAt(1.0, QColor(40, 20, 5, 0));
  p.setBrush(shadow);
  p.drawEllipse(centre + QPointF(2.5, 3.5), r * 1.25, r * 1.25);

  QRadialGradient glaze(centre - QPointF(r * 0.4, r * 0.4), r * 1.6);
  glaze.setColorAt(0.0, QColor(255, 255, 252));
  glaze.setColorAt(1.0, QColor(196, 196, 190));
  p.setBrush(glaze);
  p.drawEllipse(centre, r, r);

  QRadialGradient bowl(centre + QPointF(r * 0.25, r * 0.25), r * 0.85);
  bowl.setColorAt(0.0, QColor(236, 236, 232));
  bowl.setColorAt(1.0, QColor(170, 170, 165));
  p.setBrush(bowl);
  p.drawEllipse(centre, r * 0.82, r * 0.82);

  const double pr = r * 0.64;
  QRadialGradient dollop(centre - QPointF(pr * 0.35, pr * 0.4), pr * 1.4);
  dollop.setColorAt(0.0, paint.lighter(135));
  dollop.setColorAt(0.6, paint);
  dollop.setColorAt(1.0, paint.darker(135));
  p.setBrush(dollop);
  QPainterPath blob;
  for (int i = 0; i <= 36; ++i) {
    const double a = 2.0 * kPi * i / 36.0;
    const double rr = pr * (1.0 + 0.07 * std::sin(3.0 * a + r) + 0.04 * std::sin(5.0 * a));
    const QPointF q = centre + QPointF(rr * std::cos(a), rr * std::sin(a));
    if (i == 0)
      blob.moveTo(q);
    else
      blob.lineTo(q);
  }
  p.drawPath(blob);
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(centre - QPointF(pr * 0.35, pr * 0.4), pr * 0.2, pr * 0.13);
}

// The round palette: wood, a smooth mixing area on the left (inside the local
// rectangle 0.2..0.6 of the width, 0.3..0.8 of the height from the top left),
// and the six wells on the right. Transparent outside the disc.
QImage palette() {
  constexpr int N = 512;
  const double half = 250.0;
  QImage image = woodDisc(N, half);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QPointF mixCentre(0.4 * N, 0.55 * N);
  QRadialGradient area(mixCentre - QPointF(20, 30), 130);
  area.setColorAt(0.0, QColor(255, 240, 215, 95));
  area.setColorAt(0.85, QColor(255, 236, 205, 60));
  area.setColorAt(1.0, QColor(255, 236, 205, 35));
  p.setBrush(area);
  p.setPen(QPen(QColor(95, 58, 25, 80), 2.0));
  p.drawEllipse(mixCentre, 0.19 * N, 0.24 * N);

  // Faint traces of earlier mixing.
  Rng rng(77);
  const QColor traces[3] = {QColor(60, 90, 150, 20), QColor(190, 60, 40, 16), QColor(210, 170, 40, 18)};
  for (const QColor& colour : traces) {
    QPainterPath smear;
    QPointF q = mixCentre + QPointF(rng.range(-60, 40), rng.range(-70, 60));
    smear.moveTo(q);
    for (int i = 0; i < 3; ++i) {
      const QPointF c1 = q + QPointF(rng.range(-30, 30), rng.range(-30, 30));
      q += QPointF(rng.range(-35, 35), rng.range(-35, 35));
      smear.quadTo(c1, q);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, rng.range(16, 26), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(smear);
  }

  for (int k = 0; k < 6; ++k) {
    const double a = (kWellAngleTop - kWellAngleStep * k) * kPi / 180.0;
    const QPointF centre(N / 2.0 + kWellRadius * half * std::cos(a), N / 2.0 - kWellRadius * half * std::sin(a));
    drawWell(p, centre, 0.115 * half, kWellPaints[k]);
  }
  return image;
}

}  // namespace

void writeSurfaces(Output& out) {
  const QImage paperImage = paper();
  out.save(paperImage, QStringLiteral("textures/paper.png"));
  out.save(paperImage, QStringLiteral("textures/test.jpg"));       // canvas default
  const QImage disc = palette();
  out.save(disc, QStringLiteral("textures/palette.png"));
  out.save(disc, QStringLiteral("textures/palette.jpg"));          // palette default
}

}  // namespace textures
