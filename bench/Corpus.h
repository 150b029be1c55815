#pragma once
// The benchmark's input files: every file of a directory except the packed .qz
// copies and hidden files, in name order.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct CorpusFile {
    std::string name;
    std::filesystem::path path;
    Bytes bytes;
};

constexpr const char* PackedExtension = ".qz";

std::vector<CorpusFile> LoadCorpus(const std::filesystem::path& directory);

// The whole file, or std::runtime_error.
Bytes ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const Bytes& bytes);

// Where the packed copy of a corpus file lives: beside it, with .qz appended.
std::filesystem::path PackedPath(const CorpusFile& file);
