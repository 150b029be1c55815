// Decode throughput of DecodePayload against a byte-by-byte reference decoder,
// LZ4 and memcpy, all on the same corpus in one run; packed/unpacked ratios of
// qzpack, LZ4HC and zlib; DecodePayload's peak memory against its bound.
// The host build packs the corpus itself; the Windows build has neither the
// packer nor LZ4 and zlib, and reads the .qz files the host wrote (--write-packed).
//
// Usage: decode_bench [--write-packed] [--rounds N] CORPUS_DIR

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "BenchStreams.h"
#include "Corpus.h"
#include "DecodePayload.h"
#include "PayloadHeader.h"
#include "ReferenceDecoder.h"

#ifdef DECODE_BENCH_HOST
#include <lz4.h>
#include <lz4hc.h>
#include <zlib.h>

#include "Packer.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr double MB = 1e6;
constexpr size_t KiB = 1024;
constexpr size_t MiB = 1024 * KiB;
constexpr size_t PeakMemoryAllowance = 3 * MiB + 64 * KiB;
constexpr double SpeedGoal = 0.40;  // DecodePayload / LZ4_decompress_safe

struct Options {
    std::string corpusDir;
    bool writePacked = false;
    int rounds = 10;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--write-packed") {
            options.writePacked = true;
        } else if (arg == "--rounds" && i + 1 < argc) {
            options.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (options.corpusDir.empty() && arg[0] != '-') {
            options.corpusDir = arg;
        } else {
            throw std::runtime_error("unknown argument " + arg);
        }
    }
    if (options.corpusDir.empty())
        throw std::runtime_error("usage: decode_bench [--write-packed] [--rounds N] CORPUS_DIR");
    return options;
}

