#include "FileStream.h"

#include <windows.h>

#include <algorithm>

#include "Unicode.h"

namespace {

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
constexpr size_t MaxChunk = 0x40000000;

}  // namespace

TFileStream::TFileStream(const std::string& path, Mode mode) {
    const DWORD disposition = mode == Mode::Create ? CREATE_ALWAYS : CREATE_NEW;
    handle_ = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) throw EFCreateError(path);
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

size_t TFileStream::Read(void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        DWORD n = 0;
        const DWORD want = DWORD(std::min(count - done, MaxChunk));
        if (!ReadFile(handle_, static_cast<char*>(buffer) + done, want, &n, nullptr) || n == 0) break;
        done += n;
    }
    return done;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        DWORD n = 0;
        const DWORD want = DWORD(std::min(count - done, MaxChunk));
        if (!WriteFile(handle_, static_cast<const char*>(buffer) + done, want, &n, nullptr) || n == 0)
            break;
        done += n;
    }
    return done;
}

uint64_t TFileStream::Size() const {
    DWORD high = 0;
    const DWORD low = GetFileSize(handle_, &high);
    return uint64_t(high) << 32 | low;
}

uint64_t TFileStream::Remaining() const {
    LONG high = 0;
    const DWORD low = SetFilePointer(handle_, 0, &high, FILE_CURRENT);
    const uint64_t position = uint64_t(DWORD(high)) << 32 | low;
    const uint64_t size = Size();
    return size > position ? size - position : 0;
}

void TFileStream::SeekToStart() { SetFilePointer(handle_, 0, nullptr, FILE_BEGIN); }

bool TFileStream::Flush() { return FlushFileBuffers(handle_) != 0; }
