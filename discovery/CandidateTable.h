// The table of candidate plug-in folders, and the optional install trace.
#pragma once

#include <stddef.h>

// The trace: appended to, one line per folder found, only when it exists.
extern const char kTraceFile[];

// Takes a found folder: keeps the existing folder it names (or one right
// next to it), traces it, brings it into canonical form (its full name as
// the system enters it, title case, the maker's own folder cut off, ending in
// a backslash) and stores it in the next free slot unless it is there already
// or the table is full. A path that does not start with a drive letter, a
// colon and a backslash (or slash) names no folder. `path` is a buffer of
// kPathChars characters, worked on in place.
void AddCandidateFolder(char* path, const char* sourceTag);

// Shortens `path` in place until it names an existing folder: the path, then
// the path cut one character at a time within its last part, then its parent
// with a trailing backslash. Leaves the current directory there.
bool TrimToExistingFolder(char* path);

// Appends a backslash to a non-empty path that lacks one, within `capacity`.
char* EnsureTrailingBackslash(char* path, size_t capacity);

// Capitalises every ASCII letter that starts the path or follows a
// non-letter; all other ASCII letters become small.
char* TitleCasePath(char* path);
