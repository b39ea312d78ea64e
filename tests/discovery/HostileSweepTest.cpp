// A sweep of seeded random registry trees through the whole discovery.
//
// Each tree fills every key the discovery reads: the five vendor keys in HKCU
// and in both views of HKLM, the App Paths entry of fireworks.exe and the
// open command of PI3.Image. Key and value names run up to the registry's
// limits, chains of keys run deeper than the crawler walks, string values
// come with and without their terminator and beside other types, with bytes
// above 0x7F, and most of them name real folders (made once for the sweep) in
// many spellings: letter case, quotes, blanks, missing or other drive letters,
// trailing backslashes, missing sub-folders, forward slashes, dots.
//
// For every tree the readers and the text routines first run over every
// value inside buffers with guard bytes on both sides. Then the real
// discovery runs from an installer state whose other fields hold a known
// pattern, fills a recording view, and the list must keep its rules: at most
// twenty folders, each an existing folder in canonical form with the maker's
// folder proposed below it, none twice, the BROWSE entry last.
//
// ctest sweeps 300 trees from seed 1. A longer sweep, or the replay of a seed
// that a failure names (inside scripts/wine-session, as every ctest run):
//   SWEEP_FIRST_SEED=1 SWEEP_TREES=5000 ctest --preset win64 -R HostileSweep --output-on-failure
//
// What the first 300 trees found before the fixes, each kept as a plain test
// beside the code it fixed:
// - 54 trees listed a folder that does not exist (seeds 1, 6, 8, 11, ...),
//   mostly from a value ending in a blank: "...\Plug-Ins " was listed as
//   "...\Plug-Ins \Halvorne\". 82 trees (seeds 2, 3, 4, 6, 7, ...) listed
//   folders with "\..\", "\.\", doubled or forward slashes, so one folder
//   could be listed twice. Seeds 44, 69, 220, 264, 277 listed "C:..\" and
//   "C:.\Plug-Ins\", taken relative to the folder the process stood in.
//   CandidateTable.StoresTheFullNameOfTheFolderTheSystemEnters.
// - Seeds 31, 63, 74, 184, 190, 212, 247: a value of another type whose name
//   is too long left its raw bytes, unterminated, in the reader's data
//   buffer. RegistryReaders.AFailedValueReadLeavesBothTextsEmpty.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <set>

#include "discovery/AppPathLookups.h"
#include "discovery/CandidateTable.h"
#include "discovery/RegistryReaders.h"
#include "installer/InstallerFlow.h"
#include "tests/discovery/DiscoveryFixture.h"
#include "tests/discovery/FakeView.h"

namespace {

using test::ScopedRegistryKey;
using test::TempFolder;

// xorshift64*: small, fast, and the same trees on every machine.
class Random {
public:
    explicit Random(uint64_t seed) : state_((seed + 1) * 0x9E3779B97F4A7C15ull) {}
    uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    int Below(size_t n) { return static_cast<int>(Next() % n); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int p) { return Below(100) < p; }
    template <typename T, size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

private:
    uint64_t state_;
};

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[8];
        snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, char(c)) : c == '\\' ? "\\\\" : hex;
    }
    return out.size() > 120 ? out.substr(0, 120) + "..." : out;
}

// A key of a tree, addressed as the installer's readers address it.
struct SeededKey {
    HKEY hive;
    int use64BitView;  // the view flag under which the readers see this key
    std::string path;
    std::vector<std::string> valueNames;
};

struct Vendor {
    const char* name;
    const char* product;  // as a key name would hold it
};
const Vendor kVendors[] = {{"Halvorne", "Trazel"},
                           {"Adobe", "Photoshop"},
                           {"Corel", "Paint"},
                           {"Jasc", "Paint Shop Pro"},
                           {"Xara", "XaraX"}};

struct Place {
    HKEY hive;
    REGSAM view;
    int use64BitView;
};
const Place kPlaces[] = {{HKEY_CURRENT_USER, 0, 0},
                         {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, 0},
                         {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, 1}};

