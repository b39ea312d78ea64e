#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/JButton.h"
#include "toolkit/JSelector.h"

namespace {

using namespace test;

constexpr int kCommand = 2000;
constexpr uint32_t kLabelOffset = 0x80148000;  // 20 right, level with the top

class JSelectorTest : public SkinnedWindowTest {
protected:
    void TearDown() override {
        selector.reset();
        SkinnedWindowTest::TearDown();
    }
    // A selector whose box's top-left corner is (30, 40).
    JSelector* Make(int firstState, int stateCount, int flags = 0, uint32_t bitmapId = kStripId,
                    const char* label = "Label") {
        selector =
            std::make_unique<JSelector>("Tick me", JRect{30, 40, 50, 52}, &gContext, bitmapId, kLabelOffset,
                                        label, firstState, stateCount, kCommand, flags, "Component");
        return selector.get();
    }
    // The strip frame the box shows, or -1.
    int FrameShown() const {
        const COLORREF colour = Pixel(30, 40);
        for (int frame = 0; frame < 4; ++frame)
            if (colour == kFrameColours[frame])
                return frame;
        return -1;
    }

    std::unique_ptr<JSelector> selector;
};

TEST_F(JSelectorTest, TickBoxGeometryHitTestAndLabel) {
    JSelector* s = Make(0, -3);
    const JRect hit = {30, 40, 43, 53};
    const JRect erase = {30, 40, 80, 92};
    EXPECT_TRUE(EqualRect(&s->hitRect, &hit));
    EXPECT_TRUE(EqualRect(&s->eraseRect, &erase));
    EXPECT_EQ(s->toggleMode, 1);
    EXPECT_EQ(s->minValue, 0);
    EXPECT_EQ(s->maxValue, 3);
    EXPECT_EQ(s->labelOffset.x, 20);
    EXPECT_EQ(s->labelOffset.y, 0);
    EXPECT_STREQ(s->name, "Component");

    // Edges included: a 13 by 13 box answers on 14 by 14 pixels.
    struct Case {
        int x, y;
        LRESULT handled;
    };
    const Case cases[] = {{30, 40, 1}, {43, 53, 1}, {29, 40, 0}, {44, 40, 0}, {30, 39, 0}, {30, 54, 0}};
    for (const Case& c : cases) {
        s->value = 0;
        EXPECT_EQ(Send(WM_LBUTTONDOWN, c.x, c.y), c.handled) << c.x << "," << c.y;
    }

    s->value = 2;
    Redraw(s);
    EXPECT_EQ(FrameShown(), 2);
    const JRect label = Ink({44, 30, kWidth, 70});
    EXPECT_GE(label.left, 50);
    EXPECT_LE(label.left, 52);
    EXPECT_GE(label.top, 40);
    EXPECT_LT(label.bottom, 40 + 16);
}

TEST_F(JSelectorTest, TickBoxFrameByFrame) {
    struct Row {
        int before;
        UINT message;
        bool inside;
        int after;
        LRESULT result;
        bool posted;
    };
    const Row rows[] = {
        {0, WM_LBUTTONDOWN, true, 1, 1, false},
        {1, WM_LBUTTONUP, true, 2, 1, true},
        {2, WM_LBUTTONDOWN, true, 3, 1, false},
        {3, WM_LBUTTONUP, true, 0, 1, true},
        {0, WM_RBUTTONDOWN, true, 3, 1, false},
        {3, WM_RBUTTONUP, true, 2, 1, true},
        {2, WM_RBUTTONDOWN, true, 1, 1, false},
        {1, WM_RBUTTONUP, true, 0, 1, true},
        // Any message with the pointer outside cancels a press.
        {1, WM_MOUSEMOVE, false, 0, 0, false},
        {3, WM_LBUTTONUP, false, 2, 0, false},
        {1, WM_RBUTTONDOWN, false, 0, 0, false},
        // A release of an unpressed box, and a double-click, change nothing.
        {0, WM_LBUTTONUP, true, 0, 0, false},
        {2, WM_RBUTTONUP, true, 2, 0, false},
        {1, WM_LBUTTONDBLCLK, true, 1, 0, false},
    };
    JSelector* s = Make(0, -3);
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.before << " message " << std::hex << r.message
                                          << (r.inside ? " inside" : " outside"));
        s->value = r.before;
        Redraw(s);
        EXPECT_EQ(Send(r.message, r.inside ? 35 : 150, r.inside ? 45 : 80), r.result);
        EXPECT_EQ(s->value, r.after);
        EXPECT_EQ(FrameShown(), r.after);
        EXPECT_EQ(Commands(), r.posted ? std::vector<WPARAM>{kCommand} : std::vector<WPARAM>{});
    }
}

