// CanvasCompositeGL: construction, buffers, children, the frame's deferred
// work, rebuild, lasso erase, task set-up and drawing of the children. The
// feature-curve distance field is in CanvasFeatureField.cpp, dumps,
// screenshots, the frozen picture and the mode labels in CanvasOutput.cpp,
// the interaction modes in CanvasInteraction.cpp.
#include "CanvasCompositeGL.h"

#include "ControlTable.h"

#include "BufferTag.h"
#include "ControlTable.h"
#include "PaletteLeafGL.h"
#include "CanvasBufferTable.h"
#include "PrimitiveBatch.h"
#include "PrimitiveFactory.h"
#include "PrimitiveLeafGL.h"
#include "PrimitiveStore.h"
#include "Random.h"
#include "TabletopVis.h"
#include "ToolBrushLeafGL.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <unordered_set>

namespace {

// Texture keys of the element images the Wii texture step walks through.
constexpr std::array<std::size_t, 7> StepTextureKeys{1, 10, 19, 28, 38, 47, 54};
constexpr double DefaultBrushSize = 200.0;

} // namespace

CanvasCompositeGL::CanvasCompositeGL(TabletopVis* scene, double x, double y, double width, double height,
                                     double angle, double border, double overflow, unsigned textureId,
                                     unsigned toolBrushes, int brushValue, int elementKind, float initialSize,
                                     int furtherValue)
    : SurfaceCompositeGL(scene, x, y, width, height, angle, border, overflow, textureId)
    , _batch(std::make_unique<PrimitiveBatch>())
    , _store(std::make_unique<PrimitiveStore>(*scene, *this))
    , _initialSize(initialSize)
    , _brushValue(brushValue)
    , _elementKind(elementKind)
    , _furtherValue(furtherValue)
{
    createActiveBuffers();
    _bufferWidth = static_cast<unsigned>(getBufferWidth());
    _bufferHeight = static_cast<unsigned>(getBufferHeight());
    if (scene->hasGL() && _coneList.generate(1)) {
        _coneList.beginCompile();
        compileConeList();
        GLDisplayList::endCompile();
    }
    createToolBrushes(toolBrushes);
    compileModeLabels();
    for (std::size_t key : StepTextureKeys)
        _stepTextureIds.push_back(key < scene->getImageTextureCount() ? scene->getImageTextureIDAt(key) : 0u);
}

CanvasCompositeGL::~CanvasCompositeGL()
{
    // GL names go only while a context is current; a headless scene has none.
    if (!getController()->hasGL()) {
        _coneList.take();
        _modeLabels.take();
        _frozenList.take();
        _targetAreaLists.take();
        _frozenTexture.take();
    }
}

void CanvasCompositeGL::createToolBrushes(unsigned count)
{
    TabletopVis* scene = getController();
    for (unsigned user = 0; user < count; ++user) {
        auto* brush = new ToolBrushLeafGL(scene, getXPos(), getYPos(), DefaultBrushSize, DefaultBrushSize,
                                          _elementKind, static_cast<int>(user));
        scene->addComponent(brush, true);
        addChild(brush);
        _toolBrushes.push_back(brush);
    }
}

// ---- Buffers ----

void CanvasCompositeGL::createActiveBuffers()
{
    TabletopVis* scene = getController();
    scene->pushTimeState();
    createCanvasBuffers();
    createBufferGroup(CanvasBuffers::Group::Rest);
    scene->popTimeState();
}

void CanvasCompositeGL::createCanvasBuffers()
{
    createBufferGroup(CanvasBuffers::Group::Canvas);
}

void CanvasCompositeGL::createBufferGroup(CanvasBuffers::Group group)
{
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table)
        if (row.group == group)
            createBuffer(row);
}

