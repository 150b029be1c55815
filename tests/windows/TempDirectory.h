#pragma once
// A fresh directory under the temporary directory, removed with its contents
// at the end; also the current directory while it lives, which is restored.

#include <filesystem>
#include <string>

#include <windows.h>

class TTempDirectory {
public:
    TTempDirectory() : previous_(std::filesystem::current_path()) {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("pelmor-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    TTempDirectory(const TTempDirectory&) = delete;
    TTempDirectory& operator=(const TTempDirectory&) = delete;
    ~TTempDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    // UTF-8, without a trailing separator.
    std::string Path() const { return Utf8(path_); }
    std::string Join(const std::string& relative) const { return Path() + "\\" + relative; }

    void MakeDirectory(const std::string& relative) const { std::filesystem::create_directories(Native(relative)); }
    void MakeFile(const std::string& relative) const {
        HANDLE file = CreateFileW(Native(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Native(relative)); }

    static std::string Utf8(const std::filesystem::path& path) {
        const auto text = path.u8string();
        return std::string(text.begin(), text.end());
    }

private:
    std::filesystem::path Native(const std::string& relative) const {
        return path_ / std::filesystem::u8path(relative);
    }

    std::filesystem::path previous_;
    std::filesystem::path path_;
};
