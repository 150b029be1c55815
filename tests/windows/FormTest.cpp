// The form layer on real windows: layout, keyboard, modal showing, the message
// loop, and the places where the dispatch catches failures.

#include <functional>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Application.h"
#include "Button.h"
#include "Exception.h"
#include "Form.h"
#include "Label.h"
#include "Screen.h"
#include "Unicode.h"
#include "WindowDriver.h"

namespace {

constexpr TComponentLayout ProbeComponents[] = {
    {TComponentKind::Label, "Label1", 8, 8, 100, 12, "ラベル", true, NoTabOrder},
    {TComponentKind::Button, "Plain", 8, 30, 80, 25, "普通", true, 0},
    {TComponentKind::Button, "Cancel", 100, 60, 80, 25, "取消", true, 3, false, true},
    {TComponentKind::Button, "Hidden", 100, 30, 80, 25, "隠し", false, 1},
    {TComponentKind::Button, "Default", 8, 60, 80, 25, "既定", true, 2, true, false},
};

constexpr TFormLayout ProbeLayout = {
    "ProbeForm", "プローブ", TBorderStyle::Sizeable, TSizeKind::Outer, 10, 20, 301, 201,
    ProbeComponents, std::size(ProbeComponents),
};

constexpr TFormLayout ProbeDialogLayout = {
    "ProbeDialog", "プローブ対話", TBorderStyle::Dialog, TSizeKind::Client, 10, 20, 250, 150,
    ProbeComponents, std::size(ProbeComponents),
};

// What the next probe form does in its events; each test sets what it needs.
struct ProbeActions {
    std::function<void(TForm&)> onCreate;
    std::function<void(TForm&)> onShow;
    std::function<void(TForm&, const std::string& button)> onClick;
};
ProbeActions nextActions;

class TProbeForm : public TForm {
public:
    explicit TProbeForm(const TFormLayout& layout = ProbeLayout) : TForm(layout), actions_(nextActions) {
        OnCreate = BindEvent(this, &TProbeForm::FormCreate);
        OnShow = BindEvent(this, &TProbeForm::FormShow);
        for (const char* name : {"Plain", "Hidden", "Default", "Cancel"}) {
            Component<TButton>(name)->OnClick = [this, name](TObject*) { ButtonClick(name); };
        }
    }

    HWND ButtonHandle(const char* name) const { return Component<TButton>(name)->Handle(); }
    HWND LabelHandle() const { return Component<TLabel>("Label1")->Handle(); }

    std::vector<std::string> clicked;

private:
    void FormCreate(TObject*) {
        if (actions_.onCreate) actions_.onCreate(*this);
    }
    void FormShow(TObject*) {
        if (actions_.onShow) actions_.onShow(*this);
    }
    void ButtonClick(const std::string& name) {
        clicked.push_back(name);
        if (actions_.onClick) actions_.onClick(*this, name);
    }

    ProbeActions actions_;
};

class TProbeDialog : public TProbeForm {
public:
    TProbeDialog() : TProbeForm(ProbeDialogLayout) {}
};

class FormTest : public testing::Test {
protected:
    void TearDown() override { nextActions = {}; }

    TProbeForm* CreateProbe(ProbeActions actions = {}) {
        nextActions = std::move(actions);
        TProbeForm* form = nullptr;
        Application->CreateForm(form);
        nextActions = {};
        return form;
    }
};

std::string BoxTextShownDuring(const std::function<void()>& uiWork, const std::function<void()>& afterBox = {}) {
    std::string text;
    DriveWhile(uiWork, [&] {
        if (HWND box = WaitForWindow(MessageBoxClass, Application->Title())) {
            text = MessageBoxText(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            WaitUntil([&] { return !IsWindow(box); });
        }
        if (afterBox) afterBox();
    });
    return text;
}

TEST_F(FormTest, AppliesTheStoredLayout) {
    TProbeForm* form = CreateProbe();
    const RECT outer = WindowRectOf(form->Handle());
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    EXPECT_EQ(outer.right - outer.left, 301);
    EXPECT_EQ(outer.bottom - outer.top, 201);
    EXPECT_EQ(TextOf(form->Handle()), "プローブ");
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_THICKFRAME);

    TProbeDialog* dialog = nullptr;
    Application->CreateForm(dialog);
    const SIZE client = ClientSizeOf(dialog->Handle());
    EXPECT_EQ(client.cx, 250);
    EXPECT_EQ(client.cy, 150);
    const LONG style = GetWindowLongW(dialog->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);

    const RECT cancel = ChildRectOf(form->ButtonHandle("Cancel"));
    EXPECT_EQ(cancel.left, 100);
    EXPECT_EQ(cancel.top, 60);
    EXPECT_EQ(cancel.right - cancel.left, 80);
    EXPECT_EQ(cancel.bottom - cancel.top, 25);
    EXPECT_EQ(TextOf(form->ButtonHandle("Cancel")), "取消");
    EXPECT_EQ(TextOf(form->LabelHandle()), "ラベル");
    EXPECT_FALSE(IsWindowVisible(form->ButtonHandle("Hidden")));
    EXPECT_FALSE(IsWindowVisible(form->Handle())) << "a form is created hidden";
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application->Handle());
}

