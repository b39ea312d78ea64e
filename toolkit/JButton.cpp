#include "toolkit/JButton.h"

#include "platform/Text.h"
#include "toolkit/Blit.h"

namespace {

JBitmap* LoadPicture(uint32_t id, JContext* context) {
    if (id == 0)
        return nullptr;
    JBitmap* image = new JBitmap();
    image->created = LoadSkinBitmap(id, image, context->instance, context->paintDC);
    return image;
}

void FreePicture(JBitmap* image) {
    if (image) {
        ReleaseSkinBitmap(image);
        delete image;
    }
}

// The caption, composed over the background in the back buffer, onto `dc`.
void ComposeCaption(const JButton* button, HDC dc) {
    if (!button->caption[0])
        return;
    const JContext* context = button->context;
    TileBitmap(context->background, context->backDC, button->captionRect);
    TextAt(button->caption, context->backDC, button->captionRect.left, button->captionRect.top);
    BlitRect(button->captionRect, dc, context->backDC);
}

}  // namespace

JButton::JButton(const char* hoverText, const JRect* captionOffset, JContext* context, const JRect& origin,
                 uint32_t imageId, uint32_t pressedImageId, int commandId, const char* caption)
    : JElement(hoverText, context) {
    CopyText(this->caption, caption ? caption : "");
    if (captionOffset) {
        const int left = origin.left + captionOffset->left;
        const int top = origin.top + captionOffset->top;
        SetRect(&captionRect, left, top, left + captionOffset->right, top + captionOffset->bottom);
    } else {
        SetRect(&captionRect, 0, 0, 0, 0);
    }
    bounds = origin;
    image = LoadPicture(imageId, context);
    pressedImage = LoadPicture(pressedImageId, context);
    this->origin = {origin.left, origin.top};
    if (image) {
        bounds.right = origin.left + image->width;
        bounds.bottom = origin.top + image->height;
    }
    state = kIdle;
    pressOffset = imageId == pressedImageId ? 1 : 0;
    bounds.right += pressOffset;
    bounds.bottom += pressOffset;
    this->commandId = commandId;
    directDraw = 0;
}

JButton::~JButton() {
    FreePicture(pressedImage);
    FreePicture(image);
}

int JButton::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    // Strict on all four sides: the first column and row are outside too.
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    const bool inside = origin.x < x && x < origin.x + (bounds.right - bounds.left) && origin.y < y &&
                        y < origin.y + (bounds.bottom - bounds.top);
    switch (message & 0xFFFF) {
        case WM_MOUSEMOVE:
            if (inside) {
                ShowHoverText(this, 1);
            } else {
                // Leaving while pressed cancels the press.
                if (state == kPressed) {
                    DrawPressed(this, 0);
                    state = kIdle;
                }
                ShowHoverText(this, 0);
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (inside) {
                DrawPressed(this, 1);
                state = kPressed;
            }
            return 0;
        case WM_LBUTTONUP:
            // Not hit-tested: a press that left the button was cancelled by the move.
            if (state == kPressed) {
                DrawPressed(this, 0);
                PostCommand(window, commandId);
                state = kClicked;
                return 1;
            }
            state = kIdle;
            return 0;
        default:
            return 0;
    }
}

void JButton::Draw(HDC dc) {
    if (!visible) {
        TileBitmap(context->background, dc, bounds);
    } else if (image) {
        if (directDraw) {
            DrawTransparentDirect(image, dc, origin.x, origin.y);
        } else {
            TileBitmap(context->background, context->backDC, bounds);
            DrawTransparent(image, context->backDC, origin.x, origin.y, 0, 0);
            BlitRect(bounds, dc, context->backDC);
        }
    }
    ComposeCaption(this, dc);
}

void DrawPressed(JButton* button, int pressed) {
    if (!button->pressedImage || !button->image)
        return;
    JContext* context = button->context;
    TileBitmap(context->background, context->backDC, button->bounds);
    if (pressed)
        DrawTransparent(button->pressedImage, context->backDC, button->origin.x, button->origin.y,
                        button->pressOffset, button->pressOffset);
    else
        DrawTransparent(button->image, context->backDC, button->origin.x, button->origin.y, 0, 0);
    BlitRect(button->bounds, context->paintDC, context->backDC);
    ComposeCaption(button, context->paintDC);
}
