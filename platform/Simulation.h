// Test programs only: choose the Windows that the installer's code believes it
// runs on. The shipped program does not link this.
#pragma once

namespace os {

enum class SimulatedWindows {
    Windows64,             // the default: a 32-bit process under WOW64
    Windows32,             // 32-bit Windows: no WOW64, one registry view
    Windows32NoIsWow64,    // 32-bit Windows whose kernel32 lacks IsWow64Process
};

void SimulateWindows(SimulatedWindows kind);

}  // namespace os
