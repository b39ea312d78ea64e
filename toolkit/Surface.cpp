#include "toolkit/Surface.h"

#include "platform/Text.h"
#include "toolkit/Blit.h"
#include "toolkit/JElement.h"

JContext gContext;
JResources gResources;
JSurface* gSurface;
DWORD gPaintPause = 50;

JSurface* CreateSurface(JSurface* surface, JContext* context, HINSTANCE instance) {
    surface->context = context;
    context->instance = instance;
    context->elementCount = 0;
    context->background = nullptr;
    context->paintDC = nullptr;
    context->backDC = nullptr;
    surface->backBitmap = nullptr;
    gSurface = surface;
    return surface;
}

void Attach(HWND window, uint32_t backgroundId, uint32_t cursorId, const JRect* statusRect) {
    JSurface* surface = gSurface;
    if (!surface)
        return;
    JContext* context = surface->context;
    context->window = window;
    if (!gResources.regularFont)
        gResources.regularFont = CreateSkinFont(13, 0);
    if (!gResources.underlinedFont)
        gResources.underlinedFont = CreateSkinFont(13, 1);
    if (!gResources.handCursor)
        gResources.handCursor = LoadCursorA(context->instance, MAKEINTRESOURCEA(cursorId & 0xFFFF));
    if (statusRect)
        context->statusRect = *statusRect;
    else
        SetRect(&context->statusRect, 0, 0, 0, 0);

    // Attaching again rebinds the surface: the old buffer and picture go.
    if (context->backDC) {
        DeleteDC(context->backDC);
        DeleteObject(surface->backBitmap);
        context->backDC = nullptr;
        surface->backBitmap = nullptr;
    }
    if (context->background) {
        ReleaseSkinBitmap(context->background);
        delete context->background;
        context->background = nullptr;
    }
    CreateBackBuffer(surface, window);

    JBitmap* background = new JBitmap();
    HDC dc = context->paintDC ? context->paintDC : GetDC(window);
    background->created = LoadSkinBitmap(backgroundId, background, context->instance, dc);
    if (!context->paintDC)
        ReleaseDC(window, dc);
    context->background = background;
}

HFONT CreateSkinFont(int height, int underline) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfUnderline = static_cast<BYTE>(underline);
    CopyText(font.lfFaceName, "Name");
    return CreateFontIndirectA(&font);
}

void CreateBackBuffer(JSurface* surface, HWND window) {
    // The window's outer bottom-right corner in client coordinates: the client
    // size for a window without a frame.
    RECT outer;
    GetWindowRect(window, &outer);
    POINT corner = {outer.right, outer.bottom};
    ScreenToClient(window, &corner);
    SetRect(&surface->clientRect, 0, 0, corner.x, corner.y);

    JContext* context = surface->context;
    HDC dc = GetDC(window);
    surface->backBitmap = CreateBlankBitmap(dc, corner.x, corner.y);
    context->backDC = CreateCompatibleDC(dc);
    SelectObject(context->backDC, surface->backBitmap);
    if (gResources.regularFont)
        SelectObject(context->backDC, gResources.regularFont);
    SetBkMode(context->backDC, TRANSPARENT);
    ReleaseDC(window, dc);
}

HDC GetSkinDC(HWND window) {
    HDC dc = GetDC(window);
    SelectObject(dc, gResources.regularFont);
    SetBkMode(dc, TRANSPARENT);
    return dc;
}

HDC BeginSurfacePaint(JSurface* surface) {
    if (gPaintPause)
        Sleep(gPaintPause);
    JContext* context = surface->context;
    BeginPaint(context->window, &surface->paint);
    context->paintDC = GetSkinDC(context->window);
    return context->paintDC;
}

void PaintSurface(JSurface* surface) {
    JContext* context = surface->context;
    if (context->background)
        TileBitmap(context->background, context->paintDC, surface->paint.rcPaint);
    for (int i = 0; i < context->elementCount; ++i) {
        JElement* element = context->elements[i];
        if (element->visible)
            element->Draw(context->paintDC);
    }
}

void EndSurfacePaint(JSurface* surface) {
    JContext* context = surface->context;
    ReleaseDC(context->window, context->paintDC);
    context->paintDC = nullptr;
    EndPaint(context->window, &surface->paint);
}

int DispatchMouse(JSurface* surface, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only WM_MOUSEMOVE (0x200) to WM_MOUSEHWHEEL (0x20E).
    if (static_cast<uint16_t>(message - WM_MOUSEFIRST) > 14)
        return 0;
    JContext* context = surface->context;
    if (context->elementCount <= 0)
        return 0;
    // Kept here as well: a paint that runs in a modal loop of an element (the
    // popup chooser) resets paintDC.
    HDC dc = GetSkinDC(window);
    context->paintDC = dc;
    int handled = 0;
    for (int i = 0; i < context->elementCount; ++i) {
        JElement* element = context->elements[i];
        if (element->active && element->OnMouse(window, message, wParam, lParam)) {
            handled = 1;
            break;
        }
    }
    ReleaseDC(window, dc);
    context->paintDC = nullptr;
    return handled;
}

bool RegisterElement(JContext* context, JElement* element) {
    if (context->elementCount < 0 || context->elementCount >= kMaxElements)
        return false;
    context->elements[context->elementCount++] = element;
    return true;
}

void UnregisterElement(JContext* context, JElement* element) {
    for (int i = 0; i < context->elementCount; ++i) {
        if (context->elements[i] == element) {
            for (int j = i + 1; j < context->elementCount; ++j)
                context->elements[j - 1] = context->elements[j];
            --context->elementCount;
            return;
        }
    }
}
