#pragma once
// A target stream that keeps what it receives and the size of every write call.

#include <cstdint>
#include <vector>

#include "MemoryStream.h"

class RecordingStream : public TMemoryStream {
public:
    size_t Write(const void* buffer, size_t count) override {
        writeSizes.push_back(count);
        return TMemoryStream::Write(buffer, count);
    }
    std::vector<size_t> writeSizes;
};
