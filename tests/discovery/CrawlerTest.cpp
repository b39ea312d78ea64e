#include "discovery/VendorKeyCrawler.h"

#include "tests/discovery/DiscoveryFixture.h"

namespace {

using Names = std::vector<std::string>;
using test::SetRegistryString;
using test::SetRegistryValue;

class Crawler : public test::DiscoveryTest {
protected:
    std::string Make(const std::string& below) {
        std::string path = folder / below;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    // The trace's lines after its header, CR LF removed.
    Names TraceLines() {
        Names lines;
        std::string trace = Trace();
        size_t start = trace.find("Wow64\r\n");
        if (start == std::string::npos)
            return lines;
        for (size_t at = start + 7, end; (end = trace.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(trace.substr(at, end - at));
        return lines;
    }
};

// The walk visits keys in pre-order, takes values by key path or name and
// tags each with where it was found.
TEST_F(Crawler, FindsPluginFoldersBelowTheVendorKey) {
    const std::string filters = Make("Filters"), more = Make("More");
    const std::string ps = "Software\\Adobe\\Photoshop\\11.0";
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Adobe\\Acrobat", "Path", filters);
    SetRegistryString(HKEY_CURRENT_USER, ps, "ApplicationPath", filters);
    SetRegistryString(HKEY_CURRENT_USER, ps, "PluginPath", "\"" + filters + "\"");
    SetRegistryString(HKEY_CURRENT_USER, ps + "\\Plug-Ins", "Extra", more);
    SetRegistryString(HKEY_LOCAL_MACHINE, ps, "PluginPath", filters, KEY_WOW64_32KEY);
    CreateTrace();

    ScanVendorKeys("software", "adobe", "photoshop", nullptr, nullptr);

    EXPECT_EQ(TraceLines(),
              (Names{"x32 HKEY_CURRENT_USER   software\\adobe\\photoshop\\11.0  pluginpath    " + filters,
                     "x32 HKEY_CURRENT_USER   software\\adobe\\photoshop\\11.0\\plug-ins  Extra    " + more,
                     "x32 HKEY_LOCAL_MACHINE  software\\adobe\\photoshop\\11.0  pluginpath    " + filters}));
    EXPECT_EQ(Table().size(), 2u);
}

TEST_F(Crawler, AppliesTheValueRules) {
    const std::string dir = Make("Dir");
    struct Case {
        const char* key;
        const char* name;
        std::string data;
        const char* vendor;
        const char* product;
        bool accepted;
    };
    const Case cases[] = {
        {"Software\\Halvorne\\Settings", "Directory2", dir, "halvorne", "", true},
        {"Software\\Halvorne\\Settings", "Folder", dir, "halvorne", "", false},
        {"Software\\Xara\\Tools", "PlugInDir", dir, "xara", "xarax", false},
        {"Software\\Xara\\XaraX\\Tools", "PlugInDir", dir, "xara", "xarax", true},
        {"Software\\Corel\\Paint\\9", "PluginDir", "%ProgramFiles%\\Corel", "corel", "paint", false},
        {"Software\\Corel\\Paint\\9", "PluginDir", "", "corel", "paint", false},
        {"Software\\Corel\\Paint\\9", "PluginDir", "  '" + dir, "corel", "paint", true},
    };
    for (const Case& c : cases) {
        test::ScopedRegistryKey key{HKEY_CURRENT_USER, c.key};
        ResetSlots(gState.candidates.slots);
        SetRegistryString(HKEY_CURRENT_USER, c.key, c.name, c.data);
        ScanVendorKeys("software", c.vendor, c.product, nullptr, nullptr);
        EXPECT_EQ(Table().size(), c.accepted ? 1u : 0u) << c.key << " " << c.name << " " << c.data;
    }
    // A plug-in folder in an expandable string arrives empty and is skipped.
    SetRegistryValue(HKEY_CURRENT_USER, "Software\\Corel\\Paint", "PluginDir", REG_EXPAND_SZ, dir.c_str(),
                     DWORD(dir.size() + 1));
    ResetSlots(gState.candidates.slots);
    ScanVendorKeys("software", "corel", "paint", nullptr, nullptr);
    EXPECT_TRUE(Table().empty());
}

TEST_F(Crawler, ANameFilterAcceptsMoreValuesWithTheSuffix) {
    Make("App");
    Make("App\\Plugins");
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Corel\\Paint", "InstallDir", folder / "App");
    ScanVendorKeys("software", "corel", "paint", "installdir", "\\plugins");
    EXPECT_EQ(Table().size(), 1u);
    EXPECT_NE(Table()[0].find("\\Plugins\\"), std::string::npos);
}

// Hostile trees: the walk never writes past its buffers, skips what does not
// fit, passes over keys deeper than it can hold and still walks their
// siblings, and keeps at most twenty folders.
TEST_F(Crawler, SurvivesHostileTrees) {
    const std::string dir = Make("Deep");
    std::string deep = "Software\\Adobe\\Photoshop";
    for (int depth = 2; depth <= 21; ++depth) {
        deep += "\\L" + std::to_string(depth);
        SetRegistryString(HKEY_CURRENT_USER, deep, ("Plug" + std::to_string(depth)).c_str(), Make("D" + std::to_string(depth)));
    }
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Adobe\\Photoshop\\Z", "PluginPath", dir);  // after the chain
    for (int i = 0; i < 5; ++i)  // more distinct folders than the table holds
        SetRegistryString(HKEY_CURRENT_USER, "Software\\Adobe\\Photoshop\\Many", ("Plug" + std::to_string(i)).c_str(),
                          Make("M" + std::to_string(i)));

    // Wine opens no key whose whole path runs past 255 characters, so the
    // long name here leaves room for the rest of the path.
    const std::string longName(225, 'k');
    const std::string longKey = "Software\\Adobe\\" + longName;
    SetRegistryString(HKEY_CURRENT_USER, longKey + "\\photoshop", ("Plug" + std::string(251, 'v')).c_str(), dir);
    SetRegistryString(HKEY_CURRENT_USER, longKey + "\\photoshop\\" + std::string(255, 'k'), "PluginPath", dir);
    for (int bytes : {255, 256, 300}) {
        // The byte behind the data is not zero, or Wine would store a terminator.
        std::string text = dir + std::string(bytes - dir.size() + 1, '\xEE');
        SetRegistryValue(HKEY_CURRENT_USER, "Software\\Adobe\\Photoshop\\Sizes" + std::to_string(bytes),
                         "PluginPath", REG_SZ, text.data(), DWORD(bytes));  // no terminator
    }
    CreateTrace();

    ScanVendorKeys("software", "adobe", "photoshop", nullptr, nullptr);

    const std::string trace = Trace();
    // Depth counts below the vendor key: Photoshop is 1, L2 is 2, ...
    EXPECT_NE(trace.find("plug19    "), std::string::npos);
    EXPECT_EQ(trace.find("plug20    "), std::string::npos);
    EXPECT_NE(trace.find("photoshop\\z  pluginpath"), std::string::npos);
    EXPECT_NE(trace.find("plug" + std::string(251, 'v')), std::string::npos);
    EXPECT_EQ(trace.find(std::string(255, 'k')), std::string::npos);  // its path would not fit
    EXPECT_NE(trace.find("sizes255"), std::string::npos);
    EXPECT_NE(trace.find("sizes256"), std::string::npos);
    EXPECT_EQ(trace.find("sizes300"), std::string::npos);
    EXPECT_EQ(Table().size(), 20u);
}

TEST(KeyPathStack, PushesAndPopsWithinItsCapacity) {
    char path[kPathChars] = "software\\adobe";
    KeyPathStack stack;
    int index = 5;
    EXPECT_EQ(stack.Pop(path), -1);
    ASSERT_TRUE(stack.Push(path, "x", &index));
    EXPECT_STREQ(path, "software\\adobe\\x");
    EXPECT_EQ(index, 0);
    EXPECT_EQ(stack.Pop(path), 5);
    EXPECT_STREQ(path, "software\\adobe");
    for (int i = 0; i < KeyPathStack::kLevels; ++i)
        ASSERT_TRUE(stack.Push(path, "k", &index));
    EXPECT_FALSE(stack.Push(path, "k", &index));
    EXPECT_FALSE(KeyPathStack().Push(path, std::string(380, 'n').c_str(), &index));
}

}  // namespace
