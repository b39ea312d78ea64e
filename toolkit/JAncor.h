// A hyperlink: underlined text in link colours that shows the hand cursor and
// its hover text under the pointer and posts its command when pressed.
#pragma once

#include "toolkit/JElement.h"

class JAncor : public JElement {
public:
    // The text goes at the top-left corner of `origin`.
    JAncor(const char* hoverText, JContext* context, const JRect& origin, const char* caption, int commandId);

    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws the same shown or hidden; leaves `dc` with black text.
    void Draw(HDC dc) override;

    static constexpr COLORREF kLinkColour = 0xFF0000;     // blue
    static constexpr COLORREF kVisitedColour = 0x800080;  // purple

    int32_t visited;  // pressed at least once
    // The hit box, edges included: the text position until the first Draw,
    // then the extent of the drawn text.
    JRect linkRect;
    char caption[kCaptionChars];
};
