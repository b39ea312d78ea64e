// The installer's one window: a borderless dialog drawn by the skinned
// toolkit, with the folder list as its only visible standard control.
#include "installer/InstallerFlow.h"
#include "installer/InstallerState.h"
#include "installer/InstallerView.h"
#include "installer/MainWindow.h"
#include "toolkit/JAncor.h"
#include "toolkit/JButton.h"
#include "toolkit/JSelector.h"
#include "toolkit/Surface.h"

namespace {

// The maker's web site, its help page and the link's texts.
#define MAKER_HOST "halvorne.example"
const char kHelpPage[] = "http://" MAKER_HOST "/installtk.htm";
const char kLinkCaption[] = MAKER_HOST;
const char kLinkHoverText[] = "Visit halvorne.example";

const char kPrompt[] = "Select folder where setup will install files:";
const char kBrowseTitle[] = "Please Select Your Plug-Ins Folder";

enum {
    kFolderList = 1033,
    kFocusButton = 1034,
    kBackgroundBitmap = 222,
    kHandCursor = 120,
};

enum Command {
    kCommandClose = 2,
    kCommandInstall = 219,
    kCommandHelpKey = 215,
    kCommandHelpPage = 1029,
    kCommandTickBox = 2000,
};

// The folder list, the elements and the shell, as the installer flow sees them.
class DialogView : public InstallerView {
public:
    HWND window = nullptr;

