// Process-level start-up choices made before the application object exists.
#include "StartupOptions.h"

#include <QtGlobal>

namespace StartupOptions {

QString configurationPath(int argc, const char* const* argv)
{
    return argc == 2 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("config.xml");
}

void unthrottleUpdates()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
}

} // namespace StartupOptions
