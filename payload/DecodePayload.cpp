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
constexpr size_t ShortMaxDistance = 32;

// Wide copies move whole chunks, so they may read and write up to this many
// bytes past an item's end. The window keeps this much room above the largest
// item that can start below the flush threshold.
constexpr size_t CopyOverrun = 32;
static_assert(FlushThreshold + MaxItemOutput + CopyOverrun <= OutputWindowSize);

// The unchecked way decodes a whole group at a time; these bound what one group
// can read (flag byte included) and write.
constexpr size_t GroupMaxInput = 1 + ItemsPerGroup * MaxItemInput;
constexpr size_t GroupMaxOutput = ItemsPerGroup * MaxItemOutput;
static_assert(FlushThreshold + GroupMaxOutput + CopyOverrun <= OutputWindowSize);

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

// Copies a match whose distance is at least 16, so that 16-byte chunks never
// read bytes that are not written yet. Most are 32 bytes or shorter: two chunks
// without a test of the length.
inline void CopyDistantMatch(uint8_t* out, const uint8_t* from, size_t length) {
    Copy16(out, from);
    Copy16(out + 16, from + 16);
    for (size_t done = 32; done < length; done += 16) Copy16(out + done, from + done);
}

// What a flag byte says, read once per group rather than bit by bit: the
// number of coded items, and in four-bit fields from the lowest up, the number
// of literals before each coded item and after the last one. Eight coded items
// leave no room for a ninth field, but then every field is zero anyway.
struct GroupPlan {
    uint32_t literalRuns;
    uint32_t codedItems;
};

constexpr std::array<GroupPlan, 256> MakeGroupPlans() {
    std::array<GroupPlan, 256> plans{};
    for (unsigned flagByte = 0; flagByte < 256; ++flagByte) {
        uint32_t runs = 0;
        unsigned field = 0, literals = 0, coded = 0;
        for (unsigned bit = 0x80; bit != 0; bit >>= 1) {
            if (flagByte & bit) {
                runs |= uint32_t(literals) << (4 * field++);
                literals = 0;
                ++coded;
            } else {
                ++literals;
            }
        }
        if (field < 8) runs |= uint32_t(literals) << (4 * field);
        plans[flagByte] = {runs, coded};
    }
    return plans;
}
constexpr std::array<GroupPlan, 256> GroupPlans = MakeGroupPlans();

class TokenDecoder {
public:
    TokenDecoder(const uint8_t* input, size_t packedSize, uint8_t* window, size_t unpackedSize,
                 TStream& target)
        : in_(input), inEnd_(input + packedSize), window_(window), out_(window),
          unpackedSize_(unpackedSize), outLeft_(unpackedSize), target_(target) {}

