// Process entry: one copy at a time, then the main window.
#include "installer/InstallerState.h"
#include "installer/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HANDLE guard = CreateMutexA(nullptr, TRUE, " ");
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;  // another copy runs; it is left as it is
    gState.instance = instance;
    if (RunMainWindow() != 0)
        MessageBoxA(nullptr, "E", nullptr, MB_OK);
    ReleaseMutex(guard);
    return 0;
}
