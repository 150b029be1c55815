// The real updater, PELMOR_UPDATE.exe, driven from outside like a user would: its
// windows found by caption and owning process, texts read with WM_GETTEXT, clicks
// and keys posted to its queue; then its exit code, the files it left and the
// registry are checked.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Files.h"
#include "Input.h"
#include "MessageBoxReader.h"
#include "Unicode.h"
#include "UpdaterFixture.h"
#include "Wait.h"
#include "WindowFinder.h"
#include "WindowPixels.h"

namespace {

using namespace Texts;

constexpr DWORD ExitTimeoutMs = 15000;
// How long a key that must do nothing is given to do something.
constexpr DWORD SettleMs = 1000;

// A wineserver started without this DISPLAY keeps a desktop on which no window appears.
const char* const NoWindowsHint =
    "(no windows at all: was the prefix's wineserver started on another X display? wineserver -k)";

// What the user does to a window: a click on a button, or a key for the focused control.
enum class Action { Click, Enter, Space, Escape };

void Perform(Action action, HWND window, HWND button) {
    const WORD keys[] = {0, VK_RETURN, VK_SPACE, VK_ESCAPE};
    if (action == Action::Click) {
        PostClick(button);
        return;
    }
    HWND focus = FocusIn(window);
    PostKey(focus ? focus : window, keys[int(action)]);
}

std::vector<std::string> VisibleButtonCaptions(HWND window) {
    std::vector<std::string> captions;
    for (HWND child : ChildWindows(window))
        if (ClassIs(child, "Button") && IsWindowVisible(child)) captions.push_back(WindowText(child));
    return captions;
}

// The texts of the visible controls that are not buttons, in z-order.
std::vector<std::string> VisibleLabelTexts(HWND window) {
    std::vector<std::string> texts;
    for (HWND child : ChildWindows(window))
        if (!ClassIs(child, "Button") && IsWindowVisible(child) && !WindowText(child).empty())
            texts.push_back(WindowText(child));
    return texts;
}

// A control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control) {
    RECT rect = WindowRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectCentred(HWND window) {
    const RECT outer = WindowRect(window);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
}

COLORREF BannerRowColour(int row) { return RGB(0, 0, (193 - row) * 255 / 193); }

class UpdaterTest : public UpdaterFixture {
protected:
    // Starts the updater and waits for its main window; a failure ends the test.
    void StartAndWaitForMainWindow() {
        updater_ = StartUpdater();
        ASSERT_TRUE(updater_->Started());
        main_ = WaitForMainWindow(*updater_);
        ASSERT_TRUE(main_) << "no visible window \"" << MainCaption << "\"; the updater has:\n"
                           << DescribeWindows(updater_->Id()) << NoWindowsHint;
        start_ = FindChild(main_, "Button", Start);
        exit_ = FindChild(main_, "Button", Exit);
        change_ = FindChild(main_, "Button", ChangeDestination);
        ASSERT_TRUE(start_ && exit_ && change_);
    }

    void ExpectExitCode(DWORD expected) {
        const auto code = updater_->WaitForExit(ExitTimeoutMs);
        ASSERT_TRUE(code.has_value()) << "the updater did not end";
        EXPECT_EQ(*code, expected);
    }

    void ExpectAllButtonsDisabled() {
        for (HWND button : {start_, exit_, change_}) EXPECT_FALSE(IsWindowEnabled(button)) << WindowText(button);
    }

    // The tree as it must be after a run that writes nothing.
    TreeSnapshot Untouched() const { return SnapshotTree(Root()); }
    // The tree as it must be after a run that replaced the product.
    TreeSnapshot Updated() const {
        TreeSnapshot expected = SnapshotTree(Root());
        std::string relative = ProductFile().substr(Root().size() + 1);
        expected[relative] = ContentTag(CorrectedProduct());
        return expected;
    }