TEST_F(FormTest, UsesTheJapaneseUiFontAtTwelvePixels) {
    TProbeForm* form = CreateProbe();
    for (HWND control : {form->ButtonHandle("Plain"), form->LabelHandle()}) {
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -12);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(Narrow(font.lfFaceName), "ＭＳ Ｐゴシック");
    }
}

TEST_F(FormTest, CentresByTheOuterSizeWithTruncatingDivision) {
    TProbeForm* form = CreateProbe();
    form->CenterOnScreen();
    EXPECT_EQ(form->Left(), (GetSystemMetrics(SM_CXSCREEN) - 301) / 2);
    EXPECT_EQ(form->Top(), (GetSystemMetrics(SM_CYSCREEN) - 201) / 2);
    EXPECT_EQ(ScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
}

struct KeyCase {
    const char* name;
    std::vector<WORD> keys;
    std::vector<std::string> clicked;
};

class FormKeyboardTest : public FormTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(FormKeyboardTest, MovesTheFocusAndPressesButtonsAsADialogDoes) {
    TProbeForm* form = CreateProbe({nullptr, nullptr, [](TForm& f, const std::string&) { f.Close(); }});
    HWND firstFocus = nullptr;
    DriveWhile([&] { form->ShowModal(); },
               [&] {
                   if (!WaitUntil([&] { return IsWindowVisible(form->Handle()) && FocusOf(form->Handle()); })) return;
                   firstFocus = FocusOf(form->Handle());
                   for (WORD key : GetParam().keys) {
                       const HWND focus = FocusOf(form->Handle());
                       PostKey(focus, key);
                       if (key == VK_TAB) WaitUntil([&] { return FocusOf(form->Handle()) != focus; });
                   }
                   WaitUntil([&] { return !IsWindowVisible(form->Handle()); }, 1000);
               });
    EXPECT_EQ(firstFocus, form->ButtonHandle("Plain")) << "the first tab stop has the focus";
    EXPECT_EQ(form->clicked, GetParam().clicked);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FormKeyboardTest,
    testing::Values(KeyCase{"EnterPressesTheFocusedButton", {VK_RETURN}, {"Plain"}},
                    KeyCase{"SpacePressesTheFocusedButton", {VK_SPACE}, {"Plain"}},
                    KeyCase{"EscPressesTheCancelButton", {VK_ESCAPE}, {"Cancel"}},
                    KeyCase{"TabSkipsTheHiddenButton", {VK_TAB, VK_RETURN}, {"Default"}},
                    KeyCase{"TabFollowsTheTabOrder", {VK_TAB, VK_TAB, VK_SPACE}, {"Cancel"}},
                    KeyCase{"TabWrapsAround", {VK_TAB, VK_TAB, VK_TAB, VK_SPACE}, {"Plain"}}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(FormTest, ShowModalDisablesTheOtherWindowsUntilItCloses) {
    TProbeForm* mainForm = CreateProbe();
    TProbeForm* modal = CreateProbe();
    mainForm->Show();
    bool mainEnabledWhileModal = true;
    DriveWhile([&] { modal->ShowModal(); },
               [&] {
                   if (!WaitUntil([&] { return IsWindowVisible(modal->Handle()) != FALSE; })) return;
                   mainEnabledWhileModal = IsWindowEnabled(mainForm->Handle());
                   PostMessageW(modal->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
               });
    EXPECT_FALSE(mainEnabledWhileModal);
    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
    EXPECT_TRUE(IsWindow(modal->Handle())) << "a modal form is hidden, not destroyed";
    EXPECT_FALSE(IsWindowVisible(modal->Handle()));
    EXPECT_FALSE(Application->Terminated());
}

// Ending the message loop is for good: each of these needs a process of its own.
using ApplicationRunTest = FormTest;

TEST_F(ApplicationRunTest, ShowsTheMainFormAfterItsOnShowAndEndsWhenItCloses) {
    bool visibleInOnShow = true;
    TProbeForm* form = CreateProbe({nullptr, [&](TForm& f) { visibleInOnShow = IsWindowVisible(f.Handle()); },
                                    [](TForm& f, const std::string&) { f.Close(); }});
    CreateProbe();  // a second form does not keep the application running
    DriveWhile([&] { Application->Run(); },
               [&] {
                   if (WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; })) {
                       ClickButton(form->ButtonHandle("Plain"));
                   }
               });
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_FALSE(visibleInOnShow);
    EXPECT_EQ(form->clicked, std::vector<std::string>{"Plain"});
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationRunTest, EndsWithoutShowingAMainFormClosedByItsOnShow) {
    CreateProbe({nullptr, [](TForm& f) { f.Close(); }, nullptr});
    bool appeared = false;
    DriveWhile([&] { Application->Run(); },
               [&] { appeared = WaitForWindow(L"TForm", "プローブ", GetCurrentProcessId(), 500) != nullptr; });
    EXPECT_FALSE(appeared);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, ProcessMessagesDispatchesWhatIsWaitingWithoutWaiting) {
    TProbeForm* form = CreateProbe();
    form->Show();
    Application->ProcessMessages();
    const HWND plain = form->ButtonHandle("Plain");
    PostMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(plain), BN_CLICKED), LPARAM(plain));
    EXPECT_TRUE(form->clicked.empty());
    Application->ProcessMessages();
    EXPECT_EQ(form->clicked, std::vector<std::string>{"Plain"});
    Application->ProcessMessages();  // returns at once on an empty queue
    form->Hide();
}

