#include "discovery/AppPathLookups.h"

#include "discovery/CandidateTable.h"
#include "discovery/RegistryReaders.h"
#include "installer/InstallerState.h"

namespace {
constexpr int kSkipLimit = 390;
}

char* SkipLeadingNonLetters(char* text) {
    if (IsCharAlphaA(text[0]))
        return text;
    char scratch[kPathChars];
    CopyText(scratch, kSkipLimit + 1, text);
    const char* letter = scratch;
    while (*letter && !IsCharAlphaA(*letter))
        ++letter;
    // `text` held at least what `scratch` holds, so the result fits.
    CopyText(text, kSkipLimit + 1, letter);
    return text;
}

char* CutAfterLastChar(char* text, char c) {
    for (int i = lstrlenA(text) - 2; i >= 1; --i) {
        if (text[i] == c) {
            text[i + 1] = '\0';
            break;
        }
    }
    return text;
}

char* JoinPath(char* target, const char* name, const char* folder) {
    if (folder)
        CopyText(target, kPathChars, folder);
    EnsureTrailingBackslash(target, kPathChars);
    return AppendText(target, kPathChars, name);
}

char* LookupAppFolder(HKEY hive, const char* keyPath, const char* subkeyName, char* folder) {
    char key[kPathChars];
    char value[kPathChars];
    CopyText(key, keyPath);
    JoinPath(key, subkeyName, nullptr);
    if (ReadRegString(hive, key, "", value, sizeof value) != ERROR_SUCCESS)
        return nullptr;
    CutAfterLastChar(value, '\\');
    SkipLeadingNonLetters(value);
    if (!value[0] || value[1] != ':')
        return nullptr;
    return CopyText(folder, kPathChars, value);
}
