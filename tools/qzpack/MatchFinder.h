#pragma once
// Finds, for a position, the nearest earlier occurrence for every match length
// reachable there. Positions must be visited in order, each exactly once, by
// FindMatches followed by Insert, or by Insert alone.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qzpack {

struct MatchCandidate {
    uint32_t length;
    uint32_t distance;
};

class MatchFinder {
public:
    // chainDepth bounds the hash-chain walk per position: the speed / ratio trade.
    MatchFinder(const uint8_t* data, size_t size, unsigned chainDepth);

    // Fills out with candidates of strictly growing length and distance: for every
    // length L up to the last one, the first candidate with length >= L has the
    // smallest distance found for L. maxLength caps the lengths (at most 4096).
    void FindMatches(size_t pos, size_t maxLength, std::vector<MatchCandidate>& out) const;

    void Insert(size_t pos);

private:
    static constexpr unsigned HashBits = 16;
    static constexpr size_t RingSize = 32768;  // twice the longest distance
    static constexpr uint32_t NoPosition = UINT32_MAX;

    uint32_t HashAt(size_t pos) const;

    const uint8_t* data_;
    size_t size_;
    unsigned chainDepth_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> previous_;
};

}  // namespace qzpack
