// The decoder against hand-written streams: every token form at its edges,
// the flush rule's write pattern, and streams that break the format.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DecodePayload.h"
#include "Exception.h"
#include "MemoryStream.h"
#include "Noise.h"
#include "RecordingStream.h"
#include "TokenWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t MiB = 0x100000;

Bytes Decode(const Bytes& payload, std::vector<size_t>* writeSizes = nullptr) {
    TMemoryStream source(payload);
    RecordingStream target;
    DecodePayload(source, target);
    if (writeSizes) *writeSizes = target.writeSizes;
    return target.Bytes();
}

Bytes Repeat(const std::string& pattern, size_t length) {
    Bytes out;
    while (out.size() < length) out.push_back(uint8_t(pattern[out.size() % pattern.size()]));
    return out;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Writes history as literal runs of up to 40 bytes, plain literals for the rest.
void AddHistory(TokenWriter& w, const Bytes& history) {
    size_t at = 0;
    while (history.size() - at >= 9) {
        const size_t n = std::min<size_t>(40, history.size() - at);
        w.Run(Bytes(history.begin() + at, history.begin() + at + n));
        at += n;
    }
    for (; at < history.size(); ++at) w.Literal(history[at]);
}

struct FormCase {
    const char* name;
    TokenWriter stream;
    Bytes expected;
};

std::vector<FormCase> FormCases() {
    std::vector<FormCase> cases;
    const Bytes abc = {'a', 'b', 'c'};

    // The first bytes of a real executable: six literals, a short match, a literal.
    cases.push_back({"WorkedExample",
                     TokenWriter().Raw(0x02).Raw(0x4D).Raw(0x5A).Raw(0x50).Raw(0x00).Raw(0x02)
                         .Raw(0x00).Raw(0x00).Raw(0x04).Raw(0x05),
                     {0x4D, 0x5A, 0x50, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04}});

    TokenWriter eightLiterals;
    for (uint8_t b : Bytes{1, 2, 3, 4, 5, 6, 7, 8}) eightLiterals.Literal(b);
    cases.push_back({"FlagByte00IsEightLiterals", eightLiterals, {1, 2, 3, 4, 5, 6, 7, 8}});

    TokenWriter eightCoded;
    eightCoded.Run(Repeat("x", 9));
    for (int i = 0; i < 7; ++i) eightCoded.Coded({0x00});
    EXPECT_EQ(eightCoded.Stream()[0], 0xFF);
    cases.push_back({"FlagByteFFIsEightCodedTokens", eightCoded, Repeat("x", 9 + 7 * 2)});

    const Bytes forty = Noise(40);
    cases.push_back({"Control7FIsRunOf40", TokenWriter().Run(forty), forty});
    const Bytes nine = Noise(9);
    cases.push_back({"Control03IsRunOf9", TokenWriter().Run(nine), nine});

    const Bytes thirtyTwo = Noise(32);
    TokenWriter shortFar;
    AddHistory(shortFar, thirtyTwo);
    shortFar.Coded({0x7E});
    cases.push_back({"Control7EIsDistance32Length4", shortFar,
                     Concat(thirtyTwo, Bytes(thirtyTwo.begin(), thirtyTwo.begin() + 4))});

    cases.push_back({"Control00IsDistance1Length2", TokenWriter().Literal('x').Coded({0x00}),
                     Repeat("x", 3)});

    const Bytes kibi = Noise(1024);
    TokenWriter nearFar;
    AddHistory(nearFar, kibi);
    nearFar.Coded({0xBF, 0xFF});
    cases.push_back({"NearBFFFIsDistance1024Length18", nearFar,
                     Concat(kibi, Bytes(kibi.begin(), kibi.begin() + 18))});

    cases.push_back({"Near8000IsDistance1Length3", TokenWriter().Literal('y').Coded({0x80, 0x00}),
                     Repeat("y", 4)});

    const Bytes window = Noise(16384);
    TokenWriter farFar;
    AddHistory(farFar, window);
    farFar.Coded({0xFF, 0xFF, 0xFF});
    cases.push_back({"FarFFFFFFIsDistance16384Length4096", farFar,
                     Concat(window, Bytes(window.begin(), window.begin() + 4096))});

    cases.push_back({"FarC000FDIsDistance1Length256",
                     TokenWriter().Literal('z').Coded({0xC0, 0x00, 0xFD}), Repeat("z", 257)});
    cases.push_back({"FarC000FCIsLength255",
                     TokenWriter().Literal('z').Coded({0xC0, 0x00, 0xFC}), Repeat("z", 256)});
    cases.push_back({"FarC000FEIsLength1024",
                     TokenWriter().Literal('z').Coded({0xC0, 0x00, 0xFE}), Repeat("z", 1025)});
    cases.push_back({"FarC00000IsLength3",
                     TokenWriter().Literal('z').Coded({0xC0, 0x00, 0x00}), Repeat("z", 4)});

    // Distance 3, length 10 (near 80 27): the copy reads what it has just written.
    cases.push_back({"OverlapRepeatsPattern",
                     TokenWriter().Literal('a').Literal('b').Literal('c').Coded({0x80, 0x27}),
                     Repeat("abc", 13)});
    // Distances 1..7 against lengths that need the pattern widened more than once.
    for (uint8_t distance = 1; distance <= 7; ++distance) {
        TokenWriter w;
        const Bytes seed = Noise(distance, distance);
        AddHistory(w, seed);
        w.Coded({0xC0, uint8_t(distance - 1), 97});  // length 100
        Bytes expected = seed;
        for (int i = 0; i < 100; ++i) expected.push_back(expected[expected.size() - distance]);
        cases.push_back({"OverlapDistance", w, expected});
    }
    // Distance 10, length 4 (short 24 + 1 via near: 80 91): no overlap.
    const Bytes ten = Noise(10);
    TokenWriter apart;
    AddHistory(apart, ten);
    apart.Coded({0x80, 0x91});
    cases.push_back({"NoOverlapCopiesOlderBytes", apart,
                     Concat(ten, Bytes(ten.begin(), ten.begin() + 4))});

    // Eight items exactly: no flag byte follows, and PackedSize does not count one.
    cases.push_back({"FinalFullGroupWithoutFlagByte", eightLiterals, {1, 2, 3, 4, 5, 6, 7, 8}});
    TokenWriter withFlag = eightLiterals;
    withFlag.Raw(0x00);
    cases.push_back({"FinalFullGroupWithAppendedFlagByte", withFlag, {1, 2, 3, 4, 5, 6, 7, 8}});

    // Deep in a long stream, so that the group is decoded a whole group at a
    // time: the output ends at its second item, and what follows (far matches
    // of 4096 bytes) must not be decoded.
    const Bytes longHistory = Noise(20000, 3);
    TokenWriter endInGroup;
    AddHistory(endInGroup, longHistory);
    endInGroup.Literal('e').Coded({0xC0, 0x00, 0x00});  // 'e', then distance 1 length 3
    for (int i = 0; i < 200; ++i) endInGroup.Coded({0xFF, 0xFF, 0xFF});
    cases.push_back({"EndInsideAGroupFarFromTheEnds", endInGroup,
                     Concat(longHistory, Repeat("e", 4))});

    TokenWriter trailing = TokenWriter().Literal('q');
    trailing.Raw(0xFF).Raw(0xFF);
    cases.push_back({"BytesAfterTheLastItemAreIgnored", trailing, {'q'}});
    return cases;
}

TEST(DecodePayloadForms, EachCaseDecodesToItsBytes) {
    for (const FormCase& c : FormCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(c.stream.Payload(uint32_t(c.expected.size()))), c.expected);
    }
}

