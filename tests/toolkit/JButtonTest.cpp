#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/JButton.h"

namespace {

using namespace test;

constexpr int kCommand = 219;

class JButtonTest : public SkinnedWindowTest {
protected:
    // A 58 by 19 picture at (10, 20), its pressed look the same picture moved.
    JButton* MakeButton(const char* hoverText = nullptr, int x = 10, int command = kCommand) {
        const JRect origin = {x, 20, x, 20};
        button = std::make_unique<JButton>(hoverText, nullptr, &gContext, origin, kButtonId, kButtonId,
                                           command, nullptr);
        return button.get();
    }
    bool ShowsNormalLook(int x = 10) const { return Pixel(x, 20) == ButtonPixel(0, 0); }
    bool ShowsPressedLook(int x = 10) const {
        return Pixel(x, 20) == Background(x, 20) && Pixel(x + 1, 21) == ButtonPixel(0, 0);
    }

    std::unique_ptr<JButton> button;
};

TEST_F(JButtonTest, HitTestIsStrictOnAllFourSides) {
    JButton* b = MakeButton();
    const JRect bounds = {10, 20, 69, 40};
    EXPECT_TRUE(EqualRect(&b->bounds, &bounds));
    EXPECT_EQ(b->pressOffset, 1);
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {11, 21, true}, {68, 39, true}, {10, 21, false}, {69, 21, false}, {11, 40, false}, {11, 20, false},
    };
    for (const Case& c : cases) {
        Send(WM_LBUTTONDOWN, c.x, c.y);
        Send(WM_LBUTTONUP, c.x, c.y);
        EXPECT_EQ(Commands().size(), c.inside ? 1u : 0u) << c.x << "," << c.y;
    }
}

TEST_F(JButtonTest, PressMoveAndReleaseFollowTheStateTable) {
    enum Look { kUnchanged, kNormal, kPressed };
    struct Step {
        const char* what;
        UINT message;
        int x, y;
        LRESULT result;
        int state;
        Look look;
        size_t commands;
    };
    const Step steps[] = {
        {"move inside", WM_MOUSEMOVE, 30, 30, 0, 0, kUnchanged, 0},
        {"press inside", WM_LBUTTONDOWN, 30, 30, 0, 1, kPressed, 0},
        {"move inside while pressed", WM_MOUSEMOVE, 31, 30, 0, 1, kPressed, 0},
        {"move outside cancels", WM_MOUSEMOVE, 100, 60, 0, 0, kNormal, 0},
        {"release after the cancel", WM_LBUTTONUP, 30, 30, 0, 0, kNormal, 0},
        {"press again", WM_LBUTTONDOWN, 30, 30, 0, 1, kPressed, 0},
        {"release inside clicks", WM_LBUTTONUP, 30, 30, 1, 3, kNormal, 1},
        {"release without a press", WM_LBUTTONUP, 30, 30, 0, 0, kNormal, 0},
        {"double-click is ignored", WM_LBUTTONDBLCLK, 30, 30, 0, 0, kNormal, 0},
        {"press", WM_LBUTTONDOWN, 30, 30, 0, 1, kPressed, 0},
        {"release outside is not hit-tested", WM_LBUTTONUP, 150, 80, 1, 3, kNormal, 1},
        {"press from the clicked state", WM_LBUTTONDOWN, 30, 30, 0, 1, kPressed, 0},
    };
    JButton* b = MakeButton();
    Repaint(nullptr);
    ASSERT_TRUE(ShowsNormalLook());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const bool wasPressed = ShowsPressedLook();
        EXPECT_EQ(Send(s.message, s.x, s.y), s.result);
        EXPECT_EQ(b->state, s.state);
        const bool pressedLook = s.look == kUnchanged ? wasPressed : s.look == kPressed;
        EXPECT_EQ(ShowsPressedLook(), pressedLook);
        EXPECT_EQ(ShowsNormalLook(), !pressedLook);
        const std::vector<WPARAM> commands = Commands();
        ASSERT_EQ(commands.size(), s.commands);
        if (!commands.empty()) {
            EXPECT_EQ(commands[0], static_cast<WPARAM>(kCommand));
        }
    }
}

