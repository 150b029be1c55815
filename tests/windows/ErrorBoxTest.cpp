// The application's standard error box: its text rule, its caption, and the
// failures that the layer's dispatch turns into it.

#include <new>
#include <string>

#include <gtest/gtest.h>

#include "Application.h"
#include "ErrorBox.h"
#include "Exception.h"
#include "Unicode.h"
#include "WindowDriver.h"

namespace {

struct ShownBox {
    std::string caption;
    std::string text;
    int buttons = 0;
    bool errorIcon = false;
};

ShownBox ReadAndDismiss(HWND box) {
    ShownBox shown;
    if (!box) return shown;
    shown.caption = TextOf(box);
    shown.text = MessageBoxText(box);
    shown.buttons = int(ChildrenOf(box, L"Button").size());
    for (HWND child : ChildrenOf(box, L"Static")) {
        const HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon && icon == LoadIconW(nullptr, IDI_HAND)) shown.errorIcon = true;
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return shown;
}

// The box as this process shows it, found by its caption: the title.
ShownBox ShowAndRead(const std::function<void()>& show) {
    ShownBox shown;
    DriveWhile(show, [&] { shown = ReadAndDismiss(WaitForWindow(MessageBoxClass, Application->Title())); });
    return shown;
}

struct TextCase {
    const char* name;
    std::string message;
    std::string shown;
};

class ErrorBoxTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopUnlessTheMessageEndsInAsciiUpToFullStop) {
    const ShownBox shown = ShowAndRead([] { Application->ShowException(GetParam().message); });
    EXPECT_EQ(shown.text, GetParam().shown);
    EXPECT_EQ(shown.caption, "platform_windows_tests");
    EXPECT_EQ(shown.buttons, 1);
    EXPECT_TRUE(shown.errorIcon);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorBoxTextTest,
    testing::Values(TextCase{"Japanese", "ディレクトリを作成できません", "ディレクトリを作成できません."},
                    TextCase{"JapaneseFullStop", "完了しました。", "完了しました。."},
                    TextCase{"HalfWidthKatakana", "ｴﾗｰ", "ｴﾗｰ."},
                    TextCase{"FullStop", "Stream read error.", "Stream read error."},
                    TextCase{"Exclamation", "Stop!", "Stop!"},
                    TextCase{"Space", "trailing ", "trailing "},
                    TextCase{"Slash", "a/", "a/."},
                    TextCase{"Letter", "Access denied", "Access denied."},
                    TextCase{"Digit", "code 5", "code 5."},
                    TextCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(ErrorBoxText, ForeignFailuresAreNamedByTheCppExceptionCode) {
    EXPECT_EQ(FailureMessage(std::make_exception_ptr(std::bad_alloc())), "外部例外 E06D7363");
    EXPECT_EQ(FailureMessage(std::make_exception_ptr(std::runtime_error("not ours"))), "外部例外 E06D7363");
    EXPECT_EQ(FailureMessage(std::make_exception_ptr(EReadError())), "ストリームからの読み込みエラー");
}

TEST(ErrorBoxText, HandleExceptionShowsTheFailureBeingHandled) {
    const ShownBox shown = ShowAndRead([] {
        try {
            throw Exception("キー PELMOR の作成に失敗しました");
        } catch (...) {
            Application->HandleException();
        }
    });
    EXPECT_EQ(shown.text, "キー PELMOR の作成に失敗しました.");
}

struct TitleCase {
    const wchar_t* path;
    const char* title;
};

TEST(ApplicationTitle, IsTheFileNameCutBeforeItsFirstDotAndLowerCasedAfterItsFirstCharacter) {
    const TitleCase cases[] = {
        {L"C:\\Games\\SETUP.exe", "Setup"},
        {L"C:\\Games\\patch.new.exe", "patch"},
        {L"Z:\\a.b\\UPDATER.EXE", "Updater"},
        {L"C:\\x\\ABC", "Abc"},
        {L"C:\\x\\Q.exe", "Q"},
        {L"\u30A2\u30C3\u30D7.exe", "アップ"},
    };
    for (const TitleCase& c : cases) EXPECT_EQ(TitleFromFileName(c.path), c.title) << Narrow(c.path);
}

// The probe only shows an error box; copies of it under other names show
// their own titles.
struct ProbeRun {
    ShownBox shown;
    DWORD exitCode = STILL_ACTIVE;
};

ProbeRun RunProbeCopy(const std::wstring& fileName) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L'\\') + 1) + fileName;

    ProbeRun run;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << Narrow(path);
        return run;
    }
    HWND box = nullptr;
    WaitUntil([&] {
        for (const char* title : {"Setup", "patch", "SETUP", "Patch"}) {
            if ((box = WaitForWindow(MessageBoxClass, title, process.dwProcessId, 0))) return true;
        }
        return false;
    });
    run.shown = ReadAndDismiss(box);
    if (WaitForSingleObject(process.hProcess, WaitTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

TEST(ApplicationTitle, CaptionsTheErrorBoxOfTheRealExecutable) {
    const ProbeRun setup = RunProbeCopy(L"SETUP.exe");
    EXPECT_EQ(setup.shown.caption, "Setup");
    EXPECT_EQ(setup.shown.text, "プローブ.");
    EXPECT_EQ(setup.exitCode, 0u);

    const ProbeRun patch = RunProbeCopy(L"patch.new.exe");
    EXPECT_EQ(patch.shown.caption, "patch");
    EXPECT_EQ(patch.exitCode, 0u);
}

}  // namespace
