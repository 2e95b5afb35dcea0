// VisualizationBuildDirector: the base of directors, which know what a scene
// consists of and tell a TabletopVisBuilder what to build, in which order.
#pragma once

class TabletopVisBuilder;

// Directors hold no scene: the builder keeps it (TabletopVisBuilder::getVis).
// Derived directors add their construction operations.
class VisualizationBuildDirector
{
public:
    VisualizationBuildDirector() = default;
    virtual ~VisualizationBuildDirector() = default;

    VisualizationBuildDirector(const VisualizationBuildDirector&) = delete;
    VisualizationBuildDirector& operator=(const VisualizationBuildDirector&) = delete;
};
