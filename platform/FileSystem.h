#pragma once
// The file-system tests and changes the program makes. Paths are UTF-8.

#include <string>

// An existing regular file: a directory of that name does not count.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
std::string CurrentDirectory();

// Creates directory together with its missing parents, ignoring whether each
// creation succeeds. Raises "ディレクトリを作成できません" for an empty text,
// and for a relative path (no drive, no leading "\") whose missing first
// level is three bytes or longer in code page 932; a missing first level of
// one or two bytes is left alone, and the levels below it then fail silently.
void ForceDirectories(std::string directory);
