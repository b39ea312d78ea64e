// Checks the shipped 32-bit installer as a file: its PE header, the DLLs it
// imports, and every resource it carries, in the formats its window needs.
// The executable is mapped as data; none of its code runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Os.h"
#include "tests/common/TestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string ShippedPath() {
    return test::WinePath(SHIPPED_EXE);
}

// Little-endian fields; a read past the end answers 0 and fails the test.
uint32_t Field(const Bytes& bytes, size_t at, int size) {
    if (at + size > bytes.size()) {
        ADD_FAILURE() << "read of " << size << " bytes at " << at << " past the end (" << bytes.size() << ")";
        return 0;
    }
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}
uint16_t U16(const Bytes& bytes, size_t at) {
    return static_cast<uint16_t>(Field(bytes, at, 2));
}
uint32_t U32(const Bytes& bytes, size_t at) {
    return Field(bytes, at, 4);
}
int32_t I32(const Bytes& bytes, size_t at) {
    return static_cast<int32_t>(Field(bytes, at, 4));
}

// A resource name as the inventory spells it: "#128" for an integer id.
std::string NameOf(const char* name) {
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : std::string(name);
}

const DWORD kLanguage = 1033;  // English (United States)
const int kAnySize = -1;       // the content is checked by its own test

class ShippedExecutable : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(ShippedPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (module_)
            FreeLibrary(module_);
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << ShippedPath() << ": error " << GetLastError(); }

    // The bytes of one resource in the shipped language; empty when missing.
    static Bytes Resource(const char* type, const char* name) {
        HRSRC found = FindResourceExA(module_, type, name, static_cast<WORD>(kLanguage));
        if (!found)
            return {};
        const unsigned char* data =
            static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
        return Bytes(data, data + SizeofResource(module_, found));
    }
    static Bytes Resource(const char* type, int id) { return Resource(type, MAKEINTRESOURCEA(id)); }

    static HMODULE module_;
};
HMODULE ShippedExecutable::module_ = nullptr;

TEST(ShippedExecutableFile, IsA32BitGuiProgramThatImportsOnlyDllsOfWindows) {
    const Bytes file = test::ReadFileBytes(ShippedPath());
    ASSERT_GT(file.size(), 0x400u) << ShippedPath();
    ASSERT_EQ(U16(file, 0), 0x5A4Du);  // "MZ"
    const size_t pe = U32(file, 0x3C);
    ASSERT_EQ(U32(file, pe), 0x00004550u);  // "PE\0\0"
    EXPECT_EQ(U16(file, pe + 4), 0x014Cu);  // IMAGE_FILE_MACHINE_I386
    const size_t optional = pe + 24;
    EXPECT_EQ(U16(file, optional), 0x010Bu);  // PE32
    EXPECT_EQ(U16(file, optional + 68), 2u);  // IMAGE_SUBSYSTEM_WINDOWS_GUI

    // The import directory, found through the section that holds it.
    const size_t sections = optional + U16(file, pe + 20);
    const int sectionCount = U16(file, pe + 6);
    auto fileOffset = [&](uint32_t rva) -> size_t {
        for (int i = 0; i < sectionCount; ++i) {
            const size_t header = sections + 40 * i;
            const uint32_t start = U32(file, header + 12), size = U32(file, header + 16);
            if (rva >= start && rva < start + size)
                return rva - start + U32(file, header + 20);
        }
        ADD_FAILURE() << "RVA " << rva << " lies in no section";
        return file.size();
    };
    std::vector<std::string> dlls;
    for (size_t entry = fileOffset(U32(file, optional + 104)); U32(file, entry + 12) != 0; entry += 20) {
        size_t name = fileOffset(U32(file, entry + 12));
        std::string dll;
        while (name < file.size() && file[name])
            dll += static_cast<char>(toupper(file[name++]));
        dlls.push_back(dll);
    }
    const std::vector<std::string> windows = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL", "ADVAPI32.DLL",
                                              "SHELL32.DLL",  "COMCTL32.DLL", "MSVCRT.DLL"};
    EXPECT_FALSE(dlls.empty());
    for (const std::string& dll : dlls)
        EXPECT_NE(std::find(windows.begin(), windows.end(), dll), windows.end())
            << dll << " is not part of Windows";
}

// Every resource of a module as "type name language" -> size in bytes.
using Inventory = std::map<std::string, int>;
struct InventoryWalk {
    Inventory* inventory;
    std::string type, name;
};

