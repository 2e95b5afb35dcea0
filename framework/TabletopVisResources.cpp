// TabletopVis: property buffer factories with memory accounting, timing
// states, the resource answers of a scene without libraries, and the settings
// with more than a plain store.
#include "TabletopVis.h"

#include <algorithm>

// ---- Property buffers ----

template <typename T>
std::unique_ptr<BufferTemplate<T>> TabletopVis::makeBuffer(int width, int height, int dimension)
{
    auto buffer = std::make_unique<BufferTemplate<T>>(width, height, dimension);
    // The ledger is shared so a buffer that outlives the scene still reports safely.
    buffer->setMemoryChangeCallback([ledger = _ledger](std::int64_t delta) {
        ledger->bytes += delta;
        ledger->changed = true;
    });
    return buffer;
}

std::unique_ptr<BufferTemplate<bool>> TabletopVis::createNewBoolImageBuffer(int width, int height)
{
    return makeBuffer<bool>(width, height, 1);
}

std::unique_ptr<BufferTemplate<int>> TabletopVis::createNewIntImageBuffer(int width, int height)
{
    return makeBuffer<int>(width, height, 1);
}

std::unique_ptr<BufferTemplate<unsigned int>> TabletopVis::createNewUnsignedIntImageBuffer(int width, int height)
{
    return makeBuffer<unsigned int>(width, height, 1);
}

std::unique_ptr<BufferTemplate<float>> TabletopVis::createNewFloatImageBuffer(int width, int height)
{
    return makeBuffer<float>(width, height, 1);
}

std::unique_ptr<BufferTemplate<float>> TabletopVis::createNew2DFloatVectorImageBuffer(int width, int height)
{
    return makeBuffer<float>(width, height, 2);
}

std::unique_ptr<BufferTemplate<double>> TabletopVis::createNewDoubleImageBuffer(int width, int height)
{
    return makeBuffer<double>(width, height, 1);
}

std::unique_ptr<BufferTemplate<double>> TabletopVis::createNew2DDoubleVectorImageBuffer(int width, int height)
{
    return makeBuffer<double>(width, height, 2);
}

std::unique_ptr<BufferTemplate<unsigned char>> TabletopVis::createNew3DUCharImageBuffer(int width, int height)
{
    return makeBuffer<unsigned char>(width, height, 3);
}

unsigned long TabletopVis::getAllocatedMemorySize() const
{
    return static_cast<unsigned long>((std::max<std::int64_t>(_ledger->bytes, 0) + 512) / 1024);
}

bool TabletopVis::bufferMemoryChanged()
{
    const bool changed = _ledger->changed;
    _ledger->changed = false;
    return changed;
}

void TabletopVis::pushTimeState()
{
    _timeStates.push_back(std::chrono::steady_clock::now());
}

double TabletopVis::popTimeState()
{
    if (_timeStates.empty())
        return 0.0;
    const auto start = _timeStates.back();
    _timeStates.pop_back();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- Textures and fonts: none here ----

unsigned TabletopVis::loadTexture(const std::string&, bool) { return 0; }
std::size_t TabletopVis::addImageTexture(const RGBAImage&) { return 0; }
std::size_t TabletopVis::getImageTextureCount() const { return 0; }
unsigned TabletopVis::getImageTextureIDAt(std::size_t) const { return 0; }
float TabletopVis::getTextureMinXAt(std::size_t) const { return 0.0f; }
float TabletopVis::getTextureMaxXAt(std::size_t) const { return 0.0f; }
float TabletopVis::getTextureMinYAt(std::size_t) const { return 0.0f; }
float TabletopVis::getTextureMaxYAt(std::size_t) const { return 0.0f; }
unsigned TabletopVis::getTextureSizeAt(std::size_t) const { return 0; }
bool TabletopVis::loadFont(const std::string&, unsigned) { return false; }
FTFont* TabletopVis::getFont(const std::string&) const { return nullptr; }

// ---- Settings ----

void TabletopVis::setTextureFlag(bool TextureSettings::*flag, bool on)
{
    _textureSettings.*flag = on;
}

void TabletopVis::enableMipMapping(bool on) { setTextureFlag(&TextureSettings::mipMapping, on); }
void TabletopVis::enableLinearFiltering(bool on) { setTextureFlag(&TextureSettings::linearFiltering, on); }
void TabletopVis::enableTextureCompression(bool on) { setTextureFlag(&TextureSettings::textureCompression, on); }
void TabletopVis::enableARBTextureCompression(bool on) { setTextureFlag(&TextureSettings::arbTextureCompression, on); }
bool TabletopVis::isMipMapping() const { return _textureSettings.mipMapping; }
bool TabletopVis::isLinearFiltering() const { return _textureSettings.linearFiltering; }
bool TabletopVis::isTextureCompression() const { return _textureSettings.textureCompression; }
bool TabletopVis::isARBTextureCompression() const { return _textureSettings.arbTextureCompression; }

void TabletopVis::initializeRenderer() {}

void TabletopVis::determineTextureParameters() {}

void TabletopVis::setContainerControlPointSteps(unsigned inside, unsigned outside)
{
    _insideSteps = inside;
    _outsideSteps = outside;
}

void TabletopVis::setTossingParameters(double friction, double cutoff)
{
    _tossingFriction = friction;
    _tossingCutoff = cutoff;
}

void TabletopVis::setRNTParameters(double factor, double circleTime)
{
    _rntFactor = factor;
    _rntCircleTime = circleTime;
}