const char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\fireworks.exe";
const char kOpenCommandKey[] = "PI3.Image\\shell\\open\\command";

// Everything one tree writes, removed again when it goes (HKLM in both views).
struct SweptKeys {
    std::vector<std::unique_ptr<ScopedRegistryKey>> keys;
    SweptKeys() {
        for (const Vendor& vendor : kVendors) {
            for (const Place& place : kPlaces) {
                keys.emplace_back(
                    new ScopedRegistryKey(place.hive, std::string("Software\\") + vendor.name, place.view));
            }
        }
        keys.emplace_back(new ScopedRegistryKey(HKEY_LOCAL_MACHINE, kAppPathKey, KEY_WOW64_64KEY));
        keys.emplace_back(new ScopedRegistryKey(HKEY_CLASSES_ROOT, "PI3.Image"));
    }
};

HKEY CreateKey(HKEY parent, const std::string& name, REGSAM view) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Creates a key one part at a time (Wine refuses a single create of a long
// path); null when a part cannot be made.
HKEY CreateKeyPath(HKEY hive, const std::string& path, REGSAM view) {
    HKEY key = hive;
    for (size_t start = 0; key && start <= path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        HKEY next = CreateKey(key, path.substr(start, end - start), view);
        if (key != hive)
            RegCloseKey(key);
        key = next;
        start = end + 1;
    }
    return key;
}

// The real folders the values name, made once for the whole sweep: nested
// names the discovery treats specially (the maker's folder, "halv" inside a
// name, letters above 0x7F, brackets, digits, blanks), plug-in folders of the
// two programs the registry names, more folders than the table holds, and
// one that only keys deeper than the walk goes name.
class FolderPool {
public:
    FolderPool() {
        const char* names[] = {"Plug-Ins",
                               "Filters",
                               "Halvorne",
                               "HALVORNE",
                               "Halvorne Tools",
                               "Shalvey",
                               "Photoshop CS",
                               "Program Files (x86)",
                               "Photo (64 Bit)",
                               "plugin",
                               "Caf\xE9",
                               "\xC9t\xE9",
                               "A",
                               "ab c",
                               "3d filters",
                               "x"};
        Random random(0);
        const std::string base = root_.path().substr(0, root_.path().size() - 1);
        folders.push_back(base);
        for (int i = 0; i < 40; ++i) {
            const std::string path = folders[random.Below(folders.size())] + "\\" + random.Pick(names) +
                                     (random.Percent(50) ? " " + std::to_string(i) : "");
            if (path.size() > 160 || !Make(path))
                continue;
            folders.push_back(path);
            if (random.Percent(25))
                Make(path + "\\plug-ins");
            if (random.Percent(25))
                Make(path + "\\plugin");
        }
        for (int i = 0; i < 28; ++i) {
            if (Make(base + "\\Many " + std::to_string(100 + i)))
                many.push_back(base + "\\Many " + std::to_string(100 + i));
        }
        beyondReach = base + "\\Beyond Reach";
        Make(beyondReach);
    }
    ~FolderPool() {
        SetCurrentDirectoryA("c:\\");  // out of the folders, so that they can go
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder)
            RemoveDirectoryA(folder->c_str());
    }

    std::vector<std::string> folders;  // without a trailing backslash
    std::vector<std::string> many;
    std::string beyondReach;

private:
    bool Make(const std::string& path) {
        if (!CreateDirectoryA(path.c_str(), nullptr))
            return false;
        made_.push_back(path);
        return true;
    }

    TempFolder root_;
    std::vector<std::string> made_;
};

// Builds one tree from its seed.
class Tree {
public:
    Tree(uint64_t seed, const FolderPool& pool) : random_(seed), pool_(pool) {}

