#include "discovery/VendorKeyCrawler.h"

#include "discovery/AppPathLookups.h"
#include "discovery/CandidateTable.h"
#include "discovery/RegistryReaders.h"
#include "installer/InstallerState.h"

namespace {

// A source tag holds the hive's name, a key path and a value name with their
// separators: larger than a key path, so that no tag is ever cut.
constexpr int kTagChars = 24 + kPathChars + kRegNameChars + 8;

void LowerCase(char* text) {
    for (; *text; ++text) {
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text - 'A' + 'a');
    }
}

// Decides whether a value names a plug-in folder; may append the suffix.
bool AcceptValue(char* keyPath, char* name, char* data, const char* productWord, const char* nameFilter,
                 const char* dataSuffix) {
    if (!data[0])
        return false;
    SkipLeadingNonLetters(data);
    if (!data[0] || data[1] != ':')
        return false;
    LowerCase(keyPath);
    if (!ContainsText(keyPath, productWord))
        return false;
    if (ContainsText(keyPath, "plug"))
        return true;
    LowerCase(name);
    if (ContainsText(name, "plug") || ContainsText(name, "directory1") || ContainsText(name, "directory2") ||
        ContainsText(name, "directory3"))
        return true;
    if (!nameFilter || !ContainsText(name, nameFilter))
        return false;
    if (dataSuffix)
        AppendText(data, kPathChars, dataSuffix);
    return true;
}

void ScanValues(HKEY hive, const char* hiveName, char* keyPath, const char* productWord, const char* nameFilter,
                const char* dataSuffix) {
    char name[kPathChars];
    char data[kPathChars];
    while (EnumRegValue(hive, keyPath, name, data) == ERROR_SUCCESS) {
        if (!AcceptValue(keyPath, name, data, productWord, nameFilter, dataSuffix))
            continue;
        char tag[kTagChars];
        CopyText(tag, hiveName);
        AppendText(tag, "  ");
        AppendText(tag, keyPath);
        AppendText(tag, "  ");
        AppendText(tag, name);
        AppendText(tag, "  ");
        AddCandidateFolder(data, tag);
    }
}

}  // namespace

bool KeyPathStack::Push(char* keyPath, const char* subkeyName, int* currentIndex) {
    const int length = lstrlenA(keyPath);
    if (top + 1 >= kLevels || length + 1 + lstrlenA(subkeyName) >= kPathChars)
        return false;
    ++top;
    subkeyIndex[top] = *currentIndex;
    pathLength[top] = length;
    AppendText(keyPath, kPathChars, "\\");
    AppendText(keyPath, kPathChars, subkeyName);
    *currentIndex = 0;
    return true;
}

int KeyPathStack::Pop(char* keyPath) {
    if (top < 0) {
        top = -1;
        return -1;
    }
    keyPath[pathLength[top]] = '\0';
    return subkeyIndex[top--];
}

void ScanVendorKeys(const char* root, const char* vendor, const char* productWord, const char* nameFilter,
                    const char* dataSuffix) {
    struct Hive {
        HKEY key;
        const char* name;  // both names take 18 characters
    };
    const Hive hives[] = {{HKEY_CURRENT_USER, "HKEY_CURRENT_USER "}, {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}};

    KeyPathStack stack;
    for (const Hive& hive : hives) {
        char keyPath[kPathChars];
        CopyText(keyPath, root);
        AppendText(keyPath, "\\");
        AppendText(keyPath, vendor);
        int index = 0;
        ScanValues(hive.key, hive.name, keyPath, productWord, nameFilter, dataSuffix);
        for (;;) {
            char subkey[kRegNameChars];
            if (EnumRegSubkey(hive.key, keyPath, subkey, index) == ERROR_SUCCESS) {
                // A key too deep, or whose path would not fit, is passed
                // over; its siblings are still walked.
                if (stack.Push(keyPath, subkey, &index))
                    ScanValues(hive.key, hive.name, keyPath, productWord, nameFilter, dataSuffix);
                else
                    ++index;
                continue;
            }
            int parentIndex = stack.Pop(keyPath);
            if (parentIndex < 0)
                break;
            index = parentIndex + 1;
        }
    }
}
