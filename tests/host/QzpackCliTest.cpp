// The qzpack program driven from outside: exit codes, its one line on stderr,
// and what it leaves in the output directory.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

Bytes ReadBytes(const fs::path& path) {
    const std::string text = ReadText(path);
    return Bytes(text.begin(), text.end());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

class QzpackCli : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qzpack-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        scratch_ = dir_ / "scratch";
        work_ = dir_ / "work";
        fs::create_directory(scratch_);
        fs::create_directory(work_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Paths are ours and carry no quotes, so single quotes suffice for the shell.
    RunResult Run(const std::vector<std::string>& args) {
        std::string command = std::string("'") + QZPACK_EXE + "'";
        for (const std::string& arg : args) command += " '" + arg + "'";
        const fs::path out = scratch_ / "stdout", err = scratch_ / "stderr";
        command += " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
    }

    std::vector<std::string> WorkFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(work_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Work(const std::string& name) const { return (work_ / name).string(); }

    fs::path dir_, scratch_, work_;
};

TEST_F(QzpackCli, PackThenUnpackGivesTheFileBack) {
    fs::copy_file(fs::path(SAMPLE_DLL_DIR) / "version.dll", Work("input.dll"));

    const RunResult pack = Run({"pack", Work("input.dll"), Work("input.qz")});
    EXPECT_EQ(pack.exitCode, 0) << pack.err;
    EXPECT_EQ(pack.err, "");
    const Bytes payload = ReadBytes(Work("input.qz"));
    ASSERT_GE(payload.size(), 16u);
    EXPECT_EQ(std::string(payload.begin(), payload.begin() + 2), "QZ");
    EXPECT_LT(payload.size(), fs::file_size(Work("input.dll")));

    const RunResult unpack = Run({"unpack", Work("input.qz"), Work("output.dll")});
    EXPECT_EQ(unpack.exitCode, 0) << unpack.err;
    EXPECT_EQ(unpack.err, "");
    EXPECT_EQ(ReadBytes(Work("output.dll")), ReadBytes(Work("input.dll")));
    // No temporary file is left beside the outputs.
    EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"input.dll", "input.qz", "output.dll"}));
}

TEST_F(QzpackCli, PackReplacesAnExistingOutput) {
    WriteBytes(Work("input"), Bytes(1000, 7));
    WriteBytes(Work("output"), Bytes(5000, 1));
    ASSERT_EQ(Run({"pack", Work("input"), Work("output")}).exitCode, 0);
    ASSERT_EQ(Run({"unpack", Work("output"), Work("again")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Work("again")), Bytes(1000, 7));
}

struct FailureCase {
    const char* name;
    const char* command;
    Bytes input;  // empty: INPUT does not exist
    bool outputInMissingDirectory;
    const char* messagePart;
};

void PrintTo(const FailureCase& failure, std::ostream* os) { *os << failure.name; }

class QzpackCliFailure : public QzpackCli, public testing::WithParamInterface<FailureCase> {};

Bytes ValidPayloadOfNineBytes() {
    // Header: PackedSize 11, UnpackedSize 9; eight literals, then a second group of one.
    return {'Q', 'Z', 0x83, 0x03, 11, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
            0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x00, 9};
}

TEST_P(QzpackCliFailure, FailsWithOneLineAndLeavesOutputAlone) {
    const FailureCase& failure = GetParam();
    if (!failure.input.empty()) WriteBytes(Work("input"), failure.input);
    const std::string output = failure.outputInMissingDirectory ? Work("missing/output") : Work("output");

    for (const bool outputExists : {false, true}) {
        SCOPED_TRACE(outputExists ? "existing output" : "no output");
        const Bytes previous = {'o', 'l', 'd'};
        if (outputExists && !failure.outputInMissingDirectory) WriteBytes(output, previous);
        const auto before = WorkFiles();

        const RunResult result = Run({failure.command, Work("input"), output});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        const auto lines = Lines(result.err);
        ASSERT_EQ(lines.size(), 1u) << result.err;
        EXPECT_EQ(lines[0].rfind("qzpack: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(failure.messagePart), std::string::npos) << lines[0];
        EXPECT_EQ(result.err.back(), '\n');

        EXPECT_EQ(WorkFiles(), before);
        if (outputExists && !failure.outputInMissingDirectory) {
            EXPECT_EQ(ReadBytes(output), previous);
        }
    }
}

Bytes Truncated(Bytes payload, size_t cut) {
    payload.resize(payload.size() - cut);
    return payload;
}

Bytes WithDistanceBeforeTheStart() {
    // One literal, then a short match reaching two bytes back.
    return {'Q', 'Z', 0x83, 0x03, 3, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x41, 0x04};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QzpackCliFailure,
    testing::Values(
        FailureCase{"UnpackTruncatedPayload", "unpack", Truncated(ValidPayloadOfNineBytes(), 1), false,
                    "is not a valid payload (ストリームからの読み込みエラー)"},
        FailureCase{"UnpackShorterThanHeader", "unpack", Bytes(10, 0x51), false, "is not a valid payload"},
        FailureCase{"UnpackMatchBeforeStart", "unpack", WithDistanceBeforeTheStart(), false, "is not a valid payload"},
        FailureCase{"UnpackMissingInput", "unpack", {}, false, "cannot open"},
        FailureCase{"PackMissingInput", "pack", {}, false, "cannot open"},
        FailureCase{"PackIntoMissingDirectory", "pack", Bytes(100, 3), true, "missing/output"},
        FailureCase{"UnpackIntoMissingDirectory", "unpack", ValidPayloadOfNineBytes(), true, "missing/output"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(QzpackCli, UnpackOfAValidPayloadStillWorks) {
    // Guards the failure table: its valid payload is valid until truncated.
    WriteBytes(Work("input"), ValidPayloadOfNineBytes());
    ASSERT_EQ(Run({"unpack", Work("input"), Work("output")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Work("output")), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(QzpackCli, HelpPrintsUsageAndSucceeds) {
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const RunResult result = Run({option});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_NE(result.out.find("qzpack pack INPUT OUTPUT"), std::string::npos);
        EXPECT_NE(result.out.find("qzpack unpack INPUT OUTPUT"), std::string::npos);
        EXPECT_NE(result.out.find("Exit status"), std::string::npos);
    }
}

TEST_F(QzpackCli, WrongUsagePrintsUsageToStderrAndExits2) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"pack"}, {"pack", "a"}, {"pack", "a", "b", "c"}, {"compress", "a", "b"}, {"--help", "x"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        const RunResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("Usage: qzpack pack INPUT OUTPUT"), std::string::npos);
    }
    EXPECT_TRUE(WorkFiles().empty());
}

}  // namespace
