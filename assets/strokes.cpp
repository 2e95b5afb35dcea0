// Brush-stroke element images: light bristled strokes whose shape lives in the
// alpha channel, so the renderer can tint them by colour modulation.
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace textures {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 128;
constexpr int kMargin = 7;
constexpr int kElements = 7;
constexpr int kVariants = 9;     // the plain image, then eight random instances
constexpr int kSamples = 640;    // centre-line samples; about 0.35 px apart
constexpr double kPi = 3.14159265358979323846;

enum class Start { Round, Pointed };
enum class End { Ragged, Round, Pointed };

// The look of one element. Lengths are pixels unless said otherwise.
struct ElementStyle {
  double length;          // fraction of the image width
  double halfWidth;
  double bow;             // sideways bow of the centre line at its middle
  double curl;            // sideways lift growing towards the end (comma tails)
  double waves;           // sine periods along the stroke
  double waveAmp;
  Start start;
  double startLen;        // fraction of the length over which the start forms
  End end;
  double endLen;          // fraction over which the end narrows or the bristles lift
  double headBulge;       // extra width near the start
  double dryness;         // 0 wet and even ... 1 broken dry brush
  double bristleRadius;
  double bristleSpacing;
};

// Flat stroke, comma, thin line, wide dab, dry brush, leaf, wave.
constexpr ElementStyle kStyles[kElements] = {
    {0.86, 31, 8, 0, 0, 0, Start::Round, 0.05, End::Ragged, 0.30, 0.0, 0.28, 1.3, 1.7},
    {0.80, 31, 0, 30, 0, 0, Start::Round, 0.16, End::Pointed, 0.80, 0.30, 0.12, 1.4, 1.8},
    {0.90, 7, 6, 0, 1.0, 8, Start::Pointed, 0.15, End::Pointed, 0.25, 0.0, 0.10, 0.9, 1.3},
    {0.50, 44, 4, 0, 0, 0, Start::Round, 0.16, End::Ragged, 0.35, 0.0, 0.18, 1.5, 2.0},
    {0.88, 31, 10, 0, 0, 0, Start::Round, 0.04, End::Ragged, 0.40, 0.0, 0.80, 1.1, 1.9},
    {0.80, 30, 12, 0, 0, 0, Start::Pointed, 0.40, End::Pointed, 0.60, 0.0, 0.14, 1.3, 1.6},
    {0.88, 18, 0, 0, 1.5, 17, Start::Round, 0.06, End::Pointed, 0.30, 0.0, 0.22, 1.2, 1.6},
};

// Relative width of the stroke at t in [0, 1].
double widthProfile(const ElementStyle& s, double t) {
  double w = 1.0;
  if (t < s.startLen) {
    const double u = t / s.startLen;
    w *= s.start == Start::Round ? std::sqrt(std::max(0.0, 1.0 - (1.0 - u) * (1.0 - u)))
                                 : std::pow(u, 0.75);
  }
  const double fromEnd = 1.0 - t;
  if (fromEnd < s.endLen) {
    const double u = fromEnd / s.endLen;
    switch (s.end) {
      case End::Ragged: w *= 0.85 + 0.15 * u; break;
      case End::Round: w *= std::sqrt(std::max(0.0, 1.0 - (1.0 - u) * (1.0 - u))); break;
      case End::Pointed: w *= std::pow(u, 0.8); break;
    }
  }
  if (s.headBulge > 0.0)
    w *= 1.0 + s.headBulge * std::exp(-std::pow((t - 0.14) / 0.12, 2.0));
  return w;
}

// The centre line, its unit normals and its half-widths, fitted into the image.
struct Path {
  std::vector<double> x, y, nx, ny, w;
};

Path buildPath(const ElementStyle& s, Rng& rng, bool plain) {
  const double length = s.length * kWidth * (plain ? 1.0 : rng.range(0.88, 1.0));
  const double halfWidth = s.halfWidth * (plain ? 1.0 : rng.range(0.85, 1.15));
  const double bow = s.bow * (plain ? 0.5 : rng.signedUnit());
  const double curl = s.curl * (plain ? 1.0 : rng.range(0.75, 1.25));
  const double phase = plain ? 0.0 : rng.range(0.0, 2.0 * kPi);
  const double mirror = (!plain && rng.uniform() < 0.5) ? -1.0 : 1.0;
  const double tilt = plain ? 0.0 : rng.range(-0.08, 0.08);

  Path p;
  const int n = kSamples + 1;
  for (auto* v : {&p.x, &p.y, &p.nx, &p.ny, &p.w})
    v->resize(n);
  const double ct = std::cos(tilt), st = std::sin(tilt);
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / kSamples;
    const double lx = t * length;
    const double ly = mirror * (bow * (1.0 - (2.0 * t - 1.0) * (2.0 * t - 1.0)) +
                                curl * std::pow(t, 2.5) +
                                s.waveAmp * std::sin(2.0 * kPi * s.waves * t + phase));
    p.x[i] = lx * ct - ly * st;
    p.y[i] = lx * st + ly * ct;
    p.w[i] = halfWidth * widthProfile(s, t);
  }
  for (int i = 0; i < n; ++i) {
    const int a = std::max(0, i - 1), b = std::min(n - 1, i + 1);
    const double dx = p.x[b] - p.x[a], dy = p.y[b] - p.y[a];
    const double len = std::hypot(dx, dy);
    p.nx[i] = -dy / len;
    p.ny[i] = dx / len;
  }

  // Fit the swept outline into the image with a transparent margin.
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (int i = 0; i < n; ++i)
    for (double side : {-1.0, 1.0}) {
      const double ox = p.x[i] + side * p.nx[i] * (p.w[i] + 3.0);
      const double oy = p.y[i] + side * p.ny[i] * (p.w[i] + 3.0);
      minX = std::min(minX, ox), maxX = std::max(maxX, ox);
      minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
  const double scale = std::min({1.0, (kWidth - 2.0 * kMargin) / (maxX - minX),
                                 (kHeight - 2.0 * kMargin) / (maxY - minY)});
  const double cx = 0.5 * (minX + maxX), cy = 0.5 * (minY + maxY);
  for (int i = 0; i < n; ++i) {
    p.x[i] = kWidth * 0.5 + (p.x[i] - cx) * scale;
    p.y[i] = kHeight * 0.5 + (p.y[i] - cy) * scale;
    p.w[i] *= scale;
  }
  return p;
}

// Paint accumulates bristle by bristle: each bristle is first drawn into a
// scratch layer with max() so its own overlapping dabs do not build up, then
// laid over the canvas with the "over" rule.
class StrokeCanvas {
public:
  StrokeCanvas() : _alpha(kWidth * kHeight, 0.f), _light(kWidth * kHeight, 0.f), _scratch(kWidth * kHeight, 0.f) {}

  void beginLayer() { _x0 = kWidth, _y0 = kHeight, _x1 = -1, _y1 = -1; }

  // A disc of radius r with an anti-aliased rim `soft` pixels wide.
  void dab(double cx, double cy, double r, double soft, double value) {
    const int x0 = std::max(0, int(std::floor(cx - r - soft)));
    const int x1 = std::min(kWidth - 1, int(std::ceil(cx + r + soft)));
    const int y0 = std::max(0, int(std::floor(cy - r - soft)));
    const int y1 = std::min(kHeight - 1, int(std::ceil(cy + r + soft)));
    const double reach = (r + 0.5 * soft) * (r + 0.5 * soft);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d2 = dx * dx + dy * dy;
        if (d2 >= reach)
          continue;
        const double c = clamp01((r + 0.5 * soft - std::sqrt(d2)) / soft);
        float& cell = _scratch[std::size_t(y) * kWidth + x];
        cell = std::max(cell, float(c * value));
      }
    _x0 = std::min(_x0, x0), _x1 = std::max(_x1, x1);
    _y0 = std::min(_y0, y0), _y1 = std::max(_y1, y1);
  }

  void endLayer(double lightness) {
    for (int y = _y0; y <= _y1; ++y)
      for (int x = _x0; x <= _x1; ++x) {
        const std::size_t i = std::size_t(y) * kWidth + x;
        const float a = _scratch[i];
        _light[i] = float(lightness) * a + _light[i] * (1.f - a);
        _alpha[i] = a + _alpha[i] * (1.f - a);
        _scratch[i] = 0.f;
      }
  }

  QImage toImage(double dryness, const PeriodicNoise& grain) const {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < kWidth; ++x) {
        const std::size_t i = std::size_t(y) * kWidth + x;
        double a = _alpha[i];
        // Dry paint stays on the peaks of the paper tooth and skips its valleys.
        a *= 1.0 - dryness * 0.8 * smoothstep(0.58, 0.78, grain.at(x / 6.0, y / 1.6));
        a = clamp01(a * 1.06);
        const double light = _alpha[i] > 1e-4f ? _light[i] / _alpha[i] : 1.0;
        const int v = int(std::lround(255.0 * clamp01(light)));
        line[x] = qRgba(v, v, v, int(std::lround(255.0 * a)));
      }
    }
    return image;
  }

