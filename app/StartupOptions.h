// Process-level start-up choices made before the application object exists.
#pragma once

#include <QString>

namespace StartupOptions {

// The configuration file: the only argument when there is exactly one,
// otherwise "config.xml" in the working directory.
QString configurationPath(int argc, const char* const* argv);

// Qt delays window update requests by a few milliseconds to merge them,
// which would pace the frame loop; switch that off unless the environment
// already chooses a value.
void unthrottleUpdates();

} // namespace StartupOptions
