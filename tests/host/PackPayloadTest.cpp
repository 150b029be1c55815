// The packer against the real decoder: real executables, inputs of chosen shapes,
// the exact token forms at the edges of their ranges, and a brute-force optimum.

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "DecodePayload.h"
#include "Exception.h"
#include "MemoryStream.h"
#include "Noise.h"
#include "Packer.h"
#include "PayloadHeader.h"
#include "TokenForms.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace qzpack;

constexpr size_t MiB = 0x100000;

Bytes Repeat(const std::string& pattern, size_t length) {
    Bytes out(length);
    for (size_t i = 0; i < length; ++i) out[i] = uint8_t(pattern[i % pattern.size()]);
    return out;
}

std::string NoiseText(size_t length) {
    const Bytes noise = Noise(length, 42);
    return std::string(noise.begin(), noise.end());
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

PayloadHeader HeaderOf(const Bytes& payload) {
    uint8_t bytes[PayloadHeader::Size];
    std::copy(payload.begin(), payload.begin() + PayloadHeader::Size, bytes);
    return PayloadHeader::Parse(bytes);
}

Bytes Decode(const Bytes& payload) {
    TMemoryStream source(payload);
    TMemoryStream target;
    DecodePayload(source, target);
    return target.Bytes();
}

// Packs, checks the header and that the decoder gives the input back.
Bytes RoundTrip(const Bytes& input) {
    const Bytes payload = PackPayload(input);
    const PayloadHeader header = HeaderOf(payload);
    EXPECT_EQ(std::string(header.Signature, header.Signature + 2), "QZ");
    EXPECT_EQ(header.Tag[0], 0x83);
    EXPECT_EQ(header.Tag[1], 0x03);
    EXPECT_EQ(header.PackedSize, payload.size() - PayloadHeader::Size);
    EXPECT_EQ(header.UnpackedSize, input.size());
    EXPECT_EQ(header.Reserved, 0u);
    EXPECT_TRUE(Decode(payload) == input) << "decoded bytes differ from the input";
    return payload;
}

// One item of a token stream as the packer laid it out.
struct Item {
    MatchForm form;  // None for literals and literal runs
    uint32_t distance;
    uint32_t length;
};

// Walks the token stream's items without decoding their bytes.
std::vector<Item> ItemsOf(const Bytes& payload) {
    std::vector<Item> items;
    size_t at = PayloadHeader::Size;
    uint64_t produced = 0;
    const uint64_t unpacked = HeaderOf(payload).UnpackedSize;
    uint8_t flags = 0;
    for (int bit = 8; produced < unpacked; ++bit, flags <<= 1) {
        if (bit == 8) {
            flags = payload.at(at++);
            bit = 0;
        }
        Item item{MatchForm::None, 0, 1};
        if (flags & 0x80) {
            const uint8_t c = payload.at(at++);
            if (c & 0x80) {
                const uint8_t d = payload.at(at++);
                if (c & 0x40) {
                    const uint8_t e = payload.at(at++);
                    const uint32_t length = e == 255 ? 4096 : e == 254 ? 1024 : e == 253 ? 256 : e + 3u;
                    item = {MatchForm::Far, ((uint32_t(c) << 8 | d) & 0x3FFF) + 1, length};
                } else {
                    item = {MatchForm::Near, (uint32_t(c & 0x3F) << 4 | d >> 4) + 1, (d & 0x0Fu) + 3};
                }
            } else if ((c & 3) == 3) {
                item.length = (c >> 2) + 9u;
                at += item.length;
            } else {
                item = {MatchForm::Short, (c >> 2) + 1u, (c & 3u) + 2};
            }
        } else {
            ++at;
        }
        produced += item.length;
        items.push_back(item);
    }
    EXPECT_EQ(at, payload.size()) << "stream longer than its items";
    return items;
}

bool HasMatch(const std::vector<Item>& items, MatchForm form, uint32_t distance, uint32_t length) {
    return std::any_of(items.begin(), items.end(), [&](const Item& item) {
        return item.form == form && item.distance == distance && item.length == length;
    });
}

TEST(PackPayload, EmptyInputIsAHeaderAlone) {
    const Bytes payload = RoundTrip({});
    EXPECT_EQ(payload.size(), PayloadHeader::Size);
}

TEST(PackPayload, OneByteIsAFlagByteAndALiteral) {
    const Bytes payload = RoundTrip({0x4D});
    EXPECT_EQ(Bytes(payload.begin() + PayloadHeader::Size, payload.end()), (Bytes{0x00, 0x4D}));
}

TEST(PackPayload, FullLastGroupEndsWithoutAnotherFlagByte) {
    // Eight bytes that repeat nothing: eight literals, one group of nine bytes.
    const Bytes payload = RoundTrip({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(payload.size(), PayloadHeader::Size + 9);
}

struct ShapeCase {
    const char* name;
    Bytes input;
    double maxRatio;  // packed stream bytes per input byte
};

void PrintTo(const ShapeCase& shape, std::ostream* os) { *os << shape.name; }

class PackShape : public testing::TestWithParam<ShapeCase> {};

TEST_P(PackShape, RoundTripsWithinItsRatio) {
    const ShapeCase& shape = GetParam();
    const Bytes payload = RoundTrip(shape.input);
    EXPECT_LE(double(payload.size() - PayloadHeader::Size), shape.maxRatio * double(shape.input.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PackShape,
    testing::Values(
        // 4096-byte far matches: 25 bits per 4 KiB.
        ShapeCase{"AllZero5MiB", Bytes(5 * MiB, 0), 0.001},
        ShapeCase{"Period1", Repeat("x", 100000), 0.001},
        ShapeCase{"Period2", Repeat("ab", 100000), 0.001},
        ShapeCase{"Period3", Repeat("abc", 100000), 0.001},
        ShapeCase{"Period31", Repeat("abcdefghijklmnopqrstuvwxyz01234", 100000), 0.002},
        ShapeCase{"Period1000", Repeat(NoiseText(1000), 200000), 0.02},
        // Literal runs of 40 carry it: 41 bytes and a flag bit per 40 input bytes.
        ShapeCase{"Random", Noise(3 * MiB + 12345), 41.125 / 40},
        // The repeat straddles the parser's 1 MiB block boundary.
        ShapeCase{"RepeatAcrossBlocks", Concat({Noise(MiB - 12000, 7), Noise(10000, 8), Noise(10000, 8)}), 1.02}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

TEST(PackPayload, UsesTheLongFarLengths) {
    for (const uint32_t length : {255u, 256u, 1024u, 4096u}) {
        SCOPED_TRACE(length);
        const Bytes repeated = Noise(length, length);
        const Bytes payload = RoundTrip(Concat({repeated, Noise(2000, 99), repeated}));
        EXPECT_TRUE(HasMatch(ItemsOf(payload), MatchForm::Far, length + 2000, length));
    }
}

TEST(PackPayload, ReachesBackExactlyTheLongestDistance) {
    const Bytes repeated = Noise(64, 5);
    const Bytes reachable = RoundTrip(Concat({repeated, Noise(16384 - 64, 6), repeated}));
    EXPECT_TRUE(HasMatch(ItemsOf(reachable), MatchForm::Far, 16384, 64));

    const Bytes outOfReach = RoundTrip(Concat({repeated, Noise(16385 - 64, 6), repeated}));
    for (const Item& item : ItemsOf(outOfReach)) EXPECT_LE(item.distance, 16384u);
    // Without the match the 64 bytes go as literals.
    EXPECT_GE(outOfReach.size(), reachable.size() + 60);
}

TEST(PackPayload, NearAndShortFormsAtTheirEdges) {
    const Bytes a = Noise(18, 11);
    // The same 18 bytes 1024 bytes back: a near match; 1025 back: only far.
    EXPECT_TRUE(HasMatch(ItemsOf(RoundTrip(Concat({a, Noise(1024 - 18, 12), a}))), MatchForm::Near, 1024, 18));
    EXPECT_TRUE(HasMatch(ItemsOf(RoundTrip(Concat({a, Noise(1025 - 18, 12), a}))), MatchForm::Far, 1025, 18));
    // Two bytes 32 back are worth a short match; 33 back no form carries them.
    const Bytes two = {0xAB, 0xCD};
    EXPECT_TRUE(HasMatch(ItemsOf(RoundTrip(Concat({two, Noise(30, 13), two}))), MatchForm::Short, 32, 2));
    for (const Item& item : ItemsOf(RoundTrip(Concat({two, Noise(31, 13), two}))))
        EXPECT_EQ(item.form, MatchForm::None);
}

// The least number of stream bits for input, over every distance and every length.
uint64_t BruteForceOptimalBits(const Bytes& input) {
    const size_t n = input.size();
    std::vector<uint64_t> cost(n + 1, std::numeric_limits<uint64_t>::max());
    cost[0] = 0;
    for (size_t at = 0; at < n; ++at) {
        auto relax = [&](size_t length, uint64_t bits) { cost[at + length] = std::min(cost[at + length], cost[at] + bits); };
        relax(1, LiteralBits);
        for (size_t run = RunMinLength; run <= RunMaxLength && at + run <= n; ++run) relax(run, LiteralRunBits(uint32_t(run)));
        for (size_t distance = 1; distance <= std::min<size_t>(at, FarMaxDistance); ++distance) {
            for (size_t length = 1; length <= MaxMatchLength && at + length <= n; ++length) {
                if (input[at + length - 1] != input[at + length - 1 - distance]) break;
                const MatchForm form = CheapestForm(uint32_t(distance), uint32_t(length));
                if (form != MatchForm::None) relax(length, FormBits(form));
            }
        }
    }
    return cost[n];
}

Bytes SampleText() {
    const std::string text =
        "The decoder reads the header, then the whole token stream, and decodes it into a window "
        "of three mebibytes, writing one mebibyte whenever the window reaches two. A match copies "
        "bytes from the output it has already written, one byte at a time, so a short distance "
        "repeats a pattern. The reader writes everything it decoded; the packer writes only what "
        "the reader needs. Literal runs carry bytes that repeat nothing, nine to forty at a time. ";
    return Repeat(text, 3 * text.size() + 77);
}

TEST(PackPayload, ParseIsOptimalOnSmallInputs) {
    std::vector<std::pair<const char*, Bytes>> inputs = {
        {"text", SampleText()},
        {"mixed", Concat({Noise(700, 3), Repeat("ab", 21), Noise(40, 4), Noise(700, 3), Repeat("\x01\x02\x03", 50)})},
    };
    for (const auto& [name, input] : inputs) {
        SCOPED_TRACE(name);
        const Bytes payload = RoundTrip(input);
        EXPECT_EQ(payload.size() - PayloadHeader::Size, (BruteForceOptimalBits(input) + 7) / 8);
    }
}

TEST(PackPayload, LongRepeatsTakeTheFewestTokens) {
    // Far matches come only as 3..255, 256, 1024 and 4096 bytes; the rest of a
    // repeat goes as literals or further matches, whichever is cheaper.
    for (const uint32_t length : {255u, 256u, 257u, 258u, 259u, 1023u, 1024u, 1025u, 4097u, 5000u}) {
        SCOPED_TRACE(length);
        const Bytes repeated = Noise(length, length);
        const Bytes input = Concat({repeated, Noise(2000, 99), repeated});
        const Bytes payload = RoundTrip(input);
        EXPECT_EQ(payload.size() - PayloadHeader::Size, (BruteForceOptimalBits(input) + 7) / 8);
    }
}

std::vector<std::filesystem::path> SampleDlls() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(SAMPLE_DLL_DIR)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

TEST(PackPayload, RoundTripsWineDlls) {
    const auto files = SampleDlls();
    ASSERT_GE(files.size(), 5u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes input = ReadFile(path);
        ASSERT_GE(input.size(), 64u * 1024);
        const Bytes payload = RoundTrip(input);
        // Machine code packs to well under half.
        EXPECT_LT(double(payload.size()) / double(input.size()), 0.45);
    }
}

TEST(PackPayload, ParseOfAWineDllSliceIsOptimal) {
    // Part of a code section: real instruction bytes, small enough for the brute force.
    const Bytes dll = ReadFile(SampleDlls().front());
    ASSERT_GT(dll.size(), 0x3000u);
    const Bytes slice(dll.begin() + 0x1000, dll.begin() + 0x2800);
    const Bytes payload = RoundTrip(slice);
    EXPECT_EQ(payload.size() - PayloadHeader::Size, (BruteForceOptimalBits(slice) + 7) / 8);
}

TEST(PackPayload, RefusesInputsOf2GiB) {
    // Address space only: any read of it would crash, so the size is checked first.
    const size_t size = size_t(1) << 31;
    void* reserved = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(reserved, MAP_FAILED);
    EXPECT_THROW(PackPayload(static_cast<const uint8_t*>(reserved), size), Exception);
    munmap(reserved, size);
}

}  // namespace
