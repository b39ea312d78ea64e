// Ids and colours of the bitmaps in ToolkitTest.rc (made by
// make_test_bitmaps.py; change both together).
#pragma once

#include "platform/Os.h"

namespace test {

constexpr uint32_t kPatternId = 100;  // 16 by 16, a different colour at every pixel
constexpr uint32_t kButtonId = 101;   // 58 by 19, one white and one near-white pixel
constexpr uint32_t kStripId = 102;    // 52 by 13: four frames of 13 by 13
constexpr uint32_t kGridId = 103;     // 104 by 52: two rows of four 26 by 26 cells
constexpr uint32_t kCursorId = 120;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kNearWhite = 0xFEFFFF;  // blue 254: drawn, not transparent

inline COLORREF PatternPixel(int x, int y) {
    return RGB(16 * x + 4, 16 * y + 4, 0x60);
}

// What a window shows where only the tiled pattern background is.
inline COLORREF Background(int x, int y) {
    return PatternPixel(x % 16, y % 16);
}

inline COLORREF ButtonPixel(int x, int y) {
    if (x == 3 && y == 3)
        return kWhite;
    if (x == 4 && y == 3)
        return kNearWhite;
    return RGB(0x20 + x, 0x40 + y, 0xA0);
}

// Strip frames are solid, with a marker at (1, 3) and white at (6, 6).
constexpr COLORREF kFrameColours[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
constexpr COLORREF kFrameMarker = RGB(1, 2, 3);

// Grid cells are solid, with a marker at (2, 5).
inline COLORREF CellColour(int column, int row) {
    return RGB(40 * column + 20, 100 * row + 50, 77);
}
constexpr COLORREF kCellMarker = RGB(9, 9, 9);

}  // namespace test
