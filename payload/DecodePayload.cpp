#include "DecodePayload.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "Exception.h"
#include "PayloadHeader.h"
#include "Stream.h"

using namespace payload;

namespace {

constexpr size_t ItemsPerGroup = 8;
constexpr size_t MaxItemInput = 41;     // a literal run: control byte and 40 raw bytes
constexpr size_t MaxItemOutput = 4096;  // the longest far match
constexpr size_t MaxDistance = 16384;

// Wide copies move whole chunks, so they may read and write up to this many
// bytes past an item's end. The window keeps this much room above the largest
// item that can start below the flush threshold.
constexpr size_t CopyOverrun = 32;
static_assert(FlushThreshold + MaxItemOutput + CopyOverrun <= OutputWindowSize);

// A group whose items cannot reach any end takes the unchecked path.
constexpr size_t GroupMaxInput = 1 + ItemsPerGroup * MaxItemInput;
constexpr size_t GroupMaxOutput = ItemsPerGroup * MaxItemOutput;

[[noreturn]] void RejectStream() { throw EReadError(); }

// Loads before it stores, so it is defined even when the two ranges overlap.
inline void Copy8(uint8_t* to, const uint8_t* from) {
    uint8_t chunk[8];
    std::memcpy(chunk, from, 8);
    std::memcpy(to, chunk, 8);
}

inline void Copy16(uint8_t* to, const uint8_t* from) {
    uint8_t chunk[16];
    std::memcpy(chunk, from, 16);
    std::memcpy(to, chunk, 16);
}

// Appends length bytes, each copied from distance bytes before it, exactly as a
// byte-by-byte copy would. May write up to CopyOverrun bytes past the end.
// A chunk copy is right for its first min(chunk, distance) bytes, since only
// those were all written before the chunk was loaded.
inline void CopyMatch(uint8_t* out, size_t distance, size_t length) {
    uint8_t* const end = out + length;
    const uint8_t* from = out - distance;
    if (distance >= 16) {
        do {
            Copy16(out, from);
            out += 16;
            from += 16;
        } while (out < end);
        return;
    }
    if (length <= distance) {
        Copy16(out, from);
        return;
    }
    if (distance < 8) {
        // Grow the repeated pattern until its period, a multiple of distance,
        // is at least 8 bytes; from then on 8-byte copies never read unwritten bytes.
        size_t period = distance;
        while (period < 8) period += distance;
        for (size_t i = period - distance; i != 0 && out != end; --i) *out++ = *from++;
        if (out == end) return;
        from = out - period;
    }
    do {
        Copy8(out, from);
        out += 8;
        from += 8;
    } while (out < end);
}

constexpr std::array<uint16_t, 256> MakeFarLengths() {
    std::array<uint16_t, 256> lengths{};
    for (int e = 0; e < 256; ++e) lengths[e] = uint16_t(e + 3);
    lengths[253] = 256;
    lengths[254] = 1024;
    lengths[255] = 4096;
    return lengths;
}
constexpr std::array<uint16_t, 256> FarLengths = MakeFarLengths();

class TokenDecoder {
public:
    TokenDecoder(const uint8_t* input, size_t packedSize, uint8_t* window, size_t unpackedSize,
                 TStream& target)
        : in_(input), inEnd_(input + packedSize), window_(window), out_(window),
          unpackedSize_(unpackedSize), outLeft_(unpackedSize), target_(target) {}

    void Run() {
        while (outLeft_ != 0) {
            DecodeGroupsFast();
            if (outLeft_ != 0) DecodeGroupChecked();
        }
        target_.WriteBuffer(window_, WindowUsed());
    }

private:
    // Flag bits are consumed from the top; a sentinel bit below the eight flag
    // bits makes flags == GroupDone once all eight are used.
    static constexpr uint32_t GroupDone = 0x80000000u;
    static uint32_t GroupFlags(uint8_t flagByte) { return uint32_t(flagByte) << 24 | 0x00800000u; }