    void Build() {
        for (const Vendor& vendor : kVendors) {
            for (const Place& place : kPlaces) {
                if (random_.Percent(35))
                    GrowVendorKey(vendor, place);
            }
        }
        if (random_.Percent(15))
            GrowDeepChain();
        if (random_.Percent(20))
            ListManyFolders();
        if (random_.Percent(60))
            SeedCommand(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kAppPathKey);
        if (random_.Percent(60))
            SeedCommand(HKEY_CLASSES_ROOT, 0, kOpenCommandKey);
        createTrace = random_.Percent(30);
    }

    std::vector<SeededKey> keys;
    std::vector<std::string> texts;  // every value's text up to its first zero
    bool createTrace = false;

private:
    // Characters of random names: mostly plain, some above 0x7F, a few controls.
    std::string RandomName(int length, bool backslashes) {
        const char plain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-_()'\":%/";
        std::string name;
        for (int i = 0; i < length; ++i) {
            int kind = random_.Below(20);
            char c;
            if (kind < 15)
                c = plain[random_.Below(sizeof plain - 1)];
            else if (kind < 18)
                c = static_cast<char>(random_.Between(0x80, 0xFF));
            else if (kind < 19)
                c = static_cast<char>(random_.Between(1, 0x1F));
            else
                c = backslashes ? '\\' : '#';
            name += c;
        }
        return name;
    }

    const std::string& AnyFolder() { return pool_.folders[random_.Below(pool_.folders.size())]; }

    std::string KeyName(const Vendor& vendor) {
        const char* words[] = {"Plug-Ins", "PLUGINS", "Plugin Paths", "Settings", "11.0",      "Version 9",
                               "x64",      "Common",  "Wow6432Node",  "Paint",    "photoshop", "xarax"};
        switch (random_.Below(8)) {
            case 0:
            case 1:
                return random_.Percent(50) ? vendor.product : RandomName(2, false) + vendor.product;
            case 2:
            case 3:
            case 4:
                return random_.Pick(words);
            case 5:
                return RandomName(random_.Between(200, 255), false);
            default:
                return RandomName(random_.Between(1, 16), false);
        }
    }

    std::string ValueName() {
        const char* words[] = {"PluginPath", "PlugInDir",  "Plug-ins Folder", "Directory1",
                               "DIRECTORY2", "directory3", "Directory4",      "Path",
                               "InstallDir", "",           "ApplicationPath"};
        int kind = random_.Below(30);
        if (kind < 17)
            return random_.Pick(words);
        if (kind < 26)
            return RandomName(random_.Between(1, 20), true);
        if (kind < 29)
            return RandomName(random_.Between(250, 260), true);
        return RandomName(random_.Percent(50) ? 16383 : random_.Between(300, 2000), true);
    }

    // A real folder in one of many spellings.
    std::string FolderText(const std::string& folder) {
        std::string path = folder;
        if (random_.Percent(15))
            path += "\\";
        if (random_.Percent(15))
            path += "\\Missing " + std::to_string(random_.Below(10));
        if (random_.Percent(10))
            path += RandomName(random_.Between(1, 3), false);
        if (random_.Percent(30)) {
            for (char& c : path) {
                if (isalpha(static_cast<unsigned char>(c)) && random_.Percent(40))
                    c = static_cast<char>(c ^ 0x20);
            }
        }
        const size_t second = path.find('\\', 3);
        if (second != std::string::npos && random_.Percent(6))
            path.insert(second, random_.Percent(50) ? "\\." : "\\..\\" + path.substr(3, second - 3));
        if (random_.Percent(5))
            path.insert(path.rfind('\\'), "\\");
        if (random_.Percent(4)) {
            for (char& c : path) {
                if (c == '\\')
                    c = '/';
            }
        }
        if (random_.Percent(5))
            path.erase(0, 2);  // no drive letter
        else if (random_.Percent(5))
            path[0] = random_.Pick({'D', 'q', 'Z', 'c'});
        else if (random_.Percent(5))
            path.erase(2, 1);  // relative to the drive's current folder
        if (random_.Percent(10))
            path = "\"" + path + "\"";
        if (random_.Percent(12))
            path = random_.Pick({" ", "   ", "'", "\t", "12 ", "=\"", "\xA0"}) + path;
        if (random_.Percent(10))
            path += random_.Pick({" ", "  ", ".", "\"", " \"%1\"", "\\ ", "\xE9\xFF"});
        if (random_.Percent(5))
            path.resize(random_.Below(path.size() + 1));
        if (random_.Percent(5))
            path += RandomName(random_.Between(200, 400), true);
        return path;
    }

