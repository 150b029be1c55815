// Resource to file under Wine: real files, real resources of this very program
// (see the payloads it embeds in CMakeLists.txt), and every way the update can fail.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Exception.h"
#include "ExtractPayload.h"
#include "Files.h"
#include "Unicode.h"

namespace {

std::set<std::string> ListDirectory(const std::string& dir) {
    const std::vector<std::string> names = DirectoryEntries(dir);
    return {names.begin(), names.end()};
}

const std::string DemoProduct = FromUnixPath(DEMO_PRODUCT_PATH);
const std::string RealDll = FromUnixPath(REAL_DLL_PATH);
const Bytes OldProduct(40000, 0x0D);

// A product that runs, holding its executable open, until the test ends.
class RunningProduct {
public:
    explicit RunningProduct(const std::string& exe) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + Widen(exe) + L"\"";
        started_ = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_);
        if (started_) WaitForInputIdle(process_.hProcess, 10000);
    }
    ~RunningProduct() {
        if (!started_) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Started() const { return started_; }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

struct Case {
    const char* name;
    const char* resource;
    // Makes the target's surroundings; returns the target path.
    std::function<std::string(const std::string& dir)> arrange;
    // Empty for success, else the whole message, with TARGET standing for the target path.
    std::string failure;
    std::string expectedContent;  // file whose bytes the target must hold on success
};

std::string WithOldProduct(const std::string& dir) {
    EXPECT_TRUE(WriteFileBytes(dir + "\\PELMOR.EXE", OldProduct));
    return dir + "\\PELMOR.EXE";
}

const std::string CreateError = "ファイル TARGET を作成できません";
const std::string ReadError = "ストリームからの読み込みエラー";
const std::string WriteError = "ストリームへの書き込みエラー";

std::vector<Case> Cases() {
    return {
        {"DemoProductReplacesTheOldOne", "EXE", WithOldProduct, "", DemoProduct},
        {"RealDllIntoAnEmptyDirectory", "DLL", [](const std::string& dir) { return dir + "\\PELMOR.EXE"; }, "",
         RealDll},
        {"JapaneseDirectoryName", "EXE",
         [](const std::string& dir) {
             CreateDirectoryW(Widen(dir + "\\ゲーム").c_str(), nullptr);
             return dir + "\\ゲーム\\PELMOR.EXE";
         },
         "", DemoProduct},
        {"MissingResource", "NOPE", WithOldProduct, "NOPE リソースが見つかりません", ""},
        {"TargetDirectoryMissing", "EXE", [](const std::string& dir) { return dir + "\\missing\\PELMOR.EXE"; },
         CreateError, ""},
        {"TruncatedPayload", "TRUNC", WithOldProduct, ReadError, ""},
        {"DigestMismatch", "BADSUM", WithOldProduct, ReadError, ""},
        {"ReadOnlyTarget", "EXE",
         [](const std::string& dir) {
             const std::string target = WithOldProduct(dir);
             SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_READONLY);
             return target;
         },
         CreateError, ""},
    };
}

class ExtractPayloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = Narrow(temp) + "extract-test-" + std::to_string(GetCurrentProcessId());
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryW(Widen(root_).c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(root_); }

    // Runs one case in a directory of its own and checks everything it leaves behind.
    void Check(const Case& c, const std::string& dir) {
        const std::string target = c.arrange(dir);
        const std::string targetDir = target.substr(0, target.rfind('\\'));
        const bool existed = PathExists(target);
        const Bytes before = ReadFileBytes(target);
        const std::set<std::string> filesBefore = ListDirectory(targetDir);

        std::string message;
        try {
            EXPECT_TRUE(ExtractPayload(c.resource, target));
        } catch (const Exception& e) {
            message = e.Message();
        }

        if (c.failure.empty()) {
            EXPECT_EQ(message, "");
            EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(c.expectedContent));
            std::set<std::string> expected = filesBefore;
            expected.insert("PELMOR.EXE");
            EXPECT_EQ(ListDirectory(targetDir), expected) << "only the target may be new";
            return;
        }
        std::string failure = c.failure;
        if (const auto at = failure.find("TARGET"); at != std::string::npos) failure.replace(at, 6, target);
        EXPECT_EQ(message, failure);
        EXPECT_EQ(PathExists(target), existed);
        EXPECT_EQ(ReadFileBytes(target), before) << "the old product must be untouched";
        EXPECT_EQ(ListDirectory(targetDir), filesBefore) << "no temporary file may be left";
    }

    std::string NewCaseDirectory(const char* name) {
        const std::string dir = root_ + "\\" + name;
        CreateDirectoryW(Widen(dir).c_str(), nullptr);
        return dir;
    }

    std::string root_;
};

TEST_F(ExtractPayloadTest, EachCaseEndsAsExpected) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        Check(c, NewCaseDirectory(c.name));
    }
}

TEST_F(ExtractPayloadTest, TargetHeldByARunningProduct) {
    const std::string dir = NewCaseDirectory("Running");
    const std::string target = dir + "\\PELMOR.EXE";
    ASSERT_TRUE(CopyFileW(Widen(DemoProduct).c_str(), Widen(target).c_str(), FALSE));
    RunningProduct product(target);
    ASSERT_TRUE(product.Started());
    Check({"Running", "DLL", [&](const std::string&) { return target; }, CreateError, ""}, dir);
}

// T: is a small tmpfs when the test run could mount one (see disk-full-drive).
TEST_F(ExtractPayloadTest, DiskFullLeavesTheOldProduct) {
    if (GetDriveTypeW(L"T:\\") == DRIVE_NO_ROOT_DIR || !PathExists("T:\\disk-full-drive"))
        GTEST_SKIP() << "no small drive T: here; the decoder's own tests cover a failing write";
    const std::string dir = "T:\\full";
    RemoveTree(dir);
    CreateDirectoryW(Widen(dir).c_str(), nullptr);
    Check({"DiskFull", "DLL", WithOldProduct, WriteError, ""}, dir);
    RemoveTree(dir);
}

}  // namespace
