#include "payload/Extractor.h"

#include <stdio.h>

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

// Writes the item beside its target under a temporary name and moves it over
// the target only once every byte is on disk, so that a failed write never
// leaves a truncated file behind or damages an earlier install.
bool WriteFileItem(const char* target, const void* data, DWORD size) {
    char folder[2 * kPathChars];
    CopyText(folder, target);
    char* lastSeparator = nullptr;
    for (char* c = folder; *c; ++c) {
        if (*c == '\\' || *c == '/')
            lastSeparator = c;
    }
    if (lastSeparator)
        lastSeparator[1] = '\0';
    else
        CopyText(folder, ".");
    // Windows refuses to replace a read-only file; Wine would replace it.
    // Ask first, so that both leave it alone.
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder, "tk", 0, temp))
        return false;
    bool written = false;
    // GetTempFileNameA made the file, empty: open it as it is. Truncating it
    // again ("wb") makes ext4, under Wine, flush the whole item at fclose.
    if (FILE* file = fopen(temp, "r+b")) {
        written = fwrite(data, 1, size, file) == size;
        written = fclose(file) == 0 && written;
    }
    if (written && MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
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
