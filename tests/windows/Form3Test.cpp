// Form3, the location-unknown dialog, shown modally on real windows and driven
// from a second thread: layout, centring, keys, and the hidden selection flow
// against the real registry and real directories.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Application.h"
#include "ChooserDriver.h"
#include "TempDirectory.h"
#include "Unicode.h"
#include "Unit3.h"
#include "WindowDriver.h"

namespace {

constexpr wchar_t SectionPath[] = L"Software\\Kurvex\\PELMOR";

std::optional<std::string> StoredGameDir() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    wchar_t data[1024] = L"";
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, L"GameDir", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return Narrow(data);
}

void ForgetGameDir() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, L"GameDir");
    RegCloseKey(key);
}

// Stands for the main window, created first as in the application, so that
// Form3 is not the main form: closing it never ends the message loop.
constexpr TFormLayout MainStandInLayout = {
    "Form1", "アップデーター", TBorderStyle::Sizeable, TSizeKind::Outer, 0, 0, 538, 291, nullptr, 0,
};

class TMainStandIn : public TForm {
public:
    TMainStandIn() : TForm(MainStandInLayout) {}
};
TMainStandIn* MainStandIn = nullptr;

class Form3Test : public testing::Test {
protected:
    void SetUp() override {
        if (!MainStandIn) Application->CreateForm(MainStandIn);
        if (!Form3) Application->CreateForm(Form3);
        ForgetGameDir();
    }
    void TearDown() override { ForgetGameDir(); }

    static HWND Dialog() { return Form3->Handle(); }

    // Shows Form3 modally while script drives it; script gets the dialog's window once visible.
    static void ShowModalWhile(const std::function<void(HWND)>& script) {
        DriveWhile([] { Form3->ShowModal(); },
                   [&] {
                       if (WaitUntil([] { return IsWindowVisible(Dialog()) != FALSE; })) script(Dialog());
                   });
    }

    // The click on the hidden button arrives as the button's notification does.
    static void PostButton2Click() {
        const HWND button = Form3->Button2->Handle();
        PostMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), LPARAM(button));
    }
};

struct ExpectedChild {
    const wchar_t* className;
    std::string text;
    RECT rect;  // left, top, right, bottom in the client area
    bool visible;
};

