#include "discovery/AppPathLookups.h"

#include <string.h>

#include "tests/discovery/DiscoveryFixture.h"

namespace {

using test::SetRegistryString;

class AppPaths : public test::DiscoveryTest {};

TEST_F(AppPaths, LookupAppFolderFindsTheProgramsFolder) {
    const char appPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
    SetRegistryString(HKEY_LOCAL_MACHINE, std::string(appPaths) + "\\fireworks.exe", "",
                      "D:\\Web Apps\\Studio 8\\Fireworks.exe", KEY_WOW64_64KEY);
    SetRegistryString(HKEY_CLASSES_ROOT, "PI3.Image\\shell\\open\\command", "",
                      "\"C:\\Program Files\\Imaging Suite 9\\imgedit.exe\" \"%1\"");
    char folder[kPathChars] = "";
    EXPECT_STREQ(LookupAppFolder(HKEY_LOCAL_MACHINE, appPaths, "fireworks.exe", folder), "D:\\Web Apps\\Studio 8\\");
    EXPECT_STREQ(JoinPath(folder, "plug-ins", nullptr), "D:\\Web Apps\\Studio 8\\plug-ins");
    EXPECT_STREQ(LookupAppFolder(HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command", folder),
                 "C:\\Program Files\\Imaging Suite 9\\");

    SetRegistryString(HKEY_CLASSES_ROOT, "PI3.Image\\shell\\open\\command", "", "%ProgramFiles%\\x.exe");
    strcpy(folder, "unchanged");
    EXPECT_EQ(LookupAppFolder(HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command", folder), nullptr);
    EXPECT_EQ(LookupAppFolder(HKEY_CLASSES_ROOT, "PI3.Image", "missing", folder), nullptr);
    EXPECT_STREQ(folder, "unchanged");
}

TEST(TextRoutines, CleanAndJoin) {
    const char* skip[][2] = {{"\"C:\\x", "C:\\x"}, {"C:\\x", "C:\\x"}, {"  12", ""}, {"", ""}, {"\xE9t\xE9", "\xE9t\xE9"}};
    for (auto& c : skip) {
        char text[kPathChars];
        strcpy(text, c[0]);
        EXPECT_STREQ(SkipLeadingNonLetters(text), c[1]);
    }
    char longText[kPathChars];
    memset(longText, 'a', sizeof longText - 1);
    longText[0] = '"';
    longText[kPathChars - 1] = '\0';
    EXPECT_EQ(strlen(SkipLeadingNonLetters(longText)), 389u);  // capped at 390, then the quote dropped

    const char* cut[][2] = {{"C:\\a\\b.exe", "C:\\a\\"}, {"\\ab", "\\ab"}, {"ab\\", "ab\\"}, {"a\\", "a\\"}};
    for (auto& c : cut) {
        char text[kPathChars];
        strcpy(text, c[0]);
        EXPECT_STREQ(CutAfterLastChar(text, '\\'), c[1]);
    }
    char target[kPathChars] = "";
    EXPECT_STREQ(JoinPath(target, "plugin", "C:\\Apps\\"), "C:\\Apps\\plugin");
    EXPECT_STREQ(JoinPath(target, "x", "C:\\Apps"), "C:\\Apps\\x");
}

}  // namespace
