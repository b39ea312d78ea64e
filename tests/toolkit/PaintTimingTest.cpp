// Not a check: prints how long the paint cycle takes on a window of the
// installer's size with the installer's nine elements, without the pause that
// starts every paint. Run alone with
//   xvfb-run -a scripts/wine-session $PWD/build/win64 ctest --preset win64 -R PaintTiming -V
#include <gtest/gtest.h>

#include <cstdio>

#include "ToolkitTestSupport.h"
#include "toolkit/JAncor.h"
#include "toolkit/JButton.h"
#include "toolkit/JSelector.h"

namespace {

using namespace test;

// Ids without a resource: blank bitmaps of the installer's picture sizes.
constexpr uint32_t BlankId(int width, int height) {
    return static_cast<uint32_t>(height) << 16 | static_cast<uint32_t>(width);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Mean time of `count` full paints of the window.
double TimePaints(const SkinnedWindow& skin, int count) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        skin.Repaint(nullptr);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end) / count;
}

JRect At(int x, int y) {
    return JRect{x, y, x, y};
}

TEST(PaintTiming, FullPaintOf600By320WithNineElements) {
    const DWORD pause = gPaintPause;
    gPaintPause = 0;
    {
        SkinnedWindow skin(600, 320, BlankId(600, 320), JRect{20, 301, 451, 321});
        JButton close(nullptr, nullptr, &gContext, At(537, 299), BlankId(58, 19), BlankId(58, 19), 2,
                      nullptr);
        JButton install(nullptr, nullptr, &gContext, At(475, 299), BlankId(60, 19), BlankId(60, 19), 219,
                        nullptr);
        JButton exit(nullptr, nullptr, &gContext, At(535, 299), BlankId(60, 19), BlankId(60, 19), 2, nullptr);
        Show(&exit, 0);
        JButton indicator32("Install 32-bit version", nullptr, &gContext, At(480, 236), BlankId(20, 19),
                            BlankId(20, 19), 0, nullptr);
        JButton indicator64("Install 64-bit version", nullptr, &gContext, At(510, 236), BlankId(20, 19),
                            BlankId(20, 19), 0, nullptr);
        JAncor link("Visit example.com", &gContext, At(458, 20), "www.example.com", 1029);
        JButton finished(nullptr, nullptr, &gContext, At(0, 0), BlankId(600, 296), BlankId(600, 296), 1,
                         nullptr);
        finished.directDraw = 1;
        finished.active = 0;
        finished.visible = 0;
        JSelector plugin("Select to install the plug-in", JRect{270, 218, 290, 230}, &gContext, kStripId,
                         0x80148000, "Plug-in", 0, -3, 2000, 0, "Plugin");
        JSelector presets("Select to install the presets", JRect{270, 238, 290, 250}, &gContext, kStripId,
                          0x80148000, "Additional presets: Portraits 01 - 12", 0, -3, 2000, 0, "Presets");
        plugin.value = presets.value = 2;
        ASSERT_EQ(gContext.elementCount, 9);

        skin.Repaint(nullptr);  // warm up
        const double choosing = TimePaints(skin, 20);
        std::printf("full paint, 600 x 320, nine elements (seven shown): %.2f ms (mean of 20)\n", choosing);

        // The finished state: the picture drawn straight onto the window.
        Show(&close, 0);
        Show(&install, 0);
        Show(&indicator32, 0);
        Show(&indicator64, 0);
        Show(&plugin, 0);
        Show(&presets, 0);
        Show(&exit, 1);
        finished.visible = 1;
        const double done = TimePaints(skin, 1);
        std::printf(
            "full paint of the finished state (600 x 296 picture drawn pixel by pixel onto the window): "
            "%.0f ms\n",
            done);
    }
    gPaintPause = pause;
}

}  // namespace
