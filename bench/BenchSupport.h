// Timing helpers of the benchmark programs: repeated runs, median and spread,
// and the small registry and folder chores they share.
#pragma once

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Os.h"

namespace bench {

inline double NowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1e6 / frequency.QuadPart;
}

struct Stats {
    double median;
    double min;
    double max;
};

inline Stats Summarise(std::vector<double> samples) {
    if (samples.empty())
        return {0, 0, 0};
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, samples.front(), samples.back()};
}

inline double Median(const std::vector<double>& samples) {
    return Summarise(samples).median;
}

// Prints one result line: name, median, min, max, unit, and the run count.
inline void Report(const char* name, const std::vector<double>& samples, const char* unit) {
    Stats s = Summarise(samples);
    printf("%-46s median %10.1f  min %10.1f  max %10.1f  %s  (%u runs)\n", name, s.median, s.min, s.max, unit,
           static_cast<unsigned>(samples.size()));
}

// The ratio of each run of `a` to the run of `b` measured beside it, and the
// ratio of the two best runs: the figure least touched by a busy machine.
inline void ReportRatio(const char* name, const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(a[i] / b[i]);
    Stats s = Summarise(ratios);
    printf("%-46s median %10.2f  min %10.2f  max %10.2f  x  (%u pairs; best/best %.2f)\n", name, s.median,
           s.min, s.max, static_cast<unsigned>(ratios.size()), Summarise(a).min / Summarise(b).min);
}

// Deletes a key with everything below it; `view` is 0, KEY_WOW64_32KEY or
// KEY_WOW64_64KEY. The system's own calls, not the installer's view layer.
inline void DeleteRegistryTree(HKEY root, const char* subKey, REGSAM view = 0) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
    }
    RegDeleteKeyExA(root, subKey, view, 0);
}

// A folder below the temporary folder, created if needed; ends in a backslash.
inline std::string TempSubfolder(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string path = std::string(base) + name + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// Removes a folder with everything in it.
inline void RemoveFolderTree(const std::string& folder) {
    std::string dir = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(dir + name);
            } else {
                SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((dir + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace bench
