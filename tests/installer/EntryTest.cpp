#include <gtest/gtest.h>

#include <string>

#include "installer/InstallerState.h"
#include "platform/Simulation.h"
#include "tests/common/TestSupport.h"

namespace {

TEST(IsWow64, AnswersAsThe32BitInstallerIsAnsweredOnEachKindOfWindows) {
    struct Case {
        os::SimulatedWindows windows;
        int32_t expected;
        bool hasEntry;
    };
    const Case cases[] = {
        {os::SimulatedWindows::Windows64, 1, true},
        {os::SimulatedWindows::Windows32, 0, true},
        {os::SimulatedWindows::Windows32NoIsWow64, 0, false},
    };
    for (const Case& c : cases) {
        os::SimulateWindows(c.windows);
        for (int call = 0; call < 2; ++call) {  // the same answer on every call
            EXPECT_EQ(IsWow64() != 0, c.expected != 0);
            EXPECT_EQ(gState.isWow64ProcessEntry != nullptr, c.hasEntry);
        }
    }
    os::SimulateWindows(os::SimulatedWindows::Windows64);
}

TEST(InstallerState, TablesAreSetUpBeforeTheEntryRuns) {
    for (int i = 0; i < kTableSlots; ++i) {
        for (const FolderCandidate* slot : {&gState.candidates.slots[i], &gState.exclusions.slots[i]}) {
            EXPECT_EQ(slot->path[0], '\0');
            EXPECT_EQ(slot->appendVendorFolder, 1);
            EXPECT_EQ(slot->foundIn64BitView, 0);
        }
    }
    EXPECT_EQ(gState.linkOrigin.x, 458);
    EXPECT_EQ(gState.optionsAnchor.y, 238);
    EXPECT_EQ(gState.listMargin, 16);
    EXPECT_EQ(gState.textLeft, 20);
}

std::string InstallerPath() {
    return test::WinePath(INSTALLER_EXE);
}

TEST(Entry, EndsAtOnceWithExitCodeZeroWhileAnotherProcessHoldsTheMutex) {
    HANDLE held = CreateMutexA(nullptr, TRUE, " ");
    ASSERT_NE(held, nullptr);

    std::string command = "\"" + InstallerPath() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << command;
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ReleaseMutex(held);
    CloseHandle(held);
}

}  // namespace
