#pragma once
// Files and directories the driver arranges and inspects (UTF-8 paths).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Build-tree paths come in as Unix paths; Wine shows the Unix root as Z:.
std::string FromUnixPath(const std::string& path);

Bytes ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
bool PathExists(const std::string& path);
bool MakeDirectory(const std::string& path);
void RemoveTree(const std::string& dir);
// The names in dir, without "." and "..".
std::vector<std::string> DirectoryEntries(const std::string& dir);

// What a file holds, short enough for a failure message: its size and a checksum.
std::string ContentTag(const Bytes& bytes);

// Every file below dir with its ContentTag, by path relative to dir; directories as
// entries of their own (ending in "\", tagged "directory"), so an empty new one shows too.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot SnapshotTree(const std::string& dir);