BOOL CALLBACK AddLanguage(HMODULE module, const char* type, const char* name, WORD language, LONG_PTR param) {
    InventoryWalk* walk = reinterpret_cast<InventoryWalk*>(param);
    HRSRC found = FindResourceExA(module, type, name, language);
    (*walk->inventory)[walk->type + " " + walk->name + " " + std::to_string(language)] =
        found ? static_cast<int>(SizeofResource(module, found)) : -2;
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, const char* type, char* name, LONG_PTR param) {
    reinterpret_cast<InventoryWalk*>(param)->name = NameOf(name);
    return EnumResourceLanguagesA(module, type, name, AddLanguage, param);
}

BOOL CALLBACK AddType(HMODULE module, char* type, LONG_PTR param) {
    reinterpret_cast<InventoryWalk*>(param)->type = NameOf(type);
    return EnumResourceNamesA(module, type, AddName, param);
}

TEST_F(ShippedExecutable, CarriesExactlyThePayloadAndTheWindowResources) {
    Inventory found;
    InventoryWalk walk{&found, "", ""};
    EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&walk));

    // type, name, language -> size in bytes. A bitmap is its header and its
    // rows, each padded to 4 bytes.
    const Inventory expected = {
        {"#1 #3 1033", 308},  // the hand cursor's image: hot spot, header, two colours, two planes
        {"#2 #128 1033", 40 + 156 * 13},
        {"#2 #203 1033", 40 + 176 * 19},
        {"#2 #213 1033", 40 + 1800 * 296},
        {"#2 #219 1033", 40 + 180 * 19},
        {"#2 #220 1033", 40 + 180 * 19},
        {"#2 #222 1033", 40 + 1800 * 320},
        {"#2 #224 1033", 40 + 60 * 19},
        {"#2 #225 1033", 40 + 60 * 19},
        {"#3 #1 1033", 40 + 32 * 32 * 4 + 4 * 32},  // 32x32 icon: header, colours, mask
        {"#3 #2 1033", 40 + 16 * 16 * 4 + 4 * 16},
        {"#5 MAIN 1033", kAnySize},
        {"#12 #120 1033", 6 + 14},
        {"#14 MAINICON 1033", 6 + 2 * 14},
        {"#24 #1 1033", kAnySize},
        {"#3000 PRESETS__TRAZELSBIN 1033", 768},
        {"#3000 STROKES.8TX 1033", 534975},
        {"#3000 TRAZEL__KUNDOR3.8BF 1033", 1681408},
        {"#3001 TRAZEL__KUNDOR(X64).8BF 1033", 1750016},
    };
    for (auto& [key, size] : found) {
        auto it = expected.find(key);
        if (it != expected.end() && it->second == kAnySize)
            size = kAnySize;
    }
    EXPECT_EQ(found, expected);
}

TEST_F(ShippedExecutable, BitmapsAreUncompressed24BitBottomUpWithoutColourTable) {
    struct Case {
        int id, width, height;
        bool drawnWithWhiteAsTransparent;
    };
    const Case cases[] = {
        {128, 52, 13, false}, {203, 58, 19, true},    {213, 600, 296, true}, {219, 60, 19, true},
        {220, 60, 19, true},  {222, 600, 320, false}, {224, 20, 19, true},   {225, 20, 19, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("bitmap " + std::to_string(c.id));
        const Bytes bmp = Resource(RT_BITMAP, c.id);
        ASSERT_GE(bmp.size(), 40u);
        EXPECT_EQ(U32(bmp, 0), 40u);  // BITMAPINFOHEADER
        EXPECT_EQ(I32(bmp, 4), c.width);
        EXPECT_EQ(I32(bmp, 8), c.height);  // positive: bottom-up
        EXPECT_EQ(U16(bmp, 12), 1u);
        EXPECT_EQ(U16(bmp, 14), 24u);
        EXPECT_EQ(U32(bmp, 16), static_cast<uint32_t>(BI_RGB));
        EXPECT_EQ(U32(bmp, 32), 0u);  // no colours used
        const size_t stride = (c.width * 3 + 3) & ~3;
        ASSERT_EQ(bmp.size(), 40 + stride * c.height) << "the rows must follow the header directly";

        // Pure white is where the window shows through; these pictures have none.
        if (c.drawnWithWhiteAsTransparent) {
            int white = 0;
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    const size_t at = 40 + y * stride + 3 * x;
                    white += bmp[at] == 255 && bmp[at + 1] == 255 && bmp[at + 2] == 255;
                }
            }
            EXPECT_EQ(white, 0) << "pure white pixels";
        }
    }
}

