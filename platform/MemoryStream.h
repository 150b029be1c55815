#pragma once
// A stream over a growable byte vector: reads from the position, writes append there.

#include <cstdint>
#include <vector>

#include "Stream.h"

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    uint64_t Remaining() const override { return bytes_.size() - position_; }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};
