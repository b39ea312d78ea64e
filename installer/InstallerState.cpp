#include "installer/InstallerState.h"

InstallerState gState;

void ResetSlots(FolderCandidate (&slots)[kTableSlots]) {
    for (FolderCandidate& slot : slots) {
        slot.path[0] = '\0';
        slot.appendVendorFolder = 1;
        slot.foundIn64BitView = 0;
    }
}

namespace {

// Sets up the state before the entry runs. Done by code rather than by a
// static initialiser, which would store the whole 35 KB record in the file.
struct StateSetup {
    StateSetup() {
        ResetSlots(gState.candidates.slots);
        ResetSlots(gState.exclusions.slots);
        gState.linkOrigin = {458, 20};
        gState.optionsAnchor = {290, 238};
        gState.listMargin = 16;
        gState.textLeft = 20;
    }
} stateSetup;

}  // namespace

int32_t IsWow64() {
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, BOOL*);
    BOOL result = 0;
    gState.isWow64ProcessEntry = os::GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process");
    if (gState.isWow64ProcessEntry)
        reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(gState.isWow64ProcessEntry))(
            GetCurrentProcess(), &result);
    return result;
}
