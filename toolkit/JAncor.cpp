#include "toolkit/JAncor.h"

#include "platform/Text.h"

JAncor::JAncor(const char* hoverText, JContext* context, const JRect& origin, const char* caption,
               int commandId)
    : JElement(hoverText, context) {
    SetRect(&linkRect, origin.left, origin.top, origin.left, origin.top);
    CopyText(this->caption, caption ? caption : "");
    this->commandId = commandId;
    visited = 0;
}

void JAncor::Draw(HDC dc) {
    HGDIOBJ kept = SelectObject(dc, gResources.underlinedFont);
    SetTextColor(dc, visited ? kVisitedColour : kLinkColour);
    const int length = lstrlenA(caption);
    TextOutA(dc, linkRect.left, linkRect.top, caption, length);
    SetTextColor(dc, 0);
    SIZE extent;
    GetTextExtentPoint32A(dc, caption, length, &extent);
    linkRect.right = linkRect.left + extent.cx;
    linkRect.bottom = linkRect.top + extent.cy;
    SelectObject(dc, kept);
}

int JAncor::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    const bool inside =
        linkRect.left <= x && x <= linkRect.right && linkRect.top <= y && y <= linkRect.bottom;
    const UINT kind = message & 0xFFFF;
    if (!inside) {
        if (kind == WM_MOUSEMOVE)
            ShowHoverText(this, 0);
        return 0;
    }
    if (kind == WM_MOUSEMOVE) {
        ShowHoverText(this, 1);
        SetCursor(gResources.handCursor);
        return 1;
    }
    if (kind == WM_LBUTTONDOWN) {
        // The visited colour shows from the next draw on.
        visited = 1;
        PostCommand(window, commandId);
        return 1;
    }
    return 0;
}
