// A bitmap push button: a picture with white as the transparent colour, a
// pressed look, an optional caption, and a command posted when a press
// inside the button is released.
#pragma once

#include "toolkit/JElement.h"

class JButton : public JElement {
public:
    // `origin`: the picture's top-left corner, and the button's area when it
    // has no picture. `captionOffset` (dx, dy, width, height) places the
    // caption relative to the origin; NULL: none. An image id of 0 means no
    // picture; equal ids make the pressed look the picture moved by one pixel.
    JButton(const char* hoverText, const JRect* captionOffset, JContext* context, const JRect& origin,
            uint32_t imageId, uint32_t pressedImageId, int commandId, const char* caption);
    ~JButton() override;

    int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Draw(HDC dc) override;

    enum State { kIdle = 0, kPressed = 1, kClicked = 3 };

    JBitmap* image;         // owned; NULL without a picture
    JBitmap* pressedImage;  // owned; NULL without a pressed picture
    int32_t state;
    POINT origin;
    JRect bounds;
    char caption[kCaptionChars];  // empty: none
    JRect captionRect;
    int32_t directDraw;   // Draw puts the picture straight onto the target, pixel by pixel
    int32_t pressOffset;  // 1: the pressed look is moved one pixel right and down
};

// Puts the pressed or the normal look onto paintDC, during a mouse dispatch.
void DrawPressed(JButton* button, int pressed);
