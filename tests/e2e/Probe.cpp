// A helper of the end-to-end test: seeds and reads the Wine prefix's
// registry and reads the installer's window from outside, as another
// process on the same desktop would.
//
//   probe seed ROOT VIEW KEY NAME TEXT      REG_SZ value (VIEW: 32, 64 or -)
//   probe delete ROOT VIEW KEY              the key and all below it
//   probe values KEY                        HKCU values: name, type, size, hex
//   probe window [SECONDS]                  waits for the installer's window;
//                                           prints its client origin and size
//   probe folders                           the folder list's entries and selection
//   probe answer retry|cancel [SECONDS]     waits for the installer's question,
//                                           prints its text and answers it
//   probe hold PATH SECONDS                 holds a file open without sharing,
//                                           as a running image editor holds its module
//   probe deny ROOT VIEW KEY                denies everyone access to a key
//   probe allow ROOT VIEW KEY               gives the key an open access list again
#include <stdio.h>
#include <string.h>

#include <string>

#include "platform/Os.h"

namespace {

HKEY Root(const char* name) {
    if (!strcmp(name, "HKLM"))
        return HKEY_LOCAL_MACHINE;
    if (!strcmp(name, "HKCR"))
        return HKEY_CLASSES_ROOT;
    return HKEY_CURRENT_USER;
}

REGSAM View(const char* name) {
    if (!strcmp(name, "32"))
        return KEY_WOW64_32KEY;
    if (!strcmp(name, "64"))
        return KEY_WOW64_64KEY;
    return 0;
}

int Seed(char** argv) {
    HKEY key;
    if (RegCreateKeyExA(Root(argv[0]), argv[2], 0, nullptr, 0, KEY_ALL_ACCESS | View(argv[1]), nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    LONG status = RegSetValueExA(key, argv[3], 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[4]),
                                 static_cast<DWORD>(strlen(argv[4]) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 1;
}

int Delete(char** argv) {
    HKEY key;
    REGSAM view = View(argv[1]);
    if (RegOpenKeyExA(Root(argv[0]), argv[2], 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExA(Root(argv[0]), argv[2], view, 0);
    }
    return 0;
}

int Values(const char* subKey) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        printf("%s\t%lu\t%lu\t", name, type, size);
        for (DWORD b = 0; b < size; ++b)
            printf("%02x", data[b]);
        printf("\n");
    }
    RegCloseKey(key);
    return 0;
}

// The installer's window: a top-level dialog holding the folder list 1033.
BOOL CALLBACK FindInstaller(HWND window, LPARAM found) {
    char cls[32];
    HWND list = GetDlgItem(window, 1033);
    if (IsWindowVisible(window) && list && GetClassNameA(list, cls, sizeof cls) && !lstrcmpiA(cls, "ComboBox")) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND InstallerWindow(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        HWND found = nullptr;
        EnumWindows(FindInstaller, reinterpret_cast<LPARAM>(&found));
        if (found)
            return found;
        Sleep(100);
    }
    return nullptr;
}

int Window(int seconds) {
    HWND window = InstallerWindow(seconds);
    if (!window)
        return 1;
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}

int Folders() {
    HWND window = InstallerWindow(10);
    if (!window)
        return 1;
    HWND list = GetDlgItem(window, 1033);
    LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Across processes the list's text travels as UTF-16 under Wine:
        // ask for it so and convert it to the ANSI code page.
        wchar_t wide[512] = L"";
        char text[1024] = "";
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 512)
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        printf("%s\n", text);
    }
    printf("selected %d\n", static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
    RECT where;
    GetWindowRect(list, &where);
    POINT corner = {where.left, where.top};
    ScreenToClient(window, &corner);
    printf("list at %ld %ld\n", corner.x, corner.y);
    return 0;
}

struct Question {
    HWND window;
    char text[1024];
};

// A message box: a dialog with a Retry or Cancel button and a static text.
BOOL CALLBACK FindQuestion(HWND window, LPARAM found) {
    Question* question = reinterpret_cast<Question*>(found);
    char cls[32];
    if (!IsWindowVisible(window) || !GetClassNameA(window, cls, sizeof cls) || lstrcmpA(cls, "#32770"))
        return TRUE;
    if (!GetDlgItem(window, IDRETRY) && !GetDlgItem(window, IDCANCEL))
        return TRUE;
    if (GetDlgItem(window, 1033))
        return TRUE;  // the installer's own window
    GetDlgItemTextA(window, 0xFFFF, question->text, sizeof question->text);
    question->window = window;
    return FALSE;
}

int Answer(const char* answer, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        Question question = {};
        EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&question));
        if (question.window) {
            printf("%s\n", question.text);
            fflush(stdout);
            int button = !strcmp(answer, "retry") ? IDRETRY : IDCANCEL;
            PostMessageA(question.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(question.window, button)));
            return 0;
        }
        Sleep(100);
    }
    return 1;
}

int Hold(const char* path, int seconds) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    printf("holding\n");
    fflush(stdout);
    Sleep(seconds * 1000);
    CloseHandle(file);
    return 0;
}

// An empty access list grants nobody anything; none at all grants everyone
// everything. The owner may always change the list.
int SetAccess(char** argv, bool deny) {
    HKEY key;
    if (RegOpenKeyExA(Root(argv[0]), argv[2], 0, WRITE_DAC | View(argv[1]), &key) != ERROR_SUCCESS)
        return 1;
    SECURITY_DESCRIPTOR descriptor;
    ACL acl;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, deny ? &acl : nullptr, FALSE);
    LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "seed" && argc == 7)
        return Seed(argv + 2);
    if (command == "delete" && argc == 5)
        return Delete(argv + 2);
    if (command == "values" && argc == 3)
        return Values(argv[2]);
    if (command == "window")
        return Window(argc > 2 ? atoi(argv[2]) : 10);
    if (command == "folders")
        return Folders();
    if (command == "answer" && argc >= 3)
        return Answer(argv[2], argc > 3 ? atoi(argv[3]) : 10);
    if (command == "hold" && argc == 4)
        return Hold(argv[2], atoi(argv[3]));
    if ((command == "deny" || command == "allow") && argc == 5)
        return SetAccess(argv + 2, command == "deny");
    fprintf(stderr, "usage: probe seed|delete|values|window|folders|answer|hold|deny|allow ...\n");
    return 2;
}