    std::string ValueText() {
        const char* odd[] = {"C:\\windows",
                             "c:\\windows\\system32\\",
                             "C:\\Program Files\\Common Files",
                             "C:\\",
                             "c:",
                             "C:..",
                             "C:.",
                             "C:\\..",
                             "\\\\server\\share\\x",
                             "%ProgramFiles%\\A",
                             "D:\\Missing\\Plug-Ins",
                             ""};
        int kind = random_.Below(20);
        if (kind < 13)
            return FolderText(AnyFolder());
        if (kind < 15)
            return random_.Pick(odd);
        if (kind < 16)
            return std::string(1, char(random_.Between('A', 'Z'))) + ":" +
                   RandomName(random_.Between(0, 30), true);
        return RandomName(random_.Percent(80) ? random_.Between(0, 40) : random_.Between(200, 600), true);
    }

    // Stores `text` as a value of a random type (or REG_SZ) and size.
    void SetValue(HKEY key, SeededKey& record, const std::string& name, const std::string& text,
                  bool anyType = true) {
        const DWORD otherTypes[] = {REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY,
                                    REG_NONE,      REG_QWORD,    0x7A69};
        DWORD type = !anyType || random_.Percent(80) ? REG_SZ : random_.Pick(otherTypes);
        std::string bytes = text;
        int ending = random_.Below(8);
        if (ending == 0) {
            // no terminator
        } else if (ending == 1) {
            bytes += '\0' + RandomName(random_.Between(1, 9), true);  // more after the terminator
        } else {
            bytes += '\0';
        }
        if (RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           DWORD(bytes.size())) == ERROR_SUCCESS) {
            record.valueNames.push_back(name);
            texts.push_back(text.substr(0, text.find('\0')));
        }
    }

    void Grow(HKEY key, SeededKey record, const Vendor& vendor, REGSAM view, int depth) {
        const int values = random_.Below(4);
        for (int i = 0; i < values; ++i)
            SetValue(key, record, ValueName(), ValueText());
        const int children = depth < 5 && budget_ > 0 ? random_.Below(4) : 0;
        const SeededKey parent = record;
        keys.push_back(std::move(record));
        for (int i = 0; i < children; ++i) {
            const std::string name = KeyName(vendor);
            HKEY child = CreateKey(key, name, view);
            if (!child)
                continue;
            --budget_;
            Grow(child, {parent.hive, parent.use64BitView, parent.path + "\\" + name, {}}, vendor, view,
                 depth + 1);
            RegCloseKey(child);
        }
    }

    void GrowVendorKey(const Vendor& vendor, const Place& place) {
        const std::string path = std::string("Software\\") + vendor.name;
        HKEY key = CreateKeyPath(place.hive, path, place.view);
        if (!key)
            return;
        Grow(key, {place.hive, place.use64BitView, path, {}}, vendor, place.view, 0);
        RegCloseKey(key);
    }

    // A chain of short keys from depth 1 to more than 19 below a vendor key;
    // below depth 19 the chain's plug-in values all name a folder that
    // nothing else names.
    void GrowDeepChain() {
        const Vendor& vendor = random_.Pick(kVendors);
        const Place& place = random_.Pick(kPlaces);
        std::string path = std::string("Software\\") + vendor.name;
        HKEY key = CreateKeyPath(place.hive, path, place.view);
        const int depth = random_.Between(20, 22);
        for (int level = 1; key && level <= depth; ++level) {
            const std::string name = level == 1 ? vendor.product : RandomName(random_.Between(1, 3), false);
            HKEY child = CreateKey(key, name, place.view);
            RegCloseKey(key);
            key = child;
            path += "\\" + name;
            SeededKey record{place.hive, place.use64BitView, path, {}};
            if (level > 19)
                SetValue(key, record, "PluginPath", pool_.beyondReach, false);
            else if (random_.Percent(30))
                SetValue(key, record, ValueName(), ValueText());
            keys.push_back(record);
        }
        if (key)
            RegCloseKey(key);
    }

    // More distinct folders than the table holds, named as plug-in folders
    // where every Windows reads them, in spellings that keep them distinct.
    void ListManyFolders() {
        const Vendor& vendor = random_.Pick(kVendors);
        const Place& place = kPlaces[random_.Below(2)];
        const std::string path =
            std::string("Software\\") + vendor.name + "\\" + vendor.product + "\\Plug-Ins";
        HKEY key = CreateKeyPath(place.hive, path, place.view);
        if (!key)
            return;
        SeededKey record{place.hive, place.use64BitView, path, {}};
        const size_t count = random_.Between(21, pool_.many.size());
        for (size_t i = 0; i < count; ++i) {
            std::string text = pool_.many[i] + (random_.Percent(30) ? "\\" : "");
            for (char& c : text) {
                if (isalpha(static_cast<unsigned char>(c)) && random_.Percent(30))
                    c = static_cast<char>(c ^ 0x20);
            }
            if (random_.Percent(20))
                text = random_.Pick({" \"", "'", "\t"}) + text + random_.Pick({"\"", " ", ""});
            SetValue(key, record, "Folder " + std::to_string(100 + i), text, false);
        }
        keys.push_back(record);
        RegCloseKey(key);
    }

    // The default value of a command key: a program in a folder (whose
    // plug-in folder may exist), with quotes and arguments, or anything else.
    void SeedCommand(HKEY hive, REGSAM view, const char* path) {
        HKEY key = CreateKeyPath(hive, path, view);
        if (!key)
            return;
        std::string text;
        switch (random_.Below(4)) {
            case 0:
                text = FolderText(AnyFolder()) + "\\editor.exe";
                break;
            case 1:
                text = "\"" + FolderText(AnyFolder()) + "\\editor.exe\" \"%1\"";
                break;
            case 2:
                text = FolderText(AnyFolder()) + "\\editor.exe /dde " + FolderText(AnyFolder());
                break;
            default:
                text = ValueText();
        }
        SeededKey record{hive, 0, path, {}};
        SetValue(key, record, "", text);
        if (random_.Percent(30))
            SetValue(key, record, ValueName(), ValueText());
        keys.push_back(record);
        RegCloseKey(key);
    }

    Random random_;
    const FolderPool& pool_;
    int budget_ = random_.Between(3, 16);  // keys below the vendor keys
};