    std::unique_ptr<ChildProcess> updater_;
    HWND main_ = nullptr;
    HWND start_ = nullptr;
    HWND exit_ = nullptr;
    HWND change_ = nullptr;
};

TEST_F(UpdaterTest, MainWindowIsCentredWithItsButtonsAndTheFocusOnStart) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());

    const RECT outer = WindowRect(main_);
    EXPECT_EQ(outer.right - outer.left, 538);
    EXPECT_EQ(outer.bottom - outer.top, 291);
    ExpectCentred(main_);

    struct Expected {
        HWND button;
        RECT place;
        bool visible;
    };
    for (const Expected& e : {Expected{start_, {8, 216, 121, 249}, true}, Expected{exit_, {432, 216, 515, 249}, true},
                              Expected{change_, {296, 216, 409, 249}, false}}) {
        SCOPED_TRACE(WindowText(e.button));
        const RECT place = PlaceInParent(e.button);
        EXPECT_EQ(place.left, e.place.left);
        EXPECT_EQ(place.top, e.place.top);
        EXPECT_EQ(place.right, e.place.right);
        EXPECT_EQ(place.bottom, e.place.bottom);
        EXPECT_EQ(IsWindowVisible(e.button) != FALSE, e.visible);
        EXPECT_TRUE(IsWindowEnabled(e.button));
    }
    EXPECT_EQ(VisibleButtonCaptions(main_), (std::vector<std::string>{Start, Exit}));
    EXPECT_EQ(FocusIn(main_), start_);
    EXPECT_EQ(VisibleTopLevelWindows(updater_->Id()), std::vector<HWND>{main_}) << "no other window is shown";
}

TEST_F(UpdaterTest, BannerIsABlueGradientWithSixLinesOfWhiteText) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    // The first painting may still be on its way to the screen.
    WaitUntil(
        [&] {
            const WindowPixels early(main_, {8, 8}, {512, 193});
            return early.Valid() && early.At(3, 0) == BannerRowColour(0);
        },
        5000);
    const WindowPixels banner(main_, {8, 8}, {512, 193});
    ASSERT_TRUE(banner.Valid());

    EXPECT_EQ(banner.At(3, 0), COLORREF(0xFF0000)) << "pure blue on top";
    EXPECT_EQ(banner.At(3, 96), COLORREF(128 << 16));
    EXPECT_EQ(banner.At(3, 192), COLORREF(1 << 16)) << "not black at the bottom";
    // Left of the text (x < 10) and right of the longest line, every row is the gradient.
    for (int row = 0; row < 193; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        ASSERT_EQ(banner.At(3, row), BannerRowColour(row));
        ASSERT_EQ(banner.At(511, row), BannerRowColour(row));
    }

    struct TextRows {
        int top;
        int bottom;  // exclusive
        bool text;
    };
    // Six lines of 16-pixel cells at y = 10, 30, 50, 70, 95 and 130, and the gaps between.
    const TextRows rows[] = {{0, 10, false},   {10, 26, true},   {30, 46, true},  {50, 66, true},  {70, 86, true},
                             {95, 111, true}, {113, 129, false}, {130, 146, true}, {148, 193, false}};
    for (const TextRows& r : rows) {
        SCOPED_TRACE("rows " + std::to_string(r.top) + ".." + std::to_string(r.bottom - 1));
        int white = 0;
        int foreign = 0;  // neither white nor the row's gradient colour
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = 0; x < 512; ++x) {
                const COLORREF pixel = banner.At(x, y);
                if (pixel == RGB(255, 255, 255))
                    ++white;
                else if (pixel != BannerRowColour(y))
                    ++foreign;
            }
        if (r.text) {
            EXPECT_GT(white, 40) << "white text expected here";
        } else {
            EXPECT_EQ(white + foreign, 0) << "nothing but the gradient expected here";
        }
    }
}

struct UpdateRun {
    const char* name;
    const char* dirName;  // of the installation
    Action start;         // in the main window
    Action dismiss;       // of the completion box
};

void PrintTo(const UpdateRun& row, std::ostream* out) { *out << row.name; }

class UpdateRunTest : public UpdaterTest, public ::testing::WithParamInterface<UpdateRun> {};

