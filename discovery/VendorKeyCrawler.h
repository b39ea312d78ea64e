// Finds plug-in folder values anywhere below an image editor vendor's key.
#pragma once

// The walk's position below the vendor key.
struct KeyPathStack {
    static constexpr int kLevels = 19;  // keys deeper below the vendor key are passed over
    int top = -1;
    int subkeyIndex[kLevels];
    int pathLength[kLevels];

    // Enters `subkeyName` below `keyPath` (kPathChars characters); false,
    // changing nothing, when the stack is full or the path would not fit.
    bool Push(char* keyPath, const char* subkeyName, int* currentIndex);
    // Leaves the deepest sub-key; returns its index in its parent, or -1 on
    // an empty stack.
    int Pop(char* keyPath);
};

// Walks HKCU and then HKLM below `root`\`vendor`, depth first, and hands
// every string value that names a plug-in folder to AddCandidateFolder.
// `productWord` must occur in the key path; `nameFilter` (optional) accepts
// further values by name, with `dataSuffix` (optional) appended to them.
void ScanVendorKeys(const char* root, const char* vendor, const char* productWord, const char* nameFilter,
                    const char* dataSuffix);
