#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/JSelector.h"

namespace {

using namespace test;

constexpr int kCommand = 500;

// What the timer does once the popup is up: look at it, then send it a click.
struct PopupScript {
    HWND owner;
    UINT message;  // WM_LBUTTONUP or WM_RBUTTONDOWN
    int x, y;      // in the popup's client coordinates
    bool paintOwner;
    // Found:
    HWND popup;
    RECT popupRect;
    COLORREF firstCell;
    COLORREF sixthCell;
    COLORREF bareCorner;
};

PopupScript gScript;

BOOL CALLBACK FindPopup(HWND candidate, LPARAM) {
    char className[16] = {};
    GetClassNameA(candidate, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && GetWindow(candidate, GW_OWNER) == gScript.owner &&
        IsWindowVisible(candidate)) {
        gScript.popup = candidate;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ClickPopup(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindPopup, 0);
    if (!gScript.popup)
        return;  // not up yet
    KillTimer(nullptr, timer);
    GetWindowRect(gScript.popup, &gScript.popupRect);
    UpdateWindow(gScript.popup);
    HDC dc = GetDC(gScript.popup);
    gScript.firstCell = GetPixel(dc, 18 + 3, 10 + 3);
    gScript.sixthCell = GetPixel(dc, 44 + 18 + 3, 36 + 10 + 3);
    gScript.bareCorner = GetPixel(dc, 190, 5);
    ReleaseDC(gScript.popup, dc);
    if (gScript.paintOwner) {
        InvalidateRect(gScript.owner, nullptr, FALSE);
        UpdateWindow(gScript.owner);
    }
    PostMessageA(gScript.popup, gScript.message, 0, MAKELPARAM(gScript.x, gScript.y));
}

using PopupChooserTest = SkinnedWindowTest;

TEST_F(PopupChooserTest, GridSelectorPicksACellInAModalPopup) {
    struct Case {
        const char* name;
        int boxTop;
        UINT message;
        int x, y;
        bool paintOwner;
        LRESULT result;
        int value;
        RECT popupRect;
    };
    // Eight values: the popup is 198 by 86 and its bottom-right corner goes
    // one pixel above and left of the box, or below the box near the top.
    // The window's client area starts at (300, 200) on the screen.
    const Case cases[] = {
        {"third column, second row",
         90,
         WM_LBUTTONUP,
         9 + 2 * 44 + 5,
         5 + 36 + 5,
         false,
         1,
         6,
         {201, 203, 399, 289}},
        {"right of the last column: next row", 10, WM_LBUTTONUP, 190, 10, false, 1, 4, {201, 236, 399, 322}},
        {"right press picks nothing", 90, WM_RBUTTONDOWN, 60, 20, false, 0, 0, {201, 203, 399, 289}},
        {"beyond the last value, window painted meanwhile",
         90,
         WM_LBUTTONUP,
         190,
         80,
         true,
         1,
         7,
         {201, 203, 399, 289}},
    };
    MoveWindow(window, 300, 200, kWidth, kHeight, TRUE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JSelector selector(nullptr, JRect{100, c.boxTop, 0, 0}, &gContext, kGridId, 0x80008000, "", 0, 7,
                           kCommand, JSF_GRID, nullptr);
        Redraw(&selector);
        gScript = PopupScript{};
        gScript.owner = window;
        gScript.message = c.message;
        gScript.x = c.x;
        gScript.y = c.y;
        gScript.paintOwner = c.paintOwner;
        ASSERT_NE(SetTimer(nullptr, 0, 20, ClickPopup), 0u);

        EXPECT_EQ(Send(WM_LBUTTONDOWN, 105, c.boxTop + 5), c.result);

        ASSERT_NE(gScript.popup, nullptr);
        EXPECT_FALSE(IsWindow(gScript.popup));
        EXPECT_TRUE(EqualRect(&gScript.popupRect, &c.popupRect))
            << gScript.popupRect.left << "," << gScript.popupRect.top << "," << gScript.popupRect.right << ","
            << gScript.popupRect.bottom;
        EXPECT_EQ(gScript.firstCell, CellColour(0, 0));
        EXPECT_EQ(gScript.sixthCell, CellColour(1, 1));
        EXPECT_EQ(gScript.bareCorner, Background(190, 5));
        EXPECT_EQ(selector.value, c.value);
        EXPECT_EQ(Commands(), c.result ? std::vector<WPARAM>{kCommand} : std::vector<WPARAM>{});
        // The box shows the value's cell, drawn into the dispatch's DC.
        EXPECT_EQ(Pixel(100, c.boxTop), CellColour(c.value % 4, c.value / 4));
        EXPECT_EQ(gContext.paintDC, nullptr);
    }
}

}  // namespace
