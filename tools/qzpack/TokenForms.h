#pragma once
// The ranges of the four token forms and what each item costs in stream bits
// (its flag bit included). The parser and the writer both decide by these.

#include <cstdint>

namespace qzpack {

constexpr uint32_t ShortMaxDistance = 32;
constexpr uint32_t ShortMinLength = 2;
constexpr uint32_t ShortMaxLength = 4;
constexpr uint32_t NearMaxDistance = 1024;
constexpr uint32_t NearMinLength = 3;
constexpr uint32_t NearMaxLength = 18;
constexpr uint32_t FarMaxDistance = 16384;
constexpr uint32_t FarMinLength = 3;
constexpr uint32_t FarMaxPlainLength = 255;  // above it only 256, 1024 and 4096
constexpr uint32_t MaxMatchLength = 4096;
constexpr uint32_t RunMinLength = 9;
constexpr uint32_t RunMaxLength = 40;

constexpr uint32_t LiteralBits = 9;
constexpr uint32_t ShortBits = 9;
constexpr uint32_t NearBits = 17;
constexpr uint32_t FarBits = 25;
constexpr uint32_t LiteralRunBits(uint32_t count) { return 9 + 8 * count; }

enum class MatchForm { None, Short, Near, Far };

constexpr bool IsFarLength(uint32_t length) {
    return (length >= FarMinLength && length <= FarMaxPlainLength) || length == 256 ||
           length == 1024 || length == MaxMatchLength;
}

// The cheapest form that carries this match, None when no form does.
constexpr MatchForm CheapestForm(uint32_t distance, uint32_t length) {
    if (distance == 0) return MatchForm::None;
    if (distance <= ShortMaxDistance && length >= ShortMinLength && length <= ShortMaxLength)
        return MatchForm::Short;
    if (distance <= NearMaxDistance && length >= NearMinLength && length <= NearMaxLength)
        return MatchForm::Near;
    if (distance <= FarMaxDistance && IsFarLength(length)) return MatchForm::Far;
    return MatchForm::None;
}

constexpr uint32_t FormBits(MatchForm form) {
    switch (form) {
        case MatchForm::Short: return ShortBits;
        case MatchForm::Near: return NearBits;
        case MatchForm::Far: return FarBits;
        case MatchForm::None: break;
    }
    return 0;
}

// The longest length one far match can take from a repeat of the given length.
constexpr uint32_t LongestFarLengthWithin(uint32_t length) {
    if (length >= 4096) return 4096;
    if (length >= 1024) return 1024;
    if (length >= 256) return 256;
    return length;
}

}  // namespace qzpack
