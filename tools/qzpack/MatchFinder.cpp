#include "MatchFinder.h"

#include <cstring>

#include "TokenForms.h"

namespace qzpack {

namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "MatchLength counts bytes from the low end");

size_t MatchLength(const uint8_t* earlier, const uint8_t* here, size_t limit) {
    size_t n = 0;
    while (limit - n >= 8) {
        uint64_t a, b;
        std::memcpy(&a, earlier + n, 8);
        std::memcpy(&b, here + n, 8);
        if (a != b) return n + size_t(__builtin_ctzll(a ^ b)) / 8;
        n += 8;
    }
    while (n < limit && earlier[n] == here[n]) ++n;
    return n;
}

}  // namespace

MatchFinder::MatchFinder(const uint8_t* data, size_t size, unsigned chainDepth)
    : data_(data), size_(size), chainDepth_(chainDepth),
      head_(size_t(1) << HashBits, NoPosition), previous_(RingSize, NoPosition) {}

uint32_t MatchFinder::HashAt(size_t pos) const {
    const uint32_t bytes = uint32_t(data_[pos]) | uint32_t(data_[pos + 1]) << 8 | uint32_t(data_[pos + 2]) << 16;
    return (bytes * 2654435761u) >> (32 - HashBits);
}

void MatchFinder::Insert(size_t pos) {
    if (size_ - pos < 3) return;
    uint32_t& head = head_[HashAt(pos)];
    previous_[pos % RingSize] = head;
    head = uint32_t(pos);
}

void MatchFinder::FindMatches(size_t pos, size_t maxLength, std::vector<MatchCandidate>& out) const {
    out.clear();
    const uint8_t* here = data_ + pos;
    size_t best = 1;
    auto consider = [&](size_t distance) {
        // A candidate matters only if it is longer than the best one so far.
        const uint8_t* earlier = here - distance;
        if (earlier[best] != here[best]) return false;
        const size_t length = MatchLength(earlier, here, maxLength);
        if (length <= best) return false;
        best = length;
        out.push_back({uint32_t(length), uint32_t(distance)});
        return best == maxLength;
    };

    // Every short distance is tried directly: the 3-byte hash cannot see the
    // 2-byte matches that make short tokens worth their while.
    const size_t nearby = pos < ShortMaxDistance ? pos : ShortMaxDistance;
    if (maxLength < ShortMinLength) return;
    for (size_t distance = 1; distance <= nearby; ++distance)
        if (consider(distance)) return;

    if (maxLength < FarMinLength) return;
    uint32_t candidate = head_[HashAt(pos)];
    for (unsigned depth = chainDepth_; depth != 0 && candidate != NoPosition; --depth) {
        const size_t distance = pos - candidate;
        if (distance > FarMaxDistance) break;
        if (distance > ShortMaxDistance && consider(distance)) return;
        candidate = previous_[candidate % RingSize];
    }
}

}  // namespace qzpack