TEST_F(JButtonTest, ButtonWithoutCommandClicksButPostsNothing) {
    MakeButton(nullptr, 10, 0);
    Send(WM_LBUTTONDOWN, 30, 30);
    EXPECT_TRUE(ShowsPressedLook());
    EXPECT_EQ(Send(WM_LBUTTONUP, 30, 30), 1);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(JButtonTest, PictureDrawsWithoutItsWhitePixels) {
    for (int direct : {0, 1}) {
        SCOPED_TRACE(direct ? "direct" : "composed");
        JButton* b = MakeButton();
        b->directDraw = direct;
        Fill({0, 0, kWidth, kHeight}, kMarkerFill);
        Redraw(b);
        // White shows what was under the picture: the window itself when drawn
        // directly, else the background composed in the back buffer.
        EXPECT_EQ(Pixel(13, 23), direct ? kMarkerFill : Background(13, 23));
        EXPECT_EQ(Pixel(14, 23), kNearWhite);
        EXPECT_EQ(Pixel(10, 20), ButtonPixel(0, 0));
        EXPECT_EQ(Pixel(67, 38), ButtonPixel(57, 18));
        // The composed look covers all of `bounds`, the direct one the picture only.
        EXPECT_EQ(Pixel(68, 39), direct ? kMarkerFill : Background(68, 39));
    }
}

TEST_F(JButtonTest, HidingErasesOnceAndShowingDrawsAgain) {
    const JRect origin = {10, 20, 10, 20};
    const JRect captionOffset = {0, 22, 40, 15};
    button =
        std::make_unique<JButton>(nullptr, &captionOffset, &gContext, origin, kButtonId, kButtonId, 0, "Go");
    JButton* b = button.get();
    const JRect captionRect = {10, 42, 50, 57};
    EXPECT_TRUE(EqualRect(&b->captionRect, &captionRect));
    Fill({0, 0, kWidth, kHeight}, kMarkerFill);

    Show(b, 0);
    EXPECT_EQ(b->visible, 0);
    EXPECT_EQ(b->active, 0);
    EXPECT_EQ(b->erased, 1);
    EXPECT_TRUE(ShowsBackground(b->bounds));
    // The hidden button still draws its caption.
    const JRect caption = Ink(captionRect);
    EXPECT_FALSE(IsRectEmpty(&caption));

    Fill(b->bounds, kMarkerFill);
    Show(b, 0);
    EXPECT_TRUE(ShowsColour(b->bounds, kMarkerFill));

    Show(b, 1);
    EXPECT_EQ(b->erased, 0);
    EXPECT_EQ(b->active, 1);
    EXPECT_TRUE(ShowsNormalLook());
}

class HoverTextTest : public JButtonTest {
protected:
    void SetUp() override {
        JButtonTest::SetUp();
        gResources.hoverTextColor = RGB(255, 255, 255);
    }
    void TearDown() override {
        gResources.hoverTextColor = 0;
        JButtonTest::TearDown();
    }
    // The width of `text` in the back buffer's font.
    int TextWidth(const char* text) const {
        SIZE size;
        GetTextExtentPoint32A(gContext.backDC, text, lstrlenA(text), &size);
        return size.cx;
    }
    // How far right the status rectangle shows text; 0 when it shows none.
    int StatusInkRight() const { return Ink(kStatusRect).right; }
};

TEST_F(HoverTextTest, ShowsTheTextBeforeTheAtSignOnly) {
    JButton* b = MakeButton("Hi@WWWWWWWW");
    Send(WM_MOUSEMOVE, 30, 30);
    EXPECT_EQ(b->hoverShown, 1);
    EXPECT_GT(StatusInkRight(), 0);
    EXPECT_LE(StatusInkRight(), TextWidth("Hi") + 1);
    Send(WM_MOUSEMOVE, 150, 60);
    EXPECT_EQ(b->hoverShown, 0);
    EXPECT_TRUE(ShowsBackground(kStatusRect));
}

TEST_F(HoverTextTest, AnEmptyHoverTextNeverTouchesTheStatusRectangle) {
    JButton* b = MakeButton("");
    Fill(kStatusRect, kMarkerFill);
    Send(WM_MOUSEMOVE, 30, 30);
    Send(WM_MOUSEMOVE, 150, 60);
    EXPECT_EQ(b->hoverShown, 0);
    EXPECT_TRUE(ShowsColour(kStatusRect, kMarkerFill));
}

TEST_F(HoverTextTest, MovesBetweenTwoButtonsShareOneStatusRectangle) {
    // A registered before B; A's text is narrow, B's wide.
    JButton* a = MakeButton("I");
    auto bOwner = std::make_unique<JButton>("WWWWWWWW", nullptr, &gContext, JRect{80, 20, 80, 20}, kButtonId,
                                            kButtonId, 0, nullptr);
    JButton* b = bOwner.get();
    const int narrow = TextWidth("I") + 1;

    Send(WM_MOUSEMOVE, 30, 30);  // into A
    EXPECT_GT(StatusInkRight(), 0);
    EXPECT_LE(StatusInkRight(), narrow);

    Send(WM_MOUSEMOVE, 100, 30);  // from A straight into B: A clears, then B shows
    EXPECT_EQ(a->hoverShown, 0);
    EXPECT_EQ(b->hoverShown, 1);
    EXPECT_GT(StatusInkRight(), narrow);

    Send(WM_MOUSEMOVE, 30, 30);  // from B straight into A: A shows, then B clears
    EXPECT_EQ(a->hoverShown, 1);
    EXPECT_EQ(b->hoverShown, 0);
    EXPECT_TRUE(ShowsBackground(kStatusRect));
    Send(WM_MOUSEMOVE, 31, 31);  // stays empty while in A
    EXPECT_TRUE(ShowsBackground(kStatusRect));

    Send(WM_MOUSEMOVE, 150, 60);  // bare background
    EXPECT_EQ(a->hoverShown, 0);
    EXPECT_TRUE(ShowsBackground(kStatusRect));
}

}  // namespace
