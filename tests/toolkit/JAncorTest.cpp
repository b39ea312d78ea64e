#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/JAncor.h"

namespace {

using namespace test;

constexpr int kCommand = 1029;

// Counts the mouse messages that reach it.
class Counter : public JElement {
public:
    Counter() : JElement(nullptr, &gContext) {}
    int OnMouse(HWND, UINT, WPARAM, LPARAM) override {
        ++seen;
        return 0;
    }
    void Draw(HDC) override {}
    int seen = 0;
};

class JAncorTest : public SkinnedWindowTest {
protected:
    void SetUp() override {
        SkinnedWindowTest::SetUp();
        link = std::make_unique<JAncor>("Visit the help page", &gContext, JRect{20, 10, 20, 10}, "Help",
                                        kCommand);
    }
    void TearDown() override {
        link.reset();
        SkinnedWindowTest::TearDown();
    }
    // Whether the window shows any pixel of exactly `colour` in the link's box.
    bool LinkShows(COLORREF colour) const {
        auto shown = Grab();
        for (int y = link->linkRect.top; y < link->linkRect.bottom; ++y)
            for (int x = link->linkRect.left; x < link->linkRect.right; ++x)
                if (shown->Pixel(x, y) == colour)
                    return true;
        return false;
    }

    std::unique_ptr<JAncor> link;
};

TEST_F(JAncorTest, HitBoxIsTheTextPositionUntilDrawnThenTheTextExtentWithItsEdges) {
    EXPECT_EQ(Send(WM_MOUSEMOVE, 20, 10), 1);
    EXPECT_EQ(Send(WM_MOUSEMOVE, 21, 10), 0);
    EXPECT_EQ(Send(WM_MOUSEMOVE, 20, 11), 0);

    Redraw(link.get());
    HDC dc = GetDC(window);
    SelectObject(dc, gResources.underlinedFont);
    SIZE extent;
    GetTextExtentPoint32A(dc, "Help", 4, &extent);
    ReleaseDC(window, dc);
    const JRect expected = {20, 10, 20 + extent.cx, 10 + extent.cy};
    EXPECT_TRUE(EqualRect(&link->linkRect, &expected));

    struct Case {
        int x, y;
        LRESULT handled;
    };
    const Case cases[] = {
        {expected.right, expected.bottom, 1},     {20, 10, 1}, {expected.right + 1, expected.bottom, 0},
        {expected.right, expected.bottom + 1, 0}, {19, 10, 0}, {20, 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Send(WM_MOUSEMOVE, c.x, c.y), c.handled) << c.x << "," << c.y;
}

TEST_F(JAncorTest, MoveOverTheLinkShowsHandAndHoverTextAndGoesNoFurther) {
    Counter after;
    gResources.hoverTextColor = RGB(255, 255, 255);
    Redraw(link.get());

    EXPECT_EQ(Send(WM_MOUSEMOVE, 22, 12), 1);
    EXPECT_EQ(GetCursor(), gResources.handCursor);
    EXPECT_EQ(link->hoverShown, 1);
    EXPECT_FALSE(ShowsBackground(kStatusRect));
    EXPECT_EQ(after.seen, 0);

    EXPECT_EQ(Send(WM_MOUSEMOVE, 150, 60), 0);
    EXPECT_EQ(link->hoverShown, 0);
    EXPECT_TRUE(ShowsBackground(kStatusRect));
    EXPECT_EQ(after.seen, 1);
    gResources.hoverTextColor = 0;
}

TEST_F(JAncorTest, EveryPressPostsTheCommandAndTheVisitedColourShowsAtTheNextDraw) {
    Fill({0, 0, kWidth, kHeight}, RGB(255, 255, 255));
    Redraw(link.get());
    EXPECT_TRUE(LinkShows(JAncor::kLinkColour));
    EXPECT_FALSE(LinkShows(JAncor::kVisitedColour));

    EXPECT_EQ(Send(WM_LBUTTONDOWN, 22, 12), 1);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{kCommand});
    EXPECT_EQ(link->visited, 1);
    EXPECT_TRUE(LinkShows(JAncor::kLinkColour));  // no redraw on the press
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 22, 12), 1);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{kCommand});
    EXPECT_EQ(Send(WM_LBUTTONUP, 22, 12), 0);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 100, 60), 0);
    EXPECT_TRUE(Commands().empty());

    Fill({0, 0, kWidth, kHeight}, RGB(255, 255, 255));
    Redraw(link.get());
    EXPECT_TRUE(LinkShows(JAncor::kVisitedColour));
    EXPECT_FALSE(LinkShows(JAncor::kLinkColour));
}

TEST_F(JAncorTest, DrawLeavesTheDcWithBlackTextAndItsOwnFont) {
    Canvas canvas(100, 30);
    SetTextColor(canvas.dc(), RGB(0, 255, 0));
    HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
    link->Draw(canvas.dc());
    EXPECT_EQ(GetTextColor(canvas.dc()), 0u);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
}

}  // namespace
