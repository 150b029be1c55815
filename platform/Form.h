#pragma once
// A top-level window built from a stored layout (FormLayout.h), with the
// components of the layout as children. Its events run inside the window
// procedure, which catches and shows what they raise (DispatchWindow.h).
//
// Keyboard: Tab and Shift+Tab move the focus, Space presses the focused button,
// Enter presses the focused button or else the default one, Esc presses the
// cancel button if there is one. The application's message loop hands each
// form's messages to IsDialogMessageW.

#include <memory>
#include <string>
#include <vector>

#include "Control.h"
#include "DispatchWindow.h"
#include "Exception.h"
#include "Font.h"
#include "FormLayout.h"

class TButton;

class TForm : public TDispatchWindow {
public:
    explicit TForm(const TFormLayout& layout);
    ~TForm() override;

    TNotifyEvent OnCreate;  // once, after the layout is applied (TApplication::CreateForm)
    TNotifyEvent OnShow;    // on every showing, before the window becomes visible

    // Runs OnCreate; a failure is shown and creation goes on.
    void DoCreate();
    // Runs OnShow, then makes the window visible unless OnShow closed it.
    void Show(int showCommand = SW_SHOW);
    // Shows the form with every other window of the application disabled and
    // returns when it closes; it is then hidden, not destroyed.
    void ShowModal();
    void Hide() { ShowWindow(Handle(), SW_HIDE); }
    // Ends a modal showing; closing the main form ends the application;
    // any other form is hidden.
    void Close();

    // The outer rectangle, in screen coordinates.
    int Left() const { return Bounds().left; }
    int Top() const { return Bounds().top; }
    int Width() const { return Bounds().right - Bounds().left; }
    int Height() const { return Bounds().bottom - Bounds().top; }
    void SetLeft(int left) { MoveTo(left, Top()); }
    void SetTop(int top) { MoveTo(Left(), top); }
    // Places the outer rectangle in the middle of the primary screen.
    void CenterOnScreen();

    // Whether a window is one of the application's forms.
    static bool IsForm(HWND window);

protected:
    // The component of the layout with that name; raises when there is none of that type.
    template <class T>
    T* Component(const char* name) const {
        for (const auto& component : components_) {
            if (component->Name() == name) {
                if (auto* typed = dynamic_cast<T*>(component.get())) return typed;
            }
        }
        throw Exception(std::string("コンポーネント ") + name + " がありません");
    }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT Bounds() const;
    void MoveTo(int left, int top);
    void SetClientSize(int width, int height);
    void CreateComponents(const TFormLayout& layout);
    void ApplyTabOrder(const TFormLayout& layout);
    TControl* ControlOf(HWND window) const;
    TButton* FocusedButton() const;
    TButton* ButtonWhere(bool (TButton::*role)() const) const;
    void OnActivate(bool active);
    void PressEnter();

    TFont font_;
    std::vector<std::unique_ptr<TControl>> components_;
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool closeRequested_ = false;
};
