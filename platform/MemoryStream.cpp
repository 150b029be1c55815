#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

size_t TMemoryStream::Read(void* buffer, size_t count) {
    const size_t n = std::min<size_t>(count, bytes_.size() - position_);
    if (n != 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    const size_t end = position_ + count;
    if (end > bytes_.size()) bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = end;
    return count;
}
