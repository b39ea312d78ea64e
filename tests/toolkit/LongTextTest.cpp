#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ToolkitTestSupport.h"
#include "toolkit/JAncor.h"
#include "toolkit/JButton.h"
#include "toolkit/JSelector.h"

namespace {

using namespace test;

using LongTextTest = SkinnedWindowTest;

// Texts longer than their buffers are cut to fit: the copy ends inside the
// buffer and the fields after it keep their values.
TEST_F(LongTextTest, TextsAreCutToTheirBuffers) {
    const std::string longText(500, 'x');
    const char* text = longText.c_str();
    const JRect captionOffset = {0, 30, 40, 15};

    JButton button(text, &captionOffset, &gContext, JRect{10, 20, 10, 20}, kButtonId, kButtonId, 7, text);
    EXPECT_EQ(std::strlen(button.hoverText), sizeof button.hoverText - 1);
    EXPECT_EQ(std::strlen(button.caption), sizeof button.caption - 1);
    EXPECT_EQ(button.active, 1);
    EXPECT_EQ(button.visible, 1);
    EXPECT_EQ(button.captionRect.left, 10);
    EXPECT_EQ(button.captionRect.top, 50);

    JAncor link(text, &gContext, JRect{20, 10, 20, 10}, text, 1029);
    EXPECT_EQ(std::strlen(link.caption), sizeof link.caption - 1);
    EXPECT_EQ(link.linkRect.left, 20);

    JSelector selector(text, JRect{30, 60, 50, 72}, &gContext, kStripId, 0x80148000, text, 0, -3, 2000, 0,
                       text);
    EXPECT_EQ(std::strlen(selector.name), sizeof selector.name - 1);
    EXPECT_EQ(std::strlen(selector.label), sizeof selector.label - 1);
    EXPECT_EQ(selector.toggleMode, 1);
    EXPECT_EQ(selector.labelOffset.x, 20);

    // They draw and show their hover texts cut as they are.
    Repaint(nullptr);
    EXPECT_EQ(Send(WM_MOUSEMOVE, 30, 30), 0);
    EXPECT_EQ(button.hoverShown, 1);
}

}  // namespace
