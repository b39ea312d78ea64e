#include "discovery/RegistryReaders.h"

#include <string.h>

#include "tests/discovery/DiscoveryFixture.h"

namespace {

using test::SetRegistryString;
using test::SetRegistryValue;
const char kKey[] = "Software\\Halvorne\\Readers";

class RegistryReaders : public test::DiscoveryTest {};

// Windows reads 256 unterminated bytes into a 256-byte buffer; Wine asks for
// room for a terminator (ERROR_MORE_DATA). Either is safe.
constexpr LONG kEither = -1;

TEST_F(RegistryReaders, ReadRegStringReadsStringsAndBlanksOtherTypes) {
    SetRegistryString(HKEY_CURRENT_USER, kKey, "", "C:\\Tools");
    SetRegistryValue(HKEY_CURRENT_USER, kKey, "Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    char text[400] = "unchanged";
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kKey, "", text, sizeof text), 0);
    EXPECT_STREQ(text, "C:\\Tools");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kKey, "Expand", text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    strcpy(text, "unchanged");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, "Software\\Halvorne\\Missing", "", text, sizeof text),
              ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(text, "unchanged");
}

TEST_F(RegistryReaders, EnumRegValueWalksAKeyAndResetsItsCursorAtTheEnd) {
    const DWORD number = 7;
    SetRegistryString(HKEY_CURRENT_USER, kKey, "A", "first");
    SetRegistryValue(HKEY_CURRENT_USER, kKey, "B", REG_DWORD, &number, sizeof number);
    SetRegistryString(HKEY_CURRENT_USER, kKey, "C", "third");
    char name[400], data[400];
    const char* expected[][2] = {{"A", "first"}, {"B", ""}, {"C", "third"}};
    for (auto& value : expected) {
        ASSERT_EQ(EnumRegValue(HKEY_CURRENT_USER, kKey, name, data), 0);
        EXPECT_STREQ(name, value[0]);
        EXPECT_STREQ(data, value[1]);
    }
    EXPECT_EQ(EnumRegValue(HKEY_CURRENT_USER, kKey, name, data), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(gValueCursor, 0u);
    EXPECT_EQ(EnumRegValue(HKEY_CURRENT_USER, "Software\\Halvorne\\Missing", name, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gValueCursor, 0u);
}

TEST_F(RegistryReaders, AValueTooLongEndsTheWalkOverItsKey) {
    SetRegistryString(HKEY_CURRENT_USER, kKey, "A", "first");
    SetRegistryString(HKEY_CURRENT_USER, kKey, "B", std::string(299, 'x'));
    SetRegistryString(HKEY_CURRENT_USER, kKey, "C", "third");
    char name[400], data[400];
    EXPECT_EQ(EnumRegValue(HKEY_CURRENT_USER, kKey, name, data), 0);
    EXPECT_EQ(EnumRegValue(HKEY_CURRENT_USER, kKey, name, data), ERROR_MORE_DATA);
    EXPECT_EQ(gValueCursor, 0u);
}

// Registry text is input nobody controls: a string may lack its terminator
// or fill the whole read. The readers always end it inside the buffer and
// never write past kRegDataBytes + 1 (data) or kRegNameChars (names).
TEST_F(RegistryReaders, TextIsAlwaysTerminatedInsideTheBuffer) {
    struct Case {
        size_t bytes;
        bool terminated;
        LONG status;
        size_t length;
    };
    const Case cases[] = {
        {255, true, 0, 254}, {255, false, 0, 255}, {256, true, 0, 255},
        {256, false, kEither, 256}, {257, false, ERROR_MORE_DATA, 0}, {300, true, ERROR_MORE_DATA, 0},
    };
    const std::string name255(255, 'n');
    for (const Case& c : cases) {
        // Bytes above 0x7F, and one more behind the data: Wine would store a
        // terminator for a string whose next byte is zero.
        std::string text(c.bytes + 1, '\xE9');
        if (c.terminated)
            text[c.bytes - 1] = '\0';
        SCOPED_TRACE(testing::Message() << c.bytes << (c.terminated ? " terminated" : " unterminated"));
        SetRegistryValue(HKEY_CURRENT_USER, kKey, name255.c_str(), REG_SZ, text.data(), DWORD(c.bytes));

        struct Guarded {
            char name[kRegNameChars];
            char data[kRegDataBytes + 1];
            char guard[16];
        } buffers;
        memset(&buffers, '#', sizeof buffers);
        LONG status = EnumRegValue(HKEY_CURRENT_USER, kKey, buffers.name, buffers.data);
        if (c.status != kEither) {
            EXPECT_EQ(status, c.status);
        }
        if (status == 0) {
            EXPECT_EQ(strlen(buffers.data), c.length);
            EXPECT_EQ(std::string(buffers.name), name255);
            EnumRegValue(HKEY_CURRENT_USER, kKey, buffers.name, buffers.data);  // the end of the walk
        }
        EXPECT_EQ(std::string(buffers.guard, 16), std::string(16, '#'));

        char out[kRegDataBytes + 1 + 16];
        memset(out, '#', sizeof out);
        status = ReadRegString(HKEY_CURRENT_USER, kKey, name255.c_str(), out, kRegDataBytes + 1);
        if (c.status != kEither) {
            EXPECT_EQ(status, c.status);
        }
        if (status == 0) {
            EXPECT_EQ(strlen(out), c.length);
        }
        EXPECT_EQ(std::string(out + kRegDataBytes + 1, 16), std::string(16, '#'));
        test::ScopedRegistryKey clear{HKEY_CURRENT_USER, kKey};
    }
}

// A value of another type whose name is too long for its buffer: Wine hands
// over the raw bytes all the same, with ERROR_MORE_DATA (HostileSweepTest,
// seed 31). The reader leaves no unterminated text behind.
TEST_F(RegistryReaders, AFailedValueReadLeavesBothTextsEmpty) {
    SetRegistryValue(HKEY_CURRENT_USER, kKey, std::string(300, 'n').c_str(), REG_BINARY, "binary", 6);
    char name[kRegNameChars], data[kRegDataBytes + 1];
    memset(name, '#', sizeof name);
    memset(data, '#', sizeof data);
    EXPECT_EQ(EnumRegValue(HKEY_CURRENT_USER, kKey, name, data), ERROR_MORE_DATA);
    EXPECT_EQ(name[0], '\0');
    EXPECT_EQ(data[0], '\0');
}

TEST_F(RegistryReaders, EnumRegSubkeyReadsNamesByIndex) {
    SetRegistryString(HKEY_CURRENT_USER, std::string(kKey) + "\\One", "v", "x");
    char name[kRegNameChars];
    EXPECT_EQ(EnumRegSubkey(HKEY_CURRENT_USER, kKey, name, 0), 0);
    EXPECT_STREQ(name, "One");
    EXPECT_EQ(EnumRegSubkey(HKEY_CURRENT_USER, kKey, name, 1), ERROR_NO_MORE_ITEMS);
}

// The 32-bit installer on 64-bit Windows sees HKLM\Software's 32-bit view,
// and the 64-bit one only with use64BitView; 32-bit Windows has one view.
TEST_F(RegistryReaders, ReadHklmInTheViewThe32BitInstallerSees) {
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Only64", "", "C:\\64", KEY_WOW64_64KEY);
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Only32", "", "C:\\32", KEY_WOW64_32KEY);
    struct Case {
        os::SimulatedWindows windows;
        int use64BitView;
        bool sees64, sees32;
    };
    const Case cases[] = {
        {os::SimulatedWindows::Windows64, 0, false, true},
        {os::SimulatedWindows::Windows64, 1, true, false},
        {os::SimulatedWindows::Windows32, 0, false, true},
        {os::SimulatedWindows::Windows32, 1, false, true},
    };
    for (const Case& c : cases) {
        os::SimulateWindows(c.windows);
        gState.use64BitView = c.use64BitView;
        char text[400];
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Only64", "", text, sizeof text) == 0, c.sees64);
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Only32", "", text, sizeof text) == 0, c.sees32);
    }
}

}  // namespace