TEST_P(UpdateRunTest, ReplacesTheProductConfirmsAndEnds) {
    const UpdateRun& run = GetParam();
    RemoveTree(ProductDir());
    ASSERT_NO_FATAL_FAILURE(MakeInstallation(run.dirName));
    StoreGameDir(ProductDir() + "\\");
    const TreeSnapshot expected = Updated();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    ASSERT_EQ(FocusIn(main_), start_);

    Perform(run.start, main_, start_);
    HWND box = WaitForMessageBox(updater_->Id(), CompletedCaption);
    ASSERT_TRUE(box) << "no completion box";
    const MessageBoxContents contents = ReadMessageBox(box);
    EXPECT_EQ(contents.text, Completed);
    EXPECT_EQ(contents.buttons, std::vector<std::string>{"OK"});
    ExpectCentred(box);
    EXPECT_EQ(SnapshotTree(Root()), expected) << "the product is written before the box appears";
    ExpectAllButtonsDisabled();

    Perform(run.dismiss, box, MessageBoxButton(box, "OK"));
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    StartAndDismiss, UpdateRunTest,
    ::testing::Values(UpdateRun{"EnterThenOkButton", "PELMOR", Action::Enter, Action::Click},
                      UpdateRun{"SpaceThenEnter", "PELMOR", Action::Space, Action::Enter},
                      UpdateRun{"ClickThenEscapeIntoAJapaneseDirectory", "ペルモア", Action::Click, Action::Escape}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdaterTest, EscapeInTheMainWindowDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    const TreeSnapshot untouched = Untouched();
    const TreeSnapshot updated = Updated();

    // Queued behind Esc, Enter only starts the update when Esc left the window alone.
    Perform(Action::Escape, main_, start_);
    EXPECT_EQ(SnapshotTree(Root()), untouched);
    Perform(Action::Enter, main_, start_);
    HWND box = WaitForMessageBox(updater_->Id(), CompletedCaption);
    ASSERT_TRUE(box) << "Esc must neither close the window nor move the focus";
    PostClick(MessageBoxButton(box, "OK"));
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), updated);
}

TEST_F(UpdaterTest, DirectoryWithoutTrailingSeparatorIsWrittenInto) {
    StoreGameDir(ProductDir());
    const TreeSnapshot expected = Updated();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());

    PostClick(start_);
    HWND box = WaitForMessageBox(updater_->Id(), CompletedCaption);
    ASSERT_TRUE(box) << "no completion box";
    PostClick(MessageBoxButton(box, "OK"));
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), expected) << "PELMOR.EXE inside the directory, nothing glued beside it";
}

struct ExitWay {
    const char* name;
    std::function<void(HWND main, HWND exitButton)> leave;
};

void PrintTo(const ExitWay& row, std::ostream* out) { *out << row.name; }

class ExitWayTest : public UpdaterTest, public ::testing::WithParamInterface<ExitWay> {};

TEST_P(ExitWayTest, EndsWithZeroAndWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    const TreeSnapshot untouched = Untouched();

    GetParam().leave(main_, exit_);
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), untouched);
}

// Tab moves the focus to the exit button: the hidden Button4 and the banner take none.
void TabToExit(HWND main, HWND exitButton) {
    PostKey(FocusIn(main), VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(main) == exitButton; })) << "Tab did not reach the exit button";
}

