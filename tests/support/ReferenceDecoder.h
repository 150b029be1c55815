#pragma once
// The token grammar decoded the plain way, item by item and byte by byte, to
// hold the fast decoder against. Rejects what the fast decoder's contract
// rejects; returns false then.

#include <algorithm>
#include <cstdint>
#include <vector>

inline bool ReferenceDecode(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    auto load32 = [&](size_t at) {
        return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
               uint32_t(data[at + 3]) << 24;
    };
    if (size < 16) return false;
    const uint32_t packedSize = load32(4);
    const uint32_t unpackedSize = load32(8);
    if (packedSize > 0x7FFFFFFF || unpackedSize > 0x7FFFFFFF || size - 16 < packedSize) return false;

    const uint8_t* in = data + 16;
    const uint8_t* const end = in + packedSize;
    // No input byte yields more than 4096 / 3 output bytes; sized once, as
    // growing byte by byte is slow under the sanitizers.
    out.assign(std::min<uint64_t>(unpackedSize, uint64_t(packedSize) * 1366), 0);
    size_t produced = 0;
    unsigned flags = 0;
    int bit = 8;
    while (produced < unpackedSize) {
        if (bit == 8) {
            if (in == end) return false;
            flags = *in++;
            bit = 0;
        }
        const bool coded = flags & 0x80;
        flags <<= 1;
        ++bit;
        if (!coded) {
            if (in == end) return false;
            out[produced++] = *in++;
            continue;
        }
        if (in == end) return false;
        const uint8_t c = *in++;
        uint32_t distance, length;
        if (!(c & 0x80) && (c & 3) == 3) {
            const size_t count = (c >> 2) + 9u;
            if (size_t(end - in) < count || unpackedSize - produced < count) return false;
            for (size_t k = 0; k < count; ++k) out[produced++] = *in++;
            continue;
        }
        if (!(c & 0x80)) {
            distance = (c >> 2) + 1u;
            length = (c & 3u) + 2;
        } else {
            if (in == end) return false;
            const uint8_t d = *in++;
            if (c & 0x40) {
                if (in == end) return false;
                const uint8_t e = *in++;
                distance = ((uint32_t(c) << 8 | d) & 0x3FFF) + 1;
                length = e == 255 ? 4096 : e == 254 ? 1024 : e == 253 ? 256 : e + 3u;
            } else {
                distance = (uint32_t(c & 0x3F) << 4 | d >> 4) + 1;
                length = (d & 0x0Fu) + 3;
            }
        }
        if (distance > produced || unpackedSize - produced < length) return false;
        for (uint32_t k = 0; k < length; ++k, ++produced) out[produced] = out[produced - distance];
    }
    out.resize(produced);
    return true;
}
