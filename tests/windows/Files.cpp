#include "Files.h"

#include <windows.h>

#include "Unicode.h"

namespace {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SnapshotInto(TreeSnapshot& snapshot, const std::string& dir, const std::string& prefix) {
    for (const std::string& name : DirectoryEntries(dir)) {
        const std::string path = dir + "\\" + name;
        if (IsDirectory(path)) {
            snapshot[prefix + name + "\\"] = "directory";
            SnapshotInto(snapshot, path, prefix + name + "\\");
        } else {
            snapshot[prefix + name] = ContentTag(ReadFileBytes(path));
        }
    }
}

}  // namespace

std::vector<std::string> DirectoryEntries(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string FromUnixPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

Bytes ReadFileBytes(const std::string& path) {
    Bytes bytes;
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool PathExists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeDirectory(const std::string& path) { return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE; }

void RemoveTree(const std::string& dir) {
    for (const std::string& name : DirectoryEntries(dir)) {
        const std::string path = dir + "\\" + name;
        SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (IsDirectory(path))
            RemoveTree(path);
        else
            DeleteFileW(Widen(path).c_str());
    }
    RemoveDirectoryW(Widen(dir).c_str());
}

std::string ContentTag(const Bytes& bytes) {
    // FNV-1a: any change of a byte shows; nothing here needs a cryptographic digest.
    uint32_t hash = 2166136261u;
    for (uint8_t byte : bytes) hash = (hash ^ byte) * 16777619u;
    char tag[64];
    wsprintfA(tag, "%u bytes, FNV-1a %08x", unsigned(bytes.size()), unsigned(hash));
    return tag;
}

TreeSnapshot SnapshotTree(const std::string& dir) {
    TreeSnapshot snapshot;
    SnapshotInto(snapshot, dir, "");
    return snapshot;
}
