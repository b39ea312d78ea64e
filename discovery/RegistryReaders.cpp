#include "discovery/RegistryReaders.h"

#include "installer/InstallerState.h"

DWORD gValueCursor = 0;

namespace {

LONG OpenKey(HKEY hive, const char* keyPath, HKEY* key) {
    REGSAM access = gState.use64BitView ? KEY_READ | KEY_WOW64_64KEY : KEY_READ;
    return os::RegOpenKeyExA(hive, keyPath, 0, access, key);
}

// A string value may be stored without its terminator, or with bytes after
// it: end the text where the data ends, inside the buffer.
void EndText(char* data, DWORD type, DWORD size) {
    if (type != REG_SZ)
        size = 0;
    data[size < kRegDataBytes ? size : kRegDataBytes] = '\0';
}

}  // namespace

LONG ReadRegString(HKEY hive, const char* keyPath, const char* valueName, char* text, size_t capacity) {
    HKEY key;
    LONG status = OpenKey(hive, keyPath, &key);
    if (status != ERROR_SUCCESS)
        return status;
    char data[kRegDataBytes + 1];
    DWORD type = REG_SZ;
    DWORD size = kRegDataBytes;
    status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) {
        EndText(data, type, size);
        CopyText(text, capacity, data);
    } else if (type != REG_SZ) {
        CopyText(text, capacity, "");
    }
    return status;
}

LONG EnumRegValue(HKEY hive, const char* keyPath, char* name, char* data) {
    HKEY key;
    LONG status = OpenKey(hive, keyPath, &key);
    if (status != ERROR_SUCCESS) {
        gValueCursor = 0;
        return status;
    }
    DWORD type = REG_SZ;
    DWORD nameChars = kRegNameChars;
    DWORD size = kRegDataBytes;
    status = RegEnumValueA(key, gValueCursor, name, &nameChars, nullptr, &type, reinterpret_cast<BYTE*>(data),
                           &size);
    ++gValueCursor;
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) {
        name[nameChars < kRegNameChars ? nameChars : kRegNameChars - 1] = '\0';
        EndText(data, type, size);
    } else {
        // A value too large for the buffers leaves them holding whatever
        // part the system put there, without a terminator.
        name[0] = '\0';
        data[0] = '\0';
        gValueCursor = 0;
    }
    return status;
}

LONG EnumRegSubkey(HKEY hive, const char* keyPath, char* name, DWORD index) {
    HKEY key;
    LONG status = OpenKey(hive, keyPath, &key);
    if (status != ERROR_SUCCESS)
        return status;
    DWORD nameChars = kRegNameChars;
    FILETIME lastWrite;
    status = RegEnumKeyExA(key, index, name, &nameChars, nullptr, nullptr, nullptr, &lastWrite);
    RegCloseKey(key);
    if (status == ERROR_SUCCESS)
        name[nameChars < kRegNameChars ? nameChars : kRegNameChars - 1] = '\0';
    return status;
}
