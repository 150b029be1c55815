#pragma once
// Memory streams that cost the decoder nothing beyond its own copies: a source
// that reads bytes in place and a target that fills a buffer allocated up front.
// (TMemoryStream would copy the payload in and grow its vector on every write,
// which would be timed along with the decoder.)

#include <algorithm>
#include <cstring>

#include "Stream.h"

class TSpanReadStream : public TStream {
public:
    TSpanReadStream(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    size_t Read(void* buffer, size_t count) override {
        const size_t n = std::min(count, size_ - position_);
        if (n != 0) std::memcpy(buffer, bytes_ + position_, n);
        position_ += n;
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    uint64_t Remaining() const override { return size_ - position_; }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_ = 0;
};

// Takes at most capacity bytes in all; a write beyond that is short.
class TBufferWriteStream : public TStream {
public:
    TBufferWriteStream(uint8_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    size_t Read(void*, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t count) override {
        const size_t n = std::min(count, capacity_ - written_);
        if (n != 0) std::memcpy(buffer_ + written_, buffer, n);
        written_ += n;
        return n;
    }
    uint64_t Remaining() const override { return 0; }

    size_t Written() const { return written_; }

private:
    uint8_t* buffer_;
    size_t capacity_;
    size_t written_ = 0;
};
