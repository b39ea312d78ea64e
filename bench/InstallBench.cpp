// Installing the whole payload (both types, as for a folder without a
// bitness marker) into an empty folder and over an existing install, side by
// side with CopyFileA of the same bytes from files on the same drive.
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

std::string MakeFolder(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string path = std::string(base) + name + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

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
        HANDLE file = CreateFileA((folder + kItems[i][1]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                  nullptr);
        DWORD written;
        WriteFile(file, data, size, &written, nullptr);
        CloseHandle(file);
    }
}

double TimeInstall(const std::string& folder) {
    CopyText(gState.installPath, folder.c_str());
    ResetInstallRecords();
    double start = bench::NowMicroseconds();
    EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(3001), ExtractPayloadItem, 3001);
    EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(3000), ExtractPayloadItem, 3000);
    double elapsed = bench::NowMicroseconds() - start;
    if (gState.failures.count)
        fprintf(stderr, "install failed: %s\n", gState.failures.items[0].fileName);
    return elapsed;
}

// Only the preset set: every file item excluded.
double TimePresets(const std::string& folder) {
    CopyText(gState.installPath, folder.c_str());
    ResetInstallRecords();
    ExcludeComponent("TrazelKundor");
    ExcludeComponent("Strokes");
    double start = bench::NowMicroseconds();
    EnumResourceNamesA(gState.instance, MAKEINTRESOURCEA(3000), ExtractPayloadItem, 3000);
    return bench::NowMicroseconds() - start;
}

double TimeCopy(const std::string& from, const std::string& to) {
    double start = bench::NowMicroseconds();
    for (auto& item : kItems)
        CopyFileA((from + item[1]).c_str(), (to + item[1]).c_str(), FALSE);
    return bench::NowMicroseconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 7;
    gState.instance = GetModuleHandleA(nullptr);
    const std::string sources = MakeFolder("tkbench-src");
    const std::string target = MakeFolder("tkbench-dst");
    WriteSources(sources);

    std::vector<double> installEmpty, installOver, copyEmpty, copyOver, presets;
    for (int run = 0; run < runs; ++run) {
        // Each round measures the four cases back to back, so that the
        // machine's noise falls on all of them alike.
        EmptyFolder(target);
        copyEmpty.push_back(TimeCopy(sources, target));
        copyOver.push_back(TimeCopy(sources, target));
        EmptyFolder(target);
        installEmpty.push_back(TimeInstall(target));
        installOver.push_back(TimeInstall(target));
        presets.push_back(TimePresets(target));
    }
    EmptyFolder(target);
    EmptyFolder(sources);
    RemoveDirectoryA(target.c_str());
    RemoveDirectoryA(sources.c_str());

    bench::Report("install payload, empty folder", installEmpty, "us");
    bench::Report("CopyFileA same bytes, empty folder", copyEmpty, "us");
    bench::ReportRatio("ratio install/copy, empty folder", installEmpty, copyEmpty);
    bench::Report("install payload, over existing install", installOver, "us");
    bench::Report("CopyFileA same bytes, over existing files", copyOver, "us");
    bench::ReportRatio("ratio install/copy, over existing", installOver, copyOver);
    bench::Report("of which the 12 preset values alone", presets, "us");
    return 0;
}
