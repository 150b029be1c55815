#include "Packer.h"

#include <algorithm>

#include "Exception.h"
#include "OptimalParser.h"
#include "PayloadHeader.h"
#include "TokenStreamWriter.h"

using namespace qzpack;

namespace {

// The parse is optimal within a block; a block bounds the parser's tables.
constexpr size_t BlockSize = size_t(1) << 20;

void WriteItems(const uint8_t* block, const std::vector<ParseItem>& items, TokenStreamWriter& writer) {
    for (const ParseItem& item : items) {
        if (item.distance != 0) {
            writer.Match(item.distance, item.length);
        } else if (item.length == 1) {
            writer.Literal(*block);
        } else {
            writer.LiteralRun(block, item.length);
        }
        block += item.length;
    }
}

}  // namespace

std::vector<uint8_t> PackPayload(const std::vector<uint8_t>& input) {
    return PackPayload(input.data(), input.size());
}

std::vector<uint8_t> PackPayload(const uint8_t* data, size_t size) {
    if (size > MaxPackableSize) throw Exception("input too large: a payload holds less than 2 GiB");

    TokenStreamWriter writer;
    OptimalParser parser(data, size);
    std::vector<ParseItem> items;
    for (size_t begin = 0; begin < size; begin += BlockSize) {
        const size_t end = std::min(size, begin + BlockSize);
        parser.ParseBlock(begin, end, items);
        WriteItems(data + begin, items, writer);
    }
    const std::vector<uint8_t>& stream = writer.Bytes();
    // Incompressible input grows by about 3 %, so a stream can outgrow the format.
    if (stream.size() > MaxPackableSize) throw Exception("input too large: the packed stream reaches 2 GiB");

    PayloadHeader header;
    header.PackedSize = uint32_t(stream.size());
    header.UnpackedSize = uint32_t(size);
    std::vector<uint8_t> payload(PayloadHeader::Size);
    uint8_t headerBytes[PayloadHeader::Size];
    header.Serialize(headerBytes);
    std::copy(headerBytes, headerBytes + PayloadHeader::Size, payload.begin());
    payload.insert(payload.end(), stream.begin(), stream.end());
    return payload;
}