    void AddEntry(const char* text) override { SendList(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    void InsertEntry(int index, const char* text) override {
        SendList(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
    }
    void DeleteEntry(int index) override { SendList(CB_DELETESTRING, index, 0); }
    void SelectEntry(int index) override { SendList(CB_SETCURSEL, index, 0); }
    int SelectedEntry() override { return static_cast<int>(SendList(CB_GETCURSEL, 0, 0)); }

    void EntryText(int index, char* buffer, int capacity) override {
        // CB_GETLBTEXT knows no capacity: ask for the length first.
        LRESULT length = SendList(CB_GETLBTEXTLEN, index, 0);
        if (length == CB_ERR || length >= capacity) {
            CopyText(buffer, capacity, "");
            return;
        }
        SendList(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    }

    void MoveFocusOffList() override { SendDlgItemMessageA(window, kFocusButton, BM_CLICK, 0, 0); }
    void HideFolderList() override {
        MoveWindow(GetDlgItem(window, kFolderList), gState.listMargin, 1000, 50, 10, TRUE);
    }

    bool HasElement(int slot) override { return Element(slot) != nullptr; }
    bool IsVisible(int slot) override { return Element(slot)->visible != 0; }
    void Show(int slot, bool visible) override { ::Show(Element(slot), visible); }
    void SetFlags(int slot, bool active, bool visible) override {
        Element(slot)->active = active;
        Element(slot)->visible = visible;
    }
    int SelectorValue(int slot) override { return static_cast<JSelector*>(Element(slot))->value; }
    const char* SelectorName(int slot) override { return static_cast<JSelector*>(Element(slot))->name; }
    void InvalidateElement(int slot) override {
        const JRect& bounds = static_cast<JButton*>(Element(slot))->bounds;
        InvalidateRect(window, reinterpret_cast<const RECT*>(&bounds), TRUE);
    }
    void InvalidateWindow() override { InvalidateRect(window, nullptr, TRUE); }

    bool BrowseForFolder(char* path, int capacity) override {
        char picked[MAX_PATH];
        LPITEMIDLIST item = SHBrowseForFolderA(&gState.browseInfo);
        if (!item)
            return false;
        bool found = SHGetPathFromIDListA(item, picked) != FALSE;
        ILFree(item);
        if (found)
            CopyText(path, capacity, picked);
        return found;
    }

    void ReplaceRegularFont(int height) override {
        if (gResources.regularFont)
            DeleteObject(gResources.regularFont);
        gResources.regularFont = CreateSkinFont(height, 0);
    }

    bool AskRetry(const char* fileName) override {
        char text[kPathChars + 200];
        CopyText(text, "Setup could not write\n\n");
        AppendText(text, gState.installPath);
        AppendText(text, fileName);
        AppendText(text,
                   "\n\nAn image editor that is running may be using it. Close it and choose Retry, "
                   "or choose Cancel to skip this file.");
        return MessageBoxA(window, text, "Trazel Kundor Setup", MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
    }

private:
    LRESULT SendList(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendDlgItemMessageA(window, kFolderList, message, wParam, lParam);
    }
    static JElement* Element(int slot) { return gState.elementSlots[slot]; }
};

DialogView view;

// Draws the prompt above the folder list; only while a paint is under way.
void DrawPromptText(const char* text, int y) {
    if (gContext.paintDC)
        TextOutA(gContext.paintDC, gState.textLeft, y, text, lstrlenA(text));
}

JRect At(int x, int y) {
    JRect r;
    MakeJRect(&r, x, y, 0, 0);
    return r;
}

void CreateElements(int width, int height) {
    JElement** slot = gState.elementSlots;
    const LayoutPoint anchor = gState.optionsAnchor;
    JRect origin;

    origin = At(width - 63, height - 21);
    slot[kCloseButton] = new JButton("", nullptr, &gContext, origin, 203, 203, kCommandClose, nullptr);
    origin = At(width - 125, height - 21);
    slot[kInstallButton] = new JButton("", nullptr, &gContext, origin, 219, 219, kCommandInstall, nullptr);
    origin = At(width - 65, height - 21);
    slot[kExitButton] = new JButton("", nullptr, &gContext, origin, 220, 220, kCommandClose, nullptr);
    Show(slot[kExitButton], 0);
    origin = At(anchor.x + 190, anchor.y - 2);
    slot[kIndicator32] = new JButton("Install 32-bit version", nullptr, &gContext, origin, 224, 224, 0, nullptr);
    Show(slot[kIndicator32], 0);
    origin = At(anchor.x + 220, anchor.y - 2);
    slot[kIndicator64] = new JButton("Install 64-bit version", nullptr, &gContext, origin, 225, 225, 0, nullptr);
    Show(slot[kIndicator64], 0);
    origin = At(gState.linkOrigin.x, gState.linkOrigin.y);
    slot[kWebLink] = new JAncor(kLinkHoverText, &gContext, origin, kLinkCaption, kCommandHelpPage);

    origin = At(0, 0);
    JButton* finished = new JButton("", nullptr, &gContext, origin, 213, 213, 1, nullptr);
    finished->directDraw = 1;
    finished->active = 0;
    finished->visible = 0;
    slot[kFinishedPicture] = finished;

    // The two tick boxes: label 20 pixels right of the box, level with its top.
    const uint32_t labelOffset = 0x80148000;
    JRect box = {anchor.x - 20, anchor.y - 20, anchor.x, anchor.y - 8};
    JSelector* plugin = new JSelector("Select to install Trazel Kundor Plug-in", box, &gContext, 128, labelOffset,
                                      "Trazel Kundor Plug-in", 0, -3, kCommandTickBox, 0, "TrazelKundor");
    plugin->value = 2;
    slot[kFirstSelector] = plugin;
    box = {anchor.x - 20, anchor.y, anchor.x, anchor.y + 12};
    JSelector* presets =
        new JSelector("Select to install additional presets", box, &gContext, 128, labelOffset,
                      "Additional presets: Portraits 01 - 12", 0, -3, kCommandTickBox, 0, "PresetsTrazels");
    presets->value = 2;
    slot[kFirstSelector + 1] = presets;
}

// Gives the client area the background's size and keeps the window's centre.
void SizeAndCentre(HWND window, int width, int height) {
    RECT r, c;
    GetWindowRect(window, &r);
    GetClientRect(window, &c);
    int frameWidth = (r.right - r.left) - c.right;
    int frameHeight = (r.bottom - r.top) - c.bottom;
    int x = (r.left + r.right - width - frameWidth) / 2;
    int y = (r.top + r.bottom - height - frameHeight) / 2;
    MoveWindow(window, x, y, width + frameWidth, height + frameHeight, TRUE);
}

void Initialise(HWND window) {
    view.window = window;
    gState.finished = 0;
    gContext.paintDC = GetDC(window);
    Attach(window, kBackgroundBitmap, kHandCursor, nullptr);
    gResources.hoverTextColor = 0xFFFFFF;

    const int width = gContext.background->width;
    const int height = gContext.background->height;
    const int listWidth = width - 2 * gState.listMargin - 3;
    gState.promptTop = height - 82;
    gContext.statusRect = {gState.textLeft, height - 19, gState.listMargin + listWidth - 130, height - 19 + 20};

    for (JElement*& slot : gState.elementSlots)
        slot = nullptr;
    CreateElements(width, height);

    BROWSEINFOA& browse = gState.browseInfo;
    browse = BROWSEINFOA();
    browse.hwndOwner = window;
    browse.pszDisplayName = gState.scratchPath;
    browse.lpszTitle = kBrowseTitle;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;

    DiscoverCandidates();
    FillFolderList(view);

    ReleaseDC(window, gContext.paintDC);
    gContext.paintDC = nullptr;
    MoveWindow(GetDlgItem(window, kFolderList), gState.listMargin, height - 60, listWidth, 10, TRUE);
    SizeAndCentre(window, width, height);
}

void Paint() {
    BeginSurfacePaint(gState.surface);
    PaintSurface(gState.surface);
    if (!gState.finished)
        DrawPromptText(kPrompt, gState.promptTop);
    EndSurfacePaint(gState.surface);
}

void OnElementCommand(HWND window, WPARAM command) {
    switch (command) {
        case kCommandInstall:
            SendMessageA(window, WM_COMMAND, IDOK, 0);
            break;
        case kCommandClose:
            SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
            break;
        case kCommandHelpPage:
            ShellExecuteA(window, "open", kHelpPage, nullptr, nullptr, SW_SHOWMAXIMIZED);
            break;
        case kCommandTickBox:
            UpdateInstallButton(view);
            break;
        default:  // kCommandHelpKey: nothing
            break;
    }
}

INT_PTR OnCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDOK:
            if (gState.finished) {
                EndDialog(window, 0);
                return 1;
            }
            RunInstall(view);
            return 0;
        case IDCANCEL:
            EndDialog(window, 0);
            return 1;
        case kFolderList: {
            const WORD notification = HIWORD(wParam);
            if (notification == CBN_SELCHANGE || notification == CBN_SELENDCANCEL)
                SendDlgItemMessageA(window, kFocusButton, BM_CLICK, 0, 0);
            if (notification == CBN_SELCHANGE)
                HandleFolderSelection(view);
            return 0;
        }
        default:
            return 0;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (DispatchMouse(gState.surface, window, LOWORD(message), wParam, lParam))
        return 0;
    switch (message) {
        case WM_INITDIALOG:
            Initialise(window);
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_HELP:
            SendMessageA(window, WM_JCOMMAND, kCommandHelpKey, 0);
            return 0;
        case WM_COMMAND:
            return OnCommand(window, wParam);
        case WM_JCOMMAND:
            OnElementCommand(window, wParam);
            return 0;
        default:
            return 0;
    }
}

}  // namespace

int RunMainWindow() {
    gState.surface = CreateSurface(new JSurface, &gContext, gState.instance);
    return static_cast<int>(DialogBoxParamA(gState.instance, "main", nullptr, MainDialogProc, 0));
}
