#include "PayloadHeader.h"

namespace {

uint32_t LoadLittleEndian(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLittleEndian(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

}  // namespace

PayloadHeader PayloadHeader::Parse(const uint8_t (&bytes)[Size]) {
    PayloadHeader header;
    header.Signature[0] = bytes[0];
    header.Signature[1] = bytes[1];
    header.Tag[0] = bytes[2];
    header.Tag[1] = bytes[3];
    header.PackedSize = LoadLittleEndian(bytes + 4);
    header.UnpackedSize = LoadLittleEndian(bytes + 8);
    header.Reserved = LoadLittleEndian(bytes + 12);
    return header;
}

void PayloadHeader::Serialize(uint8_t (&bytes)[Size]) const {
    bytes[0] = Signature[0];
    bytes[1] = Signature[1];
    bytes[2] = Tag[0];
    bytes[3] = Tag[1];
    StoreLittleEndian(bytes + 4, PackedSize);
    StoreLittleEndian(bytes + 8, UnpackedSize);
    StoreLittleEndian(bytes + 12, Reserved);
}
