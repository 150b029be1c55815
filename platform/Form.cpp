#include "Form.h"

#include <algorithm>

#include "Application.h"
#include "Button.h"
#include "DirectoryListBox.h"
#include "DriveComboBox.h"
#include "Edit.h"
#include "Image.h"
#include "Label.h"
#include "Screen.h"
#include "TaskWindows.h"
#include "WindowClass.h"

namespace {

// Sent by a form to itself so that its events run inside the window procedure.
constexpr UINT WM_FORM_CREATE = WM_APP + 1;
constexpr UINT WM_FORM_SHOW = WM_APP + 2;

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Esc.
constexpr int FirstControlId = 100;

const TWindowClass& FormClass() {
    static const TWindowClass formClass(L"TForm", COLOR_BTNFACE);
    return formClass;
}

DWORD StyleOf(TBorderStyle border) {
    return border == TBorderStyle::Dialog ? WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN
                                          : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

DWORD ExStyleOf(TBorderStyle border) {
    return border == TBorderStyle::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
}

std::unique_ptr<TControl> CreateComponent(HWND parent, const TComponentLayout& layout, int id, HFONT font) {
    switch (layout.kind) {
        case TComponentKind::Button: return std::make_unique<TButton>(parent, layout, id, font);
        case TComponentKind::Label: return std::make_unique<TLabel>(parent, layout, id, font);
        case TComponentKind::Edit: return std::make_unique<TEdit>(parent, layout, id, font);
        case TComponentKind::DirectoryList: return std::make_unique<TDirectoryListBox>(parent, layout, id, font);
        case TComponentKind::DriveList: return std::make_unique<TDriveComboBox>(parent, layout, id, font);
        case TComponentKind::Image: return std::make_unique<TImage>(parent, layout, id, font);
    }
    throw Exception(std::string("コンポーネント ") + layout.name + " の種類が不正です");
}

}  // namespace

// Windows maps the face to a Japanese one where it is missing.
TForm::TForm(const TFormLayout& layout) : font_("ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET) {
    Create(FormClass(), ExStyleOf(layout.borderStyle), StyleOf(layout.borderStyle), layout.caption, layout.left,
           layout.top, layout.width, layout.height, Application->Handle());
    if (layout.sizeKind == TSizeKind::Client) SetClientSize(layout.width, layout.height);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    CreateComponents(layout);
    ApplyTabOrder(layout);
}

TForm::~TForm() = default;

bool TForm::IsForm(HWND window) { return FormClass().IsClassOf(window); }

void TForm::CreateComponents(const TFormLayout& layout) {
    for (size_t i = 0; i < layout.componentCount; ++i) {
        components_.push_back(
            CreateComponent(Handle(), layout.components[i], FirstControlId + int(i), font_.Handle()));
    }
}

// Tab moves through the children in their z-order, so that order is made the tab order.
void TForm::ApplyTabOrder(const TFormLayout& layout) {
    std::vector<size_t> stops;
    for (size_t i = 0; i < layout.componentCount; ++i) {
        if (layout.components[i].tabOrder != NoTabOrder) stops.push_back(i);
    }
    std::stable_sort(stops.begin(), stops.end(), [&](size_t a, size_t b) {
        return layout.components[a].tabOrder < layout.components[b].tabOrder;
    });
    for (size_t i : stops) {
        SetWindowPos(components_[i]->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm::DoCreate() { SendMessageW(Handle(), WM_FORM_CREATE, 0, 0); }

void TForm::Show(int showCommand) {
    closeRequested_ = false;
    SendMessageW(Handle(), WM_FORM_SHOW, 0, 0);
    if (!closeRequested_) ShowWindow(Handle(), showCommand);
}

void TForm::ShowModal() {
    const HWND previouslyActive = GetActiveWindow();
    {
        TDisabledTaskWindows disabled(Handle());
        modal_ = true;
        Show();
        while (!closeRequested_ && !Application->Terminated()) Application->HandleMessage();
        modal_ = false;
    }
    // Hidden only once the others are enabled again, so that activation can go back to one of them.
    Hide();
    if (previouslyActive && IsWindow(previouslyActive)) SetActiveWindow(previouslyActive);
}

void TForm::Close() {
    closeRequested_ = true;
    if (modal_) return;  // the modal loop sees the request
    Hide();
    if (Application->MainForm() == this) Application->Terminate();
}

RECT TForm::Bounds() const {
    RECT bounds = {};
    GetWindowRect(Handle(), &bounds);
    return bounds;
}

void TForm::MoveTo(int left, int top) {
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    SetLeft((ScreenWidth() - Width()) / 2);
    SetTop((ScreenHeight() - Height()) / 2);
}

// The frame's size is measured on the window itself rather than computed from
// the styles, so that it holds whatever the system's metrics are.
void TForm::SetClientSize(int width, int height) {
    RECT client = {};
    GetClientRect(Handle(), &client);
    SetWindowPos(Handle(), nullptr, 0, 0, Width() - client.right + width, Height() - client.bottom + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TControl* TForm::ControlOf(HWND window) const {
    for (const auto& component : components_) {
        if (component->Handle() == window) return component.get();
    }
    return nullptr;
}

TButton* TForm::FocusedButton() const { return dynamic_cast<TButton*>(ControlOf(GetFocus())); }

TButton* TForm::ButtonWhere(bool (TButton::*role)() const) const {
    for (const auto& component : components_) {
        auto* button = dynamic_cast<TButton*>(component.get());
        if (button && (button->*role)() && button->Visible() && button->Enabled()) return button;
    }
    return nullptr;
}

void TForm::PressEnter() {
    if (TButton* button = FocusedButton()) {
        button->Click();
    } else if (TButton* button = ButtonWhere(&TButton::IsDefault)) {
        button->Click();
    }
}

// The focus is kept across deactivation and given to the first tab stop on the first activation.
void TForm::OnActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        return;
    }
    HWND target = lastFocus_;
    if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    }
    SetFocus(target ? target : Handle());
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_FORM_CREATE:
            if (OnCreate) OnCreate(this);
            return 0;
        case WM_FORM_SHOW:
            if (OnShow) OnShow(this);
            return 0;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_COMMAND:
            if (lParam) {
                if (TControl* control = ControlOf(reinterpret_cast<HWND>(lParam))) control->Notify(HIWORD(wParam));
            } else if (LOWORD(wParam) == IDOK) {
                PressEnter();
            } else if (LOWORD(wParam) == IDCANCEL) {
                if (TButton* button = ButtonWhere(&TButton::IsCancel)) button->Click();
            }
            return 0;
    }
    return TDispatchWindow::HandleMessage(message, wParam, lParam);
}