struct Sample {
    const CorpusFile* file;
    Bytes qz;   // header and token stream
    Bytes lz4;  // one LZ4 block, host only
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::vector<Sample> MakeSamples(const std::vector<CorpusFile>& corpus, const Options& options) {
    std::vector<Sample> samples;
    for (const CorpusFile& file : corpus) samples.push_back({&file, {}, {}});
#ifdef DECODE_BENCH_HOST
    const Clock::time_point start = Clock::now();
    for (Sample& s : samples) s.qz = PackPayload(s.file->bytes);
    std::printf("qzpack packed the corpus in %.1f s\n", Seconds(Clock::now() - start));
    if (options.writePacked) {
        for (const Sample& s : samples) WriteWholeFile(PackedPath(*s.file), s.qz);
        std::printf("wrote %zu packed files beside the originals\n", samples.size());
    }
    for (Sample& s : samples) {
        const Bytes& in = s.file->bytes;
        s.lz4.resize(size_t(LZ4_compressBound(int(in.size()))));
        const int n = LZ4_compress_HC(reinterpret_cast<const char*>(in.data()),
                                      reinterpret_cast<char*>(s.lz4.data()), int(in.size()),
                                      int(s.lz4.size()), 12);
        if (n <= 0) throw std::runtime_error("LZ4HC failed on " + s.file->name);
        s.lz4.resize(size_t(n));
    }
#else
    const auto unpackedSizeOf = [](const Bytes& qz) {
        uint8_t headerBytes[PayloadHeader::Size];
        std::memcpy(headerBytes, qz.data(), sizeof headerBytes);
        return PayloadHeader::Parse(headerBytes).UnpackedSize;
    };
    if (options.writePacked) throw std::runtime_error("--write-packed needs the host build");
    for (Sample& s : samples) {
        const std::filesystem::path packed = PackedPath(*s.file);
        if (!std::filesystem::exists(packed))
            throw std::runtime_error("no " + packed.string() +
                                     ": run the host bench with --write-packed first");
        s.qz = ReadWholeFile(packed);
        if (s.qz.size() < PayloadHeader::Size || unpackedSizeOf(s.qz) != s.file->bytes.size())
            throw std::runtime_error(packed.string() + " is not a payload of its file");
    }
#endif
    return samples;
}

// One way to turn a sample back into its file: writes into out (room for the
// file's size) and returns the number of bytes produced.
struct Contender {
    const char* name;
    std::function<size_t(const Sample&, uint8_t* out)> decode;
};

size_t RunDecodePayload(const Sample& s, uint8_t* out) {
    TSpanReadStream source(s.qz.data(), s.qz.size());
    TBufferWriteStream target(out, s.file->bytes.size());
    DecodePayload(source, target);
    return target.Written();
}

std::vector<Contender> Contenders() {
    std::vector<Contender> contenders;
    contenders.push_back({"DecodePayload", RunDecodePayload});
    contenders.push_back({"reference decoder", [](const Sample& s, uint8_t* out) {
                              Bytes decoded;
                              if (!ReferenceDecode(s.qz.data(), s.qz.size(), decoded))
                                  throw std::runtime_error("reference decoder rejected a payload");
                              std::memcpy(out, decoded.data(), decoded.size());
                              return decoded.size();
                          }});
#ifdef DECODE_BENCH_HOST
    contenders.push_back({"LZ4_decompress_safe", [](const Sample& s, uint8_t* out) {
                              const int n = LZ4_decompress_safe(
                                  reinterpret_cast<const char*>(s.lz4.data()),
                                  reinterpret_cast<char*>(out), int(s.lz4.size()),
                                  int(s.file->bytes.size()));
                              return n < 0 ? size_t(0) : size_t(n);
                          }});
#endif
    contenders.push_back({"memcpy", [](const Sample& s, uint8_t* out) {
                              std::memcpy(out, s.file->bytes.data(), s.file->bytes.size());
                              return s.file->bytes.size();
                          }});
    return contenders;
}

size_t LargestFile(const std::vector<Sample>& samples) {
    size_t largest = 0;
    for (const Sample& s : samples) largest = std::max(largest, s.file->bytes.size());
    return largest;
}

// Every contender must give back every file exactly, or its speed means nothing.
bool CheckOutputs(const std::vector<Contender>& contenders, const std::vector<Sample>& samples) {
    Bytes out(LargestFile(samples));
    bool allEqual = true;
    for (const Contender& c : contenders) {
        for (const Sample& s : samples) {
            std::fill(out.begin(), out.end(), uint8_t(0xA5));
            const Bytes& expected = s.file->bytes;
            const size_t n = c.decode(s, out.data());
            if (n != expected.size() || std::memcmp(out.data(), expected.data(), n) != 0) {
                std::printf("MISMATCH: %s on %s (%zu bytes, expected %zu)\n", c.name,
                            s.file->name.c_str(), n, expected.size());
                allEqual = false;
            }
        }
    }
    return allEqual;
}

// Each contender's time for the corpus: every file's best time over all rounds,
// summed. Contenders take turns file by file, so a busy moment of a shared
// machine hits them alike, and a file's best time is one without it.
std::vector<double> BestSeconds(const std::vector<Contender>& contenders,
                                const std::vector<Sample>& samples, int rounds) {
    Bytes out(LargestFile(samples));
    std::vector<std::vector<double>> best(contenders.size(),
                                          std::vector<double>(samples.size(), 1e30));
    for (int round = 0; round < rounds; ++round) {
        for (size_t f = 0; f < samples.size(); ++f) {
            for (size_t c = 0; c < contenders.size(); ++c) {
                const Clock::time_point start = Clock::now();
                contenders[c].decode(samples[f], out.data());
                best[c][f] = std::min(best[c][f], Seconds(Clock::now() - start));
            }
        }
    }
    std::vector<double> total(contenders.size(), 0.0);
    for (size_t c = 0; c < contenders.size(); ++c)
        for (double seconds : best[c]) total[c] += seconds;
    return total;
}

void PrintRatios(const std::vector<Sample>& samples, size_t total) {
    size_t qz = 0;
    for (const Sample& s : samples) qz += s.qz.size();
    std::printf("\npacked / unpacked\n");
    std::printf("  %-20s %.4f  (%zu bytes, header included)\n", "qzpack", double(qz) / total, qz);
#ifdef DECODE_BENCH_HOST
    size_t lz4 = 0, zlib = 0;
    for (const Sample& s : samples) {
        lz4 += s.lz4.size();
        const Bytes& in = s.file->bytes;
        uLongf n = compressBound(uLong(in.size()));
        Bytes packed(n);
        if (compress2(packed.data(), &n, in.data(), uLong(in.size()), 9) != Z_OK)
            throw std::runtime_error("zlib failed on " + s.file->name);
        zlib += n;
    }
    std::printf("  %-20s %.4f  (%zu bytes)\n", "LZ4HC level 12", double(lz4) / total, lz4);
    std::printf("  %-20s %.4f  (%zu bytes)\n", "zlib level 9", double(zlib) / total, zlib);
#endif
}

// Peak bytes held through operator new during one DecodePayload call, per file;
// the streams allocate nothing, so this is the decoder's own buffers.
bool PrintPeakMemory(const std::vector<Sample>& samples) {
    Bytes out(LargestFile(samples));
    const Sample* worst = nullptr;
    size_t worstPeak = 0;
    long long worstHeadroom = 0;
    bool allWithin = true;
    for (const Sample& s : samples) {
        const size_t before = AllocationCounter::BytesInUse();
        AllocationCounter::ResetPeak();
        RunDecodePayload(s, out.data());
        const size_t peak = AllocationCounter::PeakBytesInUse() - before;
        const size_t bound = s.qz.size() - PayloadHeader::Size + PeakMemoryAllowance;
        const long long headroom = (long long)bound - (long long)peak;
        if (headroom < 0) allWithin = false;
        if (worst == nullptr || headroom < worstHeadroom) {
            worst = &s;
            worstPeak = peak;
            worstHeadroom = headroom;
        }
    }
    const size_t packedSize = worst->qz.size() - PayloadHeader::Size;
    std::printf("\npeak decode memory (operator new), closest to its bound: %s\n",
                worst->file->name.c_str());
    std::printf("  peak %zu bytes = PackedSize %zu + %zu\n", worstPeak, packedSize,
                worstPeak - packedSize);
    std::printf("  bound PackedSize + 3 MiB + 64 KiB = %zu bytes: %s (headroom %lld)\n",
                packedSize + PeakMemoryAllowance, worstHeadroom >= 0 ? "within" : "OVER",
                worstHeadroom);
    std::printf("  all %zu files within their bound: %s\n", samples.size(),
                allWithin ? "yes" : "NO");
    return allWithin;
}

int Run(const Options& options) {
#ifdef DECODE_BENCH_HOST
    std::printf("decode_bench, host build (%zu-bit)\n", sizeof(void*) * 8);
#else
    std::printf("decode_bench, Windows build (%zu-bit); no LZ4 or zlib here, see bench/README.md\n",
                sizeof(void*) * 8);
#endif
    const std::vector<CorpusFile> corpus = LoadCorpus(options.corpusDir);
    size_t total = 0;
    for (const CorpusFile& f : corpus) total += f.bytes.size();
    std::printf("corpus: %zu files, %zu bytes, %s\n", corpus.size(), total,
                options.corpusDir.c_str());

    const std::vector<Sample> samples = MakeSamples(corpus, options);
    const std::vector<Contender> contenders = Contenders();
    const bool outputsEqual = CheckOutputs(contenders, samples);
    std::printf("every decoder's output equals its file: %s\n", outputsEqual ? "yes" : "NO");

    PrintRatios(samples, total);

    const std::vector<double> best = BestSeconds(contenders, samples, options.rounds);
    std::printf("\ndecode speed, MB/s of output (1 MB = 10^6 bytes), each file's best of %d rounds\n",
                options.rounds);
    for (size_t i = 0; i < contenders.size(); ++i)
        std::printf("  %-20s %9.1f\n", contenders[i].name, total / MB / best[i]);
#ifdef DECODE_BENCH_HOST
    // Both indices follow the order of Contenders().
    const double ratio = best[2] / best[0];
    std::printf("  DecodePayload / LZ4_decompress_safe: %.2f (goal %.2f)\n", ratio, SpeedGoal);
#endif

    const bool memoryWithin = PrintPeakMemory(samples);
    return outputsEqual && memoryWithin ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "decode_bench: %s\n", e.what());
        return 2;
    }
}
