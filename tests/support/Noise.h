#pragma once
// Deterministic bytes with no repeats for a match to find by accident.

#include <cstdint>
#include <vector>

inline std::vector<uint8_t> Noise(size_t length, uint32_t seed = 1) {
    std::vector<uint8_t> out(length);
    for (auto& b : out) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return out;
}
