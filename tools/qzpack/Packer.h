#pragma once
// Packs bytes into a payload: the 16-byte header ("QZ", tag 83 03, PackedSize,
// UnpackedSize, reserved 0) and a token stream that DecodePayload turns back
// into the input. The stream is an optimal parse over the format's exact item
// costs, with matches from bounded hash chains.
//
// Inputs of 2^31 bytes or more do not fit the format: they raise Exception
// (platform/Exception.h) with an English message, before any byte is read.

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t MaxPackableSize = 0x7FFFFFFF;

std::vector<uint8_t> PackPayload(const std::vector<uint8_t>& input);
std::vector<uint8_t> PackPayload(const uint8_t* data, size_t size);