void CanvasCompositeGL::createBuffer(const CanvasBuffers::BufferRow& row)
{
    using CanvasBuffers::CellType;
    using CanvasBuffers::Fill;
    TabletopVis* scene = getController();
    const bool control = row.grid == CanvasBuffers::Grid::Control;
    const int w = control ? ControlTable::Size : getBufferWidth();
    const int h = control ? ControlTable::Size : getBufferHeight();
    std::unique_ptr<AbstractBuffer> buffer;
    switch (row.cell) {
    case CellType::Bool: buffer = scene->createNewBoolImageBuffer(w, h); break;
    case CellType::Int: buffer = scene->createNewIntImageBuffer(w, h); break;
    case CellType::Float: buffer = scene->createNewFloatImageBuffer(w, h); break;
    case CellType::Float2: buffer = scene->createNew2DFloatVectorImageBuffer(w, h); break;
    case CellType::Double: buffer = scene->createNewDoubleImageBuffer(w, h); break;
    case CellType::Double2: buffer = scene->createNew2DDoubleVectorImageBuffer(w, h); break;
    case CellType::Byte3: buffer = scene->createNew3DUCharImageBuffer(w, h); break;
    }
    setActiveBuffer(row.tag, std::move(buffer));
    switch (row.fill) {
    case Fill::Zero: break;
    case Fill::Constant: fillConstant(row); break;
    case Fill::InitialSize: getActiveBufferAs<float>(row.tag)->fillEntireBuffer(_initialSize); break;
    case Fill::RandomVertical: fillRandomOrientations(); break;
    case Fill::SlowdownRamp: fillSlowdownField(); break;
    case Fill::ControlDefaults: fillInitialControlTable(); break;
    }
}

void CanvasCompositeGL::fillConstant(const CanvasBuffers::BufferRow& row)
{
    CanvasBuffers::withCellType(row.cell, [this, &row](auto value, int dimension) {
        using T = decltype(value);
        auto* buffer = getActiveBufferAs<T>(row.tag);
        const auto v = [&row](int i) { return static_cast<T>(row.value[static_cast<std::size_t>(i)]); };
        if (dimension == 1)
            buffer->fillEntireBuffer(v(0));
        else if (dimension == 2)
            buffer->fillEntireBufferWith2DValue(v(0), v(1));
        else
            buffer->fillEntireBufferWith3DValue(v(0), v(1), v(2));
    });
}

void CanvasCompositeGL::fillInitialControlTable()
{
    using namespace ControlCells;
    setControlValue(Action, static_cast<float>(ActionCode::Size));
    setControlValue(BrushSize, 200.0f);
    setControlValue(SizeAmount, 4.0f);
    setControlValue(OrientationStyleCell, static_cast<float>(OrientationStyle::Follow));
    setControlValue(CreateEraseAmount, 5.0f);
    setControlValue(ElementKindCell, static_cast<float>(_elementKind));
    // The press and pick marks, primitive and highlight types, paint colour
    // and element image start at 0 like every other cell of a new buffer.
}

void CanvasCompositeGL::fillRandomOrientations()
{
    auto* orientation = getActiveBufferAs<float>(ORIENTATION_BUFFER);
    float* cell = orientation->cells();
    const std::size_t count = orientation->getCellCount();
    for (std::size_t i = 0; i < count; ++i) {
        const float r = static_cast<float>(randomValue()) / 32767.0f;
        const float f = r - (1.0f - r);
        cell[2 * i] = 0.0f;
        // f / |f|: up or down with equal chance (f is never 0 for r = k / 32767).
        cell[2 * i + 1] = f < 0.0f ? -1.0f : 1.0f;
    }
}

void CanvasCompositeGL::fillSlowdownField()
{
    auto* slowdown = getActiveBufferAs<float>(SLOWDOWN_BUFFER);
    const float full = static_cast<float>(getTossingSlowdownFactor());
    slowdown->fillEntireBuffer(full);
    const int w = slowdown->getWidth();
    const int h = slowdown->getHeight();
    for (int i = 0; i < SlowdownRings; ++i) {
        const float value = std::min(static_cast<float>(i) * SlowdownStep, full);
        // Left and right columns of ring i, then its bottom and top rows.
        for (int y = i; y < h - i; ++y) {
            slowdown->setValue(i, y, value);
            slowdown->setValue(w - 1 - i, y, value);
        }
        for (int x = i; x < w - i; ++x) {
            slowdown->setValue(x, i, value);
            slowdown->setValue(x, h - 1 - i, value);
        }
    }
}

BufferTemplate<float>* CanvasCompositeGL::getControlTable() const
{
    return getActiveBufferAs<float>(CONTROL_BUFFER);
}

// ---- Children ----

PaletteLeafGL* CanvasCompositeGL::asPalette(VisComponent* child) { return dynamic_cast<PaletteLeafGL*>(child); }

