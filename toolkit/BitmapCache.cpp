#include "toolkit/BitmapCache.h"

JBitmapCache gBitmapCache;

namespace {

void SetFrame(JBitmap* record) {
    SetRect(&record->frameRect, 0, 0, record->width, record->height);
}

}  // namespace

HBITMAP CreateBlankBitmap(HDC referenceDC, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBitmap(referenceDC, &info.bmiHeader, 0, nullptr, &info, DIB_RGB_COLORS);
}

int LoadSkinBitmap(uint32_t id, JBitmap* record, HINSTANCE instance, HDC referenceDC) {
    if (id == 0) {
        // A free slot's key is 0, so the id 0 can be neither cached nor shared.
        *record = JBitmap{};
        return 0;
    }
    for (JBitmapCacheSlot& slot : gBitmapCache.slots) {
        if (slot.key == id) {
            record->dc = slot.dc;
            record->bitmap = slot.bitmap;
            record->width = slot.width;
            record->height = slot.height;
            SetFrame(record);
            ++slot.refCount;
            return 0;
        }
    }

    record->bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id & 0xFFFF));
    record->dc = CreateCompatibleDC(referenceDC);
    if (record->bitmap) {
        SelectObject(record->dc, record->bitmap);
        BITMAP info;
        GetObjectA(record->bitmap, sizeof info, &info);
        record->width = info.bmWidth;
        record->height = info.bmHeight;
    } else {
        record->width = id & 0x3FF;
        record->height = (id >> 16) & 0x3FF;
        record->bitmap = CreateBlankBitmap(referenceDC, record->width, record->height);
        SelectObject(record->dc, record->bitmap);
    }
    SetFrame(record);

    for (JBitmapCacheSlot& slot : gBitmapCache.slots) {
        if (slot.refCount == 0) {
            slot.key = id;
            slot.refCount = 1;
            slot.dc = record->dc;
            slot.bitmap = record->bitmap;
            slot.width = record->width;
            slot.height = record->height;
            return 1;
        }
    }
    // The table is full: the record keeps objects of its own.
    return 1;
}

void ReleaseSkinBitmap(JBitmap* record) {
    if (!record->dc)
        return;
    for (JBitmapCacheSlot& slot : gBitmapCache.slots) {
        if (slot.refCount != 0 && slot.dc == record->dc) {
            if (--slot.refCount == 0) {
                DeleteDC(record->dc);
                DeleteObject(record->bitmap);
                slot.key = 0;
            }
            record->dc = nullptr;
            record->bitmap = nullptr;
            return;
        }
    }
    // Loaded while the table was full: the objects belong to this record alone.
    if (record->created) {
        DeleteDC(record->dc);
        DeleteObject(record->bitmap);
    }
    record->dc = nullptr;
    record->bitmap = nullptr;
}
