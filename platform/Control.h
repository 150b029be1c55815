#pragma once
// A component of a form that is a window of a system class (button, static,
// edit ...). The form creates it from its layout and passes it the
// notifications the control sends to its parent.

#include <string>

#include "FormLayout.h"
#include "Window.h"

class TControl : public TWindow {
public:
    const std::string& Name() const { return name_; }
    int Id() const { return id_; }
    void SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE); }

    // A WM_COMMAND notification code from this control.
    virtual void Notify(int code) { (void)code; }

protected:
    TControl(HWND parent, const TComponentLayout& layout, int id, HFONT font, const wchar_t* className,
             DWORD style, DWORD exStyle = 0);

private:
    std::string name_;
    int id_;
};