int CanvasCompositeGL::addChild(VisComponent* child)
{
    if (child == nullptr || child->getParent() == this)
        return 0;
    if (adoptChild(child, compositeManagesLocalRenderList()) == 0)
        return 0;
    if (PaletteLeafGL* palette = asPalette(child); palette != nullptr && _paletteCount < _palettes.size())
        _palettes[_paletteCount++] = {palette, child};
    if (auto* brush = dynamic_cast<ToolBrushLeafGL*>(child))
        brush->setCanvas(this);
    if (auto* primitive = dynamic_cast<PrimitiveLeafGL*>(child))
        _store->add(primitive);
    return 1;
}

int CanvasCompositeGL::removeChild(VisComponent* child)
{
    if (PaletteLeafGL* palette = asPalette(child)) {
        auto* end = _palettes.begin() + _paletteCount;
        auto* found =
            std::find_if(_palettes.begin(), end, [palette](const PaletteEntry& e) { return e.palette == palette; });
        if (found != end) {
            std::copy(found + 1, end, found);
            _palettes[--_paletteCount] = {};
        }
    }
    if (auto* brush = dynamic_cast<ToolBrushLeafGL*>(child); brush != nullptr && brush->getCanvas() == this)
        brush->setCanvas(nullptr);
    if (auto* primitive = dynamic_cast<PrimitiveLeafGL*>(child); primitive != nullptr && child->getParent() == this)
        _store->remove(primitive);
    return releaseChild(child);
}

void CanvasCompositeGL::animateMyself(double dt)
{
    SurfaceCompositeGL::animateMyself(dt);
    _store->step(PrimitiveFrame::fromActive(*this), dt);
}

VisComponent* CanvasCompositeGL::makePrimitive(const PrimitiveParams& params)
{
    PrimitiveLeafGL* primitive = PrimitiveFactory::make(*getController(), params);
    if (primitive == nullptr)
        return nullptr;
    getController()->addComponent(primitive, true);
    addChild(primitive);
    return primitive;
}

void CanvasCompositeGL::scheduleDeletion(VisComponent* component)
{
    _deletionQueue.push_back(component);
}

bool CanvasCompositeGL::hasPrimitiveOfCurrentType() const
{
    const int type = getCurrentPrimitiveType();
    for (const auto& entry : getChildren())
        if (const auto* primitive = dynamic_cast<const PrimitiveLeafGL*>(entry.second))
            if (primitive->getPrimitiveType() == type)
                return true;
    return false;
}

void CanvasCompositeGL::logPrimitives()
{
    for (const auto& entry : getChildren())
        if (auto* primitive = dynamic_cast<PrimitiveLeafGL*>(entry.second))
            primitive->logState();
}

// ---- The frame ----

bool CanvasCompositeGL::stepDeferredClear(DeferredClear& state, void (CanvasCompositeGL::*clear)())
{
    if (!state.requested)
        return false;
    if (state.delayed)
        (this->*clear)();
    else
        state.delayed = true;
    return true;
}

void CanvasCompositeGL::renderIntoBuffers()
{
    // The store clears the tile centres it wrote itself; whoever else
    // writes the buffer marks it, and only a marked buffer is filled again.
    if (auto* dodging = getActiveBufferAs<float>(DODGING_BUFFER); dodging != nullptr && !dodging->isValid()) {
        dodging->fillEntireBuffer(0.0f);
        dodging->startValidating();
        dodging->finishValidating();
    }

    // A mark written between frames is seen by exactly one frame of
    // primitive updates: this frame validates, the next one clears.
    if (auto* erase = getActiveBufferAs<float>(ERASE_BUFFER)) {
        if (erase->isInvalid()) {
            erase->startValidating();
        } else if (erase->isValidating()) {
            erase->fillEntireBuffer(0.0f);
            erase->finishValidating();
            _erasePending = false;
        }
    }

    drainDeletionQueue();

    if (_gradientOrientationSet)
        clearGradientOrientation();
    stepDeferredClear(_tempOrientationClear, &CanvasCompositeGL::clearTempOrientation);
    if (!stepDeferredClear(_eraseClear, &CanvasCompositeGL::clearEraseBuffer) && _layoutPending) {
        fillTargetArea();
        createTaskPrimitives(_currentTask);
        _layoutPending = false;
    }
    stepDeferredClear(_selectionClear, &CanvasCompositeGL::clearSelection);
    stepDeferredClear(_sizeDiffClear, &CanvasCompositeGL::clearSizeDiff);
    stepLassoHolds();
}

void CanvasCompositeGL::drainDeletionQueue()
{
    TabletopVis* scene = getController();
    // A component queued twice is deleted once.
    std::unordered_set<VisComponent*> deleted;
    for (VisComponent* component : _deletionQueue) {
        if (!deleted.insert(component).second)
            continue;
        scene->removeComponentFromRenderList(component);
        scene->deleteComponent(component);
    }
    _deletionQueue.clear();
}

