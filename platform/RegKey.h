#pragma once
// The one owner of an open registry key: closed with RegCloseKey when the owner
// goes, also while a failure is being raised.

#include <windows.h>

#include <string>

class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    // Persistent key, default security, no class. Returns the Win32 error code.
    LONG Create(HKEY parent, const std::wstring& path, REGSAM access) {
        Close();
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                               &handle_, nullptr);
    }

    LONG Open(HKEY parent, const std::wstring& path, REGSAM access) {
        Close();
        return RegOpenKeyExW(parent, path.c_str(), 0, access, &handle_);
    }

    void Close() {
        if (handle_) RegCloseKey(handle_);
        handle_ = nullptr;
    }

    HKEY Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HKEY handle_ = nullptr;
};
