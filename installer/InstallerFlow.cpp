#include "installer/InstallerFlow.h"

#include "discovery/AppPathLookups.h"
#include "discovery/CandidateTable.h"
#include "discovery/VendorKeyCrawler.h"
#include "installer/InstallerState.h"
#include "payload/Extractor.h"

const char kBrowseEntry[] = "******** BROWSE ********";

namespace {

const char kVendorFolder[] = "Halvorne\\";

void Hide(InstallerView& view, int slot) {
    if (view.IsVisible(slot))
        view.Show(slot, false);
}

int SelectorSum(InstallerView& view) {
    int sum = 0;
    for (int slot = kFirstSelector; slot <= kLastSelector; ++slot) {
        if (view.HasElement(slot))
            sum += view.SelectorValue(slot);
    }
    return sum;
}

void ReadSelectedEntry(InstallerView& view) {
    view.EntryText(view.SelectedEntry(), gState.installPath, kPathChars);
}

// Offers each item that could not be installed again until it is installed
// or the user skips it. Returns true when nothing is missing.
bool RetryFailedItems(InstallerView& view) {
    const FailureRecord failed = gState.failures;
    const int stored = sizeof failed.items / sizeof failed.items[0];
    bool complete = failed.count <= stored;  // unstored failures cannot be retried
    for (int i = 0; i < failed.count && i < stored; ++i) {
        const FailedItem& item = failed.items[i];
        for (;;) {
            if (!view.AskRetry(item.fileName)) {
                complete = false;
                break;
            }
            gState.failures.count = 0;
            char name[sizeof item.resourceName];
            CopyText(name, item.resourceName);
            ExtractPayloadItem(gState.instance, MAKEINTRESOURCEA(item.type), name, item.type);
            if (gState.failures.count == 0)
                break;
        }
    }
    return complete;
}

}  // namespace

void DiscoverCandidates() {
    gState.use64BitView = 0;
    ScanVendorKeys("software", "halvorne", "", nullptr, nullptr);
    if (IsWow64()) {
        gState.use64BitView = 1;
        ScanVendorKeys("software", "adobe", "photoshop", nullptr, nullptr);
    }
    gState.use64BitView = 0;
    ScanVendorKeys("software", "adobe", "photoshop", nullptr, nullptr);
    ScanVendorKeys("software", "corel", "paint", nullptr, nullptr);
    ScanVendorKeys("software", "jasc", "paint", nullptr, nullptr);
    ScanVendorKeys("software", "xara", "xarax", nullptr, nullptr);
    char* scratch = gState.scratchPath;
    if (LookupAppFolder(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
                        "fireworks.exe", scratch)) {
        JoinPath(scratch, "plug-ins", nullptr);
        AddCandidateFolder(scratch, "appath");
    }
    if (LookupAppFolder(HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command", scratch)) {
        JoinPath(scratch, "plugin", nullptr);
        AddCandidateFolder(scratch, "shell");
    }
}

void FillFolderList(InstallerView& view) {
    int added = 0;
    for (const FolderCandidate& slot : gState.candidates.slots) {
        if (!slot.path[0])
            break;
        CopyText(gState.scratchPath, slot.path);
        if (slot.appendVendorFolder)
            AppendText(gState.scratchPath, kVendorFolder);
        view.AddEntry(gState.scratchPath);
        ++added;
    }
    view.AddEntry(kBrowseEntry);
    gState.browseIndex = added;
    gState.browsedEntryInserted = 0;
    view.SelectEntry(0);
    view.MoveFocusOffList();
    ReadSelectedEntry(view);
    ShowBitnessIndicators(view);
}

void HandleFolderSelection(InstallerView& view) {
    if (view.SelectedEntry() == gState.browseIndex + gState.browsedEntryInserted) {
        char* scratch = gState.scratchPath;
        bool picked = view.BrowseForFolder(scratch, kPathChars);
        if (picked) {
            EnsureTrailingBackslash(scratch, kPathChars);
            const int length = lstrlenA(scratch);
            picked = scratch[length - 1] == '\\' && SetCurrentDirectoryA(scratch);
        }
        if (!picked) {
            view.SelectEntry(0);
        } else {
            if (gState.browsedEntryInserted)
                view.DeleteEntry(gState.browseIndex);
            view.InsertEntry(gState.browseIndex, scratch);
            view.SelectEntry(gState.browseIndex);
            gState.browsedEntryInserted = 1;
        }
    }
    ReadSelectedEntry(view);
    ShowBitnessIndicators(view);
}

void ShowBitnessIndicators(InstallerView& view) {
    if (!IsWow64()) {
        view.Show(kIndicator32, true);
    } else if (ContainsText(gState.installPath, "(64")) {
        view.Show(kIndicator64, true);
        Hide(view, kIndicator32);
    } else if (ContainsText(gState.installPath, "86)")) {
        Hide(view, kIndicator64);
        view.Show(kIndicator32, true);
    } else {
        view.Show(kIndicator32, true);
        view.Show(kIndicator64, true);
    }
}

int PayloadTypesFor(int types[2]) {
    if (!IsWow64() || (ContainsText(gState.installPath, "86)") && !ContainsText(gState.installPath, "(64"))) {
        types[0] = 3000;
        return 1;
    }
    types[0] = 3001;
    if (ContainsText(gState.installPath, "(64"))
        return 1;
    types[1] = 3000;
    return 2;
}

void UpdateInstallButton(InstallerView& view) {
    if (SelectorSum(view) != 0) {
        if (!view.IsVisible(kInstallButton))
            view.Show(kInstallButton, true);
        return;
    }
    Hide(view, kInstallButton);
    view.InvalidateElement(kInstallButton);
}

void RunInstall(InstallerView& view) {
    if (!view.IsVisible(kInstallButton) || SelectorSum(view) == 0)
        return;
    ReadSelectedEntry(view);
    if (!SetCurrentDirectoryA(gState.installPath) && !CreateDirectoryA(gState.installPath, nullptr))
        return;
    // An install can run again after a failure: each run starts afresh.
    ResetInstallRecords();
    for (int slot = kFirstSelector; slot <= kLastSelector; ++slot) {
        if (view.HasElement(slot) && view.SelectorValue(slot) == 0)
            ExcludeComponent(view.SelectorName(slot));
    }
    int types[2];
    const int count = PayloadTypesFor(types);
    for (int i = 0; i < count; ++i)
        EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(types[i]), ExtractPayloadItem, types[i]);
    if (RetryFailedItems(view))
        EnterFinishedState(view);
}

void EnterFinishedState(InstallerView& view) {
    gState.finished = 1;
    for (int slot = 0; slot <= kLastSelector; ++slot) {
        if (view.HasElement(slot))
            view.SetFlags(slot, false, false);
    }
    view.SetFlags(kWebLink, true, true);
    view.SetFlags(kExitButton, true, true);
    view.SetFlags(kFinishedPicture, false, true);
    view.HideFolderList();
    view.ReplaceRegularFont(16);
    view.InvalidateWindow();
}
