#include "OptimalParser.h"

#include <algorithm>
#include <limits>

#include "TokenForms.h"

namespace qzpack {

OptimalParser::OptimalParser(const uint8_t* data, size_t size, ParserSettings settings)
    : settings_(settings), finder_(data, size, settings.chainDepth) {}

void OptimalParser::Relax(size_t to, uint32_t cost, ParseItem item) {
    if (cost < cost_[to]) {
        cost_[to] = cost;
        reach_[to] = item;
    }
}

void OptimalParser::ParseBlock(size_t begin, size_t end, std::vector<ParseItem>& items) {
    const size_t length = end - begin;
    cost_.assign(length + 1, std::numeric_limits<uint32_t>::max());
    reach_.resize(length + 1);
    cost_[0] = 0;

    // Inside a long repeat every position would find the same repeat again, at a
    // cost of hundreds of edges each. Only the first positions of the repeat are
    // searched, so that it may still start a little later; the rest is skipped.
    size_t skipFrom = 0;
    size_t skipTo = 0;
    for (size_t at = 0; at < length; ++at) {
        if (at >= skipFrom && at < skipTo) {
            finder_.Insert(begin + at);
            continue;
        }
        const uint32_t cost = cost_[at];
        Relax(at + 1, cost + LiteralBits, {1, 0});
        const size_t longestRun = std::min<size_t>(RunMaxLength, length - at);
        for (size_t run = RunMinLength; run <= longestRun; ++run)
            Relax(at + run, cost + LiteralRunBits(uint32_t(run)), {uint16_t(run), 0});

        finder_.FindMatches(begin + at, std::min<size_t>(MaxMatchLength, length - at), candidates_);
        RelaxMatches(at, cost);
        finder_.Insert(begin + at);

        if (at >= skipTo && !candidates_.empty() && candidates_.back().length >= settings_.skipLength) {
            skipFrom = at + settings_.searchedLead;
            skipTo = at + LongestFarLengthWithin(candidates_.back().length);
        }
    }

    items.clear();
    for (size_t at = length; at != 0; at -= reach_[at].length) items.push_back(reach_[at]);
    std::reverse(items.begin(), items.end());
}

void OptimalParser::RelaxMatches(size_t at, uint32_t cost) {
    uint32_t length = ShortMinLength;
    for (const MatchCandidate& candidate : candidates_) {
        // Lengths past 255 are worth an edge only where a far match can take them.
        const uint32_t plainEnd = std::min(candidate.length, FarMaxPlainLength);
        for (; length <= plainEnd; ++length) {
            const MatchForm form = CheapestForm(candidate.distance, length);
            if (form != MatchForm::None)
                Relax(at + length, cost + FormBits(form), {uint16_t(length), uint16_t(candidate.distance)});
        }
        for (const uint32_t special : {256u, 1024u, 4096u}) {
            if (special >= length && special <= candidate.length) {
                Relax(at + special, cost + FarBits, {uint16_t(special), uint16_t(candidate.distance)});
            }
        }
        length = std::max(length, candidate.length + 1);
    }
}

}  // namespace qzpack