    void Run() {
        while (outLeft_ != 0) {
            const bool decoded = WindowUsed() < ShortMaxDistance ? false
                                 : WindowUsed() < MaxDistance ? DecodeGroupsFast<true>()
                                                              : DecodeGroupsFast<false>();
            if (!decoded && outLeft_ != 0) DecodeGroupChecked();
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

    // The unchecked way, one whole group at a time, while the input holds the
    // largest group and its wide reads. The window has room for any group that
    // starts below the flush threshold. Three things are tested only once a
    // group is decoded, and a group that fails one is decoded again the checked
    // way (nothing it wrote is needed):
    // - UnpackedSize, which the checked way stops at with the exact item;
    // - while the history is shorter than MaxDistance, whether a match reached
    //   before the output (the unchecked copy then read the window's first bytes);
    // - the flush rule: as one group cannot pass the threshold twice, the same
    //   1 MiB blocks reach the target as when testing after every item.
    // Returns false when the next group must take the checked way, true when
    // the history has grown past MaxDistance.
    template <bool YoungHistory>
    bool DecodeGroupsFast() {
        // Local copies: stores through the byte pointers could alias the
        // members, and the compiler would reload them after every store.
        const uint8_t* in = in_;
        const uint8_t* const inEnd = inEnd_;
        uint8_t* const window = window_;
        uint8_t* out = out_;
        size_t outLeft = outLeft_;
        bool decoded = false;
        while (outLeft != 0 && size_t(inEnd - in) >= GroupMaxInput + CopyOverrun) {
            if (YoungHistory && size_t(out - window) >= MaxDistance) {
                decoded = true;
                break;
            }
            uint8_t* const groupOut = out;
            bool reachedBefore = false;
            const uint8_t* const next =
                DecodeGroupUnchecked<YoungHistory>(in, out, window, reachedBefore);
            const size_t produced = size_t(out - groupOut);
            if (produced > outLeft || reachedBefore) {
                out = groupOut;
                break;
            }
            in = next;
            outLeft -= produced;
            if (size_t(out - window) >= FlushThreshold) {
                out_ = out;
                FlushBlock();
                out = out_;
            }
        }
        in_ = in;
        out_ = out;
        outLeft_ = outLeft;
        return decoded;
    }

    template <bool YoungHistory>
    static const uint8_t* DecodeGroupUnchecked(const uint8_t* in, uint8_t*& out,
                                               const uint8_t* window, bool& reachedBefore) {
        const GroupPlan& plan = GroupPlans[*in++];
        uint32_t literalRuns = plan.literalRuns;
        for (uint32_t coded = plan.codedItems; coded != 0; --coded) {
            // The literals before the coded item, all at once: copying eight is
            // cheaper than counting.
            const size_t literals = literalRuns & 15;
            literalRuns >>= 4;
            Copy8(out, in);
            in += literals;
            out += literals;
            in = DecodeCodedItemUnchecked<YoungHistory>(in, out, window, reachedBefore);
        }
        const size_t literals = literalRuns & 15;
        Copy8(out, in);
        out += literals;
        return in + literals;
    }

    // A long match's start. While the history is young, one that reaches
    // before the output starts at the window instead (at least 32 bytes back,
    // so the copy stays inside the window), and the group is marked to be
    // decoded again. Short matches reach at most 32 bytes back and need no test.
    template <bool YoungHistory>
    static const uint8_t* MatchSource(uint8_t* out, size_t distance, const uint8_t* window,
                                      bool& reachedBefore) {
        if (YoungHistory && distance > size_t(out - window)) {
            reachedBefore = true;
            return window;
        }
        return out - distance;
    }

    // One coded item; returns where the next item starts. Long matches, literal
    // runs and short matches each copy in their own way, so that the common
    // case of each takes no branch on the length.
    template <bool YoungHistory>
    static const uint8_t* DecodeCodedItemUnchecked(const uint8_t* in, uint8_t*& out,
                                                   const uint8_t* window, bool& reachedBefore) {
        const uint8_t c = in[0];
        if (c >= 0x80) {
            // Near and far matches are mixed unpredictably, so they share one
            // path and pick their fields without a branch. The top two bits of
            // c, 10 or 11, are also the item's size.
            const uint32_t d = in[1];
            const uint32_t size = c >> 6;
            const uint32_t farMask = 0u - (size & 1);
            const size_t distance = (((uint32_t(c & 0x3F) << 8 | d) & farMask) |
                                     ((uint32_t(c & 0x3F) << 4 | d >> 4) & ~farMask)) + 1;
            const size_t length = (FarLengths[in[2]] & farMask) | (((d & 0x0F) + 3u) & ~farMask);
            const uint8_t* from = MatchSource<YoungHistory>(out, distance, window, reachedBefore);
            if (size_t(out - from) >= 16) {
                CopyDistantMatch(out, from, length);
            } else {
                CopyMatch(out, size_t(out - from), length);
            }
            out += length;
            return in + size;
        }
        if ((c & 3) == 3) {
            // A literal run of 9..40 bytes as two or three wide copies.
            const size_t length = (c >> 2) + 9u;
            Copy16(out, in + 1);
            Copy16(out + 16, in + 17);
            if (length > 32) Copy8(out + 32, in + 33);
            out += length;
            return in + 1 + length;
        }
        // A short match: 2..4 bytes from 1..32 back. Four single bytes, in
        // order, are right for every distance, and need no branch at all.
        const uint8_t* from = out - ((c >> 2) + 1u);
        out[0] = from[0];
        out[1] = from[1];
        out[2] = from[2];
        out[3] = from[3];
        out += (c & 3) + 2u;
        return in + 1;
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
