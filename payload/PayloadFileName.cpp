#include "payload/PayloadFileName.h"

#include "platform/Os.h"

namespace {

constexpr int kNameChars = 400;

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Removes `count` characters at `at`, moving the rest of the text left.
void DeleteChars(char* at, int count) {
    char* from = at + count;
    while ((*at++ = *from++) != '\0') {
    }
}

}  // namespace

char* PayloadFileName(char* name) {
    for (int i = 0; i < kNameChars && name[i]; ++i) {
        if (name[i] >= 'A' && name[i] <= 'Z')
            name[i] = static_cast<char>(name[i] - 'A' + 'a');
    }
    name[0] = Upper(name[0]);

    // The length is measured afresh at every step: deletions shorten the text.
    for (int i = 0; i < lstrlenA(name) - 1; ++i) {
        char* c = name + i;
        if (c[0] == '_') {
            if (c[1] == '_') {
                DeleteChars(c, 2);  // "__" joins two words
                c[0] = Upper(c[0]);
            }
            if (c[0] == '_')
                c[0] = ' ';  // a single underscore stands for a blank
        }
        if (c[0] == ':') {
            DeleteChars(c, 1);
            continue;
        }
        if (c[0] == '\0')
            break;  // a "__" at the very end was deleted
        if (IsCharAlphaA(c[0]) || c[0] == '\'' || c[0] == '.' || c[0] == '8')
            continue;
        c[1] = Upper(c[1]);
    }
    return name;
}
