// Skin bitmaps, loaded once per process and shared by reference count.
#pragma once

#include "toolkit/JRect.h"

// One use of a skin bitmap. `dc` and `bitmap` are borrowed from the cache
// while the cache holds them.
struct JBitmap {
    int32_t width;
    int32_t height;
    HDC dc;           // memory DC with `bitmap` selected; all reads go through it
    int32_t created;  // 1: the load created the GDI objects, 0: it shared them
    HBITMAP bitmap;
    JRect frameRect;  // (0, 0, width, height)
};

struct JBitmapCacheSlot {
    uint32_t key;      // the id the bitmap was loaded with; 0 when free
    int32_t refCount;  // 0 when free
    int32_t width;
    int32_t height;
    HDC dc;
    HBITMAP bitmap;
};

constexpr int kBitmapCacheSlots = 50;

struct JBitmapCache {
    JBitmapCacheSlot slots[kBitmapCacheSlots];
};

// Zero-initialised: every slot starts free.
extern JBitmapCache gBitmapCache;

// Fills `record` with the bitmap `id` names and returns the value for its
// `created` field. The low 16 bits of `id` name a bitmap resource of
// `instance`; without one, a blank bitmap of (id & 0x3FF) by
// ((id >> 16) & 0x3FF) pixels is made. `referenceDC` NULL means the screen.
// The id 0 loads nothing: the record is left empty (no DC, no bitmap).
int LoadSkinBitmap(uint32_t id, JBitmap* record, HINSTANCE instance, HDC referenceDC);

// A 24-bit top-down bitmap compatible with `referenceDC`; its pixels are not
// initialised.
HBITMAP CreateBlankBitmap(HDC referenceDC, int width, int height);

// Gives up the record's share; the objects are deleted with the last one.
// The caller frees the record afterwards.
void ReleaseSkinBitmap(JBitmap* record);
