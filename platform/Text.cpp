#include "platform/Text.h"

bool ContainsText(const char* text, const char* pattern) {
    for (const char* start = text;; ++start) {
        const char* t = start;
        const char* p = pattern;
        while (*p && *t == *p) {
            ++t;
            ++p;
        }
        if (!*p)
            return true;
        if (!*start)
            return false;
    }
}

char* CopyText(char* dest, size_t capacity, const char* source) {
    if (capacity == 0)
        return dest;
    size_t i = 0;
    for (; i + 1 < capacity && source[i]; ++i)
        dest[i] = source[i];
    dest[i] = '\0';
    return dest;
}

char* AppendText(char* dest, size_t capacity, const char* source) {
    size_t used = 0;
    while (used < capacity && dest[used])
        ++used;
    if (used < capacity)
        CopyText(dest + used, capacity - used, source);
    return dest;
}
