#include "Commands.h"

#include "DecodePayload.h"
#include "Exception.h"
#include "FileIo.h"
#include "MemoryStream.h"
#include "Packer.h"

namespace {

std::vector<uint8_t> Decode(const std::vector<uint8_t>& payload) {
    TMemoryStream source(payload);
    TMemoryStream target;
    DecodePayload(source, target);
    return target.Bytes();
}

}  // namespace

void PackFile(const std::string& input, const std::string& output) {
    const std::vector<uint8_t> original = ReadWholeFile(input);
    const std::vector<uint8_t> payload = PackPayload(original);
    // A payload the updater cannot decode must never leave the packer.
    std::vector<uint8_t> decoded;
    try {
        decoded = Decode(payload);
    } catch (const EReadError& error) {
        throw Exception("packer fault: the payload for " + input + " does not decode (" + error.Message() + ")");
    }
    if (decoded != original) throw Exception("packer fault: the payload for " + input + " decodes to other bytes");
    ReplaceFile(output, payload);
}

void UnpackFile(const std::string& input, const std::string& output) {
    const std::vector<uint8_t> payload = ReadWholeFile(input);
    std::vector<uint8_t> decoded;
    try {
        decoded = Decode(payload);
    } catch (const EReadError& error) {
        throw Exception(input + " is not a valid payload (" + error.Message() + ")");
    }
    ReplaceFile(output, decoded);
}
