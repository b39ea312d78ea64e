#include "payload/Extractor.h"

#include "installer/InstallerState.h"
#include "payload/PayloadFileName.h"

namespace {

struct PresetSet {
    const char* marker;  // found in the item's file-form name
    int records;
    DWORD recordBytes;
    const char* valuePrefix;
    const char* key;  // below HKEY_CURRENT_USER
};

const PresetSet kPresetSets[] = {
    {"PresetsTrazelsbin", 12, 64, "Portrait", "Software\\Halvorne\\TrazelKundor"},
    {"PresetsBouquetsbin", 16, 128, "Bouquet", "Software\\Halvorne\\Vextral"},
    {"PresetsPatternsbin", 12, 128, "Patterns", "Software\\Halvorne\\Vextral"},
};

void RecordFailure(int type, const char* resourceName, const char* fileName) {
    FailureRecord& failures = gState.failures;
    if (failures.count < static_cast<int32_t>(sizeof failures.items / sizeof failures.items[0])) {
        FailedItem& item = failures.items[failures.count];
        item.type = type;
        CopyText(item.resourceName, resourceName);
        CopyText(item.fileName, fileName);
    }
    ++failures.count;
}

bool IsExcluded(const char* fileName) {
    for (const FolderCandidate& slot : gState.exclusions.slots) {
        if (!slot.path[0])
            break;
        if (ContainsText(fileName, slot.path))
            return true;
    }
    return false;
}

// Opens the key below HKEY_CURRENT_USER that preset values go to, creating
// it and the keys above it when they do not exist.
LONG OpenPresetKey(const char* subKey, HKEY* key) {
    char noClass[] = "";
    DWORD disposition;
    return os::RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, key, &disposition);
}

// Returns false when a record could not be stored. Reads only whole records
// that lie inside the item. The key is opened once for the whole set: a
// create per value cost as much as the values themselves.
bool StorePresetSet(const PresetSet& set, const BYTE* data, DWORD size) {
    const DWORD whole = size / set.recordBytes;
    const int count = whole < static_cast<DWORD>(set.records) ? static_cast<int>(whole) : set.records;
    if (count == 0)
        return false;
    HKEY key;
    if (OpenPresetKey(set.key, &key) != ERROR_SUCCESS)
        return false;
    bool stored = count == set.records;
    for (int k = 1; k <= count; ++k) {
        char valueName[32];
        wsprintfA(valueName, "%s%0.2i", set.valuePrefix, k);  // prefix is ours and short
        const BYTE* record = data + (k - 1) * set.recordBytes;
        if (RegSetValueExA(key, valueName, 0, REG_BINARY, record, set.recordBytes) != ERROR_SUCCESS)
            stored = false;
    }
    RegCloseKey(key);
    return stored;
}

// Creates a new temporary file in `folder` (empty, or ending in a separator),
// named as GetTempFileNameA names them ("tkXXXX.tmp"), and opens it for
// writing; `temp` receives its path. Made here rather than by
// GetTempFileNameA, which would create and close it only for us to open it
// again: under Wine that was about a sixth of the time the files take.
HANDLE CreateTempFile(const char* folder, char (&temp)[2 * kPathChars]) {
    if (lstrlenA(folder) > MAX_PATH - 14)
        return INVALID_HANDLE_VALUE;  // GetTempFileNameA's own limit
    unsigned number = GetTickCount();
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        char name[16];
        wsprintfA(name, "tk%04x.tmp", ++number & 0xFFFF);  // ten characters
        CopyText(temp, folder);
        AppendText(temp, name);
        HANDLE file =
            CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the item beside its target under a temporary name and moves it over
// the target only once every byte is on disk, so that a failed write never
// leaves a truncated file behind or damages an earlier install. The item is
// written straight from the loaded resource, in one call.
bool WriteFileItem(const char* target, const void* data, DWORD size) {
    char folder[2 * kPathChars];
    CopyText(folder, target);
    char* afterSeparator = folder;
    for (char* c = folder; *c; ++c) {
        if (*c == '\\' || *c == '/')
            afterSeparator = c + 1;
    }
    *afterSeparator = '\0';  // no separator: the current folder
    // Windows refuses to replace a read-only file; Wine would replace it.
    // Ask first, so that both leave it alone.
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    char temp[2 * kPathChars];
    HANDLE file = CreateTempFile(folder, temp);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool complete = WriteFile(file, data, size, &written, nullptr) && written == size;
    complete = CloseHandle(file) && complete;
    if (complete && MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temp);
    return false;
}

}  // namespace

void ExcludeComponent(const char* name) {
    for (FolderCandidate& slot : gState.exclusions.slots) {
        if (!slot.path[0]) {
            CopyText(slot.path, name);
            return;
        }
    }
}

void ResetInstallRecords() {
    ResetSlots(gState.exclusions.slots);
    gState.failures.count = 0;
}

BOOL CALLBACK ExtractPayloadItem(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name))
        return TRUE;  // the payload names every item; an integer id is none of ours
    const int type = LOWORD(param);
    char fileName[kPathChars];
    CopyText(fileName, name);
    PayloadFileName(fileName);

    HRSRC found = FindResourceA(gState.instance, name, MAKEINTRESOURCEA(type));
    DWORD size = found ? SizeofResource(module, found) : 0;
    HGLOBAL loaded = size ? LoadResource(gState.instance, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) {
        RecordFailure(type, name, fileName);
        return FALSE;
    }

    if (IsExcluded(fileName))
        return TRUE;

    for (const PresetSet& set : kPresetSets) {
        if (ContainsText(fileName, set.marker)) {
            if (!StorePresetSet(set, data, size))
                RecordFailure(type, name, fileName);
            return TRUE;
        }
    }

    char target[2 * kPathChars];
    CopyText(target, gState.installPath);
    AppendText(target, fileName);
    if (!WriteFileItem(target, data, size))
        RecordFailure(type, name, fileName);
    return TRUE;
}

LONG WritePresetValue(const char* subKey, const char* valueName, const void* data, DWORD size) {
    HKEY key;
    LONG status = OpenPresetKey(subKey, &key);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExA(key, valueName, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status;
}
