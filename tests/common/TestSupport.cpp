#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace test {

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 32];
        wsprintfA(name, "%stk%lu_%u\\", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& folder) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string subKey, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), view_(view) {
    RegDeleteKeyExA(root_, subKey_.c_str(), view_, 0);  // a leftover of an earlier run
    HKEY key;
    if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_ALL_ACCESS | view_, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExA(root_, subKey_.c_str(), view_, 0);
    }
}

ScopedRegistryKey::~ScopedRegistryKey() {
    HKEY key;
    if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_ALL_ACCESS | view_, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
    }
    RegDeleteKeyExA(root_, subKey_.c_str(), view_, 0);
}

std::string WinePath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> ResourceBytes(const char* name, int type) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, name, MAKEINTRESOURCEA(type));
    if (!found)
        return {};
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(self, found));
}

// Creates the key one part at a time: Wine refuses a single create whose
// path runs past 255 characters, though every part of it is allowed.
HKEY CreateKeyPath(HKEY root, const std::string& subKey, REGSAM view) {
    HKEY key = root;
    size_t start = 0;
    while (start <= subKey.size()) {
        size_t end = subKey.find('\\', start);
        if (end == std::string::npos)
            end = subKey.size();
        HKEY next = nullptr;
        LONG status = RegCreateKeyExA(key, subKey.substr(start, end - start).c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS | view, nullptr, &next, nullptr);
        if (key != root)
            RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create " << subKey << ": " << status;
            return nullptr;
        }
        key = next;
        start = end + 1;
    }
    return key;
}

void SetRegistryValue(HKEY root, const std::string& subKey, const char* name, DWORD type,
                      const void* data, DWORD size, REGSAM view) {
    HKEY key = CreateKeyPath(root, subKey, view);
    if (!key)
        return;
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetRegistryString(HKEY root, const std::string& subKey, const char* name, const std::string& text,
                       REGSAM view) {
    SetRegistryValue(root, subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1), view);
}

std::vector<unsigned char> GetRegistryValue(HKEY root, const std::string& subKey, const char* name,
                                            DWORD* type, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    DWORD valueType = 0;
    std::vector<unsigned char> data;
    if (RegQueryValueExA(key, name, nullptr, &valueType, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        RegQueryValueExA(key, name, nullptr, &valueType, data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    if (type)
        *type = valueType;
    return data;
}

std::vector<std::string> RegistryValueNames(HKEY root, const std::string& subKey, REGSAM view) {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

}  // namespace test
