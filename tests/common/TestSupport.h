// Fixtures shared by the test programs: real folders, real registry keys and
// real files on the Wine prefix's drives.
#pragma once

#include <string>
#include <vector>

#include "platform/Os.h"

namespace test {

// A new empty folder below the temporary folder, removed with everything in
// it at the end. path() ends with a backslash.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Deletes a registry key with everything below it when the test starts and
// again when it ends.
class ScopedRegistryKey {
public:
    ScopedRegistryKey(HKEY root, std::string subKey, REGSAM view = 0);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

private:
    HKEY root_;
    std::string subKey_;
    REGSAM view_;
};

// A file of the build tree as Wine names it: the root folder is Z:.
std::string WinePath(const std::string& unixPath);

bool FileExists(const std::string& path);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// The names of the files in a folder, sorted.
std::vector<std::string> ListFolder(const std::string& folder);
void RemoveTree(const std::string& folder);

// The bytes of a resource of this test program.
std::vector<unsigned char> ResourceBytes(const char* name, int type);

// Writes a value below a key, creating the key; `view` is KEY_WOW64_32KEY,
// KEY_WOW64_64KEY or 0. The system call is used directly, not the installer's
// view layer, so a test seeds exactly the view it names.
void SetRegistryValue(HKEY root, const std::string& subKey, const char* name, DWORD type,
                      const void* data, DWORD size, REGSAM view = 0);
void SetRegistryString(HKEY root, const std::string& subKey, const char* name,
                       const std::string& text, REGSAM view = 0);
// The data of a value, or nothing when it cannot be read; `type` receives its type.
std::vector<unsigned char> GetRegistryValue(HKEY root, const std::string& subKey, const char* name,
                                            DWORD* type = nullptr, REGSAM view = 0);
// The names of a key's values, in the order the registry enumerates them.
std::vector<std::string> RegistryValueNames(HKEY root, const std::string& subKey, REGSAM view = 0);

}  // namespace test
