#pragma once
// Counts the bytes held through operator new, to measure a call's peak memory.
// The program that links AllocationCounter.cpp replaces the global operator new
// and delete; the counts are plain integers, so it must stay single-threaded.

#include <cstddef>

namespace AllocationCounter {
size_t BytesInUse();
size_t PeakBytesInUse();
// Starts a new peak from what is in use now.
void ResetPeak();
}  // namespace AllocationCounter