// ---- Clears and flags ----

void CanvasCompositeGL::noOperation() {}

void CanvasCompositeGL::clearGradientOrientation()
{
    if (auto* buffer = getActiveBufferAs<float>(GRADIENT_ORIENTATION_BUFFER))
        buffer->fillEntireBufferWith2DValue(0.0f, 0.0f);
    _gradientOrientationSet = false;
}

void CanvasCompositeGL::clearTempOrientation()
{
    if (auto* buffer = getActiveBufferAs<float>(TEMP_ORIENTATION_BUFFER))
        buffer->fillEntireBufferWith2DValue(0.0f, 0.0f);
    _gradientOrientationSet = false;
    _tempOrientationClear = {};
}

template <typename T>
void CanvasCompositeGL::clearRequested(DeferredClear& state, int tag, T value)
{
    if (!state.requested)
        return;
    if (auto* buffer = getActiveBufferAs<T>(tag))
        buffer->fillEntireBuffer(value);
    state = {};
}

void CanvasCompositeGL::clearSelection() { clearRequested(_selectionClear, SELECTION_BUFFER, false); }
void CanvasCompositeGL::clearEraseBuffer() { clearRequested(_eraseClear, ERASE_BUFFER, 0.0f); }
void CanvasCompositeGL::clearSizeDiff() { clearRequested(_sizeDiffClear, SIZE_ABS_DIFF_BUFFER, 0.0f); }

void CanvasCompositeGL::markSelectionDirty() { _selectionClear.requested = true; }
void CanvasCompositeGL::markEraseDirty() { _eraseClear.requested = true; }
void CanvasCompositeGL::markGradientOrientation() { _gradientOrientationSet = true; }
void CanvasCompositeGL::markOrientationPending() { _tempOrientationClear.requested = true; }
void CanvasCompositeGL::markErasePending() { _erasePending = true; }

std::vector<Vector2d> CanvasCompositeGL::lassoCells() const
{
    const std::vector<Point2D> points =
        _lassoCurve.isProcessed() ? _lassoCurve.getCurvePoints() : _lassoCurve.getRawPoints();
    std::vector<Vector2d> cells;
    cells.reserve(points.size());
    for (const Point2D& p : points) {
        int cx = 0;
        int cy = 0;
        deviceToCell(p.x(), p.y(), cx, cy);
        cells.emplace_back(cx, cy);
    }
    return cells;
}

void CanvasCompositeGL::eraseInsideCurve()
{
    auto* erase = getActiveBufferAs<float>(ERASE_BUFFER);
    const std::vector<Vector2d> cells = lassoCells();
    if (erase == nullptr || cells.size() < 3)
        return;
    std::cout << "erasing elements" << std::endl;
    // Marks are seen for one frame of primitive updates: strong enough to
    // remove any primitive inside in that frame.
    erase->fillComplexPolygonWithValue(cells.data(), static_cast<int>(cells.size()), LassoEraseMark);
    erase->invalidate();
}

void CanvasCompositeGL::colourInsideCurve()
{
    auto* colours = getActiveBufferAs<unsigned char>(COLOR_BUFFER);
    const std::vector<Vector2d> cells = lassoCells();
    if (colours == nullptr || cells.size() < 3)
        return;
    BufferTemplate<bool> inside(colours->getWidth(), colours->getHeight());
    inside.fillComplexPolygonWithValue(cells.data(), static_cast<int>(cells.size()), true);
    const auto paint = [this](ControlCell cell) {
        return static_cast<unsigned char>(getControlValue(cell));
    };
    const unsigned char r = paint(ControlCells::PaintRed);
    const unsigned char g = paint(ControlCells::PaintGreen);
    const unsigned char b = paint(ControlCells::PaintBlue);
    for (int y = 0; y < inside.getHeight(); ++y)
        for (int x = 0; x < inside.getWidth(); ++x)
            if (inside.getValue(x, y))
                colours->set3DValues(x, y, r, g, b);
}

// ---- Settings ----

