// Start-up to the end of the first paint, measured from outside: the program
// is started with CreateProcessA, and its first paint has ended when its
// dialog window is shown, has no update region left (BeginPaint took it) and
// a WM_NULL sent to it has come back (the paint's handler has returned). Both
// programs are measured the same way, one after the other, in turns.
//
// Usage: startup_bench RUNS PROGRAM BASELINE
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "toolkit/Surface.h"

namespace {

struct Search {
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16];
    if (process == search->process && GetClassNameA(window, name, sizeof name) &&
        lstrcmpA(name, "#32770") == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// Starts `program`, waits for the end of its first paint and returns the
// microseconds that took (a negative value when it never painted), then
// closes it and waits for it to end.
double TimeFirstPaint(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string commandLine = "\"" + program + "\"";
    const double start = bench::NowMicroseconds();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        fprintf(stderr, "cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return -1;
    }
    double elapsed = -1;
    Search search = {process.dwProcessId, nullptr};
    while (bench::NowMicroseconds() - start < 60e6) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;  // ended without painting
        if (!search.window)
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.window && IsWindowVisible(search.window) &&
            !GetUpdateRect(search.window, nullptr, FALSE)) {
            DWORD_PTR result;
            if (SendMessageTimeoutA(search.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
                elapsed = bench::NowMicroseconds() - start;
                break;
            }
        }
        Sleep(1);
    }
    if (search.window)
        PostMessageA(search.window, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        fprintf(stderr, "%s did not end; terminated\n", program.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

std::string FullPath(const char* path) {
    char full[MAX_PATH];
    return GetFullPathNameA(path, MAX_PATH, full, nullptr) ? full : path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: startup_bench RUNS PROGRAM BASELINE\n");
        return 2;
    }
    const int runs = atoi(argv[1]);
    const std::string programs[2] = {FullPath(argv[2]), FullPath(argv[3])};
    // One start of each first, not counted: the first start of a program in
    // a Wine session loads what later starts find ready.
    TimeFirstPaint(programs[0]);
    TimeFirstPaint(programs[1]);

    std::vector<double> samples[2];
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < 2; ++i) {
            const int which = run % 2 ? 1 - i : i;
            const double elapsed = TimeFirstPaint(programs[which]);
            if (elapsed < 0) {
                fprintf(stderr, "%s never finished a first paint\n", programs[which].c_str());
                return 1;
            }
            samples[which].push_back(elapsed / 1000);
        }
    }
    bench::Report("installer (win64), start to end of first paint", samples[0], "ms");
    bench::Report("minimal dialog program, the same", samples[1], "ms");
    bench::ReportRatio("  ratio installer/minimal dialog", samples[0], samples[1]);
    // The pause that starts every paint of the installer is part of its
    // design; what the installer costs besides it:
    std::vector<double> withoutPause;
    for (double ms : samples[0])
        withoutPause.push_back(ms - gPaintPause);
    char name[80];
    wsprintfA(name, "  the same less the %lu ms pause of the paint", gPaintPause);
    bench::ReportRatio(name, withoutPause, samples[1]);
    return 0;
}
