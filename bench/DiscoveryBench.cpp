// The discovery over synthetic vendor trees of about 1,000, 4,000 and 16,000
// keys, half below HKCU\Software\Adobe and half below the 32-bit view of
// HKLM\Software\Adobe, in a key whose name holds "photoshop". Every key has
// three values; one key in eight holds a plug-in folder that the discovery
// accepts, half of them existing folders. The trees are deleted at the end.
//
// Usage: discovery_bench [runs] [sizes...]
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "installer/InstallerFlow.h"
#include "installer/InstallerState.h"

namespace {

const char kTreeRoot[] = "Software\\Adobe\\Photoshop Bench";
constexpr int kFanOut = 16;
constexpr int kValuesPerKey = 3;
constexpr int kHostFolders = 4;

struct Hive {
    HKEY root;
    REGSAM view;
};
// HKCU\Software is one key for both views; HKLM's 32-bit view is the one the
// installer reads in its normal pass.
const Hive kHives[] = {{HKEY_CURRENT_USER, 0}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};

std::string gHostBase;

std::string HostFolder(int n) {
    return gHostBase + "Host " + std::to_string(n) + "\\Plug-ins";
}

void MakeHostFolders() {
    gHostBase = bench::TempSubfolder("tkbench-hosts");
    for (int n = 0; n < kHostFolders; ++n) {
        CreateDirectoryA((gHostBase + "Host " + std::to_string(n)).c_str(), nullptr);
        CreateDirectoryA(HostFolder(n).c_str(), nullptr);
    }
}

// Creates `count` keys below the tree root, level by level with kFanOut
// children per key (a vendor tree is wide rather than deep), and returns their paths relative to the root.
// Every key is created below its open parent, so no create names a long path.
std::vector<std::string> SeedKeys(const Hive& hive, int count) {
    std::vector<std::string> paths;
    HKEY root;
    if (RegCreateKeyExA(hive.root, kTreeRoot, 0, nullptr, 0, KEY_ALL_ACCESS | hive.view, nullptr, &root,
                        nullptr) != ERROR_SUCCESS) {
        fprintf(stderr, "cannot create the tree root\n");
        return paths;
    }
    for (size_t parent = 0; static_cast<int>(paths.size()) < count; ++parent) {
        HKEY parentKey = root;
        const std::string parentPath = parent == 0 ? "" : paths[parent - 1];
        if (parent > 0)
            RegOpenKeyExA(root, parentPath.c_str(), 0, KEY_ALL_ACCESS | hive.view, &parentKey);
        for (int child = 0; child < kFanOut && static_cast<int>(paths.size()) < count; ++child) {
            const std::string name = "k" + std::to_string(child);
            HKEY key;
            if (RegCreateKeyExA(parentKey, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | hive.view, nullptr,
                                &key, nullptr) == ERROR_SUCCESS)
                RegCloseKey(key);
            paths.push_back(parentPath.empty() ? name : parentPath + "\\" + name);
        }
        if (parentKey != root)
            RegCloseKey(parentKey);
    }
    RegCloseKey(root);
    return paths;
}

void SetString(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// Three values per key. One key in sixteen names an existing plug-in folder
// (one of four), one in sixteen a folder that does not exist; both are
// accepted by their name. The others are refused: no drive path, or a drive
// path under a name the discovery does not look for.
void SeedValues(const Hive& hive, const std::vector<std::string>& paths) {
    HKEY root;
    if (RegOpenKeyExA(hive.root, kTreeRoot, 0, KEY_ALL_ACCESS | hive.view, &root) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < paths.size(); ++i) {
        HKEY key;
        if (RegOpenKeyExA(root, paths[i].c_str(), 0, KEY_ALL_ACCESS | hive.view, &key) != ERROR_SUCCESS)
            continue;
        SetString(key, "Version", "13.0." + std::to_string(i));
        SetString(key, "InstallPath", "C:\\Program Files\\Bench " + std::to_string(i));
        if (i % 16 == 0)
            SetString(key, "PluginPath", HostFolder(static_cast<int>(i / 16) % kHostFolders));
        else if (i % 16 == 8)
            SetString(key, "PluginPath", "C:\\Missing Bench\\Plug-ins " + std::to_string(i));
        else
            SetString(key, "Language", "en_US");
        RegCloseKey(key);
    }
    RegCloseKey(root);
}

// Deletes the trees, and the vendor key when nothing else is left in it.
void DeleteTrees() {
    for (const Hive& hive : kHives) {
        bench::DeleteRegistryTree(hive.root, kTreeRoot, hive.view);
        RegDeleteKeyExA(hive.root, "Software\\Adobe", hive.view, 0);
    }
}

// The discovery, run `runs` times on a fresh candidate table each time.
std::vector<double> TimeDiscovery(int runs, int* found) {
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        ResetSlots(gState.candidates.slots);
        const double start = bench::NowMicroseconds();
        DiscoverCandidates();
        samples.push_back(bench::NowMicroseconds() - start);
    }
    *found = 0;
    while (*found < kTableSlots && gState.candidates.slots[*found].path[0])
        ++*found;
    return samples;
}

// What one open and close of a key costs, as the discovery opens it (through
// the installer's view layer, by its full path), at two depths in each hive.
void ReportOpenCost(const std::vector<std::vector<std::string>>& paths) {
    for (size_t h = 0; h < paths.size(); ++h) {
        for (const std::string* relative : {&paths[h].front(), &paths[h].back()}) {
            const std::string path = std::string(kTreeRoot) + "\\" + *relative;
            std::vector<double> samples;
            for (int round = 0; round < 5; ++round) {
                const double start = bench::NowMicroseconds();
                for (int i = 0; i < 100; ++i) {
                    HKEY key;
                    if (os::RegOpenKeyExA(kHives[h].root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
                        RegCloseKey(key);
                }
                samples.push_back((bench::NowMicroseconds() - start) / 100);
            }
            char name[160];
            int parts = 1;
            for (char c : path)
                parts += c == '\\';
            wsprintfA(name, "  open and close, %s, %d-part path", h == 0 ? "HKCU" : "HKLM 32-bit view",
                      parts);
            bench::Report(name, samples, "us");
        }
    }
}

struct Result {
    int walked;
    double time;  // median microseconds, less the run without vendor keys
};

// The levels below the tree root that `count` keys fill.
int Levels(int count) {
    int levels = 0;
    for (int level = kFanOut; count > 0; level *= kFanOut, ++levels)
        count -= level;
    return levels;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 5;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 4000, 16000};
    gState.instance = GetModuleHandleA(nullptr);
    MakeHostFolders();
    DeleteTrees();

    int found = 0;
    const std::vector<double> empty = TimeDiscovery(runs, &found);
    bench::Report("discovery, no vendor keys", empty, "us");
    const double base = bench::Median(empty);

    std::vector<Result> results;
    for (int size : sizes) {
        // HKCU's tree is walked twice: in the 64-bit view's pass and in the
        // normal pass (HKCU\Software is shared); HKLM's 32-bit tree once.
        const int perHive = size / 2;
        const int walked = 3 * perHive;
        const int values = walked * kValuesPerKey;
        double seedStart = bench::NowMicroseconds();
        std::vector<std::vector<std::string>> paths;
        for (const Hive& hive : kHives)
            paths.push_back(SeedKeys(hive, perHive));
        double seeding = bench::NowMicroseconds() - seedStart;
        // The smallest tree is also timed with its keys alone, to part the
        // cost of a key from the cost of a value.
        std::vector<double> keysOnly;
        if (size == sizes.front())
            keysOnly = TimeDiscovery(runs, &found);
        seedStart = bench::NowMicroseconds();
        for (size_t h = 0; h < paths.size(); ++h)
            SeedValues(kHives[h], paths[h]);
        seeding += bench::NowMicroseconds() - seedStart;
        const std::vector<double> withValues = TimeDiscovery(runs, &found);

        printf(
            "\n%d keys (%d in each hive, %d levels below the product key, %d values each; seeded in %.1f s)\n"
            "%d keys and %d values walked, %d folders found\n",
            2 * perHive, perHive, Levels(perHive), kValuesPerKey, seeding / 1e6, walked, values, found);
        bench::Report("  discovery", withValues, "us");
        const double time = bench::Median(withValues) - base;
        printf(
            "  %.1f us per key walked, or %.1f us per value read (median less the run without vendor keys)\n",
            time / walked, time / values);
        if (!keysOnly.empty()) {
            bench::Report("  discovery, the same keys without values", keysOnly, "us");
            const double keyTime = bench::Median(keysOnly) - base;
            printf("  apart: %.1f us per key without values, %.1f us per value added\n", keyTime / walked,
                   (time - keyTime) / values);
        }
        results.push_back({walked, time});
        if (size == sizes.back())
            ReportOpenCost(paths);
        DeleteTrees();
    }

    if (results.size() >= 2) {
        const Result& first = results.front();
        const Result& last = results.back();
        const double scale = static_cast<double>(last.walked) / first.walked;
        printf("\nGrowth: %d to %d keys walked (x%.1f), time x%.1f, exponent %.2f (1.00 is linear)\n",
               first.walked, last.walked, scale, last.time / first.time,
               log(last.time / first.time) / log(scale));
        for (const Result& result : results)
            printf("  %6d keys walked: %.1f us per key\n", result.walked, result.time / result.walked);
    }
    bench::RemoveFolderTree(gHostBase);
    return 0;
}
