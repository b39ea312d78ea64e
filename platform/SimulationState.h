// Shared between the layer and the test switch; nothing else includes it.
#pragma once

#include "platform/Simulation.h"

namespace os {
extern SimulatedWindows gSimulatedWindows;
}