// A buffer of `capacity` characters between two runs of guard bytes.
class GuardedBuffer {
public:
    static constexpr size_t kGuard = 32;
    static constexpr char kGuardByte = static_cast<char>(0xA5);

    explicit GuardedBuffer(size_t capacity, const std::string& text = "")
        : bytes_(capacity + 2 * kGuard, kGuardByte), capacity_(capacity) {
        memcpy(data(), text.data(), text.size());
        data()[text.size()] = '\0';
    }
    char* data() { return bytes_.data() + kGuard; }
    size_t capacity() const { return capacity_; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (bytes_[i] != kGuardByte || bytes_[kGuard + capacity_ + i] != kGuardByte)
                return false;
        }
        return true;
    }
    bool Terminated() const { return memchr(bytes_.data() + kGuard, 0, capacity_) != nullptr; }

private:
    std::vector<char> bytes_;
    size_t capacity_;
};

using Problems = std::vector<std::string>;

void CheckBuffer(GuardedBuffer& buffer, const std::string& what, Problems& problems) {
    if (!buffer.GuardsIntact())
        problems.push_back(what + " wrote past its buffer");
    else if (!buffer.Terminated())
        problems.push_back(what + " left its buffer without a terminator");
}

// The readers over every key and value, into buffers of the least size they
// promise to fill. `values` bounds the walk over the key, which two records
// may share.
void CheckReaders(const SeededKey& key, size_t values, Problems& problems) {
    gState.use64BitView = key.use64BitView;
    const char* path = key.path.c_str();
    const std::string where = " on " + Printable(key.path);
    bool ended = false;
    for (size_t call = 0; call <= values && !ended; ++call) {
        GuardedBuffer name(kRegNameChars), data(kRegDataBytes + 1);
        ended = EnumRegValue(key.hive, path, name.data(), data.data()) != ERROR_SUCCESS;
        CheckBuffer(name, "EnumRegValue (name)" + where, problems);
        CheckBuffer(data, "EnumRegValue (data)" + where, problems);
    }
    if (!ended || gValueCursor != 0)
        problems.push_back("EnumRegValue did not end its walk" + where);
    gValueCursor = 0;
    for (const std::string& valueName : key.valueNames) {
        GuardedBuffer text(kRegDataBytes + 1);
        ReadRegString(key.hive, path, valueName.c_str(), text.data(), text.capacity());
        CheckBuffer(text, "ReadRegString" + where + " " + Printable(valueName), problems);
    }
    for (DWORD index = 0; index < 64; ++index) {
        GuardedBuffer name(kRegNameChars);
        LONG status = EnumRegSubkey(key.hive, path, name.data(), index);
        CheckBuffer(name, "EnumRegSubkey" + where, problems);
        if (status != ERROR_SUCCESS)
            break;
    }
    gState.use64BitView = 0;
}

