// Shared part of every property buffer: sizes, validation cycle, memory
// accounting hook and raw dumps of the cell array.
#include "AbstractBuffer.h"

#include <algorithm>
#include <fstream>

AbstractBuffer::AbstractBuffer(int width, int height, int dimension, std::size_t valueSize)
    : _width(std::max(width, 0))
    , _height(std::max(height, 0))
    , _dimension(std::clamp(dimension, 1, 3))
    , _bytes(static_cast<std::size_t>(_width) * static_cast<std::size_t>(_height)
             * static_cast<std::size_t>(_dimension) * valueSize)
{
}

AbstractBuffer::~AbstractBuffer()
{
    if (_memoryChanged)
        _memoryChanged(-static_cast<std::int64_t>(_bytes));
}

void AbstractBuffer::setMemoryChangeCallback(MemoryChangeCallback callback)
{
    if (_memoryChanged)
        _memoryChanged(-static_cast<std::int64_t>(_bytes));
    _memoryChanged = std::move(callback);
    if (_memoryChanged)
        _memoryChanged(static_cast<std::int64_t>(_bytes));
}

void AbstractBuffer::startValidating()
{
    if (_validation == ValidationState::Invalid)
        _validation = ValidationState::Validating;
}

void AbstractBuffer::finishValidating()
{
    if (_validation == ValidationState::Validating)
        _validation = ValidationState::Valid;
}

bool AbstractBuffer::saveRaw(const std::string& path) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(static_cast<const char*>(getBufferArray()), static_cast<std::streamsize>(_bytes));
    file.close();
    return !file.fail();
}

bool AbstractBuffer::loadRaw(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const std::streamoff available = file.tellg();
    if (available < 0 || static_cast<std::uint64_t>(available) < _bytes)
        return false;
    file.seekg(0);
    file.read(static_cast<char*>(getBufferArray()), static_cast<std::streamsize>(_bytes));
    if (!file)
        return false;
    afterRawLoad();
    return true;
}
