#include "ExtractPayload.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "DecodePayload.h"
#include "Exception.h"
#include "FileStream.h"
#include "PayloadHeader.h"
#include "ResourceStream.h"
#include "Sha256.h"
#include "Unicode.h"

namespace {

std::string ReadRecordedDigest(const std::string& resourceName) {
    TResourceStream stream(resourceName + "_SHA256");
    std::string text(size_t(stream.Remaining()), '\0');
    stream.ReadBuffer(&text[0], text.size());
    std::string digest;
    for (char c : text) {
        if (c >= 'A' && c <= 'F') c = char(c - 'A' + 'a');
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) digest += c;
    }
    return digest;
}

uint32_t RecordedUnpackedSize(const std::string& resourceName) {
    TResourceStream stream(resourceName);
    uint8_t bytes[PayloadHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    return PayloadHeader::Parse(bytes).UnpackedSize;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Windows refuses to replace a read-only file, Wine does not: ask first, so that
// both behave alike. A target that a process holds open (a running product) is
// found here too, before any time is spent decoding.
void RefuseUnreplaceableTarget(const std::string& target) {
    const std::wstring path = Widen(target);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) throw EFCreateError(target);
    HANDLE probe = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) throw EFCreateError(target);
    CloseHandle(probe);
}

// "DIR\PELMOR.EXE" gives "DIR\PELMOR~new.EXE": the extension stays, so that the
// system's file virtualisation for legacy programs, which leaves executables alone,
// never redirects the new file away from the target's directory.
std::string TemporaryNameBeside(const std::string& target, int attempt) {
    const size_t separator = target.find_last_of("\\/:");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = target.size();
    const std::string suffix = attempt == 0 ? "~new" : "~new" + std::to_string(attempt);
    return target.substr(0, dot) + suffix + target.substr(dot);
}

// The decoded file, removed again unless it has replaced the target.
class TNewFile {
public:
    explicit TNewFile(const std::string& target) {
        for (int attempt = 0; attempt < 100 && !stream_; ++attempt) {
            const std::string candidate = TemporaryNameBeside(target, attempt);
            if (Exists(candidate)) continue;
            try {
                stream_ = std::make_unique<TFileStream>(candidate, TFileStream::Mode::CreateNew);
                path_ = candidate;
            } catch (const EFCreateError&) {
                throw EFCreateError(target);
            }
        }
        if (!stream_) throw EFCreateError(target);
    }
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;
    ~TNewFile() {
        stream_.reset();
        if (!path_.empty()) DeleteFileW(Widen(path_).c_str());
    }

    TFileStream& Stream() { return *stream_; }

    void Replace(const std::string& target) {
        stream_.reset();
        if (!MoveFileExW(Widen(path_).c_str(), Widen(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw EFCreateError(target);
        path_.clear();
    }

private:
    std::unique_ptr<TFileStream> stream_;
    std::string path_;
};

// Reads the file back from the start: what is on the disk is what gets checked.
void VerifyWrittenFile(TFileStream& file, uint32_t expectedSize, const std::string& expectedDigest) {
    if (!file.Flush()) throw EWriteError();
    if (file.Size() != expectedSize) throw EReadError();
    file.SeekToStart();
    TSha256 sha;
    std::vector<uint8_t> chunk(0x10000);
    for (uint64_t left = expectedSize; left != 0;) {
        const size_t n = size_t(std::min<uint64_t>(left, chunk.size()));
        file.ReadBuffer(chunk.data(), n);
        sha.Update(chunk.data(), n);
        left -= n;
    }
    if (sha.HexDigest() != expectedDigest) throw EReadError();
}

}  // namespace

bool ExtractPayload(const std::string& resourceName, const std::string& targetPath) {
    TResourceStream source(resourceName);
    const std::string digest = ReadRecordedDigest(resourceName);
    RefuseUnreplaceableTarget(targetPath);

    TNewFile newFile(targetPath);
    DecodePayload(source, newFile.Stream());
    VerifyWrittenFile(newFile.Stream(), RecordedUnpackedSize(resourceName), digest);

    RefuseUnreplaceableTarget(targetPath);
    newFile.Replace(targetPath);
    return true;
}
