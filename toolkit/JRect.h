// The toolkit's rectangle: laid out as a Win32 RECT, right and bottom exclusive.
#pragma once

#include "platform/Os.h"

using JRect = RECT;
static_assert(sizeof(JRect) == 16, "JRect is four 32-bit integers");

// Fills `rect` from a position and a size. Each input is cut to its low 16
// bits and read as a signed 16-bit number before the sums are taken.
inline void MakeJRect(JRect* rect, int x, int y, int width, int height) {
    const int32_t left = static_cast<int16_t>(x);
    const int32_t top = static_cast<int16_t>(y);
    rect->left = left;
    rect->top = top;
    rect->right = left + static_cast<int16_t>(width);
    rect->bottom = top + static_cast<int16_t>(height);
}
