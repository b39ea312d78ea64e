#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installer/InstallerState.h"
#include "payload/Extractor.h"
#include "tests/common/TestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::string>;

const char kPresetKey[] = "Software\\Halvorne\\TrazelKundor";
const char kVextralKey[] = "Software\\Halvorne\\Vextral";

class ExtractorTest : public ::testing::Test {
protected:
    void SetUp() override {
        gState.instance = GetModuleHandleA(nullptr);
        CopyText(gState.installPath, folder.path().c_str());
        ResetInstallRecords();
    }

    // Lets the system enumerate one payload type into the extractor.
    static void Install(int type) {
        EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(type), ExtractPayloadItem, type);
    }

    static Names FailedFiles() {
        Names names;
        for (int i = 0; i < gState.failures.count && i < 8; ++i)
            names.push_back(gState.failures.items[i].fileName);
        return names;
    }

    test::ScopedRegistryKey makerKey{HKEY_CURRENT_USER, "Software\\Halvorne"};
    test::TempFolder folder;
};

TEST_F(ExtractorTest, InstallsTheSharedItemsAndThePortraitPresets) {
    Install(3000);

    EXPECT_EQ(test::ListFolder(folder.path()), (Names{"Strokes.8tx", "TrazelKundor3.8bf"}));
    EXPECT_EQ(test::ReadFileBytes(folder / "Strokes.8tx"), test::ResourceBytes("STROKES.8TX", 3000));
    EXPECT_EQ(test::ReadFileBytes(folder / "TrazelKundor3.8bf"),
              test::ResourceBytes("TRAZEL__KUNDOR3.8BF", 3000));

    Names expected;
    for (int k = 1; k <= 12; ++k)
        expected.push_back((k < 10 ? "Portrait0" : "Portrait") + std::to_string(k));
    ASSERT_EQ(test::RegistryValueNames(HKEY_CURRENT_USER, kPresetKey), expected);

    const Bytes presets = test::ResourceBytes("PRESETS__TRAZELSBIN", 3000);
    ASSERT_EQ(presets.size(), 768u);
    for (int k = 1; k <= 12; ++k) {
        DWORD type = 0;
        Bytes value = test::GetRegistryValue(HKEY_CURRENT_USER, kPresetKey, expected[k - 1].c_str(), &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(value, Bytes(presets.begin() + (k - 1) * 64, presets.begin() + k * 64)) << expected[k - 1];
    }
    EXPECT_EQ(gState.failures.count, 0);
}

TEST_F(ExtractorTest, InstallsOnlyTheSixtyFourBitModuleForTypeThreeThousandOne) {
    Install(3001);

    EXPECT_EQ(test::ListFolder(folder.path()), (Names{"TrazelKundor(X64).8bf"}));
    EXPECT_EQ(test::ReadFileBytes(folder / "TrazelKundor(X64).8bf"),
              test::ResourceBytes("TRAZEL__KUNDOR(X64).8BF", 3001));
    EXPECT_TRUE(test::RegistryValueNames(HKEY_CURRENT_USER, kPresetKey).empty());
}

TEST_F(ExtractorTest, SkipsTheItemsOfExcludedComponents) {
    struct Case {
        const char* excluded;
        Names files;
        bool presets;
    };
    const Case cases[] = {
        {"TrazelKundor", {"Strokes.8tx"}, true},
        {"PresetsTrazels", {"Strokes.8tx", "TrazelKundor3.8bf"}, false},
        {"", {"Strokes.8tx", "TrazelKundor3.8bf"}, true},                // an empty name excludes nothing
        {"TRAZEL__KUNDOR", {"Strokes.8tx", "TrazelKundor3.8bf"}, true},  // only the file form matches
    };
    for (const Case& c : cases) {
        test::TempFolder target;
        test::ScopedRegistryKey presets{HKEY_CURRENT_USER, kPresetKey};
        CopyText(gState.installPath, target.path().c_str());
        ResetInstallRecords();
        ExcludeComponent(c.excluded);

        Install(3000);

        EXPECT_EQ(test::ListFolder(target.path()), c.files) << c.excluded;
        EXPECT_EQ(test::RegistryValueNames(HKEY_CURRENT_USER, kPresetKey).size(), c.presets ? 12u : 0u)
            << c.excluded;
    }
}

TEST_F(ExtractorTest, ExcludesByWholeComponentNameAnywhereInTheFileName) {
    ExcludeComponent("TrazelKundor");
    Install(3001);
    Install(3103);
    EXPECT_EQ(test::ListFolder(folder.path()), (Names{"Kundor.dat", "Trazel.8bf"}));
}

TEST_F(ExtractorTest, ExclusionListKeepsTwentyNamesAndDropsTheRest) {
    ExcludeComponent("");
    EXPECT_EQ(gState.exclusions.slots[0].path[0], '\0');
    for (int i = 0; i < 21; ++i)
        ExcludeComponent(("name" + std::to_string(i)).c_str());
    EXPECT_STREQ(gState.exclusions.slots[0].path, "name0");
    EXPECT_STREQ(gState.exclusions.slots[19].path, "name19");
    EXPECT_EQ(gState.exclusions.slots[19].appendVendorFolder, 1);
}

TEST_F(ExtractorTest, AnEmptyItemEndsTheEnumerationOfItsTypeAndIsRecorded) {
    Install(3100);
    Install(3001);  // another type still runs

    EXPECT_EQ(test::ListFolder(folder.path()), (Names{"A.dat", "TrazelKundor(X64).8bf"}));
    EXPECT_EQ(FailedFiles(), (Names{"B.dat"}));
    EXPECT_EQ(gState.failures.items[0].type, 3100);
    EXPECT_STREQ(gState.failures.items[0].resourceName, "B.DAT");
}

TEST_F(ExtractorTest, ReplacesAnExistingFile) {
    test::WriteFileBytes(folder / "Strokes.8tx", Bytes(100, 'x'));
    Install(3000);
    EXPECT_EQ(test::ReadFileBytes(folder / "Strokes.8tx"), test::ResourceBytes("STROKES.8TX", 3000));
    EXPECT_EQ(gState.failures.count, 0);
}

// A module that cannot be replaced (read-only, or held open by a running
// image editor) stays as it was: nothing truncated, no temporary file left,
// the failure recorded, and the following items still installed.
TEST_F(ExtractorTest, LeavesAFileThatCannotBeReplacedIntactAndRecordsIt) {
    const Bytes old(4096, 'o');
    const std::string module = folder / "TrazelKundor3.8bf";
    for (int held = 0; held < 2; ++held) {
        test::WriteFileBytes(module, old);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (held)
            holder = CreateFileA(module.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        else
            SetFileAttributesA(module.c_str(), FILE_ATTRIBUTE_READONLY);
        DeleteFileA((folder / "Strokes.8tx").c_str());
        ResetInstallRecords();

        Install(3000);

        if (held)
            CloseHandle(holder);
        SetFileAttributesA(module.c_str(), FILE_ATTRIBUTE_NORMAL);
        const char* how = held ? "held open" : "read-only";
        EXPECT_EQ(test::ReadFileBytes(module), old) << how;
        EXPECT_EQ(test::ListFolder(folder.path()), (Names{"Strokes.8tx", "TrazelKundor3.8bf"})) << how;
        EXPECT_EQ(FailedFiles(), (Names{"TrazelKundor3.8bf"})) << how;
        EXPECT_EQ(test::ReadFileBytes(folder / "Strokes.8tx"), test::ResourceBytes("STROKES.8TX", 3000));
    }
}

// The temporary file gets a name that is free: files that already carry the
// names it would try first are passed over and left as they were.
TEST_F(ExtractorTest, PassesOverFilesThatHoldTheTemporaryNames) {
    const unsigned now = GetTickCount();
    Names expected{"TrazelKundor(X64).8bf"};
    for (unsigned k = 0; k < 300; ++k) {
        char name[16];
        wsprintfA(name, "tk%04x.tmp", (now + k) & 0xFFFF);
        test::WriteFileBytes(folder / name, Bytes{'k'});
        expected.push_back(name);
    }
    Install(3001);
    EXPECT_EQ(gState.failures.count, 0);
    EXPECT_EQ(test::ReadFileBytes(folder / "TrazelKundor(X64).8bf"),
              test::ResourceBytes("TRAZEL__KUNDOR(X64).8BF", 3001));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::ListFolder(folder.path()), expected);
    for (size_t i = 1; i < expected.size(); ++i)
        EXPECT_EQ(test::ReadFileBytes(folder / expected[i]), Bytes{'k'}) << expected[i];
}

TEST_F(ExtractorTest, RecordsAFolderThatCannotBeWritten) {
    CopyText(gState.installPath, (folder / "missing\\").c_str());
    Install(3001);
    EXPECT_EQ(FailedFiles(), (Names{"TrazelKundor(X64).8bf"}));
    EXPECT_TRUE(test::ListFolder(folder.path()).empty());
}

// A folder too long for a temporary file name beside the target: the item
// is recorded as not installed and nothing is left in the folder (the system
// would otherwise write the temporary name past its buffer).
TEST_F(ExtractorTest, RecordsAFolderTooLongForItsTemporaryFile) {
    // 247 characters with the backslash: one more than the system allows,
    // one less than CreateDirectoryA allows.
    std::string deep = folder.path();
    while (deep.size() < MAX_PATH - 14) {
        size_t part = std::min<size_t>(40, MAX_PATH - 14 - deep.size());
        deep += std::string(part, 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    ASSERT_EQ(deep.size(), size_t(MAX_PATH - 13));
    CopyText(gState.installPath, deep.c_str());
    Install(3001);
    EXPECT_EQ(FailedFiles(), (Names{"TrazelKundor(X64).8bf"}));
    EXPECT_TRUE(test::ListFolder(deep).empty());
}

TEST_F(ExtractorTest, AppendsTheFileNameToTheInstallPathAsItStands) {
    test::TempFolder parent;
    CopyText(gState.installPath, (parent / "Plug-ins").c_str());
    Install(3001);
    EXPECT_EQ(test::ListFolder(parent.path()), (Names{"Plug-insTrazelKundor(X64).8bf"}));
}

TEST_F(ExtractorTest, StoresTheVextralBouquetSetUnderItsOwnKey) {
    Install(3101);
    const Bytes set = test::ResourceBytes("PRESETS__BOUQUETSBIN", 3101);
    Names names = test::RegistryValueNames(HKEY_CURRENT_USER, kVextralKey);
    ASSERT_EQ(names.size(), 16u);
    EXPECT_EQ(names.front(), "Bouquet01");
    EXPECT_EQ(names.back(), "Bouquet16");
    EXPECT_EQ(test::GetRegistryValue(HKEY_CURRENT_USER, kVextralKey, "Bouquet07"),
              Bytes(set.begin() + 6 * 128, set.begin() + 7 * 128));
    EXPECT_TRUE(test::ListFolder(folder.path()).empty());
}

TEST_F(ExtractorTest, StoresTheWholeRecordsOfAShortPresetItemAndRecordsTheRest) {
    Install(3102);
    EXPECT_EQ(test::RegistryValueNames(HKEY_CURRENT_USER, kPresetKey), (Names{"Portrait01"}));
    EXPECT_EQ(FailedFiles(), (Names{"PresetsTrazelsbin"}));
}

TEST(WritePresetValue, CreatesTheKeyAndReplacesAValueOfTheSameName) {
    test::ScopedRegistryKey key{HKEY_CURRENT_USER, "Software\\Halvorne"};
    const unsigned char first[3] = {1, 2, 3};
    const unsigned char second[2] = {9, 8};
    EXPECT_EQ(WritePresetValue("Software\\Halvorne\\Deep\\Key", "V", first, 3), ERROR_SUCCESS);
    EXPECT_EQ(WritePresetValue("Software\\Halvorne\\Deep\\Key", "V", second, 2), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(test::GetRegistryValue(HKEY_CURRENT_USER, "Software\\Halvorne\\Deep\\Key", "V", &type),
              Bytes({9, 8}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
}

}  // namespace