private:
  std::vector<float> _alpha, _light, _scratch;
  int _x0 = 0, _y0 = 0, _x1 = -1, _y1 = -1;
};

// Linear interpolation of the path at t in [0, 1].
struct PathPoint {
  double x, y, nx, ny, w;
};

PathPoint pointAt(const Path& p, double t) {
  const double f = std::clamp(t, 0.0, 1.0) * kSamples;
  const int i = std::min(kSamples - 1, int(f));
  const double u = f - i;
  auto mix = [u, i](const std::vector<double>& v) { return v[i] + (v[i + 1] - v[i]) * u; };
  return {mix(p.x), mix(p.y), mix(p.nx), mix(p.ny), mix(p.w)};
}

QImage renderElement(const ElementStyle& style, std::uint64_t seed, bool plain) {
  Rng rng(seed);
  const Path path = buildPath(style, rng, plain);
  const double dryness = std::min(0.9, style.dryness * (plain ? 1.0 : rng.range(0.8, 1.25)));
  StrokeCanvas canvas;

  // The paint film between the bristles; it stops short of a ragged end so
  // the lifted bristles show, and its discs never reach past either end.
  const double bodyEnd = style.end == End::Ragged ? 1.0 - 0.8 * style.endLen : 1.0;
  double total = 0.0;
  for (int i = 1; i <= kSamples; ++i)
    total += std::hypot(path.x[i] - path.x[i - 1], path.y[i] - path.y[i - 1]);
  canvas.beginLayer();
  for (int i = 0; i <= kSamples; i += 3) {
    const double t = double(i) / kSamples;
    if (t > bodyEnd)
      break;
    const double r = std::min({path.w[i] * 0.82, t * total, (bodyEnd - t) * total});
    canvas.dab(path.x[i], path.y[i], r, std::clamp(0.15 * r, 1.0, 3.0), 0.5 * (1.0 - dryness) * (1.0 - 0.3 * t));
  }
  canvas.endLayer(0.93);

  const double maxWidth = *std::max_element(path.w.begin(), path.w.end());
  const int bristles = std::max(6, int(std::lround(2.0 * maxWidth / style.bristleSpacing)));
  const double rag = style.end == End::Ragged ? style.endLen : style.end == End::Round ? 0.12 : 0.05;
  const double startRag = style.start == Start::Round ? 0.04 : 0.01;
  for (int b = 0; b < bristles; ++b) {
    const double side = -1.0 + 2.0 * (b + 0.5 + rng.range(-0.35, 0.35)) / bristles;
    const double radius = style.bristleRadius * rng.range(0.65, 1.3);
    const double strength = rng.uniform() < 0.15 ? rng.range(0.25, 0.55) : rng.range(0.7, 1.0);
    const double lightness = rng.range(0.78, 1.0);
    const double tStart = rng.range(0.0, startRag);
    const double tEnd = 1.0 - rag * std::pow(rng.uniform(), 1.3);
    const double edge = 1.0 - 0.45 * smoothstep(0.65, 1.0, std::abs(side));
    const LineNoise gaps(24, rng.next()), streak(14, rng.next()), wobble(8, rng.next());

    canvas.beginLayer();
    for (int i = 0; i <= kSamples; ++i) {
      const double t = double(i) / kSamples;
      if (t < tStart || t > tEnd)
        continue;
      const PathPoint q = pointAt(path, t);
      const double gapThreshold = dryness * (0.25 + 0.6 * t) - 0.05;
      const double gap = smoothstep(gapThreshold - 0.08, gapThreshold + 0.08, gaps.at(t * 23.0));
      const double lift = smoothstep(tEnd, tEnd - 0.05, t) * smoothstep(tStart, tStart + 0.015, t);
      const double value = strength * edge * gap * lift * (1.0 - dryness * 0.35 * t) *
                           (0.88 + 0.12 * streak.at(t * 13.0));
      if (value <= 0.0)
        continue;
      const double offset = side * q.w + 1.6 * (wobble.at(t * 7.0) - 0.5);
      canvas.dab(q.x + q.nx * offset, q.y + q.ny * offset, radius * (0.5 + 0.5 * lift), 1.2, value);
    }
    canvas.endLayer(lightness);
  }
  const PeriodicNoise grain(64, seed ^ 0x51ull);
  return canvas.toImage(dryness, grain);
}

}  // namespace

QImage strokeElementImage(int element, int variant) {
  return renderElement(kStyles[element], 1000u + 97u * element + variant, variant == 0);
}

// File k (from 1) holds image texture k - 1: element e's plain image is file
// 9e + 1 and its random variants follow it.
void writeStrokeImages(Output& out) {
  for (int e = 0; e < kElements; ++e)
    for (int v = 0; v < kVariants; ++v) {
      const int file = e * kVariants + v + 1;
      out.save(strokeElementImage(e, v), QStringLiteral("textures/strokes/stroke%1.png").arg(file));
    }
}

}  // namespace textures
