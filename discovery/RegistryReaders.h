// The discovery's only contact with the registry. Each call opens the key by
// its path, makes one read and closes the key again. While
// gState.use64BitView is set the keys are opened in the 64-bit view.
// Every reader returns the Win32 status (0 on success).
#pragma once

#include "platform/Os.h"

// The most a reader takes from the registry: value data of 256 bytes and
// names of 255 characters, each with its terminator.
constexpr DWORD kRegDataBytes = 256;
constexpr DWORD kRegNameChars = 256;

// Reads a string value ("" names the default value) into `text`, a buffer of
// `capacity` characters (at least kRegDataBytes + 1), always zero-terminated;
// a value that is not REG_SZ reads as "". On failure `text` is untouched.
LONG ReadRegString(HKEY hive, const char* keyPath, const char* valueName, char* text, size_t capacity);

// Reads the value at the value cursor of the key and moves the cursor on; any
// failure (the end of the values included) puts the cursor back to 0 and
// leaves both texts empty. `name` and `data` are buffers of at least
// kRegNameChars and kRegDataBytes + 1 characters; the data of a value that is
// not REG_SZ reads as "".
LONG EnumRegValue(HKEY hive, const char* keyPath, char* name, char* data);

// Reads the name of the sub-key at `index` into `name` (kRegNameChars).
LONG EnumRegSubkey(HKEY hive, const char* keyPath, char* name, DWORD index);

// The index of the value the next EnumRegValue reads, whatever key it names.
extern DWORD gValueCursor;
