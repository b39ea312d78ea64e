#include "installer/InstallerFlow.h"

#include "discovery/CandidateTable.h"
#include "payload/Extractor.h"
#include "tests/discovery/DiscoveryFixture.h"
#include "tests/discovery/FakeView.h"

namespace {

using Log = std::vector<std::string>;
using Names = std::vector<std::string>;
using test::SetRegistryString;

class Flow : public test::DiscoveryTest {
protected:
    void SetUp() override {
        DiscoveryTest::SetUp();
        gState.instance = GetModuleHandleA(nullptr);
        gState.finished = 0;
    }
    std::string Make(const std::string& below) {
        std::string path = folder / below;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    void SetCandidates(const Names& paths) {
        ResetSlots(gState.candidates.slots);
        for (size_t i = 0; i < paths.size(); ++i)
            CopyText(gState.candidates.slots[i].path, paths[i].c_str());
    }
    // Lists one folder (the temporary one) with the given name below it.
    void ListFolder(const std::string& below) {
        SetCandidates({});
        view.entries = {folder.path() + below, kBrowseEntry};
        gState.browseIndex = 1;
        gState.browsedEntryInserted = 0;
        view.selected = 0;
    }

    test::FakeView view;
    test::ScopedRegistryKey presets{HKEY_CURRENT_USER, "Software\\Halvorne\\TrazelKundor"};
};

TEST_F(Flow, DiscoversFoldersInItsFixedOrder) {
    const char* names[] = {"Maker", "Ps64", "Ps32", "Corel", "Jasc", "Xara", "Fireworks", "Editor"};
    for (const char* name : names)
        Make(name);
    Make("Fireworks\\plug-ins");
    Make("Editor\\plugin");
    // Seeded in reverse, so that the order found is not the order written.
    SetRegistryString(HKEY_CLASSES_ROOT, "PI3.Image\\shell\\open\\command", "", "\"" + folder / "Editor\\ed.exe\" \"%1\"");
    SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe", "",
                      folder / "Fireworks\\fw.exe", KEY_WOW64_64KEY);
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Xara\\XaraX", "PluginDir", folder / "Xara");
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Jasc\\Paint Shop Pro", "PluginDir", folder / "Jasc", KEY_WOW64_32KEY);
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Corel\\Paint", "PluginDir", folder / "Corel");
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop", "PluginPath", folder / "Ps32", KEY_WOW64_32KEY);
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop", "PluginPath", folder / "Ps64", KEY_WOW64_64KEY);
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Halvorne\\Settings", "PluginFolder", folder / "Ps32", KEY_WOW64_32KEY);
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Halvorne\\Settings", "PluginFolder", folder / "Maker");

    char base[kPathChars];
    CopyText(base, folder.path().c_str());
    TitleCasePath(base);
    Names expected;
    for (const char* name : {"Maker", "Ps32", "Ps64", "Corel", "Jasc", "Xara", "Fireworks\\Plug-Ins", "Editor\\Plugin"})
        expected.push_back(base + std::string(name) + "\\");

    DiscoverCandidates();
    // The maker's keys (which also name Ps32), the 64-bit Photoshop scan, then the rest.
    EXPECT_EQ(Table(), expected);
    EXPECT_EQ(gState.candidates.slots[2].foundIn64BitView, 1);
    EXPECT_EQ(gState.use64BitView, 0);

