#include "FileSystem.h"

#include <windows.h>

#include "Exception.h"
#include "Unicode.h"

namespace {

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()); }

// Path lengths are measured as the code page 932 text that the product's
// paths are, whatever the system's own code page.
size_t AnsiLength(const std::string& text) {
    const std::wstring wide = Widen(text);
    return size_t(WideCharToMultiByte(932, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr));
}

// Everything up to and including the last "\" or ":"; empty for a bare name.
std::string ParentPath(const std::string& path) {
    const size_t separator = path.find_last_of("\\:");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

bool FileExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory() {
    std::wstring directory(MAX_PATH, L'\0');
    DWORD length = GetCurrentDirectoryW(DWORD(directory.size()), &directory[0]);
    if (length >= directory.size()) {
        directory.resize(length);
        length = GetCurrentDirectoryW(DWORD(directory.size()), &directory[0]);
    }
    directory.resize(length);
    return Narrow(directory);
}

// Walks up to the first level that exists or cannot be split further, then
// creates the levels below it on the way back. A relative path reaches the
// empty text, which raises, once its first level is long enough to be tried.
void ForceDirectories(std::string directory) {
    if (directory.empty()) throw Exception("ディレクトリを作成できません");
    if (directory.back() == '\\') directory.pop_back();
    // Under three bytes stops at a drive ("C:") and a root ("\").
    if (AnsiLength(directory) < 3 || DirectoryExists(directory) || ParentPath(directory) == directory) return;
    ForceDirectories(ParentPath(directory));
    CreateDirectoryW(Widen(directory).c_str(), nullptr);
}
