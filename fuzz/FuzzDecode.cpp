// DecodePayload on arbitrary bytes: it either raises EReadError or writes what
// the plain reference decoder writes. Anything else (a crash, a sanitizer report,
// another exception, other bytes) is a fault.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DecodePayload.h"
#include "Exception.h"
#include "MemoryStream.h"
#include "ReferenceDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> expected;
    const bool valid = ReferenceDecode(data, size, expected);

    TMemoryStream source(std::vector<uint8_t>(data, data + size));
    TMemoryStream target;
    try {
        DecodePayload(source, target);
    } catch (const EReadError&) {
        if (!valid) return 0;
        std::fprintf(stderr, "DecodePayload rejected a valid stream\n");
        std::abort();
    }
    if (!valid) {
        std::fprintf(stderr, "DecodePayload accepted a stream that breaks the format\n");
        std::abort();
    }
    if (target.Bytes() != expected) {
        std::fprintf(stderr, "DecodePayload wrote other bytes than the reference decoder\n");
        std::abort();
    }
    return 0;
}
