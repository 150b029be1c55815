#pragma once
// The 16 bytes in front of the token stream. Integers are little-endian.

#include <cstddef>
#include <cstdint>

struct PayloadHeader {
    static constexpr size_t Size = 16;

    uint8_t Signature[2] = {'Q', 'Z'};  // not checked by the reader
    uint8_t Tag[2] = {0x83, 0x03};      // not interpreted
    uint32_t PackedSize = 0;            // token stream bytes after the header
    uint32_t UnpackedSize = 0;          // bytes the stream decodes to
    uint32_t Reserved = 0;              // not interpreted

    static PayloadHeader Parse(const uint8_t (&bytes)[Size]);
    void Serialize(uint8_t (&bytes)[Size]) const;
};
