#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "TestBitmaps.h"
#include "ToolkitTestSupport.h"
#include "toolkit/Blit.h"

namespace {

using namespace test;

// The 16 by 16 pattern, loaded through the cache for the length of a test.
class PatternBitmap {
public:
    PatternBitmap() {
        record.created = LoadSkinBitmap(kPatternId, &record, GetModuleHandleA(nullptr), nullptr);
    }
    ~PatternBitmap() { ReleaseSkinBitmap(&record); }
    JBitmap record = {};
};

// A canvas whose pixel (x, y) has a colour of its own: RGB(x, y, 0x40).
std::unique_ptr<Canvas> NumberedCanvas(int width, int height) {
    auto canvas = std::make_unique<Canvas>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas->SetPixel(x, y, RGB(x, y, 0x40));
    return canvas;
}

TEST(TileBitmap, RepeatsTheBitmapAnchoredAtTheTargetOriginInsideTheRectangleOnly) {
    const JRect cases[] = {
        {5, 5, 20, 20},                   // (5, 5) gets source (5, 5), (16, 5) source (0, 5)
        {0, 0, 40, 36}, {20, 3, 37, 35},  // clamped tiles left of and above the rectangle
        {5, 5, 5, 20},                    // empty
        {5, 5, 20, 5},
    };
    PatternBitmap pattern;
    for (const JRect& r : cases) {
        SCOPED_TRACE(::testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
        Canvas canvas(48, 40);
        TileBitmap(&pattern.record, canvas.dc(), r);
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                const bool inside = r.left <= x && x < r.right && r.top <= y && y < r.bottom;
                const COLORREF expected = inside ? PatternPixel(x % 16, y % 16) : kCanvasFill;
                ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(BlitPrimitives, RecordWithoutDcTilesNothingAndDrawsBlack) {
    JBitmap empty = {};
    empty.width = 3;
    empty.height = 2;
    using Draw = std::function<void(HDC)>;
    struct Case {
        const char* name;
        Draw draw;
        JRect area;  // painted black; everything else untouched
    };
    const Case cases[] = {
        {"TileBitmap", [&](HDC dc) { TileBitmap(&empty, dc, 0, 0, 10, 10); }, {0, 0, 0, 0}},
        {"DrawTransparent", [&](HDC dc) { DrawTransparent(&empty, dc, 1, 2, 1, 1); }, {2, 3, 5, 5}},
        {"DrawTransparentDirect", [&](HDC dc) { DrawTransparentDirect(&empty, dc, 1, 2); }, {1, 2, 4, 4}},
        {"CopyStrip", [&](HDC dc) { CopyStrip(&empty, dc, 0, 1, 2, 1); }, {1, 1, 3, 3}},
        {"CopyStripTransparent", [&](HDC dc) { CopyStripTransparent(&empty, dc, 0, 1, 2, 1); }, {1, 1, 3, 3}},
        {"CopyRectFrom", [&](HDC dc) { CopyRectFrom(&empty, dc, 4, 4, 7, 5, 0, 0); }, {4, 4, 7, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(10, 10);
        c.draw(canvas.dc());
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                const bool inside =
                    c.area.left <= x && x < c.area.right && c.area.top <= y && y < c.area.bottom;
                ASSERT_EQ(canvas.Pixel(x, y), inside ? 0u : kCanvasFill) << x << "," << y;
            }
        }
    }
}

TEST(BlitPrimitives, TransparentVariantsSkipPureWhiteOnly) {
    // One row: pure white, white but for one bit of blue, red.
    Canvas source(3, 1);
    source.SetPixel(0, 0, kWhite);
    source.SetPixel(1, 0, kNearWhite);
    source.SetPixel(2, 0, RGB(255, 0, 0));
    const JBitmap bitmap = source.AsBitmap();
    struct Case {
        const char* name;
        std::function<void(HDC)> draw;
        bool transparent;
    };
    const Case cases[] = {
        {"DrawTransparent", [&](HDC dc) { DrawTransparent(&bitmap, dc, 0, 0, 1, 1); }, true},
        {"DrawTransparentDirect", [&](HDC dc) { DrawTransparentDirect(&bitmap, dc, 1, 1); }, true},
        {"CopyStripTransparent", [&](HDC dc) { CopyStripTransparent(&bitmap, dc, 0, 1, 3, 1); }, true},
        {"CopyStrip", [&](HDC dc) { CopyStrip(&bitmap, dc, 0, 1, 3, 1); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(5, 3);
        c.draw(canvas.dc());
        EXPECT_EQ(canvas.Pixel(1, 1), c.transparent ? kCanvasFill : kWhite);
        EXPECT_EQ(canvas.Pixel(2, 1), kNearWhite);
        EXPECT_EQ(canvas.Pixel(3, 1), RGB(255, 0, 0));
    }
}

TEST(BlitPrimitives, StripsAndBlocksLandWhereTheirMappingSays) {
    auto source = NumberedCanvas(20, 6);
    const JBitmap bitmap = source->AsBitmap();
    struct Case {
        const char* name;
        std::function<void(HDC)> draw;
        JRect area;                                   // drawn; everything else untouched
        std::function<POINT(int u, int v)> sourceOf;  // source of target (area.left + u, area.top + v)
    };
    const Case cases[] = {
        {"CopyStrip",
         [&](HDC dc) { CopyStrip(&bitmap, dc, 3, 2, 7, 1); },
         {2, 1, 6, 7},
         [](int u, int v) {
             return POINT{3 + u, v};
         }},
        // The square at column 3 mirrored about its diagonal: the source's top
        // row becomes the left column.
        {"CopyStripTransposed",
         [&](HDC dc) { CopyStripTransposed(&bitmap, dc, 3, 2, 9, 1); },
         {2, 1, 8, 7},
         [](int u, int v) {
             return POINT{3 + v, u};
         }},
        {"CopyRectFrom",
         [&](HDC dc) { CopyRectFrom(&bitmap, dc, 4, 2, 9, 5, 10, 1); },
         {4, 2, 9, 5},
         [](int u, int v) {
             return POINT{10 + u, 1 + v};
         }},
        {"CopyRectTransposed",
         [&](HDC dc) { CopyRectTransposed(&bitmap, dc, 4, 2, 9, 5, 10, 1); },
         {4, 2, 7, 7},
         [](int u, int v) {
             return POINT{10 + v, 1 + u};
         }},
        {"CopyRectFrom of no width",
         [&](HDC dc) { CopyRectFrom(&bitmap, dc, 4, 2, 4, 5, 0, 0); },
         {0, 0, 0, 0},
         nullptr},
        {"CopyRectFrom of negative height",
         [&](HDC dc) { CopyRectFrom(&bitmap, dc, 4, 5, 8, 2, 0, 0); },
         {0, 0, 0, 0},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(12, 10);
        c.draw(canvas.dc());
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                COLORREF expected = kCanvasFill;
                if (c.area.left <= x && x < c.area.right && c.area.top <= y && y < c.area.bottom) {
                    const POINT s = c.sourceOf(x - c.area.left, y - c.area.top);
                    expected = source->Pixel(s.x, s.y);
                }
                ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

// Drawing a bitmap onto its own DC one column to the right shows the column
// order: a column written before it is read passes on the new colour.
TEST(BlitPrimitives, TransparentPicturesGoFromTheCentreColumnOutward) {
    struct Case {
        int width;
        std::vector<int> columns;  // which original column each column 0..width holds afterwards
    };
    // Orders: 0 | 1, 0 | 2, 1, 3, 0 | 2, 1, 3, 0, 4.
    const Case cases[] = {
        {1, {0, 0}},
        {2, {0, 0, 1}},
        {4, {0, 0, 1, 2, 2}},
        {5, {0, 0, 1, 2, 2, 2}},
    };
    for (bool direct : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "width " << c.width << (direct ? " direct" : ""));
            Canvas canvas(8, 1);
            for (int x = 0; x < canvas.width; ++x)
                canvas.SetPixel(x, 0, RGB(10 * x, 0, 0));
            JBitmap bitmap = canvas.AsBitmap();
            bitmap.width = c.width;
            if (direct)
                DrawTransparentDirect(&bitmap, canvas.dc(), 1, 0);
            else
                DrawTransparent(&bitmap, canvas.dc(), 1, 0, 0, 0);
            for (int x = 0; x <= c.width; ++x)
                EXPECT_EQ(canvas.Pixel(x, 0), RGB(10 * c.columns[x], 0, 0)) << x;
        }
    }
}

TEST(BlitPrimitives, BlitRectAndTextAtDrawWithTheDcAsItIs) {
    auto source = NumberedCanvas(10, 10);
    Canvas canvas(10, 10);
    BlitRect({2, 3, 5, 7}, canvas.dc(), source->dc());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(canvas.Pixel(x, y),
                      (2 <= x && x < 5 && 3 <= y && y < 7) ? source->Pixel(x, y) : kCanvasFill);

    Canvas text(60, 20, kWhite);
    SetBkMode(text.dc(), TRANSPARENT);
    SetTextColor(text.dc(), RGB(255, 0, 0));
    TextAt("Hi", text.dc(), 30, 2);
    bool inkLeft = false;
    bool inkRight = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (text.Pixel(x, y) != kWhite)
                (x < 30 ? inkLeft : inkRight) = true;
    EXPECT_FALSE(inkLeft);
    EXPECT_TRUE(inkRight);
    EXPECT_EQ(GetTextColor(text.dc()), RGB(255, 0, 0));
    EXPECT_EQ(GetBkMode(text.dc()), TRANSPARENT);
}

}  // namespace
