#pragma once
// Whole-file reads and writes for the command line. Failures raise Exception
// with the path and the system's reason.

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Writes a temporary file beside path and renames it over path, so a failure
// never leaves path created or changed.
void ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes);
