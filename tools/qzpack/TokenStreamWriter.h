#pragma once
// Lays out items as a token stream: a flag byte in front of every eight items,
// written when the group's first item arrives, so a final full group needs none.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qzpack {

class TokenStreamWriter {
public:
    void Literal(uint8_t byte);
    // count is 9..40.
    void LiteralRun(const uint8_t* bytes, size_t count);
    // Written in the cheapest form that carries it; std::logic_error if none does.
    void Match(uint32_t distance, uint32_t length);

    const std::vector<uint8_t>& Bytes() const { return stream_; }

private:
    void BeginItem(bool coded);

    std::vector<uint8_t> stream_;
    size_t flagAt_ = 0;
    int itemsInGroup_ = 8;
};

}  // namespace qzpack