    size_t InputLeft() const { return size_t(inEnd_ - in_); }
    size_t Produced() const { return unpackedSize_ - outLeft_; }
    size_t WindowUsed() const { return size_t(out_ - window_); }

    // True when no item of the next group can run past the input (wide reads
    // included), overshoot UnpackedSize, reach the flush threshold or reach
    // before the history: the window holds at least MaxDistance bytes, and
    // everything in the window has been produced.
    bool FarFromTheEnds() const {
        return InputLeft() >= GroupMaxInput + CopyOverrun && outLeft_ >= GroupMaxOutput &&
               WindowUsed() >= MaxDistance && WindowUsed() + GroupMaxOutput < FlushThreshold;
    }

    // Whole groups without a check per item. Works on local copies of the
    // positions: stores through the byte pointers could alias the members, and
    // the compiler would reload them after every store.
    void DecodeGroupsFast() {
        while (FarFromTheEnds()) {
            const uint8_t* in = in_;
            uint8_t* out = out_;
            uint32_t flags = GroupFlags(*in++);
            for (;;) {
                // Up to eight literal items at once; copying eight is cheaper than counting.
                const int literals = __builtin_clz(flags);
                Copy8(out, in);
                in += literals;
                out += literals;
                flags <<= literals;
                if (flags == GroupDone) break;
                in = DecodeCodedItemFast(in, out);
                flags <<= 1;
                if (flags == GroupDone) break;
            }
            outLeft_ -= size_t(out - out_);
            in_ = in;
            out_ = out;
        }
    }

    // One coded item starting at in; returns where the next item starts.
    static const uint8_t* DecodeCodedItemFast(const uint8_t* in, uint8_t*& out) {
        const uint8_t c = in[0];
        size_t distance, length;
        if (c & 0x80) {
            const uint8_t d = in[1];
            if (c & 0x40) {
                distance = ((uint32_t(c) << 8 | d) & 0x3FFF) + 1;
                length = FarLengths[in[2]];
                in += 3;
            } else {
                distance = (uint32_t(c & 0x3F) << 4 | d >> 4) + 1;
                length = (d & 0x0F) + 3u;
                in += 2;
            }
        } else if ((c & 3) == 3) {
            // A literal run of 9..40 bytes as two or three wide copies.
            length = (c >> 2) + 9u;
            Copy16(out, in + 1);
            Copy16(out + 16, in + 17);
            if (length > 32) Copy8(out + 32, in + 33);
            out += length;
            return in + 1 + length;
        } else {
            distance = (c >> 2) + 1u;
            length = (c & 3) + 2u;
            in += 1;
        }
        CopyMatch(out, distance, length);
        out += length;
        return in;
    }

    // One group item by item, every read and length checked, the flush rule
    // tested after every item: the way near the ends.
    void DecodeGroupChecked() {
        uint32_t flags = GroupFlags(FetchByte());
        while (flags != GroupDone && outLeft_ != 0) {
            if (flags & 0x80000000u) {
                DecodeCodedItemChecked();
            } else {
                *out_++ = FetchByte();
                --outLeft_;
            }
            flags <<= 1;
            if (WindowUsed() >= FlushThreshold) FlushBlock();
        }
    }

    uint8_t FetchByte() {
        if (InputLeft() == 0) RejectStream();
        return *in_++;
    }

    void DecodeCodedItemChecked() {
        const uint8_t c = FetchByte();
        if (c & 0x80) {
            const uint8_t d = FetchByte();
            if (c & 0x40) {
                const uint8_t e = FetchByte();
                AppendMatch(((uint32_t(c) << 8 | d) & 0x3FFF) + 1, FarLengths[e]);
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
        const size_t kept = WindowUsed() - FlushBlockSize;
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

    source.ReadBuffer(inputBuffer.get(), packedSize);
    TokenDecoder(inputBuffer.get(), packedSize, outputWindow.get(), header.UnpackedSize, target).Run();
}