bool CanvasCompositeGL::isTrackingTouches() const { return _trackingTouches; }
void CanvasCompositeGL::setTrackingTouches(bool on) { _trackingTouches = on; }
bool CanvasCompositeGL::wasTouched() const { return _touched; }
float CanvasCompositeGL::getDefaultPrimitiveSize() const { return _initialSize; }
void CanvasCompositeGL::setObserverPointer(void* observer) { _observer = observer; }
int CanvasCompositeGL::getSizeStep() const { return _sizeStep; }
int CanvasCompositeGL::getStepAmount() const { return static_cast<int>(_stepAmount); }
bool CanvasCompositeGL::isNunchukIgnored() const { return _nunchukIgnored; }
void CanvasCompositeGL::setNunchukIgnored(bool on) { _nunchukIgnored = on; }
void CanvasCompositeGL::setCompanionPointer(void* companion) { _companion = companion; }

void CanvasCompositeGL::setInteractionMode(InteractionMode mode)
{
    _curInteractionMode = mode;
    _modeChanged = true;
    indicateMode(mode);
}

void CanvasCompositeGL::setOrientationStyleFollow()
{
    writeAction(ActionCode::Orientation, static_cast<int>(OrientationStyle::Follow));
}

void CanvasCompositeGL::setOrientationStyleRadial()
{
    writeAction(ActionCode::Orientation, static_cast<int>(OrientationStyle::Radial));
}

void CanvasCompositeGL::setOrientationStyleCircular()
{
    writeAction(ActionCode::Orientation, static_cast<int>(OrientationStyle::Circular));
}

void CanvasCompositeGL::setDebugCurvesShown(bool initial, bool resampled)
{
    _showInitialCurve = initial;
    _showResampledCurve = resampled;
}

void CanvasCompositeGL::deviceToCell(double x, double y, int& cellX, int& cellY) const
{
    double lx = 0.0;
    double ly = 0.0;
    getLocalCoordinates(x, y, lx, ly);
    cellX = getBufferXCoordinateFromLocal(lx);
    cellY = getBufferYCoordinateFromLocal(ly);
}

// ---- Spare handlers ----

int CanvasCompositeGL::spareHandler1(double, double, double, double, int) { return 1; }
int CanvasCompositeGL::spareHandler2(double, double, double, double, int) { return 1; }
int CanvasCompositeGL::spareHandler3(double, double, double, double, int) { return 1; }
int CanvasCompositeGL::spareHandler4(double, double, double, double, int) { return 1; }
int CanvasCompositeGL::spareHandler5(double, double, double, double, int) { return 1; }

// ---- Study tasks ----

void CanvasCompositeGL::setUpTask(int taskIndex)
{
    if (_tasks == nullptr || taskIndex < 0 || static_cast<std::size_t>(taskIndex) >= _tasks->size())
        return;
    _curTaskNr = taskIndex;
    const TaskRecord record = (*_tasks)[static_cast<std::size_t>(taskIndex)];
    prepareTaskTarget(record);
    if (ToolBrushLeafGL* brush = getToolBrush(0)) {
        const double diameter = record.targetDiameter[0];
        brush->setSize(diameter, diameter);
    }
    if (record.elementsInitNumber >= 1 && record.elementsType >= 3)
        _layoutPending = true;
}

void CanvasCompositeGL::endTask()
{
    logPrimitives();
    clearTargetArea();
}

void CanvasCompositeGL::renderTaskTarget() const
{
    for (GLsizei i = 0; i < _targetAreaLists.count(); ++i)
        _targetAreaLists.call(i);
}

void CanvasCompositeGL::clearTargetArea()
{
    if (auto* target = getActiveBufferAs<bool>(TARGET_AREA_BUFFER))
        target->fillEntireBuffer(false);
    if (auto* erase = getActiveBufferAs<float>(ERASE_BUFFER))
        erase->fillEntireBuffer(1.0f);
    markEraseDirty();
}

void CanvasCompositeGL::createTaskPrimitives(const TaskRecord& record)
{
    // The task's primitives at random places clear of the bottom band (where
    // the task text is), at the default size, of the task's primitive type:
    // 0 point dabs, 1 tiles, 3 and above strokes of the current step image.
    const double size = _initialSize;
    const unsigned texture = _stepTextureIds.empty() ? 0u : _stepTextureIds[_stepTextureIndex];
    for (int i = 0; i < record.elementsInitNumber; ++i) {
        const double x = getWidth() * randomValue() / 32767.0;
        const double y = (getHeight() - 120.0) * randomValue() / 32767.0;
        double dx = 0.0;
        double dy = 0.0;
        getDeviceCoordinates(x, y, dx, dy);
        PrimitiveParams params;
        params.x = dx;
        params.y = dy;
        params.width = params.height = size;
        params.type = record.elementsType;
        if (record.elementsType == 0) {
            params.kind = PrimitiveKind::Point;
        } else if (record.elementsType == 1) {
            params.kind = PrimitiveKind::Tile;
        } else {
            params.kind = PrimitiveKind::Stroke;
            params.width = 3.0 * size;
            params.textures = {texture, texture, texture};
        }
        makePrimitive(params);
    }
}

