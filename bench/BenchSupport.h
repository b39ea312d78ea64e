// Timing helpers of the benchmark programs: repeated runs, median and spread.
#pragma once

#include <stdio.h>

#include <algorithm>
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
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, samples.front(), samples.back()};
}

// Prints one result line: name, median, min, max, unit, and the run count.
inline void Report(const char* name, const std::vector<double>& samples, const char* unit) {
    Stats s = Summarise(samples);
    printf("%-44s median %10.1f  min %10.1f  max %10.1f  %s  (%u runs)\n", name, s.median, s.min, s.max, unit,
           static_cast<unsigned>(samples.size()));
}

inline void ReportRatio(const char* name, const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(a[i] / b[i]);
    Report(name, ratios, "x");
}

}  // namespace bench
