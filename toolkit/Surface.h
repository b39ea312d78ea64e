// The drawing surface of one window: back buffer, paint cycle, element
// registry and mouse dispatch.
#pragma once

#include "toolkit/BitmapCache.h"

class JElement;

constexpr int kMaxElements = 150;

// What every element sees. One per process (gContext).
struct JContext {
    int32_t elementCount;
    HINSTANCE instance;  // holds the skin's bitmaps and cursor
    HWND window;
    // The DC elements draw into now: a window DC taken for a paint or a mouse
    // dispatch, NULL otherwise. An owner that sets it for a while releases the
    // DC and puts NULL back.
    HDC paintDC;
    HDC backDC;                        // the back buffer; coordinates are the window's client ones
    JBitmap* background;               // tiled under everything; never released
    JElement* elements[kMaxElements];  // registration order: paint and dispatch order
    JRect statusRect;                  // where hover texts appear
};

struct JSurface {
    JContext* context;
    PAINTSTRUCT paint;  // the paint in progress; rcPaint is the area to repaint
    JRect clientRect;   // (0, 0, width, height) of the back buffer
    HBITMAP backBitmap;
};

// Drawing resources shared by the surface and every element. The fonts and the
// cursor are made at the first Attach; the toolkit never deletes them.
struct JResources {
    HFONT regularFont;  // selected into every DC the toolkit prepares; the owner may replace it
    HFONT underlinedFont;
    HCURSOR handCursor;
    COLORREF hoverTextColor;  // black until the owner sets it
};

extern JContext gContext;
extern JResources gResources;
// The surface that CreateSurface prepared; Attach binds it to a window.
extern JSurface* gSurface;
// Pause at the start of every paint, in milliseconds (50). Only benchmarks
// change it, to time the drawing alone.
extern DWORD gPaintPause;

// Prepares `surface` and `context` for use and makes `surface` the process's
// surface. Returns `surface`.
JSurface* CreateSurface(JSurface* surface, JContext* context, HINSTANCE instance);

// Binds the process's surface to `window`: fonts and cursor (once per
// process), status rectangle (`statusRect` NULL: empty), back buffer and
// background picture.
void Attach(HWND window, uint32_t backgroundId, uint32_t cursorId, const JRect* statusRect);

HFONT CreateSkinFont(int height, int underline);

// Makes the back buffer with the window's size at this moment.
void CreateBackBuffer(JSurface* surface, HWND window);

// The paint cycle, per WM_PAINT: BeginSurfacePaint, PaintSurface, the owner's
// own drawing into the returned paintDC, EndSurfacePaint.
HDC BeginSurfacePaint(JSurface* surface);
void PaintSurface(JSurface* surface);
void EndSurfacePaint(JSurface* surface);

// Offers a mouse message (0x200 to 0x20E) to the active elements in
// registration order. Returns 1 when one of them handled it, else 0.
int DispatchMouse(JSurface* surface, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A window DC with the regular font and a transparent background; the caller
// releases it.
HDC GetSkinDC(HWND window);

// Appends `element` to the registry. A full registry refuses it: returns false.
bool RegisterElement(JContext* context, JElement* element);
// Takes `element` out of the registry, keeping the order of the others.
void UnregisterElement(JContext* context, JElement* element);
