#pragma once
// Decodes a payload (header and token stream, see FORMAT.md) from source to target.
//
// Contract, for any bytes at all in the source:
// - it never reads outside InputBuffer nor writes outside OutputWindow;
// - it raises EReadError for a source shorter than 16 + PackedSize (checked before
//   any allocation), for sizes of 2^31 or more, and for a stream that breaks the
//   format: a match reaching before the start of the output, an item running past
//   PackedSize, or an item that would produce more than UnpackedSize bytes;
// - on success the target has received exactly UnpackedSize bytes, as 1 MiB blocks
//   whenever the window reaches 2 MiB, then one write of the rest (none when empty);
// - a failing target write raises EWriteError. Bytes after the stream are ignored.

#include <cstddef>

class TStream;

namespace payload {
constexpr size_t InputSlack = 256;             // absorbs the flag byte fetched past the end
constexpr size_t OutputWindowSize = 0x300000;  // 3 MiB
constexpr size_t FlushThreshold = 0x200000;    // 2 MiB
constexpr size_t FlushBlockSize = 0x100000;    // 1 MiB
}  // namespace payload

void DecodePayload(TStream& source, TStream& target);
