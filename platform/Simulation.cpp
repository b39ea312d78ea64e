#include "platform/SimulationState.h"

namespace os {

void SimulateWindows(SimulatedWindows kind) {
    gSimulatedWindows = kind;
}

}  // namespace os
