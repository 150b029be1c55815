#include "DecodePayload.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "Exception.h"
#include "PayloadHeader.h"
#include "Stream.h"

using namespace payload;

namespace {

// The widest item: a far match of 4096 bytes, plus the 16 bytes a wide copy may
// write past its end. The window keeps this much room above the flush threshold.
constexpr size_t MaxItemOutput = 4096;
constexpr size_t CopyOverrun = 16;
static_assert(FlushThreshold + MaxItemOutput + CopyOverrun <= OutputWindowSize);

[[noreturn]] void RejectStream() { throw EReadError(); }

// Appends length bytes, each copied from distance bytes before it, exactly as a
// byte-by-byte copy would. May write up to CopyOverrun bytes past the end.
inline void CopyMatch(uint8_t* out, size_t distance, size_t length) {
    uint8_t* const end = out + length;
    const uint8_t* from = out - distance;
    if (distance < 8) {
        // Grow the repeated pattern until its period, a multiple of distance,
        // is at least 8 bytes; from then on 8-byte copies never read unwritten bytes.
        size_t period = distance;
        while (period < 8) period += distance;
        for (size_t i = period - distance; i != 0 && out != end; --i) *out++ = *from++;
        if (out == end) return;
        from = out - period;
    }
    if (size_t(out - from) >= 16) {
        do {
            std::memcpy(out, from, 16);
            out += 16;
            from += 16;
        } while (out < end);
    } else {
        do {
            std::memcpy(out, from, 8);
            out += 8;
            from += 8;
        } while (out < end);
    }
}

uint32_t MatchLengthOfFar(uint8_t e) {
    switch (e) {
        case 255: return 4096;
        case 254: return 1024;
        case 253: return 256;
        default: return uint32_t(e) + 3;
    }
}

class TokenDecoder {
public:
    TokenDecoder(const uint8_t* input, size_t packedSize, uint8_t* window, size_t unpackedSize,
                 TStream& target)
        : in_(input), inEnd_(input + packedSize), window_(window), out_(window),
          unpackedSize_(unpackedSize), outLeft_(unpackedSize), target_(target) {}

    void Run() {
        // Flag bits are consumed from the top of flags_; a sentinel bit below the
        // eight flag bits marks the group's end: flags_ == GroupDone once all are used.
        constexpr uint32_t GroupDone = 0x80000000u;
        uint32_t flags = GroupDone;
        while (outLeft_ != 0) {
            if (flags == GroupDone) flags = FetchFlagByte() << 24 | 0x00800000u;
            if (const int literals = __builtin_clz(flags); literals != 0) {
                CopyLiterals(literals);
                flags <<= literals;
            } else {
                DecodeCodedItem();
                flags <<= 1;
            }
            if (size_t(out_ - window_) >= FlushThreshold) FlushBlock();
        }
        target_.WriteBuffer(window_, size_t(out_ - window_));
    }

private:
    size_t InputLeft() const { return size_t(inEnd_ - in_); }
    size_t Produced() const { return unpackedSize_ - outLeft_; }

    uint32_t FetchFlagByte() {
        if (InputLeft() == 0) RejectStream();
        return *in_++;
    }

    uint8_t FetchByte() {
        if (InputLeft() == 0) RejectStream();
        return *in_++;
    }

    // Up to eight literal items in one go, as many as the flag bits say and the
    // output still needs.
    void CopyLiterals(size_t count) {
        if (count > outLeft_) count = outLeft_;
        if (count > InputLeft()) RejectStream();
        if (InputLeft() >= 8) {
            std::memcpy(out_, in_, 8);
        } else {
            std::memcpy(out_, in_, count);
        }
        in_ += count;
        out_ += count;
        outLeft_ -= count;
    }

    void DecodeCodedItem() {
        const uint8_t c = FetchByte();
        if (c & 0x80) {
            const uint8_t d = FetchByte();
            if (c & 0x40) {
                const uint8_t e = FetchByte();
                AppendMatch(((uint32_t(c) << 8 | d) & 0x3FFF) + 1, MatchLengthOfFar(e));
            } else {
                AppendMatch((uint32_t(c & 0x3F) << 4 | d >> 4) + 1, (d & 0x0F) + 3u);
            }
        } else if ((c & 3) == 3) {
            AppendLiteralRun((c >> 2) + 9u);
        } else {
            AppendMatch((c >> 2) + 1u, (c & 3) + 2u);
        }
    }

    void AppendLiteralRun(size_t count) {
        if (count > InputLeft() || count > outLeft_) RejectStream();
        std::memcpy(out_, in_, count);
        in_ += count;
        out_ += count;
        outLeft_ -= count;
    }

    void AppendMatch(size_t distance, size_t length) {
        // The window always holds at least 1 MiB of history after a flush, so a
        // distance within what was produced is also within the window.
        if (distance > Produced() || length > outLeft_) RejectStream();
        CopyMatch(out_, distance, length);
        out_ += length;
        outLeft_ -= length;
    }

    void FlushBlock() {
        target_.WriteBuffer(window_, FlushBlockSize);
        const size_t kept = size_t(out_ - window_) - FlushBlockSize;
        std::memmove(window_, window_ + FlushBlockSize, kept);
        out_ -= FlushBlockSize;
    }

    const uint8_t* in_;
    const uint8_t* const inEnd_;
    uint8_t* const window_;
    uint8_t* out_;
    const size_t unpackedSize_;
    size_t outLeft_;
    TStream& target_;
};

}  // namespace

void DecodePayload(TStream& source, TStream& target) {
    uint8_t headerBytes[PayloadHeader::Size];
    source.ReadBuffer(headerBytes, sizeof headerBytes);
    const PayloadHeader header = PayloadHeader::Parse(headerBytes);

    constexpr uint32_t SizeLimit = uint32_t(std::numeric_limits<int32_t>::max());
    if (header.PackedSize > SizeLimit || header.UnpackedSize > SizeLimit) RejectStream();
    // Checked before allocating, so a huge PackedSize is a read error, not an allocation failure.
    if (source.Remaining() < header.PackedSize) RejectStream();

    const size_t packedSize = header.PackedSize;
    std::unique_ptr<uint8_t[]> inputBuffer(new uint8_t[packedSize + InputSlack]);
    std::unique_ptr<uint8_t[]> outputWindow(new uint8_t[OutputWindowSize]);
    // The slack is never read as stream data, but the literal fast path may copy it.
    std::memset(inputBuffer.get() + packedSize, 0, InputSlack);

    source.ReadBuffer(inputBuffer.get(), packedSize);
    TokenDecoder(inputBuffer.get(), packedSize, outputWindow.get(), header.UnpackedSize, target).Run();
}
