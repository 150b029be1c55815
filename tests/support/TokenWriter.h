#pragma once
// Writes token streams item by item for tests, taking care of the flag bytes.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "PayloadHeader.h"

class TokenWriter {
public:
    TokenWriter& Literal(uint8_t byte) { return Item(false, {byte}); }
    TokenWriter& Coded(std::initializer_list<uint8_t> bytes) { return Item(true, bytes); }
    TokenWriter& Coded(const std::vector<uint8_t>& bytes) {
        AddFlag(true);
        stream_.insert(stream_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A literal run of 9..40 raw bytes.
    TokenWriter& Run(const std::vector<uint8_t>& raw) {
        std::vector<uint8_t> item{uint8_t((raw.size() - 9) << 2 | 3)};
        item.insert(item.end(), raw.begin(), raw.end());
        return Coded(item);
    }
    // Appends a raw byte outside the item rhythm (an extra flag byte, trailing junk).
    TokenWriter& Raw(uint8_t byte) {
        stream_.push_back(byte);
        return *this;
    }

    const std::vector<uint8_t>& Stream() const { return stream_; }

    // Header and stream; packedSize defaults to the stream's length.
    std::vector<uint8_t> Payload(uint32_t unpackedSize) const {
        return Payload(unpackedSize, uint32_t(stream_.size()));
    }
    std::vector<uint8_t> Payload(uint32_t unpackedSize, uint32_t packedSize) const {
        PayloadHeader header;
        header.PackedSize = packedSize;
        header.UnpackedSize = unpackedSize;
        uint8_t bytes[PayloadHeader::Size];
        header.Serialize(bytes);
        std::vector<uint8_t> payload;
        payload.reserve(sizeof bytes + stream_.size());
        payload.insert(payload.end(), bytes, bytes + sizeof bytes);
        payload.insert(payload.end(), stream_.begin(), stream_.end());
        return payload;
    }

private:
    TokenWriter& Item(bool coded, std::initializer_list<uint8_t> bytes) {
        AddFlag(coded);
        stream_.insert(stream_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    void AddFlag(bool coded) {
        if (itemsInGroup_ == 8) itemsInGroup_ = 0;
        if (itemsInGroup_ == 0) {
            flagAt_ = stream_.size();
            stream_.push_back(0);
        }
        if (coded) stream_[flagAt_] |= uint8_t(0x80 >> itemsInGroup_);
        ++itemsInGroup_;
    }

    std::vector<uint8_t> stream_;
    size_t flagAt_ = 0;
    int itemsInGroup_ = 0;
};
