#pragma once
// SHA-256 through CryptoAPI, which Windows has offered since XP SP3.

#include <cstddef>
#include <cstdint>
#include <string>

class TSha256 {
public:
    TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;
    ~TSha256();

    void Update(const void* data, size_t size);
    // Lower-case hexadecimal, 64 characters. Ends the hashing.
    std::string HexDigest();

private:
    uintptr_t provider_ = 0;
    uintptr_t hash_ = 0;
};
