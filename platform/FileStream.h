#pragma once
// A file opened for reading and writing with no sharing.

#include <string>

#include "Exception.h"
#include "Stream.h"

class EFCreateError : public Exception {
public:
    explicit EFCreateError(const std::string& path)
        : Exception(FormatMessageText("ファイル %s を作成できません", path)) {}
};

class TFileStream : public TStream {
public:
    enum class Mode {
        Create,     // created with normal attributes, or truncated if it exists
        CreateNew,  // fails if the file exists
    };

    // Raises EFCreateError with the path exactly as given.
    TFileStream(const std::string& path, Mode mode);
    ~TFileStream() override;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    uint64_t Remaining() const override;

    uint64_t Size() const;
    void SeekToStart();
    // Pushes the file's data to the disk; false when the system refuses.
    bool Flush();

private:
    void* handle_;
};
