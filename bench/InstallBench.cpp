// Installing the whole payload (both types, as for a folder without a
// bitness marker) into an empty folder and over an existing install, side by
// side with CopyFileA of the same bytes from files on the same drive. The
// install is also timed without its preset values (the files alone) and the
// preset values alone, since the copy writes no registry.
#include <stdio.h>

#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "installer/InstallerState.h"
#include "payload/Extractor.h"

namespace {

const char* const kItems[][2] = {
    {"TRAZEL__KUNDOR(X64).8BF", "TrazelKundor(X64).8bf"},
    {"TRAZEL__KUNDOR3.8BF", "TrazelKundor3.8bf"},
    {"STROKES.8TX", "Strokes.8tx"},
};
const int kTypes[] = {3001, 3000, 3000};
const char kPresetKey[] = "Software\\Halvorne\\TrazelKundor";

void EmptyFolder(const std::string& folder) {
    for (auto& item : kItems)
        DeleteFileA((folder + item[1]).c_str());
}

// The embedded items, written once as the baseline's source files.
void WriteSources(const std::string& folder) {
    HMODULE self = GetModuleHandleA(nullptr);
    for (int i = 0; i < 3; ++i) {
        HRSRC found = FindResourceA(self, kItems[i][0], MAKEINTRESOURCEA(kTypes[i]));
        DWORD size = SizeofResource(self, found);
        const void* data = LockResource(LoadResource(self, found));
        HANDLE file = CreateFileA((folder + kItems[i][1]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  0, nullptr);
        DWORD written;
        WriteFile(file, data, size, &written, nullptr);
        CloseHandle(file);
    }
}

enum Part { kWhole, kFilesOnly, kPresetsOnly };

// One install of both payload types, as the install operation runs it.
double TimeInstall(const std::string& folder, Part part) {
    CopyText(gState.installPath, folder.c_str());
    ResetInstallRecords();
    if (part == kFilesOnly)
        ExcludeComponent("PresetsTrazels");
    if (part == kPresetsOnly) {
        ExcludeComponent("TrazelKundor");
        ExcludeComponent("Strokes");
    }
    double start = bench::NowMicroseconds();
    EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(3001), ExtractPayloadItem, 3001);
    EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(3000), ExtractPayloadItem, 3000);
    double elapsed = bench::NowMicroseconds() - start;
    if (gState.failures.count)
        fprintf(stderr, "install failed: %s\n", gState.failures.items[0].fileName);
    return elapsed;
}

double TimeCopy(const std::string& from, const std::string& to) {
    double start = bench::NowMicroseconds();
    for (auto& item : kItems) {
        if (!CopyFileA((from + item[1]).c_str(), (to + item[1]).c_str(), FALSE))
            fprintf(stderr, "copy failed: %s\n", item[1]);
    }
    return bench::NowMicroseconds() - start;
}

// A fresh machine: no files in the folder, no preset key.
void MakeEmpty(const std::string& folder) {
    EmptyFolder(folder);
    bench::DeleteRegistryTree(HKEY_CURRENT_USER, kPresetKey);
}

struct Samples {
    std::vector<double> empty, over;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 7;
    gState.instance = GetModuleHandleA(nullptr);
    const std::string sources = bench::TempSubfolder("tkbench-src");
    const std::string target = bench::TempSubfolder("tkbench-dst");
    WriteSources(sources);

    Samples copy, whole, files, presets;
    for (int run = 0; run < runs; ++run) {
        // Each round measures every case back to back, so that the machine's
        // noise falls on all of them alike; the order turns round every
        // other round, so that neither side always goes first.
        for (int step = 0; step < 4; ++step) {
            const int which = run % 2 ? 3 - step : step;
            Samples& into = which == 0 ? copy : which == 1 ? whole : which == 2 ? files : presets;
            MakeEmpty(target);
            if (which == 0) {
                into.empty.push_back(TimeCopy(sources, target));
                into.over.push_back(TimeCopy(sources, target));
            } else {
                const Part part = which == 1 ? kWhole : which == 2 ? kFilesOnly : kPresetsOnly;
                into.empty.push_back(TimeInstall(target, part));
                into.over.push_back(TimeInstall(target, part));
            }
        }
    }
    MakeEmpty(target);
    EmptyFolder(sources);
    RemoveDirectoryA(target.c_str());
    RemoveDirectoryA(sources.c_str());
    bench::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Halvorne");

    bench::Report("CopyFileA of the three files, empty folder", copy.empty, "us");
    bench::Report("install, whole payload, empty folder", whole.empty, "us");
    bench::ReportRatio("  ratio install/copy, empty folder", whole.empty, copy.empty);
    bench::Report("install, files only, empty folder", files.empty, "us");
    bench::ReportRatio("  ratio files only/copy, empty folder", files.empty, copy.empty);
    bench::Report("the 12 preset values alone, new key", presets.empty, "us");
    printf("\n");
    bench::Report("CopyFileA of the three files, over them", copy.over, "us");
    bench::Report("install, whole payload, over an install", whole.over, "us");
    bench::ReportRatio("  ratio install/copy, over existing", whole.over, copy.over);
    bench::Report("install, files only, over an install", files.over, "us");
    bench::ReportRatio("  ratio files only/copy, over existing", files.over, copy.over);
    bench::Report("the 12 preset values alone, existing key", presets.over, "us");
    return 0;
}
