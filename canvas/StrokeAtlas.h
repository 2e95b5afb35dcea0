// StrokeAtlas: one GL texture that holds copies of many stroke images, so
// strokes of different images are drawn with one texture and one call, in
// their order.
#pragma once

#include <optional>
#include <unordered_map>

// The atlas is a grid of Cell x Cell cells on a Side x Side texture. A
// stroke image is copied in the first time it is asked for (GL, context
// current): its largest level that fits a cell and the levels below it. So
// a 256-texel image keeps its 128-texel level and smaller ones, which is
// all that strokes drawn under 128 pixels sample; larger strokes look a
// little softer than from their own texture. An image without the level
// that fits, one whose filters differ from the atlas's (the first image's),
// or one that finds the atlas full stays out: its strokes draw with their
// own texture. The atlas is kept small (1024 x 1024, 5 MiB with its levels)
// because every scene with strokes makes one.
// The copies are not refreshed: an image texture must not change or be
// replaced under the same name while the atlas lives (a scene's images
// live as long as its canvas). Destroy the atlas with its context current.
class StrokeAtlas
{
public:
    // Atlas coordinates of an image's texture coordinate (s, t):
    // (s0 + s * width, t0 + t * height).
    struct Place
    {
        float s0, t0, width, height;
    };

    StrokeAtlas() = default;
    ~StrokeAtlas();
    StrokeAtlas(const StrokeAtlas&) = delete;
    StrokeAtlas& operator=(const StrokeAtlas&) = delete;

    // Where the image of texture name `image` lies; copies it in at the
    // first request. Null when it stays out.
    const Place* placeOf(unsigned image);
    unsigned texture() const { return _texture; }
    int imageCount() const { return _used; }

    static constexpr int Side = 1024;
    static constexpr int Cell = 128;
    static constexpr int Cells = (Side / Cell) * (Side / Cell);

private:
    std::optional<Place> copyIn(unsigned image);
    // Makes the atlas texture with the given filters, every level cleared.
    void create(int minFilter, int magFilter);

    std::unordered_map<unsigned, std::optional<Place>> _places;
    unsigned _texture = 0;
    int _minFilter = 0;
    int _magFilter = 0;
    int _levels = 1;
    int _used = 0;
};