INSTANTIATE_TEST_SUITE_P(
    BeforeAnyUpdate, ExitWayTest,
    ::testing::Values(ExitWay{"ExitButton", [](HWND, HWND exitButton) { PostClick(exitButton); }},
                      ExitWay{"TabThenEnter",
                              [](HWND main, HWND exitButton) {
                                  TabToExit(main, exitButton);
                                  PostKey(exitButton, VK_RETURN);
                              }},
                      ExitWay{"TabThenSpace",
                              [](HWND main, HWND exitButton) {
                                  TabToExit(main, exitButton);
                                  PostKey(exitButton, VK_SPACE);
                              }},
                      ExitWay{"TitleBarClose", [](HWND main, HWND) { PostSystemClose(main); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnknownLocation {
    const char* name;
    std::function<void()> arrange;
    // How the dialog is left; Escape stands for the title bar's close box here.
    Action leave;
};

void PrintTo(const UnknownLocation& row, std::ostream* out) { *out << row.name; }

class UnknownLocationTest : public UpdaterTest, public ::testing::WithParamInterface<UnknownLocation> {
protected:
    // The location dialog once it is visible; a failure ends the test.
    void StartAndWaitForDialog() {
        updater_ = StartUpdater();
        ASSERT_TRUE(updater_->Started());
        dialog_ = WaitForVisibleWindow(updater_->Id(), LocationCaption);
        ASSERT_TRUE(dialog_) << "no visible window \"" << LocationCaption << "\"; the updater has:\n"
                             << DescribeWindows(updater_->Id()) << NoWindowsHint;
        dialogExit_ = FindChild(dialog_, "Button", Exit);
        ASSERT_TRUE(dialogExit_);
    }

    HWND dialog_ = nullptr;
    HWND dialogExit_ = nullptr;
};

TEST_P(UnknownLocationTest, DialogExplainsAndTheUpdaterEndsWithoutWriting) {
    GetParam().arrange();
    const TreeSnapshot untouched = Untouched();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForDialog());

    HWND main = FindWindowOf(updater_->Id(), MainCaption);
    EXPECT_FALSE(main && IsWindowVisible(main)) << "the main window must not be visible yet";
    EXPECT_EQ(VisibleTopLevelWindows(updater_->Id()), std::vector<HWND>{dialog_});
    ExpectCentred(dialog_);
    const SIZE client = ClientSize(dialog_);
    EXPECT_EQ(client.cx, 418);
    EXPECT_EQ(client.cy, 122);
    EXPECT_EQ(VisibleLabelTexts(dialog_),
              (std::vector<std::string>{"インストールが正常に行われていないか、ドライブ構成が変更されたなどの",
                                        "理由により、アップデート先が不明です。",
                                        "先に製品のインストール（再インストール）を行ってから、アップデートを",
                                        "行ってください。"}));
    EXPECT_EQ(VisibleButtonCaptions(dialog_), std::vector<std::string>{Exit});
    EXPECT_EQ(FocusIn(dialog_), dialogExit_);

    if (GetParam().leave == Action::Escape)
        PostSystemClose(dialog_);
    else
        Perform(GetParam().leave, dialog_, dialogExit_);
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), untouched);
}

INSTANTIATE_TEST_SUITE_P(
    NoGameDir, UnknownLocationTest,
    ::testing::Values(
        UnknownLocation{"NoKurvexKeyThenExitButton", [] { RemoveKurvexKey(); }, Action::Click},
        UnknownLocation{"NoValueThenEnter", [] { RemoveGameDir(); }, Action::Enter},
        UnknownLocation{"EmptyValueThenSpace", [] { StoreGameDir(""); }, Action::Space},
        UnknownLocation{"NoKurvexKeyThenCloseBox", [] { RemoveKurvexKey(); }, Action::Escape}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdaterTest, EscapeInTheLocationDialogDoesNothing) {
    RemoveKurvexKey();
    updater_ = StartUpdater();
    HWND dialog = WaitForVisibleWindow(updater_->Id(), LocationCaption);
    ASSERT_TRUE(dialog);
    PostKey(FocusIn(dialog), VK_ESCAPE);
    Sleep(SettleMs);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(updater_->Running());
    PostClick(FindChild(dialog, "Button", Exit));
    ExpectExitCode(0);
}

struct FailedUpdate {
    const char* name;
    // Spoils the installation (root, product directory); returns the target path the
    // updater cannot create.
    std::function<std::string(const std::string& root, const std::string& productDir)> spoil;
    // The title bar's way out afterwards.
    std::function<void(HWND main)> close;
};

void PrintTo(const FailedUpdate& row, std::ostream* out) { *out << row.name; }

class FailedUpdateTest : public UpdaterTest, public ::testing::WithParamInterface<FailedUpdate> {};

TEST_P(FailedUpdateTest, ErrorBoxThenDisabledButtonsThenTitleBarCloseEnds) {
    const std::string target = GetParam().spoil(Root(), ProductDir());
    const TreeSnapshot untouched = Untouched();
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());

    PostClick(start_);
    HWND box = WaitForMessageBox(updater_->Id(), ErrorCaption);
    ASSERT_TRUE(box) << "no error box \"" << ErrorCaption << "\"; the updater has:\n"
                     << DescribeWindows(updater_->Id());
    const MessageBoxContents contents = ReadMessageBox(box);
    EXPECT_EQ(contents.text, "ファイル " + target + " を作成できません.");
    EXPECT_EQ(contents.buttons, std::vector<std::string>{"OK"});
    ExpectAllButtonsDisabled();

    PostClick(MessageBoxButton(box, "OK"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the error box did not close";
    Sleep(SettleMs);
    EXPECT_TRUE(updater_->Running());
    EXPECT_TRUE(IsWindowVisible(main_)) << "the window stays after a failed update";
    ExpectAllButtonsDisabled();
    EXPECT_EQ(FindVisibleWindow(updater_->Id(), CompletedCaption), nullptr);

    GetParam().close(main_);
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), untouched) << "the old product stays as it was";
}

INSTANTIATE_TEST_SUITE_P(
    TitleBar, FailedUpdateTest,
    ::testing::Values(FailedUpdate{"StaleDirectoryThenCloseBox",
                                   [](const std::string& root, const std::string&) {
                                       const std::string stale = root + "\\Kurvex\\Gone\\";
                                       StoreGameDir(stale);
                                       return stale + "PELMOR.EXE";
                                   },
                                   [](HWND main) { PostSystemClose(main); }},
                      FailedUpdate{"ReadOnlyProductThenCloseMessage",
                                   [](const std::string&, const std::string& productDir) {
                                       const std::string product = productDir + "\\PELMOR.EXE";
                                       SetFileAttributesW(Widen(product).c_str(), FILE_ATTRIBUTE_READONLY);
                                       return product;
                                   },
                                   [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The read at creation and the re-read after the dialog both fail; the window then
// opens without a location, and its start button must not write anywhere.
TEST_F(UpdaterTest, GameDirOfAnotherTypeIsReportedAndNothingIsWritten) {
    StoreGameDirAsNumber(42);
    const TreeSnapshot untouched = Untouched();
    const std::string typeError = "'GameDir' のデータ型が不正です.";
    updater_ = StartUpdater();
    ASSERT_TRUE(updater_->Started());

    HWND box = WaitForMessageBox(updater_->Id(), ErrorCaption);
    ASSERT_TRUE(box) << "no error box for the read at creation; the updater has:\n"
                     << DescribeWindows(updater_->Id());
    EXPECT_EQ(ReadMessageBox(box).text, typeError);
    PostClick(MessageBoxButton(box, "OK"));

    HWND dialog = WaitForVisibleWindow(updater_->Id(), LocationCaption);
    ASSERT_TRUE(dialog) << "no location dialog; the updater has:\n" << DescribeWindows(updater_->Id());
    PostClick(FindChild(dialog, "Button", Exit));

    box = WaitForMessageBox(updater_->Id(), ErrorCaption);
    ASSERT_TRUE(box) << "no error box for the re-read; the updater has:\n" << DescribeWindows(updater_->Id());
    EXPECT_EQ(ReadMessageBox(box).text, typeError);
    PostClick(MessageBoxButton(box, "OK"));

    main_ = WaitForMainWindow(*updater_);
    ASSERT_TRUE(main_) << "the window opens after a failed re-read; the updater has:\n"
                       << DescribeWindows(updater_->Id());
    start_ = FindChild(main_, "Button", Start);
    ASSERT_TRUE(start_);
    EXPECT_TRUE(IsWindowEnabled(start_));

    PostClick(start_);
    Sleep(SettleMs);
    EXPECT_EQ(FindVisibleWindow(updater_->Id(), CompletedCaption), nullptr);
    EXPECT_EQ(SnapshotTree(Root()), untouched) << "no PELMOR.EXE in the working directory or anywhere";
}

TEST_F(UpdaterTest, SecondInstanceEndsAtOnceWithOneAndShowsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    const TreeSnapshot updated = Updated();

    auto second = StartUpdater();
    ASSERT_TRUE(second->Started());
    std::vector<HWND> shown;
    WaitUntil(
        [&] {
            for (HWND window : VisibleTopLevelWindows(second->Id())) shown.push_back(window);
            return !second->Running();
        },
        ExitTimeoutMs);
    const auto code = second->WaitForExit(0);
    ASSERT_TRUE(code.has_value()) << "the second instance did not end";
    EXPECT_EQ(*code, 1u);
    EXPECT_TRUE(shown.empty()) << "the second instance showed " << shown.size() << " window(s)";

    // The first one goes on as if nothing happened.
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(FocusIn(main_), start_);
    Perform(Action::Enter, main_, start_);
    HWND box = WaitForMessageBox(updater_->Id(), CompletedCaption);
    ASSERT_TRUE(box);
    PostClick(MessageBoxButton(box, "OK"));
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), updated);
}

TEST_F(UpdaterTest, StartsNormallyAfterTheFirstHasEnded) {
    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    PostClick(exit_);
    ExpectExitCode(0);

    ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainWindow());
    const TreeSnapshot updated = Updated();
    PostClick(start_);
    HWND box = WaitForMessageBox(updater_->Id(), CompletedCaption);
    ASSERT_TRUE(box) << "the second run did not update";
    PostClick(MessageBoxButton(box, "OK"));
    ExpectExitCode(0);
    EXPECT_EQ(SnapshotTree(Root()), updated);
}

}  // namespace
