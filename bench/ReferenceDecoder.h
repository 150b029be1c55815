#pragma once
// The format's rules written out one byte at a time, with no tricks: the yardstick
// that DecodePayload's output and speed are compared against. Decodes the whole
// payload (header and stream) into memory; raises std::runtime_error for a stream
// that breaks the format.

#include <cstdint>
#include <vector>

std::vector<uint8_t> ReferenceDecode(const std::vector<uint8_t>& payload);
