// VelkConfiguration: the configuration data; its start-up defaults are the member initialisers.
#include "VelkConfiguration.h"

// Out of line so that the class's vtable has one home.
VelkConfiguration::~VelkConfiguration() = default;