TEST_F(JSelectorTest, MultiStateSelectorStepsAndPostsOnEveryPress) {
    JSelector* s = Make(0, 3);
    EXPECT_EQ(s->toggleMode, 0);
    for (int expected : {1, 2, 3, 0}) {
        EXPECT_EQ(Send(WM_LBUTTONDOWN, 35, 45), 1);
        EXPECT_EQ(s->value, expected);
        EXPECT_EQ(FrameShown(), expected);
        EXPECT_EQ(Commands(), std::vector<WPARAM>{kCommand});
    }
    for (int expected : {3, 2, 1, 0}) {
        EXPECT_EQ(Send(WM_RBUTTONDOWN, 35, 45), 1);
        EXPECT_EQ(s->value, expected);
        EXPECT_EQ(Commands(), std::vector<WPARAM>{kCommand});
    }
    EXPECT_EQ(Send(WM_LBUTTONUP, 35, 45), 0);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(JSelectorTest, OnlyAValueBelowZeroWrapsAndFramesBeyondTheStripDrawNothing) {
    JSelector* s = Make(2, 5);
    Send(WM_RBUTTONDOWN, 35, 45);
    EXPECT_EQ(s->value, 1);
    EXPECT_EQ(FrameShown(), 1);

    s->value = 3;
    Fill({0, 0, kWidth, kHeight}, kMarkerFill);
    Send(WM_LBUTTONDOWN, 35, 45);  // to 4: its frame would end at 65 of 52
    EXPECT_EQ(s->value, 4);
    EXPECT_TRUE(ShowsColour({0, 0, kWidth, 90}, kMarkerFill));  // no frame, no label
}

TEST_F(JSelectorTest, SetValueClampsAndGetValueIsRelativeToTheFirstState) {
    JSelector* s = Make(1, 4);
    struct Case {
        int set;
        int value;
        int get;
    };
    const Case cases[] = {{-5, 1, 0}, {2, 3, 2}, {10, 4, 3}, {0x7FFFFFFF, 4, 3}};
    Fill({0, 0, kWidth, kHeight}, kMarkerFill);
    for (const Case& c : cases) {
        s->SetValue(c.set);
        EXPECT_EQ(s->value, c.value) << c.set;
        EXPECT_EQ(s->GetValue(), c.get) << c.set;
    }
    EXPECT_TRUE(ShowsColour({0, 0, kWidth, kHeight}, kMarkerFill));  // no redraw

    JButton button(nullptr, nullptr, &gContext, JRect{0, 0, 0, 0}, 0, 0, 0, nullptr);
    EXPECT_EQ(button.GetValue(), 0);
}

TEST_F(JSelectorTest, ValueOnlySelectorHoldsARawValueAndNothingElse) {
    JSelector* s = Make(3, 8, JSF_VALUE_ONLY);
    EXPECT_EQ(s->strip, nullptr);
    EXPECT_EQ(s->GetValue(), 3);
    s->SetValue(-7);
    EXPECT_EQ(s->value, -7);
    EXPECT_EQ(s->GetValue(), -7);

    Fill({0, 0, kWidth, kHeight}, kMarkerFill);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, 0, 0), 0);
    Redraw(s);
    Repaint(nullptr);  // the background only
    EXPECT_EQ(s->value, -7);
    EXPECT_TRUE(ShowsBackground({0, 0, kWidth, kHeight}));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(JSelectorTest, ModesCutMirrorWidenAndSeeThroughTheirFrames) {
    enum : COLORREF { kShowsBackground = 0xFF000000 };
    struct Probe {
        int x, y;  // relative to the box's corner
        COLORREF colour;
    };
    struct Case {
        const char* name;
        int flags;
        uint32_t bitmapId;
        int value;
        int boxWidth;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"opaque", 0, kStripId, 2, 13, {{0, 0, kFrameColours[2]}, {1, 3, kFrameMarker}, {6, 6, kWhite}}},
        {"transposed", JSF_TRANSPOSED, kStripId, 2, 13, {{3, 1, kFrameMarker}, {1, 3, kFrameColours[2]}}},
        {"transparent", JSF_TRANSPARENT, kStripId, 2, 13, {{1, 3, kFrameMarker}, {6, 6, kShowsBackground}}},
        {"double width",
         JSF_DOUBLE_WIDTH,
         kStripId,
         1,
         26,
         {{0, 0, kFrameColours[2]}, {14, 3, kFrameMarker}, {25, 12, kFrameColours[3]}}},
        {"grid",
         JSF_GRID,
         kGridId,
         5,
         26,
         {{0, 0, CellColour(1, 1)}, {2, 5, kCellMarker}, {25, 25, CellColour(1, 1)}}},
        {"grid transposed",
         JSF_GRID | JSF_TRANSPOSED,
         kGridId,
         6,
         26,
         {{5, 2, kCellMarker}, {2, 5, CellColour(2, 1)}}},
        {"grid double width", JSF_GRID | JSF_DOUBLE_WIDTH, kGridId, 0, 104, {{0, 0, CellColour(0, 0)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JSelector* s = Make(0, 7, c.flags, c.bitmapId);
        EXPECT_EQ(s->hitRect.right - s->hitRect.left, c.boxWidth);
        s->value = c.value;
        Fill({0, 0, kWidth, kHeight}, kMarkerFill);
        Redraw(s);
        for (const Probe& p : c.probes) {
            const int x = 30 + p.x;
            const int y = 40 + p.y;
            EXPECT_EQ(Pixel(x, y), p.colour == kShowsBackground ? Background(x, y) : p.colour)
                << p.x << "," << p.y;
        }
        // A grid cell has no label.
        const bool labelled = !(c.flags & JSF_GRID);
        const JRect label = {30 + c.boxWidth, 40, kWidth, 40 + 13};
        EXPECT_EQ(ShowsColour(label, kMarkerFill), !labelled);
    }
}

TEST_F(JSelectorTest, HidingCoversTheEraseRectangleOnce) {
    JSelector* s = Make(0, -3);
    Fill({0, 0, kWidth, kHeight}, kMarkerFill);
    Show(s, 0);
    EXPECT_TRUE(ShowsBackground(s->eraseRect));
    EXPECT_EQ(Pixel(29, 45), kMarkerFill);
    Fill(s->eraseRect, kMarkerFill);
    Redraw(s);
    EXPECT_TRUE(ShowsColour(s->eraseRect, kMarkerFill));
}

TEST_F(JSelectorTest, GridRightPressPostsTheNextCommand) {
    JSelector* s = Make(0, 7, JSF_GRID, kGridId);
    EXPECT_EQ(Send(WM_RBUTTONDOWN, 35, 45), 0);
    EXPECT_EQ(s->value, 0);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{kCommand + 1});
}

}  // namespace
