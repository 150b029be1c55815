#include "ResourceStream.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "Unicode.h"

TResourceStream::TResourceStream(const std::string& name) {
    HMODULE self = GetModuleHandleW(nullptr);
    const std::wstring wideName = Widen(name);
    HRSRC info = FindResourceW(self, wideName.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(self, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EResNotFound(name);
    data_ = static_cast<const uint8_t*>(data);
    size_ = SizeofResource(self, info);
}

size_t TResourceStream::Read(void* buffer, size_t count) {
    const size_t n = std::min(count, size_ - position_);
    if (n != 0) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

// Resources are read-only.
size_t TResourceStream::Write(const void*, size_t) { return 0; }
