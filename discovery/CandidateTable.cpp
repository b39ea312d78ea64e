#include "discovery/CandidateTable.h"

#include <stdio.h>

#include "installer/InstallerState.h"

const char kTraceFile[] = "c:\\inst581.txt";

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void LowerCase(char* text) {
    for (; *text; ++text)
        *text = Lower(*text);
}

void WriteTraceLine(const char* path, const char* sourceTag) {
    FILE* trace = fopen(kTraceFile, "rt");
    if (!trace)
        return;  // no trace file: no trace
    fclose(trace);
    trace = fopen(kTraceFile, "a+t");
    if (!trace)
        return;
    if (!gState.candidates.slots[0].path[0])
        fputs(IsWow64() ? "\n\nWow64\n" : "\n\nx(86)\n", trace);
    fputs(gState.use64BitView ? "x64 " : "x32 ", trace);
    fprintf(trace, "%s  %s\n", sourceTag, path);
    fclose(trace);
}

}  // namespace

bool TrimToExistingFolder(char* path) {
    int length = lstrlenA(path);
    if (length > 0 && path[length - 1] == '\\')
        path[--length] = '\0';
    for (int i = length - 1; i > 2; --i) {
        if (SetCurrentDirectoryA(path))
            return true;
        if (path[i] == '\\')
            return false;
        path[i] = '\0';
    }
    return false;
}

char* EnsureTrailingBackslash(char* path, size_t capacity) {
    size_t length = lstrlenA(path);
    if (length > 0 && path[length - 1] != '\\')
        AppendText(path, capacity, "\\");
    return path;
}

char* TitleCasePath(char* path) {
    LowerCase(path);
    if (path[0] >= 'a' && path[0] <= 'z')
        path[0] = static_cast<char>(path[0] - 'a' + 'A');
    for (int i = 0; path[i] && path[i + 1]; ++i) {
        char next = path[i + 1];
        if (!IsCharAlphaA(path[i]) && next >= 'a' && next <= 'z')
            path[i + 1] = static_cast<char>(next - 'a' + 'A');
    }
    return path;
}

void AddCandidateFolder(char* path, const char* sourceTag) {
    // "C:name" would be found relative to whatever folder the process was
    // left in, not where the registry points.
    const bool fullPath = path[0] && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    if (!fullPath || !TrimToExistingFolder(path))
        return;
    WriteTraceLine(path, sourceTag);
    // Keep the folder under the name the system entered it by: the path as
    // found may hold "." or ".." parts, doubled or forward slashes, or blanks
    // the system drops at its end, and would then name no folder, or one
    // folder twice, once "Halvorne\" is appended.
    const DWORD length = GetCurrentDirectoryA(kPathChars, path);
    if (length == 0 || length >= kPathChars)
        return;
    LowerCase(path);
    // The maker's own folder and what lies below it give way to the folder
    // above, where the maker's folder is proposed again.
    const char* vendor = nullptr;
    for (const char* c = path; *c && !vendor; ++c) {
        if (c[0] == 'h' && c[1] == 'a' && c[2] == 'l' && c[3] == 'v')
            vendor = c;
    }
    if (vendor && vendor > path && vendor[-1] == '\\')
        path[vendor - path] = '\0';
    EnsureTrailingBackslash(path, kPathChars);
    TitleCasePath(path);

    for (FolderCandidate& slot : gState.candidates.slots) {
        if (!slot.path[0]) {
            CopyText(slot.path, path);
            slot.foundIn64BitView = gState.use64BitView;
            return;
        }
        if (lstrcmpA(slot.path, path) == 0)
            return;
    }
}
