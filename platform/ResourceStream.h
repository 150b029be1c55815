#pragma once
// A read stream over an RCDATA resource of the program's own module. The
// resource stays mapped with the module, so reading copies straight from it.

#include <string>

#include "Exception.h"
#include "Stream.h"

class EResNotFound : public Exception {
public:
    explicit EResNotFound(const std::string& name)
        : Exception(FormatMessageText("%s リソースが見つかりません", name)) {}
};

class TResourceStream : public TStream {
public:
    // Raises EResNotFound when the module has no RCDATA resource of that name.
    explicit TResourceStream(const std::string& name);

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    uint64_t Remaining() const override { return size_ - position_; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0;
};
