// Repaints of the real installer window, with its real skin, timed from
// inside: this program is the installer's code with the installer's resources
// and runs the main window as the installer does. A timer, once the window
// has painted, switches the pause at the start of each paint off and times
//   - full repaints of the choosing window (InvalidateRect + UpdateWindow),
//   - full repaints of the finished window, after a real install into a
//     folder that the discovery found,
//   - the finished picture's direct drawing alone, onto a window DC.
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "installer/InstallerState.h"
#include "installer/MainWindow.h"
#include "toolkit/JButton.h"

namespace {

const char kSeedKey[] = "Software\\Halvorne\\PaintBench";
// What a user takes for an immediate response.
constexpr double kImmediateMs = 100;

int gRuns = 7;
std::string gFolder;
bool gFinished = false;
std::vector<double> gChoosing, gFinishedPaints, gDirect;
int gPictureWidth = 0, gPictureHeight = 0, gPicturePixels = 0;

double TimeRepaint(HWND window) {
    const double start = bench::NowMicroseconds();
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    return (bench::NowMicroseconds() - start) / 1000;
}

// The pixels the direct drawing sets: all but the white ones.
void CountPicturePixels(const JButton* picture) {
    const JBitmap* image = picture->image;
    if (!image || !image->dc)
        return;
    gPictureWidth = image->width;
    gPictureHeight = image->height;
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            gPicturePixels += GetPixel(image->dc, x, y) != 0xFFFFFF;
}

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND window = gContext.window;
    UpdateWindow(window);  // the first paint, pause included, is over
    const DWORD pause = gPaintPause;
    gPaintPause = 0;

    TimeRepaint(window);
    for (int run = 0; run < 3 * gRuns; ++run)
        gChoosing.push_back(TimeRepaint(window));

    // The install command, as the install button sends it.
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    gFinished = gState.finished != 0;
    if (gFinished) {
        TimeRepaint(window);
        for (int run = 0; run < gRuns; ++run)
            gFinishedPaints.push_back(TimeRepaint(window));
        JButton* picture = static_cast<JButton*>(gState.elementSlots[kFinishedPicture]);
        HDC dc = GetDC(window);
        for (int run = 0; run < gRuns; ++run) {
            const double start = bench::NowMicroseconds();
            picture->Draw(dc);
            gDirect.push_back((bench::NowMicroseconds() - start) / 1000);
        }
        ReleaseDC(window, dc);
        CountPicturePixels(picture);
    }
    gPaintPause = pause;
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
}

void Verdict(const char* what, double ms) {
    printf("  %s: %.1f ms with the %lu ms pause: %s\n", what, ms + gPaintPause, gPaintPause,
           ms + gPaintPause <= kImmediateMs ? "immediate (within 100 ms)"
                                            : "longer than a user takes as immediate");
}

}  // namespace

int main(int argc, char** argv) {
    gRuns = argc > 1 ? atoi(argv[1]) : 7;
    gState.instance = GetModuleHandleA(nullptr);
    SetCursorPos(0, 0);  // keep the pointer off the window: no hover texts

    // One plug-in folder for the discovery to find, so that the install
    // command has somewhere to go.
    gFolder = bench::TempSubfolder("tkbench-paint");
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSeedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, "PluginPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(gFolder.c_str()),
                       static_cast<DWORD>(gFolder.size() + 1));
        RegCloseKey(key);
    }

    SetTimer(nullptr, 0, 300, Measure);
    RunMainWindow();

    bench::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Halvorne");
    bench::RemoveFolderTree(gFolder);
    if (!gFinished) {
        fprintf(stderr, "the window did not reach its finished state\n");
        return 1;
    }

    bench::Report("full repaint, choosing window, no pause", gChoosing, "ms");
    bench::Report("full repaint, finished window, no pause", gFinishedPaints, "ms");
    bench::Report("  of which the picture's direct drawing", gDirect, "ms");
    printf("  the picture: %d x %d, %d pixels set one SetPixel call each\n", gPictureWidth, gPictureHeight,
           gPicturePixels);
    printf("As the user sees each paint (median drawing time plus the pause at the start of every paint):\n");
    Verdict("choosing window", bench::Median(gChoosing));
    Verdict("finished window", bench::Median(gFinishedPaints));
    return 0;
}
