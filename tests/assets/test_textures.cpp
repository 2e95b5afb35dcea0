// Checks the generated run directory: every file the default configuration
// names is there and loads, and the images have the properties the renderer
// relies on (soft stroke alpha, distinct variants, a seamless paper).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>

#include <cstdlib>
#include <vector>

namespace {

QString runDir() { return qEnvironmentVariable("PICTAVO_RUN_DIR"); }

struct NamedFile {
  QString element;
  QString path;   // relative to the run directory
};

struct Configuration {
  std::vector<NamedFile> files;   // every attribute naming an image or font, and every expanded pattern
  std::vector<QString> patterns;
  bool wellFormed = false;
};

Configuration readConfiguration() {
  Configuration config;
  QFile file(runDir() + QStringLiteral("/config.xml"));
  if (!file.open(QIODevice::ReadOnly))
    return config;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement)
      continue;
    const QString element = xml.name().toString();
    for (const QXmlStreamAttribute& a : xml.attributes()) {
      const QString value = a.value().toString();
      const bool file = value.endsWith(QLatin1String(".png")) || value.endsWith(QLatin1String(".jpg")) ||
                        value.endsWith(QLatin1String(".ttf"));
      if (file && !value.contains(QLatin1Char('%')))
        config.files.push_back({element, value});
    }
    if (element == QLatin1String("textures")) {
      const QString pattern = xml.attributes().value(QLatin1String("source")).toString();
      const int count = xml.attributes().value(QLatin1String("number")).toInt();
      config.patterns.push_back(pattern);
      for (int i = 1; i <= count; ++i)
        config.files.push_back({element, QString(pattern).replace(QLatin1String("%d"), QString::number(i))});
    }
  }
  config.wellFormed = !xml.hasError();
  return config;
}

QImage load(const QString& relative) { return QImage(runDir() + QLatin1Char('/') + relative); }

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

QImage strokeImage(int fileNumber) {
  return load(QStringLiteral("textures/strokes/stroke%1.png").arg(fileNumber));
}

TEST(RunDirectory, EveryConfiguredFileExistsAndLoads) {
  ASSERT_FALSE(runDir().isEmpty()) << "PICTAVO_RUN_DIR is not set";
  const Configuration config = readConfiguration();
  ASSERT_TRUE(config.wellFormed) << "config.xml is missing or not well-formed";

  // The builder skips a pattern of 45 characters or more without a word.
  ASSERT_EQ(config.patterns.size(), 1u);
  EXPECT_LT(config.patterns[0].size(), 45);
  EXPECT_EQ(config.patterns[0].count(QLatin1String("%d")), 1);

  int images = 0, fonts = 0;
  for (const NamedFile& f : config.files) {
    if (f.path.endsWith(QLatin1String(".ttf"))) {
      QFile font(runDir() + QLatin1Char('/') + f.path);
      ASSERT_TRUE(font.open(QIODevice::ReadOnly)) << f.path.toStdString();
      const QByteArray magic = font.read(4);
      EXPECT_TRUE(magic == QByteArray("\0\1\0\0", 4) || magic == "true") << f.path.toStdString();
      ++fonts;
    } else {
      EXPECT_FALSE(load(f.path).isNull()) << f.element.toStdString() << ": " << f.path.toStdString();
      ++images;
    }
  }
  EXPECT_EQ(fonts, 3);
  EXPECT_GT(images, 63 + 41);   // stroke images, palette textures and more
}

// The renderer tints stroke images by colour modulation: the shape has to be
// in a soft alpha channel over light colour, inside a transparent margin.
TEST(StrokeImages, AreLightWithSoftAlphaAndClearMargins) {
  for (int k = 1; k <= 63; ++k) {
    const QImage image = strokeImage(k).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << k;
    EXPECT_TRUE(isPowerOfTwo(image.width()) && isPowerOfTwo(image.height())) << k;
    int clear = 0, opaque = 0, partial = 0, dark = 0, edge = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        const int a = qAlpha(c);
        clear += a == 0;
        opaque += a >= 224;
        partial += a > 0 && a < 224;
        dark += a > 0 && std::min({qRed(c), qGreen(c), qBlue(c)}) < 150;
        const bool border = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
        edge += border && a > 0;
      }
    const int minimum = image.width() * image.height() / 500;
    EXPECT_GT(clear, image.width() * image.height() / 4) << "stroke" << k;
    EXPECT_GT(opaque, minimum) << "stroke" << k;
    EXPECT_GT(partial, minimum) << "stroke" << k;
    EXPECT_EQ(dark, 0) << "stroke" << k;
    EXPECT_EQ(edge, 0) << "stroke" << k;
  }
}

TEST(StrokeImages, EveryImageOfAnElementIsDifferent) {
  for (int e = 0; e < 7; ++e) {
    QSet<QByteArray> seen;
    for (int v = 0; v < 9; ++v) {
      const QImage image = strokeImage(9 * e + v + 1).convertToFormat(QImage::Format_ARGB32);
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
      EXPECT_FALSE(seen.contains(bytes)) << "element " << e << " variant " << v << " repeats an earlier one";
      seen.insert(bytes);
    }
  }
}

// The canvas repeats the paper texture, so its opposite edges must meet
// without a seam: the step across the wrap is no larger than a typical step
// between neighbouring columns or rows.
TEST(PaperTexture, IsOpaqueAndTiles) {
  const QImage paper = load(QStringLiteral("textures/paper.png")).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(paper.isNull());
  const int n = paper.width();
  ASSERT_EQ(paper.height(), n);
  auto step = [&](QPoint a, QPoint b) {
    const QRgb p = paper.pixel(a), q = paper.pixel(b);
    return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
  };
  long inside = 0, wrapX = 0, wrapY = 0;
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(qAlpha(paper.pixel(i, i)), 255);
    inside += step({n / 2 - 1, i}, {n / 2, i}) + step({i, n / 2 - 1}, {i, n / 2});
    wrapX += step({n - 1, i}, {0, i});
    wrapY += step({i, n - 1}, {i, 0});
  }
  EXPECT_LE(wrapX, inside);   // `inside` sums two lines, each wrap one
  EXPECT_LE(wrapY, inside);
}

}  // namespace
