#pragma once
// Byte streams with exact-count reads and writes.

#include <cstddef>
#include <cstdint>

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    // Moves up to count bytes; returns how many moved. Never throws for a short count.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;

    // Bytes left to read from the current position.
    virtual uint64_t Remaining() const = 0;

    // Exactly count bytes, or EReadError / EWriteError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
};