bool LooksLikeDrivePath(const std::string& text) {
    size_t letter = 0;
    while (letter < text.size() && !IsCharAlphaA(text[letter]))
        ++letter;
    return letter + 1 < text.size() && text[letter + 1] == ':';
}

// The text routines over one value's text, each in a buffer no larger than
// it needs.
void CheckTextRoutines(const std::string& text, Problems& problems) {
    const size_t exact = text.size() + 1;
    auto run = [&](const char* routine, size_t capacity, const std::string& input, auto call) {
        GuardedBuffer buffer(capacity, input);
        call(buffer.data(), capacity);
        CheckBuffer(buffer, std::string(routine) + " of \"" + Printable(text) + "\"", problems);
    };
    run("SkipLeadingNonLetters", exact, text, [](char* t, size_t) { SkipLeadingNonLetters(t); });
    run("CutAfterLastChar", exact, text, [](char* t, size_t) { CutAfterLastChar(t, '\\'); });
    run("TitleCasePath", exact, text, [](char* t, size_t) { TitleCasePath(t); });
    run("EnsureTrailingBackslash", exact, text, EnsureTrailingBackslash);  // no room left
    run("EnsureTrailingBackslash", exact + 1, text, EnsureTrailingBackslash);
    if (text.size() >= kPathChars)
        return;
    run("JoinPath", kPathChars, "", [&](char* t, size_t) { JoinPath(t, "plug-ins", text.c_str()); });
    run("JoinPath (no folder)", kPathChars, text, [](char* t, size_t) { JoinPath(t, "plugin", nullptr); });
    if (!LooksLikeDrivePath(text))
        return;  // the product hands nothing else on, and trimming is slow
    run("TrimToExistingFolder", exact, text, [](char* t, size_t) { TrimToExistingFolder(t); });
    run("AddCandidateFolder", kPathChars, text, [](char* t, size_t) { AddCandidateFolder(t, "sweep"); });
}

