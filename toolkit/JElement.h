// The base of every skinned element: registration, shown and active flags,
// hover text, and the command it posts.
#pragma once

#include "toolkit/Surface.h"

// Posted by elements to their window: wParam the command id, lParam 0.
constexpr UINT WM_JCOMMAND = WM_USER + 0x100;
static_assert(WM_JCOMMAND == 0x0500, "the toolkit's private message");

constexpr int kHoverTextChars = 200;
constexpr int kCaptionChars = 60;

class JElement {
public:
    // Registers the element in `context` (a full registry refuses it; the
    // element works otherwise but is neither painted nor offered the mouse).
    // `hoverText` NULL: none.
    JElement(const char* hoverText, JContext* context);

    // Non-zero when the element handled the message.
    virtual int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void Draw(HDC dc) = 0;
    virtual int ReservedQueryA();
    virtual int ReservedQueryB();
    virtual int ReservedQueryC();
    virtual int GetValue();
    virtual void SetValue(int value);
    // Takes the element out of its context's registry.
    virtual ~JElement();

    JElement(const JElement&) = delete;
    JElement& operator=(const JElement&) = delete;

    char hoverText[kHoverTextChars];  // only the part before the first '@' is shown
    int32_t active;                   // receives mouse messages
    int32_t visible;                  // painted by PaintSurface; 0: Draw draws the hidden form
    int32_t erased;                   // the hidden form has been drawn; Redraw does nothing
    int32_t hoverShown;               // this element's hover text is in the status rectangle
    int32_t commandId;                // 0: posts nothing
    JContext* context;
};

// Shown is visible and active; hidden is neither. Then redraws the element.
void Show(JElement* element, int show);

// Draws the element now (into paintDC, or a window DC of its own), or its
// hidden form once while it is hidden.
void Redraw(JElement* element);

// Shows (1) or clears (0) the element's hover text in the status rectangle,
// through the back buffer onto paintDC.
void ShowHoverText(JElement* element, int show);

// Posts WM_JCOMMAND with `commandId` to `window`; a zero id posts nothing.
void PostCommand(HWND window, int commandId);

// The pointer position of a mouse message: both halves unsigned.
inline int MouseX(LPARAM lParam) {
    return static_cast<int>(lParam & 0xFFFF);
}
inline int MouseY(LPARAM lParam) {
    return static_cast<int>((lParam >> 16) & 0xFFFF);
}