    // On 32-bit Windows there is no 64-bit scan.
    ResetSlots(gState.candidates.slots);
    os::SimulateWindows(os::SimulatedWindows::Windows32);
    DiscoverCandidates();
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(Table(), expected);
}

TEST_F(Flow, FillsTheListWithTheMakersFolderAndBrowse) {
    SetCandidates({"C:\\A\\", "D:\\Photo (64 Bit)\\"});
    gState.candidates.slots[1].appendVendorFolder = 0;
    FillFolderList(view);
    EXPECT_EQ(view.TakeLog(), (Log{"add C:\\A\\Halvorne\\", "add D:\\Photo (64 Bit)\\", "add " + std::string(kBrowseEntry),
                                   "select 0", "focus", "show 5", "show 6"}));
    EXPECT_EQ(gState.browseIndex, 2);
    EXPECT_STREQ(gState.installPath, "C:\\A\\Halvorne\\");
}

TEST_F(Flow, WithNoCandidateBrowseIsTheOnlyEntry) {
    for (auto windows : {os::SimulatedWindows::Windows64, os::SimulatedWindows::Windows32}) {
        os::SimulateWindows(windows);
        test::FakeView fresh;
        SetCandidates({});
        FillFolderList(fresh);
        EXPECT_EQ(fresh.entries, (Names{kBrowseEntry}));
        EXPECT_EQ(fresh.selected, 0);
        EXPECT_EQ(gState.browseIndex, 0);
        EXPECT_EQ(fresh.elements[kIndicator64].visible, windows == os::SimulatedWindows::Windows64);
        EXPECT_TRUE(fresh.elements[kIndicator32].visible);
    }
}

TEST_F(Flow, BitnessRulesChooseIndicatorsAndPayloadTypes) {
    struct Case {
        os::SimulatedWindows windows;
        const char* path;
        Log effects;  // starting with both indicators visible
        std::vector<int> types;
    };
    const auto w64 = os::SimulatedWindows::Windows64, w32 = os::SimulatedWindows::Windows32;
    const Case cases[] = {
        {w64, "C:\\Plug (64 Bit)\\", {"show 6", "hide 5"}, {3001}},
        {w64, "C:\\Program Files (x86)\\", {"hide 6", "show 5"}, {3000}},
        {w64, "C:\\A (64\\B 86)\\", {"show 6", "hide 5"}, {3001}},
        {w64, "C:\\Plain\\", {"show 5", "show 6"}, {3001, 3000}},
        {w32, "C:\\Plug (64 Bit)\\", {"show 5"}, {3000}},
        {w32, "C:\\Plain\\", {"show 5"}, {3000}},
    };
    for (const Case& c : cases) {
        os::SimulateWindows(c.windows);
        CopyText(gState.installPath, c.path);
        view.elements[kIndicator32].visible = view.elements[kIndicator64].visible = true;
        view.TakeLog();
        ShowBitnessIndicators(view);
        EXPECT_EQ(view.TakeLog(), c.effects) << c.path;
        int types[2];
        int count = PayloadTypesFor(types);
        EXPECT_EQ(std::vector<int>(types, types + count), c.types) << c.path;
    }
    // An indicator is hidden only when it is visible.
    os::SimulateWindows(w64);
    CopyText(gState.installPath, "C:\\Plug (64 Bit)\\");
    view.elements[kIndicator32].visible = false;
    ShowBitnessIndicators(view);
    EXPECT_EQ(view.TakeLog(), (Log{"show 6"}));
}

TEST_F(Flow, BrowsingAddsOneFolderBeforeBrowse) {
    const std::string first = Make("First"), second = Make("Second");
    SetCandidates({"C:\\A\\"});
    FillFolderList(view);
    view.TakeLog();
    const std::string browse = kBrowseEntry;

    view.browseAnswers = {""};  // cancelled
    view.selected = 1;
    HandleFolderSelection(view);
    EXPECT_EQ(view.TakeLog(), (Log{"browse", "select 0", "show 5", "show 6"}));

    view.browseAnswers = {folder / "Missing"};  // cannot be entered
    view.selected = 1;
    HandleFolderSelection(view);
    EXPECT_EQ(view.TakeLog(), (Log{"browse", "select 0", "show 5", "show 6"}));

    view.browseAnswers = {first};
    view.selected = 1;
    HandleFolderSelection(view);
    EXPECT_EQ(view.TakeLog(), (Log{"browse", "insert 1 " + first + "\\", "select 1", "show 5", "show 6"}));
    EXPECT_STREQ(gState.installPath, (first + "\\").c_str());

    view.browseAnswers = {second + "\\"};
    view.selected = 2;
    HandleFolderSelection(view);
    EXPECT_EQ(view.entries, (Names{"C:\\A\\Halvorne\\", second + "\\", browse}));
    EXPECT_EQ(view.selected, 1);

    view.selected = 0;  // an ordinary entry
    HandleFolderSelection(view);
    EXPECT_EQ(view.TakeLog().front(), "browse");  // from the second browse above
    EXPECT_STREQ(gState.installPath, "C:\\A\\Halvorne\\");
}

TEST_F(Flow, InstallButtonFollowsTheTickBoxes) {
    view.elements[kFirstSelector].value = 0;
    UpdateInstallButton(view);
    EXPECT_EQ(view.TakeLog(), Log{});
    view.elements[kFirstSelector + 1].value = 0;
    UpdateInstallButton(view);
    EXPECT_EQ(view.TakeLog(), (Log{"hide 1", "invalidate 1"}));
    UpdateInstallButton(view);
    EXPECT_EQ(view.TakeLog(), (Log{"invalidate 1"}));
    RunInstall(view);  // the hidden button installs nothing
    EXPECT_EQ(view.TakeLog(), Log{});
    view.elements[kFirstSelector + 1].value = 2;
    UpdateInstallButton(view);
    EXPECT_EQ(view.TakeLog(), (Log{"show 1"}));
}

const Log kFinishedEffects = {"flags 0", "flags 1", "flags 2", "flags 3", "flags 4", "flags 5", "flags 6",
                              "flags 7", "flags 8", "flags 3 active visible", "flags 2 active visible",
                              "flags 4 visible", "hide list", "font 16", "invalidate window"};

TEST_F(Flow, InstallsWhatTheFolderAndTheTickBoxesCallFor) {
    struct Case {
        const char* below;
        int pluginValue, presetsValue;
        Names files;
        size_t presets;
    };
    const Case cases[] = {
        {"Plain\\", 2, 2, {"Strokes.8tx", "TrazelKundor(X64).8bf", "TrazelKundor3.8bf"}, 12},
        {"Photo (64 Bit)\\", 2, 2, {"TrazelKundor(X64).8bf"}, 0},
        {"Photo (64 Bit)\\", 0, 2, {}, 0},
        {"Photo (x86)\\", 2, 0, {"Strokes.8tx", "TrazelKundor3.8bf"}, 0},
        {"New\\", 0, 2, {"Strokes.8tx"}, 12},  // a missing folder is made
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.below);
        test::ScopedRegistryKey clear{HKEY_CURRENT_USER, "Software\\Halvorne\\TrazelKundor"};
        test::FakeView fresh;
        std::string target = folder / c.below;
        if (std::string(c.below) != "New\\")
            CreateDirectoryA(target.c_str(), nullptr);
        fresh.entries = {target, kBrowseEntry};
        fresh.selected = 0;
        fresh.elements[kFirstSelector].value = c.pluginValue;
        fresh.elements[kFirstSelector + 1].value = c.presetsValue;
        gState.finished = 0;

        RunInstall(fresh);

        EXPECT_EQ(test::ListFolder(target), c.files);
        EXPECT_EQ(test::RegistryValueNames(HKEY_CURRENT_USER, "Software\\Halvorne\\TrazelKundor").size(), c.presets);
        EXPECT_EQ(fresh.TakeLog(), kFinishedEffects);
        EXPECT_EQ(gState.finished, 1);
        test::RemoveTree(target);
    }
}

