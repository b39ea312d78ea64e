// An element that holds an integer value and shows it as one frame of a
// bitmap strip, with a label beside it. Clicks step the value. In tick-box
// mode the odd values are the pressed looks of the even ones: a press shows
// the pressed frame and the release completes the change.
#pragma once

#include "toolkit/JElement.h"

// Mode bits.
enum : int32_t {
    JSF_TRANSPOSED = 0x01,    // frames and cells mirrored about their main diagonal
    JSF_GRID = 0x02,          // 26 by 26 cells, four to a row; a left press opens the popup chooser
    JSF_DOUBLE_WIDTH = 0x04,  // frames twice as wide as the strip is high
    JSF_TRANSPARENT = 0x08,   // white pixels of a frame show the background
    JSF_VALUE_ONLY = 0x10,    // holds a value only: no bitmap, never drawn, ignores the mouse
};

constexpr int kSelectorTextChars = 40;
constexpr int kGridCell = 26;

class JSelector : public JElement {
public:
    // `origin` (L, T, R, B): the frame's top-left corner is (L, T); hiding
    // covers (L, T, L + R, T + B) with the background. `labelOffset` packs x
    // in its upper and y in its lower 16 bits, each biased by 0x8000; the
    // label goes x right of the frame's left edge and y above its top.
    // `stateCount` > 0: values firstState to stateCount; otherwise tick-box
    // mode with values firstState to -stateCount. `name` NULL: empty. With
    // JSF_VALUE_ONLY nothing is loaded and `value` starts at firstState.
    JSelector(const char* hoverText, const JRect& origin, JContext* context, uint32_t bitmapId,
              uint32_t labelOffset, const char* label, int firstState, int stateCount, int commandId,
              int flags, const char* name);
    ~JSelector() override;

    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Draw(HDC dc) override;
    // Relative to minValue (the raw value with JSF_VALUE_ONLY).
    int GetValue() override;
    // Clamped to minValue..maxValue; no redraw.
    void SetValue(int value) override;

    int32_t value;  // frame `value` of the strip is shown
    JRect hitRect;  // hit test area, edges included, and the area copied to the window
    JRect eraseRect;
    int32_t flags;
    JBitmap* strip;  // owned
    int32_t minValue;
    int32_t maxValue;
    char name[kSelectorTextChars];  // for the owner's use
    int32_t toggleMode;             // tick-box mode
    POINT labelOffset;
    char label[kSelectorTextChars];

private:
    // Steps the value by `delta` and wraps it, then redraws.
    void Step(int delta);
    // Grid mode: lets the user pick a cell in a modal popup. 1 when one was picked.
    int ChooseFromPopup(HWND window);
};

// The popup chooser of grid mode; only one is ever open.
struct JPopupChooser {
    JSelector* selector;
    JContext* context;
    int32_t width;
    int32_t height;
    LPARAM click;  // where the popup was clicked, in its client coordinates; 0: no pick
};

extern JPopupChooser gPopupChooser;

INT_PTR CALLBACK SelectorPopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);
