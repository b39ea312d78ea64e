// The one place that includes the Windows headers.
//
// The installer is a 32-bit program. The 64-bit build of the same sources
// exists so that the code can run and be tested under wine64; the functions
// in namespace os make that build behave as the 32-bit installer behaves on
// 64-bit Windows. In the 32-bit build they pass straight to the system.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <stddef.h>
#include <stdint.h>

namespace os {

// GetProcAddress, except that the 64-bit build answers "IsWow64Process"
// as a 32-bit process on 64-bit Windows would be answered.
FARPROC GetProcAddress(HMODULE module, const char* name);

// Registry opens below HKEY_LOCAL_MACHINE see the view a 32-bit process
// sees: the 32-bit view unless KEY_WOW64_64KEY is asked for.
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* cls, DWORD options,
                     REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);

// The access mask a 32-bit process would pass for an open of `key`.
REGSAM RegistryAccess(HKEY key, REGSAM access);

}  // namespace os