TEST_F(Flow, AFolderThatCannotBeMadeChangesNothing) {
    view.entries = {folder / "Missing\\Deeper\\", kBrowseEntry};
    view.selected = 0;
    RunInstall(view);
    view.entries = {kBrowseEntry};
    RunInstall(view);
    EXPECT_EQ(view.TakeLog(), Log{});
    EXPECT_EQ(gState.finished, 0);
}

// A module held open by a running image editor: the user is asked; Cancel
// leaves the window choosing and the old module intact, Retry after the
// editor let go installs it and finishes.
TEST_F(Flow, AnItemThatCannotBeWrittenIsOfferedAgain) {
    ListFolder("");
    const std::string module = folder / "TrazelKundor(X64).8bf";
    test::WriteFileBytes(module, {'o', 'l', 'd'});
    HANDLE editor = CreateFileA(module.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    view.retryAnswers = {true, false};  // Retry while still held, then Cancel
    RunInstall(view);
    EXPECT_EQ(view.TakeLog(), (Log{"ask TrazelKundor(X64).8bf", "ask TrazelKundor(X64).8bf"}));
    EXPECT_EQ(gState.finished, 0);
    EXPECT_TRUE(test::FileExists(folder / "TrazelKundor3.8bf"));  // the other items went on
    CloseHandle(editor);
    EXPECT_EQ(test::ReadFileBytes(module), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(test::ListFolder(folder.path()),
              (Names{"Strokes.8tx", "TrazelKundor(X64).8bf", "TrazelKundor3.8bf"}));  // no temporary file

    editor = CreateFileA(module.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    RunInstall(view);  // the install runs again, from a clean record
    EXPECT_EQ(view.TakeLog(), (Log{"ask TrazelKundor(X64).8bf"}));

    // The user closes the editor while the question is open, then retries.
    view.retryAnswers = {true};
    view.onAsk = [&] { CloseHandle(editor); };
    RunInstall(view);
    EXPECT_EQ(test::ReadFileBytes(module), test::ResourceBytes("TRAZEL__KUNDOR(X64).8BF", 3001));
    Log expected = {"ask TrazelKundor(X64).8bf"};
    expected.insert(expected.end(), kFinishedEffects.begin(), kFinishedEffects.end());
    EXPECT_EQ(view.TakeLog(), expected);
}

}  // namespace