// ---- Rebuild ----

void CanvasCompositeGL::rebuildGraphicRepresentation()
{
    TabletopVis* scene = getController();
    setPos(0.5 * scene->getScreenWidth(), 0.5 * scene->getScreenHeight());
    const unsigned width = static_cast<unsigned>(getBufferWidth());
    const unsigned height = static_cast<unsigned>(getBufferHeight());
    if (width <= _bufferWidth && height <= _bufferHeight)
        return;

    // Keep the cells that carry the picture's layout and the control table:
    // a copy of each grid goes back over its successor, cell by cell.
    std::vector<std::function<void()>> restore;
    for (const CanvasBuffers::BufferRow& row : CanvasBuffers::Table) {
        if (!row.keptOnRebuild)
            continue;
        CanvasBuffers::withCellType(row.cell, [this, &restore, tag = row.tag](auto value, int) {
            using T = decltype(value);
            const BufferTemplate<T>* old = getActiveBufferAs<T>(tag);
            if (old == nullptr)
                return;
            auto copy = std::make_shared<BufferTemplate<T>>(old->getWidth(), old->getHeight(), old->getDimension());
            copy->copyOverlapFrom(*old);
            restore.push_back([this, tag, copy] { getActiveBufferAs<T>(tag)->copyOverlapFrom(*copy); });
        });
    }
    recreateActiveBuffers();
    for (const auto& put : restore)
        put();
    _bufferWidth = width;
    _bufferHeight = height;
}

// ---- Drawing ----

void CanvasCompositeGL::render()
{
    if (_featureCurvePending)
        resampleFeatureCurve();
    glPushMatrix();
    doCommonTransformations();
    specificRender();
    renderBorder();
    glPopMatrix();
    if (_showInitialCurve)
        renderInitialCurve();
    if (_showResampledCurve)
        renderResampledCurve();
    drawChildren();
    glPushMatrix();
    doCommonTransformations();
    specificRenderAdditional();
    renderDecoration();
    glPopMatrix();
    stepLabelAlpha();
}

void CanvasCompositeGL::specificRender()
{
    if (_livePainting)
        SurfaceCompositeGL::specificRender();
    else
        _frozenList.call();
}

void CanvasCompositeGL::renderBorder()
{
    const double b = std::min(getBorderSize(), 0.5 * std::min(getWidth(), getHeight()));
    if (b <= 0.0)
        return;
    const double hw = getHalfWidth();
    const double hh = getHalfHeight();
    glColor4f(0.32f, 0.24f, 0.17f, 1.0f);
    glBegin(GL_QUAD_STRIP);
    for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}}) {
        glVertex2d(x * hw, y * hh);
        glVertex2d(x * (hw - b), y * (hh - b));
    }
    glEnd();
}

void CanvasCompositeGL::specificRenderAdditional()
{
    if (_modeChanged)
        drawModeLabel();
}

void CanvasCompositeGL::drawChildren()
{
    // Primitives go into the batch; any other child is drawn on its own
    // after the primitives batched before it.
    const ComponentList& list = *getLocalRenderList();
    for (std::size_t i = 0; i < list.slotCount(); ++i) {
        VisComponent* child = list[i];
        if (child == nullptr || !child->isActiveForRendering())
            continue;
        if (auto* primitive = dynamic_cast<PrimitiveLeafGL*>(child)) {
            primitive->appendToBatch(*_batch);
        } else {
            _batch->draw();
            child->render();
        }
    }
    _batch->draw();
}

void CanvasCompositeGL::addLayer(unsigned layer)
{
    saveBuffers();
    ControlTable::set(getActiveBufferAs<float>(CONTROL_BUFFER), ControlCells::PrimitiveType, static_cast<float>(layer));
}

void CanvasCompositeGL::switchToLayer(unsigned layer)
{
    saveBuffers();
    ControlTable::set(getActiveBufferAs<float>(CONTROL_BUFFER), ControlCells::PrimitiveType, static_cast<float>(layer));
    loadBuffers();
}
