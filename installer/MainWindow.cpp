#include "installer/MainWindow.h"

// Until the main dialog exists the installer has no window: it ends at once.
int RunMainWindow() {
    return 0;
}
