#include "ReferenceDecoder.h"

#include <stdexcept>

#include "PayloadHeader.h"

namespace {

class ByteReader {
public:
    ByteReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    uint8_t Next() {
        if (at_ == size_) throw std::runtime_error("stream ends inside an item");
        return bytes_[at_++];
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
};

void CopyMatch(std::vector<uint8_t>& out, size_t distance, size_t length) {
    if (distance > out.size()) throw std::runtime_error("match reaches before the output");
    for (size_t k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
}

size_t FarLength(uint8_t e) {
    switch (e) {
        case 255: return 4096;
        case 254: return 1024;
        case 253: return 256;
        default: return size_t(e) + 3;
    }
}

}  // namespace

std::vector<uint8_t> ReferenceDecode(const std::vector<uint8_t>& payload) {
    if (payload.size() < PayloadHeader::Size) throw std::runtime_error("no header");
    uint8_t headerBytes[PayloadHeader::Size];
    std::copy(payload.begin(), payload.begin() + PayloadHeader::Size, headerBytes);
    const PayloadHeader header = PayloadHeader::Parse(headerBytes);
    if (payload.size() - PayloadHeader::Size < header.PackedSize)
        throw std::runtime_error("payload shorter than PackedSize");

    ByteReader in(payload.data() + PayloadHeader::Size, header.PackedSize);
    std::vector<uint8_t> out;
    out.reserve(header.UnpackedSize);
    uint8_t flags = 0;
    int bit = 8;
    while (out.size() < header.UnpackedSize) {
        // The next flag byte is only fetched when an item needs it, so a stream
        // that ends with a full group needs no trailing flag byte.
        if (bit == 8) {
            flags = in.Next();
            bit = 0;
        }
        if ((flags & 0x80) == 0) {
            out.push_back(in.Next());
        } else {
            const uint8_t c = in.Next();
            if (c & 0x80) {
                const uint8_t d = in.Next();
                if (c & 0x40) {
                    const uint8_t e = in.Next();
                    CopyMatch(out, ((size_t(c) << 8 | d) & 0x3FFF) + 1, FarLength(e));
                } else {
                    CopyMatch(out, (size_t(c & 0x3F) << 4 | d >> 4) + 1, (d & 0x0F) + 3);
                }
            } else if ((c & 3) == 3) {
                for (size_t n = (c >> 2) + 9; n != 0; --n) out.push_back(in.Next());
            } else {
                CopyMatch(out, (c >> 2) + 1, (c & 3) + 2);
            }
        }
        flags = uint8_t(flags << 1);
        ++bit;
    }
    if (out.size() != header.UnpackedSize) throw std::runtime_error("last item overshoots");
    return out;
}
