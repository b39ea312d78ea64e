#include "toolkit/JElement.h"

#include "platform/Text.h"
#include "toolkit/Blit.h"

JElement::JElement(const char* hoverText, JContext* context)
    : active(1), visible(1), erased(0), hoverShown(0), commandId(0), context(context) {
    RegisterElement(context, this);
    CopyText(this->hoverText, hoverText ? hoverText : "");
}

JElement::~JElement() {
    UnregisterElement(context, this);
}

int JElement::ReservedQueryA() {
    return 0;
}

int JElement::ReservedQueryB() {
    return 0;
}

int JElement::ReservedQueryC() {
    return 0;
}

int JElement::GetValue() {
    return 0;
}

void JElement::SetValue(int) {}

void Show(JElement* element, int show) {
    if (show) {
        element->visible = 1;
        element->active = 1;
        element->erased = 0;
    } else {
        element->visible = 0;
        element->active = 0;
    }
    Redraw(element);
}

void Redraw(JElement* element) {
    if (element->erased)
        return;
    JContext* context = element->context;
    if (context->paintDC) {
        element->Draw(context->paintDC);
    } else {
        HDC dc = GetSkinDC(context->window);
        element->Draw(dc);
        ReleaseDC(context->window, dc);
    }
    if (!element->visible)
        element->erased = 1;
}

void ShowHoverText(JElement* element, int show) {
    if (show == element->hoverShown)
        return;
    if (!element->hoverText[0])
        return;
    JContext* context = element->context;
    const JRect& status = context->statusRect;
    TileBitmap(context->background, context->backDC, status);
    SetTextColor(context->backDC, gResources.hoverTextColor);
    if (show == 1) {
        int length = 0;
        while (length < kHoverTextChars && element->hoverText[length] && element->hoverText[length] != '@')
            ++length;
        TextOutA(context->backDC, status.left, status.top, element->hoverText, length);
    }
    BlitRect(status, context->paintDC, context->backDC);
    element->hoverShown = show;
}

void PostCommand(HWND window, int commandId) {
    if (commandId)
        PostMessageA(window, WM_JCOMMAND, static_cast<WPARAM>(commandId), 0);
}
