// Bounded text helpers for fixed-size 8-bit text buffers.
#pragma once

#include <stddef.h>

// Case-sensitive search for the first occurrence; an empty pattern is found
// in every text.
bool ContainsText(const char* text, const char* pattern);

// Copies at most capacity - 1 characters of `source` and always ends `dest`
// with a zero. The one way the installer copies text into a fixed buffer.
char* CopyText(char* dest, size_t capacity, const char* source);

// Appends to the text in `dest` within the same bound.
char* AppendText(char* dest, size_t capacity, const char* source);

template <size_t N>
char* CopyText(char (&dest)[N], const char* source) {
    return CopyText(dest, N, source);
}

template <size_t N>
char* AppendText(char (&dest)[N], const char* source) {
    return AppendText(dest, N, source);
}
