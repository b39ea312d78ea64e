// Installs the payload items that the system enumerates: files into the
// install folder, preset sets into the current user's registry key.
#pragma once

#include "platform/Os.h"

// Adds a component name to the exclusion list; items whose file-form name
// contains it are skipped. An empty name, or a full list, changes nothing.
void ExcludeComponent(const char* name);

// Empties the exclusion list and the record of failed items, so that an
// install starts afresh.
void ResetInstallRecords();

// The callback of EnumResourceNamesA over one payload type; `param` carries
// the type. Returns FALSE, ending the enumeration of that type, when the item
// cannot be found, is empty or cannot be loaded. Every item that could not
// be installed is recorded in gState.failures.
BOOL CALLBACK ExtractPayloadItem(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);

// Stores `size` bytes as the REG_BINARY value `valueName` of HKCU\`subKey`,
// creating the key when needed. Returns the Win32 status.
LONG WritePresetValue(const char* subKey, const char* valueName, const void* data, DWORD size);
