// Random source, noise and file writer shared by all texture groups.
#include "textures.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace textures {

Rng::Rng(std::uint64_t seed) : _state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
  if (_state == 0)
    _state = 1;
  for (int i = 0; i < 4; ++i)
    next();
}

std::uint32_t Rng::next() {
  _state ^= _state >> 12;
  _state ^= _state << 25;
  _state ^= _state >> 27;
  return static_cast<std::uint32_t>((_state * 0x2545F4914F6CDD1Dull) >> 32);
}

double Rng::uniform() { return next() / 4294967296.0; }

double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

double smoothstep(double edge0, double edge1, double x) {
  const double t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

static double fade(double t) { return t * t * (3.0 - 2.0 * t); }

PeriodicNoise::PeriodicNoise(int period, std::uint64_t seed)
    : _period(period), _values(static_cast<std::size_t>(period) * period) {
  Rng rng(seed);
  for (float& v : _values)
    v = static_cast<float>(rng.uniform());
}

double PeriodicNoise::at(double x, double y) const {
  const double fx = std::floor(x), fy = std::floor(y);
  const int x0 = ((static_cast<int>(fx) % _period) + _period) % _period;
  const int y0 = ((static_cast<int>(fy) % _period) + _period) % _period;
  const int x1 = (x0 + 1) % _period, y1 = (y0 + 1) % _period;
  const double tx = fade(x - fx), ty = fade(y - fy);
  auto v = [this](int i, int j) { return double(_values[static_cast<std::size_t>(j) * _period + i]); };
  const double top = v(x0, y0) + (v(x1, y0) - v(x0, y0)) * tx;
  const double bottom = v(x0, y1) + (v(x1, y1) - v(x0, y1)) * tx;
  return top + (bottom - top) * ty;
}

LineNoise::LineNoise(int cells, std::uint64_t seed) : _values(static_cast<std::size_t>(cells) + 2) {
  Rng rng(seed);
  for (float& v : _values)
    v = static_cast<float>(rng.uniform());
}

double LineNoise::at(double x) const {
  const double last = double(_values.size() - 2);
  x = std::clamp(x, 0.0, last);
  const auto i = static_cast<std::size_t>(x);
  const double t = fade(x - double(i));
  return _values[i] + (_values[i + 1] - _values[i]) * t;
}

Output::Output(const QString& root) : _root(root) {}

void Output::save(const QImage& image, const QString& relativePath) {
  const QString path = _root + QLatin1Char('/') + relativePath;
  const QString dir = QFileInfo(path).absolutePath();
  const bool jpeg = relativePath.endsWith(QLatin1String(".jpg"));
  // JPEG has no alpha: flatten overlays onto white first.
  QImage toWrite = image;
  if (jpeg && image.hasAlphaChannel()) {
    toWrite = QImage(image.size(), QImage::Format_RGB32);
    toWrite.fill(Qt::white);
    QPainter painter(&toWrite);
    painter.drawImage(0, 0, image);
  }
  if (!QDir().mkpath(dir) || !toWrite.save(path, jpeg ? "JPG" : "PNG", jpeg ? 92 : -1)) {
    std::fprintf(stderr, "make_textures: could not write %s\n", qPrintable(path));
    _failed = true;
    return;
  }
  ++_written;
}

}  // namespace textures
