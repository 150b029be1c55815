#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

size_t bytesInUse = 0;
size_t peakBytesInUse = 0;

// Each block carries its size in front, so that delete knows what it gives back;
// 16 bytes keep the block as aligned as malloc's.
constexpr size_t SizeField = 16;

void* CountedAllocate(size_t size) {
    void* block = std::malloc(size + SizeField);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    bytesInUse += size;
    if (bytesInUse > peakBytesInUse) peakBytesInUse = bytesInUse;
    return static_cast<char*>(block) + SizeField;
}

void CountedFree(void* pointer) {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - SizeField;
    bytesInUse -= *static_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

size_t AllocationCounter::BytesInUse() { return bytesInUse; }
size_t AllocationCounter::PeakBytesInUse() { return peakBytesInUse; }
void AllocationCounter::ResetPeak() { peakBytesInUse = bytesInUse; }

void* operator new(size_t size) { return CountedAllocate(size); }
void* operator new[](size_t size) { return CountedAllocate(size); }
void operator delete(void* pointer) noexcept { CountedFree(pointer); }
void operator delete[](void* pointer) noexcept { CountedFree(pointer); }
void operator delete(void* pointer, size_t) noexcept { CountedFree(pointer); }
void operator delete[](void* pointer, size_t) noexcept { CountedFree(pointer); }