TEST_F(FormTest, AFailingOnCreateIsShownAndCreationGoesOn) {
    bool restOfHandlerRan = false;
    TProbeForm* form = nullptr;
    const std::string text = BoxTextShownDuring([&] {
        nextActions.onCreate = [&](TForm&) {
            throw Exception("作成に失敗しました");
            restOfHandlerRan = true;
        };
        Application->CreateForm(form);
    });
    EXPECT_EQ(text, "作成に失敗しました.");
    EXPECT_FALSE(restOfHandlerRan);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FormTest, AFailingOnShowIsShownAndTheShowingGoesOn) {
    TProbeForm* form = CreateProbe({nullptr, [](TForm&) { throw Exception("表示に失敗しました"); }, nullptr});
    bool visibleAfterBox = false;
    const std::string text = BoxTextShownDuring([&] { form->ShowModal(); }, [&] {
        visibleAfterBox = WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; });
    });
    EXPECT_EQ(text, "表示に失敗しました.");
    EXPECT_TRUE(visibleAfterBox);
}

struct ClickFailureCase {
    const char* name;
    std::function<void()> fail;
    std::string shown;
};

class FormClickFailureTest : public FormTest, public testing::WithParamInterface<ClickFailureCase> {};

// The click comes from the button's own window procedure, inside the system:
// the failure must stop at our window procedure.
TEST_P(FormClickFailureTest, IsShownWhereTheClickIsDispatchedAndTheFormGoesOn) {
    TProbeForm* form = CreateProbe({nullptr, nullptr, [](TForm& f, const std::string&) {
                                        if (static_cast<TProbeForm&>(f).clicked.size() == 1) GetParam().fail();
                                        f.Close();
                                    }});
    std::string text;
    bool openAfterBox = false;
    DriveWhile([&] { form->ShowModal(); },
               [&] {
                   if (!WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; })) return;
                   ClickButton(form->ButtonHandle("Plain"));
                   HWND box = WaitForWindow(MessageBoxClass, Application->Title());
                   if (!box) return;
                   text = MessageBoxText(box);
                   PostMessageW(box, WM_COMMAND, IDOK, 0);
                   WaitUntil([&] { return !IsWindow(box); });
                   SyncWith(form->Handle());
                   openAfterBox = IsWindowVisible(form->Handle());
                   ClickButton(form->ButtonHandle("Plain"));
                   WaitUntil([&] { return !IsWindowVisible(form->Handle()); });
               });
    EXPECT_EQ(text, GetParam().shown);
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(form->clicked.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FormClickFailureTest,
    testing::Values(
        ClickFailureCase{"OurException", [] { throw Exception("クリックに失敗しました"); }, "クリックに失敗しました."},
        ClickFailureCase{"BadAlloc", [] { throw std::bad_alloc(); }, "外部例外 E06D7363."}),
    [](const testing::TestParamInfo<ClickFailureCase>& info) { return std::string(info.param.name); });

}  // namespace
