// Decides a contact's posture from the averaged contact area of its first
// reports; the canvas and the stroke build canvas each own one.
#pragma once

#include "Posture.h"

#include <array>
#include <cstdint>
#include <limits>

// Contact-area bounds of the five postures in board area units (the units of
// width x height as handed to the components' hit operations). Both ends are
// inclusive. The visualization supplies them from the configuration.
struct PostureRanges
{
    double penMin = 0.0;
    double penMax = 0.0;
    double oneFingerMin = 0.0;
    double oneFingerMax = 0.0;
    double twoFingersMin = 0.0;
    double twoFingersMax = 0.0;
    double fistMin = 0.0;
    double fistMax = 0.0;
    double handMin = 0.0;
    double handMax = 0.0;
};

// Keeps a ring of the last four reports of one contact. Reports 1 to 4 fill
// the ring, report 5 only computes the averages, and from report 6 on every
// report replaces one ring slot and classifies. The first decision (0 to 5)
// is final until reset(): a later report can only confirm it.
class PostureDetector
{
public:
    static constexpr unsigned SampleCount = 4;
    // Value of a ring slot that holds no report yet.
    static constexpr double EmptySample = std::numeric_limits<double>::min();

    // Takes the ten bounds, each truncated toward zero to an integer.
    explicit PostureDetector(const PostureRanges& ranges);

    // Feeds one report of the contact: position and contact size in board
    // units. The area counts double in the table's corner zones
    // (x < 300 or x > 1100, and y < 230 or y > 700).
    void addSample(unsigned x, unsigned y, unsigned width, unsigned height);

    Posture getPosture() const { return _posture; }
    // The posture before the latest report: still Posture::None on the report
    // that decided the posture.
    Posture getPreviousPosture() const { return _previousPosture; }
    unsigned getSampleCount() const { return SampleCount; }

    // Averages of the ring (sum / 4, integer division); 0 until report 5.
    double getAverageArea() const { return _averageArea; }
    double getAverageWidth() const { return _averageWidth; }
    double getAverageHeight() const { return _averageHeight; }

    // Position of report slot + 1 of the contact (slot 0 to 3), or
    // EmptySample while that report has not arrived. Later reports do not
    // overwrite the positions.
    double getSampleX(unsigned slot) const;
    double getSampleY(unsigned slot) const;

    // Back to an empty ring, zero sums and averages, both postures none;
    // the ranges stay.
    void reset();

private:
    Posture classify(double area, Posture previous) const;

    std::array<int, 10> _ranges{};

    std::uint32_t _areaSum = 0;
    std::uint32_t _widthSum = 0;
    std::uint32_t _heightSum = 0;
    std::array<double, SampleCount> _areaSamples{};
    std::array<double, SampleCount> _widthSamples{};
    std::array<double, SampleCount> _heightSamples{};
    std::array<double, SampleCount> _xSamples{};
    std::array<double, SampleCount> _ySamples{};
    unsigned _sampleIndex = 0;
    double _averageArea = 0.0;
    double _averageWidth = 0.0;
    double _averageHeight = 0.0;
    bool _filled = false;
    Posture _posture = Posture::None;
    Posture _previousPosture = Posture::None;
};
