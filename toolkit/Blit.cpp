#include "toolkit/Blit.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

// A record without a DC reads as black.
COLORREF SourcePixel(const JBitmap* bitmap, int x, int y) {
    return bitmap->dc ? GetPixel(bitmap->dc, x, y) : 0;
}

// Writes one source pixel; `transparent` skips pure white.
void PutPixel(HDC target, int x, int y, COLORREF colour, bool transparent) {
    if (colour == CLR_INVALID || (transparent && colour == kWhite))
        return;
    SetPixelV(target, x, y, colour);
}

// Column `i` of the centre-out order W/2, W/2 - 1, W/2 + 1, W/2 - 2, ...
int CentreOutColumn(int width, int i) {
    return (i % 2 == 0) ? width / 2 + i / 2 : width / 2 - i / 2 - 1;
}

// The whole bitmap at (x, y) without its white pixels, column by column from
// the centre outward; `direct` writes with SetPixel for window DCs.
void DrawCentreOut(const JBitmap* bitmap, HDC target, int x, int y, bool direct) {
    if (!bitmap)
        return;
    for (int i = 0; i < bitmap->width; ++i) {
        const int c = CentreOutColumn(bitmap->width, i);
        for (int j = 0; j < bitmap->height; ++j) {
            const COLORREF colour = SourcePixel(bitmap, c, j);
            if (colour == CLR_INVALID || colour == kWhite)
                continue;
            if (direct)
                SetPixel(target, x + c, y + j, colour);
            else
                SetPixelV(target, x + c, y + j, colour);
        }
    }
}

void CopyStripPixels(const JBitmap* bitmap, HDC target, int start, int x, int end, int y, bool transparent) {
    if (!bitmap)
        return;
    for (int i = start; i < end; ++i)
        for (int j = 0; j < bitmap->height; ++j)
            PutPixel(target, x + (i - start), y + j, SourcePixel(bitmap, i, j), transparent);
}

}  // namespace

void TileBitmap(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom) {
    if (!bitmap || !bitmap->dc || bitmap->width <= 0 || bitmap->height <= 0)
        return;
    const int w0 = bitmap->width;
    const int h0 = bitmap->height;
    int c = 0;
    int r = 0;
    do {
        int x = w0 * c;
        int sourceX = 0;
        if (x < left) {
            x = left;
            sourceX = left % w0;
        }
        int y = h0 * r;
        int sourceY = 0;
        if (y < top) {
            y = top;
            sourceY = top % h0;
        }
        const int w = (x + w0 > right) ? right - x : w0;
        const int h = (y + h0 > bottom) ? bottom - y : h0;
        if (w > 0 && h > 0)
            BitBlt(target, x, y, w, h, bitmap->dc, sourceX, sourceY, SRCCOPY);
        ++c;
        if (w0 * c > right) {
            ++r;
            c = 0;
        }
    } while (h0 * r <= bottom);
}

void TileBitmap(const JBitmap* bitmap, HDC target, const JRect& rect) {
    TileBitmap(bitmap, target, rect.left, rect.top, rect.right, rect.bottom);
}

void DrawTransparent(const JBitmap* bitmap, HDC target, int x, int y, int dx, int dy) {
    DrawCentreOut(bitmap, target, x + dx, y + dy, false);
}

void DrawTransparentDirect(const JBitmap* bitmap, HDC target, int x, int y) {
    DrawCentreOut(bitmap, target, x, y, true);
}

void CopyStrip(const JBitmap* bitmap, HDC target, int start, int x, int end, int y) {
    CopyStripPixels(bitmap, target, start, x, end, y, false);
}

void CopyStripTransparent(const JBitmap* bitmap, HDC target, int start, int x, int end, int y) {
    CopyStripPixels(bitmap, target, start, x, end, y, true);
}

void CopyStripTransposed(const JBitmap* bitmap, HDC target, int start, int x, int end, int y) {
    if (!bitmap)
        return;
    for (int i = start; i < end; ++i)
        for (int j = 0; j < bitmap->height; ++j)
            PutPixel(target, x + (i - start), y + j, SourcePixel(bitmap, start + j, i - start), false);
}

void CopyRectFrom(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom, int sourceX,
                  int sourceY) {
    if (!bitmap)
        return;
    for (int i = 0; i < right - left; ++i)
        for (int j = 0; j < bottom - top; ++j)
            PutPixel(target, left + i, top + j, SourcePixel(bitmap, sourceX + i, sourceY + j), false);
}

void CopyRectTransposed(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom,
                        int sourceX, int sourceY) {
    if (!bitmap)
        return;
    for (int i = 0; i < right - left; ++i)
        for (int j = 0; j < bottom - top; ++j)
            PutPixel(target, left + j, top + i, SourcePixel(bitmap, sourceX + i, sourceY + j), false);
}

void BlitRect(const JRect& rect, HDC target, HDC source) {
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, rect.left,
           rect.top, SRCCOPY);
}

void TextAt(const char* text, HDC dc, int x, int y) {
    TextOutA(dc, x, y, text, lstrlenA(text));
}
