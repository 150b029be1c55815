#include "Corpus.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

Bytes ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    Bytes bytes(fs::file_size(path));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

void WriteWholeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path PackedPath(const CorpusFile& file) {
    fs::path packed = file.path;
    packed += PackedExtension;
    return packed;
}

std::vector<CorpusFile> LoadCorpus(const fs::path& directory) {
    std::vector<CorpusFile> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name[0] == '.' || entry.path().extension() == PackedExtension)
            continue;
        files.push_back({name, entry.path(), ReadWholeFile(entry.path())});
    }
    if (files.empty()) throw std::runtime_error("no files in " + directory.string());
    std::sort(files.begin(), files.end(),
              [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
    return files;
}
