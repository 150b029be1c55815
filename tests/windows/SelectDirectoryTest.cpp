// The directory chooser driven from a second thread as a user would.

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "ChooserDriver.h"
#include "Exception.h"
#include "FileSystem.h"
#include "SelectDirectory.h"
#include "TempDirectory.h"
#include "Unicode.h"
#include "WindowDriver.h"

namespace {

struct ChooserRun {
    std::optional<std::string> result;
    std::string failure;
};

ChooserRun RunChooser(const std::function<void(const TChooserWindows&)>& script) {
    ChooserRun run;
    DriveWhile(
        [&] {
            try {
                run.result = SelectDirectory();
            } catch (const Exception& e) {
                run.failure = e.Message();
            }
        },
        [&] {
            const TChooserWindows chooser = WaitForChooser();
            if (chooser) script(chooser);
            WaitUntil([&] { return !IsWindowVisible(chooser.dialog); });
        });
    return run;
}

std::vector<std::wstring> ListEntries(HWND list) {
    std::vector<std::wstring> entries;
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring entry(size_t(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        entry.resize(size_t(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&entry[0]))));
        entries.push_back(entry);
    }
    return entries;
}

TEST(SelectDirectory, OpensAtTheCurrentDirectoryAndCancelReturnsNothing) {
    TTempDirectory sandbox;
    sandbox.MakeDirectory("sub");
    std::string editText;
    std::vector<std::wstring> entries;
    std::string drive;
    const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
        editText = TextOf(chooser.edit);
        entries = ListEntries(chooser.directories);
        drive = TextOf(chooser.drives);
        ClickButton(chooser.cancel);
    });
    EXPECT_EQ(editText, sandbox.Path());
    EXPECT_NE(std::find(entries.begin(), entries.end(), L"[sub]"), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), L"[..]"), entries.end());
    EXPECT_EQ(drive, "[-c-]");
    EXPECT_FALSE(run.result);
}

TEST(SelectDirectory, EscAndTheCloseBoxReturnNothing) {
    TTempDirectory sandbox;
    EXPECT_FALSE(RunChooser([](const TChooserWindows& c) { PostKey(FocusOf(c.dialog), VK_ESCAPE); }).result);
    EXPECT_FALSE(RunChooser([](const TChooserWindows& c) {
                     PostMessageW(c.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                 }).result);
}

TEST(SelectDirectory, BrowsingMovesTheCurrentDirectoryAndTheEditFollows) {
    TTempDirectory sandbox;
    sandbox.MakeDirectory("sub\\deeper");
    std::string inSub, inDeeper, backUp;
    const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
        const auto editBecomes = [&](const std::string& expected, std::string& seen) {
            WaitUntil([&] { return (seen = TextOf(chooser.edit)) == expected; }, 3000);
        };
        OpenListEntry(chooser.directories, L"[sub]");
        editBecomes(sandbox.Join("sub"), inSub);
        OpenListEntry(chooser.directories, L"[deeper]");
        editBecomes(sandbox.Join("sub\\deeper"), inDeeper);
        OpenListEntry(chooser.directories, L"[..]");
        editBecomes(sandbox.Join("sub"), backUp);
        ClickButton(chooser.ok);
    });
    EXPECT_EQ(inSub, sandbox.Join("sub"));
    EXPECT_EQ(inDeeper, sandbox.Join("sub\\deeper"));
    EXPECT_EQ(backUp, sandbox.Join("sub"));
    EXPECT_EQ(run.result, sandbox.Join("sub"));
    EXPECT_EQ(CurrentDirectory(), sandbox.Join("sub")) << "the chooser leaves the process where it browsed to";
}

// The drive's own case is kept: the edit shows what the system calls the directory.
bool IsOnDriveZ(const std::string& path) {
    return path.size() >= 3 && (path[0] == 'z' || path[0] == 'Z') && path.compare(1, 2, ":\\") == 0;
}

TEST(SelectDirectory, PickingADriveOpensIt) {
    TTempDirectory sandbox;
    std::string editText;
    RunChooser([&](const TChooserWindows& chooser) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(chooser.drives, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(L"[-z-]"),
                            SMTO_NORMAL, WaitTimeoutMs, &ignored);
        PostMessageW(chooser.dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(chooser.drives), CBN_SELCHANGE),
                     LPARAM(chooser.drives));
        WaitUntil([&] { return IsOnDriveZ(editText = TextOf(chooser.edit)); }, 3000);
        ClickButton(chooser.cancel);
    });
    EXPECT_TRUE(IsOnDriveZ(editText)) << editText;
    EXPECT_TRUE(IsOnDriveZ(CurrentDirectory()));
}

// Typed texts come back exactly as typed: relative, with a trailing separator.
TEST(SelectDirectory, ReturnsTheTypedTextUnchanged) {
    TTempDirectory sandbox;
    sandbox.MakeDirectory("sub");
    for (const std::wstring typed : {L"sub", L"sub\\", L".\\sub"}) {
        const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
            SetText(chooser.edit, typed);
            PostKey(chooser.edit, VK_RETURN);  // Enter in the edit presses the default button, OK
        });
        EXPECT_EQ(run.result, Narrow(typed));
    }
}

TEST(SelectDirectory, AMissingDirectoryIsConfirmedAndNoKeepsTheChooserOpen) {
    TTempDirectory sandbox;
    std::string question;
    bool openAfterNo = false;
    const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
        SetText(chooser.edit, Widen(sandbox.Join("new")));
        ClickButton(chooser.ok);
        question = AnswerQuestion(IDNO);
        SyncWith(chooser.dialog);
        openAfterNo = IsWindowVisible(chooser.dialog);
        ClickButton(chooser.cancel);
    });
    EXPECT_EQ(question, "指定されたディレクトリが存在しません。作成しますか？");
    EXPECT_TRUE(openAfterNo);
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(sandbox.Exists("new"));
}

TEST(SelectDirectory, YesCreatesTheDirectoryWithItsParents) {
    TTempDirectory sandbox;
    const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
        SetText(chooser.edit, Widen(sandbox.Join("new\\level")));
        ClickButton(chooser.ok);
        AnswerQuestion(IDYES);
    });
    EXPECT_EQ(run.result, sandbox.Join("new\\level"));
    EXPECT_TRUE(DirectoryExists(sandbox.Join("new\\level")));
}

TEST(SelectDirectory, AnEmptyTextAcceptedRaises) {
    TTempDirectory sandbox;
    const ChooserRun run = RunChooser([&](const TChooserWindows& chooser) {
        SetText(chooser.edit, L"");
        ClickButton(chooser.ok);
        AnswerQuestion(IDYES);
    });
    EXPECT_FALSE(run.result);
    EXPECT_EQ(run.failure, "ディレクトリを作成できません");
}

}  // namespace
