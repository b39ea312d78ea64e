// Drawing primitives: copy pixels from a skin bitmap into a target DC.
//
// The pixel primitives make one GetPixel and at most one SetPixelV (or
// SetPixel) call per pixel, so that pure white (0xFFFFFF, exactly) can act as
// the transparent colour and frames can be cut out of a strip or mirrored.
// They are for small pictures; large areas are tiled with BitBlt. A record
// without a DC reads as black everywhere; source pixels outside the bitmap
// (GetPixel answers CLR_INVALID) are not drawn. None of them changes the
// target DC's font, colours or background mode.
#pragma once

#include "toolkit/BitmapCache.h"

// Repeats the bitmap over (left, top, right, bottom), anchored at the target's
// origin: pixel (x, y) gets the bitmap's pixel (x mod width, y mod height), so
// re-tiling any part of a window gives what a full repaint gives.
void TileBitmap(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom);
void TileBitmap(const JBitmap* bitmap, HDC target, const JRect& rect);

// The whole bitmap at (x + dx, y + dy) without its white pixels, columns from
// the centre outward.
void DrawTransparent(const JBitmap* bitmap, HDC target, int x, int y, int dx, int dy);
// The same at (x, y) with SetPixel: on a window DC the picture grows from its
// centre outward.
void DrawTransparentDirect(const JBitmap* bitmap, HDC target, int x, int y);

// Source columns start to end - 1, all rows, at (x, y).
void CopyStrip(const JBitmap* bitmap, HDC target, int start, int x, int end, int y);
void CopyStripTransparent(const JBitmap* bitmap, HDC target, int start, int x, int end, int y);
// Target pixel (x + u, y + v) gets source pixel (start + v, u).
void CopyStripTransposed(const JBitmap* bitmap, HDC target, int start, int x, int end, int y);

// A (right - left) by (bottom - top) block from (sourceX, sourceY) to (left, top).
void CopyRectFrom(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom, int sourceX,
                  int sourceY);
// The same block mirrored about its main diagonal.
void CopyRectTransposed(const JBitmap* bitmap, HDC target, int left, int top, int right, int bottom,
                        int sourceX, int sourceY);

// The same rectangle from `source` to `target`.
void BlitRect(const JRect& rect, HDC target, HDC source);

void TextAt(const char* text, HDC dc, int x, int y);
