// PackPayload then DecodePayload gives the input back, for any input.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DecodePayload.h"
#include "MemoryStream.h"
#include "Packer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream source(PackPayload(data, size));
    TMemoryStream target;
    DecodePayload(source, target);
    if (target.Bytes() != std::vector<uint8_t>(data, data + size)) {
        std::fprintf(stderr, "the payload decodes to other bytes than were packed\n");
        std::abort();
    }
    return 0;
}
