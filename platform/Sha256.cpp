#include "Sha256.h"

#include <windows.h>
#include <wincrypt.h>

#include "Exception.h"

namespace {

// A digest that cannot be computed means the written file cannot be trusted.
[[noreturn]] void FailDigest() { throw EReadError(); }

}  // namespace

TSha256::TSha256() {
    HCRYPTPROV provider = 0;
    // PROV_RSA_AES is the provider type that has SHA-256; its name differs on XP,
    // so the default provider of the type is taken.
    if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        FailDigest();
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        CryptReleaseContext(provider, 0);
        FailDigest();
    }
    provider_ = provider;
    hash_ = hash;
}

TSha256::~TSha256() {
    CryptDestroyHash(HCRYPTHASH(hash_));
    CryptReleaseContext(HCRYPTPROV(provider_), 0);
}

void TSha256::Update(const void* data, size_t size) {
    if (size != 0 && !CryptHashData(HCRYPTHASH(hash_), static_cast<const BYTE*>(data), DWORD(size), 0))
        FailDigest();
}

std::string TSha256::HexDigest() {
    BYTE digest[32];
    DWORD length = sizeof digest;
    if (!CryptGetHashParam(HCRYPTHASH(hash_), HP_HASHVAL, digest, &length, 0) || length != 32)
        FailDigest();
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : digest) {
        text += hex[b >> 4];
        text += hex[b & 15];
    }
    return text;
}
