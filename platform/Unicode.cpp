#include "Unicode.h"

#include <windows.h>

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
    return wide;
}

std::string Narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}
