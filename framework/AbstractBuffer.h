// The type-erased face of a property buffer: size, memory, image and raw dumps,
// and the invalid -> validating -> valid cycle. Components hold buffers by tag as this.
#pragma once

#include "RGBAImage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class AbstractBuffer
{
public:
    // Told the change in allocated bytes: +size when the callback is set,
    // -size when it is replaced or cleared and when the buffer is destroyed.
    // A scene that sets it on every buffer it makes keeps an exact running total.
    using MemoryChangeCallback = std::function<void(std::int64_t deltaBytes)>;

    // Where the buffer is in its validation cycle. A new buffer is Valid.
    enum class ValidationState { Valid, Invalid, Validating };

    virtual ~AbstractBuffer();
    AbstractBuffer(const AbstractBuffer&) = delete;
    AbstractBuffer& operator=(const AbstractBuffer&) = delete;

    int getWidth() const { return _width; }
    int getHeight() const { return _height; }
    // Values per cell: 1, 2 or 3.
    int getDimension() const { return _dimension; }
    std::size_t getCellCount() const { return static_cast<std::size_t>(_width) * static_cast<std::size_t>(_height); }
    bool isInside(int x, int y) const
    {
        return static_cast<unsigned>(x) < static_cast<unsigned>(_width)
            && static_cast<unsigned>(y) < static_cast<unsigned>(_height);
    }

    // Bytes of the cell array: width * height * dimension * sizeof(cell value).
    std::size_t getAllocatedMemorySizeInBytes() const { return _bytes; }
    // The cell array, row-major from the bottom row; cell (x, y) starts at
    // value index (y * width + x) * dimension. Null for an empty grid.
    virtual void* getBufferArray() = 0;
    virtual const void* getBufferArray() const = 0;

    // The grid as an upright RGBA picture (bottom row of the grid at the
    // bottom of the picture). Each value becomes trunc(value * scale + offset)
    // clamped to 0..255; one value per cell is grey, two are red and green,
    // three are red, green and blue; alpha is 255. Empty for an empty grid.
    virtual RGBAImage toImage(double scale, double offset) const = 0;
    // Writes toImage(scale, offset) as a PNG file; ".png" is appended unless
    // the path already ends in it. False when the grid is empty or the file
    // cannot be written. Defined with the image files (pictavo_framework_gl):
    // the engine itself never links an image codec.
    bool createImage(const std::string& path, double scale, double offset) const;

    // Raw dumps of exactly getAllocatedMemorySizeInBytes() bytes of the cell
    // array, in the machine's byte order. loadRaw reads the first that many
    // bytes of the file and fails, leaving the cells unchanged, when the file
    // is missing or shorter. Both return false on failure.
    bool saveRaw(const std::string& path) const;
    bool loadRaw(const std::string& path);

    // Validation cycle: invalidate() from any state; startValidating() moves
    // Invalid to Validating; finishValidating() moves Validating to Valid.
    // The last two do nothing from other states.
    void invalidate() { _validation = ValidationState::Invalid; }
    void startValidating();
    void finishValidating();
    bool isInvalid() const { return _validation == ValidationState::Invalid; }
    bool isValidating() const { return _validation == ValidationState::Validating; }
    bool isValid() const { return _validation == ValidationState::Valid; }
    ValidationState getValidationState() const { return _validation; }

    // See MemoryChangeCallback. An empty function clears the callback.
    void setMemoryChangeCallback(MemoryChangeCallback callback);

protected:
    // Negative sizes are taken as 0; dimension is clamped to 1..3; valueSize
    // is the size of one value of a cell.
    AbstractBuffer(int width, int height, int dimension, std::size_t valueSize);

    // Called after loadRaw has copied bytes in, to restore any cell invariant.
    virtual void afterRawLoad() {}

private:
    int _width;
    int _height;
    int _dimension;
    std::size_t _bytes;
    ValidationState _validation = ValidationState::Valid;
    MemoryChangeCallback _memoryChanged;
};
