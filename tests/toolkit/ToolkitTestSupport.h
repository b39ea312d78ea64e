// Fixtures of the toolkit tests: memory canvases whose pixels are read back
// from their DIB sections, and a real window with the toolkit's surface.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestBitmaps.h"
#include "toolkit/JElement.h"

namespace test {

constexpr COLORREF kCanvasFill = RGB(10, 20, 30);
constexpr COLORREF kMarkerFill = RGB(255, 0, 255);

// A memory DC holding a 32-bit top-down DIB section.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = kCanvasFill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF colour);
    // A bitmap record that reads this canvas, outside the cache.
    JBitmap AsBitmap() const;

    const int width;
    const int height;

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ kept_;
    uint32_t* bits_;
};

// A real, shown pop-up window at the screen's origin whose window procedure
// runs the toolkit's mouse dispatch and paint cycle, with the process's
// surface attached to it. Gives the surface up again at the end.
class SkinnedWindow {
public:
    SkinnedWindow(int width, int height, uint32_t backgroundId, const JRect& statusRect);
    ~SkinnedWindow();
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;

    // Invalidates `area` (NULL: all) and paints it now.
    void Repaint(const RECT* area) const;

    HWND window = nullptr;
    JSurface surface = {};
};

// A 200 by 120 skinned window with the 16 by 16 pattern as its background and
// kStatusRect as its status rectangle.
class SkinnedWindowTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 120;
    static constexpr JRect kStatusRect = {0, 100, 150, 120};

    void SetUp() override;
    void TearDown() override;

    // What the window shows, read from a window DC.
    COLORREF Pixel(int x, int y) const;
    std::unique_ptr<Canvas> Grab() const;
    void Fill(const JRect& rect, COLORREF colour) const;
    // True when every pixel of `rect` shows the tiled background.
    bool ShowsBackground(const JRect& rect) const;
    // True when every pixel of `rect` is `colour`.
    bool ShowsColour(const JRect& rect, COLORREF colour) const;
    // The box of the pixels in `rect` that differ from the background
    // (empty when there are none).
    JRect Ink(const JRect& rect) const;

    // Sends a mouse message at (x, y); returns the window procedure's result
    // (1 when an element handled it).
    LRESULT Send(UINT message, int x, int y) const;
    // The commands posted to the window since the last call.
    std::vector<WPARAM> Commands() const;
    void Repaint(const RECT* area) const { skin->Repaint(area); }

    std::unique_ptr<SkinnedWindow> skin;
    HWND window = nullptr;
};

}  // namespace test
