#include "payload/PayloadFileName.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

struct NameCase {
    const char* resourceName;
    const char* fileName;
};

const NameCase kNameCases[] = {
    // The payload's own items.
    {"PRESETS__TRAZELSBIN", "PresetsTrazelsbin"},
    {"TRAZEL__KUNDOR3.8BF", "TrazelKundor3.8bf"},
    {"STROKES.8TX", "Strokes.8tx"},
    {"TRAZEL__KUNDOR(X64).8BF", "TrazelKundor(X64).8bf"},
    // The naming rules, one at a time.
    {"MY_FILE.TXT", "My File.txt"},
    {"NO-NAME.DAT", "No-Name.dat"},
    {"ABC7DEF", "Abc7Def"},
    {"ABC8DEF", "Abc8def"},
    {"ROCK'N'ROLL.8BF", "Rock'n'roll.8bf"},
    {"A:B", "Ab"},
    {"A::B", "A:b"},
    {"X___Y", "X Y"},
    {"__A", "A"},
    {"_A", " A"},
    // Ends and corners.
    {"", ""},
    {"a", "A"},
    {"7", "7"},
    {"AB__", "Ab"},
    {"A__:B", "Ab"},
    {"A_:B", "A b"},
    {"A-", "A-"},
    {"__", ""},
};

TEST(PayloadFileName, RewritesEveryCaseInPlace) {
    for (const NameCase& c : kNameCases) {
        char buffer[64];
        memset(buffer, '#', sizeof buffer);
        strcpy(buffer, c.resourceName);
        EXPECT_EQ(PayloadFileName(buffer), buffer);
        EXPECT_STREQ(buffer, c.fileName) << "from \"" << c.resourceName << '"';
        // The text never grows: nothing past the original terminator changes.
        for (size_t i = strlen(c.resourceName) + 1; i < sizeof buffer; ++i)
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " for \"" << c.resourceName << '"';
    }
}

TEST(PayloadFileName, LowerCasesOnlyWithinFourHundredCharacters) {
    static char name[600];
    memset(name, 'Q', sizeof name - 1);
    PayloadFileName(name);
    EXPECT_EQ(name[0], 'Q');
    EXPECT_EQ(name[1], 'q');
    EXPECT_EQ(name[399], 'q');
    EXPECT_EQ(name[400], 'Q');
}

}  // namespace