// One 24-bit bitmap resource, for looking at its pixels.
struct Picture {
    Bytes bytes;
    int width = 0, height = 0;
    // Red, green, blue of the pixel at (x, y), y counted from the top.
    uint32_t Pixel(int x, int y) const {
        const size_t stride = (width * 3 + 3) & ~3;
        const size_t at = 40 + (height - 1 - y) * stride + 3 * x;
        return bytes[at + 2] << 16 | bytes[at + 1] << 8 | bytes[at];
    }
};

TEST_F(ShippedExecutable, FinishedPictureSharesTheFrameAndLeavesTheBottomStripVisible) {
    Picture background{Resource(RT_BITMAP, 222), 0, 0}, finished{Resource(RT_BITMAP, 213), 0, 0};
    for (Picture* p : {&background, &finished}) {
        ASSERT_GE(p->bytes.size(), 40u);
        p->width = I32(p->bytes, 4);
        p->height = I32(p->bytes, 8);
        ASSERT_EQ(p->bytes.size(), 40 + ((p->width * 3 + 3) & ~3) * size_t(p->height));
    }
    // The buttons stand in the strip with their top at H - 21, so the
    // finished picture must end above the strip's last 24 rows.
    ASSERT_EQ(finished.width, background.width);
    ASSERT_LE(finished.height, background.height - 24);

    // Frame and paper are the background's: no seam where the picture ends.
    int differ = 0;
    for (int y = 0; y < finished.height; ++y) {
        for (int x = 0; x < finished.width; ++x) {
            const bool frame = y < 6 || x < 6 || x >= finished.width - 6;
            differ += frame && finished.Pixel(x, y) != background.Pixel(x, y);
        }
    }
    EXPECT_EQ(differ, 0) << "frame pixels that differ from the background's";

    // Hover texts are drawn in white on the strip, in the status rectangle
    // (20, 301) to (451, 321): it must be dark enough to read them.
    for (int y = 297; y < background.height; ++y) {
        for (int x = 20; x < 452; ++x) {
            const uint32_t rgb = background.Pixel(x, y);
            const int luma = (299 * (rgb >> 16) + 587 * (rgb >> 8 & 255) + 114 * (rgb & 255)) / 1000;
            ASSERT_LT(luma, 128) << "light strip pixel at " << x << "," << y;
        }
    }
}

TEST_F(ShippedExecutable, HandCursorIsOneMonochromeImageWithItsHotSpotOnTheFingerTip) {
    const Bytes group = Resource(RT_GROUP_CURSOR, 120);
    ASSERT_EQ(group.size(), 20u);
    EXPECT_EQ(U16(group, 2), 2u);  // a cursor group
    ASSERT_EQ(U16(group, 4), 1u);  // of one image
    EXPECT_EQ(U16(group, 6), 32u);
    EXPECT_EQ(U16(group, 8), 64u);  // colour and mask planes
    EXPECT_EQ(U16(group, 10), 1u);
    EXPECT_EQ(U16(group, 12), 1u);  // bits per pixel
    EXPECT_EQ(U16(group, 18), 3u);  // the image's id

    const Bytes image = Resource(RT_CURSOR, 3);
    ASSERT_EQ(image.size(), U32(group, 14));
    EXPECT_EQ(U16(image, 0), 13u);
    EXPECT_EQ(U16(image, 2), 10u);
    EXPECT_EQ(I32(image, 8), 32);
    EXPECT_EQ(I32(image, 12), 64);
    EXPECT_EQ(U16(image, 18), 1u);
    // The hot spot is on the hand: opaque in the mask plane, which follows
    // the colour plane; rows are bottom-up, 4 bytes each.
    const size_t mask = 4 + 40 + 8 + 32 * 4;
    const int row = 31 - 10;
    EXPECT_EQ(image[mask + row * 4 + 13 / 8] >> (7 - 13 % 8) & 1, 0) << "the hot spot is transparent";

    // The system builds a cursor from the group and its image.
    HCURSOR cursor = LoadCursorA(module_, MAKEINTRESOURCEA(120));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 13u);
    EXPECT_EQ(info.yHotspot, 10u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

TEST_F(ShippedExecutable, IconHas32And16PixelImagesOf32Bits) {
    const Bytes group = Resource(RT_GROUP_ICON, "MAINICON");
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(U16(group, 2), 1u);  // an icon group
    ASSERT_EQ(U16(group, 4), 2u);
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("icon image " + std::to_string(i + 1));
        const size_t entry = 6 + 14 * i;
        EXPECT_EQ(group[entry], sizes[i]);
        EXPECT_EQ(group[entry + 1], sizes[i]);
        EXPECT_EQ(U16(group, entry + 6), 32u);
        EXPECT_EQ(U16(group, entry + 12), i + 1u);
        const Bytes image = Resource(RT_ICON, i + 1);
        ASSERT_EQ(image.size(), U32(group, entry + 8));
        EXPECT_EQ(I32(image, 4), sizes[i]);
        EXPECT_EQ(I32(image, 8), 2 * sizes[i]);
        EXPECT_EQ(U16(image, 14), 32u);
    }
}