TEST(DecodePayloadForms, BytesAfterPackedSizeAreIgnored) {
    Bytes payload = TokenWriter().Literal('a').Payload(1);
    payload.insert(payload.end(), {0x80, 0x00, 0x7F});
    EXPECT_EQ(Decode(payload), Bytes{'a'});
}

TEST(DecodePayloadForms, HeaderFieldsBesideTheSizesDoNotMatter) {
    Bytes payload = TokenWriter().Literal('a').Literal('b').Payload(2);
    for (int i : {0, 1, 2, 3, 12, 13, 14, 15}) payload[i] = 0xA5;
    EXPECT_EQ(Decode(payload), (Bytes{'a', 'b'}));
}

TEST(DecodePayloadForms, UnpackedSizeZeroWritesNothingWhateverTheStream) {
    for (const Bytes& stream : {Bytes{}, Bytes{0xFF, 0x00}, Bytes{0x80, 0x00}}) {
        TokenWriter w;
        for (uint8_t b : stream) w.Raw(b);
        std::vector<size_t> writes;
        EXPECT_TRUE(Decode(w.Payload(0), &writes).empty());
        EXPECT_TRUE(writes.empty());
    }
}

// A stream of exactly `size` bytes with a period of 16384 made of far matches,
// so that matches reach back across every flush.
Bytes PeriodicOutput(size_t size, TokenWriter& w) {
    const Bytes seed = Noise(16384, 7);
    AddHistory(w, seed);
    size_t produced = seed.size();
    while (size - produced >= 4096) {
        w.Coded({0xFF, 0xFF, 0xFF});
        produced += 4096;
    }
    while (size - produced >= 3) {
        const size_t n = std::min<size_t>(255, size - produced);
        w.Coded({0xFF, 0xFF, uint8_t(n - 3)});
        produced += n;
    }
    for (; produced < size; ++produced) w.Literal(seed[produced % seed.size()]);
    Bytes expected(size);
    for (size_t i = 0; i < size; ++i) expected[i] = seed[i % seed.size()];
    return expected;
}

