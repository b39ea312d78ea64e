// A clean registry and candidate table for each test, and the trace file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "installer/InstallerState.h"
#include "platform/Simulation.h"
#include "tests/common/TestSupport.h"

namespace test {

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SimulateWindows(os::SimulatedWindows::Windows64);
        ResetSlots(gState.candidates.slots);
        gState.use64BitView = 0;
        DeleteFileA("c:\\inst581.txt");
    }
    void TearDown() override {
        DeleteFileA("c:\\inst581.txt");
        os::SimulateWindows(os::SimulatedWindows::Windows64);
        ResetSlots(gState.candidates.slots);
        gState.use64BitView = 0;
        SetCurrentDirectoryA("c:\\");
    }

    static void CreateTrace() { WriteFileBytes("c:\\inst581.txt", {}); }
    static std::string Trace() {
        auto bytes = ReadFileBytes("c:\\inst581.txt");
        return std::string(bytes.begin(), bytes.end());
    }
    static std::vector<std::string> Table() {
        std::vector<std::string> paths;
        for (const FolderCandidate& slot : gState.candidates.slots) {
            if (!slot.path[0])
                break;
            paths.push_back(slot.path);
        }
        return paths;
    }

    // The vendor keys the discovery reads, cleaned before and after.
    ScopedRegistryKey halvorneUser{HKEY_CURRENT_USER, "Software\\Halvorne"};
    ScopedRegistryKey adobeUser{HKEY_CURRENT_USER, "Software\\Adobe"};
    ScopedRegistryKey adobe32{HKEY_LOCAL_MACHINE, "Software\\Adobe", KEY_WOW64_32KEY};
    ScopedRegistryKey adobe64{HKEY_LOCAL_MACHINE, "Software\\Adobe", KEY_WOW64_64KEY};
    ScopedRegistryKey halvorne32{HKEY_LOCAL_MACHINE, "Software\\Halvorne", KEY_WOW64_32KEY};
    ScopedRegistryKey corel{HKEY_CURRENT_USER, "Software\\Corel"};
    ScopedRegistryKey jasc{HKEY_LOCAL_MACHINE, "Software\\Jasc", KEY_WOW64_32KEY};
    ScopedRegistryKey xara{HKEY_CURRENT_USER, "Software\\Xara"};
    ScopedRegistryKey appPath{HKEY_LOCAL_MACHINE,
                              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe",
                              KEY_WOW64_64KEY};
    ScopedRegistryKey pi3{HKEY_CLASSES_ROOT, "PI3.Image"};
    TempFolder folder;
};

}  // namespace test
