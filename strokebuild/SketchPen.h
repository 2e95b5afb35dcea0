// SketchPen: the simulated pen of the stroke build canvas (spring, damping, mass,
// warm-up, thickness from speed) and the triangle-strip outline it leaves. GL-free.
#pragma once

#include "Stroke2d.h"

#include <cstddef>

// The panel the pen lives in: its centre and size in screen pixels.
struct SketchPanel
{
    double centreX = 0.0;
    double centreY = 0.0;
    double width = 1.0;
    double height = 1.0;
};

// Everything here is in screen pixels (origin bottom left) except the pen's
// position and velocity, which are screen pixels divided by the panel's width
// and height. One sample per touch event and one per frame while drawing.
class SketchPen
{
public:
    // The seven simulation parameters, in the order setSimulationParameters takes them.
    struct Parameters
    {
        float spring = 0.05f;
        float damping = 0.88f;
        float thicknessScale = 2.0f;
        float maxThickness = 15.0f;
        float minThickness = 5.0f;
        float mass = 0.5f;
        float initialSpeed = 0.065f;
    };

    static constexpr float WarmUpSamples = 60.0f;
    static constexpr int TaperCount = 6;
    // Strokes of fewer points are kept but not drawn as outline strips.
    static constexpr std::size_t MinStripPoints = 7;
    // Outline room: two vertices and two indices per control point.
    static constexpr std::size_t MaxControlPoints = Stroke2d::MaxIndices / 2;

    void setSimulationParameters(float spring, float damping, float thicknessScale, float maxThickness,
                                 float minThickness, float mass, float initialSpeed);
    void setThicknessRange(float minThickness, float maxThickness);
    const Parameters& parameters() const { return _parameters; }

    // A new stroke at (x, y): the pen rests there, warm-up starts again.
    void start(double x, double y, const SketchPanel& panel);
    // One step towards the touch (x, y). Unless isLast, appends a control point
    // at the previous pen pixel (tag = its index, radius = half the width, value
    // 1) and, with outline, extends the outline to it; isLast instead tapers the
    // end of a stroke of more than TaperCount points. Returns the line width.
    float addSample(Stroke2d& stroke, double x, double y, bool isLast, bool outline, const SketchPanel& panel);
    // 1 - sin(samples x pi/2 / warm-up samples) during warm-up, then 0.
    float warmUpFactor() const;
    // The previous pen pixel takes the current one.
    void keepUp();
    // Back to rest at the origin, no samples.
    void reset();

    const float* penPos() const { return _penPos; }
    const float* penVelocity() const { return _penVelocity; }
    const float* penPixel() const { return _penPixel; }
    const float* previousPenPixel() const { return _previousPenPixel; }
    float sampleCount() const { return _sampleCount; }

    // Adds side vertices (and strip indices) for every control point that has
    // none yet, so vertices 2i and 2i + 1 stay the sides of control point i.
    // With two points the sides are perpendicular to the segment; from the
    // third on they lie along the perpendicular of the joint's bisector, turned
    // to agree with the previous point's sides. A joint whose directions cancel
    // (or two resting samples) keeps the previous point's side direction.
    static void extendOutline(Stroke2d& stroke);
    // Radii of the last seven points times 1.0, 0.8433 ... 0.06 (outline vertices
    // follow); strokes of TaperCount points or fewer are left alone.
    static void taperEnd(Stroke2d& stroke);

private:
    Parameters _parameters;
    float _penPos[2] = {0.0f, 0.0f};
    float _penVelocity[2] = {0.0f, 0.0f};
    float _penPixel[2] = {0.0f, 0.0f};
    float _previousPenPixel[2] = {0.0f, 0.0f};
    float _targetPixel[2] = {0.0f, 0.0f};
    float _sampleCount = 0.0f;
    float _warmUpSamples = WarmUpSamples;
};