TEST(DecodePayloadFlush, WritePatternFollowsTheWindow) {
    struct Case {
        size_t size;
        std::vector<size_t> writes;
    };
    const Case cases[] = {
        {2 * MiB - 1, {2 * MiB - 1}},
        {2 * MiB, {MiB, MiB}},
        {5 * MiB - 1, {MiB, MiB, MiB, 2 * MiB - 1}},
        {5 * MiB, {MiB, MiB, MiB, MiB, MiB}},
        {1354240, {1354240}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        TokenWriter w;
        const Bytes expected = PeriodicOutput(c.size, w);
        std::vector<size_t> writes;
        EXPECT_EQ(Decode(w.Payload(uint32_t(c.size)), &writes), expected);
        EXPECT_EQ(writes, c.writes);
    }
}

// A target that accepts a fixed number of bytes, then fails: a full disk.
class FullDiskStream : public TMemoryStream {
public:
    explicit FullDiskStream(size_t room) : room_(room) {}
    size_t Write(const void* buffer, size_t count) override {
        const size_t n = std::min(count, room_);
        room_ -= n;
        return TMemoryStream::Write(buffer, n);
    }

private:
    size_t room_;
};

TEST(DecodePayloadFlush, ShortWriteRaisesTheWriteError) {
    TokenWriter w;
    PeriodicOutput(3 * MiB, w);
    for (size_t room : {size_t(0), MiB - 1, MiB + 5}) {
        TMemoryStream source(w.Payload(3 * MiB));
        FullDiskStream target(room);
        try {
            DecodePayload(source, target);
            ADD_FAILURE() << "no error with room " << room;
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), "ストリームへの書き込みエラー");
        }
    }
}

struct MalformedCase {
    const char* name;
    Bytes payload;
};

Bytes Header(uint32_t packedSize, uint32_t unpackedSize) {
    return TokenWriter().Payload(unpackedSize, packedSize);
}

