// One study task as the loggers report it; the task runner builds these from
// the configuration's task entries and the loggers keep a pointer to it.
#pragma once

#include <array>
#include <string>

struct TaskRecord
{
    // Length of every target-area list.
    static constexpr int MaxTargetAreas = 4;

    int number = -1; // -1 marks the first entry of a series
    // 0 direct touch + Nunchuk, 1 Wii Remote + Nunchuk.
    int inputDevice = 0;
    // 0 create, 1 orient in a line, 2 orient circular, 3 orient in a star
    // shape, 5 repel outward.
    int type = 0;
    // Primitive type: 0 points, 1 tiles, 3 strokes.
    int elementsType = 0;
    int elementsInitNumber = 0;
    bool startsSequence = false;
    bool endsSequence = false; // set on pause entries
    int blockNumber = 0;

    // Target area i + 1 is entry i of each list; coordinates and diameter in
    // window pixels.
    std::array<int, MaxTargetAreas> targetStartX{};
    std::array<int, MaxTargetAreas> targetStartY{};
    std::array<int, MaxTargetAreas> targetEndX{};
    std::array<int, MaxTargetAreas> targetEndY{};
    std::array<int, MaxTargetAreas> targetDiameter{};

    // How many target areas the task draws (at most MaxTargetAreas count).
    int numberOfTargetAreas = 1;
    // Shown on screen while the task runs (or the pause entry is up).
    std::string description{};
    std::string additionalDescription{};
    // Task cards: paths relative to the run directory.
    std::string image{};
    std::string additionalImage{};
};