TEST_F(Form3Test, ShowsItsLayoutCentredWithTheFocusOnTheExitButton) {
    const std::vector<ExpectedChild> expected = {
        {L"Static", "インストールが正常に行われていないか、ドライブ構成が変更されたなどの", {8, 16, 383, 28}, true},
        {L"Static", "理由により、アップデート先が不明です。", {8, 32, 212, 44}, true},
        {L"Static", "", {8, 152, 12, 164}, true},
        {L"Static", "先に製品のインストール（再インストール）を行ってから、アップデートを", {8, 48, 363, 60}, true},
        {L"Static", "行ってください。", {8, 64, 87, 76}, true},
        {L"Button", "インストール先の指定", {24, 104, 193, 137}, false},
        {L"Button", "終了", {320, 72, 401, 105}, true},
    };
    struct Seen {
        std::string caption;
        SIZE client{};
        RECT outer{};
        LONG style = 0;
        size_t childCount = 0;
        std::vector<HWND> children;
        std::vector<bool> visible;
        HWND focus = nullptr;
        bool closedByExit = false;
    } seen;
    ShowModalWhile([&](HWND dialog) {
        seen.caption = TextOf(dialog);
        seen.client = ClientSizeOf(dialog);
        seen.outer = WindowRectOf(dialog);
        seen.style = GetWindowLongW(dialog, GWL_STYLE);
        seen.childCount = ChildrenOf(dialog, L"Static").size() + ChildrenOf(dialog, L"Button").size();
        for (const ExpectedChild& child : expected) {
            seen.children.push_back(ChildWithText(dialog, child.className, child.text));
            seen.visible.push_back(IsWindowVisible(seen.children.back()) != FALSE);
        }
        WaitUntil([&] { return (seen.focus = FocusOf(dialog)) != nullptr; });
        ClickButton(ChildWithText(dialog, L"Button", "終了"));
        seen.closedByExit = WaitUntil([&] { return !IsWindowVisible(dialog); });
    });

    EXPECT_EQ(seen.caption, "インストール先が不明です");
    EXPECT_EQ(seen.client.cx, 418);
    EXPECT_EQ(seen.client.cy, 122);
    EXPECT_FALSE(seen.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "a fixed dialog border";
    EXPECT_TRUE(seen.style & WS_SYSMENU) << "with a close box";
    const int width = seen.outer.right - seen.outer.left;
    const int height = seen.outer.bottom - seen.outer.top;
    EXPECT_EQ(seen.outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(seen.outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    EXPECT_EQ(seen.childCount, expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const HWND child = seen.children[i];
        ASSERT_NE(child, nullptr) << expected[i].text;
        const RECT rect = ChildRectOf(child);
        EXPECT_EQ(rect.left, expected[i].rect.left) << expected[i].text;
        EXPECT_EQ(rect.top, expected[i].rect.top) << expected[i].text;
        EXPECT_EQ(rect.right, expected[i].rect.right) << expected[i].text;
        EXPECT_EQ(rect.bottom, expected[i].rect.bottom) << expected[i].text;
        EXPECT_EQ(seen.visible[i], expected[i].visible) << expected[i].text;
    }
    EXPECT_EQ(seen.focus, Form3->Button3->Handle());
    EXPECT_TRUE(seen.closedByExit);
}

TEST_F(Form3Test, IsCentredOnEveryShowing) {
    for (int showing = 0; showing < 2; ++showing) {
        SetWindowPos(Dialog(), nullptr, 3, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT outer = {};
        ShowModalWhile([&](HWND dialog) {
            outer = WindowRectOf(dialog);
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            WaitUntil([&] { return !IsWindowVisible(dialog); });
        });
        EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
        EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    }
}

struct KeyCase {
    const char* name;
    std::vector<WORD> keys;
    bool closes;
};

class Form3KeyTest : public Form3Test, public testing::WithParamInterface<KeyCase> {};

TEST_P(Form3KeyTest, OnlyPressesTheFocusedExitButton) {
    bool closedByKeys = false;
    HWND focusAfterKeys = nullptr;
    ShowModalWhile([&](HWND dialog) {
        if (!WaitUntil([&] { return FocusOf(dialog) != nullptr; })) return;
        for (WORD key : GetParam().keys) PostKey(FocusOf(dialog), key);
        // A key that closes does so at once; one that does not gets the time to.
        closedByKeys = WaitUntil([&] { return !IsWindowVisible(dialog); }, 500);
        focusAfterKeys = FocusOf(dialog);
        if (!closedByKeys) PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(closedByKeys, GetParam().closes);
    if (!GetParam().closes) {
        EXPECT_EQ(focusAfterKeys, Form3->Button3->Handle());
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, Form3KeyTest,
                         testing::Values(KeyCase{"Enter", {VK_RETURN}, true},
                                         KeyCase{"Space", {VK_SPACE}, true},
                                         KeyCase{"EscDoesNothing", {VK_ESCAPE}, false},
                                         KeyCase{"TabFindsNoOtherStop", {VK_TAB}, false}),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// The hidden selection flow: the chooser's result is tested for the marker
// file and, when it is there, recorded with a separator appended.
struct SelectionCase {
    const char* name;
    std::vector<std::string> directories;  // made in the sandbox, the current directory
    std::vector<std::string> files;
    std::string typed;  // "<sandbox>" stands for the sandbox's path
    std::optional<std::string> stored;
};

std::string ExpandSandbox(std::string text, const TTempDirectory& sandbox) {
    const size_t at = text.find("<sandbox>");
    if (at != std::string::npos) text.replace(at, 9, sandbox.Path());
    return text;
}

class Form3SelectionTest : public Form3Test, public testing::WithParamInterface<SelectionCase> {};

TEST_P(Form3SelectionTest, RecordsADirectoryWithTheMarkerFileAndCloses) {
    TTempDirectory sandbox;
    for (const auto& directory : GetParam().directories) sandbox.MakeDirectory(directory);
    for (const auto& file : GetParam().files) sandbox.MakeFile(file);
    bool chooserSeen = false;
    bool openAfterChoice = true;
    ShowModalWhile([&](HWND dialog) {
        PostButton2Click();
        const TChooserWindows chooser = WaitForChooser();
        if (!(chooserSeen = bool(chooser))) return;
        SetText(chooser.edit, Widen(ExpandSandbox(GetParam().typed, sandbox)));
        ClickButton(chooser.ok);
        WaitUntil([&] { return !IsWindow(chooser.dialog); });
        SyncWith(dialog);
        openAfterChoice = IsWindowVisible(dialog);
    });
    ASSERT_TRUE(chooserSeen);
    const auto expected = GetParam().stored;
    EXPECT_EQ(StoredGameDir(), expected ? std::optional(ExpandSandbox(*expected, sandbox)) : std::nullopt);
    EXPECT_EQ(openAfterChoice, !expected) << "the dialog closes exactly when a directory is recorded";
}

INSTANTIATE_TEST_SUITE_P(
    Choices, Form3SelectionTest,
    testing::Values(
        SelectionCase{"MarkerPresent", {"inst"}, {"inst\\vx_data.vpk"}, "<sandbox>\\inst", "<sandbox>\\inst\\"},
        SelectionCase{"TypedSeparatorIsDoubled", {"inst"}, {"inst\\vx_data.vpk"}, "<sandbox>\\inst\\",
                      "<sandbox>\\inst\\\\"},
        SelectionCase{"RelativeStoredAsTyped", {"inst"}, {"inst\\vx_data.vpk"}, "inst", "inst\\"},
        SelectionCase{"JapaneseDirectory", {"製品"}, {"製品\\vx_data.vpk"}, "<sandbox>\\製品", "<sandbox>\\製品\\"},
        SelectionCase{"MarkerAbsent", {"inst"}, {"inst\\other.vpk"}, "<sandbox>\\inst", std::nullopt},
        SelectionCase{"MarkerIsADirectory", {"inst\\vx_data.vpk"}, {}, "<sandbox>\\inst", std::nullopt}),
    [](const testing::TestParamInfo<SelectionCase>& info) { return std::string(info.param.name); });

TEST_F(Form3Test, CancellingTheChooserWritesNothing) {
    TTempDirectory sandbox;
    sandbox.MakeFile("vx_data.vpk");  // the chooser opens here: accepting would record it
    bool openAfterCancel = false;
    bool openAfterNoThenCancel = false;
    ShowModalWhile([&](HWND dialog) {
        PostButton2Click();
        TChooserWindows chooser = WaitForChooser();
        if (!chooser) return;
        ClickButton(chooser.cancel);
        WaitUntil([&] { return !IsWindow(chooser.dialog); });
        SyncWith(dialog);
        openAfterCancel = IsWindowVisible(dialog);

        PostButton2Click();
        if (!(chooser = WaitForChooser())) return;
        SetText(chooser.edit, Widen(sandbox.Join("missing")));
        ClickButton(chooser.ok);
        AnswerQuestion(IDNO);
        ClickButton(chooser.cancel);
        WaitUntil([&] { return !IsWindow(chooser.dialog); });
        SyncWith(dialog);
        openAfterNoThenCancel = IsWindowVisible(dialog);
    });
    EXPECT_TRUE(openAfterCancel);
    EXPECT_TRUE(openAfterNoThenCancel);
    EXPECT_EQ(StoredGameDir(), std::nullopt);
}

TEST_F(Form3Test, AnEmptyChoiceShowsTheErrorBoxAndTheDialogStaysOpen) {
    TTempDirectory sandbox;
    std::string boxCaption, boxText;
    bool openAfterBox = false;
    ShowModalWhile([&](HWND dialog) {
        PostButton2Click();
        const TChooserWindows chooser = WaitForChooser();
        if (!chooser) return;
        SetText(chooser.edit, L"");
        ClickButton(chooser.ok);
        AnswerQuestion(IDYES);
        HWND box = WaitForWindow(MessageBoxClass, Application->Title());
        if (!box) return;
        boxCaption = TextOf(box);
        boxText = MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(box); });
        SyncWith(dialog);
        openAfterBox = IsWindowVisible(dialog);
    });
    EXPECT_EQ(boxCaption, "location_windows_tests");
    EXPECT_EQ(boxText, "ディレクトリを作成できません.");
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(StoredGameDir(), std::nullopt);
}

}  // namespace
