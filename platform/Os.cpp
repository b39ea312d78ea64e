#include "platform/Os.h"

#include "platform/SimulationState.h"

namespace os {

SimulatedWindows gSimulatedWindows = SimulatedWindows::Windows64;

#ifdef _WIN64

namespace {

// What IsWow64Process tells a 32-bit process on 64-bit Windows (TRUE) or on
// 32-bit Windows (FALSE).
BOOL WINAPI SimulatedIsWow64Process(HANDLE, BOOL* wow64) {
    *wow64 = gSimulatedWindows == SimulatedWindows::Windows64;
    return TRUE;
}

}  // namespace

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (lstrcmpA(name, "IsWow64Process") == 0) {
        if (gSimulatedWindows == SimulatedWindows::Windows32NoIsWow64)
            return nullptr;
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SimulatedIsWow64Process));
    }
    return ::GetProcAddress(module, name);
}

REGSAM RegistryAccess(HKEY key, REGSAM access) {
    if (key != HKEY_LOCAL_MACHINE)
        return access;  // HKCU\Software and file-type keys are not split
    // 32-bit Windows has one view: the flag asking for the 64-bit one is
    // ignored there.
    if (gSimulatedWindows != SimulatedWindows::Windows64)
        access &= ~KEY_WOW64_64KEY;
    if (!(access & KEY_WOW64_64KEY))
        access |= KEY_WOW64_32KEY;
    return access;
}

#else

FARPROC GetProcAddress(HMODULE module, const char* name) {
    return ::GetProcAddress(module, name);
}

REGSAM RegistryAccess(HKEY, REGSAM access) {
    return access;
}

#endif

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExA(key, subKey, options, RegistryAccess(key, access), result);
}

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* cls, DWORD options,
                     REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) {
    return ::RegCreateKeyExA(key, subKey, reserved, cls, options, RegistryAccess(key, access), security,
                             result, disposition);
}

}  // namespace os