// history bytes as literal runs, the coded item, then 2000 more bytes of runs;
// UnpackedSize is history + declared.
Bytes FarFromTheEnds(size_t history, std::initializer_list<uint8_t> item, size_t declared) {
    TokenWriter w;
    AddHistory(w, Noise(history, 5));
    w.Coded(item);
    for (int i = 0; i < 50; ++i) w.Run(Noise(40, uint32_t(i)));
    return w.Payload(uint32_t(history + declared));
}

std::vector<MalformedCase> MalformedCases() {
    return {
        {"HeaderShorterThan16Bytes", Bytes(15, 0)},
        {"SourceShorterThanPackedSize", Concat(Header(10, 10), Bytes(9, 0))},
        {"HugePackedSizeIsAReadErrorNotAnAllocationFailure", Header(0x7FFFFFFF, 1)},
        {"PackedSizeOf2To31", Concat(Header(0x80000000u, 1), Bytes(64, 0))},
        {"UnpackedSizeOf2To31", TokenWriter().Literal('a').Payload(0x80000000u)},
        // 80: one coded item; 00: short match distance 1 with nothing produced yet.
        {"MatchBeforeTheStart", TokenWriter().Coded({0x00}).Payload(2)},
        // a, then near 80 10: distance 2 with one byte produced.
        {"NearMatchBeforeTheStart", TokenWriter().Literal('a').Coded({0x80, 0x10}).Payload(4)},
        // Far C0 FF 00: distance 256 after 40 bytes.
        {"FarMatchBeforeTheStart",
         TokenWriter().Run(Noise(40)).Coded({0xC0, 0xFF, 0x00}).Payload(43)},
        // 00 then three literals, but four more bytes declared.
        {"LiteralsPastPackedSize", TokenWriter().Literal(1).Literal(2).Literal(3).Payload(4)},
        // 80 7F and only 10 of the 40 raw bytes.
        {"LiteralRunPastPackedSize",
         Concat(Header(12, 40), Bytes{0x80, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
        // a, then the near match's first byte as the stream's last.
        {"NearMatchMissingItsSecondByte", Concat(Header(3, 4), Bytes{0x40, 'a', 0x80})},
        {"FarMatchMissingItsThirdByte", Concat(Header(4, 5), Bytes{0x40, 'a', 0xC0, 0x00})},
        // Eight literals, then more output declared but no flag byte.
        {"NextFlagBytePastPackedSize",
         Concat(Header(9, 9), Bytes{0x00, 1, 2, 3, 4, 5, 6, 7, 8})},
        // The decoder's own slack must not pass for stream bytes.
        {"ItemInTheSlack", Concat(Header(1, 2), Bytes{0x00})},
        // a, then a match of 4 where only 3 bytes remain to be produced.
        {"MatchOvershootsUnpackedSize", TokenWriter().Literal('a').Coded({0x02}).Payload(3)},
        {"LiteralRunOvershootsUnpackedSize", TokenWriter().Run(Noise(9)).Payload(5)},
        // The same faults with plenty of stream before and after them, where
        // the decoder takes whole groups at a time.
        // One group of history, then distance 16384 (length 4096) or 1024 (18).
        {"FarMatchBeforeTheStartFarFromTheEnds",
         FarFromTheEnds(320, {0xFF, 0xFF, 0xFF}, 4096 + 2000)},
        {"NearMatchBeforeTheStartFarFromTheEnds", FarFromTheEnds(320, {0xBF, 0xFF}, 18 + 2000)},
        // Distance 1, length 4096, where 4095 bytes remain.
        {"MatchOvershootsUnpackedSizeFarFromTheEnds",
         FarFromTheEnds(20000, {0xC0, 0x00, 0xFF}, 4095)},
    };
}

TEST(DecodePayloadMalformed, EachStreamIsRejectedWithTheReadError) {
    for (const MalformedCase& c : MalformedCases()) {
        SCOPED_TRACE(c.name);
        TMemoryStream source(c.payload);
        TMemoryStream target;
        try {
            DecodePayload(source, target);
            ADD_FAILURE() << "accepted";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "ストリームからの読み込みエラー");
        }
    }
}

}  // namespace
