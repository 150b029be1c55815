#pragma once
// Splits the input into items of least total cost in stream bits: a shortest
// path over the positions of one block, with an edge for a literal, for every
// literal run of 9..40 bytes, and for every length of every match found.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "MatchFinder.h"

namespace qzpack {

// distance 0: a literal (length 1) or a literal run (length 9..40).
struct ParseItem {
    uint16_t length;
    uint16_t distance;
};

struct ParserSettings {
    unsigned chainDepth = 128;
    // From this match length on, positions inside the match are not searched,
    // except for the first searchedLead of them.
    uint32_t skipLength = 256;
    uint32_t searchedLead = 32;
};

class OptimalParser {
public:
    OptimalParser(const uint8_t* data, size_t size, ParserSettings settings = {});

    // Parses [begin, end) into items, in order. Blocks must follow each other
    // from the start of the input; earlier blocks serve as match history.
    void ParseBlock(size_t begin, size_t end, std::vector<ParseItem>& items);

private:
    void Relax(size_t to, uint32_t cost, ParseItem item);
    void RelaxMatches(size_t at, uint32_t cost);

    ParserSettings settings_;
    MatchFinder finder_;
    std::vector<MatchCandidate> candidates_;
    std::vector<uint32_t> cost_;    // least bits from the block start to each position
    std::vector<ParseItem> reach_;  // the item that ends there on that cheapest path
};

}  // namespace qzpack
