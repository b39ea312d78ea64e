// The folders of programs the registry names: an App Paths entry, or the
// open command of a file type. And the small text routines they use.
#pragma once

#include "platform/Os.h"

// Reads the default value of `keyPath`\`subkeyName` and reduces it to the
// folder of the program it names. Returns `folder` (kPathChars characters)
// on success, NULL when there is no value or it names no drive folder.
char* LookupAppFolder(HKEY hive, const char* keyPath, const char* subkeyName, char* folder);

// Drops, in place, the characters in front of the first letter.
char* SkipLeadingNonLetters(char* text);

// Ends the text right after the last `c` among its second to last-but-one
// characters.
char* CutAfterLastChar(char* text, char c);

// Copies `folder` (when given) into `target`, makes it end in a backslash and
// appends `name`. `target` is a buffer of kPathChars characters.
char* JoinPath(char* target, const char* name, const char* folder);
