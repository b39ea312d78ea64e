// The start-up benchmark's baseline: the smallest dialog program, built as
// the installer is built. A modal dialog from a resource template, of about
// the installer window's size, that paints its client area.
#include "platform/Os.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            TextOutA(dc, 20, 20, "Minimal dialog", 14);
            EndPaint(window, &paint);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(window, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    DialogBoxParamA(instance, "MINIMAL", nullptr, DialogProc, 0);
    return 0;
}
