#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestBitmaps.h"
#include "ToolkitTestSupport.h"
#include "toolkit/Blit.h"

namespace {

using namespace test;

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

const JBitmapCacheSlot* SlotOf(uint32_t id) {
    for (const JBitmapCacheSlot& slot : gBitmapCache.slots)
        if (slot.refCount != 0 && slot.key == id)
            return &slot;
    return nullptr;
}

int FreeSlots() {
    int free = 0;
    for (const JBitmapCacheSlot& slot : gBitmapCache.slots)
        free += slot.refCount == 0;
    return free;
}

TEST(BitmapCache, SharesOneLoadAndDeletesItWithTheLastRelease) {
    JBitmap first = {};
    JBitmap second = {};
    first.created = LoadSkinBitmap(kButtonId, &first, Instance(), nullptr);
    second.created = LoadSkinBitmap(kButtonId, &second, Instance(), nullptr);

    EXPECT_EQ(first.created, 1);
    EXPECT_EQ(second.created, 0);
    EXPECT_EQ(first.dc, second.dc);
    EXPECT_EQ(first.bitmap, second.bitmap);
    EXPECT_EQ(second.width, 58);
    EXPECT_EQ(second.height, 19);
    EXPECT_TRUE(EqualRect(&second.frameRect, &first.frameRect));
    EXPECT_EQ(second.frameRect.right, 58);
    EXPECT_EQ(second.frameRect.bottom, 19);
    const JBitmapCacheSlot* slot = SlotOf(kButtonId);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->refCount, 2);

    HDC dc = first.dc;
    HBITMAP bitmap = first.bitmap;
    ReleaseSkinBitmap(&first);
    EXPECT_EQ(slot->refCount, 1);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));

    ReleaseSkinBitmap(&second);
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(slot->refCount, 0);
    EXPECT_EQ(slot->key, 0u);
}

TEST(BitmapCache, IdsThatDifferInTheirUpperBitsAreDifferentKeys) {
    JBitmap low = {};
    JBitmap high = {};
    low.created = LoadSkinBitmap(kButtonId, &low, Instance(), nullptr);
    high.created = LoadSkinBitmap(kButtonId | 0x10000, &high, Instance(), nullptr);

    EXPECT_EQ(low.created, 1);
    EXPECT_EQ(high.created, 1);
    EXPECT_NE(low.dc, high.dc);
    EXPECT_NE(SlotOf(kButtonId), SlotOf(kButtonId | 0x10000));
    // Both name the same resource.
    EXPECT_EQ(high.width, 58);
    EXPECT_EQ(GetPixel(high.dc, 0, 0), ButtonPixel(0, 0));

    ReleaseSkinBitmap(&low);
    ReleaseSkinBitmap(&high);
}

TEST(BitmapCache, IdWithoutResourceGivesABlankBitmapOfTheSizeItEncodes) {
    struct Case {
        uint32_t id;
        int width;
        int height;
    };
    const Case cases[] = {
        {0x00070005, 5, 7}, {0x0013003A, 58, 19}, {0xFC0703FF, 1023, 7},  // bits above 25 do not count
    };
    HDC screen = GetDC(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        JBitmap record = {};
        record.created = LoadSkinBitmap(c.id, &record, Instance(), screen);
        EXPECT_EQ(record.created, 1);
        EXPECT_EQ(record.width, c.width);
        EXPECT_EQ(record.height, c.height);
        BITMAP info = {};
        ASSERT_EQ(GetObjectA(record.bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        EXPECT_EQ(GetCurrentObject(record.dc, OBJ_BITMAP), record.bitmap);
        ReleaseSkinBitmap(&record);
    }
    ReleaseDC(nullptr, screen);
}

TEST(BitmapCache, IdZeroLoadsNothing) {
    JBitmapCache before;
    std::memcpy(&before, &gBitmapCache, sizeof before);
    JBitmap record = {};
    EXPECT_EQ(LoadSkinBitmap(0, &record, Instance(), nullptr), 0);
    EXPECT_EQ(record.dc, nullptr);
    EXPECT_EQ(record.bitmap, nullptr);
    ReleaseSkinBitmap(&record);
    EXPECT_EQ(std::memcmp(&before, &gBitmapCache, sizeof before), 0);
}

TEST(BitmapCache, FullTableStillLoadsAndFreedSlotsAreTakenFirstFree) {
    // Fill every free slot with blank bitmaps of distinct ids.
    std::vector<JBitmap> fillers(FreeSlots());
    ASSERT_GT(fillers.size(), 2u);
    for (size_t i = 0; i < fillers.size(); ++i)
        fillers[i].created = LoadSkinBitmap(0x00010000 + 1000 + i, &fillers[i], Instance(), nullptr);
    ASSERT_EQ(FreeSlots(), 0);

    JBitmapCache full;
    std::memcpy(&full, &gBitmapCache, sizeof full);
    JBitmap extra = {};
    extra.created = LoadSkinBitmap(kPatternId, &extra, Instance(), nullptr);
    EXPECT_EQ(extra.created, 1);
    EXPECT_EQ(std::memcmp(&full, &gBitmapCache, sizeof full), 0);
    // It draws.
    Canvas canvas(4, 4);
    TileBitmap(&extra, canvas.dc(), 0, 0, 4, 4);
    EXPECT_EQ(canvas.Pixel(3, 2), PatternPixel(3, 2));

    // Its release leaves the table alone and gives its own objects back.
    HDC extraDC = extra.dc;
    ReleaseSkinBitmap(&extra);
    EXPECT_EQ(std::memcmp(&full, &gBitmapCache, sizeof full), 0);
    EXPECT_EQ(GetObjectType(extraDC), 0u);

    // A freed slot is the next load's, whatever its id was.
    const size_t middle = fillers.size() / 2;
    const JBitmapCacheSlot* freed = SlotOf(0x00010000 + 1000 + middle);
    ASSERT_NE(freed, nullptr);
    ReleaseSkinBitmap(&fillers[middle]);
    JBitmap next = {};
    next.created = LoadSkinBitmap(kPatternId, &next, Instance(), nullptr);
    EXPECT_EQ(SlotOf(kPatternId), freed);
    ReleaseSkinBitmap(&next);

    for (size_t i = 0; i < fillers.size(); ++i)
        ReleaseSkinBitmap(&fillers[i]);
    EXPECT_EQ(FreeSlots(), kBitmapCacheSlots);
}

}  // namespace