void CheckLookups(Problems& problems) {
    struct Lookup {
        HKEY hive;
        const char* keyPath;
        const char* subkeyName;
    };
    const Lookup lookups[] = {
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "fireworks.exe"},
        {HKEY_CLASSES_ROOT, "PI3.Image", "shell\\open\\command"}};
    for (const Lookup& lookup : lookups) {
        GuardedBuffer folder(kPathChars);
        LookupAppFolder(lookup.hive, lookup.keyPath, lookup.subkeyName, folder.data());
        CheckBuffer(folder, std::string("LookupAppFolder of ") + lookup.subkeyName, problems);
    }
}

// The installer state outside what the discovery and the list may write.
constexpr unsigned char kStateFill = 0x5A;

struct StateField {
    size_t offset;
    size_t size;
    const char* name;
};
#define STATE_FIELD(field) \
    { offsetof(InstallerState, field), sizeof(InstallerState::field), #field }
const StateField kForeignFields[] = {
    STATE_FIELD(elementSlots), STATE_FIELD(instance),   STATE_FIELD(surface),    STATE_FIELD(finished),
    STATE_FIELD(browseInfo),   STATE_FIELD(exclusions), STATE_FIELD(linkOrigin), STATE_FIELD(optionsAnchor),
    STATE_FIELD(listMargin),   STATE_FIELD(textLeft),   STATE_FIELD(promptTop),  STATE_FIELD(failures),
};
const StateField kInstallPath = STATE_FIELD(installPath);
#undef STATE_FIELD

bool Untouched(const StateField& field) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&gState) + field.offset;
    for (size_t i = 0; i < field.size; ++i) {
        if (bytes[i] != kStateFill)
            return false;
    }
    return true;
}

void CheckState(const char* after, Problems& problems) {
    for (const StateField& field : kForeignFields) {
        if (!Untouched(field))
            problems.push_back(std::string(after) + " changed gState." + field.name);
    }
    bool free = false;
    for (const FolderCandidate& slot : gState.candidates.slots) {
        if (slot.appendVendorFolder != 1 || (slot.foundIn64BitView != 0 && slot.foundIn64BitView != 1))
            problems.push_back(std::string(after) + " changed a candidate's flags");
        if (!memchr(slot.path, 0, sizeof slot.path))
            problems.push_back(std::string(after) + " left a candidate without a terminator");
        else if (free && slot.path[0])
            problems.push_back(std::string(after) + " left a gap in the table");
        free = free || !slot.path[0];
    }
}

std::string Canonical(std::string path) {
    if (path.size() >= kPathChars)
        return path;
    char buffer[kPathChars];
    CopyText(buffer, path.c_str());
    return TitleCasePath(buffer);
}

// The folder list's rules.
void CheckList(const test::FakeView& view, const FolderPool& pool, Problems& problems) {
    const std::vector<std::string>& entries = view.entries;
    if (entries.empty() || entries.back() != kBrowseEntry) {
        problems.push_back("the list does not end with the BROWSE entry");
        return;
    }
    const size_t folders = entries.size() - 1;
    if (folders > kTableSlots)
        problems.push_back("the list holds " + std::to_string(folders) + " folders");
    if (gState.browseIndex != int(folders) || view.selected != 0)
        problems.push_back("the BROWSE index or the selection is wrong");
    if (entries[0].substr(0, kPathChars - 1) != gState.installPath)
        problems.push_back("the install path is not the selected entry");
    const std::string vendorFolder = "Halvorne\\";
    std::set<std::string> seen;
    for (size_t i = 0; i < folders; ++i) {
        const std::string& entry = entries[i];
        const std::string what = "entry \"" + Printable(entry) + "\"";
        if (entry.size() <= vendorFolder.size() ||
            entry.compare(entry.size() - vendorFolder.size(), vendorFolder.size(), vendorFolder) != 0) {
            problems.push_back(what + " does not end in Halvorne\\");
            continue;
        }
        const std::string folder = entry.substr(0, entry.size() - vendorFolder.size());
        char full[MAX_PATH * 2] = "";
        GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
        const bool absolute = folder.size() >= 3 && isupper(static_cast<unsigned char>(folder[0])) &&
                              folder[1] == ':' && folder[2] == '\\';
        if (!absolute || folder.back() != '\\' || Canonical(folder) != folder || folder != full)
            problems.push_back(what + " is not in canonical form (full path \"" + Printable(full) + "\")");
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            problems.push_back(what + " names no existing folder");
        if (!seen.insert(folder).second)
            problems.push_back(what + " is listed twice");
        if (folder == Canonical(pool.beyondReach + "\\"))
            problems.push_back(what + " was found below the deepest key the walk enters");
    }
}

