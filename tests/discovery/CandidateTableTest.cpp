#include "discovery/CandidateTable.h"

#include <string.h>

#include "tests/discovery/DiscoveryFixture.h"

namespace {

using Names = std::vector<std::string>;

class CandidateTable : public test::DiscoveryTest {
protected:
    void Add(const std::string& path, const char* tag = "tag") {
        char buffer[kPathChars];
        CopyText(buffer, path.c_str());
        AddCandidateFolder(buffer, tag);
    }
    // The temporary folder's path as the table stores it.
    std::string Canonical(const std::string& below = "") {
        char path[kPathChars];
        CopyText(path, (folder.path() + below).c_str());
        return TitleCasePath(path);
    }
    std::string Make(const std::string& below) {
        std::string path = folder / below;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
};

TEST(TitleCasePath, CapitalisesAfterEveryNonLetter) {
    const char* cases[][2] = {
        {"c:\\program files (x86)\\photo tools\\3d filters\\plug-ins\\",
         "C:\\Program Files (X86)\\Photo Tools\\3D Filters\\Plug-Ins\\"},
        {"D:\\FILTERS\\", "D:\\Filters\\"},
        {"e:\\caf\xE9s\\x", "E:\\Caf\xE9s\\X"},
        {"", ""},
    };
    for (auto& c : cases) {
        char path[64];
        strcpy(path, c[0]);
        EXPECT_STREQ(TitleCasePath(path), c[1]);
    }
}

TEST_F(CandidateTable, TrimKeepsTheExistingFolderOrOneRightNextToIt) {
    Make("Filters");
    Make("Filters\\Plug");
    const std::string base = folder.path();
    const std::string cases[][2] = {
        {base + "Filters", base + "Filters"},
        {base + "Filters\\", base + "Filters"},
        {base + "Filters\\Plug-ins", base + "Filters\\Plug"},  // a shorter name that exists wins
        {base + "Filters\\Missing", base + "Filters\\"},      // then the parent
        {base + "Filters\\\"", base + "Filters\\"},           // a closing quote goes
    };
    for (auto& c : cases) {
        char path[kPathChars];
        CopyText(path, c[0].c_str());
        EXPECT_TRUE(TrimToExistingFolder(path)) << c[0];
        EXPECT_EQ(std::string(path), c[1]);
    }
    const std::string failing[] = {"C:\\", "C:", "X:\\Missing", base + "Missing\\Deeper"};
    for (const std::string& fails : failing) {
        char path[kPathChars];
        CopyText(path, fails.c_str());
        EXPECT_FALSE(TrimToExistingFolder(path)) << fails;
    }
}

TEST_F(CandidateTable, StoresCanonicalFoldersOnceEach) {
    Make("Filters");
    Make("Shalvey");
    Make("Shalvey\\Halvorne");
    Make("Tools");
    Make("Tools\\Halvorne");
    Make("Tools\\Halvorne\\Trazel");
    std::string lower = folder.path();
    CharLowerA(&lower[0]);
    Add(lower + "FILTERS");
    Add(folder / "Filters\\");
    Add(folder / "Shalvey\\Halvorne");
    Add(folder / "Tools\\Halvorne\\Trazel\\");
    Add(folder / "Tools\\halvorne");
    Add("C:\\");
    Add("X:\\Missing");
    EXPECT_EQ(Table(), (Names{Canonical("Filters\\"), Canonical("Shalvey\\Halvorne\\"), Canonical("Tools\\")}));
}

// Registry values name folders in spellings the system accepts: a blank it
// drops at the end, doubled or forward slashes, "." and ".." parts. The table
// keeps the folder under its full name, or the list would name a folder that
// does not exist ("Filters \Halvorne\"), or one folder twice. A path relative
// to a drive's current folder names none (HostileSweepTest, seeds 1, 2, 3, 44
// and 69).
TEST_F(CandidateTable, StoresTheFullNameOfTheFolderTheSystemEnters) {
    Make("Filters");
    Make("Filters\\Plug");
    std::string slashes = folder / "Filters/Plug/";
    for (char& c : slashes)
        c = c == '\\' ? '/' : c;
    const std::string cases[][2] = {
        {folder / "Filters ", "Filters\\"},
        {folder / "Filters\\Plug\\ ", "Filters\\Plug\\"},
        {folder / "Filters\\\\Plug", "Filters\\Plug\\"},
        {folder / "Filters\\.\\Plug", "Filters\\Plug\\"},
        {folder / "Filters\\Plug\\..\\Plug\\Missing", "Filters\\Plug\\"},
        {slashes, "Filters\\Plug\\"},
    };
    for (auto& c : cases) {
        ResetSlots(gState.candidates.slots);
        Add(c[0]);
        EXPECT_EQ(Table(), (Names{Canonical(c[1])})) << c[0];
    }
    ResetSlots(gState.candidates.slots);
    SetCurrentDirectoryA((folder / "Filters\\Plug").c_str());
    Add("C:..");
    Add("C:.\\Missing");
    Add("C:..\\Plug");
    EXPECT_TRUE(Table().empty());
}

TEST_F(CandidateTable, KeepsTwentyFoldersAndStillTracesTheRest) {
    CreateTrace();
    for (int i = 0; i < 22; ++i)
        Add(Make("F" + std::to_string(100 + i)));
    ASSERT_EQ(Table().size(), 20u);
    EXPECT_EQ(Table().back(), Canonical("F119\\"));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("F121\r\n"), std::string::npos);
    EXPECT_EQ(trace.find("Wow64"), trace.rfind("Wow64"));  // one header a run
}

// The worked example: the trace gets the header and the folder as found, the
// table the folder above the maker's own one.
TEST_F(CandidateTable, TracesTheFolderAsFoundAndStoresItCanonical) {
    Make("Art Kit");
    Make("Art Kit\\Halvorne");
    CreateTrace();
    const std::string found = folder / "ART KIT\\Halvorne\\Old Filters";
    const char tag[] = "HKEY_LOCAL_MACHINE  software\\halvorne\\settings  pluginfolder  ";
    Add(found, tag);
    EXPECT_EQ(Trace(), "\r\n\r\nWow64\r\nx32 " + std::string(tag) + "  " + folder.path() + "ART KIT\\Halvorne\\\r\n");
    EXPECT_EQ(Table(), (Names{Canonical("Art Kit\\")}));
    EXPECT_EQ(gState.candidates.slots[0].foundIn64BitView, 0);
    EXPECT_EQ(gState.candidates.slots[0].appendVendorFolder, 1);
}

TEST_F(CandidateTable, TraceHeaderAndViewFollowTheWindowsAndTheScan) {
    Make("A");
    CreateTrace();
    os::SimulateWindows(os::SimulatedWindows::Windows32NoIsWow64);
    gState.use64BitView = 1;
    Add(folder / "A", "t");
    EXPECT_EQ(Trace(), "\r\n\r\nx(86)\r\nx64 t  " + folder.path() + "A\r\n");
    EXPECT_EQ(gState.candidates.slots[0].foundIn64BitView, 1);
}

TEST_F(CandidateTable, WithoutTheTraceFileNothingIsCreated) {
    Add(Make("A"));
    Add("X:\\Missing");
    EXPECT_FALSE(test::FileExists("c:\\inst581.txt"));
    EXPECT_EQ(Table().size(), 1u);
}

}  // namespace
