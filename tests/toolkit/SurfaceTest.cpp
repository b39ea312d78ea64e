#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ToolkitTestSupport.h"
#include "toolkit/JElement.h"

namespace {

using namespace test;

// An element that writes what it sees into a shared log, answers the mouse
// with `result` and draws itself as a solid rectangle.
class RecordingElement : public JElement {
public:
    RecordingElement(std::string name, std::vector<std::string>* log, int result = 0,
                     JRect area = {0, 0, 0, 0}, COLORREF colour = 0)
        : JElement(nullptr, &gContext),
          name(std::move(name)),
          log(log),
          result(result),
          area(area),
          colour(colour) {}

    int OnMouse(HWND, UINT message, WPARAM, LPARAM) override {
        log->push_back(name + " " + std::to_string(message));
        sawPaintDC = context->paintDC != nullptr;
        return result;
    }
    void Draw(HDC dc) override {
        log->push_back(name + " draw");
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }

    std::string name;
    std::vector<std::string>* log;
    int result;
    JRect area;
    COLORREF colour;
    bool sawPaintDC = false;
};

TEST(MakeJRect, CutsEveryInputToSigned16BitsBeforeAdding) {
    struct Case {
        int x, y, width, height;
        JRect expected;
    };
    const Case cases[] = {
        {10, 20, 30, 40, {10, 20, 40, 60}},
        {0x8000, 0, 0, 0, {-32768, 0, -32768, 0}},
        {0x70005, 0x10006, 0, 0, {5, 6, 5, 6}},
        {0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, {32767, 32767, 65534, 65534}},  // the sums are not cut
        {100, 100, 0x1FFFF, 0xFFFE, {100, 100, 99, 98}},
    };
    for (const Case& c : cases) {
        JRect r;
        MakeJRect(&r, c.x, c.y, c.width, c.height);
        EXPECT_TRUE(EqualRect(&r, &c.expected))
            << c.x << "," << c.y << "," << c.width << "," << c.height << " gave " << r.left << "," << r.top
            << "," << r.right << "," << r.bottom;
    }
}

using SurfaceTest = SkinnedWindowTest;

TEST_F(SurfaceTest, AttachMakesBackBufferFontsCursorAndBackground) {
    EXPECT_EQ(gContext.window, window);
    EXPECT_TRUE(EqualRect(&gContext.statusRect, &kStatusRect));
    const JRect client = {0, 0, kWidth, kHeight};
    EXPECT_TRUE(EqualRect(&skin->surface.clientRect, &client));
    EXPECT_EQ(GetObjectType(gContext.backDC), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetCurrentObject(gContext.backDC, OBJ_FONT), gResources.regularFont);
    EXPECT_EQ(GetBkMode(gContext.backDC), TRANSPARENT);
    ASSERT_NE(gContext.background, nullptr);
    EXPECT_EQ(gContext.background->width, 16);
    EXPECT_EQ(gContext.background->created, 1);
    EXPECT_NE(gResources.handCursor, nullptr);
    LOGFONTA font = {};
    GetObjectA(gResources.underlinedFont, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 13);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_STREQ(font.lfFaceName, "Name");

    // Attaching again keeps the fonts and cursor; no status rectangle is an empty one.
    const JResources before = gResources;
    Attach(window, kPatternId, kCursorId, nullptr);
    EXPECT_EQ(gResources.regularFont, before.regularFont);
    EXPECT_EQ(gResources.underlinedFont, before.underlinedFont);
    EXPECT_EQ(gResources.handCursor, before.handCursor);
    EXPECT_TRUE(IsRectEmpty(&gContext.statusRect));
}

TEST_F(SurfaceTest, PaintTilesTheBackgroundOverTheUpdateAreaThenDrawsVisibleElementsInOrder) {
    for (bool withBackground : {true, false}) {
        SCOPED_TRACE(withBackground ? "with background" : "without background");
        std::vector<std::string> log;
        RecordingElement first("first", &log, 0, {10, 10, 30, 30}, RGB(255, 0, 0));
        RecordingElement second("second", &log, 0, {20, 20, 40, 40}, RGB(0, 255, 0));
        RecordingElement hidden("hidden", &log, 0, {50, 10, 60, 20}, RGB(0, 0, 255));
        second.active = 0;  // painted all the same
        hidden.visible = 0;
        JBitmap* background = gContext.background;
        if (!withBackground)
            gContext.background = nullptr;

        Fill({0, 0, kWidth, kHeight}, kMarkerFill);
        const RECT area = {0, 0, 25, 50};
        Repaint(&area);
        gContext.background = background;

        EXPECT_EQ(log, (std::vector<std::string>{"first draw", "second draw"}));
        EXPECT_EQ(gContext.paintDC, nullptr);
        EXPECT_EQ(Pixel(2, 45), withBackground ? Background(2, 45) : kMarkerFill);
        EXPECT_EQ(Pixel(12, 12), RGB(255, 0, 0));
        EXPECT_EQ(Pixel(22, 22), RGB(0, 255, 0));  // drawn after the first
        EXPECT_EQ(Pixel(28, 12), RGB(255, 0, 0));  // elements draw whole, also outside the area
        EXPECT_EQ(Pixel(30, 45), kMarkerFill);     // outside the area
        EXPECT_EQ(Pixel(55, 15), kMarkerFill);     // the hidden element is not drawn
    }
}

TEST_F(SurfaceTest, DispatchOffersMouseMessagesToActiveElementsUntilOneHandlesThem) {
    std::vector<std::string> log;
    RecordingElement a("a", &log, 0);
    RecordingElement inactive("inactive", &log, 1);
    RecordingElement b("b", &log, 1);
    RecordingElement c("c", &log, 0);
    inactive.active = 0;
    b.visible = 0;  // not painted, still offered the mouse

    EXPECT_EQ(Send(WM_LBUTTONDOWN, 5, 5), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"a 513", "b 513"}));
    EXPECT_TRUE(a.sawPaintDC);
    EXPECT_EQ(gContext.paintDC, nullptr);

    // Only WM_MOUSEMOVE to WM_MOUSEHWHEEL, by the low 16 bits of the message.
    b.result = 0;
    struct Case {
        UINT message;
        bool offered;
    };
    const Case cases[] = {
        {0x1FF, false},    {WM_MOUSEMOVE, true}, {WM_MOUSEHWHEEL, true}, {0x20F, false},
        {WM_PAINT, false}, {WM_COMMAND, false},  {0x10201, true},
    };
    for (const Case& k : cases) {
        log.clear();
        EXPECT_EQ(DispatchMouse(&skin->surface, window, k.message, 0, 0), 0);
        EXPECT_EQ(log.size(), k.offered ? 3u : 0u) << std::hex << k.message;
    }
}