// Builds, checks and removes one tree; returns what went wrong.
Problems SweepTree(uint64_t seed, const FolderPool& pool, size_t* listed) {
    Problems problems;
    SweptKeys swept;
    Tree tree(seed, pool);
    tree.Build();

    for (const SeededKey& key : tree.keys)
        CheckReaders(key, tree.texts.size(), problems);
    for (const std::string& text : tree.texts)
        CheckTextRoutines(text, problems);
    CheckLookups(problems);

    memset(&gState, kStateFill, sizeof gState);
    ResetSlots(gState.candidates.slots);
    os::SimulateWindows(seed % 5 == 4 ? os::SimulatedWindows::Windows32 : os::SimulatedWindows::Windows64);
    if (tree.createTrace)
        test::WriteFileBytes(kTraceFile, {});
    DiscoverCandidates();
    if (!Untouched(kInstallPath))
        problems.push_back("the discovery changed gState.installPath");
    CheckState("the discovery", problems);
    test::FakeView view;
    FillFolderList(view);
    CheckState("filling the list", problems);
    CheckList(view, pool, problems);
    *listed = view.entries.size() - 1;

    os::SimulateWindows(os::SimulatedWindows::Windows64);
    DeleteFileA(kTraceFile);
    return problems;
}

uint64_t Setting(const char* name, uint64_t fallback) {
    char text[32];
    DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length > 0 && length < sizeof text ? strtoull(text, nullptr, 10) : fallback;
}

TEST(HostileSweep, DiscoveryKeepsItsBuffersAndTheListItsRules) {
    static InstallerState saved;
    saved = gState;
    const uint64_t first = Setting("SWEEP_FIRST_SEED", 1);
    const uint64_t trees = Setting("SWEEP_TREES", 300);
    int listing = 0, full = 0;
    std::vector<uint64_t> failing;
    const ULONGLONG start = GetTickCount64();
    {
        FolderPool pool;
        for (uint64_t seed = first; seed < first + trees; ++seed) {
            size_t listed = 0;
            Problems problems = SweepTree(seed, pool, &listed);
            listing += listed > 0;
            full += listed == kTableSlots;
            if (problems.empty())
                continue;
            failing.push_back(seed);
            for (size_t i = 0; i < problems.size() && i < 5; ++i)
                ADD_FAILURE() << "seed " << seed << ": " << problems[i];
        }
    }
    gState = saved;
    printf("%llu trees from seed %llu in %.1f s: %d listed folders, %d filled the table\n",
           static_cast<unsigned long long>(trees), static_cast<unsigned long long>(first),
           (GetTickCount64() - start) / 1000.0, listing, full);
    if (!failing.empty()) {
        printf("seeds with findings:");
        for (uint64_t seed : failing)
            printf(" %llu", static_cast<unsigned long long>(seed));
        printf("\n");
    }
    // A sweep whose trees list nothing, or never fill the table, tests little.
    if (trees >= 100) {
        EXPECT_GT(listing, int(trees / 2));
        EXPECT_GT(full, 0);
    }
}

}  // namespace