// Reads a zero-terminated UTF-16 text or an 0xFFFF-prefixed ordinal.
std::string ReadSz(const Bytes& t, size_t& at) {
    std::string text;
    if (U16(t, at) == 0xFFFF) {
        text = "#" + std::to_string(U16(t, at + 2));
        at += 4;
        return text;
    }
    for (uint16_t c; (c = U16(t, at)) != 0 && at < t.size(); at += 2)
        text += static_cast<char>(c);
    at += 2;
    return text;
}

TEST_F(ShippedExecutable, DialogTemplateIsAPlainBorderlessPopupWithTheFolderListAndTheFocusButton) {
    const Bytes t = Resource(RT_DIALOG, "MAIN");
    ASSERT_GE(t.size(), 18u);
    EXPECT_EQ(U32(t, 0), 0x80000840u);  // WS_POPUP | DS_CENTER | DS_SETFONT, not a DLGTEMPLATEEX
    EXPECT_EQ(U32(t, 4), 0u);
    ASSERT_EQ(U16(t, 8), 2u);
    EXPECT_EQ(U32(t, 10), 0u);  // x, y
    EXPECT_EQ(U16(t, 14), 400u);
    EXPECT_EQ(U16(t, 16), 300u);
    size_t at = 18;
    EXPECT_EQ(ReadSz(t, at), "");  // no menu
    EXPECT_EQ(ReadSz(t, at), "");  // the system's dialog class
    EXPECT_EQ(ReadSz(t, at), "");  // no title
    EXPECT_EQ(U16(t, at), 8u);
    at += 2;
    EXPECT_EQ(ReadSz(t, at), "MS Sans Serif");

    struct Control {
        uint32_t style;
        int x, y, cx, cy, id;
        const char* cls;
    };
    const Control controls[] = {
        {0x50010003, 35, 72, 204, 214, 1033, "#133"},  // COMBOBOX: child, visible, tab stop, drop-down list
        {0x40000000, 0, 0, 6, 6, 1034, "#128"},        // BUTTON: child only, hidden
    };
    for (const Control& c : controls) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        at = (at + 3) & ~size_t(3);
        EXPECT_EQ(U32(t, at), c.style);
        EXPECT_EQ(U32(t, at + 4), 0u);
        EXPECT_EQ(static_cast<int16_t>(U16(t, at + 8)), c.x);
        EXPECT_EQ(static_cast<int16_t>(U16(t, at + 10)), c.y);
        EXPECT_EQ(U16(t, at + 12), c.cx);
        EXPECT_EQ(U16(t, at + 14), c.cy);
        EXPECT_EQ(U16(t, at + 16), c.id);
        at += 18;
        EXPECT_EQ(ReadSz(t, at), c.cls);
        EXPECT_EQ(ReadSz(t, at), "");  // no text
        EXPECT_EQ(U16(t, at), 0u);     // no creation data
        at += 2;
    }
    EXPECT_EQ(at, t.size());
}

TEST_F(ShippedExecutable, ManifestAsksForAdministratorRightsAndDeclaresNothingElse) {
    const Bytes bytes = Resource(RT_MANIFEST, 1);
    const std::string manifest(bytes.begin(), bytes.end());
    std::vector<std::string> elements;
    for (size_t at = manifest.find('<'); at != std::string::npos; at = manifest.find('<', at + 1)) {
        const char next = manifest[at + 1];
        if (next == '/' || next == '?' || next == '!')
            continue;
        elements.push_back(manifest.substr(at + 1, manifest.find_first_of(" />", at + 1) - at - 1));
    }
    EXPECT_EQ(elements, (std::vector<std::string>{"assembly", "trustInfo", "security", "requestedPrivileges",
                                                  "requestedExecutionLevel"}));
    for (const char* text : {"xmlns=\"urn:schemas-microsoft-com:asm.v1\"", "manifestVersion=\"1.0\"",
                             "xmlns=\"urn:schemas-microsoft-com:asm.v3\"", "level=\"requireAdministrator\"",
                             "uiAccess=\"false\""})
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

}  // namespace