TEST_F(SurfaceTest, DispatchWithoutElementsTakesNoDc) {
    HDC sentinel = reinterpret_cast<HDC>(0x1234);
    gContext.paintDC = sentinel;
    EXPECT_EQ(DispatchMouse(&skin->surface, window, WM_MOUSEMOVE, 0, 0), 0);
    EXPECT_EQ(gContext.paintDC, sentinel);
    gContext.paintDC = nullptr;
}

TEST_F(SurfaceTest, RegistryRefusesTheElementAfterThe150thAndForgetsDestroyedOnes) {
    std::vector<std::string> log;
    const JRect status = gContext.statusRect;  // lies right after the registry
    std::vector<std::unique_ptr<RecordingElement>> elements;
    for (int i = 0; i < kMaxElements + 1; ++i)
        elements.push_back(std::make_unique<RecordingElement>(std::to_string(i), &log));
    EXPECT_EQ(gContext.elementCount, kMaxElements);
    EXPECT_EQ(gContext.elements[kMaxElements - 1], elements[kMaxElements - 1].get());
    EXPECT_TRUE(EqualRect(&gContext.statusRect, &status));

    // The refused element still works, outside the paint and the dispatch.
    RecordingElement& refused = *elements.back();
    Show(&refused, 0);
    EXPECT_EQ(log, std::vector<std::string>{"150 draw"});
    EXPECT_EQ(refused.erased, 1);
    log.clear();
    Send(WM_MOUSEMOVE, 1, 1);
    EXPECT_EQ(log.size(), static_cast<size_t>(kMaxElements));

    elements.erase(elements.begin() + 1);
    EXPECT_EQ(gContext.elementCount, kMaxElements - 1);
    EXPECT_EQ(gContext.elements[0], elements[0].get());
    EXPECT_EQ(gContext.elements[1], elements[1].get());
    elements.clear();
    EXPECT_EQ(gContext.elementCount, 0);
}

}  // namespace
